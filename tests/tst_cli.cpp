// lotwright-cli as a user runs it: the built program, its output and exit codes.

#include "TestSupport.h"

#include <QtTest>

namespace {

struct Run {
    int exitCode = -1; // -1: crashed or did not finish in time
    QString out;
    QString err;
};

Run run(const QStringList &arguments, const QString &locale = QStringLiteral("C"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(BIN_DIR "/lotwright-cli"), arguments);
    const bool finished = process.waitForFinished(10000);
    if (!finished)
        process.kill();
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A file as an independent writer with the same rules would make it: a used
// element after a placeholder, an unused text, Windows-1252 text.
QByteArray handWritten(char point)
{
    const auto n = [point](QByteArray number) { return number.replace('.', point); };
    // clang-format off
    const QList<QByteArray> fields = {
        "Blue Sky", "", "Grass", "2", n("0.5"), "0", "50", "96", n("3.14"),           // header
        "1", "", "0", "0", "0", "", "",                                               // objects
        "Bench", "10", "20", n("1.57"), "Caf\xe9", "_top",
        "0", "1", "2", "0", n("0.5"), "3", n("-1.57"), "True", "C:\\pic.jpg", "", "", // pictures
        "0", "", "0", "0", "255", "0", "Text (Big)", "False", "", "", "",             // texts
        "0", "Wall", "1", "2", n("3.5"), "4", "65280",                                // cubes
    };
    // clang-format on
    return fields.join('\t');
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(QStringLiteral(BIN_DIR "/lotwright-cli")).isExecutable());
        QVERIFY(m_dir.isValid());
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // the start of the error output

        const QString good = write(QStringLiteral("good.lwf"), handWritten('.'));
        const QString comma = write(QStringLiteral("comma.lwf"), handWritten(','));
        const QString damaged =
            write(QStringLiteral("bad.lwf"), handWritten('.').replace("65280", "x"));
        const QString missing = m_dir.filePath(QStringLiteral("missing.lwf"));
        const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/out.lwf"));
        const auto row = [](const char *name, const QStringList &arguments, int exitCode,
                            const QString &out, const QString &err, const QString &locale = "C") {
            QTest::newRow(name) << arguments << locale << exitCode << out << err;
        };
        const QString usage = QStringLiteral("usage: lotwright-cli COMMAND");
        const QString counts = good + ": 1 object, 1 picture, 0 texts, 1 wall or surface\n";

        row("help", {"--help"}, 0, usage, {});
        row("no command", {}, 2, {}, usage);
        row("unknown command", {"frob", good}, 2, {}, "lotwright-cli: unknown command \"frob\"");
        row("resave, one file", {"resave", good}, 2, {},
            "usage: lotwright-cli resave IN.lwf OUT.lwf\n");
        row("check counts used items", {"check", good}, 0, counts, {});
        row("full stops read in a comma locale", {"check", good}, 0, counts, {}, "de_DE.UTF-8");
        row("commas read in a full-stop locale", {"check", comma}, 0,
            comma + ": 1 object, 1 picture, 0 texts, 1 wall or surface\n", {}, "en_GB.UTF-8");
        row("check damaged", {"check", damaged}, 1, {},
            QStringLiteral("lotwright-cli: Cannot load \"%1\": the Color of wall or surface 1 is "
                           "not a whole number: \"x\" (token 50)\n")
                .arg(damaged));
        row("check missing", {"check", missing}, 1, {},
            QStringLiteral("lotwright-cli: Cannot read \"%1\": there is no such file\n")
                .arg(missing));
        row("resave to a missing folder", {"resave", good, nowhere}, 1, {},
            QStringLiteral("lotwright-cli: Cannot write \"%1\": ").arg(nowhere));
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, locale);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run r = run(arguments, locale);
        QCOMPARE(r.exitCode, exitCode);
        const auto startsWith = [](const QString &s, const QString &start) {
            return start.isEmpty() ? s.isEmpty() : s.startsWith(start);
        };
        QVERIFY2(startsWith(r.out, out), qPrintable(r.out));
        QVERIFY2(startsWith(r.err, err), qPrintable(r.err));
    }

    void resaveKeepsTheBytes_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("independent writer") << "C" << handWritten('.');
        QTest::newRow("comma locale") << "de_DE.UTF-8" << handWritten(',');
    }

    void resaveKeepsTheBytes()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, bytes);
        const QString in = write(QStringLiteral("in.lwf"), bytes);
        const QString out = m_dir.filePath(QStringLiteral("out.lwf"));
        const Run r = run({QStringLiteral("resave"), in, out}, locale);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(readBytes(out), bytes);
    }

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TestCli::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    if (!writeFile(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
