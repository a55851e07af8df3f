#include "core/files/ProgramFolders.h"

#include "core/files/FileServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString ToGo = QStringLiteral("ToGo");

// Whether the program may write into a folder. A folder that grants no one
// write permission is left alone even by root, whom access() lets write
// anywhere; access() itself catches read-only mounts and ACLs. Nothing is
// written to find out. A folder not there yet is made when needed, as before.
bool mayWrite(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return true;
    return S_ISDIR(status.st_mode) && (status.st_mode & 0222) != 0 &&
           ::access(path.constData(), W_OK) == 0;
}

} // namespace

ProgramFolders::ProgramFolders(const QString &programFolder)
    : program(programFolder), toGo(Files::pathIn(programFolder, ToGo)), writable(true)
{
}

bool ProgramFolders::forbids(const QString &path) const
{
    // Compared as the file system resolves them: a link cannot lead around it.
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    const QString inside = QFileInfo(program).canonicalFilePath();
    return !writable && !inside.isEmpty() && !folder.isEmpty() &&
           (folder == inside || folder.startsWith(inside + QLatin1Char('/')));
}

ProgramFolders locateProgramFolders(const QString &executableFolder, const QString &home,
                                    const QString &documents)
{
    const QString userToGo =
        Files::pathIn(Files::pathIn(documents, QStringLiteral("Lotwright")), ToGo);
    QString program = home;
    if (program.isEmpty()) {
        const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../share/lotwright"));
        if (!Files::folderExists(Files::pathIn(executableFolder, QStringLiteral("Objects"))) &&
            Files::folderExists(installed))
            return {installed, userToGo};
        program = executableFolder;
    }
    if (!mayWrite(program))
        return {program, userToGo};
    return ProgramFolders(program);
}

ProgramFolders programFolders()
{
    ProgramFolders folders = locateProgramFolders(
        QCoreApplication::applicationDirPath(), qEnvironmentVariable("LOTWRIGHT_HOME"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    folders.userObjects = Files::pathIn(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QStringLiteral("Objects"));
    folders.iconCache = Files::pathIn(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation), QStringLiteral("icons"));
    folders.iconDrawer =
        Files::pathIn(QCoreApplication::applicationDirPath(), QStringLiteral("lotwright-cli"));
    return folders;
}

QString programFoldersHelp()
{
    return QStringLiteral(
        "The program folder holds the object library (Objects), the textures (Textures),\n"
        "the web player, the help pages and the samples. It is the folder named by the\n"
        "environment variable LOTWRIGHT_HOME when that is set; else the folder of this\n"
        "program while it holds Objects; else ../share/lotwright beside this program,\n"
        "where an installed program keeps them.\n"
        "Exports go to the folder ToGo in the program folder when that can be written.\n"
        "An installed program, or one whose folder you cannot write, writes nothing\n"
        "there: ToGo is then Lotwright/ToGo in your documents folder (usually\n"
        "~/Documents/Lotwright/ToGo), created when needed. Settings, copies of\n"
        "unsaved work and the objects you import always go to your own folders\n"
        "(~/.config/Lotwright2, ~/.local/share/Lotwright/recovery and\n"
        "~/.local/share/Lotwright/Objects).\n");
}
