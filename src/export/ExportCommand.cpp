#include "export/ExportCommand.h"

#include "export/VrmlWriter.h"
#include "files/FileServices.h"

#include <QFileInfo>

QString outputFileName(const QString &currentFile)
{
    if (currentFile.isEmpty() || !Files::fileExists(currentFile))
        return QStringLiteral("world.wrl");
    QString name = Files::fileName(currentFile);
    name.chop(3);
    return name + QLatin1String("wrl");
}

QString outputPath(const QString &programFolder, const QString &currentFile)
{
    return Files::pathIn(Files::pathIn(programFolder, QStringLiteral("ToGo")),
                         outputFileName(currentFile));
}

WorldExport exportWorld(const World &world, std::vector<ShapeInfo> &shapes,
                        const QString &programFolder, const QString &currentFile)
{
    WorldExport result;
    result.outputPath = outputPath(programFolder, currentFile);
    const QString worldFolder =
        currentFile.isEmpty() ? QString() : QFileInfo(currentFile).absolutePath();
    VrmlExport exported = ExportVRML(world, shapes, programFolder, worldFolder);
    result.warnings = std::move(exported.warnings);
    if (!exported.ok()) {
        result.error = std::move(exported.error);
        return result;
    }
    if (Status written = Files::writeBytes(result.outputPath, exported.text.toUtf8()); !written)
        result.error = written.error;
    return result;
}
