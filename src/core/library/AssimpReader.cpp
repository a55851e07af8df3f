#include "core/library/AssimpReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QUrl>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>

namespace {

// The FBX file's own axes and unit, which Assimp leaves to its caller: the
// change to Y up and metres (FBX counts in centimetres unless it says).
bool fbxAxes(const aiScene &scene, aiMatrix4x4 &axes)
{
    const aiMetadata *meta = scene.mMetaData;
    int up = 1, upSign = 1, front = 2, frontSign = 1, coord = 0, coordSign = 1;
    if (!meta || !meta->Get("UpAxis", up))
        return false;
    meta->Get("UpAxisSign", upSign);
    meta->Get("FrontAxis", front);
    meta->Get("FrontAxisSign", frontSign);
    meta->Get("CoordAxis", coord);
    meta->Get("CoordAxisSign", coordSign);
    const auto axis = [](int index, int sign) {
        aiVector3D v;
        v[unsigned(std::clamp(index, 0, 2))] = sign < 0 ? -1.0f : 1.0f;
        return v;
    };
    const aiVector3D right = axis(coord, coordSign), upward = axis(up, upSign),
                     forward = axis(front, frontSign);
    double unit = 1;
    float unitSingle = 1;
    if (!meta->Get("UnitScaleFactor", unit) && meta->Get("UnitScaleFactor", unitSingle))
        unit = unitSingle;
    const auto metres = ai_real(unit > 0 ? unit / 100 : 0.01);
    axes = aiMatrix4x4(right.x * metres, right.y * metres, right.z * metres, 0, upward.x * metres,
                       upward.y * metres, upward.z * metres, 0, forward.x * metres,
                       forward.y * metres, forward.z * metres, 0, 0, 0, 0, 1);
    return true;
}

// A texture as the model names it: held in the file ("*0", or a name the
// file's own images go by) or a file beside it.
ModelTexture textureOf(const aiScene &scene, const aiString &name, const QString &folder)
{
    ModelTexture texture;
    if (const aiTexture *held = scene.GetEmbeddedTexture(name.C_Str())) {
        if (held->mHeight == 0) { // a compressed image file's bytes
            texture.embedded =
                QByteArray(reinterpret_cast<const char *>(held->pcData), int(held->mWidth));
        } else if (held->mWidth <= 16384 && held->mHeight <= 16384) {
            QImage image(int(held->mWidth), int(held->mHeight), QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const aiTexel &t = held->pcData[size_t(y) * held->mWidth + size_t(x)];
                    image.setPixel(x, y, qRgba(t.r, t.g, t.b, t.a));
                }
            QBuffer buffer(&texture.embedded);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
        return texture;
    }
    QString file = QString::fromUtf8(name.C_Str()).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (file.startsWith(QLatin1String("file://")))
        file = QUrl(file).toLocalFile();
    QString path = QDir::cleanPath(QDir(folder).filePath(file));
    // glTF names files as URIs: "my%20wood.png".
    if (!QFileInfo::exists(path) && file.contains(QLatin1Char('%')))
        path = QDir::cleanPath(QDir(folder).filePath(QUrl::fromPercentEncoding(file.toUtf8())));
    texture.path = path;
    return texture;
}

void readMaterial(const aiScene &scene, const aiMaterial &material, const QString &folder,
                  QHash<QString, int> &textureIndex, ModelData &model, ModelMesh &mesh)
{
    aiColor4D colour;
    const bool base = aiGetMaterialColor(&material, AI_MATKEY_BASE_COLOR, &colour) == AI_SUCCESS;
    if (base || aiGetMaterialColor(&material, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS) {
        mesh.diffuse[0] = colour.r;
        mesh.diffuse[1] = colour.g;
        mesh.diffuse[2] = colour.b;
    }
    float opacity = base ? colour.a : 1;
    aiGetMaterialFloat(&material, AI_MATKEY_OPACITY, &opacity);
    mesh.transparency = 1 - std::clamp(opacity, 0.0f, 1.0f);
    aiString name;
    if (material.GetTexture(aiTextureType_BASE_COLOR, 0, &name) != AI_SUCCESS &&
        material.GetTexture(aiTextureType_DIFFUSE, 0, &name) != AI_SUCCESS)
        return;
    const QString key = QString::fromUtf8(name.C_Str());
    auto known = textureIndex.constFind(key);
    if (known == textureIndex.cend()) {
        model.textures.push_back(textureOf(scene, name, folder));
        known = textureIndex.insert(key, int(model.textures.size()) - 1);
    }
    mesh.texture = *known;
}

// One Assimp mesh placed by its node's transformation; false when the
// triangles would pass the limit.
bool addMesh(const aiMesh &source, const aiMatrix4x4 &transform, size_t maxTriangles,
             ModelData &model, ModelMesh &mesh)
{
    const unsigned vertices = source.mNumVertices;
    mesh.positions.reserve(size_t(vertices) * 3);
    for (unsigned i = 0; i < vertices; ++i) {
        const aiVector3D p = transform * source.mVertices[i];
        mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z});
    }
    if (source.mNormals) {
        const aiMatrix3x3 normalMatrix = aiMatrix3x3(transform).Inverse().Transpose();
        for (unsigned i = 0; i < vertices; ++i) {
            const aiVector3D n = (normalMatrix * source.mNormals[i]).NormalizeSafe();
            mesh.normals.insert(mesh.normals.end(), {n.x, n.y, n.z});
        }
    }
    if (source.mTextureCoords[0] && source.mNumUVComponents[0] >= 2)
        for (unsigned i = 0; i < vertices; ++i)
            mesh.texCoords.insert(mesh.texCoords.end(),
                                  {source.mTextureCoords[0][i].x, source.mTextureCoords[0][i].y});
    if (source.mColors[0])
        for (unsigned i = 0; i < vertices; ++i)
            mesh.colors.insert(mesh.colors.end(), {source.mColors[0][i].r, source.mColors[0][i].g,
                                                   source.mColors[0][i].b});
    const size_t before = model.triangleCount();
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace &face = source.mFaces[f];
        if (face.mNumIndices != 3 || face.mIndices[0] >= vertices || face.mIndices[1] >= vertices ||
            face.mIndices[2] >= vertices)
            continue;
        mesh.indices.insert(mesh.indices.end(), face.mIndices, face.mIndices + 3);
        if (before + mesh.triangleCount() > maxTriangles)
            return false;
    }
    return true;
}

} // namespace

ModelData readWithAssimp(const QString &path, size_t maxTriangles)
{
    ModelData model;
    Assimp::Importer importer;
    const aiScene *scene = importer.ReadFile(
        QFile::encodeName(path).constData(),
        aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_SortByPType);
    if (!scene || !scene->mRootNode) {
        model.error = QString::fromUtf8(importer.GetErrorString());
        if (model.error.isEmpty())
            model.error = QStringLiteral("it is no model that can be read");
        return model;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    aiMatrix4x4 axes; // glTF is Y up by definition; Assimp turns COLLADA's axes itself
    model.upFromFile = suffix == QLatin1String("gltf") || suffix == QLatin1String("glb") ||
                       suffix == QLatin1String("dae") ||
                       (suffix == QLatin1String("fbx") && fbxAxes(*scene, axes));

    const QString folder = QFileInfo(path).absolutePath();
    QHash<QString, int> textureIndex;
    bool skinned = false;
    // Depth first without recursion: a file may nest its nodes thousands deep.
    std::vector<std::pair<const aiNode *, aiMatrix4x4>> stack{
        {scene->mRootNode, axes * scene->mRootNode->mTransformation}};
    while (!stack.empty()) {
        const auto [node, transform] = stack.back();
        stack.pop_back();
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            if (node->mMeshes[i] >= scene->mNumMeshes)
                continue;
            const aiMesh &source = *scene->mMeshes[node->mMeshes[i]];
            if (!(source.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) {
                ++model.withoutFaces;
                continue;
            }
            skinned = skinned || source.mNumBones > 0;
            ModelMesh mesh;
            if (!addMesh(source, transform, maxTriangles, model, mesh)) {
                model.error = QStringLiteral("it has more than %L1 triangles").arg(maxTriangles);
                model.meshes.clear();
                return model;
            }
            if (source.mMaterialIndex < scene->mNumMaterials)
                readMaterial(*scene, *scene->mMaterials[source.mMaterialIndex], folder,
                             textureIndex, model, mesh);
            if (!mesh.indices.empty())
                model.meshes.push_back(std::move(mesh));
        }
        for (unsigned i = 0; i < node->mNumChildren; ++i)
            if (const aiNode *child = node->mChildren[i])
                stack.emplace_back(child, transform * child->mTransformation);
    }
    if (scene->mNumAnimations > 0)
        model.notes << QStringLiteral("Its animations are not imported.");
    if (skinned)
        model.notes << QStringLiteral("Its skins (bones) are not imported: it stands as modelled.");
    if (scene->mNumCameras > 0 || scene->mNumLights > 0)
        model.notes << QStringLiteral("Its cameras and lights are not imported.");
    return model;
}

QStringList assimpPatterns()
{
    std::string list;
    Assimp::Importer().GetExtensionList(list);
    return QString::fromStdString(list).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}
