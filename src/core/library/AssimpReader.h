#pragma once
// Model files read with Assimp: glTF 2.0, OBJ with MTL, COLLADA, 3DS, FBX,
// PLY, STL and the other formats it knows. Runs in the importer's child
// process (ModelImport.h), as Assimp's readers are not made for hostile files.

#include "core/library/ModelData.h"

#include <QString>
#include <QStringList>

// Every node's meshes with the node's transformation applied, one mesh per
// Assimp mesh and node. Points and lines are counted and left out;
// animations, skins, cameras and lights are noted and left out. Stops with
// an error past maxTriangles.
ModelData readWithAssimp(const QString &path, size_t maxTriangles);

// The patterns of the files Assimp reads, for a file dialog: "*.obj *.glb ...".
QStringList assimpPatterns();
