// lotwright-cli as a user runs it: the built program, its output and exit codes.

#include "model/TextCodec.h"
#include "model/WorldFile.h"

#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// A file as an independent writer following the same rules would make it:
// a used element, an unused placeholder text, and Windows-1252 text.
QByteArray handWritten(char point)
{
    const auto n = [point](QByteArray number) { return number.replace('.', point); };
    const QList<QByteArray> fields = {
        "Blue Sky", "", "Grass", "2", n("0.5"), "0", "50", "96", n("3.14"), // header
        "1", "", "0", "0", "0", "", "",                                      // objects
        "Bench", "10", "20", n("1.57"), "Caf\xe9.htm", "_top",
        "0", "1", "2", "0", n("0.5"), "3", n("-1.57"), "True", "C:\\pic.jpg", "", "", // pictures
        "0", "", "0", "0", "255", "0", "Text (Big)", "False", "", "", "",   // texts
        "0", "Wall", "1", "2", n("3.5"), "4", "65280",                      // cubes
    };
    return fields.join('\t');
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void help();
    void usageErrors_data();
    void usageErrors();
    void checkCountsUsedItems();
    void damagedOrMissingFilesFail_data();
    void damagedOrMissingFilesFail();
    void resaveKeepsTheBytes_data();
    void resaveKeepsTheBytes();
    void resaveFailureLeavesNoOutput();

private:
    Run run(const QStringList &arguments, const QString &locale = QStringLiteral("C"));
    QString write(const QString &name, const QByteArray &bytes);

    QString m_program;
    QTemporaryDir m_dir;
};

void TestCli::initTestCase()
{
    m_program = QStringLiteral(BIN_DIR "/lotwright-cli");
    QVERIFY2(QFileInfo(m_program).isExecutable(), qPrintable(m_program));
    QVERIFY(m_dir.isValid());
}

Run TestCli::run(const QStringList &arguments, const QString &locale)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(m_program, arguments);
    Run result;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString TestCli::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

void TestCli::help()
{
    const Run r = run({QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("check WORLD.lwf")));
    QVERIFY(r.out.contains(QStringLiteral("resave IN.lwf OUT.lwf")));
    QVERIFY(r.err.isEmpty());

    const Run one = run({QStringLiteral("resave"), QStringLiteral("--help")});
    QCOMPARE(one.exitCode, 0);
    QVERIFY(one.out.startsWith(QStringLiteral("usage: lotwright-cli resave IN.lwf OUT.lwf")));
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList() << "usage: lotwright-cli COMMAND";
    QTest::newRow("unknown command") << QStringList{"frobnicate", "x.lwf"}
                                     << "lotwright-cli: unknown command \"frobnicate\"";
    QTest::newRow("check without file") << QStringList{"check"}
                                        << "usage: lotwright-cli check WORLD.lwf";
    QTest::newRow("check with two files") << QStringList{"check", "a.lwf", "b.lwf"}
                                          << "usage: lotwright-cli check WORLD.lwf";
    QTest::newRow("resave without output") << QStringList{"resave", "a.lwf"}
                                           << "usage: lotwright-cli resave IN.lwf OUT.lwf";
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void TestCli::checkCountsUsedItems()
{
    World w;
    appendItem(w.Objects, ObjectInfo{QStringLiteral("Tree"), 1, 2, 0, {}, {}});
    appendItem(w.Objects, ObjectInfo{QStringLiteral("Bench"), 3, 4, 0, {}, {}});
    TextInfo t;
    t.Text = QStringLiteral("gone");
    t.Kind = Kind::TextBig;
    appendItem(w.Texts, t);
    removeItem(w.Texts, 0); // an unused placeholder that the file still holds
    t.Text = QStringLiteral("Hello");
    appendItem(w.Texts, t);
    appendItem(w.Cubes, CubeInfo{Kind::Wall, 1, 2, 3, 4, 0});
    const QString path = m_dir.filePath(QStringLiteral("counted.lwf"));
    QVERIFY(WorldFile::save(path, w, ScrollFractions()).ok());

    const Run r = run({QStringLiteral("check"), path});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, path + QStringLiteral(": 2 objects, 0 pictures, 1 text, 1 wall or surface\n"));
}

void TestCli::damagedOrMissingFilesFail_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString damaged =
        write(QStringLiteral("damaged.lwf"), handWritten('.').replace("65280", "green"));
    const QString missing = m_dir.filePath(QStringLiteral("missing.lwf"));
    QTest::newRow("check damaged")
        << QStringList{"check", damaged}
        << QStringLiteral("lotwright-cli: Cannot load \"%1\": token 50 (Cubes[0].Color): "
                          "\"green\" is not a whole number\n")
               .arg(damaged);
    QTest::newRow("check missing")
        << QStringList{"check", missing}
        << QStringLiteral("lotwright-cli: Cannot read \"%1\": No such file or directory\n")
               .arg(missing);
    QTest::newRow("resave damaged")
        << QStringList{"resave", damaged, m_dir.filePath(QStringLiteral("out.lwf"))}
        << QStringLiteral("lotwright-cli: Cannot load \"%1\": token 50").arg(damaged);
    // Random bytes: refused quickly, never a hang or a crash.
    QByteArray noise(100000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + i / 13) % 256);
    const QString noisy = write(QStringLiteral("noise.lwf"), noise);
    QTest::newRow("check noise") << QStringList{"check", noisy}
                                 << QStringLiteral("lotwright-cli: Cannot load \"%1\": token ")
                                        .arg(noisy);
}

void TestCli::damagedOrMissingFilesFail()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

void TestCli::resaveKeepsTheBytes_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("bytes");

    World w;
    w.Sky = QStringLiteral("Red Sky");
    w.Music = QStringLiteral("Привет.mid"); // not Windows-1252: a UTF-8 file
    w.Zoom = 4;
    w.StartPosX = 1.0 / 3.0;
    appendItem(w.Pictures, PictureInfo{1.0f / 3.0f, 2, 0.5f, 12345678, 1e-5f, -1.57f, true,
                                       QStringLiteral("a.gif"), {}, {}});
    QTest::newRow("our own file")
        << "C" << TextCodec::encode(WorldFile::format(w, ScrollFractions{0.125, 1.0 / 7.0}));
    QTest::newRow("independent writer") << "C" << handWritten('.');
    QTest::newRow("comma locale") << "de_DE.UTF-8" << handWritten(',');
}

void TestCli::resaveKeepsTheBytes()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, bytes);
    const QString in = write(QStringLiteral("in.lwf"), bytes);
    const QString out = m_dir.filePath(QStringLiteral("out.lwf"));
    QFile::remove(out);

    const Run r = run({QStringLiteral("resave"), in, out}, locale);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);

    const Run checked = run({QStringLiteral("check"), out}, locale);
    QCOMPARE(checked.exitCode, 0);
}

void TestCli::resaveFailureLeavesNoOutput()
{
    const QString in = write(QStringLiteral("good.lwf"), handWritten('.'));
    // Read with a comma as decimal separator, the file's "0.5" is refused.
    const QString out = m_dir.filePath(QStringLiteral("never.lwf"));
    Run r = run({QStringLiteral("resave"), in, out}, QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("token 4 (vertical scroll position): \"0.5\"")),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out));

    const QString unwritable = m_dir.filePath(QStringLiteral("no/such/folder/out.lwf"));
    r = run({QStringLiteral("resave"), in, unwritable});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("lotwright-cli: Cannot write \"%1\"").arg(unwritable)),
             qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
