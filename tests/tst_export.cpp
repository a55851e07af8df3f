// The export command on disk: the output folder, the output file's name,
// failures and the files a world refers to.

#include "TestSupport.h"

#include "export/ExportCommand.h"

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

PictureInfo picture(const QString &fileName)
{
    return PictureInfo{0, 0, 0, 2, 1, 0, false, fileName, {}, {}};
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void outputName_data()
    {
        QTest::addColumn<QString>("currentFile"); // relative to a world folder
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("name");
        QTest::newRow("never saved") << "" << false << "world.wrl";
        QTest::newRow("saved") << "my park.lwf" << true << "my park.wrl";
        QTest::newRow("other extension") << "old.txt" << true << "old.wrl";
        QTest::newRow("file deleted since") << "gone.lwf" << false << "world.wrl";
        QTest::newRow("a folder, not a file") << "folder.lwf/" << true << "world.wrl";
    }

    void outputName()
    {
        QFETCH(QString, currentFile);
        QFETCH(bool, exists);
        QFETCH(QString, name);
        Program program;
        QTemporaryDir worlds;
        const QString path = currentFile.isEmpty() ? QString() : worlds.filePath(currentFile);
        if (currentFile.endsWith('/'))
            QVERIFY(QDir().mkpath(path));
        else if (exists)
            QVERIFY(writeFile(path, "world file"));
        QCOMPARE(outputFileName(path), name);

        const WorldExport result = program.run(World(), path);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.outputPath, program.path("ToGo/" + name));
        QVERIFY(QFileInfo(result.outputPath).isFile());
    }

    // Each export empties ToGo (read-only files included, subfolders left alone)
    // before copying in what it needs. Relative picture and music paths are taken
    // from the world file's folder; the world names every file by its bare name.
    void toGoHoldsOnlyTheLastExport()
    {
        Program program;
        QTemporaryDir worlds;
        for (const char *file : {"pictures/sign.gif", "music/tune.mid", "park.lwf"})
            QVERIFY(writeFile(worlds.filePath(file), file));
        for (const char *file : {"ToGo/.stale", "ToGo/locked.wrl", "ToGo/sub/kept.txt"})
            QVERIFY(writeFile(program.path(file), file));
        QVERIFY(QFile::setPermissions(program.path("ToGo/locked.wrl"), QFile::ReadOwner));

        World world;
        world.Music = "music/tune.mid";
        world.Pictures[0] = picture("pictures/sign.gif");
        world.Objects[0] = ObjectInfo{"Park Bench", 10, 10, 0, {}, {}};
        WorldExport result = program.run(world, worlds.filePath("park.lwf"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY2(result.warnings.isEmpty(), qPrintable(result.warnings.join('\n')));
        QStringList expected = TextureNames + QStringList{"park.wrl", "sign.gif", "tune.mid"};
        expected.sort();
        QCOMPARE(program.toGo(), expected);
        QCOMPARE(readBytes(program.path("ToGo/grass.jpg")), QByteArray("grass.jpg"));
        QVERIFY(QFileInfo(program.path("ToGo/sub/kept.txt")).isFile());
        const QByteArray text = readBytes(result.outputPath);
        QVERIFY(text.contains("url \"sign.gif\"") && text.contains("url \"tune.mid\""));

        // Files the next world takes from ToGo itself survive the emptying.
        world.Music = program.path("ToGo/tune.mid");
        world.Pictures[0] = picture(program.path("ToGo/sign.gif"));
        result = program.run(world);
        QVERIFY2(result.ok() && result.warnings.isEmpty(), qPrintable(result.error));
        expected[expected.indexOf("park.wrl")] = "world.wrl";
        expected.sort();
        QCOMPARE(program.toGo(), expected);
        QCOMPARE(readBytes(program.path("ToGo/sign.gif")) +
                     readBytes(program.path("ToGo/tune.mid")),
                 QByteArray("pictures/sign.gifmusic/tune.mid"));
    }

    // A missing music file drops the Sound node, a missing picture is still
    // written; both are reported, neither stops the export.
    void missingFilesAreWarnings()
    {
        Program program;
        World world;
        world.Music = program.path("nowhere/tune.mid");
        world.Pictures[0] = picture(program.path("nowhere/sign.gif"));
        world.Pictures.push_back(picture(program.path("nowhere/sign.gif")));
        const WorldExport result = program.run(world);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.warnings.size(), 2); // one per missing file, not per picture
        QVERIFY(result.warnings[0].contains("tune.mid"));
        QVERIFY(result.warnings[1].contains("sign.gif"));
        const QByteArray text = readBytes(result.outputPath);
        QVERIFY(!text.contains("Sound {"));
        QCOMPARE(text.count("url \"sign.gif\""), 2);
        QCOMPARE(program.toGo(), TextureNames + QStringList{"world.wrl"});
    }

    // A failure names what is at fault, writes no world and, where the world
    // text cannot be made, leaves the last export in ToGo.
    void failures_data()
    {
        QTest::addColumn<QString>("named");
        QTest::newRow("no Textures folder") << "Textures";
        QTest::newRow("ToGo is a file") << "ToGo";
        QTest::newRow("output cannot be written") << "world.wrl";
        QTest::newRow("object file missing") << "Park Bench.wrl";
    }

    void failures()
    {
        QFETCH(QString, named);
        Program program;
        const QString tag = QTest::currentDataTag();
        World world;
        world.Objects[0] = ObjectInfo{"Park Bench", 10, 10, 0, {}, {}};
        if (tag == "no Textures folder")
            QVERIFY(QDir(program.path("Textures")).removeRecursively());
        else if (tag == "ToGo is a file")
            QVERIFY(writeFile(program.path("ToGo"), "in the way"));
        else if (tag == "output cannot be written")
            QVERIFY(QDir().mkpath(program.path("ToGo/world.wrl")));
        else
            QVERIFY(QFile::remove(program.path("Objects/Park Bench.wrl")) &&
                    writeFile(program.path("ToGo/last.wrl"), "last export"));
        const WorldExport result = program.run(world);
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
        QVERIFY(!QFileInfo(result.outputPath).isFile());
        QVERIFY(!tag.startsWith("object") || program.toGo() == QStringList{"last.wrl"});
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
