#include "cli/Commands.h"

#include "core/files/FileServices.h"
#include "core/files/ProgramFolders.h"
#include "core/model/WorldFile.h"
#include "core/vrml/ExportCommand.h"
#include "core/vrml/WebPage.h"
#include "scene/ObjectCheck.h"

#include <QDir>
#include <QFileInfo>

namespace Cli
{

// Exports as the editor's menu command does, with the world file as the
// current file: the world lands in ToGo (see ProgramFolders.h), and the files
// written are printed, so that the user learns where that is. With --web the
// page that plays it in a browser is written beside it.
int exportVrml(const QStringList &arguments, Io io)
{
    const bool web = arguments.size() == 2;
    if (web && arguments.at(0) != QLatin1String("--web")) {
        printError(io.err, QStringLiteral("unknown option \"%1\"; usage: lotwright-cli export "
                                          "[--web] WORLD.lwf")
                               .arg(arguments.at(0)));
        return Usage;
    }
    const QString path = QFileInfo(arguments.constLast()).absoluteFilePath();
    const WorldRead read = WorldFile::load(path);
    if (!read.ok()) {
        printError(io.err, read.error);
        return Failure;
    }
    const ProgramFolders folders = programFolders();
    LibraryLoad library = loadLibrary(folders.program, folders.userObjects);
    printWarnings(io.err, library.warnings);

    const WorldExport result = exportWorld(read.world, library.Shapes, folders, path,
                                           web ? ExportPage::WithWebPage : ExportPage::WorldOnly);
    printWarnings(io.err, result.warnings);
    if (!result.ok()) {
        printError(io.err, QStringLiteral("export failed: ") + result.error);
        return Failure;
    }
    if (const QString missing = missingObjectsWarning(result.missingObjects); !missing.isEmpty())
        printWarnings(io.err, {missing});
    io.out << QDir::toNativeSeparators(result.outputPath) << '\n';
    if (web)
        io.out << QDir::toNativeSeparators(
                      Files::pathIn(QFileInfo(result.outputPath).absolutePath(), WebPage::FileName))
               << '\n';
    return Success;
}

} // namespace Cli
