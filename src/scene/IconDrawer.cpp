#include "scene/IconDrawer.h"

#include "scene/VrmlScene.h"

#include <QCryptographicHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <Inventor/SbViewportRegion.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoSeparator.h>

namespace {

// Drawn at twice the size and scaled down: smooth edges at any zoom of the GPU.
constexpr int Drawn = 2 * IconDrawer::Size;
// Bumped when the pictures are drawn differently, so that old ones are not used.
const QByteArray Version = QByteArrayLiteral("icon-1\n");

// A camera from the front right and above, fitted to the object, and a key
// light from behind its right shoulder with a weaker one from above.
SoSeparator *stageFor(SoNode *object)
{
    auto *stage = new SoSeparator;
    stage->ref();
    auto *camera = new SoPerspectiveCamera;
    stage->addChild(camera);
    const SbBox3f box = boundingBox(object);
    const SbVec3f centre = box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
    camera->position = centre + SbVec3f(0.55f, 0.5f, 1.0f);
    camera->pointAt(centre, SbVec3f(0, 1, 0));
    camera->viewAll(object, SbViewportRegion(Drawn, Drawn), 1.05f);
    for (const auto &[direction, intensity] :
         {std::pair{SbVec3f(-0.6f, -0.5f, -1.0f), 0.9f}, {SbVec3f(0.2f, -1.0f, 0.1f), 0.45f}}) {
        auto *light = new SoDirectionalLight;
        light->direction = direction;
        light->intensity = intensity;
        stage->addChild(light);
    }
    stage->addChild(object);
    return stage;
}

} // namespace

struct IconDrawer::Context {
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
    uint32_t cacheContext = SoGLCacheContextElement::getUniqueCacheContext();
};

QString IconDrawer::cacheName(const QByteArray &objectFile)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(Version + objectFile, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".png");
}

IconDrawer::IconDrawer()
{
    initCoin(); // before the context takes a cache context from Coin
    m_context = std::make_unique<Context>();
    m_context->context.setFormat(QSurfaceFormat::defaultFormat());
    m_context->surface.setFormat(m_context->context.format());
    m_context->surface.create();
    if (!m_context->context.create() || !m_context->surface.isValid() ||
        !m_context->context.makeCurrent(&m_context->surface)) {
        m_context.reset();
        m_unavailable = QStringLiteral("no OpenGL context can be made here");
        return;
    }
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setSamples(4);
    m_context->framebuffer = std::make_unique<QOpenGLFramebufferObject>(Drawn, Drawn, format);
    if (!m_context->framebuffer->isValid()) {
        m_context->framebuffer.reset();
        m_context->context.doneCurrent();
        m_context.reset();
        m_unavailable = QStringLiteral("no OpenGL framebuffer can be made here");
    }
}

IconDrawer::~IconDrawer()
{
    if (m_context && m_context->context.makeCurrent(&m_context->surface)) {
        m_context->framebuffer.reset();
        m_context->context.doneCurrent();
    }
}

QImage IconDrawer::draw(const QString &objectPath, const QStringList &searchDirs)
{
    if (!m_context || !m_context->context.makeCurrent(&m_context->surface))
        return QImage();
    QOpenGLFramebufferObject &framebuffer = *m_context->framebuffer;
    const Scene scene = Scene::read(objectPath, searchDirs);
    if (!scene.root() || !framebuffer.bind())
        return QImage();
    QOpenGLFunctions *gl = m_context->context.functions();
    gl->glViewport(0, 0, Drawn, Drawn);
    gl->glClearColor(0, 0, 0, 0);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gl->glEnable(GL_DEPTH_TEST);
    SoSeparator *stage = stageFor(scene.root());
    SoGLRenderAction action(SbViewportRegion(Drawn, Drawn));
    action.setCacheContext(m_context->cacheContext);
    action.setTransparencyType(SoGLRenderAction::SORTED_OBJECT_BLEND);
    action.apply(stage);
    stage->unref();
    gl->glFinish();
    framebuffer.release();
    return framebuffer.toImage().scaled(Size, Size, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
}
