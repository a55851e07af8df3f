#pragma once
// The user's own object library: the objects imported into Objects in the
// per-user data folder, with its own objects.txt in the shipped form and the
// textures beside it. The program's library is the shipped one followed by
// the user's; the shipped library is never changed. Names are unique across
// both, whatever their letter case.

#include "core/files/FileServices.h"
#include "core/library/ModelImport.h"
#include "core/library/ObjectLibrary.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace UserLibrary {

// The entries of folder/objects.txt, each with its Folder set; none (and no
// warning) when the folder or the file is not there yet.
LibraryLoad load(const QString &folder);

// The user's entries after the program's; one whose name an earlier entry
// has is left out with a warning, as are the user's own warnings.
void append(LibraryLoad &program, LibraryLoad user);

// Why a name cannot be a new object's (empty when it can): it must be
// something, fit a file name and a world file, and be no entry's name.
QString nameProblem(const QString &name, const std::vector<ShapeInfo> &library);

struct Added {
    ShapeInfo entry; // as the library holds it, NamedFiles set
    QString error;   // empty on success; names the file and the reason
    bool ok() const { return error.isEmpty(); }
};

// Writes the object's textures, its object file and its line into folder
// (made when missing); the line is written last, so that a failure leaves
// no entry behind. The name must have passed nameProblem.
Added add(const QString &folder, const QString &name, const ModelImport::Converted &object,
          const QString &mapShape, int32_t mapColor);

// Takes a user entry out of its objects.txt, then deletes its object file
// and the textures that no other entry of library names.
Status remove(const ShapeInfo &entry, const std::vector<ShapeInfo> &library);

} // namespace UserLibrary
