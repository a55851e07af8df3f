#include "core/vrml/VrmlWriter.h"

#include "core/vrml/VrmlItems.h"
#include "core/model/NumberText.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <tuple>

namespace
{

QLatin1String skyColors(const QString &sky)
{
    if (sky.isEmpty() || sky == QLatin1String("Blue Sky"))
        return QLatin1String("0.1 0.1 1, 0.3 0.3 1, 0.5 0.5 1, 0.7 0.7 1");
    if (sky == QLatin1String("Red Sky"))
        return QLatin1String("1 0.1 0.1, 1 0.3 0.3, 1 0.5 0.5, 1 0.7 0.7");
    if (sky == QLatin1String("Gray Sky"))
        return QLatin1String("0.3 0.3 0.3, 0.5 0.5 0.5, 0.7 0.7 0.7, 0.9 0.9 0.9");
    if (sky == QLatin1String("Night Sky"))
        return QLatin1String("0.1 0.1 0.2, 0.05 0.05 0.1, 0.025 0.025 0.05, 0.0125 0.0125 0.025");
    return QLatin1String(); // unknown: no background
}

QLatin1String groundTexture(const QString &ground)
{
    if (ground.isEmpty() || ground == QLatin1String("Grass"))
        return QLatin1String("grass.jpg");
    if (ground == QLatin1String("Dirt"))
        return QLatin1String("dirt.jpg");
    if (ground == QLatin1String("Snow"))
        return QLatin1String("snow.jpg");
    if (ground == QLatin1String("Asphalt"))
        return QLatin1String("asphalt.jpg");
    return QLatin1String("");
}

void writeFrameStart(QString &out, const World &world, bool withMusic,
                     const Vrml::ExportNames &names, QStringList &leftOut)
{
    using NumberText::vrmlDouble;
    // A starting point beyond what VRML holds gives way to a new world's.
    World start;
    if (Vrml::fits({world.StartPosX - 50, world.StartPosY - 50, world.StartAngle}))
        std::tie(start.StartPosX, start.StartPosY, start.StartAngle) =
            std::tie(world.StartPosX, world.StartPosY, world.StartAngle);
    else
        leftOut << QStringLiteral("the starting point (a new world's is used)");
    out +=
        QLatin1String("#VRML V2.0 utf8\r\nTransform {\r\nchildren [\r\nViewpoint {\r\nposition ");
    out += vrmlDouble(start.StartPosX - 50);
    out += QLatin1String(" 0.5 ");
    out += vrmlDouble(start.StartPosY - 50);
    out += QLatin1String("\r\norientation 0 1 0 ");
    out += vrmlDouble(start.StartAngle);
    out +=
        QLatin1String("\r\ndescription \"Starting Point \"\r\n}\r\n"
                      "NavigationInfo {\r\nheadlight FALSE\r\navatarSize [ 0.1 0.5 0.1 ]\r\n}\r\n"
                      "DirectionalLight {\r\ndirection -1 0 0\r\nintensity 0.8\r\n}\r\n"
                      "DirectionalLight {\r\ndirection 1 0 0\r\nintensity 0.8\r\n}\r\n"
                      "DirectionalLight {\r\ndirection 0 1 0\r\nintensity 0.9\r\n}\r\n"
                      "DirectionalLight {\r\ndirection 0 -1 0\r\nintensity 1\r\n}\r\n"
                      "DirectionalLight {\r\ndirection 0 0 1\r\nintensity 0.85\r\n}\r\n"
                      "DirectionalLight {\r\ndirection 0 0 -1\r\nintensity 0.85\r\n}\r\n");

    const QLatin1String sky = skyColors(world.Sky);
    if (!sky.isEmpty()) {
        out += QLatin1String("Background {\r\nskyColor [ ");
        out += sky;
        out += QLatin1String(" ]\r\nskyAngle [ 0.5, 1, 1.57 ]\r\n}\r\n");
    }

    if (withMusic) {
        out += QLatin1String("Sound {\r\nsource AudioClip {\r\nurl \"");
        Vrml::appendEscaped(out, Vrml::exportName(names, world.Music));
        out += QLatin1String("\"\r\nstopTime -1\r\nloop TRUE\r\n}\r\nlocation 0 0 0\r\n"
                             "minBack 1000\r\nminFront 1000\r\nmaxBack 1000\r\nmaxFront 1000\r\n"
                             "spatialize FALSE\r\n}\r\n");
    }

    out += QLatin1String(
        "Transform {\r\ntranslation 0 -0.25 0\r\nchildren [\r\nShape {\r\n"
        "geometry Box { size 120 0.5 120 }\r\nappearance Appearance {\r\n"
        "material Material { diffuseColor 0 0.9 0 }\r\ntexture ImageTexture { url \"");
    out += groundTexture(world.Ground);
    out += QLatin1String(
        "\" }\r\ntextureTransform TextureTransform { scale 140 140 }\r\n}\r\n}\r\n]\r\n}\r\n");
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// "sign.gif" numbered 2 is "sign-2.gif"; a name without an extension gets
// the number at its end.
QString numberedName(const QString &name, int number)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    const QString suffix = QStringLiteral("-%1").arg(number);
    return dot > 0 ? name.left(dot) + suffix + name.mid(dot) : name + suffix;
}

// Hands out the names files take in ToGo, first come first served. One file
// (by canonical path, however the world spells it) keeps one name; a
// different file whose name is taken gets the first free numbered name, so
// that two pictures called sign.gif from two folders both reach ToGo.
class ToGoNames {
public:
    QString take(const QString &file, const QString &name)
    {
        if (const auto known = m_byFile.constFind(file); known != m_byFile.cend())
            return *known;
        QString free = name;
        for (int number = 2; m_taken.contains(free); ++number)
            free = numberedName(name, number);
        m_taken.insert(free);
        m_byFile.insert(file, free);
        return free;
    }

private:
    QSet<QString> m_taken;
    QHash<QString, QString> m_byFile;
};

// What a world may publish in ToGo, told by a file's first bytes rather than
// its name: a world naming /etc/shadow as its picture must not get it served.
enum class Content { Fits, Foreign, Unreadable };

Content contentOf(const QString &path, bool (*fits)(const QByteArray &head))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Content::Unreadable;
    const QByteArray head = file.read(512);
    if (file.error() != QFileDevice::NoError)
        return Content::Unreadable;
    return fits(head) ? Content::Fits : Content::Foreign;
}

bool isPicture(const QByteArray &head)
{
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    return format == "gif" || format == "jpeg" || format == "png";
}

// MIDI, WAV, Ogg, or MP3 (a tag or a frame).
bool isMusic(const QByteArray &head)
{
    return head.startsWith("MThd") || head.startsWith("OggS") || head.startsWith("ID3") ||
           (head.startsWith("RIFF") && head.mid(8, 4) == "WAVE") ||
           (head.size() >= 2 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0);
}

// A file the world refers to and the name it takes in ToGo.
struct ToGoCopy {
    QString source;
    QString name;
};

// The files a world refers to that exist and are what they claim to be, the
// names the world text gives them, and warnings for the others.
struct WorldFiles {
    QString music;                // empty when there is none
    std::vector<ToGoCopy> copies; // the objects' files, the pictures (each file once), the music
    Vrml::ExportNames names;      // by the path stored in the world
    QStringList warnings;
};

// The files the placed objects' VRML names (their textures), beside the
// object file or among the textures, under those names: the object's text
// is pasted as it is, so each file must keep its name in ToGo. They take
// their names before the pictures, which give way. Only a bare file name is
// followed: a path could lead anywhere on the disk.
void findObjectFiles(const World &world, const std::vector<ShapeInfo> &shapes,
                     const QString &programFolder, const QSet<QString> &textures,
                     ToGoNames &names, WorldFiles &found)
{
    QSet<QString> placed, copied;
    for (const ObjectInfo &object : world.Objects)
        if (isUsed(object))
            placed.insert(object.Name);
    const QString texturesFolder = Files::pathIn(programFolder, QStringLiteral("Textures"));
    for (const ShapeInfo &shape : shapes) {
        if (!placed.contains(shape.Name))
            continue;
        for (const QString &url : shape.NamedFiles) {
            if (url.contains(QLatin1String("://")))
                continue; // on the web, for the browser to fetch
            QString source;
            if (!url.contains(QLatin1Char('/')) && !url.contains(QLatin1Char('\\')) &&
                !url.startsWith(QLatin1Char('.')))
                for (const QString &folder : {objectFolder(programFolder, shape), texturesFolder})
                    if (Files::fileExists(Files::pathIn(folder, url))) {
                        source = canonical(Files::pathIn(folder, url));
                        break;
                    }
            if (source.isEmpty() || textures.contains(source) || copied.contains(source)) {
                if (source.isEmpty())
                    found.warnings << QStringLiteral("The object %1 names the file %2, which is "
                                                     "not beside it: it is not copied to ToGo")
                                          .arg(quoted(shape.Name), quoted(url));
                continue;
            }
            copied.insert(source);
            if (names.take(source, url) == url)
                found.copies.push_back({source, url});
            else
                found.warnings << QStringLiteral("The object %1 names the file %2, and another "
                                                 "file of that name is in ToGo: it is not copied")
                                      .arg(quoted(shape.Name), quoted(url));
        }
    }
}

WorldFiles findWorldFiles(const World &world, const std::vector<ShapeInfo> &shapes,
                          const QString &programFolder, const QString &worldFolder)
{
    WorldFiles found;
    ToGoNames names;
    // Every texture is copied, so the textures' names come first.
    const QString texturesFolder = Files::pathIn(programFolder, QStringLiteral("Textures"));
    QSet<QString> textures;
    for (const QString &name : Files::filesOf(texturesFolder)) {
        textures.insert(canonical(Files::pathIn(texturesFolder, name)));
        names.take(canonical(Files::pathIn(texturesFolder, name)), name);
    }
    findObjectFiles(world, shapes, programFolder, textures, names, found);

    const auto add = [&](const QString &stored, const QString &path) {
        const QString name = names.take(canonical(path), Files::fileName(path));
        found.names.insert(stored, name);
        // Two spellings of one file take one name and one copy.
        if (std::none_of(found.copies.begin(), found.copies.end(),
                         [&](const ToGoCopy &c) { return c.name == name; }))
            found.copies.push_back({path, name});
    };
    // A file that cannot be read is copied all the same, and the copy says why.
    QSet<QString> seen;
    for (const PictureInfo &picture : world.Pictures) {
        if (!isUsed(picture))
            continue;
        const QString path = resolveWorldPath(picture.FileName, worldFolder);
        const bool exists = Files::fileExists(path);
        if (exists && contentOf(path, isPicture) != Content::Foreign)
            add(picture.FileName, path);
        else if (!seen.contains(path))
            found.warnings << QStringLiteral("Picture file %1 %2: the picture is exported without "
                                             "its image")
                                  .arg(quoted(QDir::toNativeSeparators(path)),
                                       exists ? QStringLiteral("is no GIF, JPEG or PNG picture")
                                              : QStringLiteral("not found"));
        seen.insert(path);
    }
    if (!world.Music.isEmpty()) {
        const QString music = resolveWorldPath(world.Music, worldFolder);
        const bool exists = Files::fileExists(music);
        if (exists && contentOf(music, isMusic) != Content::Foreign) {
            found.music = music;
            add(world.Music, music);
        } else {
            found.warnings.prepend(
                QStringLiteral("Music file %1 %2: the world is exported without music")
                    .arg(quoted(QDir::toNativeSeparators(music)),
                         exists ? QStringLiteral("is no MIDI, WAV, MP3 or Ogg music")
                                : QStringLiteral("not found")));
        }
    }
    return found;
}

// Starts the new export and copies the textures, the pictures and the music
// into it. A file the world takes from ToGo is copied from there: ToGo stays
// as it is until the new export takes its place.
Status fillExport(const QString &programFolder, ExportFolder &folder, const WorldFiles &files)
{
    const QString textures = Files::pathIn(programFolder, QStringLiteral("Textures"));
    if (!Files::folderExists(textures))
        return Status::failure(
            QStringLiteral("Cannot copy the textures: the folder %1 does not exist")
                .arg(quoted(QDir::toNativeSeparators(textures))));
    if (Status started = folder.start(); !started)
        return started;
    for (const QString &name : Files::filesOf(textures))
        if (Status copied = Files::copyFileReplacing(Files::pathIn(textures, name),
                                                     Files::pathIn(folder.path(), name));
            !copied)
            return copied;
    for (const ToGoCopy &copy : files.copies)
        if (Status copied =
                Files::copyFileReplacing(copy.source, Files::pathIn(folder.path(), copy.name));
            !copied)
            return copied;
    return Status::success();
}

QString leftOutWarning(const QStringList &items)
{
    constexpr int MaxListed = 10;
    QString text = QStringLiteral("Left out of the exported world, as its numbers are beyond what "
                                  "VRML holds:");
    for (const QString &item : items.mid(0, MaxListed))
        text += QLatin1Char('\n') + item;
    if (items.size() > MaxListed)
        text += QStringLiteral("\nand %1 more").arg(items.size() - MaxListed);
    return text;
}

} // namespace

QString resolveWorldPath(const QString &path, const QString &worldFolder)
{
    if (path.isEmpty() || worldFolder.isEmpty() || QFileInfo(path).isAbsolute())
        return path;
    return QDir(worldFolder).filePath(path);
}

TextRead buildWorldText(const World &world, std::vector<ShapeInfo> &shapes,
                        const QString &programFolder, bool withMusic, QStringList &missingObjects,
                        QStringList &leftOut, const Vrml::ExportNames &names)
{
    QString out;
    // Roughly what each item writes, so that the text rarely grows in place.
    out.reserve(int(2048 + 420 * (world.Cubes.size() + world.Pictures.size()) +
                    240 * world.Objects.size() + 560 * world.Texts.size()));
    writeFrameStart(out, world, withMusic, names, leftOut);
    Vrml::writeCubes(out, world.Cubes, leftOut);
    Vrml::writePictures(out, world.Pictures, names, leftOut);
    if (Status objects =
            Vrml::writeObjects(out, world.Objects, shapes, programFolder, missingObjects, leftOut);
        !objects)
        return {QString(), objects.error};
    Vrml::writeTexts(out, world.Texts, leftOut);
    out += QLatin1String("]\r\n}\r\n");
    return {out, QString()};
}

VrmlExport ExportVRML(const World &world, std::vector<ShapeInfo> &shapes,
                      const QString &programFolder, const QString &worldFolder,
                      ExportFolder &folder)
{
    WorldFiles files = findWorldFiles(world, shapes, programFolder, worldFolder);
    // The text first: an object file that cannot be read costs no copying.
    QStringList missing, leftOut;
    TextRead text = buildWorldText(world, shapes, programFolder, !files.music.isEmpty(), missing,
                                   leftOut, files.names);
    if (!text.ok())
        return {QString(), std::move(text.error), std::move(files.warnings), {}};
    if (!leftOut.isEmpty())
        files.warnings << leftOutWarning(leftOut);
    if (Status filled = fillExport(programFolder, folder, files); !filled)
        return {QString(), filled.error, files.warnings, {}};
    return {std::move(text.text), QString(), std::move(files.warnings), std::move(missing)};
}

VrmlExport ExportVRML(const World &world, std::vector<ShapeInfo> &shapes,
                      const ProgramFolders &folders, const QString &worldFolder)
{
    ExportFolder folder(folders.toGo);
    VrmlExport exported = ExportVRML(world, shapes, folders.program, worldFolder, folder);
    if (Status finished = exported.ok() ? folder.finish() : Status::success(); !finished)
        return {QString(), finished.error, std::move(exported.warnings), {}};
    return exported;
}
