#include "core/library/ModelData.h"

#include <QIODevice>

#include <numeric>

namespace {

template <typename T> void writeArray(QDataStream &out, const std::vector<T> &values)
{
    out << quint64(values.size());
    out.writeRawData(reinterpret_cast<const char *>(values.data()), int(values.size() * sizeof(T)));
}

template <typename T> void readArray(QDataStream &in, std::vector<T> &values)
{
    quint64 count = 0;
    in >> count;
    // The bytes come from our own child, but a count past what is left
    // would still be a huge allocation for nothing.
    const qint64 left = in.device() ? in.device()->bytesAvailable() : 0;
    if (in.status() != QDataStream::Ok || count > quint64(left) / sizeof(T)) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    values.resize(size_t(count));
    if (in.readRawData(reinterpret_cast<char *>(values.data()), int(count * sizeof(T))) !=
        int(count * sizeof(T)))
        in.setStatus(QDataStream::ReadPastEnd);
}

} // namespace

size_t ModelData::triangleCount() const
{
    return std::accumulate(meshes.begin(), meshes.end(), size_t(0),
                           [](size_t n, const ModelMesh &m) { return n + m.triangleCount(); });
}

QDataStream &operator<<(QDataStream &out, const ModelData &model)
{
    out << model.error << model.notes << model.upFromFile << qint32(model.withoutFaces);
    out << quint32(model.textures.size());
    for (const ModelTexture &texture : model.textures)
        out << texture.path << texture.embedded;
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
    quint32 textures = 0, meshes = 0;
    in >> model.error >> model.notes >> model.upFromFile >> withoutFaces >> textures;
    model.withoutFaces = withoutFaces;
    for (quint32 i = 0; i < textures && in.status() == QDataStream::Ok; ++i) {
        ModelTexture texture;
        in >> texture.path >> texture.embedded;
        model.textures.push_back(std::move(texture));
    }
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
