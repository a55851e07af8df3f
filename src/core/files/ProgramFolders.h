#pragma once
// Where the program reads its shipped data and where it writes exports.
// The program folder holds Objects, Textures, the web player, the help pages
// and the samples; ToGo, the export's folder, lies inside it only while the
// program folder may be written. An installed program (or one in a folder
// the user cannot write) exports to Lotwright/ToGo in the user's documents
// folder instead and writes nothing inside its own folder. What else the
// program writes (settings, recovery snapshots) always goes to the per-user
// folders that Qt names.

#include <QString>

struct ProgramFolders {
    // A program folder that may be written: ToGo lies inside it. Implicit, so
    // that a plain folder serves wherever the program folder is asked for.
    ProgramFolders(const QString &programFolder = QString());
    // A program folder that is never written: ToGo lies elsewhere.
    ProgramFolders(const QString &programFolder, const QString &toGoFolder)
        : program(programFolder), toGo(toGoFolder), writable(false)
    {
    }

    // Whether path lies in a program folder that is never written (a shipped
    // sample, say), where not even root may save.
    bool forbids(const QString &path) const;

    QString program; // the shipped data
    QString toGo;    // where exports land
    bool writable;   // whether anything is written inside program
    // The user's own library (imported objects) and the drawn pictures of
    // the objects, in the per-user folders, and the program that draws
    // them (lotwright-cli beside this one); empty (none, nothing kept,
    // nothing drawn) unless programFolders() set them.
    QString userObjects{};
    QString iconCache{};
    QString iconDrawer{};
};

// The rule, with what it depends on passed in:
// - home (LOTWRIGHT_HOME) when it is not empty;
// - else the executable's folder while it holds Objects (a build folder);
// - else ../share/lotwright beside the executable (an installed program,
//   never written, whoever runs it);
// - else the executable's folder.
// When the program folder cannot be written, ToGo is documents/Lotwright/ToGo.
ProgramFolders locateProgramFolders(const QString &executableFolder, const QString &home,
                                    const QString &documents);

// The rule for this process: its executable's folder, LOTWRIGHT_HOME and the
// user's documents folder; the user's library is Objects in the per-user
// data folder (QStandardPaths::AppDataLocation), the pictures of the objects
// are kept in icons in the per-user cache folder and drawn by lotwright-cli
// in the executable's folder.
ProgramFolders programFolders();

// The rule in a user's words, for --help: where the shipped data is read and
// where exports, settings and unsaved work are written.
QString programFoldersHelp();
