#pragma once
// Small 3-D model files the importer's tests and benchmark write themselves,
// one for each kind of input that matters: a textured quad (OBJ with MTL,
// glTF with its buffer and image inside), a box (STL), points without faces
// (PLY), a grid of any size (OBJ), a box in VRML97.

#include "TestSupport.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <cstring>
#include <vector>

inline QByteArray imageBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QByteArray pngOf(const QColor &colour, int side = 4)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    return imageBytes(image, "PNG");
}

// A quad 2 wide and 1 high standing in the XY plane, its material's texture
// named as given (a file the caller writes, or one that is not there).
inline bool writeQuadObj(const QString &folder, const QString &texture)
{
    return writeFile(folder + "/quad.mtl",
                     "newmtl skin\nKd 1 1 1\nmap_Kd " + texture.toUtf8() + "\n") &&
           writeFile(folder + "/quad.obj", "mtllib quad.mtl\n"
                                           "v -1 0 0\nv 1 0 0\nv 1 1 0\nv -1 1 0\n"
                                           "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                           "usemtl skin\nf 1/1 2/2 3/3 4/4\n");
}

// The same quad as glTF 2.0 with its buffer and a PNG inside, as data URIs.
inline QByteArray gltfQuad(const QColor &colour)
{
    const float positions[] = {-1, 0, 0, 1, 0, 0, 1, 1, 0, -1, 1, 0};
    const float uvs[] = {0, 1, 1, 1, 1, 0, 0, 0};
    const quint16 indices[] = {0, 1, 2, 0, 2, 3};
    QByteArray buffer;
    for (const auto &[data, size] : {std::pair<const void *, size_t>{positions, sizeof positions},
                                     {uvs, sizeof uvs},
                                     {indices, sizeof indices}})
        buffer.append(static_cast<const char *>(data), qsizetype(size));
    return QStringLiteral(R"({
  "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 0}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "TEXCOORD_0": 1},
                              "indices": 2, "material": 0}]}],
  "materials": [{"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}}],
  "textures": [{"source": 0}],
  "images": [{"uri": "data:image/png;base64,%1"}],
  "buffers": [{"byteLength": %2, "uri": "data:application/octet-stream;base64,%3"}],
  "bufferViews": [{"buffer": 0, "byteOffset": 0, "byteLength": 48},
                  {"buffer": 0, "byteOffset": 48, "byteLength": 32},
                  {"buffer": 0, "byteOffset": 80, "byteLength": 12}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3",
                 "min": [-1, 0, 0], "max": [1, 1, 0]},
                {"bufferView": 1, "componentType": 5126, "count": 4, "type": "VEC2"},
                {"bufferView": 2, "componentType": 5123, "count": 6, "type": "SCALAR"}]
})")
        .arg(QString::fromLatin1(pngOf(colour).toBase64()))
        .arg(buffer.size())
        .arg(QString::fromLatin1(buffer.toBase64()))
        .toUtf8();
}

// A box from the origin to (x, y, z), as ASCII STL (which says nothing of up).
inline QByteArray stlBox(float x, float y, float z)
{
    const float corner[8][3] = {{0, 0, 0}, {0, 0, z}, {0, y, 0}, {0, y, z},
                                {x, 0, 0}, {x, 0, z}, {x, y, 0}, {x, y, z}};
    const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    QByteArray stl = "solid box\n";
    const auto vertex = [&](int i) {
        return QByteArray("vertex ") + QByteArray::number(corner[i][0]) + ' ' +
               QByteArray::number(corner[i][1]) + ' ' + QByteArray::number(corner[i][2]) + '\n';
    };
    for (const auto &f : faces)
        for (const auto &t : {std::array{f[0], f[1], f[2]}, std::array{f[0], f[2], f[3]}})
            stl += "facet normal 0 0 0\nouter loop\n" + vertex(t[0]) + vertex(t[1]) + vertex(t[2]) +
                   "endloop\nendfacet\n";
    return stl + "endsolid box\n";
}

inline QByteArray plyPoints()
{
    return "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
           "property float z\nend_header\n0 0 0\n1 0 0\n0 1 0\n";
}

// A flat grid of n x n vertices one unit apart (2 (n-1)^2 triangles), with
// texture coordinates and a material naming texture when one is given.
inline QByteArray gridObj(int n, const QString &material = QString())
{
    QByteArray obj;
    if (!material.isEmpty())
        obj += "mtllib " + material.toUtf8() + "\nusemtl skin\n";
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            obj += "v " + QByteArray::number(i) + " 0 " + QByteArray::number(j) + "\nvt " +
                   QByteArray::number(double(i) / (n - 1)) + ' ' +
                   QByteArray::number(double(j) / (n - 1)) + '\n';
    for (int i = 0; i + 1 < n; ++i)
        for (int j = 0; j + 1 < n; ++j) {
            const QByteArray a = QByteArray::number(i * n + j + 1),
                             b = QByteArray::number(i * n + j + 2),
                             c = QByteArray::number((i + 1) * n + j + 1),
                             d = QByteArray::number((i + 1) * n + j + 2);
            obj += "f " + a + '/' + a + ' ' + c + '/' + c + ' ' + b + '/' + b + "\nf " + b + '/' +
                   b + ' ' + c + '/' + c + ' ' + d + '/' + d + '\n';
        }
    return obj;
}

inline QByteArray vrmlBox()
{
    return "#VRML V2.0 utf8\nTransform { translation 0 0.5 0 children Shape {\n"
           "appearance Appearance { material Material { diffuseColor 0 0 1 } }\n"
           "geometry Box { size 2 1 4 } } }\nDirectionalLight { }\n";
}
