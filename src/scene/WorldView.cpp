#include "scene/WorldView.h"

#include "scene/Culling.h"
#include "scene/LevelOfDetail.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QMouseEvent>
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

    auto *root = new SoSeparator;
    root->ref();
    auto *camera = new SoPerspectiveCamera;
    root->addChild(camera);
    SoDirectionalLight *headlight = nullptr;
    if (scene->wantsHeadlight()) {
        headlight = new SoDirectionalLight;
        root->addChild(headlight);
    }
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
    root->addChild(scene->root());

    if (m_root)
        m_root->unref();
    m_root = root;
    m_camera = camera;
    m_headlight = headlight;
    m_bounds = boundsUnderAnyTurn(scene->root()); // the far plane takes in turned billboards
    m_collision.index(scene->root());
    m_scene = std::move(scene);
    m_speed = m_scene->walkingSpeed();
    m_avatar = m_scene->avatar();
    // Without a Viewpoint a VRML browser starts at 0 0 10 looking along -z.
    m_start = firstViewpoint(m_scene->root()).value_or(Viewpoint{SbVec3f(0, 0, 10), {}, 0.785398f});
    if (m_manager)
        m_manager->setSceneGraph(m_root);
    goHome();
    return std::nullopt;
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
    m_eye = m_start.position;
    SbVec3f forward;
    m_start.orientation.multVec(SbVec3f(0, 0, -1), forward);
    m_heading = std::atan2(-forward[0], -forward[2]);
    m_pitch = std::asin(std::clamp(forward[1], -1.0f, 1.0f));
    placeCamera();
}

void WorldView::walk(float distance)
{
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
    m_heading = std::remainder(m_heading + angle, 2 * float(M_PI));
    placeCamera();
}

void WorldView::look(float angle)
{
    m_pitch = std::clamp(m_pitch + angle, -MaxPitch, MaxPitch);
    placeCamera();
}

void WorldView::placeCamera()
{
    if (!m_camera)
        return;
    const SbRotation orientation =
        SbRotation(SbVec3f(1, 0, 0), m_pitch) * SbRotation(SbVec3f(0, 1, 0), m_heading);
    m_camera->position = m_eye;
    m_camera->orientation = orientation;
    const float aspect = height() > 0 ? float(width()) / float(height()) : 1.0f;
    m_camera->aspectRatio = aspect;
    m_camera->heightAngle = heightAngle(m_start.fieldOfView, aspect);
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
    m_manager->render(TRUE, TRUE);
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
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedAt = m_lastDrag = event->position().toPoint();
    m_dragging = false;
}

void WorldView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (!m_dragging && (at - m_pressedAt).manhattanLength() < DragThreshold)
        return;
    m_dragging = true;
    const QPoint moved = at - m_lastDrag;
    m_lastDrag = at;
    turn(-float(moved.x()) * DragRate);
    look(-float(moved.y()) * DragRate);
}

void WorldView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_dragging)
        return;
    const QString url = anchorAt(event->position().toPoint());
    if (!url.isEmpty())
        emit anchorClicked(url);
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

QString WorldView::anchorAt(const QPoint &pixel) const
{
    if (!m_root)
        return QString();
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
        return QString();
    const SoPath *path = picked->getPath();
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
