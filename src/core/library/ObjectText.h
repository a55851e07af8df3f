#pragma once
// The VRML97 text of an imported object: the header line, a comment naming
// the model it came from, and one Transform holding a Shape for each mesh
// (Appearance with Material and ImageTexture, IndexedFaceSet with the
// normals, texture coordinates and colours the mesh has). CR LF line ends,
// as the shipped objects have. No DEF names: nothing in it can take a name
// the export gives.

#include "core/library/ModelData.h"

#include <QString>
#include <QStringList>

// textureNames: the file name each of the model's textures is written as
// (empty: the texture is left out).
QString objectText(const std::vector<ModelMesh> &meshes, const QStringList &textureNames,
                   const QString &sourceName);
