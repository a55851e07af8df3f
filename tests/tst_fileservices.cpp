// File services: folders, copies, deletion and whole-file text.

#include "TestSupport.h"

#include "files/FileServices.h"

#include <QtTest>

#include <sys/stat.h>

class TestFileServices : public QObject {
    Q_OBJECT

private slots:
    void fileName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("backslashes") << "C:\\My Pictures\\sun.jpg"
                                     << "sun.jpg";
        QTest::newRow("both") << "pictures/old\\sun.gif"
                              << "sun.gif";
        QTest::newRow("bare name") << "music.mid"
                                   << "music.mid";
    }

    void fileName()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(Files::fileName(path), name);
    }

    void folders()
    {
        const QString top = Files::pathIn(m_dir.path(), QStringLiteral("ToGo"));
        const QString nested = Files::pathIn(top, QStringLiteral("sub/deeper"));
        QVERIFY(!Files::folderExists(top));
        QVERIFY(Files::createFolder(nested).ok());
        QVERIFY(Files::createFolder(nested).ok()); // already there: fine
        QVERIFY(Files::folderExists(nested));
        QVERIFY(!Files::fileExists(nested));

        for (const char *name : {"b.jpg", "a.wrl", ".hidden"})
            QVERIFY(Files::writeBytes(Files::pathIn(top, QLatin1String(name)), "x").ok());
        // Files only, hidden ones included, subfolders left out.
        QCOMPARE(Files::filesOf(top), QStringList({".hidden", "a.wrl", "b.jpg"}));
        QVERIFY(Files::fileExists(Files::pathIn(top, QStringLiteral("a.wrl"))));
        QVERIFY(!Files::folderExists(Files::pathIn(top, QStringLiteral("a.wrl"))));
        QVERIFY(Files::filesOf(Files::pathIn(top, QStringLiteral("missing"))).isEmpty());

        const QString blocker = Files::pathIn(top, QStringLiteral("a.wrl"));
        QCOMPARE(Files::createFolder(blocker).error,
                 QStringLiteral("Cannot create folder \"%1\": a file of that name is in the way")
                     .arg(blocker));
    }

    void copyReplacesAndDeleteForces()
    {
        const QString source = m_dir.filePath(QStringLiteral("grass.jpg"));
        const QString target = m_dir.filePath(QStringLiteral("copy.jpg"));
        QByteArray big(300 * 1024, 'g'); // more than one copy buffer
        big[0] = '\0';
        QVERIFY(Files::writeBytes(source, big).ok());
        QVERIFY(Files::writeBytes(target, "old and longer than nothing").ok());
        QVERIFY(Files::copyFileReplacing(source, target).ok());
        QCOMPARE(readBytes(target), big);

        QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadUser);
        QVERIFY(Files::deleteFileForced(target).ok());
        QVERIFY(!QFile::exists(target));

        // A failed copy names the file at fault and creates nothing.
        QCOMPARE(Files::copyFileReplacing(target, source).error,
                 QStringLiteral("Cannot read \"%1\": No such file or directory").arg(target));
        QCOMPARE(readBytes(source), big);
    }

    // The destination ends up holding what the source holds, whatever stood
    // in the way; a link in it is removed, and what it points to survives.
    void mirrorFolder()
    {
        const QString from = m_dir.filePath("mirror/from"), to = m_dir.filePath("mirror/to");
        const QString outside = m_dir.filePath("mirror/outside.txt");
        QVERIFY(writeFile(from + "/a.js", "new a") && writeFile(from + "/same.css", "same") &&
                writeFile(from + "/sub/b.svg", "b") && writeFile(from + "/was-file/c", "c") &&
                writeFile(from + "/was-folder", "d"));
        QVERIFY(writeFile(to + "/a.js", "old a, longer") && writeFile(to + "/same.css", "same") &&
                writeFile(to + "/stale.js", "x") && writeFile(to + "/stale/deep/e", "e") &&
                writeFile(to + "/was-file", "f") && writeFile(to + "/was-folder/g", "g") &&
                writeFile(outside, "keep"));
        QVERIFY(QFile::link(m_dir.filePath("mirror"), to + "/link"));
        QFile::setPermissions(to + "/a.js", QFile::ReadOwner);

        QVERIFY(Files::mirrorFolder(from, to).ok());
        const auto tree = [](const QString &root) {
            QStringList files;
            for (QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                 QDirIterator::Subdirectories);
                 it.hasNext();) {
                const QString path = it.next();
                files << QDir(root).relativeFilePath(path) + "=" + readBytes(path);
            }
            files.sort();
            return files;
        };
        QCOMPARE(tree(to), tree(from));
        QCOMPARE(readBytes(outside), QByteArray("keep"));
        QVERIFY(!Files::mirrorFolder(from + "/missing", to).ok());
    }

    void textFilesKeepEveryCharacter()
    {
        const QString path = m_dir.filePath(QStringLiteral("lines.txt"));
        const QString text = QStringLiteral("Bänk\r\nline two\n\tlast");
        QVERIFY(Files::writeTextFile(path, text).ok());
        // No byte-order mark, nothing added, line ends as they were.
        QCOMPARE(readBytes(path), QByteArray("B\xe4nk\r\nline two\n\tlast"));
        const TextRead read = Files::readTextFile(path);
        QVERIFY(read.ok());
        QCOMPARE(read.text, text);

        QVERIFY(Files::writeTextFile(path, QString()).ok());
        QCOMPARE(QFileInfo(path).size(), 0);
        QCOMPARE(Files::readTextFile(path).text, QString());
    }

    // A pipe would block the reader forever and a device would never end.
    void onlyOrdinaryFilesAreRead()
    {
        const QString pipe = m_dir.filePath(QStringLiteral("world.lwf"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        for (const QString &path : {pipe, QStringLiteral("/dev/zero")}) {
            const TextRead read = Files::readTextFile(path);
            QVERIFY(!read.ok());
            QVERIFY2(read.error.contains(path), qPrintable(read.error));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestFileServices)
#include "tst_fileservices.moc"
