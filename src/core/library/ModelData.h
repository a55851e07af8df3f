#pragma once
// A 3-D model as the importer holds it between reading and writing: triangle
// meshes with their materials, whatever format the file was. A reader fills
// it in a child process (core/files/ChildProcess.h) and hands it over as
// bytes, so it streams in and out of a QDataStream.

#include <QByteArray>
#include <QDataStream>
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
