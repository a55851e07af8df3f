// lotwright-cli as a user runs it: the built program, its output and exit
// codes; and the local server behind `serve` and "Open in Web Browser", as a
// browser and an intruder see it: raw HTTP over QTcpSocket, so that no client
// library tidies the paths first.

#include "ModelFiles.h"
#include "TestSupport.h"

#include "web/StaticServer.h"
#include "core/files/FileServices.h"

#include <QtNetwork>
#include <QtTest>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <ctime>
#include <memory>
#include <vector>

namespace {

struct Run {
    int exitCode = -1; // -1: crashed or did not finish in time
    QString out;
    QString err;
};

// home: the program folder (LOTWRIGHT_HOME), when one is needed; dataHome:
// the per-user data folder (XDG_DATA_HOME), which holds the user's library.
Run run(const QStringList &arguments, const QString &locale = QStringLiteral("C"),
        const QString &home = QString(), const QString &dataHome = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LOTWRIGHT_HOME"), home);
    if (!dataHome.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
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

struct Reply {
    int status = 0;                       // 0: no answer
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

// Reads one answer to a request made with method; status 0 when none comes.
Reply receive(QTcpSocket &socket, const QByteArray &method)
{
    QByteArray data;
    Reply reply;
    const auto complete = [&] {
        const int end = data.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const QList<QByteArray> lines = data.left(end).split('\n');
        reply.status = lines.value(0).split(' ').value(1).toInt();
        for (const QByteArray &line : lines.mid(1))
            reply.headers.insert(line.left(line.indexOf(':')).trimmed().toLower(),
                                 line.mid(line.indexOf(':') + 1).trimmed());
        reply.body = data.mid(end + 4);
        return method == "HEAD" || reply.body.size() >= reply.headers["content-length"].toInt();
    };
    QEventLoop loop;
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        data += socket.readAll();
        if (complete())
            loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit); // the deadline
    if (socket.state() == QAbstractSocket::ConnectedState)
        loop.exec();
    if (!complete())
        reply.status = 0;
    return reply;
}

// Connects socket while the server, in this thread, accepts.
bool open(QTcpSocket &socket, quint16 port, const QHostAddress &address = QHostAddress::LocalHost)
{
    bool connected = false;
    QEventLoop loop;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        connected = true;
        loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    socket.connectToHost(address, port);
    if (socket.state() != QAbstractSocket::UnconnectedState)
        loop.exec();
    return connected;
}

QByteArray request(const QByteArray &method, const QByteArray &target, const QByteArray &headers)
{
    return method + ' ' + target + " HTTP/1.1\r\n" + headers + "\r\n";
}

QByteArray hostHeader(quint16 port)
{
    return "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
}

// Sends one raw request (headers: whole lines) on a new connection and reads
// one answer.
Reply exchange(const QByteArray &method, const QByteArray &target, const QByteArray &headers,
               quint16 port, const QHostAddress &address = QHostAddress::LocalHost)
{
    QTcpSocket socket;
    if (!open(socket, port, address))
        return {};
    socket.write(request(method, target, headers));
    return receive(socket, method);
}

int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// True when the server has closed the connection or does within ms.
bool closedWithin(QTcpSocket &socket, int ms)
{
    QSignalSpy closed(&socket, &QTcpSocket::disconnected);
    return socket.state() == QAbstractSocket::UnconnectedState || closed.wait(ms);
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(BIN_DIR "/lotwright-cli").isExecutable());
        const QString served = m_dir.filePath("served");
        for (const char *name : {"index.html", "a b.wrl", "x.js", "x.wasm", "sub/index.html"})
            QVERIFY(writeFile(served + '/' + name, QByteArray("contents of ") + name));
        QVERIFY(QDir().mkpath(served + "/empty"));
        QVERIFY(writeFile(m_dir.filePath("secret.txt"), "secret"));
        QVERIFY(QFile::link(m_dir.path(), served + "/outside"));
        QVERIFY(QFile::link(served + "/x.js", served + "/in.js"));
        QVERIFY2(m_server.start(served), qPrintable(m_server.errorString()));
    }

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
        const QString fifo = m_dir.filePath("fifo.lwf"), folder = m_dir.filePath("folder.lwf");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0 && QDir().mkdir(folder));
        // Only the superuser can make a device; anyone else cannot replace /dev/null either.
        QString device = m_dir.filePath("null.lwf");
        if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            device = "/dev/null";
        const auto row = [](const char *name, const QStringList &arguments, int exitCode,
                            const QString &out, const QString &err, const QString &locale = "C") {
            QTest::newRow(name) << arguments << locale << exitCode << out << err;
        };
        const QString counts = good + ": 1 object, 1 picture, 0 texts, 1 wall or surface\n";

        row("no command", {}, 2, {}, "usage: lotwright-cli COMMAND");
        row("check counts used items", {"check", good}, 0, counts, {});
        row("full stops read in a comma locale", {"check", good}, 0, counts, {}, "de_DE.UTF-8");
        row("check damaged", {"check", damaged}, 1, {},
            "lotwright-cli: Cannot load \"" + damaged + "\": the colour of wall or surface 1 is");
        row("resave to a missing folder", {"resave", good, nowhere}, 1, {},
            "lotwright-cli: Cannot write \"" + nowhere + "\": ");
        const auto refused = [&](const QString &path, const char *what) {
            return "lotwright-cli: Cannot write \"" + path + "\": it is " + what;
        };
        row("resave onto a FIFO", {"resave", good, fifo}, 1, {}, refused(fifo, "a pipe (FIFO)"));
        row("resave onto a device", {"resave", good, device}, 1, {}, refused(device, "a device"));
        row("resave onto a folder", {"resave", good, folder}, 1, {}, refused(folder, "a folder"));
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

    // An object file that Coin cannot read in its place (here one that would
    // make a loop and crash the 3-D view) is named whenever the library
    // loads; the export reports its items as missing and still succeeds.
    void leftOutObjectsAreReported()
    {
        QTemporaryDir program;
        QVERIFY(writeTextures(program.path()) &&
                writeFile(program.filePath("Objects/objects.txt"), "1\t1\t0 0 0\tR\tBench.wrl") &&
                writeFile(program.filePath("Objects/Bench.wrl"),
                          "#VRML V2.0 utf8\nDEF A Group { children [ Transform { children [ Group "
                          "{ children USE A"));
        const QString world = write(QStringLiteral("trees.lwf"), handWritten('.'));
        const QString leftOut = "lotwright-cli: warning: The object \"Bench.wrl\" is left out: "
                                "Coin's reader crashed on it\n";
        const Run check =
            run({QStringLiteral("check"), world}, QStringLiteral("C"), program.path());
        QCOMPARE(check.exitCode, 0);
        QCOMPARE(check.err, leftOut);
        const Run r = run({QStringLiteral("export"), world}, QStringLiteral("C"), program.path());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, program.filePath(QStringLiteral("ToGo/trees.wrl")) + '\n');
        QVERIFY2(
            r.err.startsWith(leftOut) &&
                r.err.endsWith("lotwright-cli: warning: 1 object was left out of the exported "
                               "world: the object library has no object of this name.\nBench\n"),
            qPrintable(r.err));
    }

    // import adds a model to the user's library (sizes in map units) and
    // prints its name; a name taken or a model without faces is refused with
    // status 1 and the reason, a wrong option with status 2.
    void importModels()
    {
        QTemporaryDir data;
        const QString models = m_dir.filePath(QStringLiteral("models"));
        QVERIFY(writeFile(models + "/box.stl", stlBox(1, 2, 3)) &&
                writeFile(models + "/points.ply", plyPoints()));
        const auto import = [&](const QStringList &arguments) {
            return run(QStringList{QStringLiteral("import")} + arguments, QStringLiteral("C"), {},
                       data.path());
        };
        const Run added = import({models + "/box.stl", "--up", "z", "--size", "2", "--name", "Crate"});
        QVERIFY2(added.exitCode == 0, qPrintable(added.err));
        QCOMPARE(added.out, QStringLiteral("Crate\n"));
        const QStringList line = QString::fromUtf8(
            readBytes(data.filePath(QStringLiteral("Lotwright/Objects/objects.txt")))).split('\t');
        QCOMPARE(line.mid(0, 2) + line.mid(3), QStringList({"1", "2", "R", "Crate.wrl"}));

        const Run taken = import({models + "/box.stl", "--name", "crate"});
        QVERIFY(taken.exitCode == 1 && taken.err.contains("already"));
        const Run points = import({models + "/points.ply"});
        QCOMPARE(points.exitCode, 1);
        QVERIFY2(points.err.startsWith("lotwright-cli: Cannot import \"" + models + "/points.ply\"") &&
                     points.err.contains("no faces"),
                 qPrintable(points.err));
        QCOMPARE(import({models + "/box.stl", "--up", "x"}).exitCode, 2);
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
        QVERIFY2(noPlayer.err.startsWith("lotwright-cli: export failed: Cannot write the web page"),
                 qPrintable(noPlayer.err));
    }

    // A full disk fails the command before anything is replaced: it says so,
    // and every old file stays byte for byte (the export's in ToGo included).
    void fullDiskKeepsTheOldFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("resave") << "resave";
        QTest::newRow("export") << "export";
    }

    void fullDiskKeepsTheOldFiles()
    {
        QFETCH(QString, command);
        if (geteuid() != 0)
            QSKIP("only the superuser can mount the small file system this needs");
        QTemporaryDir disk;
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable("a small file system cannot be mounted: " + qt_error_string(errno)));
        const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });
        const QString world = disk.filePath("world.lwf"), filler = disk.filePath("filler");
        QVERIFY(writeFile(world, handWritten('.')) && writeTextures(disk.path()) &&
                writeFile(disk.filePath("ToGo/world.wrl"), "last export") &&
                writeFile(disk.filePath("ToGo/grass.jpg"), "last grass") &&
                QDir().mkpath(disk.filePath("Objects")));
        const QStringList before = treeOf(disk.path());
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (fill.write(QByteArray(4096, 'f')) == 4096) {
        }
        fill.close();

        const Run r = command == "resave"
                          ? run({"resave", BIN_DIR "/samples/park.lwf", world})
                          : run({"export", world}, "C", disk.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("the disk is full"), qPrintable(r.err));
        QVERIFY(QFile::remove(filler));
        QCOMPARE(treeOf(disk.path()), before);
    }

    void serveUntilInterrupted()
    {
        const QString folder = m_dir.filePath("page");
        QVERIFY(writeFile(folder + "/index.html", "<p>page</p>"));
        QProcess process;
        process.start(QStringLiteral(BIN_DIR "/lotwright-cli"), {"serve", folder});
        QSignalSpy printed(&process, &QProcess::readyReadStandardOutput);
        QVERIFY(printed.wait(10000));
        const QUrl address(QString::fromUtf8(process.readLine()).trimmed());

        QNetworkAccessManager network;
        std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(address)));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(reply->readAll(), QByteArray("<p>page</p>"));

        process.terminate(); // what Ctrl+C or closing the terminal does
        QVERIFY(process.waitForFinished(5000));
    }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("headers");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("type");    // the start of Content-Type; empty: not checked
        QTest::addColumn<QByteArray>("content"); // the file sent; empty: none

        // The types browsers insist on for the player's page, scripts and
        // modules, and the world's.
        const auto file = [this](const char *method, const char *target, const char *type,
                                 const QByteArray &content, const QByteArray &host = {}) {
            QTest::newRow(QByteArray(method) + ' ' + target)
                << QByteArray(method) << QByteArray(target)
                << (host.isEmpty()
                        ? hostHeader(m_server.port())
                        : "Host: " + host + ':' + QByteArray::number(m_server.port()) + "\r\n")
                << 200 << QByteArray(type) << content;
        };
        file("GET", "/", "text/html", "contents of index.html", "localhost"); // its own name too
        file("GET", "/x.js", "text/javascript", "contents of x.js");
        file("GET", "/x.wasm", "application/wasm", "contents of x.wasm");
        file("GET", "/a%20b.wrl?_=123", "model/vrml", "contents of a b.wrl");
        file("GET", "/sub", "text/html", "contents of sub/index.html");
        file("GET", "/in.js", "text/javascript", "contents of x.js"); // a link inside
        file("HEAD", "/x.js", "text/javascript", {});

        const QByteArray host = hostHeader(m_server.port());
        const auto refused = [&host](const char *name, const char *method, const char *target,
                                     int status, const QByteArray &headers = {}) {
            QTest::newRow(name) << QByteArray(method) << QByteArray(target)
                                << (headers.isEmpty() ? host : headers) << status << QByteArray()
                                << QByteArray();
        };
        refused("missing file", "GET", "/missing.wrl", 404);
        refused("missing file, HEAD", "HEAD", "/missing.wrl", 404);
        refused("folder without index: no listing", "GET", "/empty/", 404);
        refused("dot dot", "GET", "/../secret.txt", 400);
        refused("single dot", "GET", "/./x.js", 400);
        refused("encoded dots", "GET", "/%2e%2e/secret.txt", 400);
        refused("half-encoded dots, capitals", "GET", "/.%2E/secret.txt", 400);
        refused("encoded slash", "GET", "/..%2fsecret.txt", 400);
        refused("encoded backslash", "GET", "/..%5Csecret.txt", 400);
        refused("backslash", "GET", "/..\\secret.txt", 400);
        refused("overlong UTF-8 dots", "GET", "/%c0%ae%c0%ae/secret.txt", 400);
        refused("NUL", "GET", "/x.js%00.html", 400);
        refused("double-encoded dots name a file", "GET", "/%252e%252e/secret.txt", 404);
        refused("link to a folder outside", "GET", "/outside/secret.txt", 403);
        refused("absolute path", "GET", "/etc/passwd", 404);
        for (const char *method : {"POST", "PUT", "DELETE", "OPTIONS", "PROPFIND"})
            refused(method, method, "/index.html", 405);
        const QByteArray port = QByteArray::number(m_server.port());
        const auto hostIs = [&refused](const char *name, int status, const QByteArray &value) {
            refused(name, "GET", "/index.html", status, "Host: " + value + "\r\n");
        };
        hostIs("another host name (DNS rebinding)", 421, "attacker.example:" + port);
        hostIs("another port", 421, "127.0.0.1:1");
        hostIs("no port", 421, "127.0.0.1");
        // Malformed, whatever a URL parser would make of them.
        refused("no Host", "GET", "/index.html", 400, "Accept: */*\r\n");
        refused("two Hosts", "GET", "/index.html", 400, "Host: attacker.example\r\n" + host);
        hostIs("empty Host", 400, "");
        hostIs("Host with a space", 400, "127.0.0.1 :" + port);
        hostIs("Host with a path", 400, "127.0.0.1:" + port + "/x");
        hostIs("Host with user info", 400, "attacker.example@127.0.0.1:" + port);
        hostIs("Host with two ports", 400, "127.0.0.1:" + port + ':' + port);
    }

    void answers()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, headers);
        QFETCH(int, status);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, content);
        const Reply reply = exchange(method, target, headers, m_server.port());
        QCOMPARE(reply.status, status);
        QVERIFY(reply.headers.value("content-type").startsWith(type));
        if (status == 405)
            QCOMPARE(reply.headers.value("allow"), QByteArray("GET, HEAD"));
        if (method == "HEAD")
            QVERIFY(reply.body.isEmpty());
        if (method == "HEAD" && status == 200)
            QCOMPARE(reply.headers.value("content-length"), QByteArray("16")); // x.js
        if (method == "GET" && status == 200)
            QCOMPARE(reply.body, content);
        QVERIFY(!reply.body.contains("secret"));
    }

    // A connection stays open for the next request unless the client asks
    // for it to close.
    void closesWhenAsked_data()
    {
        QTest::addColumn<QByteArray>("connection"); // the header's line, if any
        QTest::addColumn<bool>("closes");
        QTest::newRow("no Connection") << QByteArray() << false;
        QTest::newRow("keep-alive") << QByteArray("Connection: keep-alive\r\n") << false;
        QTest::newRow("close") << QByteArray("Connection: close\r\n") << true;
        QTest::newRow("close in a list, any case")
            << QByteArray("Connection: TE, Close\r\n") << true;
    }

    void closesWhenAsked()
    {
        QFETCH(QByteArray, connection);
        QFETCH(bool, closes);
        const QByteArray host = hostHeader(m_server.port());
        QTcpSocket socket;
        QVERIFY(open(socket, m_server.port()));
        socket.write(request("GET", "/x.js", host + connection));
        const Reply reply = receive(socket, "GET");
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.headers.value("connection") == "close", closes);
        if (closes) {
            QVERIFY(closedWithin(socket, 2000));
        } else {
            socket.write(request("GET", "/x.js", host));
            QCOMPARE(receive(socket, "GET").status, 200);
        }
    }

    // A connection has a little while for each whole request, from its opening
    // or the previous answer: neither idling nor trickling bytes keeps it.
    void dropsIncompleteRequests_data()
    {
        QTest::addColumn<bool>("answeredFirst");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("trickles"); // then a byte every 20 ms
        QTest::newRow("nothing sent") << false << QByteArray() << false;
        QTest::newRow("half a request") << false << QByteArray("GET /x.js HTTP/1.1\r\nHo") << false;
        QTest::newRow("trickled header")
            << false << QByteArray("GET /x.js HTTP/1.1\r\nX: ") << true;
        QTest::newRow("idle after an answer") << true << QByteArray() << false;
    }

    void dropsIncompleteRequests()
    {
        QFETCH(bool, answeredFirst);
        QFETCH(QByteArray, sent);
        QFETCH(bool, trickles);
        StaticServer server;
        server.setRequestTimeout(std::chrono::milliseconds(200));
        QVERIFY(server.start(m_dir.filePath("served")));
        QTcpSocket socket;
        QVERIFY(open(socket, server.port()));
        if (answeredFirst) {
            socket.write(request("GET", "/x.js", hostHeader(server.port())));
            QCOMPARE(receive(socket, "GET").status, 200);
        }
        QElapsedTimer idle;
        idle.start();
        socket.write(sent);
        QTimer trickle;
        QObject::connect(&trickle, &QTimer::timeout, &socket, [&socket] { socket.write("a"); });
        if (trickles)
            trickle.start(20);
        QVERIFY(closedWithin(socket, 5000));
        QCOMPARE_GE(idle.elapsed(), 100);
    }

    // Connections beyond the cap are closed at once, and the server accepts
    // again when a place is free. Near the limit of descriptors the surplus
    // waits to be accepted while accepting fails: the listening socket stays
    // readable, which must not spin the server.
    void refusesConnectionsBeyondTheCap()
    {
        const int cap = StaticServer::MaxConnections, surplus = 32; // within the backlog
        StaticServer server; // idle connections last 10 s: what closes here was refused
        QVERIFY(server.start(m_dir.filePath("served")));
        std::vector<std::unique_ptr<QTcpSocket>> clients(cap + surplus);
        for (int i = 0; i < cap + surplus; ++i) {
            clients[i] = std::make_unique<QTcpSocket>();
            if (i < cap) {
                QVERIFY(open(*clients[i], server.port()));
            } else { // queued in the kernel, not yet accepted
                clients[i]->connectToHost(QHostAddress::LocalHost, server.port());
                QVERIFY(clients[i]->waitForConnected(5000));
            }
        }
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_NOFILE, &limit) == 0);
        const rlimit saved = limit;
        limit.rlim_cur = openDescriptors() + 4;
        QVERIFY(setrlimit(RLIMIT_NOFILE, &limit) == 0);
        const auto restore = qScopeGuard([&saved] { setrlimit(RLIMIT_NOFILE, &saved); });

        for (int i = cap; i < cap + surplus; ++i)
            QVERIFY2(closedWithin(*clients[i], 2000), qPrintable(QString::number(i)));
        QCOMPARE(clients[cap - 1]->state(), QAbstractSocket::ConnectedState);
        const std::clock_t cpu = std::clock();
        QTest::qWait(300);
        QCOMPARE_LT(std::clock() - cpu, CLOCKS_PER_SEC / 10);

        clients.front()->abort();
        QTRY_COMPARE(exchange("GET", "/x.js", hostHeader(server.port()), server.port()).status,
                     200);
    }

    // Bound to 127.0.0.1 alone: other addresses of the machine, even other
    // loopback ones, reach nothing; and it stops with its owner.
    void listensOnLoopbackWhileItLives()
    {
        QCOMPARE(exchange("GET", "/", {}, m_server.port(), QHostAddress("127.0.0.2")).status, 0);

        quint16 port = 0;
        {
            StaticServer server;
            QVERIFY(server.start(m_dir.filePath("served")));
            port = server.port();
            QCOMPARE(server.url(), QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
            QCOMPARE(exchange("GET", "/", hostHeader(port), port).status, 200);
        }
        QCOMPARE(exchange("GET", "/", hostHeader(port), port).status, 0);
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
    StaticServer m_server;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
