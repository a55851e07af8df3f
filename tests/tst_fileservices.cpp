// File services: copies and mirrored folders (ToGo is tst_export's), where the
// program folder and ToGo are, and every reader faced with a foreign file.

#include "TestSupport.h"

#include "core/vrml/ExportCommand.h"
#include "core/files/FileServices.h"
#include "core/files/ProgramFolders.h"
#include "core/model/WorldFile.h"

#include <QStringEncoder>
#include <QtTest>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file of the kind at the path: what each reader must refuse or survive.
bool makeForeign(const QString &kind, const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (kind == "FIFO")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "folder")
        return QDir().mkdir(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (kind == "one byte")
        file.write("x");
    if (kind == "UTF-16")
        file.write(QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
            QStringLiteral("\t\t\t1\t0\t0\t50\t96\t0\t0")));
    if (kind == "binary noise") {
        std::mt19937 random(5);
        for (int i = 0; i < 4096; ++i)
            file.putChar(char(random()));
    }
    if (kind == "count of 2000000000") // in a world file: 2000000001 objects announced
        file.write(path.endsWith(".lwf")
                       ? "\t\t\t1\t0\t0\t50\t96\t0\t2000000000" + QByteArray("\t0").repeated(35)
                       : QByteArray("2000000000"));
    if (kind == "300 MiB" && !file.resize(qint64(300) << 20)) // sparse: takes no disk space
        return false;
    file.close();
    return kind != "unreadable" || file.setPermissions(QFileDevice::WriteOwner);
}

} // namespace

class TestFileServices : public QObject {
    Q_OBJECT

private slots:
    // A copy through several buffers replaces the old file; a failed one names
    // the file at fault and leaves the old one as it was.
    void copyReplaces()
    {
        const QString source = m_dir.filePath("grass.jpg"), target = m_dir.filePath("copy.jpg");
        const QString missing = m_dir.filePath("missing.jpg");
        const QByteArray big = QByteArray(300 * 1024, 'g').prepend('\0');
        QVERIFY(Files::writeBytes(source, big).ok() && Files::writeBytes(target, "old").ok());
        QVERIFY(Files::copyFileReplacing(source, target).ok());
        QCOMPARE(readBytes(target), big);
        QCOMPARE(Files::copyFileReplacing(missing, target).error,
                 QStringLiteral("Cannot read \"%1\": there is no such file").arg(missing));
        QCOMPARE(readBytes(target), big);
    }

    // The destination ends up holding what the source holds, whatever stood
    // in the way; a link in it is removed, and what it points to survives.
    void mirrorFolder()
    {
        const QString from = m_dir.filePath("mirror/from"), to = m_dir.filePath("mirror/to");
        const QString outside = m_dir.filePath("mirror/outside.txt");
        for (const char *file : {"a.js", "same.css", "sub/b.svg", "was-file/c", "was-folder"})
            QVERIFY(writeFile(from + '/' + file, file)); // each holds its name
        for (const char *file :
             {"same.css", "stale.js", "stale/deep/e", "was-file", "was-folder/g"})
            QVERIFY(writeFile(to + '/' + file, file));
        QVERIFY(writeFile(to + "/a.js", "old a.js, longer") && writeFile(outside, "keep"));
        QVERIFY(QFile::link(m_dir.filePath("mirror"), to + "/link"));
        QFile::setPermissions(to + "/a.js", QFile::ReadOwner);

        QVERIFY(Files::mirrorFolder(from, to).ok());
        QCOMPARE(treeOf(to), treeOf(from));
        QCOMPARE(readBytes(outside), QByteArray("keep"));
    }

    // Each reader (world file, library, object file read by the export) is
    // handed something that is not its file. It must say
    // so, naming the file, in a user's words, and change nothing: the export
    // leaves the last export in ToGo as it was.
    void foreignFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("reasons"); // world, library, object
        const QString noVrml = QStringLiteral("it does not begin with \"#VRML V2.0 utf8\"");
        const auto row = [&](const char *kind, const QString &world, const QString &library,
                             const QString &object) {
            QTest::newRow(kind) << kind << QStringList{world, library, object};
        };
        const auto same = [&](const char *kind, const QString &reason) {
            row(kind, reason, reason, reason);
        };
        row("empty", "the file is empty", "objects.txt is empty", noVrml);
        row("one byte", "the file ends too early, before the music setting",
            "objects.txt line 1: five TAB-separated fields needed, found 1", noVrml);
        same("UTF-16", "it is UTF-16 text; save it as UTF-8 or ANSI text");
        same("binary noise", "it holds binary data, not text");
        row("count of 2000000000",
            "the file ends too early: it announces 2000000001 3-D objects, but only 35 more values "
            "follow",
            "objects.txt line 1: five TAB-separated fields needed, found 1", noVrml);
        same("300 MiB", "it is too large (300 MiB) to be a file of this program");
        same("FIFO", "it is a pipe (FIFO), not an ordinary file");
        same("folder", "it is a folder, not a file");
        same("unreadable", "you have no permission to read it");
    }

    void foreignFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, reasons);
        if (kind == "unreadable" && geteuid() == 0)
            QSKIP("permissions do not keep the superuser from reading");
        QTemporaryDir program;
        QVERIFY(writeTextures(program.path()) &&
                writeFile(program.filePath("ToGo/last.wrl"), "old"));
        const QString world = program.filePath("world.lwf");
        const QString library = program.filePath("Objects/objects.txt");
        const QString object = program.filePath("Objects/Thing.wrl");
        for (const QString &path : {world, library, object})
            QVERIFY2(makeForeign(kind, path), qPrintable(path));
        const auto says = [](const QString &message, const QString &path, const QString &reason) {
            return message.contains(QDir::toNativeSeparators(path)) && message.contains(reason);
        };
        const WorldRead read = WorldFile::load(world);
        QVERIFY2(says(read.error, world, reasons[0]), qPrintable(read.error));

        const LibraryLoad load = Init_Shapes(program.path());
        QVERIFY(load.Shapes.empty());
        const QString warnings = load.warnings.join('\n');
        QVERIFY2(warnings.contains(reasons[1]), qPrintable(warnings));

        std::vector<ShapeInfo> shapes{{"Thing", "Thing.wrl", 1, 1, 0, "R", false}};
        World thing;
        thing.Objects[0].Name = QStringLiteral("Thing");
        const WorldExport exported = exportWorld(thing, shapes, program.path(), QString());
        QVERIFY2(says(exported.error, object, reasons[2]), qPrintable(exported.error));
        QCOMPARE(QDir(program.filePath("ToGo")).entryList(QDir::Files), QStringList{"last.wrl"});
    }

    // The program folder and ToGo of each layout ("docs": Lotwright/ToGo in the
    // documents folder). usr/bin stands beside usr/share/lotwright, an installed
    // program, left alone though writable; locked/bin grants no one write
    // permission, which root must respect too.
    void programFolders_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("home"); // LOTWRIGHT_HOME
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("toGo");
        QTest::newRow("LOTWRIGHT_HOME set") << "build/bin" << "mine" << "mine" << "mine/ToGo";
        QTest::newRow("build folder") << "build/bin" << "" << "build/bin" << "build/bin/ToGo";
        QTest::newRow("installed") << "usr/bin" << "" << "usr/share/lotwright" << "docs";
        QTest::newRow("read-only folder") << "locked/bin" << "" << "locked/bin" << "docs";
    }

    void programFolders()
    {
        QFETCH(QString, executable);
        QFETCH(QString, home);
        QFETCH(QString, program);
        QFETCH(QString, toGo);
        QTemporaryDir dir;
        for (const char *folder : {"build/bin/Objects", "usr/bin", "usr/share/lotwright/Objects",
                                   "locked/bin/Objects", "mine"})
            QVERIFY(QDir(dir.path()).mkpath(folder));
        const QString locked = dir.filePath("locked/bin");
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        const ProgramFolders found = locateProgramFolders(
            dir.filePath(executable), home.isEmpty() ? "" : dir.filePath(home), dir.filePath("docs"));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(found.program, dir.filePath(program));
        QCOMPARE(found.toGo, dir.filePath(toGo == "docs" ? "docs/Lotwright/ToGo" : toGo));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestFileServices)
#include "tst_fileservices.moc"
