#pragma once
// A model's textures made into the files an object names: JPEG and PNG
// images kept as they are, any other image Qt reads converted, anything
// larger than ModelImport::MaxTextureSide scaled down. A texture file must
// lie in the model's folder or below it: a model naming /etc/passwd or
// ../../private.jpg gets nothing from outside.

#include "core/library/ModelData.h"
#include "core/library/ModelImport.h"

#include <QString>

namespace ModelTextures {

struct Prepared {
    ModelImport::TextureFile file; // name empty when the texture is left out
    uint32_t averageColor = 0;     // qRgb
    QString problem;               // why it is left out
};

// modelFolder: the folder of the model file, canonical.
Prepared prepare(const ModelTexture &texture, const QString &modelFolder);

} // namespace ModelTextures
