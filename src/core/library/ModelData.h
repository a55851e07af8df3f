#pragma once
// A 3-D model as the importer holds it between reading and writing: triangle
// meshes with their materials, whatever format the file was. A reader fills
// it in a child process (core/files/ChildProcess.h) and hands it over as
// bytes, so it streams in and out of a QDataStream.

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

struct ModelMesh {
    std::vector<float> positions;  // x y z for each vertex
    std::vector<float> normals;    // empty, or x y z for each vertex
    std::vector<float> texCoords;  // empty, or u v for each vertex
    std::vector<float> colors;     // empty, or r g b (0..1) for each vertex
    std::vector<uint32_t> indices; // three vertices for each triangle
    float diffuse[3] = {0.8f, 0.8f, 0.8f};
    float transparency = 0;
    int texture = -1; // into ModelData::textures, or none

    size_t vertexCount() const { return positions.size() / 3; }
    size_t triangleCount() const { return indices.size() / 3; }
};

// An image a model names: a file on disk, or the bytes the model holds.
struct ModelTexture {
    QString path;        // as the model names it, made absolute; empty when embedded
    QByteArray embedded; // an image file's bytes
};

struct ModelData {
    std::vector<ModelMesh> meshes;
    std::vector<ModelTexture> textures;
    bool upFromFile = false; // the format says which way is up, and the meshes have Y up
    int withoutFaces = 0;    // meshes of points or lines, which are left out
    QStringList notes;       // what was left out, in a user's words
    QString error;           // why the file cannot be read; then nothing else is set

    size_t triangleCount() const;
};

QDataStream &operator<<(QDataStream &out, const ModelData &model);
QDataStream &operator>>(QDataStream &in, ModelData &model);
QDataStream &operator<<(QDataStream &out, const ModelTexture &texture);
QDataStream &operator>>(QDataStream &in, ModelTexture &texture);

// Vectors in and out of a stream: plain numbers as raw bytes, records one by one.
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

template <typename T> void writeRecords(QDataStream &out, const std::vector<T> &records)
{
    out << quint32(records.size());
    for (const T &record : records)
        out << record;
}

template <typename T> void readRecords(QDataStream &in, std::vector<T> &records)
{
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        T record;
        in >> record;
        records.push_back(std::move(record));
    }
}
