// The local server behind "Open in Web Browser" and `lotwright-cli serve`, as a
// browser and an intruder see it: raw HTTP over QTcpSocket, so that no client
// library tidies the paths first.

#include "TestSupport.h"

#include "export/StaticServer.h"

#include <QtNetwork>
#include <QtTest>

namespace {

struct Reply {
    int status = 0;                       // 0: no answer
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

// Sends one raw request and reads one answer (a HEAD answer has no body).
Reply exchange(const QHostAddress &address, quint16 port, const QByteArray &request,
               bool head = false)
{
    QTcpSocket socket;
    QByteArray data;
    Reply reply;
    QEventLoop loop;
    const auto complete = [&] {
        const int end = data.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const QList<QByteArray> lines = data.left(end).split('\n');
        reply.status = lines.value(0).split(' ').value(1).toInt();
        for (const QByteArray &line : lines.mid(1)) {
            const int colon = line.indexOf(':');
            reply.headers.insert(line.left(colon).trimmed().toLower(),
                                 line.mid(colon + 1).trimmed());
        }
        const int length = head ? 0 : reply.headers.value("content-length").toInt();
        reply.body = data.mid(end + 4);
        return reply.body.size() >= length;
    };
    QObject::connect(&socket, &QTcpSocket::connected, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        data += socket.readAll();
        if (complete())
            loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    socket.connectToHost(address, port);
    loop.exec();
    if (!complete())
        reply.status = 0;
    return reply;
}

QByteArray request(const QByteArray &method, const QByteArray &target, const QByteArray &host)
{
    return method + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n";
}

} // namespace

class TestWebServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString served = m_dir.filePath("served");
        const QStringList files{"index.html",     "world.wrl",    "a b.wrl", "x.js",
                                "x.css",          "x.wasm",       "x.svg",   "x.woff2",
                                "x.jpg",          "x.gif",        "x.wav",   "x.mid",
                                "sub/index.html", "sub/page.html"};
        for (const QString &name : files)
            QVERIFY(writeFile(served + '/' + name, "contents of " + name.toUtf8()));
        QVERIFY(QDir().mkpath(served + "/empty"));
        QVERIFY(writeFile(m_dir.filePath("secret.txt"), "secret"));
        QVERIFY(QFile::link(m_dir.filePath("secret.txt"), served + "/out.txt"));
        QVERIFY(QFile::link(m_dir.path(), served + "/outside"));
        QVERIFY(QFile::link(served + "/x.js", served + "/in.js"));
        QVERIFY2(m_server.start(served), qPrintable(m_server.errorString()));
        m_host = "127.0.0.1:" + QByteArray::number(m_server.port());
    }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("host"); // empty: the server's own
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("type");    // the start of Content-Type; empty: not checked
        QTest::addColumn<QByteArray>("content"); // the file sent; empty: none

        const auto file = [](const char *method, const char *target, const char *type,
                             const QByteArray &content) {
            QTest::newRow(QByteArray(method) + ' ' + target)
                << QByteArray(method) << QByteArray(target) << QByteArray() << 200
                << QByteArray(type) << content;
        };
        // The types browsers insist on for the player's scripts, styles and
        // modules, and those of a world's own files.
        file("GET", "/", "text/html", "contents of index.html");
        file("GET", "/index.html", "text/html", "contents of index.html");
        file("GET", "/x.js", "text/javascript", "contents of x.js");
        file("GET", "/x.css", "text/css", "contents of x.css");
        file("GET", "/x.wasm", "application/wasm", "contents of x.wasm");
        file("GET", "/x.svg", "image/svg+xml", "contents of x.svg");
        file("GET", "/x.woff2", "font/woff2", "contents of x.woff2");
        file("GET", "/world.wrl", "model/vrml", "contents of world.wrl");
        file("GET", "/x.jpg", "image/jpeg", "contents of x.jpg");
        file("GET", "/x.gif", "image/gif", "contents of x.gif");
        file("GET", "/x.wav", "audio/wav", "contents of x.wav");
        file("GET", "/x.mid", "audio/midi", "contents of x.mid");
        file("GET", "/a%20b.wrl?_=123", "model/vrml", "contents of a b.wrl");
        file("GET", "/sub", "text/html", "contents of sub/index.html");
        file("GET", "/sub/page.html", "text/html", "contents of sub/page.html");
        file("GET", "/in.js", "text/javascript", "contents of x.js"); // a link inside
        file("HEAD", "/x.js", "text/javascript", {});

        const auto refused = [](const char *name, const char *method, const char *target,
                                int status, const char *host = "") {
            QTest::newRow(name) << QByteArray(method) << QByteArray(target) << QByteArray(host)
                                << status << QByteArray() << QByteArray();
        };
        refused("missing file", "GET", "/missing.wrl", 404);
        refused("missing file, HEAD", "HEAD", "/missing.wrl", 404);
        refused("folder without index: no listing", "GET", "/empty/", 404);
        refused("dot dot", "GET", "/../secret.txt", 400);
        refused("dot dot after a folder", "GET", "/sub/../../secret.txt", 400);
        refused("single dot", "GET", "/./x.js", 400);
        refused("encoded dots", "GET", "/%2e%2e/secret.txt", 400);
        refused("encoded dots, capitals", "GET", "/%2E%2E/secret.txt", 400);
        refused("half-encoded dots", "GET", "/.%2e/secret.txt", 400);
        refused("encoded slash", "GET", "/..%2fsecret.txt", 400);
        refused("encoded backslash", "GET", "/..%5Csecret.txt", 400);
        refused("backslash", "GET", "/..\\secret.txt", 400);
        refused("overlong UTF-8 dots", "GET", "/%c0%ae%c0%ae/secret.txt", 400);
        refused("NUL", "GET", "/x.js%00.html", 400);
        refused("double-encoded dots name a file", "GET", "/%252e%252e/secret.txt", 404);
        refused("link to a file outside", "GET", "/out.txt", 403);
        refused("link to a folder outside", "GET", "/outside/secret.txt", 403);
        refused("absolute path", "GET", "/etc/passwd", 404);
        for (const char *method : {"POST", "PUT", "DELETE", "OPTIONS", "PATCH", "PROPFIND"})
            refused(method, method, "/index.html", 405);
        refused("another host name (DNS rebinding)", "GET", "/index.html", 421, "attacker.example");
        refused("another port", "GET", "/index.html", 421, "127.0.0.1:1");
    }

    void answers()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, host);
        QFETCH(int, status);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, content);
        const bool head = method == "HEAD";
        const Reply reply = exchange(QHostAddress::LocalHost, m_server.port(),
                                     request(method, target, host.isEmpty() ? m_host : host), head);
        QCOMPARE(reply.status, status);
        QVERIFY(reply.headers.value("content-type").startsWith(type));
        if (status == 405)
            QCOMPARE(reply.headers.value("allow"), QByteArray("GET, HEAD"));
        if (head) {
            QVERIFY(reply.body.isEmpty());
            if (status == 200)
                QCOMPARE(reply.headers.value("content-length"), QByteArray::number(16)); // x.js
        } else if (status == 200) {
            QCOMPARE(reply.body, content);
        }
        QVERIFY(!reply.body.contains("secret"));
    }

    void localhostIsItsOwnName()
    {
        const QByteArray host = "localhost:" + QByteArray::number(m_server.port());
        QCOMPARE(
            exchange(QHostAddress::LocalHost, m_server.port(), request("GET", "/", host)).status,
            200);
    }

    // Bound to 127.0.0.1 alone: other addresses of the machine, even other
    // loopback ones, reach nothing.
    void loopbackOnly()
    {
        QVERIFY(!m_server.servers().isEmpty());
        for (const QTcpServer *tcp : m_server.servers())
            QCOMPARE(tcp->serverAddress(), QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(exchange(QHostAddress("127.0.0.2"), m_server.port(), request("GET", "/", m_host))
                     .status,
                 0);
    }

    void stopsWithItsOwner()
    {
        quint16 port = 0;
        {
            StaticServer server;
            QVERIFY(server.start(m_dir.filePath("served")));
            port = server.port();
            QCOMPARE(server.url(), QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
            QCOMPARE(exchange(QHostAddress::LocalHost, port,
                              request("GET", "/", "127.0.0.1:" + QByteArray::number(port)))
                         .status,
                     200);
        }
        QCOMPARE(exchange(QHostAddress::LocalHost, port, request("GET", "/", "127.0.0.1")).status,
                 0);
    }

    void missingFolder()
    {
        StaticServer server;
        const QString missing = m_dir.filePath("no such folder");
        QVERIFY(!server.start(missing));
        QVERIFY2(server.errorString().contains(missing), qPrintable(server.errorString()));
        QVERIFY(!server.isListening());
    }

private:
    QTemporaryDir m_dir;
    StaticServer m_server;
    QByteArray m_host;
};

QTEST_GUILESS_MAIN(TestWebServer)
#include "tst_web_server.moc"
