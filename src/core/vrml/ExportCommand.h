#pragma once
// The export command: names the output file, builds the world and writes it
// into ToGo. The editor's menu command and lotwright-cli both call
// exportWorld, so both produce the same files.

#include "core/files/ProgramFolders.h"
#include "core/model/World.h"
#include "core/library/ObjectLibrary.h"

#include <QString>
#include <QStringList>
#include <vector>

struct [[nodiscard]] WorldExport {
    QString outputPath; // ToGo/<name>.wrl, also set when the export failed
    QString error;      // empty on success; names the file and the reason
    QStringList warnings;
    QStringList missingObjects; // object items the library lacks: one name per item
    bool ok() const { return error.isEmpty(); }
};

// The output file's name: the current world file's name with its last three
// characters replaced by "wrl", or "world.wrl" when there is no such file.
QString outputFileName(const QString &currentFile);

// toGoFolder/<outputFileName(currentFile)>
QString outputPath(const QString &toGoFolder, const QString &currentFile);

enum class ExportPage { WorldOnly, WithWebPage };

// Runs the export and writes the world text as UTF-8, exactly as built, and
// with WithWebPage the page that plays it (see WebPage::write). ToGo is
// replaced only once all of it is written: a failure leaves the last export.
// currentFile: the world file (empty for a world never saved); relative
// picture and music paths are taken from its folder. The library, textures
// and web player come from folders.program, and the export goes to folders.toGo.
WorldExport exportWorld(const World &world, std::vector<ShapeInfo> &shapes,
                        const ProgramFolders &folders, const QString &currentFile,
                        ExportPage page = ExportPage::WorldOnly);

// The warning about object items that were left out because the library has
// no object of their name: each name once, in the order of first use, with
// its number of items; at most ten names, then "and N more". Empty when
// nothing was left out. The editor shows it, lotwright-cli prints it.
QString missingObjectsWarning(const QStringList &missingObjects);
