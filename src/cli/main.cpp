// lotwright-cli: world files from the command line, without a window.

#include "cli/Commands.h"

#include "core/files/ProgramFolders.h"

#include "scene/VrmlScene.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const Cli::Command commands[] = {
    {"check", "WORLD.lwf", 1, 1,
     "Read a world file and count its items of each kind; warn of what the object library "
     "leaves out.",
     Cli::check},
    {"resave", "IN.lwf OUT.lwf", 2, 2,
     "Read a world file and write it again as the editor saves it.", Cli::resave},
    {"export", "[--web] WORLD.lwf", 1, 2,
     "Export a world to VRML into ToGo (emptied first; see below); prints the files "
     "written. "
     "--web adds the page that plays it in a web browser.",
     Cli::exportVrml},
    {"serve", "[FOLDER]", 0, 1,
     "Serve a folder (default: ToGo) to this computer's web browsers; "
     "prints the address and runs until interrupted.",
     Cli::serve},
    {"import", "MODEL [--name NAME] [--size UNITS] [--up y|z]", 1, 7,
     "Import a 3-D model (glTF, OBJ, COLLADA, 3DS, FBX, PLY, STL, VRML97...) into your "
     "object library; prints its name. UNITS: the longer side of its footprint in map units "
     "(12 feet; default: the model's units are metres). --up z for a model whose file does "
     "not say and that has Z up.",
     Cli::importModel},
    {"icons", "CACHE TEXTURES OBJECT...", 3, 1 << 20,
     "Draw the 3D Objects list's pictures of object files into the folder CACHE, each "
     "named by its file's content (the editor runs this); prints the picture and the object "
     "file, separated by a tab, as each is done. TEXTURES: the folder of the shipped "
     "textures. Needs a display.",
     Cli::drawIcons, true},
};

const QString program = QStringLiteral("lotwright-cli");

QString usageLine(const Cli::Command &c)
{
    return QStringLiteral("usage: %1 %2 %3").arg(program, QLatin1String(c.name),
                                                 QLatin1String(c.arguments));
}

void printHelp(QTextStream &out)
{
    out << "usage: " << program << " COMMAND ARGUMENTS...\n\n"
        << "Commands:\n";
    for (const Cli::Command &c : commands) {
        const QString call = QStringLiteral("%1 %2").arg(QLatin1String(c.name),
                                                         QLatin1String(c.arguments));
        out << "  " << call.leftJustified(28) << ' ' << c.summary << '\n';
    }
    out << '\n' << programFoldersHelp()
        << "export empties ToGo first, then fills it with the world file and the textures,\n"
        << "pictures and music the world needs.\n"
        << "\nExit status: 0 success, 1 failure, 2 wrong usage.\n";
}

const Cli::Command *find(const QString &name)
{
    for (const Cli::Command &c : commands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

bool isHelp(const QString &a)
{
    return a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("help");
}

} // namespace

void Cli::printError(QTextStream &err, const QString &message)
{
    err << program << ": " << message << '\n';
}

void Cli::printWarnings(QTextStream &err, const QStringList &warnings)
{
    for (const QString &warning : warnings)
        printError(err, QStringLiteral("warning: ") + warning);
}

int main(int argc, char *argv[])
{
    // Drawing needs a display, and its OpenGL context a format set first.
    const Cli::Command *asked = argc > 1 ? find(QString::fromLocal8Bit(argv[1])) : nullptr;
    const bool draws = asked && asked->draws &&
                       std::none_of(argv + 2, argv + argc,
                                    [](const char *a) { return std::strcmp(a, "--help") == 0; });
    if (draws)
        setCoinSurfaceFormat();
    const std::unique_ptr<QCoreApplication> application =
        draws ? std::make_unique<QGuiApplication>(argc, argv)
              : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    // The editor's name: the same per-user folders (the user's library).
    app.setApplicationName(QStringLiteral("Lotwright"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const Cli::Io io{out, err};

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printHelp(err);
        return Cli::Usage;
    }
    const QString name = arguments.takeFirst();
    if (isHelp(name)) {
        printHelp(out);
        return Cli::Success;
    }
    const Cli::Command *command = find(name);
    if (!command) {
        Cli::printError(err, QStringLiteral("unknown command \"%1\"; see %2 --help").arg(name, program));
        return Cli::Usage;
    }
    if (arguments.contains(QLatin1String("--help"))) {
        out << usageLine(*command) << '\n' << command->summary << '\n';
        return Cli::Success;
    }
    if (arguments.size() < command->minArguments || arguments.size() > command->maxArguments) {
        err << usageLine(*command) << '\n';
        return Cli::Usage;
    }
    return command->run(arguments, io);
}
