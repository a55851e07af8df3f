#pragma once
// The last step of an import, the same for the editor and lotwright-cli: the
// converted object checked as the library check checks every object file
// (so that it can be pasted into any world), then written into the user's
// library.

#include "core/library/ModelImport.h"
#include "core/library/UserLibrary.h"
#include "scene/ObjectCheck.h"

#include <QString>

#include <vector>

// Whether Coin reads the object as the export pastes it; problem says why
// not in the user's words.
ObjectCheck checkConverted(const ModelImport::Converted &object);

// Refuses a name the library has (UserLibrary::nameProblem) or an object the
// check refused; else adds it to the library in userFolder. The entry
// returned has its DefinedNames and NamedFiles.
UserLibrary::Added addChecked(const QString &userFolder, const QString &name,
                              const ModelImport::Converted &object, const ObjectCheck &check,
                              const QString &mapShape, int32_t mapColor,
                              const std::vector<ShapeInfo> &library);

// Both, one after the other.
UserLibrary::Added importObject(const QString &userFolder, const QString &name,
                                const ModelImport::Converted &object, const QString &mapShape,
                                int32_t mapColor, const std::vector<ShapeInfo> &library);
