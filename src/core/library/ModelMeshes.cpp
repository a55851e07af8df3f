#include "core/library/ModelMeshes.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace ModelMeshes {

namespace {

bool allFinite(const std::vector<float> &values)
{
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

// Keeps an attribute only when it has one entry of `per` values for each vertex.
void keepIfWhole(std::vector<float> &values, size_t vertices, size_t per)
{
    if (values.size() != vertices * per || !allFinite(values))
        values.clear();
}

// Renumbers a mesh's vertices as remap says (~0u: the vertex goes).
void applyRemap(ModelMesh &mesh, const std::vector<unsigned> &remap, size_t kept)
{
    const size_t count = mesh.vertexCount();
    const auto remapStream = [&](std::vector<float> &values, size_t per) {
        if (values.empty())
            return;
        std::vector<float> out(kept * per);
        meshopt_remapVertexBuffer(out.data(), values.data(), count, per * sizeof(float),
                                  remap.data());
        values = std::move(out);
    };
    remapStream(mesh.positions, 3);
    remapStream(mesh.normals, 3);
    remapStream(mesh.texCoords, 2);
    remapStream(mesh.colors, 3);
    meshopt_remapIndexBuffer(mesh.indices.data(), mesh.indices.data(), mesh.indices.size(),
                             remap.data());
}

// Equal vertices (in every attribute) become one.
void weld(ModelMesh &mesh)
{
    std::vector<meshopt_Stream> streams{{mesh.positions.data(), 12, 12}};
    if (!mesh.normals.empty())
        streams.push_back({mesh.normals.data(), 12, 12});
    if (!mesh.texCoords.empty())
        streams.push_back({mesh.texCoords.data(), 8, 8});
    if (!mesh.colors.empty())
        streams.push_back({mesh.colors.data(), 12, 12});
    std::vector<unsigned> remap(mesh.vertexCount());
    const size_t kept =
        meshopt_generateVertexRemapMulti(remap.data(), mesh.indices.data(), mesh.indices.size(),
                                         mesh.vertexCount(), streams.data(), streams.size());
    applyRemap(mesh, remap, kept);
}

// Drops the vertices no triangle uses any more.
void compact(ModelMesh &mesh)
{
    std::vector<unsigned> remap(mesh.vertexCount());
    const size_t kept = meshopt_optimizeVertexFetchRemap(remap.data(), mesh.indices.data(),
                                                         mesh.indices.size(), mesh.vertexCount());
    applyRemap(mesh, remap, kept);
}

size_t triangles(const std::vector<ModelMesh> &meshes)
{
    size_t n = 0;
    for (const ModelMesh &mesh : meshes)
        n += mesh.triangleCount();
    return n;
}

void appendMesh(ModelMesh &into, const ModelMesh &mesh)
{
    const auto offset = uint32_t(into.vertexCount());
    for (const auto &[to, from] : {std::pair{&into.positions, &mesh.positions},
                                   {&into.normals, &mesh.normals},
                                   {&into.texCoords, &mesh.texCoords},
                                   {&into.colors, &mesh.colors}})
        to->insert(to->end(), from->begin(), from->end());
    for (const uint32_t index : mesh.indices)
        into.indices.push_back(index + offset);
}

} // namespace

void sanitize(ModelData &model)
{
    for (ModelMesh &mesh : model.meshes) {
        mesh.positions.resize(mesh.positions.size() / 3 * 3);
        const size_t vertices = mesh.vertexCount();
        keepIfWhole(mesh.normals, vertices, 3);
        // Files that store no normals often say "0 0 0": the browser's own serve better.
        for (size_t i = 0; i < mesh.normals.size(); i += 3) {
            const float length =
                std::hypot(mesh.normals[i], mesh.normals[i + 1], mesh.normals[i + 2]);
            if (!(length > 0.5f)) {
                mesh.normals.clear();
                break;
            }
            for (size_t k = i; k < i + 3; ++k)
                mesh.normals[k] /= length;
        }
        keepIfWhole(mesh.texCoords, vertices, 2);
        keepIfWhole(mesh.colors, vertices, 3);
        for (float &c : mesh.colors)
            c = std::clamp(c, 0.0f, 1.0f);
        for (float &c : mesh.diffuse)
            c = std::isfinite(c) ? std::clamp(c, 0.0f, 1.0f) : 0.8f;
        mesh.transparency =
            std::isfinite(mesh.transparency) ? std::clamp(mesh.transparency, 0.0f, 1.0f) : 0.0f;
        if (mesh.texture < 0 || size_t(mesh.texture) >= model.textures.size())
            mesh.texture = -1;
        const auto usable = [&](uint32_t v) {
            return v < vertices && std::isfinite(mesh.positions[3 * v]) &&
                   std::isfinite(mesh.positions[3 * v + 1]) &&
                   std::isfinite(mesh.positions[3 * v + 2]);
        };
        std::vector<uint32_t> kept;
        kept.reserve(mesh.indices.size());
        for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3)
            if (usable(mesh.indices[i]) && usable(mesh.indices[i + 1]) &&
                usable(mesh.indices[i + 2]))
                kept.insert(kept.end(), mesh.indices.begin() + qsizetype(i),
                            mesh.indices.begin() + qsizetype(i) + 3);
        mesh.indices = std::move(kept);
    }
    model.meshes.erase(std::remove_if(model.meshes.begin(), model.meshes.end(),
                                      [](const ModelMesh &m) { return m.indices.empty(); }),
                       model.meshes.end());
}

void mergeByMaterial(ModelData &model)
{
    using Key = std::tuple<int, float, float, float, float, bool, bool, bool>;
    std::map<Key, size_t> byMaterial;
    std::vector<ModelMesh> merged;
    for (ModelMesh &mesh : model.meshes) {
        const Key key{mesh.texture,           mesh.diffuse[0],    mesh.diffuse[1],
                      mesh.diffuse[2],        mesh.transparency,  mesh.normals.empty(),
                      mesh.texCoords.empty(), mesh.colors.empty()};
        const auto [at, added] = byMaterial.try_emplace(key, merged.size());
        if (added)
            merged.push_back(std::move(mesh));
        else
            appendMesh(merged[at->second], mesh);
    }
    for (ModelMesh &mesh : merged)
        weld(mesh);
    model.meshes = std::move(merged);
}

size_t simplify(std::vector<ModelMesh> &meshes, size_t target)
{
    // Each pass may change the shape more than the last: first within 2 %
    // of the model's size, then as much as it takes, then by merging
    // vertices on a grid, which reduces anything but keeps no topology.
    const struct {
        bool sloppy;
        float error;
    } passes[] = {{false, 0.02f}, {false, 1.0f}, {true, 1.0f}};
    for (const auto &pass : passes) {
        const size_t total = triangles(meshes);
        if (total <= target)
            break;
        const double share = double(target) / double(total);
        for (ModelMesh &mesh : meshes) {
            const size_t goal = size_t(double(mesh.triangleCount()) * share) * 3;
            if (goal >= mesh.indices.size())
                continue;
            std::vector<unsigned> out(mesh.indices.size());
            const size_t count =
                pass.sloppy
                    ? meshopt_simplifySloppy(out.data(), mesh.indices.data(), mesh.indices.size(),
                                             mesh.positions.data(), mesh.vertexCount(), 12, goal,
                                             pass.error, nullptr)
                    : meshopt_simplify(out.data(), mesh.indices.data(), mesh.indices.size(),
                                       mesh.positions.data(), mesh.vertexCount(), 12, goal,
                                       pass.error, 0, nullptr);
            out.resize(count);
            mesh.indices = std::move(out);
        }
    }
    for (ModelMesh &mesh : meshes)
        compact(mesh);
    meshes.erase(std::remove_if(meshes.begin(), meshes.end(),
                                [](const ModelMesh &m) { return m.indices.empty(); }),
                 meshes.end());
    return triangles(meshes);
}

} // namespace ModelMeshes
