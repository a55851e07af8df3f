#pragma once
// The item sections of the VRML world: drawn surfaces, pictures, library
// objects and texts. Each appends its nodes to the world text, CR LF after
// every line, skipping unused elements.

#include "core/files/FileServices.h"
#include "core/model/World.h"
#include "core/library/ObjectLibrary.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <vector>

namespace Vrml
{

// Appends a user or file string as the contents of a VRML string: backslashes
// doubled, double quotes escaped, everything else (newlines, '#', braces,
// non-ASCII) as it is.
void appendEscaped(QString &out, const QString &text);

// The frame of a placed picture, object or text: Transform at the map point,
// then an optional Billboard and an optional Anchor inside it.
struct Placement {
    float X = 0;
    float Y = 0;
    float Height = 0;
    float Rotation = 0;
    bool Billboard = false;
    QString Anchor;
    QString Target;
};
void openPlacement(QString &out, const Placement &placement);
// Whether numbers may be written into the world: VRML readers hold them as
// floats, and one beyond that range (or not finite) makes Coin build nothing.
bool fits(std::initializer_list<double> values);
void closePlacement(QString &out, const Placement &placement);
bool placementFits(const Placement &placement);
// Where a library object stands: its entries' definitions or uses go inside.
Placement objectPlacement(const ObjectInfo &object);

// The DEF name of each library entry, in library order: the name with
// blanks as "_", made a valid VRML identifier, distinct from the others and
// from every name the object files define (ShapeInfo::DefinedNames).
QStringList definitionNames(const std::vector<ShapeInfo> &shapes);

// The names under which the picture and music files lie in ToGo, by the path
// stored in the world. A path not listed is named by its bare file name.
using ExportNames = QHash<QString, QString>;
QString exportName(const ExportNames &names, const QString &storedPath);

// Each writer leaves out an item whose numbers do not fit (see fits) and
// appends its label ("picture 2", counted from 1) to leftOut; an unused
// element writes nothing. The single-item writers take the item's index for
// that label; the world's writers append every item in turn.
void writeCube(QString &out, const CubeInfo &cube, size_t index, QStringList &leftOut);
void writeCubes(QString &out, const std::vector<CubeInfo> &cubes, QStringList &leftOut);
// The url of a picture is its name in ToGo; the file itself is copied there by
// the writer. A negative size (a damaged file) is written as its absolute
// value: VRML forbids negative box sizes.
void writePicture(QString &out, const PictureInfo &picture, size_t index, const ExportNames &names,
                  QStringList &leftOut);
void writePictures(QString &out, const std::vector<PictureInfo> &pictures, const ExportNames &names,
                   QStringList &leftOut);
// An entry's definition: its object's text (GetObjectCode) in the children
// of a Group named id. The library check reads objects inside the same.
void appendDefinition(QString &out, const QString &id, const QString &code);
// The first item of each library entry carries the entry's definition and sets
// its Defined flag, later items refer to it. An item whose name the library
// lacks writes nothing; its name is appended to missing. Fails when an object
// file cannot be read.
Status writeObjects(QString &out, const std::vector<ObjectInfo> &objects,
                    std::vector<ShapeInfo> &shapes, const QString &programFolder,
                    QStringList &missing, QStringList &leftOut);
void writeText(QString &out, const TextInfo &text, size_t index, QStringList &leftOut);
void writeTexts(QString &out, const std::vector<TextInfo> &texts, QStringList &leftOut);

} // namespace Vrml
