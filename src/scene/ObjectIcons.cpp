#include "scene/ObjectIcons.h"

#include "core/files/FileServices.h"
#include "scene/VrmlScene.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QSet>

#include <Inventor/SbViewportRegion.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoSeparator.h>

namespace {

// Drawn at twice the size and scaled down: smooth edges at any zoom of the GPU.
constexpr int Drawn = 2 * ObjectIcons::Size;
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

struct ObjectIcons::Context {
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
    uint32_t cacheContext = SoGLCacheContextElement::getUniqueCacheContext();
};

ObjectIcons::ObjectIcons(QString cacheFolder, QObject *parent)
    : QObject(parent), m_cacheFolder(std::move(cacheFolder))
{
    initCoin();
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &ObjectIcons::drawNext);
}

ObjectIcons::~ObjectIcons()
{
    if (m_context && m_context->context.makeCurrent(&m_context->surface)) {
        m_context->framebuffer.reset();
        m_context->context.doneCurrent();
    }
}

QString ObjectIcons::cacheName(const QByteArray &objectFile)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(Version + objectFile, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".png");
}

void ObjectIcons::request(const std::vector<ShapeInfo> &shapes, const QString &programFolder)
{
    const QString textures = Files::pathIn(programFolder, QStringLiteral("Textures"));
    QSet<QString> asked;
    for (const Job &job : m_queue)
        asked.insert(job.objectPath);
    for (const ShapeInfo &shape : shapes) {
        const QString folder = objectFolder(programFolder, shape);
        const QString path = Files::pathIn(folder, shape.FileName);
        if (asked.contains(path))
            continue;
        asked.insert(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString cacheFile = m_cacheFolder.isEmpty()
                                      ? QString()
                                      : Files::pathIn(m_cacheFolder, cacheName(file.readAll()));
        if (const QImage cached = cacheFile.isEmpty() ? QImage() : QImage(cacheFile);
            !cached.isNull()) {
            emit iconReady(path, cached);
            continue;
        }
        m_queue.push_back({path, {folder, textures}, cacheFile});
    }
    if (m_queue.empty())
        emit finished();
    else
        m_next.start();
}

void ObjectIcons::drawNext()
{
    if (m_queue.empty())
        return;
    const Job job = m_queue.front();
    m_queue.pop_front();
    const QImage icon = draw(job);
    if (!icon.isNull()) {
        if (!job.cacheFile.isEmpty() && Files::createFolder(m_cacheFolder)) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            icon.save(&buffer, "PNG");
            (void)Files::writeBytes(job.cacheFile, png); // without it, it is drawn again
        }
        emit iconReady(job.objectPath, icon);
    }
    if (m_noContext)
        m_queue.clear();
    if (m_queue.empty())
        emit finished();
    else
        m_next.start();
}

QImage ObjectIcons::draw(const Job &job)
{
    if (!m_context && !m_noContext) {
        auto context = std::make_unique<Context>();
        context->context.setFormat(QSurfaceFormat::defaultFormat());
        context->surface.setFormat(context->context.format());
        context->surface.create();
        if (context->context.create() && context->surface.isValid())
            m_context = std::move(context);
        else
            m_noContext = true;
    }
    if (m_noContext || !m_context->context.makeCurrent(&m_context->surface)) {
        m_noContext = true;
        return QImage();
    }
    if (!m_context->framebuffer) {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        format.setSamples(4);
        m_context->framebuffer = std::make_unique<QOpenGLFramebufferObject>(Drawn, Drawn, format);
    }
    QOpenGLFramebufferObject &framebuffer = *m_context->framebuffer;
    const Scene scene = Scene::read(job.objectPath, job.searchDirs);
    if (!scene.root() || !framebuffer.isValid() || !framebuffer.bind())
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
