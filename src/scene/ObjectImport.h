#pragma once
// The last step of an import, the same for the editor and lotwright-cli: the
// converted object checked as the library check checks every object file
// (so that it can be pasted into any world), then written into the user's
// library.

#include "core/library/ModelImport.h"
#include "core/library/UserLibrary.h"

#include <QString>

#include <vector>

// Refuses a name the library has (UserLibrary::nameProblem) or an object
// Coin cannot read as the export pastes it; else adds it to the library in
// userFolder. The entry returned has its DefinedNames and NamedFiles.
UserLibrary::Added importObject(const QString &userFolder, const QString &name,
                                const ModelImport::Converted &object, const QString &mapShape,
                                int32_t mapColor, const std::vector<ShapeInfo> &library);
