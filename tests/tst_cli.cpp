// lotwright-cli as a user runs it: the built program, its output and exit codes.

#include "TestSupport.h"

#include "files/FileServices.h"

#include <QtNetwork>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1; // -1: crashed or did not finish in time
    QString out;
    QString err;
};

// home: the program folder (LOTWRIGHT_HOME), when one is needed.
Run run(const QStringList &arguments, const QString &locale = QStringLiteral("C"),
        const QString &home = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LOTWRIGHT_HOME"), home);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(BIN_DIR "/lotwright-cli"), arguments);
    const bool finished = process.waitForFinished(10000); // else ~QProcess kills it
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
    void initTestCase() { QVERIFY(QFileInfo(BIN_DIR "/lotwright-cli").isExecutable()); }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // the start of the error output

        const QString good = write("good.lwf", handWritten('.'));
        const QString damaged = write("bad.lwf", handWritten('.').replace("65280", "x"));
        const QString nowhere = m_dir.filePath("no/such/folder/out.lwf");
        const auto row = [](const char *name, const QStringList &arguments, int exitCode,
                            const QString &out, const QString &err, const QString &locale = "C") {
            QTest::newRow(name) << arguments << locale << exitCode << out << err;
        };
        const QString counts = good + ": 1 object, 1 picture, 0 texts, 1 wall or surface\n";

        row("no command", {}, 2, {}, "usage: lotwright-cli COMMAND");
        row("check counts used items", {"check", good}, 0, counts, {});
        row("full stops read in a comma locale", {"check", good}, 0, counts, {}, "de_DE.UTF-8");
        row("check damaged", {"check", damaged}, 1, {},
            "lotwright-cli: Cannot load \"" + damaged + "\": the Color of wall or surface 1 is");
        row("resave to a missing folder", {"resave", good, nowhere}, 1, {},
            "lotwright-cli: Cannot write \"" + nowhere + "\": ");
        row("export, unknown option", {"export", "--webb", good}, 2, {},
            "lotwright-cli: unknown option \"--webb\"");
        row("serve a missing folder", {"serve", nowhere}, 1, {},
            "lotwright-cli: Cannot serve \"" + nowhere + "\": the folder does not exist");
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

    // Objects the library lacks are reported, and the export still succeeds.
    void exportWarnsOfMissingObjects()
    {
        QTemporaryDir program;
        QVERIFY(writeTextures(program.path()));
        const QString world = write(QStringLiteral("trees.lwf"), handWritten('.'));
        const Run r = run({QStringLiteral("export"), world}, QStringLiteral("C"), program.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, program.filePath(QStringLiteral("ToGo/trees.wrl")) + '\n');
        QVERIFY2(r.err.endsWith("lotwright-cli: warning: 1 object was left out of the exported "
                                "world: the object library has no object of this name.\nBench\n"),
                 qPrintable(r.err));
    }

    // The page and player come on top of the plain export; every other file in
    // ToGo is byte for byte what the plain export wrote.
    void exportWeb()
    {
        const QString world = QStringLiteral(BIN_DIR "/samples/gallery.lwf");
        const QString home = m_dir.filePath("web"), toGo = home + "/ToGo/";
        QVERIFY(copyFiles(BIN_DIR "/Objects", home + "/Objects") &&
                copyFiles(BIN_DIR "/Textures", home + "/Textures") &&
                Files::mirrorFolder(BIN_DIR "/x_ite", home + "/x_ite").ok());
        const Run plain = run({"export", world}, "C", home);
        QVERIFY2(plain.exitCode == 0, qPrintable(plain.err));
        QStringList expected = filesUnder(toGo);
        QVERIFY(expected.contains("gallery.wrl") && expected.contains("gallery.wav"));
        QByteArrayList contents;
        for (const QString &name : expected)
            contents << readBytes(toGo + name);

        const Run web = run({"export", "--web", world}, "C", home);
        QVERIFY2(web.exitCode == 0, qPrintable(web.err));
        QCOMPARE(web.out, plain.out + toGo + "index.html\n");
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(readBytes(toGo + expected[i]) == contents[i], qPrintable(expected[i]));
        expected << "index.html";
        for (const QString &name : filesUnder(BIN_DIR "/x_ite"))
            expected << "x_ite/" + name;
        expected.sort();
        QCOMPARE(filesUnder(toGo), expected);

        QVERIFY(QDir(home + "/x_ite").removeRecursively());
        const Run noPlayer = run({"export", "--web", world}, "C", home);
        QCOMPARE(noPlayer.exitCode, 1);
        QVERIFY2(noPlayer.err.startsWith("lotwright-cli: web page failed: "),
                 qPrintable(noPlayer.err));
    }

    void serveUntilInterrupted()
    {
        const QString folder = m_dir.filePath("served");
        QVERIFY(writeFile(folder + "/index.html", "<p>page</p>"));
        QProcess process;
        process.start(QStringLiteral(BIN_DIR "/lotwright-cli"), {"serve", folder});
        QSignalSpy printed(&process, &QProcess::readyReadStandardOutput);
        QVERIFY(printed.wait(10000));
        const QUrl address(QString::fromUtf8(process.readLine()).trimmed());
        QCOMPARE(address.host(), QStringLiteral("127.0.0.1"));

        QNetworkAccessManager network;
        std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(address)));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(reply->readAll(), QByteArray("<p>page</p>"));

        process.terminate(); // what Ctrl+C or closing the terminal does
        QVERIFY(process.waitForFinished(5000));
    }

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
