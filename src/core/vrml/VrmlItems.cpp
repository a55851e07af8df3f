#include "core/vrml/VrmlItems.h"

#include "core/vrml/VRMLObjects.h"
#include "core/model/NumberText.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

namespace Vrml
{

namespace
{

using NumberText::vrmlDouble;
using NumberText::vrmlSingle;

// Appends every part in turn, without building temporaries.
template <class... Parts> void append(QString &out, const Parts &...parts)
{
    (out += ... += parts);
}

const QLatin1Char Blank(' ');

// "picture 2": an item as the warnings name it, counted from 1.
QString itemLabel(const char *kind, size_t index)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(index + 1);
}

// Map x or y to world x or z: computed in double, written as a Single.
float worldCoordinate(float map)
{
    return float(double(map) - 50);
}

// Centre and extent of a drawn rectangle, in double. Corners in either order
// (a hand-edited file may swap them) give the rectangle the map shows.
// Nothing for a rectangle without area: a box or sphere of size 0 is not
// valid VRML.
struct Surface {
    double cx, cz, dx, dz;
};
std::optional<Surface> surfaceOf(const CubeInfo &cube)
{
    const double x1 = cube.X1, x2 = cube.X2, y1 = cube.Y1, y2 = cube.Y2;
    const double dx = x2 - x1;
    const double dz = y2 - y1;
    if (!(std::fabs(dx) > 0) || !(std::fabs(dz) > 0))
        return std::nullopt;
    return Surface{dx / 2 + x1 - 50, dz / 2 + y1 - 50, std::fabs(dx), std::fabs(dz)};
}

// Walls, floors, streets and ceilings are boxes; only streets carry a texture.
void writeBox(QString &out, const Surface &s, QLatin1String centreY, QLatin1String thickness,
              const QString &color, bool asphalt)
{
    append(out, QLatin1String("Transform {\r\ntranslation "), vrmlDouble(s.cx), Blank, centreY,
           Blank, vrmlDouble(s.cz),
           QLatin1String("\r\nchildren [\r\nShape {\r\ngeometry Box { size "), vrmlDouble(s.dx),
           Blank, thickness, Blank, vrmlDouble(s.dz),
           QLatin1String("}\r\nappearance Appearance {\r\nmaterial Material { diffuseColor "),
           color, QLatin1String(" }\r\n"));
    if (asphalt) {
        out += QLatin1String("texture ImageTexture {url \"asphalt.jpg\" }\r\n"
                             "textureTransform TextureTransform { scale ");
        append(out, vrmlDouble(4 * s.dx), Blank, vrmlDouble(4 * s.dz), QLatin1String(" }\r\n"));
    }
    out += QLatin1String("}\r\n}\r\n]\r\n}\r\n");
}

void writeShrubbery(QString &out, const Surface &s)
{
    append(out, QLatin1String("Transform {\r\ntranslation "), vrmlDouble(s.cx),
           QLatin1String(" 0.15 "), vrmlDouble(s.cz), QLatin1String("\r\nscale "), vrmlDouble(s.dx),
           QLatin1String(" 0.3 "), vrmlDouble(s.dz));
    out += QLatin1String("\r\nchildren [\r\nShape {\r\ngeometry Sphere { radius 0.5 }\r\n"
                         "appearance Appearance {\r\nmaterial Material { diffuseColor 0 0 1 }\r\n"
                         "texture ImageTexture { url \"leaves.jpg\" }\r\n"
                         "textureTransform TextureTransform {\r\nscale ");
    append(out, vrmlDouble(3 * s.dx), Blank, vrmlDouble(3 * s.dz),
           QLatin1String("\r\nrotation 0.7\r\n}}\r\n}\r\n]\r\n}\r\n"));
}

// A library name as a VRML identifier: blanks become "_". So that every
// name gives an identifier every reader takes (Coin refuses "(", "|" and
// more that VRML97 allows), anything but letters, digits and "_" becomes "_"
// too, a name that starts with a digit or is a keyword gets a leading "_",
// and a name already taken gets "_2", "_3"...
QString identifierOf(const QString &name)
{
    static const QStringList keywords{"DEF",   "EXTERNPROTO", "FALSE", "IS",   "NULL",
                                      "PROTO", "ROUTE",       "TO",    "TRUE", "USE"};
    QString id = name;
    for (QChar &c : id)
        if (!c.isLetter() && !c.isDigit() && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    const char16_t first = id.isEmpty() ? u'0' : id.front().unicode();
    if ((first >= u'0' && first <= u'9') || keywords.contains(id))
        id.prepend(QLatin1Char('_'));
    return id;
}

} // namespace

bool fits(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) {
        return std::fabs(v) <= double(std::numeric_limits<float>::max());
    });
}

QStringList definitionNames(const std::vector<ShapeInfo> &shapes)
{
    QStringList names;
    names.reserve(qsizetype(shapes.size()));
    // A name an object file defines would capture the USE of the entry.
    QSet<QString> taken;
    for (const ShapeInfo &shape : shapes)
        for (const QString &inner : shape.DefinedNames)
            taken.insert(inner);
    // The next number to try after each clashing name, so that the thousandth
    // entry of one name does not count up from 2 again.
    QHash<QString, int> nextNumber;
    for (const ShapeInfo &shape : shapes) {
        const QString base = identifierOf(shape.Name);
        QString id = base;
        if (taken.contains(id)) {
            int &n = nextNumber[base];
            n = std::max(n, 2);
            do
                id = base + QLatin1Char('_') + QString::number(n++);
            while (taken.contains(id));
        }
        taken.insert(id);
        names << id;
    }
    return names;
}

void appendEscaped(QString &out, const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
}

void openPlacement(QString &out, const Placement &p)
{
    append(out, QLatin1String("Transform {\r\ntranslation "), vrmlSingle(worldCoordinate(p.X)),
           Blank, vrmlSingle(p.Height), Blank, vrmlSingle(worldCoordinate(p.Y)),
           QLatin1String("\r\nrotation 0 1 0 "), vrmlSingle(p.Rotation),
           QLatin1String("\r\nchildren [\r\n"));
    if (p.Billboard)
        out += QLatin1String("Billboard {\r\nchildren [\r\n");
    if (!p.Anchor.isEmpty()) {
        out += QLatin1String("Anchor {\r\nurl \"");
        appendEscaped(out, p.Anchor);
        out += QLatin1String("\"\r\n");
        if (!p.Target.isEmpty()) {
            out += QLatin1String("parameter [\"target=");
            appendEscaped(out, p.Target);
            out += QLatin1String("\"]\r\n");
        }
        out += QLatin1String("children [\r\n");
    }
}

void closePlacement(QString &out, const Placement &p)
{
    if (!p.Anchor.isEmpty())
        out += QLatin1String("]\r\n}\r\n");
    if (p.Billboard)
        out += QLatin1String("]\r\n}\r\n");
    out += QLatin1String("]\r\n}\r\n");
}

void writeCube(QString &out, const CubeInfo &cube, size_t index, QStringList &leftOut)
{
    if (!isUsed(cube))
        return;
    const auto surface = surfaceOf(cube);
    if (!surface)
        return;
    // Streets and shrubbery also write their texture's scale.
    const double scale = cube.Kind == Kind::Street ? 4 : cube.Kind == Kind::Shrubbery ? 3 : 1;
    if (!fits({surface->cx, surface->cz, scale * surface->dx, scale * surface->dz})) {
        leftOut << itemLabel("wall or surface", index);
        return;
    }
    if (cube.Kind == Kind::Street)
        writeBox(out, *surface, QLatin1String("0.02"), QLatin1String("0.04"),
                 QStringLiteral("0.1 0.1 0.1"), true);
    else if (cube.Kind == Kind::Wall)
        writeBox(out, *surface, QLatin1String("0.5"), QLatin1String("1"), VRMLColor(cube.Color),
                 false);
    else if (cube.Kind == Kind::Floor)
        writeBox(out, *surface, QLatin1String("0.02"), QLatin1String("0.04"),
                 VRMLColor(cube.Color), false);
    else if (cube.Kind == Kind::Ceiling)
        writeBox(out, *surface, QLatin1String("1"), QLatin1String("0.04"), VRMLColor(cube.Color),
                 false);
    else if (cube.Kind == Kind::Shrubbery)
        writeShrubbery(out, *surface);
}

void writeCubes(QString &out, const std::vector<CubeInfo> &cubes, QStringList &leftOut)
{
    for (size_t i = 0; i < cubes.size(); ++i)
        writeCube(out, cubes[i], i, leftOut);
}

QString exportName(const ExportNames &names, const QString &storedPath)
{
    return names.value(storedPath, Files::fileName(storedPath));
}

void writePicture(QString &out, const PictureInfo &picture, size_t index, const ExportNames &names,
                  QStringList &leftOut)
{
    if (!isUsed(picture))
        return;
    // The lower edge stands OffGround above the ground.
    const double centre = double(picture.Height) / 2 + double(picture.OffGround);
    const Placement frame{picture.X,         picture.Y,      float(centre), picture.Rotation,
                          picture.Billboard, picture.Anchor, picture.Target};
    if (!fits({centre, picture.Width, picture.Height}) || !placementFits(frame)) {
        leftOut << itemLabel("picture", index);
        return;
    }
    openPlacement(out, frame);
    append(out, QLatin1String("Shape {\r\ngeometry Box { size "),
           vrmlSingle(std::fabs(picture.Width)), Blank, vrmlSingle(std::fabs(picture.Height)));
    out += QLatin1String("  0.001 }\r\nappearance Appearance {\r\n"
                         "material Material { diffuseColor 0 0.9 0 }\r\n"
                         "texture ImageTexture { url \"");
    appendEscaped(out, exportName(names, picture.FileName));
    out += QLatin1String("\" }\r\n}\r\n}\r\n");
    closePlacement(out, frame);
}

void writePictures(QString &out, const std::vector<PictureInfo> &pictures, const ExportNames &names,
                   QStringList &leftOut)
{
    for (size_t i = 0; i < pictures.size(); ++i)
        writePicture(out, pictures[i], i, names, leftOut);
}

Placement objectPlacement(const ObjectInfo &object)
{
    return {object.X, object.Y, 0.03f, object.Rotation, false, object.Anchor, object.Target};
}

bool placementFits(const Placement &p)
{
    return fits({double(p.X) - 50, double(p.Y) - 50, p.Height, p.Rotation});
}

Status writeObjects(QString &out, const std::vector<ObjectInfo> &objects,
                    std::vector<ShapeInfo> &shapes, const QString &programFolder,
                    QStringList &missing, QStringList &leftOut)
{
    for (ShapeInfo &shape : shapes)
        shape.Defined = false;
    const QStringList ids = definitionNames(shapes);
    QHash<QString, QString> codes;           // object texts by path: each is read once
    QHash<QString, QList<int>> entriesNamed; // in library order
    for (int entry = 0; entry < int(shapes.size()); ++entry)
        entriesNamed[shapes[size_t(entry)].Name].append(entry);
    for (size_t i = 0; i < objects.size(); ++i) {
        const ObjectInfo &object = objects[i];
        if (!isUsed(object))
            continue;
        const QList<int> entries = entriesNamed.value(object.Name);
        if (entries.isEmpty())
            missing << object.Name;
        const Placement frame = objectPlacement(object);
        if (!entries.isEmpty() && !placementFits(frame)) {
            leftOut << itemLabel("3-D object", i);
            continue;
        }
        for (const int entry : entries) {
            ShapeInfo &shape = shapes[size_t(entry)];
            openPlacement(out, frame);
            if (!shape.Defined) {
                const QString path =
                    Files::pathIn(objectFolder(programFolder, shape), shape.FileName);
                auto code = codes.constFind(path);
                if (code == codes.cend()) {
                    const TextRead read = GetObjectCode(programFolder, shape);
                    if (!read.ok())
                        return Status::failure(read.error);
                    code = codes.insert(path, read.text);
                }
                appendDefinition(out, ids[entry], *code);
                shape.Defined = true;
            } else {
                append(out, QLatin1String("Group {\r\nchildren USE "), ids[entry],
                       QLatin1String("\r\n}\r\n"));
            }
            closePlacement(out, frame);
        }
    }
    return Status::success();
}

void appendDefinition(QString &out, const QString &id, const QString &code)
{
    append(out, QLatin1String("DEF "), id, QLatin1String(" Group {\r\nchildren [\r\n"), code,
           QLatin1String("\r\n]\r\n}\r\n"));
}

void writeText(QString &out, const TextInfo &text, size_t index, QStringList &leftOut)
{
    if (!isUsed(text))
        return;
    // Anything but big text (only hand-edited files hold other kinds) is
    // written at eye level.
    const bool big = text.Kind == Kind::TextBig;
    const Placement frame{text.X,         text.Y,      0.0f,       text.Rotation,
                          text.Billboard, text.Anchor, text.Target};
    if (!placementFits(frame)) {
        leftOut << itemLabel("text", index);
        return;
    }
    openPlacement(out, frame);
    out += big ? QLatin1String("Transform {\r\ntranslation 0 2 0\r\n")
               : QLatin1String("Transform {\r\ntranslation 0 0.4 0\r\n");
    out += QLatin1String("children [\r\nShape {\r\ngeometry Text {\r\nstring \"");
    appendEscaped(out, text.Text);
    out += QLatin1String("\"\r\nfontStyle FontStyle {\r\nsize ");
    out += big ? QLatin1String("1") : QLatin1String("0.5");
    out += QLatin1String("\r\njustify \"MIDDLE\"\r\n}\r\n}\r\nappearance Appearance {\r\n"
                         "material Material { diffuseColor ");
    out += VRMLColor(text.Color);
    out += QLatin1String("}\r\n}\r\n}\r\n]\r\n}\r\n");
    closePlacement(out, frame);
}

void writeTexts(QString &out, const std::vector<TextInfo> &texts, QStringList &leftOut)
{
    for (size_t i = 0; i < texts.size(); ++i)
        writeText(out, texts[i], i, leftOut);
}

} // namespace Vrml
