#pragma once
// What the importer does to a model's meshes between reading and placing:
// checking what a reader gave, welding and merging, and simplifying with
// meshoptimizer.

#include "core/library/ModelData.h"

namespace ModelMeshes {

// Keeps only what can be drawn: triangles whose three vertices exist and
// have finite positions, attributes of the right length and finite values,
// colours held to 0..1, texture indices that exist.
void sanitize(ModelData &model);

// One mesh for each material (colour, transparency, texture and which
// attributes the vertices carry), and each mesh's equal vertices as one:
// fewer shapes to draw and fewer numbers to write.
void mergeByMaterial(ModelData &model);

// Reduces the meshes to at most target triangles in all, as far as
// meshoptimizer can; returns the number of triangles left.
size_t simplify(std::vector<ModelMesh> &meshes, size_t target);

} // namespace ModelMeshes
