#include "cli/Commands.h"

#include "core/files/ProgramFolders.h"
#include "core/model/WorldFile.h"
#include "scene/ObjectCheck.h"

#include <algorithm>

namespace Cli {

namespace {

template <class T> int usedCount(const std::vector<T> &items)
{
    return int(std::count_if(items.begin(), items.end(), [](const T &t) { return isUsed(t); }));
}

QString counted(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

int check(const QStringList &arguments, Io io)
{
    const QString &path = arguments.at(0);
    const WorldRead read = WorldFile::load(path);
    if (!read.ok()) {
        printError(io.err, read.error);
        return Failure;
    }
    const ProgramFolders folders = programFolders();
    printWarnings(io.err, loadLibrary(folders.program, folders.userObjects).warnings);
    const World &w = read.world;
    io.out << path << ": " << counted(usedCount(w.Objects), "object", "objects") << ", "
           << counted(usedCount(w.Pictures), "picture", "pictures") << ", "
           << counted(usedCount(w.Texts), "text", "texts") << ", "
           << counted(usedCount(w.Cubes), "wall or surface", "walls and surfaces") << '\n';
    return Success;
}

} // namespace Cli
