#pragma once
// The VRML world writer: prepares the output folder ToGo and builds the text
// of the world file.

#include "core/files/FileServices.h"
#include "core/files/ProgramFolders.h"
#include "core/library/ObjectLibrary.h"
#include "core/model/World.h"
#include "core/vrml/ExportFolder.h"
#include "core/vrml/VrmlItems.h"

#include <QString>
#include <QStringList>
#include <vector>

struct [[nodiscard]] VrmlExport {
    QString text;         // the world text, CR LF line ends; empty on failure
    QString error;        // empty on success; names the file and the reason
    QStringList warnings; // files left out (missing, or no picture or music), items left out
    QStringList missingObjects; // object items the library lacks: one name per item
    bool ok() const { return error.isEmpty(); }
};

// A picture or music path as stored in the world: absolute paths stay as they
// are, relative ones are taken from the world file's folder (when there is one).
QString resolveWorldPath(const QString &path, const QString &worldFolder);

// Starts the new export in folder, copies the textures, the picture files and
// the music file into it and returns the world text; the caller adds what
// else the export holds and finishes the folder, which then replaces ToGo
// (world files and subfolders stay). Files take their own
// names in that order; a later, different file whose name is taken gets the
// first free name of the form "sign-2.gif". The Defined flags of the shapes
// are cleared, then set for every entry whose definition was written. A disk
// failure abandons the export and leaves ToGo as it was; a music or picture
// file that is missing, or whose content is no music or picture, is left out
// with a warning, as is an item whose numbers VRML cannot hold. worldFolder:
// the folder of the world file, or empty.
VrmlExport ExportVRML(const World &world, std::vector<ShapeInfo> &shapes,
                      const QString &programFolder, const QString &worldFolder,
                      ExportFolder &folder);
// The same, with folders.toGo replaced at once.
VrmlExport ExportVRML(const World &world, std::vector<ShapeInfo> &shapes,
                      const ProgramFolders &folders, const QString &worldFolder);

// The world text alone: no folder work, only the object files are read.
// withMusic: whether the music file exists, so that the Sound node is written.
// missingObjects: receives the names of object items the library lacks.
// leftOut: receives the items (and the starting point, then written as a new
// world's) whose numbers VRML cannot hold, as "picture 2".
// names: where the picture and music files lie in ToGo (see ExportNames).
TextRead buildWorldText(const World &world, std::vector<ShapeInfo> &shapes,
                        const QString &programFolder, bool withMusic, QStringList &missingObjects,
                        QStringList &leftOut, const Vrml::ExportNames &names = {});
