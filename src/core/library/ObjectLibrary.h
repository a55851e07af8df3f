#pragma once
// The object library: Objects/objects.txt loaded into Shapes.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct ShapeInfo {
    QString Name;     // FileName less its last four characters
    QString FileName; // file in the Objects folder holding the VRML text
    double Width = 0; // footprint along x (diameter for a circle)
    double Depth = 0; // footprint along y
    int32_t MapColor = 0;
    QString MapShape; // "C" circle, "R" rectangle, anything else: nothing
    bool Defined = false; // export work flag
    // The DEF names inside the object file, as the library check found them;
    // the export's own names keep clear of them.
    QStringList DefinedNames{};
    // The folder holding FileName: empty for the Objects folder of the
    // program folder (the shipped library), else the user's library.
    QString Folder{};
    // The files the object file names (its textures), as the library check
    // found them: the export copies them into ToGo.
    QStringList NamedFiles{};
};

// The folder holding an entry's object file.
QString objectFolder(const QString &programFolder, const ShapeInfo &shape);

struct LibraryLoad {
    std::vector<ShapeInfo> Shapes; // empty when there is no library file
    QStringList warnings;          // "objects.txt line N: reason", one per skipped line
};

// Creates Textures and Objects in the program folder when missing and loads
// Objects/objects.txt. Lines that cannot be made into an entry are skipped and
// reported. Row i of the palette list shows Shapes[i].
LibraryLoad Init_Shapes(const QString &programFolder);

// Reads one objects.txt text (already decoded) into entries and warnings.
LibraryLoad parseLibrary(const QString &text);
