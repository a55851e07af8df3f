#pragma once
// The export command: names the output file, builds the world and writes it
// into ToGo. The editor's menu command and lotwright-cli both call
// exportWorld, so both produce the same files.

#include "model/World.h"
#include "palette/ObjectLibrary.h"

#include <QString>
#include <QStringList>
#include <vector>

struct [[nodiscard]] WorldExport {
    QString outputPath; // ToGo/<name>.wrl, also set when the export failed
    QString error;      // empty on success; names the file and the reason
    QStringList warnings;
    bool ok() const { return error.isEmpty(); }
};

// The output file's name: the current world file's name with its last three
// characters replaced by "wrl", or "world.wrl" when there is no such file.
QString outputFileName(const QString &currentFile);

// programFolder/ToGo/<outputFileName(currentFile)>
QString outputPath(const QString &programFolder, const QString &currentFile);

// Runs the export and writes the world text as UTF-8, exactly as built.
// currentFile: the world file (empty for a world never saved); relative
// picture and music paths are taken from its folder.
WorldExport exportWorld(const World &world, std::vector<ShapeInfo> &shapes,
                        const QString &programFolder, const QString &currentFile);
