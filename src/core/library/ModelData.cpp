#include "core/library/ModelData.h"

#include <numeric>

size_t ModelData::triangleCount() const
{
    return std::accumulate(meshes.begin(), meshes.end(), size_t(0),
                           [](size_t n, const ModelMesh &m) { return n + m.triangleCount(); });
}

QDataStream &operator<<(QDataStream &out, const ModelData &model)
{
    out << model.error << model.notes << model.upFromFile << qint32(model.withoutFaces);
    writeRecords(out, model.textures);
    out << quint32(model.meshes.size());
    for (const ModelMesh &mesh : model.meshes) {
        writeArray(out, mesh.positions);
        writeArray(out, mesh.normals);
        writeArray(out, mesh.texCoords);
        writeArray(out, mesh.colors);
        writeArray(out, mesh.indices);
        out << mesh.diffuse[0] << mesh.diffuse[1] << mesh.diffuse[2] << mesh.transparency
            << qint32(mesh.texture);
    }
    return out;
}

QDataStream &operator>>(QDataStream &in, ModelData &model)
{
    qint32 withoutFaces = 0;
    quint32 meshes = 0;
    in >> model.error >> model.notes >> model.upFromFile >> withoutFaces;
    model.withoutFaces = withoutFaces;
    readRecords(in, model.textures);
    in >> meshes;
    for (quint32 i = 0; i < meshes && in.status() == QDataStream::Ok; ++i) {
        ModelMesh mesh;
        readArray(in, mesh.positions);
        readArray(in, mesh.normals);
        readArray(in, mesh.texCoords);
        readArray(in, mesh.colors);
        readArray(in, mesh.indices);
        qint32 texture = -1;
        in >> mesh.diffuse[0] >> mesh.diffuse[1] >> mesh.diffuse[2] >> mesh.transparency >> texture;
        mesh.texture = texture;
        model.meshes.push_back(std::move(mesh));
    }
    return in;
}

QDataStream &operator<<(QDataStream &out, const ModelTexture &texture)
{
    return out << texture.path << texture.embedded;
}

QDataStream &operator>>(QDataStream &in, ModelTexture &texture)
{
    return in >> texture.path >> texture.embedded;
}
