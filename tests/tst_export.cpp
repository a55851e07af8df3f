// The export on disk (the output file's name, ToGo, failures, the files a world
// refers to) and what it is built from: colour text, definition names and the
// object library. (Object files are read in tst_vrml_golden, and refused when
// foreign in tst_fileservices.)

#include "TestSupport.h"

#include "core/model/StoredColor.h"
#include "core/vrml/ExportCommand.h"
#include "core/vrml/VRMLObjects.h"
#include "core/vrml/VrmlItems.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A program folder with the textures and a one-entry library.
struct Program {
    QTemporaryDir dir;
    std::vector<ShapeInfo> shapes{{"Park Bench", "Park Bench.wrl", 1, 1, 0, "R", false}};

    Program()
    {
        writeTextures(dir.path());
        writeFile(path("Objects/Park Bench.wrl"), "#VRML V2.0 utf8\r\nShape { }\r\n");
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList toGo() const
    {
        return QDir(path("ToGo")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    WorldExport run(const World &world, const QString &currentFile = QString())
    {
        return exportWorld(world, shapes, dir.path(), currentFile);
    }
};

// A GIF picture or, for a path under music/, MIDI music: then the path, so
// that every file is told apart.
QByteArray media(const QString &path)
{
    return (path.startsWith("music/") ? "MThd" : "GIF89a") + path.toLatin1();
}

PictureInfo picture(const QString &fileName)
{
    return PictureInfo{0, 0, 0, 2, 1, 0, false, fileName, {}, {}};
}

std::vector<ShapeInfo> shapesNamed(const QStringList &names)
{
    std::vector<ShapeInfo> shapes;
    for (const QString &name : names)
        shapes.push_back(ShapeInfo{name, name + ".wrl", 0, 0, 0, {}, false});
    return shapes;
}

QStringList namesOf(const std::vector<ShapeInfo> &shapes)
{
    QStringList names;
    for (const ShapeInfo &shape : shapes)
        names << shape.Name;
    return names;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // The last three characters of an existing file give way to "wrl"; a file
    // deleted since, or a folder of that name, gives the default name.
    void outputName()
    {
        QTemporaryDir worlds;
        QVERIFY(writeFile(worlds.filePath("old.txt"), "world") &&
                QDir().mkpath(worlds.filePath("folder.lwf")));
        QCOMPARE(outputFileName(worlds.filePath("old.txt")), QStringLiteral("old.wrl"));
        QCOMPARE(outputFileName(worlds.filePath("gone.lwf")), QStringLiteral("world.wrl"));
        QCOMPARE(outputFileName(worlds.filePath("folder.lwf")), QStringLiteral("world.wrl"));
    }

    // Each export empties ToGo (read-only files included, subfolders left alone)
    // before copying in what it needs. Relative picture and music paths are taken
    // from the world file's folder; the world names every file by its bare name.
    void toGoHoldsOnlyTheLastExport()
    {
        Program program;
        QTemporaryDir worlds;
        for (const char *file : {"pictures/sign.gif", "music/tune.mid", "park.lwf"})
            QVERIFY(writeFile(worlds.filePath(file), media(file)));
        for (const char *file : {"ToGo/.stale", "ToGo/locked.wrl", "ToGo/sub/kept.txt"})
            QVERIFY(writeFile(program.path(file), file));
        QVERIFY(QFile::setPermissions(program.path("ToGo/locked.wrl"), QFile::ReadOwner));

        World world;
        world.Music = "music/tune.mid";
        world.Pictures[0] = picture("pictures/sign.gif");
        WorldExport result = program.run(world, worlds.filePath("park.lwf"));
        QVERIFY2(result.ok() && result.warnings.isEmpty(), qPrintable(result.error));
        QStringList expected = TextureNames + QStringList{"park.wrl", "sign.gif", "tune.mid"};
        expected.sort();
        QCOMPARE(program.toGo(), expected);
        QVERIFY(QFileInfo(program.path("ToGo/sub/kept.txt")).isFile());
        const QByteArray text = readBytes(result.outputPath);
        QVERIFY(text.contains("url \"sign.gif\"") && text.contains("url \"tune.mid\""));

        // Files the next world takes from ToGo itself survive the emptying.
        world.Music = program.path("ToGo/tune.mid");
        world.Pictures[0] = picture(program.path("ToGo/sign.gif"));
        result = program.run(world);
        QVERIFY2(result.ok() && result.warnings.isEmpty(), qPrintable(result.error));
        QCOMPARE(readBytes(program.path("ToGo/sign.gif")) +
                     readBytes(program.path("ToGo/tune.mid")),
                 media("pictures/sign.gif") + media("music/tune.mid"));
    }

    // Different files never share a name in ToGo: textures first, then the
    // pictures in the world's order, then the music; a later file whose name is
    // taken is numbered. One file spelt two ways is one file. World files in
    // ToGo survive the emptying, and a picture taken from ToGo keeps its bytes
    // even when a texture of its name is copied in.
    void toGoNamesNeverCollide()
    {
        Program program;
        QTemporaryDir worlds;
        for (const char *file :
             {"a/sign.gif", "b/sign.gif", "c/sign.gif", "music/sign.gif", "park.lwf"})
            QVERIFY(writeFile(worlds.filePath(file), media(file)));
        for (const char *file : {"ToGo/saved.lwf", "ToGo/grass.jpg"})
            QVERIFY(writeFile(program.path(file), media(file)));

        World world;
        world.Pictures = {picture("a/sign.gif"), picture(worlds.filePath("a/sign.gif")),
                          picture("b/sign.gif"), picture(program.path("ToGo/grass.jpg")),
                          picture("c/sign.gif")};
        world.Pictures[0].Width = -2;
        world.Music = "music/sign.gif";
        const WorldExport result = program.run(world, worlds.filePath("park.lwf"));
        QVERIFY2(result.ok() && result.warnings.isEmpty(), qPrintable(result.error));

        const QList<std::pair<const char *, const char *>> expected = {
            {"sign.gif", "a/sign.gif"},        {"sign-2.gif", "b/sign.gif"},
            {"grass-2.jpg", "ToGo/grass.jpg"}, {"sign-3.gif", "c/sign.gif"},
            {"sign-4.gif", "music/sign.gif"},  {"saved.lwf", "ToGo/saved.lwf"}};
        for (const auto &[name, source] : expected)
            QCOMPARE(readBytes(program.path(QStringLiteral("ToGo/") + name)), media(source));
        QCOMPARE(readBytes(program.path("ToGo/grass.jpg")),
                 readBytes(program.path("Textures/grass.jpg")));

        const QByteArray text = readBytes(result.outputPath);
        QCOMPARE(text.count("url \"sign.gif\""), 2);
        for (const char *url : {"sign-2.gif", "grass-2.jpg", "sign-3.gif", "sign-4.gif"})
            QVERIFY2(text.contains(QByteArray("url \"") + url + '"'), url);
        QVERIFY(text.contains("size 2 1  0.001") && !text.contains("size -2"));
    }

    // Pictures and music go into ToGo by their content, whatever their names.
    // A file that is missing, or whose content is no picture or music (a
    // world may name /etc/shadow), is left out and reported once: the picture
    // is written without its image, the Sound node is dropped.
    void filesByContent_data()
    {
        QTest::addColumn<QByteArray>("picture"); // the contents of sign.gif; empty: missing
        QTest::addColumn<QByteArray>("music");   // of tune.mid
        QTest::addColumn<QString>("leftOut");    // why both are left out; empty: copied
        QTest::newRow("missing") << QByteArray() << QByteArray() << "not found";
        QTest::newRow("a password file and a shell start-up file")
            << QByteArray("root:$y$j9T$x:19700:0:99999:7:::\n") << QByteArray("alias ll='ls -l'\n")
            << "is no";
        QTest::newRow("a picture as music, music as a picture")
            << QByteArray("MThd\0\0\0\6", 8) << QByteArray("GIF89a") << "is no";
        QTest::newRow("PNG and MP3 under other names")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QByteArray("ID3\4\0") << "";
    }

    void filesByContent()
    {
        QFETCH(QByteArray, picture);
        QFETCH(QByteArray, music);
        QFETCH(QString, leftOut);
        Program program;
        if (!picture.isEmpty())
            QVERIFY(writeFile(program.path("in/sign.gif"), picture) &&
                    writeFile(program.path("in/tune.mid"), music));
        World world;
        world.Music = program.path("in/tune.mid");
        world.Pictures = {::picture(program.path("in/sign.gif")),
                          ::picture(program.path("in/sign.gif"))};
        const WorldExport result = program.run(world);
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QByteArray text = readBytes(result.outputPath);
        QCOMPARE(text.count("url \"sign.gif\""), 2);
        if (leftOut.isEmpty()) {
            QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join('\n')));
            QVERIFY(program.toGo().contains("sign.gif") && text.contains("Sound {"));
            return;
        }
        QCOMPARE(result.warnings.size(), 2); // one per file, not per picture
        QVERIFY2(result.warnings[0].contains("tune.mid\" " + leftOut) &&
                     result.warnings[1].contains("sign.gif\" " + leftOut),
                 qPrintable(result.warnings.join('\n')));
        QVERIFY(!text.contains("Sound {"));
        QCOMPARE(program.toGo(), TextureNames + QStringList{"world.wrl"});
    }

    // VRML readers hold numbers as floats: an item whose numbers go beyond
    // them (a world may hold walls at +-3.4E+38 and a picture raised by as
    // much) is left out and named, and the starting point falls back to a new
    // world's. Nothing infinite or beyond a float is written.
    void numbersBeyondFloats()
    {
        Program program;
        World world;
        world.StartPosX = 1e300;
        world.Cubes = {{Kind::Wall, -3.4e38f, 3.4e38f, 0, 1, 0},
                       {Kind::Wall, 0, 1, 0, 1, 0},
                       {Kind::Street, 0, 1e38f, 0, 1, 0}};
        world.Pictures[0] = {10, 10, 3e38f, 2, 3e38f, 0, false, "sign.gif", {}, {}};
        const WorldExport result = program.run(world);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.warnings.constLast(),
                 "Left out of the exported world, as its numbers are beyond what VRML holds:\n"
                 "the starting point (a new world's is used)\nwall or surface 1\n"
                 "wall or surface 3\npicture 1");
        const QString text = QString::fromUtf8(readBytes(result.outputPath));
        QVERIFY(text.contains("position 0 0.5 46\r\n") && text.count("Box { size 1 1 1") == 1);
        for (const auto &number :
             QRegularExpression("[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?|inf|nan")
                 .globalMatch(text)) {
            bool ok = false;
            QVERIFY2(std::isfinite(number.captured().toFloat(&ok)) && ok,
                     qPrintable(number.captured()));
        }
    }

    // A failure names what is at fault, writes no world, leaves the last
    // export in ToGo as it was and nothing beside it.
    void failures_data()
    {
        QTest::addColumn<QString>("named");
        QTest::newRow("no Textures folder") << "Textures";
        QTest::newRow("ToGo is a file") << "ToGo";
        QTest::newRow("object file missing") << "Park Bench.wrl";
        QTest::newRow("picture cannot be read, textures copied") << "unreadable.gif";
    }

    void failures()
    {
        QFETCH(QString, named);
        Program program;
        World world;
        world.Objects[0] = ObjectInfo{"Park Bench", 10, 10, 0, {}, {}};
        if (named == "ToGo")
            QVERIFY(writeFile(program.path("ToGo"), "in the way"));
        else
            QVERIFY(writeFile(program.path("ToGo/last.wrl"), "last export") &&
                    writeFile(program.path("ToGo/grass.jpg"), "last grass"));
        if (named == "Textures")
            QVERIFY(QDir(program.path("Textures")).removeRecursively());
        else if (named == "Park Bench.wrl")
            QVERIFY(QFile::remove(program.path("Objects/Park Bench.wrl")));
        else if (named == "unreadable.gif") { // reading memory at 0 fails, even for root
            world.Pictures[0] = picture(program.path(named));
            QVERIFY(QFile::link("/proc/self/mem", program.path(named)));
        }
        const QStringList before = treeOf(program.dir.path());
        const WorldExport result = program.run(world);
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
        QCOMPARE(treeOf(program.dir.path()), before);
    }

    // An export is built beside ToGo and takes its place by renaming. One cut
    // short during the renames left world files and subfolders carried out of
    // ToGo in the new folder, or ToGo itself aside: the next export puts them
    // back and leaves nothing beside ToGo.
    void interruptedExportIsTidiedUp_data()
    {
        QTest::addColumn<bool>("toGoAside");
        QTest::newRow("while carrying into the new folder") << false;
        QTest::newRow("between the renames") << true;
    }

    void interruptedExportIsTidiedUp()
    {
        QFETCH(bool, toGoAside);
        Program program;
        const QString aside = toGoAside ? ".ToGo-replaced/" : "ToGo/";
        for (const QString &file :
             {aside + "old.wrl", QString(".ToGo-building/half.wrl"),
              QString(".ToGo-building/saved.lwf"), QString(".ToGo-building/sub/kept.txt")})
            QVERIFY(writeFile(program.path(file), file.toLatin1()));
        const WorldExport result = program.run(World());
        QVERIFY2(result.ok(), qPrintable(result.error));
        QStringList expected = TextureNames + QStringList{"saved.lwf", "sub/kept.txt", "world.wrl"};
        expected.sort();
        QCOMPARE(filesUnder(program.path("ToGo")), expected);
        QCOMPARE(
            QDir(program.dir.path()).entryList(QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({"Objects", "Textures", "ToGo"}));
    }

    void colorText_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("vrml");
        QTest::newRow("mixed") << StoredColor::fromRgb(0, 128, 255) << "0.000000 0.501961 1.000000";
        QTest::newRow("minus one") << -1 << "1.000000 1.000000 1.000000";
    }

    void colorText()
    {
        QFETCH(int, color);
        QFETCH(QString, vrml);
        QCOMPARE(VRMLColor(color), vrml);
    }

    void definitionNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("defined"); // DEF names inside the first object file
        QTest::addColumn<QStringList>("ids");
        const QStringList allowed{"Caf\u00e9", "x9", "_y", "True"};
        QTest::newRow("allowed as they are") << allowed << QStringList() << allowed;
        QTest::newRow("blanks and characters Coin refuses")
            << QStringList{"Big  Old Tree", "St. Mary's \"#1\" {x} [y], \\z", "Bench (old)|a+b-c:d"}
            << QStringList()
            << QStringList{"Big__Old_Tree", "St__Mary_s___1___x___y____z", "Bench__old__a_b_c_d"};
        QTest::newRow("starts like a number or is a keyword")
            << QStringList{"3D Tree", "+x", "-y", "TRUE", "USE"} << QStringList()
            << QStringList{"_3D_Tree", "_x", "_y", "_TRUE", "_USE"};
        QTest::newRow("clear of names the object files define")
            << QStringList{"Lamp", "Lamp"} << QStringList{"Lamp", "Lamp_2"}
            << QStringList{"Lamp_3", "Lamp_4"};
        QTest::newRow("clashes numbered past a name taken before its turn")
            << QStringList{"Tree", "Tree_3", "Tree", "Tree"} << QStringList()
            << QStringList{"Tree", "Tree_3", "Tree_2", "Tree_4"};
    }

    void definitionNames()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, defined);
        QFETCH(QStringList, ids);
        std::vector<ShapeInfo> shapes = shapesNamed(names);
        shapes.front().DefinedNames = defined;
        QCOMPARE(Vrml::definitionNames(shapes), ids);
    }

    // A colour part is the number at its start, rounded half to even and held
    // to 0..255; no number reads 0.
    void libraryColour_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("color");
        QTest::newRow("half to even, text") << "12.5 x 3abc" << StoredColor::fromRgb(12, 0, 3);
        QTest::newRow("held to 0..255") << "300 -5 -0.4" << StoredColor::fromRgb(255, 0, 0);
        QTest::newRow("exponent") << "1e2 2E1 5e" << StoredColor::fromRgb(100, 20, 5);
        QTest::newRow("comma is no decimal point, overflow")
            << "2,9 1e999 -1e999" << StoredColor::fromRgb(2, 255, 0);
    }

    void libraryColour()
    {
        QFETCH(QString, field);
        QFETCH(int, color);
        const LibraryLoad load = parseLibrary(QStringLiteral("1\t1\t%1\tR\tBox.wrl").arg(field));
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QCOMPARE(int(load.Shapes.size()), 1);
        QCOMPARE(load.Shapes[0].MapColor, color);
    }

    void librarySkippedLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("warnings");
        const QString good = QStringLiteral("1\t1\t0 0 0\tR\tGood.wrl");
        const auto row = [](const char *name, const QString &text, const QStringList &names,
                            const QStringList &warnings = {}) {
            QTest::newRow(name) << text << names << warnings;
        };
        const auto line = [](int n, const char *why) {
            return QStringLiteral("objects.txt line %1: %2").arg(n).arg(QLatin1String(why));
        };
        row("lone line feeds", good + "\n" + good, {"Good", "Good"});
        row("four-character file name", "1\t1\t0 0 0\tR\t.wrl", {""});
        row("empty file", "", {}, {"objects.txt is empty: no object can be placed"});
        row("width not a number", good + "\r\nwide\t1\t0 0 0\tR\tBad.wrl", {"Good"},
            {line(2, "the width \"wide\" is not a number")});
        row("two colour parts", "1\t1\t0 0\tR\tBad.wrl\r\n" + good, {"Good"},
            {line(1, "the colour \"0 0\" does not have three parts")});
        row("short file name", "1\t1\t0 0 0\tR\t.wr\r\n" + good, {"Good"},
            {line(1, "the file name \".wr\" is shorter than four characters")});
        row("empty lines, a final line end too", "\r\n" + good + "\r\n\r\n" + good + "\r\n",
            {"Good", "Good"},
            {line(1, "empty line"), line(3, "empty line"), line(5, "empty line")});
    }

    void librarySkippedLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QFETCH(QStringList, warnings);
        const LibraryLoad load = parseLibrary(text);
        QCOMPARE(namesOf(load.Shapes), names);
        QCOMPARE(load.warnings, warnings);
    }

    // A line gives its entry in every locale (a library travels between
    // countries as worlds do): sizes with either decimal separator, colours
    // with a full stop, fields beyond the fifth ignored.
    void libraryLines_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"C", "de_DE", "fr_FR"})
            QTest::newRow(locale) << locale;
    }

    void libraryLines()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const LibraryLoad load = parseLibrary("4\t2,5\t150 75 0\tR\tTable.wrl\r\n0.25\t1.5\t12.5 0 "
                                              "0\tC\tBig Tree.wrl\textra\tfields");
        QVERIFY2(load.warnings.isEmpty(), qPrintable(load.warnings.join('\n')));
        QCOMPARE(namesOf(load.Shapes), QStringList({"Table", "Big Tree"}));
        const ShapeInfo &table = load.Shapes[0], &tree = load.Shapes[1];
        QCOMPARE(QList<double>({table.Width, table.Depth, tree.Width, tree.Depth}),
                 QList<double>({4, 2.5, 0.25, 1.5}));
        QCOMPARE(QList<int>({table.MapColor, tree.MapColor}),
                 QList<int>({StoredColor::fromRgb(150, 75, 0), StoredColor::fromRgb(12, 0, 0)}));
        QCOMPARE(table.MapShape + tree.MapShape, QStringLiteral("RC"));
    }

    // Without a library file the folders are made and the library is empty; a
    // file in the system code page (a Windows-1252 e acute) reads as such.
    void libraryOnDisk()
    {
        QTemporaryDir program;
        LibraryLoad load = Init_Shapes(program.path());
        QVERIFY(load.Shapes.empty() && load.warnings.isEmpty());
        QVERIFY(QFileInfo(program.filePath("Textures")).isDir() &&
                QFileInfo(program.filePath("Objects")).isDir());
        QVERIFY(writeFile(program.filePath("Objects/objects.txt"), "1\t2\t1 2 3\tR\tCaf\xe9.wrl"));
        load = Init_Shapes(program.path());
        QCOMPARE(namesOf(load.Shapes), QStringList{"Caf\u00e9"});
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
