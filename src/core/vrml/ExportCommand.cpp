#include "core/vrml/ExportCommand.h"

#include "core/vrml/VrmlWriter.h"
#include "core/vrml/WebPage.h"
#include "core/files/FileServices.h"

#include <QFileInfo>
#include <QHash>

QString outputFileName(const QString &currentFile)
{
    if (currentFile.isEmpty() || !Files::fileExists(currentFile))
        return QStringLiteral("world.wrl");
    QString name = Files::fileName(currentFile);
    name.chop(3);
    return name + QLatin1String("wrl");
}

QString outputPath(const QString &toGoFolder, const QString &currentFile)
{
    return Files::pathIn(toGoFolder, outputFileName(currentFile));
}

WorldExport exportWorld(const World &world, std::vector<ShapeInfo> &shapes,
                        const ProgramFolders &folders, const QString &currentFile, ExportPage page)
{
    WorldExport result;
    result.outputPath = outputPath(folders.toGo, currentFile);
    const QString worldFolder =
        currentFile.isEmpty() ? QString() : QFileInfo(currentFile).absolutePath();
    ExportFolder folder(folders.toGo);
    VrmlExport exported = ExportVRML(world, shapes, folders.program, worldFolder, folder);
    result.warnings = std::move(exported.warnings);
    result.missingObjects = std::move(exported.missingObjects);
    if (!exported.ok()) {
        result.error = std::move(exported.error);
        return result;
    }
    // Everything goes into the new folder first, so that ToGo holds either
    // the whole new export or the last one.
    const QString built = Files::pathIn(folder.path(), Files::fileName(result.outputPath));
    Status written = Files::writeBytes(built, exported.text.toUtf8());
    if (written && page == ExportPage::WithWebPage)
        written = WebPage::write(folders.program, built);
    if (written)
        written = folder.finish();
    if (!written)
        result.error = written.error;
    return result;
}

QString missingObjectsWarning(const QStringList &missingObjects)
{
    if (missingObjects.isEmpty())
        return QString();
    constexpr int MaxNamesListed = 10;
    QStringList names; // each once, in the order of first use
    QHash<QString, int> counts;
    for (const QString &name : missingObjects)
        if (counts[name]++ == 0)
            names << name;

    const int items = int(missingObjects.size());
    QString text = items == 1 ? QStringLiteral("1 object was left out of the exported world")
                              : QStringLiteral("%1 objects were left out of the exported world")
                                    .arg(items);
    text += names.size() == 1 ? QStringLiteral(": the object library has no object of this name.")
                              : QStringLiteral(": the object library has no object of these names.");
    for (int i = 0; i < int(names.size()) && i < MaxNamesListed; ++i) {
        const int count = counts.value(names[i]);
        text += QLatin1Char('\n') + names[i];
        if (count > 1)
            text += QStringLiteral(" (%1 times)").arg(count);
    }
    if (names.size() > MaxNamesListed)
        text += QStringLiteral("\nand %1 more").arg(names.size() - MaxNamesListed);
    return text;
}
