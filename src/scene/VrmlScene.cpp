#include "scene/VrmlScene.h"

#include "scene/Culling.h"
#include "scene/LevelOfDetail.h"
#include "scene/TextFont.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QScopeGuard>
#include <QSet>
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
#include <Inventor/errors/SoMemoryError.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/fields/SoMFNode.h>
#include <Inventor/fields/SoSFNode.h>
#include <Inventor/lists/SoFieldList.h>
#include <Inventor/lists/SoPathList.h>
#include <Inventor/nodes/SoLight.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// An image as Coin wants it: rows bottom-up, unpadded.
struct Pixels {
    SbVec2s size;
    int components = 0;
    QByteArray bytes;
};

Pixels pixelsOf(const QString &fileName)
{
    QImage picture(fileName);
    if (picture.isNull())
        return {};
    // Three components for opaque pictures: VRML lets an RGB texture replace
    // the material's diffuse colour, which Coin does only for those.
    const bool alpha = picture.hasAlphaChannel();
    Pixels pixels{SbVec2s(short(picture.width()), short(picture.height())), alpha ? 4 : 3, {}};
    picture = picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int rowBytes = picture.width() * pixels.components;
    pixels.bytes.resize(rowBytes * picture.height());
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(pixels.bytes.data() + y * rowBytes,
                    picture.constScanLine(picture.height() - 1 - y), size_t(rowBytes));
    return pixels;
}

// While a file is read, each image file is decoded once however many
// texture nodes name it. Text read from memory has no folder to find images
// in: every image is one white pixel (unless a PartReader gives folders).
using DecodedImages = QHash<QString, Pixels>;
DecodedImages *g_decoded = nullptr;
bool g_whitePixels = false;
// Whether the decoded pixels outlive the texture nodes read (a PartReader's
// do): the nodes then point at them instead of holding a copy each.
bool g_pixelsKept = false;

SbBool readImage(const SbString &fileName, SbImage *image, void *)
{
    const QString name = QString::fromLocal8Bit(fileName.getString());
    DecodedImages outside; // an image Coin asks for outside our reads
    DecodedImages &decoded = g_decoded ? *g_decoded : outside;
    auto found = decoded.constFind(name);
    if (found == decoded.constEnd())
        found = decoded.insert(name, g_whitePixels ? Pixels{SbVec2s(1, 1), 3, "\xff\xff\xff"}
                                                   : pixelsOf(name));
    if (found->bytes.isEmpty())
        return FALSE;
    const auto *bytes = reinterpret_cast<const unsigned char *>(found->bytes.constData());
    if (g_pixelsKept && g_decoded)
        image->setValuePtr(found->size, found->components, bytes);
    else
        image->setValue(found->size, found->components, bytes);
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

// Adapts every appearance to what a VRML97 browser shows, and what it keeps:
// - an RGB(A) texture replaces the material's diffuse colour (Coin tints the
//   texture with it), so a textured appearance gets its own white-diffuse
//   copy of the material;
// - texture nodes that name the same image and wrap alike become one node,
//   so that the image is scaled, uploaded and kept once, not once per item.
using SharedTextures = QHash<QString, SoVRMLImageTexture *>;
void adaptAppearances(SoNode *root, SharedTextures &textures)
{
    SoSearchAction search;
    search.setType(SoVRMLShape::getClassTypeId());
    search.setInterest(SoSearchAction::ALL);
    search.setSearchingAll(TRUE);
    search.apply(root);
    const SoPathList &paths = search.getPaths();
    QSet<SoVRMLAppearance *> seen; // a shared (USE) shape is found once per use
    for (int i = 0; i < paths.getLength(); ++i) {
        SoNode *shape = paths[i]->getTail();
        if (!shape->isOfType(SoVRMLShape::getClassTypeId()))
            continue;
        SoNode *appearanceNode = static_cast<SoVRMLShape *>(shape)->appearance.getValue();
        if (!appearanceNode || !appearanceNode->isOfType(SoVRMLAppearance::getClassTypeId()))
            continue;
        auto *appearance = static_cast<SoVRMLAppearance *>(appearanceNode);
        if (seen.contains(appearance))
            continue;
        seen.insert(appearance);
        SoNode *textureNode = appearance->texture.getValue();
        if (!textureNode || !textureNode->isOfType(SoVRMLImageTexture::getClassTypeId()))
            continue;
        auto *texture = static_cast<SoVRMLImageTexture *>(textureNode);
        if (texture->url.getNum() == 1) {
            const QString key = QString::fromUtf8(texture->url[0].getString()) +
                                QLatin1Char(texture->repeatS.getValue() ? 'S' : '-') +
                                QLatin1Char(texture->repeatT.getValue() ? 'T' : '-');
            SoVRMLImageTexture *&shared = textures[key];
            if (!shared) {
                shared = texture;
                shared->ref(); // held by the map, which may outlive this scene
            } else if (shared != texture)
                appearance->texture = texture = shared;
        }
        SoNode *materialNode = appearance->material.getValue();
        SbVec2s size;
        int components = 0;
        if (!materialNode || !materialNode->isOfType(SoVRMLMaterial::getClassTypeId()) ||
            !texture->getImage() || !texture->getImage()->getValue(size, components) ||
            components < 3)
            continue;
        auto *white = static_cast<SoVRMLMaterial *>(materialNode->copy());
        white->diffuseColor.setValue(1, 1, 1);
        appearance->material = white;
    }
}

// A node held by a field of another: a child, a geometry, an appearance...
struct Link {
    SoField *field;
    int index; // in a multiple-value field
    SoNode *node;
};

std::vector<Link> linksOf(SoNode *node)
{
    std::vector<Link> links;
    SoFieldList fields;
    node->getFields(fields);
    for (int i = 0; i < fields.getLength(); ++i) {
        SoField *field = fields[i];
        if (field->isOfType(SoSFNode::getClassTypeId())) {
            if (SoNode *held = static_cast<SoSFNode *>(field)->getValue())
                links.push_back({field, 0, held});
        } else if (field->isOfType(SoMFNode::getClassTypeId())) {
            auto *many = static_cast<SoMFNode *>(field);
            for (int j = 0; j < many->getNum(); ++j)
                if (SoNode *held = (*many)[j])
                    links.push_back({field, j, held});
        }
    }
    return links;
}

// Visits every node below root once, depth first and without recursion (a
// file may nest thousands deep), and returns the links back to a node on the
// way down: a USE inside its own DEF, which every traversal of Coin's would
// follow until the stack runs out.
std::vector<Link> walkNodes(SoNode *root, const std::function<void(SoNode *)> &visit = {})
{
    struct Frame {
        SoNode *node;
        std::vector<Link> links;
        size_t next = 0;
    };
    std::vector<Link> loops;
    QSet<SoNode *> onPath, done;
    std::vector<Frame> path;
    const auto enter = [&](SoNode *node) {
        if (visit)
            visit(node);
        onPath.insert(node);
        path.push_back({node, linksOf(node)});
    };
    enter(root);
    while (!path.empty()) {
        Frame &top = path.back();
        if (top.next == top.links.size()) {
            onPath.remove(top.node);
            done.insert(top.node);
            path.pop_back();
            continue;
        }
        const Link link = top.links[top.next++];
        if (onPath.contains(link.node))
            loops.push_back(link);
        else if (!done.contains(link.node))
            enter(link.node);
    }
    return loops;
}

// Frees a graph whose loops are cut first; with notification off, as a
// change would travel round a loop.
void release(SoNode *root, const std::vector<Link> &loops)
{
    for (auto loop = loops.rbegin(); loop != loops.rend(); ++loop) {
        loop->field->getContainer()->enableNotify(FALSE);
        if (loop->field->isOfType(SoSFNode::getClassTypeId()))
            static_cast<SoSFNode *>(loop->field)->setValue(nullptr);
        else
            static_cast<SoMFNode *>(loop->field)->set1Value(loop->index, nullptr);
    }
    root->unref();
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
        initTextFont();
        initCulling();
        initLevelsOfDetail();
        SoError::setHandlerCallback(collectMessage, nullptr);
        SoDebugError::setHandlerCallback(collectMessage, nullptr);
        SoReadError::setHandlerCallback(collectMessage, nullptr);
        SoMemoryError::setHandlerCallback(collectMessage, nullptr);
        SbImage::addReadImageCB(readImage, nullptr);
        SoVRMLImageTexture::setDelayFetchURL(FALSE);
        return true;
    }();
    (void)done;
}

// What a PartReader keeps from one read to the next.
struct TextureShare {
    DecodedImages decoded;
    SharedTextures textures; // each referenced once
    ~TextureShare()
    {
        for (SoVRMLImageTexture *texture : std::as_const(textures))
            texture->unref();
    }
};

Scene Scene::read(const QString &path, const QStringList &searchDirs, Images images)
{
    return readInput(path, {}, searchDirs, nullptr, images == Images::White);
}

Scene Scene::fromText(const QByteArray &vrml) { return readInput({}, vrml, {}, nullptr, true); }

Scene Scene::readInput(const QString &path, const QByteArray &vrml, const QStringList &searchDirs,
                       TextureShare *share, bool whitePixels)
{
    initCoin();
    const bool fromFile = !path.isEmpty();
    Scene scene;
    TextureShare once;
    TextureShare &kept = share ? *share : once;
    g_collector = &scene.m_read;
    g_decoded = &kept.decoded;
    g_whitePixels = whitePixels;
    g_pixelsKept = share != nullptr;
    const auto finish = qScopeGuard([] {
        SoInput::clearDirectories();
        g_collector = nullptr;
        g_decoded = nullptr;
        g_pixelsKept = false;
    });
    SoInput input;
    for (const QString &dir : searchDirs)
        SoInput::addDirectoryLast(QFile::encodeName(dir).constData());
    if (fromFile) {
        SoInput::addDirectoryFirst(QFile::encodeName(QFileInfo(path).absolutePath()).constData());
        if (!input.openFile(QFile::encodeName(path).constData())) {
            if (scene.m_read.errors.isEmpty())
                scene.m_read.errors.append(QStringLiteral("cannot open %1").arg(path));
            return scene;
        }
    } else {
        input.setBuffer(vrml.constData(), size_t(vrml.size()));
    }
    SoGroup *root = SoDB::readAllVRML(&input);
    if (root) {
        root->ref();
        if (const std::vector<Link> loops = walkNodes(root); !loops.empty()) {
            scene.m_read.errors.append(
                QStringLiteral("a node holds itself (a USE inside its own DEF)"));
            release(root, loops);
        } else {
            scene.m_read.root = root;
            adaptAppearances(root, kept.textures);
        }
    } else if (scene.m_read.errors.isEmpty()) {
        scene.m_read.errors.append(QStringLiteral("%1 is not a VRML file")
                                       .arg(fromFile ? path : QStringLiteral("the text")));
    }
    if (fromFile)
        input.closeFile();
    return scene;
}

PartReader::PartReader(QStringList searchDirs)
    : m_searchDirs(std::move(searchDirs)), m_share(std::make_unique<TextureShare>())
{
}

PartReader::~PartReader() = default;

Scene PartReader::read(const QByteArray &vrml)
{
    return Scene::readInput({}, vrml, m_searchDirs, m_share.get(), false);
}

void PartReader::addSearchDir(const QString &dir)
{
    if (!m_searchDirs.contains(dir))
        m_searchDirs << dir;
}

void forEachNode(SoNode *root, const std::function<void(SoNode *)> &visit)
{
    walkNodes(root, visit);
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

bool Scene::wantsHeadlight() const { return ::wantsHeadlight(m_read.root); }
float Scene::walkingSpeed() const { return ::walkingSpeed(m_read.root); }
Avatar Scene::avatar() const { return ::avatar(m_read.root); }

bool wantsHeadlight(SoNode *root)
{
    const SoVRMLNavigationInfo *info = navigationInfo(root);
    return !info || info->headlight.getValue();
}

float walkingSpeed(SoNode *root)
{
    const SoVRMLNavigationInfo *info = navigationInfo(root);
    const float speed = info ? info->speed.getValue() : 1.0f;
    return speed > 0 ? speed : 1.0f;
}

Avatar avatar(SoNode *root)
{
    Avatar avatar;
    const SoVRMLNavigationInfo *info = navigationInfo(root);
    if (!info)
        return avatar;
    const int n = info->avatarSize.getNum();
    if (n > 0)
        avatar.collisionDistance = info->avatarSize[0];
    if (n > 1)
        avatar.height = info->avatarSize[1];
    if (n > 2)
        avatar.stepHeight = info->avatarSize[2];
    return avatar;
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
