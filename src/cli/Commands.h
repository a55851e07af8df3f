#pragma once
// The commands of lotwright-cli. Each command lives in a file of its own and
// has one row in the table of main.cpp; it gets the arguments that follow its
// name (their number already checked against the row) and returns the exit code.

#include <QStringList>
#include <QTextStream>

namespace Cli {

enum ExitCode : int { Success = 0, Failure = 1, Usage = 2 };

struct Io {
    QTextStream &out;
    QTextStream &err;
};

struct Command {
    const char *name;
    const char *arguments; // as shown in the usage line, e.g. "WORLD.lwf"
    int minArguments;
    int maxArguments;
    const char *summary;
    int (*run)(const QStringList &arguments, Io io);
    bool draws = false; // it needs a display and OpenGL
};

// "lotwright-cli: message" on the error stream.
void printError(QTextStream &err, const QString &message);
// "lotwright-cli: warning: message" for each.
void printWarnings(QTextStream &err, const QStringList &warnings);

int check(const QStringList &arguments, Io io);  // CheckCommand.cpp
int resave(const QStringList &arguments, Io io); // ResaveCommand.cpp
int exportVrml(const QStringList &arguments, Io io); // ExportWorldCommand.cpp
int serve(const QStringList &arguments, Io io);      // ServeCommand.cpp
int importModel(const QStringList &arguments, Io io); // ImportCommand.cpp
int drawIcons(const QStringList &arguments, Io io);   // IconsCommand.cpp

} // namespace Cli
