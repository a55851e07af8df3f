#include "export/VrmlScene.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSurfaceFormat>

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
#include <Inventor/VRMLnodes/SoVRMLNavigationInfo.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLSound.h>
#include <Inventor/VRMLnodes/SoVRMLViewpoint.h>
#include <Inventor/actions/SoGetBoundingBoxAction.h>
#include <Inventor/actions/SoGetMatrixAction.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/lists/SoPathList.h>
#include <Inventor/nodes/SoLight.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>

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

SoNode *findFirst(SoNode *root, SoType type, bool derived = false)
{
    SoSearchAction search;
    search.setType(type, derived);
    search.setInterest(SoSearchAction::FIRST);
    search.setSearchingAll(TRUE);
    search.apply(root);
    return search.getPath() ? search.getPath()->getTail() : nullptr;
}

// Gives each textured appearance its own white-diffuse copy of the material,
// so that an RGB(A) texture shows its own colours, as VRML97 defines.
void whitenTexturedMaterials(SoNode *root)
{
    SoSearchAction search;
    search.setType(SoVRMLShape::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.setSearchingAll(TRUE);
    search.apply(root);
    const SoPathList &paths = search.getPaths();
    for (int i = 0; i < paths.getLength(); ++i) {
        auto *shape = static_cast<SoVRMLShape *>(paths[i]->getTail());
        SoNode *appearanceNode = shape->appearance.getValue();
        if (!appearanceNode || !appearanceNode->isOfType(SoVRMLAppearance::getClassTypeId()))
            continue;
        auto *appearance = static_cast<SoVRMLAppearance *>(appearanceNode);
        SoNode *materialNode = appearance->material.getValue();
        SoNode *textureNode = appearance->texture.getValue();
        if (!materialNode || !materialNode->isOfType(SoVRMLMaterial::getClassTypeId()) ||
            !textureNode || !textureNode->isOfType(SoVRMLImageTexture::getClassTypeId()))
            continue;
        auto *texture = static_cast<SoVRMLImageTexture *>(textureNode);
        SbVec2s size;
        int components = 0;
        if (!texture->getImage() || !texture->getImage()->getValue(size, components) ||
            components < 3)
            continue;
        auto *white = static_cast<SoVRMLMaterial *>(materialNode->copy());
        white->diffuseColor.setValue(1, 1, 1);
        appearance->material = white;
    }
}

} // namespace

void setCoinSurfaceFormat()
{
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
}

void initCoin()
{
    static const bool done = [] {
        SoDB::init();
        SoError::setHandlerCallback(collectMessage, nullptr);
        SoDebugError::setHandlerCallback(collectMessage, nullptr);
        SoReadError::setHandlerCallback(collectMessage, nullptr);
        SbImage::addReadImageCB(readImage, nullptr);
        SoVRMLImageTexture::setDelayFetchURL(FALSE);
        return true;
    }();
    (void)done;
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
        } else if (scene.m_read.errors.isEmpty()) {
            scene.m_read.errors.append(QStringLiteral("%1 is not a VRML file").arg(path));
        }
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

Scene &Scene::operator=(Scene &&other) noexcept
{
    if (this != &other) {
        if (m_read.root)
            m_read.root->unref();
        m_read = std::move(other.m_read);
        other.m_read.root = nullptr;
    }
    return *this;
}

Scene::~Scene()
{
    if (m_read.root)
        m_read.root->unref();
}

bool Scene::hasLights() const
{
    return m_read.root && (findFirst(m_read.root, SoLight::getClassTypeId(), true) ||
                           findFirst(m_read.root, SoVRMLLight::getClassTypeId(), true));
}

bool Scene::hasSound() const
{
    return m_read.root && findFirst(m_read.root, SoVRMLSound::getClassTypeId());
}

namespace {

const SoVRMLNavigationInfo *navigationInfo(SoNode *root)
{
    return root ? static_cast<SoVRMLNavigationInfo *>(
                      findFirst(root, SoVRMLNavigationInfo::getClassTypeId()))
                : nullptr;
}

} // namespace

bool Scene::wantsHeadlight() const
{
    const SoVRMLNavigationInfo *info = navigationInfo(m_read.root);
    return !info || info->headlight.getValue();
}

float Scene::walkingSpeed() const
{
    const SoVRMLNavigationInfo *info = navigationInfo(m_read.root);
    const float speed = info ? info->speed.getValue() : 1.0f;
    return speed > 0 ? speed : 1.0f;
}

std::optional<Viewpoint> firstViewpoint(SoNode *root)
{
    SoSearchAction search;
    search.setType(SoVRMLViewpoint::getClassTypeId());
    search.setInterest(SoSearchAction::FIRST);
    search.apply(root);
    SoPath *path = search.getPath();
    if (!path)
        return std::nullopt;
    path->ref();
    SoGetMatrixAction matrixAction(SbViewportRegion(100, 100));
    matrixAction.apply(path);
    // The matrix action includes the viewpoint node itself, which holds no
    // transformation, so this is the matrix of the viewpoint's parents.
    const SbMatrix &matrix = matrixAction.getMatrix();
    const auto *node = static_cast<SoVRMLViewpoint *>(path->getTail());
    Viewpoint viewpoint;
    matrix.multVecMatrix(node->position.getValue(), viewpoint.position);
    SbVec3f translation, scale;
    SbRotation rotation, scaleOrientation;
    matrix.getTransform(translation, rotation, scale, scaleOrientation);
    viewpoint.orientation = node->orientation.getValue() * rotation;
    viewpoint.fieldOfView = node->fieldOfView.getValue();
    path->unref();
    return viewpoint;
}

float heightAngle(float fieldOfView, float aspectRatio)
{
    if (aspectRatio >= 1.0f || aspectRatio <= 0)
        return fieldOfView;
    return 2 * std::atan(std::tan(fieldOfView / 2) / aspectRatio);
}

SbBox3f boundingBox(SoNode *root)
{
    SoGetBoundingBoxAction action(SbViewportRegion(100, 100));
    action.apply(root);
    return action.getBoundingBox();
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
