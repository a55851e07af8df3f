#pragma once
// The importer: a model file made into an object of the library. Reading
// (loadModel) and placing (convertModel) are apart, so that the import dialog
// reads a file once and places it again at each change of size or facing.
//
// Reading runs the reader in a child process and checks what it gives;
// textures become JPEG or PNG files named by their content ("user-<hash>"),
// which no shipped texture is; a model over MaxTriangles is simplified with
// meshoptimizer. Placing turns the model Y up and to its facing, centres it
// on the origin, stands it on the ground and scales it, then writes the
// object file: Transform, Shape, IndexedFaceSet (with normals, texture
// coordinates and colours where the model has them), Material, ImageTexture.

#include "core/files/ChildProcess.h"
#include "core/library/ModelData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ModelImport {

// What a walk through the preview or the web page draws fluidly.
constexpr size_t MaxTriangles = 50000;
// What is simplified at most; a larger model is refused before it is read whole.
constexpr size_t MaxTrianglesRead = 5000000;
// Model and texture files larger than these are refused unread.
constexpr qint64 MaxModelBytes = qint64(512) * 1024 * 1024;
constexpr qint64 MaxTextureBytes = qint64(64) * 1024 * 1024;
// Textures are scaled down to this many pixels a side at most.
constexpr int MaxTextureSide = 2048;
// What a child reading a model may take between two pieces it writes
// before it counts as hung.
constexpr int SecondsAllowed = 120;
// Map units per metre: a map unit is 12 feet.
constexpr double UnitsPerMetre = 1 / 3.6576;

enum class UpAxis { Y, Z };

struct Options {
    std::optional<double> size; // the longer side of the footprint in map units; none: metres
    UpAxis up = UpAxis::Y;      // taken where the file does not say
    int quarterTurns = 0;       // about the vertical axis, counter-clockwise seen from above
};

// An image file of the object, as it is written beside it.
struct TextureFile {
    QString name; // "user-<16 hex digits>.png" or ".jpg"
    QByteArray bytes;
};

struct LoadedModel {
    ModelData model;                     // the meshes, in the file's axes, at most MaxTriangles
    std::vector<TextureFile> textures;   // by the model's texture index; empty name: left out
    std::vector<uint32_t> textureColors; // each texture's average colour, as qRgb
    size_t trianglesRead = 0;            // before simplifying
    QString error; // "Cannot import "<file>": <reason>."; then nothing else is set
    bool ok() const { return error.isEmpty(); }
};

// "Cannot import "<file>": <reason>.", the form of every refusal.
QString refusal(const QString &path, const QString &reason);

// Reads a file into a model in the process that calls it; past maxTriangles
// it stops with an error.
using Reader = std::function<ModelData(const QString &path, size_t maxTriangles)>;

// Loading in two halves, so that a window can wait for each without
// blocking: the file read with reader (readWithAssimp, or the scene
// library's VRML97 reader), what a child process does; then, from the
// child's end and its bytes (readFile streamed), the model checked and made
// ready to place, or why it cannot be.
ModelData readFile(const QString &path, const Reader &reader);
LoadedModel loadedFrom(const QString &path, const ChildResult &child);
// Both, the first in a child process, waiting for it.
LoadedModel loadModel(const QString &path, const Reader &reader);

struct Converted {
    QString vrml;                      // the object file's text
    std::vector<TextureFile> textures; // the files it names
    double width = 0;                  // the footprint in map units, along x
    double depth = 0;                  // and along z (the map's y)
    int32_t mapColor = 0;              // the model's average colour, weighted by area (StoredColor)
    bool round = false; // it fits the ellipse within its footprint: a circle on the map
    size_t triangles = 0;
    QStringList notes; // what the user should know of the conversion
    QString error;     // as in LoadedModel
    bool ok() const { return error.isEmpty(); }
};

// sourceName: the model file's name, for the object's comment and messages.
Converted convertModel(const LoadedModel &loaded, const Options &options,
                       const QString &sourceName);

inline bool operator==(const Options &a, const Options &b)
{
    return a.size == b.size && a.up == b.up && a.quarterTurns == b.quarterTurns;
}

} // namespace ModelImport
