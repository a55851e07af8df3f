#include "WrlRenderer.h"

#include <QFileInfo>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <Inventor/SbImage.h>
#include <Inventor/SbMatrix.h>
#include <Inventor/SbViewportRegion.h>
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPath.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLGroup.h>
#include <Inventor/VRMLnodes/SoVRMLImageTexture.h>
#include <Inventor/VRMLnodes/SoVRMLLight.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLViewpoint.h>
#include <Inventor/actions/SoGLRenderAction.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/actions/SoGetMatrixAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/elements/SoGLCacheContextElement.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/lists/SoPathList.h>
#include <Inventor/nodes/SoCoordinate3.h>
#include <Inventor/nodes/SoCylinder.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoFaceSet.h>
#include <Inventor/nodes/SoLight.h>
#include <Inventor/nodes/SoMaterial.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoSphere.h>
#include <Inventor/nodes/SoTexture2.h>
#include <Inventor/nodes/SoTextureCoordinate2.h>
#include <Inventor/nodes/SoTranslation.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Messages go to whichever read is in progress; Coin reports through
// global handlers.
SceneRead *g_collector = nullptr;

void collectMessage(const SoError *error, void *)
{
    const QString text = QString::fromLocal8Bit(error->getDebugString().getString()).trimmed();
    // Every Sound node raises this notice about Coin's sound support; it
    // says nothing about the file.
    if (text.contains(QLatin1String("SoVRMLSound")) && text.contains(QLatin1String("experimental")))
        return;
    if (!g_collector) {
        qWarning("%s", qPrintable(text));
        return;
    }
    bool warning = false;
    if (error->isOfType(SoDebugError::getClassTypeId()))
        warning = static_cast<const SoDebugError *>(error)->getSeverity() != SoDebugError::ERROR;
    (warning ? g_collector->warnings : g_collector->errors).append(text);
}

// Coin's image loading goes through the optional simage library, which is
// not found here; Qt reads JPEG, PNG and GIF.
SbBool readImage(const SbString &fileName, SbImage *image, void *)
{
    QImage picture(QString::fromLocal8Bit(fileName.getString()));
    if (picture.isNull())
        return FALSE;
    // Three components for opaque pictures: VRML lets an RGB texture replace
    // the material's diffuse colour, which Coin does only for those.
    const bool alpha = picture.hasAlphaChannel();
    const int components = alpha ? 4 : 3;
    picture = picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int rowBytes = picture.width() * components;
    QByteArray pixels(rowBytes * picture.height(), Qt::Uninitialized);
    // Coin's rows run bottom-up; Qt's lines may be padded.
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(pixels.data() + y * rowBytes, picture.constScanLine(picture.height() - 1 - y),
                    size_t(rowBytes));
    image->setValue(SbVec2s(short(picture.width()), short(picture.height())), components,
                    reinterpret_cast<const unsigned char *>(pixels.constData()));
    return TRUE;
}

SbBox3f boundingBox(SoNode *root)
{
    SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
    action.apply(root);
    return action.getBoundingBox();
}

// VRML97 lets the colours of an RGB or RGBA texture replace the material's
// diffuse colour; Coin multiplies the two instead, which tints the texture.
// Giving each textured appearance its own white-diffuse copy of the material
// restores what a VRML browser shows.
void whitenTexturedMaterials(SoNode *root)
{
    SoSearchAction search;
    search.setType(SoVRMLShape::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.setSearchingAll(TRUE);
    search.apply(root);
    const SoPathList &paths = search.getPaths();
    for (int i = 0; i < paths.getLength(); ++i) {
        SoNode *shape = paths[i]->getTail();
        if (!shape->isOfType(SoVRMLShape::getClassTypeId()))
            continue;
        SoNode *appearanceNode = static_cast<SoVRMLShape *>(shape)->appearance.getValue();
        if (!appearanceNode || !appearanceNode->isOfType(SoVRMLAppearance::getClassTypeId()))
            continue;
        auto *appearance = static_cast<SoVRMLAppearance *>(appearanceNode);
        SoNode *materialNode = appearance->material.getValue();
        SoNode *textureNode = appearance->texture.getValue();
        if (!materialNode || !materialNode->isOfType(SoVRMLMaterial::getClassTypeId()) ||
            !textureNode || !textureNode->isOfType(SoVRMLImageTexture::getClassTypeId()))
            continue;
        auto *material = static_cast<SoVRMLMaterial *>(materialNode);
        auto *texture = static_cast<SoVRMLImageTexture *>(textureNode);
        if (!texture->getImage())
            continue;
        SbVec2s size;
        int components = 0;
        if (!texture->getImage()->getValue(size, components) || components < 3)
            continue;
        auto *white = static_cast<SoVRMLMaterial *>(material->copy());
        white->diffuseColor.setValue(1, 1, 1);
        appearance->material = white;
    }
}

// A 2 x 2 checker texture repeated over a square at y = 0.
SoSeparator *makeFloor(const SbBox3f &box)
{
    const float half = std::max(0.4f, 0.75f * std::max(box.getMax()[0] - box.getMin()[0],
                                                       box.getMax()[2] - box.getMin()[2]));
    SbVec3f centre = box.isEmpty() ? SbVec3f(0, 0, 0) : box.getCenter();
    const float cx = std::round(centre[0] * 2) / 2;
    const float cz = std::round(centre[2] * 2) / 2;

    auto *floor = new SoSeparator;
    auto *material = new SoMaterial;
    material->diffuseColor.setValue(1, 1, 1);
    floor->addChild(material);
    auto *texture = new SoTexture2;
    // Two squares a side; enough pixels that filtering leaves sharp edges.
    constexpr int Pixels = 32;
    unsigned char checker[Pixels * Pixels * 3];
    for (int y = 0; y < Pixels; ++y)
        for (int x = 0; x < Pixels; ++x)
            for (int c = 0; c < 3; ++c)
                checker[(y * Pixels + x) * 3 + c] =
                    ((x < Pixels / 2) == (y < Pixels / 2)) ? 215 : 185;
    texture->image.setValue(SbVec2s(Pixels, Pixels), 3, checker);
    floor->addChild(texture);
    auto *coords = new SoCoordinate3;
    coords->point.set1Value(0, cx - half, 0, cz + half);
    coords->point.set1Value(1, cx + half, 0, cz + half);
    coords->point.set1Value(2, cx + half, 0, cz - half);
    coords->point.set1Value(3, cx - half, 0, cz - half);
    floor->addChild(coords);
    // One texture repeat covers 0.5 unit, so each square is 0.25 unit (3 feet).
    const float repeats = 2 * half / 0.5f;
    auto *texCoords = new SoTextureCoordinate2;
    texCoords->point.set1Value(0, 0, 0);
    texCoords->point.set1Value(1, repeats, 0);
    texCoords->point.set1Value(2, repeats, repeats);
    texCoords->point.set1Value(3, 0, repeats);
    floor->addChild(texCoords);
    floor->addChild(new SoFaceSet);
    return floor;
}

// A plain grey figure 0.5 unit (6 feet) tall, to judge sizes by.
SoSeparator *makeScaleFigure(const SbBox3f &box)
{
    auto *figure = new SoSeparator;
    auto *material = new SoMaterial;
    material->diffuseColor.setValue(0.45f, 0.45f, 0.5f);
    figure->addChild(material);
    const float x = box.isEmpty() ? 0.3f : box.getMax()[0] + 0.15f;
    const float z = box.isEmpty() ? 0.0f : box.getCenter()[2];
    auto *body = new SoTranslation;
    body->translation.setValue(x, 0.21f, z);
    figure->addChild(body);
    auto *cylinder = new SoCylinder;
    cylinder->radius = 0.06f;
    cylinder->height = 0.42f;
    figure->addChild(cylinder);
    auto *head = new SoTranslation;
    head->translation.setValue(0, 0.25f, 0);
    figure->addChild(head);
    auto *sphere = new SoSphere;
    sphere->radius = 0.05f;
    figure->addChild(sphere);
    return figure;
}

// The file's first Viewpoint in world coordinates, if it has one.
bool applyViewpoint(SoNode *root, SoPerspectiveCamera *camera, const SbViewportRegion &viewport)
{
    SoSearchAction search;
    search.setType(SoVRMLViewpoint::getClassTypeId());
    search.setInterest(SoSearchAction::FIRST);
    search.apply(root);
    SoPath *path = search.getPath();
    if (!path)
        return false;
    path->ref();
    SoGetMatrixAction matrixAction(viewport);
    matrixAction.apply(path);
    // The matrix action includes the viewpoint node itself, which holds no
    // transformation, so this is the matrix of the viewpoint's parents.
    const SbMatrix &matrix = matrixAction.getMatrix();
    auto *viewpoint = static_cast<SoVRMLViewpoint *>(path->getTail());
    SbVec3f position;
    matrix.multVecMatrix(viewpoint->position.getValue(), position);
    SbVec3f translation, scale;
    SbRotation rotation, scaleOrientation;
    matrix.getTransform(translation, rotation, scale, scaleOrientation);
    camera->position = position;
    camera->orientation = viewpoint->orientation.getValue() * rotation;
    camera->heightAngle = viewpoint->fieldOfView.getValue();
    path->unref();
    return true;
}

void fitClippingPlanes(SoPerspectiveCamera *camera, const SbBox3f &box)
{
    if (box.isEmpty())
        return;
    const SbVec3f eye = camera->position.getValue();
    float farthest = 0;
    for (int i = 0; i < 8; ++i) {
        const SbVec3f corner((i & 1) ? box.getMax()[0] : box.getMin()[0],
                             (i & 2) ? box.getMax()[1] : box.getMin()[1],
                             (i & 4) ? box.getMax()[2] : box.getMin()[2]);
        farthest = std::max(farthest, (corner - eye).length());
    }
    camera->farDistance = farthest * 1.05f + 1.0f;
    camera->nearDistance = std::max(0.02f, camera->farDistance.getValue() / 5000.0f);
}

// Everything the file needs around it: camera, optional light, helpers.
// The result is referenced; the caller unreferences it.
SoSeparator *buildStage(const Scene &scene, const RenderOptions &options, QString &error)
{
    const SbViewportRegion viewport(short(options.width), short(options.height));
    const SbBox3f box = boundingBox(scene.root());

    auto *stage = new SoSeparator;
    stage->ref();
    auto *camera = new SoPerspectiveCamera;
    stage->addChild(camera);
    camera->aspectRatio = float(options.width) / float(options.height);
    camera->heightAngle = options.camera.fieldOfView.value_or(0.785398f);

    auto *content = new SoSeparator;
    if (options.floor)
        content->addChild(makeFloor(box));
    if (options.scaleFigure)
        content->addChild(makeScaleFigure(box));
    content->addChild(scene.root());

    const CameraSetup &setup = options.camera;
    switch (setup.mode) {
    case CameraSetup::Mode::ViewAll: {
        SbVec3f direction = setup.viewDirection;
        direction.normalize();
        camera->position = direction;
        camera->pointAt(SbVec3f(0, 0, 0), setup.up);
        camera->viewAll(content, viewport);
        break;
    }
    case CameraSetup::Mode::Viewpoint:
        if (!applyViewpoint(scene.root(), camera, viewport)) {
            error = QStringLiteral("the file has no Viewpoint");
            stage->unref();
            return nullptr;
        }
        if (setup.fieldOfView)
            camera->heightAngle = *setup.fieldOfView;
        fitClippingPlanes(camera, box);
        break;
    case CameraSetup::Mode::Explicit:
        camera->position = setup.position;
        if (setup.lookAt)
            camera->pointAt(*setup.lookAt, setup.up);
        else if (setup.orientation)
            camera->orientation = *setup.orientation;
        fitClippingPlanes(camera, box);
        break;
    }
    // VRML's fieldOfView is the smaller of the two angles; Coin's heightAngle
    // is the vertical one.
    if (camera->aspectRatio.getValue() < 1.0f && setup.mode == CameraSetup::Mode::Viewpoint)
        camera->heightAngle = 2 * std::atan(std::tan(camera->heightAngle.getValue() / 2) /
                                            camera->aspectRatio.getValue());

    if (options.headlight || !scene.hasLights()) {
        // A key light from behind the viewer's right shoulder and a weaker
        // one from straight above, so that no side stays black.
        auto *key = new SoDirectionalLight;
        SbVec3f direction;
        camera->orientation.getValue().multVec(SbVec3f(-0.35f, -0.45f, -1.0f), direction);
        key->direction = direction;
        key->intensity = 0.85f;
        stage->addChild(key);
        auto *top = new SoDirectionalLight;
        top->direction.setValue(0.2f, -1.0f, -0.1f);
        top->intensity = 0.45f;
        stage->addChild(top);
    }
    stage->addChild(content);
    return stage;
}

struct GlContext {
    QOffscreenSurface surface;
    QOpenGLContext context;
};

} // namespace

void initCoin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    SoDB::init();
    SoError::setHandlerCallback(collectMessage, nullptr);
    SoDebugError::setHandlerCallback(collectMessage, nullptr);
    SoReadError::setHandlerCallback(collectMessage, nullptr);
    SbImage::addReadImageCB(readImage, nullptr);
    // Textures load with the file instead of on a sensor that nobody drives.
    SoVRMLImageTexture::setDelayFetchURL(FALSE);
}

Scene Scene::read(const QString &path, const QStringList &searchDirs)
{
    initCoin();
    Scene scene;
    g_collector = &scene.m_read;
    SoInput input;
    for (const QString &dir : searchDirs)
        SoInput::addDirectoryLast(QFile::encodeName(dir).constData());
    SoInput::addDirectoryFirst(QFile::encodeName(QFileInfo(path).absolutePath()).constData());
    if (!input.openFile(QFile::encodeName(path).constData())) {
        if (scene.m_read.errors.isEmpty())
            scene.m_read.errors.append(QStringLiteral("cannot open %1").arg(path));
    } else {
        scene.m_read.root = SoDB::readAllVRML(&input);
        if (scene.m_read.root) {
            scene.m_read.root->ref();
            whitenTexturedMaterials(scene.m_read.root);
        } else if (scene.m_read.errors.isEmpty())
            scene.m_read.errors.append(QStringLiteral("%1 is not a VRML file").arg(path));
        input.closeFile();
    }
    SoInput::clearDirectories();
    g_collector = nullptr;
    return scene;
}

Scene::Scene(Scene &&other) noexcept : m_read(std::move(other.m_read))
{
    other.m_read.root = nullptr;
}

Scene::~Scene()
{
    if (m_read.root)
        m_read.root->unref();
}

bool Scene::hasLights() const
{
    if (!m_read.root)
        return false;
    for (const SoType type : {SoLight::getClassTypeId(), SoVRMLLight::getClassTypeId()}) {
        SoSearchAction search;
        search.setType(type, TRUE);
        search.setInterest(SoSearchAction::FIRST);
        search.setSearchingAll(TRUE);
        search.apply(m_read.root);
        if (search.getPath())
            return true;
    }
    return false;
}

RenderResult renderScene(const Scene &scene, const RenderOptions &options)
{
    if (!scene.root())
        return {{}, QStringLiteral("nothing to render")};

    GlContext gl;
    gl.context.setFormat(QSurfaceFormat::defaultFormat());
    if (!gl.context.create())
        return {{}, QStringLiteral("cannot create an OpenGL context")};
    gl.surface.setFormat(gl.context.format());
    gl.surface.create();
    if (!gl.surface.isValid() || !gl.context.makeCurrent(&gl.surface))
        return {{}, QStringLiteral("cannot make the OpenGL context current")};

    QString error;
    SoSeparator *stage = buildStage(scene, options, error);
    if (!stage)
        return {{}, error};

    RenderResult result;
    {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        format.setSamples(4);
        QOpenGLFramebufferObject fbo(options.width, options.height, format);
        if (!fbo.isValid() || !fbo.bind()) {
            result.error = QStringLiteral("cannot create a %1 x %2 framebuffer")
                               .arg(options.width)
                               .arg(options.height);
        } else {
            QOpenGLFunctions *f = gl.context.functions();
            f->glViewport(0, 0, options.width, options.height);
            f->glClearColor(options.background[0], options.background[1], options.background[2], 1);
            f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
            f->glEnable(GL_DEPTH_TEST);

            SoGLRenderAction action(SbViewportRegion(short(options.width), short(options.height)));
            action.setCacheContext(SoGLCacheContextElement::getUniqueCacheContext());
            action.setTransparencyType(SoGLRenderAction::SORTED_OBJECT_BLEND);
            action.apply(stage);
            f->glFinish();
            fbo.release();
            result.image = fbo.toImage().convertToFormat(QImage::Format_RGB32);
        }
    }
    stage->unref();
    gl.context.doneCurrent();
    return result;
}
