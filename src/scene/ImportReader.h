#pragma once
// The importer's readers: VRML97 files through the scene library's Coin
// reader (Scene::read), every other format through Assimp.

#include "core/library/ModelImport.h"

#include <QString>
#include <QStringList>

// A VRML97 file as a model: the triangles Coin makes of every shape (boxes,
// spheres, extrusions and text included), placed by their transforms, with
// each shape's material and texture. Lights, viewpoints, sounds and
// animation are noted and left out.
ModelData readVrmlModel(const QString &path, size_t maxTriangles);

// The reader for a model file's type.
ModelImport::Reader readerFor(const QString &path);

// The model file read with the reader for its type (see ModelImport::loadModel).
ModelImport::LoadedModel loadModelFile(const QString &path);

// What loadModelFile reads, as file patterns: "*.glb", "*.obj", "*.wrl"...
QStringList importPatterns();
