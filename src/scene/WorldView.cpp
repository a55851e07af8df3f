#include "scene/WorldView.h"

#include "scene/Culling.h"
#include "scene/LevelOfDetail.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWheelEvent>

#include <Inventor/SoDB.h>
#include <Inventor/SoPath.h>
#include <Inventor/SoPickedPoint.h>
#include <Inventor/SoSceneManager.h>
#include <Inventor/VRMLnodes/SoVRMLAnchor.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/actions/SoRayPickAction.h>
#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoComplexity.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/sensors/SoSensorManager.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float TurnRate = 1.0f;        // radians per second while a turn key is held
constexpr float FastFactor = 3.0f;      // with Shift held
constexpr float TapSeconds = 0.1f;      // what a key press moves at once, however short
constexpr float WheelStep = 0.5f;       // units per wheel notch (6 feet)
constexpr float DragRate = 0.005f;      // radians per pixel
constexpr float MaxPitch = 1.4f;        // looking almost straight up or down
constexpr int DragThreshold = 4;        // pixels before a press becomes a drag
constexpr int MaxTickMs = 100;          // a stalled frame does not make a leap
constexpr float MinTilt = 0.05f;        // aerial: just above the horizon
constexpr float AerialZoomRate = 0.33f; // aerial: a unit walked takes the camera this share closer
constexpr float MinDistance = 1.0f;     // aerial: how close the camera comes to its point
constexpr float MaxDistance = 1000.0f;
constexpr float PanRate = 0.0015f;      // aerial: the point moves by this share of the distance per pixel

enum Move { Forward, Back, Left, Right, None };

Move moveOf(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_W:
        return Forward;
    case Qt::Key_Down:
    case Qt::Key_S:
        return Back;
    case Qt::Key_Left:
    case Qt::Key_A:
        return Left;
    case Qt::Key_Right:
    case Qt::Key_D:
        return Right;
    default:
        return None;
    }
}

void requestRedraw(void *view, SoSceneManager *)
{
    static_cast<WorldView *>(view)->redraw();
}

} // namespace

WorldView::WorldView()
{
    initCoin();
    m_walkTimer.setInterval(15);
    connect(&m_walkTimer, &QTimer::timeout, this, &WorldView::walkTick);
    // Coin's sensors (textures arriving, redraw requests) wait on these queues.
    m_sensorTimer.setInterval(30);
    connect(&m_sensorTimer, &QTimer::timeout, this, [] {
        SoSensorManager *sensors = SoDB::getSensorManager();
        sensors->processTimerQueue();
        sensors->processDelayQueue(TRUE);
    });
    m_sensorTimer.start();
}

WorldView::~WorldView()
{
    makeCurrent(); // Coin frees its display lists and textures in this context
    m_manager.reset();
    if (m_root)
        m_root->unref();
    m_scene.reset();
    doneCurrent();
}

std::optional<QString> WorldView::load(const QString &path)
{
    auto scene = std::make_unique<Scene>(Scene::read(path));
    if (!scene->root())
        return scene->errors().join(QLatin1Char('\n'));
    // Spheres, cylinders and cones with fewer facets than Coin's default:
    // the software renderer spends its time by the vertex, and the worlds
    // are mostly round trees and posts. (The node goes inside the world's
    // group: above it, among the camera's siblings, frames came out slower.)
    auto *complexity = new SoComplexity;
    complexity->value = 0.25f;
    scene->root()->insertChild(complexity, 0);
    // Far things drawn simpler, and each item only when in view; before the
    // collision parts are taken, as culling wraps the items.
    addLevelsOfDetail(scene->root());
    cullByItem(scene->root());
    setWorld(scene->root());
    m_scene = std::move(scene);
    return std::nullopt;
}

void WorldView::setWorld(SoGroup *world)
{
    auto *root = new SoSeparator;
    root->ref();
    auto *camera = new SoPerspectiveCamera;
    root->addChild(camera);
    SoDirectionalLight *headlight = nullptr;
    if (wantsHeadlight(world)) {
        headlight = new SoDirectionalLight;
        root->addChild(headlight);
    }
    root->addChild(world);

    if (m_root)
        m_root->unref();
    m_scene.reset();
    m_root = root;
    m_world = world;
    m_camera = camera;
    m_headlight = headlight;
    m_framed = false;
    if (m_manager)
        m_manager->setSceneGraph(m_root);
    worldChanged(true);
}

void WorldView::worldChanged(bool startMoved)
{
    if (!m_world)
        return;
    m_bounds = boundsUnderAnyTurn(m_world); // the far plane takes in turned billboards
    m_collisionsStale = true;
    if (startMoved) {
        m_speed = walkingSpeed(m_world);
        m_avatar = avatar(m_world);
        // Without a Viewpoint a VRML browser starts at 0 0 10 looking along -z.
        m_start = firstViewpoint(m_world).value_or(Viewpoint{SbVec3f(0, 0, 10), {}, 0.785398f});
        standAtStart(); // where a switch to the visitor begins, in either mode
    }
    if (m_mode == Mode::Aerial && !m_framed)
        frameAll();
    placeCamera();
}

void WorldView::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_held.clear();
    m_walkTimer.stop();
    if (mode == Mode::Aerial && !m_framed)
        frameAll();
    placeCamera();
}

void WorldView::frameAll()
{
    m_framed = true;
    m_yaw = 0;
    m_tilt = 0.9f;
    const SbBox3f home = m_homeBox ? m_homeBox() : SbBox3f();
    const SbBox3f &box = home.isEmpty() ? m_bounds : home;
    if (box.isEmpty()) {
        m_target = SbVec3f(0, 0, 0);
        m_distance = 100;
    } else {
        m_target = box.getCenter();
        float dx = 0, dy = 0, dz = 0;
        box.getSize(dx, dy, dz);
        const float radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
        // The sphere round the world fits the smaller of the view's angles.
        m_distance = radius / std::sin(std::max(0.1f, m_start.fieldOfView / 2));
    }
    placeCamera();
}

SbVec3f WorldView::eyePosition() const
{
    return m_eye;
}

QImage WorldView::renderedFrame()
{
    if (!isValid())
        return QImage();
    makeCurrent();
    paintGL();
    return grabFramebuffer(); // reads the frame just drawn, before any swap
}

void WorldView::goHome()
{
    if (m_mode == Mode::Aerial) {
        frameAll();
        return;
    }
    standAtStart();
    placeCamera();
}

void WorldView::standAtStart()
{
    m_eye = m_start.position;
    SbVec3f forward;
    m_start.orientation.multVec(SbVec3f(0, 0, -1), forward);
    m_heading = std::atan2(-forward[0], -forward[2]);
    m_pitch = std::asin(std::clamp(forward[1], -1.0f, 1.0f));
}

void WorldView::walk(float distance)
{
    if (m_mode == Mode::Aerial) {
        m_distance =
            std::clamp(m_distance * std::exp(-distance * AerialZoomRate), MinDistance, MaxDistance);
        placeCamera();
        return;
    }
    if (m_collisionsStale && m_world) {
        m_collision.index(m_world);
        m_collisionsStale = false;
    }
    SbVec3f direction(-std::sin(m_heading), 0, -std::cos(m_heading));
    if (distance < 0) {
        direction = -direction;
        distance = -distance;
    }
    // The eye and the top of the highest step: what is lower is walked over.
    const SbVec3f knee =
        m_eye - SbVec3f(0, std::max(0.0f, m_avatar.height - m_avatar.stepHeight), 0);
    const float clearance = m_avatar.collisionDistance;
    distance = std::min(m_collision.freeDistance(m_eye, direction, distance, clearance),
                        m_collision.freeDistance(knee, direction, distance, clearance));
    m_eye += direction * distance;
    placeCamera();
}

void WorldView::turn(float angle)
{
    if (m_mode == Mode::Aerial) {
        orbit(angle, 0);
        return;
    }
    m_heading = std::remainder(m_heading + angle, 2 * float(M_PI));
    placeCamera();
}

void WorldView::look(float angle)
{
    if (m_mode == Mode::Aerial) {
        orbit(0, angle);
        return;
    }
    m_pitch = std::clamp(m_pitch + angle, -MaxPitch, MaxPitch);
    placeCamera();
}

void WorldView::orbit(float yaw, float tilt)
{
    m_yaw = std::remainder(m_yaw + yaw, 2 * float(M_PI));
    m_tilt = std::clamp(m_tilt - tilt, MinTilt, MaxPitch);
    placeCamera();
}

// The point looked at follows the pointer across the ground, as far as the
// distance makes a pixel.
void WorldView::pan(const QPoint &moved)
{
    const float perPixel = m_distance * PanRate;
    const SbVec3f right(std::cos(m_yaw), 0, -std::sin(m_yaw));
    const SbVec3f ahead(-std::sin(m_yaw), 0, -std::cos(m_yaw));
    m_target += right * (-float(moved.x()) * perPixel) + ahead * (float(moved.y()) * perPixel);
    placeCamera();
}

void WorldView::placeCamera()
{
    if (!m_camera)
        return;
    const bool aerial = m_mode == Mode::Aerial;
    const float heading = aerial ? m_yaw : m_heading;
    const float pitch = aerial ? -m_tilt : m_pitch;
    const SbRotation orientation =
        SbRotation(SbVec3f(1, 0, 0), pitch) * SbRotation(SbVec3f(0, 1, 0), heading);
    if (aerial) {
        SbVec3f back;
        orientation.multVec(SbVec3f(0, 0, 1), back);
        m_camera->position = m_target + back * m_distance;
    } else {
        m_camera->position = m_eye;
    }
    m_camera->orientation = orientation;
    const float aspect = height() > 0 ? float(width()) / float(height()) : 1.0f;
    m_camera->aspectRatio = aspect;
    // A viewpoint's fieldOfView is the smaller of the view's angles, and so
    // is Coin's heightAngle: it widens the view of a window taller than
    // wide itself.
    m_camera->heightAngle = m_start.fieldOfView;
    fitClippingPlanes(m_camera, m_bounds);
    if (m_headlight) {
        SbVec3f direction;
        orientation.multVec(SbVec3f(0, 0, -1), direction);
        m_headlight->direction = direction;
    }
    redraw();
}

void WorldView::redraw()
{
    if (m_framePosted || !isExposed())
        return;
    m_framePosted = true;
    QCoreApplication::postEvent(this, new QEvent(frameRequest()), Qt::LowEventPriority);
}

QEvent::Type WorldView::frameRequest()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool WorldView::event(QEvent *event)
{
    if (event->type() != frameRequest())
        return QOpenGLWindow::event(event);
    m_framePosted = false;
    if (isExposed()) {
        QPaintEvent paint(QRect(QPoint(), size())); // drawn and shown at once
        QOpenGLWindow::event(&paint);
    }
    return true;
}

void WorldView::initializeGL()
{
    m_manager = std::make_unique<SoSceneManager>();
    m_manager->setRenderCallback(requestRedraw, this);
    SoGLRenderAction *action = m_manager->getGLRenderAction();
    action->setCacheContext(SoGLCacheContextElement::getUniqueCacheContext());
    action->setTransparencyType(SoGLRenderAction::SORTED_OBJECT_BLEND);
    m_manager->setBackgroundColor(SbColor(0, 0, 0)); // VRML's colour where no Background draws
    if (m_root)
        m_manager->setSceneGraph(m_root);
    m_manager->activate();
}

void WorldView::resizeGL(int, int)
{
    placeCamera(); // the aspect ratio
}

void WorldView::paintGL()
{
    if (!m_manager || !m_root)
        return;
    // The size may have changed before the context existed.
    const qreal ratio = devicePixelRatio();
    const SbViewportRegion region(short(std::lround(width() * ratio)),
                                  short(std::lround(height() * ratio)));
    if (!(region == m_manager->getViewportRegion())) {
        m_manager->setWindowSize(region.getWindowSize());
        m_manager->setSize(region.getWindowSize());
        m_manager->setViewportRegion(region);
    }
    // Coin leaves the depth test as it finds it, and a new context has it off:
    // without it whatever is drawn last covers what stands before it.
    context()->functions()->glEnable(GL_DEPTH_TEST);
    beginStandInFrame();
    m_manager->render(TRUE, TRUE);
    if (endStandInFrame())
        redraw(); // the texts still to come
    emit frameDrawn();
}

void WorldView::moveHeld(float seconds)
{
    int forward = 0;
    int left = 0;
    for (const int key : std::as_const(m_held)) {
        switch (moveOf(key)) {
        case Forward: ++forward; break;
        case Back: --forward; break;
        case Left: ++left; break;
        case Right: --left; break;
        case None: break;
        }
    }
    const float factor = m_fast ? FastFactor : 1.0f;
    if (forward != 0)
        walk(float(std::clamp(forward, -1, 1)) * m_speed * factor * seconds);
    if (left != 0)
        turn(float(std::clamp(left, -1, 1)) * TurnRate * factor * seconds);
}

void WorldView::walkTick()
{
    const qint64 ms = std::min<qint64>(m_sinceTick.restart(), MaxTickMs);
    moveHeld(float(ms) / 1000.0f);
}

void WorldView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home) {
        goHome();
        return;
    }
    if (moveOf(event->key()) == None) {
        forwardKey(event);
        return;
    }
    m_fast = event->modifiers() & Qt::ShiftModifier;
    if (event->isAutoRepeat())
        return; // the walk timer moves while the key is held
    m_held.insert(event->key());
    moveHeld(TapSeconds);
    if (!m_walkTimer.isActive()) {
        m_sinceTick.start();
        m_walkTimer.start();
    }
}

void WorldView::keyReleaseEvent(QKeyEvent *event)
{
    if (moveOf(event->key()) == None) {
        forwardKey(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    m_held.remove(event->key());
    if (m_held.isEmpty())
        m_walkTimer.stop();
}

void WorldView::focusOutEvent(QFocusEvent *event)
{
    // A key released elsewhere would never be seen: stop walking.
    m_held.clear();
    m_walkTimer.stop();
    QOpenGLWindow::focusOutEvent(event);
}

void WorldView::mousePressEvent(QMouseEvent *event)
{
    if (m_dragButton != Qt::NoButton)
        return;
    m_dragButton = event->button();
    m_pressedAt = m_lastDrag = event->position().toPoint();
    m_dragging = false;
}

void WorldView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragButton == Qt::NoButton || !(event->buttons() & m_dragButton))
        return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_pressedAt).manhattanLength() < DragThreshold)
        return;
    m_dragging = true;
    const QPoint moved = at - m_lastDrag;
    m_lastDrag = at;
    if (m_dragButton != Qt::LeftButton) {
        if (m_mode == Mode::Aerial)
            pan(moved);
        return;
    }
    turn(-float(moved.x()) * DragRate);
    look(-float(moved.y()) * DragRate);
}

void WorldView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != m_dragButton)
        return;
    m_dragButton = Qt::NoButton;
    if (event->button() != Qt::LeftButton || m_dragging)
        return;
    const QPoint pixel = event->position().toPoint();
    emit clicked(pixel);
    const QString url = anchorAt(pixel);
    if (!url.isEmpty())
        emit anchorClicked(url);
}

void WorldView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(event->position().toPoint());
}

void WorldView::wheelEvent(QWheelEvent *event)
{
    walk(float(event->angleDelta().y()) / 120.0f * WheelStep);
    event->accept();
}

void WorldView::forwardKey(QKeyEvent *event)
{
    if (m_keyTarget)
        QCoreApplication::sendEvent(m_keyTarget, event);
}

WorldView::PickedPath WorldView::pathAt(const QPoint &pixel) const
{
    PickedPath none(nullptr, [](SoPath *path) { path->unref(); });
    if (!m_root)
        return none;
    const qreal ratio = devicePixelRatio();
    const int w = int(std::lround(width() * ratio));
    const int h = int(std::lround(height() * ratio));
    SoRayPickAction pick{SbViewportRegion(short(w), short(h))};
    pick.setPoint(SbVec2s(short(std::lround(pixel.x() * ratio)),
                          short(h - 1 - std::lround(pixel.y() * ratio))));
    pick.setRadius(2);
    pick.apply(m_root);
    const SoPickedPoint *picked = pick.getPickedPoint();
    if (!picked)
        return none;
    SoPath *path = picked->getPath()->copy();
    path->ref();
    return PickedPath(path, none.get_deleter());
}

QString WorldView::anchorAt(const QPoint &pixel) const
{
    const PickedPath path = pathAt(pixel);
    if (!path)
        return QString();
    for (int i = path->getLength() - 1; i >= 0; --i) {
        SoNode *node = path->getNode(i);
        if (!node->isOfType(SoVRMLAnchor::getClassTypeId()))
            continue;
        const auto *anchor = static_cast<SoVRMLAnchor *>(node);
        if (anchor->url.getNum() > 0)
            return QString::fromUtf8(anchor->url[0].getString());
        return QString();
    }
    return QString();
}
