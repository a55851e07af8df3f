// The export command on disk: the output folder, the output file's name,
// failures and the files a world refers to.

#include "export/ExportCommand.h"
#include "export/VrmlWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QStringList TextureNames{"asphalt.jpg", "dirt.jpg", "grass.jpg", "leaves.jpg", "snow.jpg"};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList toGoFiles(const QString &program)
{
    return QDir(program + "/ToGo").entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A program folder with the textures and a one-entry library.
struct Program {
    QTemporaryDir dir;
    std::vector<ShapeInfo> shapes;

    Program()
    {
        for (const QString &name : TextureNames)
            writeFile(path("Textures/" + name), "texture " + name.toLatin1());
        writeFile(path("Objects/Park Bench.wrl"), "#VRML V2.0 utf8\r\nShape { }\r\n");
        ShapeInfo bench;
        bench.Name = "Park Bench";
        bench.FileName = "Park Bench.wrl";
        shapes.push_back(bench);
    }
    QString path(const QString &name = QString()) const
    {
        return name.isEmpty() ? dir.path() : dir.filePath(name);
    }
};

ObjectInfo bench(float x)
{
    ObjectInfo o;
    o.Name = "Park Bench";
    o.X = x;
    o.Y = 10;
    return o;
}

PictureInfo picture(const QString &fileName)
{
    PictureInfo p;
    p.FileName = fileName;
    p.Width = 2;
    p.Height = 1;
    return p;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void outputName_data();
    void outputName();
    void secondExportReplacesFirst();
    void readOnlyAndSubfolders();
    void relativePaths();
    void missingFilesAreWarnings();
    void fileAlreadyInToGoIsKept();
    void failures_data();
    void failures();
    void definedFlags();
};

void TestExport::outputName_data()
{
    QTest::addColumn<QString>("currentFile"); // relative to a world folder
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("name");
    QTest::newRow("never saved") << "" << false << "world.wrl";
    QTest::newRow("saved") << "park.lwf" << true << "park.wrl";
    QTest::newRow("blank in the name") << "my park.lwf" << true << "my park.wrl";
    QTest::newRow("other extension") << "old.txt" << true << "old.wrl";
    QTest::newRow("file deleted since") << "gone.lwf" << false << "world.wrl";
    QTest::newRow("a folder, not a file") << "folder.lwf/" << true << "world.wrl";
}

void TestExport::outputName()
{
    QFETCH(QString, currentFile);
    QFETCH(bool, exists);
    QFETCH(QString, name);
    Program program;
    QTemporaryDir worlds;
    QString path;
    if (!currentFile.isEmpty()) {
        path = worlds.filePath(currentFile);
        if (currentFile.endsWith('/'))
            QVERIFY(QDir().mkpath(path));
        else if (exists)
            writeFile(path, "world file");
    }
    QCOMPARE(outputFileName(path), name);

    const WorldExport result = exportWorld(World(), program.shapes, program.path(), path);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.outputPath, program.path("ToGo/" + name));
    QVERIFY(QFileInfo(result.outputPath).isFile());
}

// Only what the second export wrote remains, and the world file holds
// exactly the text the writer built.
void TestExport::secondExportReplacesFirst()
{
    Program program;
    QTemporaryDir worlds;
    writeFile(worlds.filePath("tune.mid"), "music");
    writeFile(worlds.filePath("sign.gif"), "picture");
    writeFile(worlds.filePath("first.lwf"), "world file");
    writeFile(program.path("ToGo/stale.txt"), "left over");

    World first;
    first.Music = worlds.filePath("tune.mid");
    first.Pictures[0] = picture(worlds.filePath("sign.gif"));
    first.Objects[0] = bench(10);
    WorldExport result =
        exportWorld(first, program.shapes, program.path(), worlds.filePath("first.lwf"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(result.warnings.isEmpty());
    QStringList expected = TextureNames + QStringList{"first.wrl", "sign.gif", "tune.mid"};
    expected.sort();
    QCOMPARE(toGoFiles(program.path()), expected);
    QCOMPARE(readFile(program.path("ToGo/sign.gif")), QByteArray("picture"));
    QCOMPARE(readFile(program.path("ToGo/grass.jpg")), QByteArray("texture grass.jpg"));

    const QByteArray written = readFile(result.outputPath);
    std::vector<ShapeInfo> shapes = program.shapes;
    const VrmlExport built = ExportVRML(first, shapes, program.path(), worlds.path());
    QVERIFY2(built.ok(), qPrintable(built.error));
    QCOMPARE(written, built.text.toUtf8());

    result = exportWorld(World(), program.shapes, program.path(), QString());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(toGoFiles(program.path()), TextureNames + QStringList{"world.wrl"});
}

void TestExport::readOnlyAndSubfolders()
{
    Program program;
    const QString locked = program.path("ToGo/locked.wrl");
    writeFile(locked, "old");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadUser));
    writeFile(program.path("ToGo/sub/kept.txt"), "kept");

    const WorldExport result = exportWorld(World(), program.shapes, program.path(), QString());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(!QFileInfo::exists(locked));
    QVERIFY(QFileInfo(program.path("ToGo/sub/kept.txt")).isFile());
}

// Relative picture and music paths are taken from the world file's folder;
// the world names every file by its bare name.
void TestExport::relativePaths()
{
    Program program;
    QTemporaryDir worlds;
    writeFile(worlds.filePath("pictures/sign.gif"), "picture");
    writeFile(worlds.filePath("music/tune.mid"), "music");
    writeFile(worlds.filePath("park.lwf"), "world file");

    World world;
    world.Music = "music/tune.mid";
    world.Pictures[0] = picture("pictures/sign.gif");
    const WorldExport result =
        exportWorld(world, program.shapes, program.path(), worlds.filePath("park.lwf"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join('\n')));
    QCOMPARE(readFile(program.path("ToGo/sign.gif")), QByteArray("picture"));
    QCOMPARE(readFile(program.path("ToGo/tune.mid")), QByteArray("music"));
    const QByteArray text = readFile(result.outputPath);
    QVERIFY(text.contains("url \"sign.gif\""));
    QVERIFY(text.contains("url \"tune.mid\""));
}

// A missing music file drops the Sound node, a missing picture is still
// written; both are reported, neither stops the export.
void TestExport::missingFilesAreWarnings()
{
    Program program;
    World world;
    world.Music = program.path("nowhere/tune.mid");
    world.Pictures[0] = picture(program.path("nowhere/sign.gif"));
    world.Pictures.push_back(picture(program.path("nowhere/sign.gif")));
    const WorldExport result = exportWorld(world, program.shapes, program.path(), QString());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.warnings.size(), 2); // one per missing file, not per picture
    QVERIFY(result.warnings[0].contains("tune.mid"));
    QVERIFY(result.warnings[1].contains("sign.gif"));
    const QByteArray text = readFile(result.outputPath);
    QVERIFY(!text.contains("Sound {"));
    QCOMPARE(text.count("url \"sign.gif\""), 2);
    QCOMPARE(toGoFiles(program.path()), TextureNames + QStringList{"world.wrl"});
}

// A picture the user took from ToGo itself must survive the emptying.
void TestExport::fileAlreadyInToGoIsKept()
{
    Program program;
    writeFile(program.path("ToGo/sign.gif"), "picture");
    writeFile(program.path("ToGo/tune.mid"), "music");
    World world;
    world.Music = program.path("ToGo/tune.mid");
    world.Pictures[0] = picture(program.path("ToGo/sign.gif"));
    const WorldExport result = exportWorld(world, program.shapes, program.path(), QString());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(result.warnings.isEmpty());
    QCOMPARE(readFile(program.path("ToGo/sign.gif")), QByteArray("picture"));
    QCOMPARE(readFile(program.path("ToGo/tune.mid")), QByteArray("music"));
}

void TestExport::failures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("named"); // what the error must name
    QTest::newRow("no Textures folder") << "no textures"
                                        << "Textures";
    QTest::newRow("ToGo is a file") << "togo file"
                                    << "ToGo";
    QTest::newRow("output cannot be written") << "output folder"
                                              << "world.wrl";
    QTest::newRow("object file missing") << "no object file"
                                         << "Park Bench.wrl";
}

void TestExport::failures()
{
    QFETCH(QString, setup);
    QFETCH(QString, named);
    Program program;
    if (setup == "no textures")
        QVERIFY(QDir(program.path("Textures")).removeRecursively());
    else if (setup == "togo file")
        writeFile(program.path("ToGo"), "in the way");
    else if (setup == "output folder")
        QVERIFY(QDir().mkpath(program.path("ToGo/world.wrl")));
    else if (setup == "no object file")
        QVERIFY(QFile::remove(program.path("Objects/Park Bench.wrl")));

    World world;
    world.Objects[0] = bench(10);
    const WorldExport result = exportWorld(world, program.shapes, program.path(), QString());
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(named), qPrintable(result.error));
    QVERIFY(!QFileInfo(result.outputPath).isFile());
}

// Every export starts with clear flags, so only the entries it used are set.
void TestExport::definedFlags()
{
    Program program;
    ShapeInfo unused;
    unused.Name = "Unused";
    unused.FileName = "Unused.wrl";
    unused.Defined = true; // as a previous export may have left it
    program.shapes.push_back(unused);

    World world;
    world.Objects[0] = bench(10);
    world.Objects.push_back(bench(20));
    const VrmlExport result = ExportVRML(world, program.shapes, program.path(), QString());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(program.shapes[0].Defined);
    QVERIFY(!program.shapes[1].Defined);
    QCOMPARE(result.text.count("DEF Park_Bench Group"), 1);
    QCOMPARE(result.text.count("children USE Park_Bench"), 1);
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
