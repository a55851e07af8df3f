#include "core/library/ModelImport.h"

#include "core/files/ChildProcess.h"
#include "core/files/FileServices.h"
#include "core/library/ModelMeshes.h"
#include "core/library/ModelTextures.h"
#include "core/library/ObjectText.h"
#include "core/model/NumberText.h"
#include "core/model/StoredColor.h"
#include "core/model/Units.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QVector3D>

#include <algorithm>
#include <cmath>

namespace ModelImport {

namespace {

constexpr double WorldUnits = 100;

QString feet(double units)
{
    return NumberText::userDouble(NumberText::roundDecimals(units * Units::FeetPerUnit, 1));
}

// Y up, then the quarter turns about it (counter-clockwise seen from above).
void orient(std::vector<float> &vectors, bool zUp, int turns)
{
    for (size_t i = 0; i + 2 < vectors.size(); i += 3) {
        float *v = &vectors[i];
        if (zUp) {
            const float y = v[1];
            v[1] = v[2];
            v[2] = -y;
        }
        for (int t = 0; t < turns; ++t) {
            const float x = v[0];
            v[0] = v[2];
            v[2] = -x;
        }
    }
}

// The colour the object shows most, weighted by the area that shows it: a
// texture's average where one covers the mesh (VRML lets it replace the
// material's colour), the vertex colours, or the material's.
int32_t averageColor(const std::vector<ModelMesh> &meshes, const LoadedModel &loaded)
{
    double sum[3] = {0, 0, 0}, total = 0;
    for (const ModelMesh &mesh : meshes) {
        const bool textured =
            mesh.texture >= 0 && !loaded.textures[size_t(mesh.texture)].name.isEmpty();
        const QColor texture =
            textured ? QColor(loaded.textureColors[size_t(mesh.texture)]) : QColor();
        const float *p = mesh.positions.data();
        for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
            const uint32_t *corner = &mesh.indices[i];
            const float *a = p + 3 * corner[0], *b = p + 3 * corner[1], *c = p + 3 * corner[2];
            const QVector3D u(b[0] - a[0], b[1] - a[1], b[2] - a[2]),
                v(c[0] - a[0], c[1] - a[1], c[2] - a[2]);
            const double area = 0.5 * double(QVector3D::crossProduct(u, v).length());
            double colour[3] = {mesh.diffuse[0], mesh.diffuse[1], mesh.diffuse[2]};
            if (textured) {
                colour[0] = texture.redF();
                colour[1] = texture.greenF();
                colour[2] = texture.blueF();
            } else if (!mesh.colors.empty()) {
                for (int k = 0; k < 3; ++k)
                    colour[k] = (mesh.colors[3 * corner[0] + k] + mesh.colors[3 * corner[1] + k] +
                                 mesh.colors[3 * corner[2] + k]) /
                                3.0;
            }
            for (int k = 0; k < 3; ++k)
                sum[k] += area * colour[k];
            total += area;
        }
    }
    if (!(total > 0))
        return StoredColor::fromRgb(204, 204, 204);
    const auto component = [&](int k) { return int(std::lround(255 * sum[k] / total)); };
    return StoredColor::fromRgb(component(0), component(1), component(2));
}

} // namespace

QString refusal(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot import %1: %2.")
        .arg(quoted(QDir::toNativeSeparators(path)), reason);
}

ModelData readFile(const QString &path, const Reader &reader)
{
    ModelData model;
    const QFileInfo file(path);
    if (!file.exists())
        model.error = QStringLiteral("the file is not found");
    else if (!file.isFile())
        model.error = QStringLiteral("it is not an ordinary file");
    else if (file.size() > MaxModelBytes)
        model.error = QStringLiteral("it is larger than %1 MB").arg(MaxModelBytes / (1024 * 1024));
    else
        model = reader(file.absoluteFilePath(), MaxTrianglesRead);
    return model;
}

LoadedModel loadedFrom(const QString &path, const ChildResult &child)
{
    LoadedModel loaded;
    const auto refuse = [&](const QString &reason) {
        loaded.error = refusal(path, reason);
        return loaded;
    };
    ModelData model;
    if (!child.ok())
        return refuse(child.error);
    if (!unstreamed(child.bytes, model))
        return refuse(QStringLiteral("its reader gave incomplete data"));
    if (!model.error.isEmpty())
        return refuse(model.error);

    ModelMeshes::sanitize(model);
    if (model.meshes.empty())
        return refuse(model.withoutFaces > 0
                          ? QStringLiteral("it has no faces, only points or lines")
                          : QStringLiteral("it is empty: it has no faces to show"));
    if (model.withoutFaces > 0)
        model.notes << QStringLiteral("%1 of its parts are points or lines, which are left out: "
                                      "only faces are imported.")
                           .arg(model.withoutFaces);

    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    for (const ModelTexture &texture : model.textures) {
        ModelTextures::Prepared prepared = ModelTextures::prepare(texture, folder);
        if (!prepared.problem.isEmpty())
            model.notes << QStringLiteral("The texture %1 is left out: %2.")
                               .arg(texture.path.isEmpty()
                                        ? QStringLiteral("held in the file")
                                        : quoted(QDir::toNativeSeparators(texture.path)),
                                    prepared.problem);
        loaded.textures.push_back(std::move(prepared.file));
        loaded.textureColors.push_back(prepared.averageColor);
    }

    ModelMeshes::mergeByMaterial(model);
    loaded.trianglesRead = model.triangleCount();
    if (loaded.trianglesRead > MaxTriangles) {
        const size_t left = ModelMeshes::simplify(model.meshes, MaxTriangles);
        if (left > MaxTriangles)
            return refuse(QStringLiteral("it has %L1 triangles, and simplified still %L2, more "
                                         "than the %L3 a walk through a world stays fluid with")
                              .arg(loaded.trianglesRead)
                              .arg(left)
                              .arg(MaxTriangles));
        model.notes << QStringLiteral("It had %L1 triangles and was simplified to %L2, so that "
                                      "walking through the world stays fluid.")
                           .arg(loaded.trianglesRead)
                           .arg(left);
    }
    loaded.model = std::move(model);
    return loaded;
}

LoadedModel loadModel(const QString &path, const Reader &reader)
{
    return loadedFrom(path,
                      runInChild([&] { return streamed(readFile(path, reader)); }, SecondsAllowed));
}

Converted convertModel(const LoadedModel &loaded, const Options &options, const QString &sourceName)
{
    Converted converted;
    if (!loaded.ok()) {
        converted.error = loaded.error;
        return converted;
    }
    const auto refuse = [&](const QString &reason) {
        converted.error = refusal(sourceName, reason);
        return converted;
    };
    std::vector<ModelMesh> meshes = loaded.model.meshes;
    const bool zUp = !loaded.model.upFromFile && options.up == UpAxis::Z;
    const int turns = ((options.quarterTurns % 4) + 4) % 4;
    float low[3] = {HUGE_VALF, HUGE_VALF, HUGE_VALF},
          high[3] = {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
    for (ModelMesh &mesh : meshes) {
        orient(mesh.positions, zUp, turns);
        orient(mesh.normals, zUp, turns);
        for (size_t i = 0; i < mesh.positions.size(); ++i) {
            low[i % 3] = std::min(low[i % 3], mesh.positions[i]);
            high[i % 3] = std::max(high[i % 3], mesh.positions[i]);
        }
    }
    const double across = std::max(double(high[0]) - low[0], double(high[2]) - low[2]);
    if (!(across > 0) || !std::isfinite(across))
        return refuse(QStringLiteral("it has no extent across the ground"));
    if (options.size && !(*options.size > 0))
        return refuse(QStringLiteral("its size must be more than 0 feet"));
    const double scale = options.size ? *options.size / across : UnitsPerMetre;
    if (!(scale > 0) || !std::isfinite(scale) || !(across * scale <= WorldUnits))
        return refuse(QStringLiteral("at %1 feet across it would be wider than the world; give "
                                     "it a size of at most %2 feet")
                          .arg(feet(across * scale), feet(WorldUnits)));
    const double centre[3] = {(double(low[0]) + high[0]) / 2, double(low[1]),
                              (double(low[2]) + high[2]) / 2};
    for (ModelMesh &mesh : meshes)
        for (size_t i = 0; i < mesh.positions.size(); ++i)
            mesh.positions[i] = float((mesh.positions[i] - centre[i % 3]) * scale);

    converted.width = (double(high[0]) - low[0]) * scale;
    converted.depth = (double(high[2]) - low[2]) * scale;
    // A tree or a fountain stays inside the ellipse of its footprint, a box
    // reaches its corners (there, (x/a)^2 + (z/b)^2 is 2).
    double reach = 0;
    for (const ModelMesh &mesh : meshes)
        for (size_t i = 0; i + 2 < mesh.positions.size(); i += 3)
            reach = std::max(
                reach,
                std::pow(2 * mesh.positions[i] / std::max(converted.width, 1e-9), 2) +
                    std::pow(2 * mesh.positions[i + 2] / std::max(converted.depth, 1e-9), 2));
    converted.round = reach < 1.2;
    converted.mapColor = averageColor(meshes, loaded);
    converted.triangles = 0;
    QStringList names;
    QSet<QString> named;
    for (const TextureFile &texture : loaded.textures)
        names << texture.name;
    for (const ModelMesh &mesh : meshes) {
        converted.triangles += mesh.triangleCount();
        const TextureFile *texture =
            mesh.texture >= 0 ? &loaded.textures[size_t(mesh.texture)] : nullptr;
        if (texture && !texture->name.isEmpty() && !named.contains(texture->name)) {
            named.insert(texture->name);
            converted.textures.push_back(*texture);
        }
    }
    converted.vrml = objectText(meshes, names, sourceName);
    converted.notes = loaded.model.notes;
    return converted;
}

} // namespace ModelImport
