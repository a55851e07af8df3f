#pragma once
// The object library as the programs load it: every object file is read by
// Coin as the export pastes it, so that no object can break the world, or
// crash the 3-D view, once it is pasted in.

#include "core/library/ObjectLibrary.h"

#include <QDataStream>
#include <QString>
#include <QStringList>

#include <vector>

// The program's library: Init_Shapes, then the user's library in userFolder
// (UserLibrary::append), then every entry's object file checked
// (checkObjectCodes). An entry whose object fails is left out (so an export
// reports its items as missing) and named in the warnings; the others get
// their DefinedNames and NamedFiles.
LibraryLoad loadLibrary(const QString &programFolder, const QString &userFolder = QString());

struct ObjectCheck {
    QString problem;          // empty when the object may be pasted; else why not
    QStringList definedNames; // the DEF names it uses
    QStringList namedFiles{}; // the urls of its textures, movies and sounds
};

// As a child hands it over.
QDataStream &operator<<(QDataStream &out, const ObjectCheck &check);
QDataStream &operator>>(QDataStream &in, ObjectCheck &check);

// An object's text, as GetObjectCode gives it, read by Coin inside the
// definition the export writes (appendDefinition) and followed by a node of
// its own. It must read without an error and stay inside that definition:
// nothing in it may close the definition early, refer to anything outside
// it or hold itself. Nor may it declare a PROTO, whose name would reach the
// rest of the world, or inline another file. Coin reads in a child process,
// as some texts (a few thousand nested nodes) overflow its reader's stack:
// a crash or a hang then costs the child only. One check for each text, in
// order.
std::vector<ObjectCheck> checkObjectCodes(const QStringList &codes);
