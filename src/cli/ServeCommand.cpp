#include "cli/Commands.h"

#include "web/StaticServer.h"
#include "core/files/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>

namespace Cli {

// Serves a folder to the browsers of this computer until the process is
// interrupted (Ctrl+C ends it; nothing needs saving).
int serve(const QStringList &arguments, Io io)
{
    const QString folder = arguments.isEmpty() ? programFolders().toGo : arguments.at(0);
    StaticServer server;
    if (!server.start(folder)) {
        printError(io.err, server.errorString());
        return Failure;
    }
    io.out << server.url().toString() << '\n';
    io.out.flush();
    printError(io.err, QStringLiteral("serving \"%1\"; press Ctrl+C to stop")
                           .arg(QDir::toNativeSeparators(server.folder())));
    io.err.flush();
    return QCoreApplication::exec() == 0 ? Success : Failure;
}

} // namespace Cli
