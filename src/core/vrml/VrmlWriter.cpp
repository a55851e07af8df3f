#include "core/vrml/VrmlWriter.h"

#include "core/vrml/VrmlItems.h"
#include "core/model/NumberText.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

void writeFrameStart(QString &out, const World &world, bool withMusic)
{
    using NumberText::vrmlDouble;
    out +=
        QLatin1String("#VRML V2.0 utf8\r\nTransform {\r\nchildren [\r\nViewpoint {\r\nposition ");
    out += vrmlDouble(world.StartPosX - 50);
    out += QLatin1String(" 0.5 ");
    out += vrmlDouble(world.StartPosY - 50);
    out += QLatin1String("\r\norientation 0 1 0 ");
    out += vrmlDouble(world.StartAngle);
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
        Vrml::appendEscaped(out, Files::fileName(world.Music));
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

// Copies a file the world refers to into ToGo under its bare name. A file that
// already lies there (the user picked it from ToGo) is left alone: copying it
// onto itself could destroy it.
Status copyIntoToGo(const QString &source, const QString &toGo)
{
    const QString destination = Files::pathIn(toGo, Files::fileName(source));
    if (canonical(source) == canonical(destination))
        return Status::success();
    return Files::copyFileReplacing(source, destination);
}

// The files a world refers to that exist, and warnings for those that do not.
struct WorldFiles {
    QString music; // empty when there is none
    QStringList pictures;
    QStringList warnings;
};

WorldFiles findWorldFiles(const World &world, const QString &worldFolder)
{
    WorldFiles found;
    if (!world.Music.isEmpty()) {
        const QString music = resolveWorldPath(world.Music, worldFolder);
        if (Files::fileExists(music))
            found.music = music;
        else
            found.warnings << QStringLiteral(
                                  "Music file %1 not found: the world is exported without music")
                                  .arg(quoted(QDir::toNativeSeparators(music)));
    }
    QSet<QString> seen;
    for (const PictureInfo &picture : world.Pictures) {
        if (!isUsed(picture))
            continue;
        const QString path = resolveWorldPath(picture.FileName, worldFolder);
        if (seen.contains(path))
            continue;
        seen.insert(path);
        if (Files::fileExists(path))
            found.pictures << path;
        else
            found.warnings
                << QStringLiteral(
                       "Picture file %1 not found: the picture is exported without its image")
                       .arg(quoted(QDir::toNativeSeparators(path)));
    }
    return found;
}

// Creates ToGo, deletes every file directly inside it (but those the world
// itself refers to) and copies the textures, the music and the pictures.
Status prepareToGo(const QString &programFolder, const WorldFiles &files)
{
    const QString textures = Files::pathIn(programFolder, QStringLiteral("Textures"));
    if (!Files::folderExists(textures))
        return Status::failure(
            QStringLiteral("Cannot copy the textures: the folder %1 does not exist")
                .arg(quoted(QDir::toNativeSeparators(textures))));

    const QString toGo = Files::pathIn(programFolder, QStringLiteral("ToGo"));
    if (Status created = Files::createFolder(toGo); !created)
        return created;

    QSet<QString> keep;
    for (const QString &picture : files.pictures)
        keep.insert(canonical(picture));
    if (!files.music.isEmpty())
        keep.insert(canonical(files.music));
    for (const QString &name : Files::filesOf(toGo)) {
        const QString path = Files::pathIn(toGo, name);
        if (keep.contains(canonical(path)))
            continue;
        if (Status deleted = Files::deleteFileForced(path); !deleted)
            return deleted;
    }

    for (const QString &name : Files::filesOf(textures))
        if (Status copied =
                Files::copyFileReplacing(Files::pathIn(textures, name), Files::pathIn(toGo, name));
            !copied)
            return copied;
    if (!files.music.isEmpty())
        if (Status copied = copyIntoToGo(files.music, toGo); !copied)
            return copied;
    for (const QString &picture : files.pictures)
        if (Status copied = copyIntoToGo(picture, toGo); !copied)
            return copied;
    return Status::success();
}

} // namespace

QString resolveWorldPath(const QString &path, const QString &worldFolder)
{
    if (path.isEmpty() || worldFolder.isEmpty() || QFileInfo(path).isAbsolute())
        return path;
    return QDir(worldFolder).filePath(path);
}

TextRead buildWorldText(const World &world, std::vector<ShapeInfo> &shapes,
                        const QString &programFolder, bool withMusic,
                        QStringList &missingObjects)
{
    QString out;
    // Roughly what each item writes, so that the text rarely grows in place.
    out.reserve(int(2048 + 420 * (world.Cubes.size() + world.Pictures.size()) +
                    240 * world.Objects.size() + 560 * world.Texts.size()));
    writeFrameStart(out, world, withMusic);
    Vrml::writeCubes(out, world.Cubes);
    Vrml::writePictures(out, world.Pictures);
    if (Status objects =
            Vrml::writeObjects(out, world.Objects, shapes, programFolder, missingObjects);
        !objects)
        return {QString(), objects.error};
    Vrml::writeTexts(out, world.Texts);
    out += QLatin1String("]\r\n}\r\n");
    return {out, QString()};
}

VrmlExport ExportVRML(const World &world, std::vector<ShapeInfo> &shapes,
                      const QString &programFolder, const QString &worldFolder)
{
    WorldFiles files = findWorldFiles(world, worldFolder);
    // The text first: an object file that cannot be read leaves ToGo as it was.
    QStringList missing;
    TextRead text = buildWorldText(world, shapes, programFolder, !files.music.isEmpty(), missing);
    if (!text.ok())
        return {QString(), std::move(text.error), std::move(files.warnings), {}};
    if (Status prepared = prepareToGo(programFolder, files); !prepared)
        return {QString(), prepared.error, files.warnings, {}};
    return {std::move(text.text), QString(), std::move(files.warnings), std::move(missing)};
}
