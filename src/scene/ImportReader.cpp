#include "scene/ImportReader.h"

#include "core/library/AssimpReader.h"
#include "scene/VrmlScene.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QUrl>

#include <algorithm>

#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLElevationGrid.h>
#include <Inventor/VRMLnodes/SoVRMLGeometry.h>
#include <Inventor/VRMLnodes/SoVRMLImageTexture.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLInterpolator.h>
#include <Inventor/VRMLnodes/SoVRMLLight.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLPixelTexture.h>
#include <Inventor/VRMLnodes/SoVRMLScript.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/VRMLnodes/SoVRMLSound.h>
#include <Inventor/VRMLnodes/SoVRMLTimeSensor.h>
#include <Inventor/VRMLnodes/SoVRMLViewpoint.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoGroup.h>

namespace {

struct Collector {
    ModelData model;
    QString folder; // the file's, for relative urls
    size_t maxTriangles = 0;
    size_t triangles = 0;
    QHash<QString, int> textureIndex;
    int mesh = -1;       // the shape being collected
    bool colors = false; // it has a colour per vertex
    SbMatrix normalMatrix;
};

int textureOf(Collector &c, SoNode *node)
{
    ModelTexture texture;
    QString key;
    if (node && node->isOfType(SoVRMLImageTexture::getClassTypeId())) {
        const SoMFString &urls = static_cast<SoVRMLImageTexture *>(node)->url;
        if (urls.getNum() == 0)
            return -1;
        const QString url = QString::fromUtf8(urls[0].getString());
        const QUrl link(url);
        const QString file = link.isLocalFile() ? link.toLocalFile() : url;
        texture.path = QDir::cleanPath(QDir(c.folder).filePath(file));
        key = texture.path;
    } else if (node && node->isOfType(SoVRMLPixelTexture::getClassTypeId())) {
        SbVec2s size;
        int components = 0;
        const unsigned char *pixels =
            static_cast<SoVRMLPixelTexture *>(node)->image.getValue(size, components);
        if (!pixels || size[0] <= 0 || size[1] <= 0 || components < 1 || components > 4)
            return -1;
        const QImage::Format formats[] = {QImage::Format_Grayscale8, QImage::Format_Invalid,
                                          QImage::Format_RGB888, QImage::Format_RGBA8888};
        QImage image = components == 2 ? QImage()
                                       : QImage(pixels, size[0], size[1], size[0] * components,
                                                formats[components - 1])
                                             .mirrored(); // VRML's rows run bottom-up
        if (image.isNull())
            return -1;
        QBuffer buffer(&texture.embedded);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        key = QString::number(quintptr(node));
    } else {
        return -1;
    }
    auto known = c.textureIndex.constFind(key);
    if (known == c.textureIndex.cend()) {
        c.model.textures.push_back(std::move(texture));
        known = c.textureIndex.insert(key, int(c.model.textures.size()) - 1);
    }
    return *known;
}

SoCallbackAction::Response onShape(void *data, SoCallbackAction *action, const SoNode *node)
{
    auto &c = *static_cast<Collector *>(data);
    const auto *shape = static_cast<const SoVRMLShape *>(node);
    ModelMesh mesh;
    // Without an appearance VRML draws a shape unlit, in white.
    std::fill(std::begin(mesh.diffuse), std::end(mesh.diffuse), 1.0f);
    if (auto *appearance = static_cast<SoVRMLAppearance *>(shape->appearance.getValue())) {
        if (auto *material = static_cast<SoVRMLMaterial *>(appearance->material.getValue())) {
            const SbColor diffuse = material->diffuseColor.getValue();
            for (int k = 0; k < 3; ++k)
                mesh.diffuse[k] = diffuse[k];
            mesh.transparency = material->transparency.getValue();
        }
        mesh.texture = textureOf(c, appearance->texture.getValue());
    }
    SoNode *geometry = shape->geometry.getValue();
    c.colors = (geometry && geometry->isOfType(SoVRMLIndexedFaceSet::getClassTypeId()) &&
                static_cast<SoVRMLIndexedFaceSet *>(geometry)->color.getValue()) ||
               (geometry && geometry->isOfType(SoVRMLElevationGrid::getClassTypeId()) &&
                static_cast<SoVRMLElevationGrid *>(geometry)->color.getValue());
    c.normalMatrix = action->getModelMatrix().inverse().transpose();
    c.model.meshes.push_back(std::move(mesh));
    c.mesh = int(c.model.meshes.size()) - 1;
    return SoCallbackAction::CONTINUE;
}

void onTriangle(void *data, SoCallbackAction *action, const SoPrimitiveVertex *a,
                const SoPrimitiveVertex *b, const SoPrimitiveVertex *d)
{
    auto &c = *static_cast<Collector *>(data);
    if (c.mesh < 0 || ++c.triangles > c.maxTriangles)
        return;
    ModelMesh &mesh = c.model.meshes[size_t(c.mesh)];
    const SbMatrix &model = action->getModelMatrix();
    for (const SoPrimitiveVertex *v : {a, b, d}) {
        mesh.indices.push_back(uint32_t(mesh.vertexCount()));
        SbVec3f p, n;
        model.multVecMatrix(v->getPoint(), p);
        c.normalMatrix.multDirMatrix(v->getNormal(), n);
        n.normalize();
        const SbVec4f &t = v->getTextureCoords();
        mesh.positions.insert(mesh.positions.end(), {p[0], p[1], p[2]});
        mesh.normals.insert(mesh.normals.end(), {n[0], n[1], n[2]});
        mesh.texCoords.insert(mesh.texCoords.end(), {t[0], t[1]});
        if (c.colors) {
            SbColor ambient, diffuse, specular, emission;
            float shininess = 0, transparency = 0;
            action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency,
                                v->getMaterialIndex());
            mesh.colors.insert(mesh.colors.end(), {diffuse[0], diffuse[1], diffuse[2]});
        }
    }
}

bool isOf(SoNode *node, std::initializer_list<SoType> types)
{
    return std::any_of(types.begin(), types.end(),
                       [node](const SoType &type) { return node->isOfType(type); });
}

} // namespace

ModelData readVrmlModel(const QString &path, size_t maxTriangles)
{
    Collector c;
    c.model.upFromFile = true; // VRML97 has Y up by definition
    const Scene scene = Scene::read(path, {}, Scene::Images::White); // its urls are what counts
    if (!scene.ok()) {
        c.model.error = scene.errors().value(0).section(QLatin1Char('\n'), 0, 0);
        return c.model;
    }
    c.folder = QFileInfo(path).absolutePath();
    c.maxTriangles = maxTriangles;
    SoCallbackAction action;
    action.addPreCallback(SoVRMLShape::getClassTypeId(), onShape, &c);
    action.addTriangleCallback(SoVRMLGeometry::getClassTypeId(), onTriangle, &c);
    action.apply(scene.root());
    if (c.triangles > maxTriangles) {
        c.model.error = QStringLiteral("it has more than %L1 triangles").arg(maxTriangles);
        c.model.meshes.clear();
        return c.model;
    }
    bool extras = false;
    forEachNode(scene.root(), [&](SoNode *node) {
        extras = extras ||
                 isOf(node, {SoVRMLLight::getClassTypeId(), SoVRMLViewpoint::getClassTypeId(),
                             SoVRMLSound::getClassTypeId(), SoVRMLTimeSensor::getClassTypeId(),
                             SoVRMLInterpolator::getClassTypeId(), SoVRMLScript::getClassTypeId()});
    });
    if (extras)
        c.model.notes << QStringLiteral("Its lights, viewpoints, sounds, scripts and animations "
                                        "are not imported.");
    return c.model;
}

ModelImport::Reader readerFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool vrml = suffix == QLatin1String("wrl") || suffix == QLatin1String("vrml");
    return vrml ? ModelImport::Reader(readVrmlModel) : ModelImport::Reader(readWithAssimp);
}

ModelImport::LoadedModel loadModelFile(const QString &path)
{
    return ModelImport::loadModel(path, readerFor(path));
}

QStringList importPatterns()
{
    QStringList patterns = assimpPatterns();
    patterns << QStringLiteral("*.wrl");
    patterns.removeDuplicates();
    return patterns;
}
