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

// Sends one raw GET or HEAD request and reads one answer.
Reply exchange(const QByteArray &method, const QByteArray &target, const QByteArray &host,
               quint16 port, const QHostAddress &address = QHostAddress::LocalHost)
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
        for (const QByteArray &line : lines.mid(1))
            reply.headers.insert(line.left(line.indexOf(':')).trimmed().toLower(),
                                 line.mid(line.indexOf(':') + 1).trimmed());
        reply.body = data.mid(end + 4);
        return method == "HEAD" || reply.body.size() >= reply.headers["content-length"].toInt();
    };
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        socket.write(method + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        data += socket.readAll();
        if (complete())
            loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit); // the deadline
    socket.connectToHost(address, port);
    loop.exec();
    if (!complete())
        reply.status = 0;
    return reply;
}

} // namespace

class TestWebServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString served = m_dir.filePath("served");
        for (const char *name : {"index.html", "a b.wrl", "x.js", "x.wasm", "sub/index.html"})
            QVERIFY(writeFile(served + '/' + name, QByteArray("contents of ") + name));
        QVERIFY(QDir().mkpath(served + "/empty"));
        QVERIFY(writeFile(m_dir.filePath("secret.txt"), "secret"));
        QVERIFY(QFile::link(m_dir.path(), served + "/outside"));
        QVERIFY(QFile::link(served + "/x.js", served + "/in.js"));
        QVERIFY2(m_server.start(served), qPrintable(m_server.errorString()));
        m_host = "127.0.0.1:" + QByteArray::number(m_server.port());
    }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("type");    // the start of Content-Type; empty: not checked
        QTest::addColumn<QByteArray>("content"); // the file sent; empty: none

        // The types browsers insist on for the player's page, scripts and
        // modules, and the world's.
        const auto file = [this](const char *method, const char *target, const char *type,
                                 const QByteArray &content) {
            QTest::newRow(QByteArray(method) + ' ' + target)
                << QByteArray(method) << QByteArray(target) << m_host << 200 << QByteArray(type)
                << content;
        };
        file("GET", "/", "text/html", "contents of index.html");
        file("GET", "/x.js", "text/javascript", "contents of x.js");
        file("GET", "/x.wasm", "application/wasm", "contents of x.wasm");
        file("GET", "/a%20b.wrl?_=123", "model/vrml", "contents of a b.wrl");
        file("GET", "/sub", "text/html", "contents of sub/index.html");
        file("GET", "/in.js", "text/javascript", "contents of x.js"); // a link inside
        file("HEAD", "/x.js", "text/javascript", {});
        QTest::newRow("localhost is its own name")
            << QByteArray("GET") << QByteArray("/")
            << "localhost:" + QByteArray::number(m_server.port()) << 200 << QByteArray("text/html")
            << QByteArray("contents of index.html");

        const auto refused = [this](const char *name, const char *method, const char *target,
                                    int status, const QByteArray &host = {}) {
            QTest::newRow(name) << QByteArray(method) << QByteArray(target)
                                << (host.isEmpty() ? m_host : host) << status << QByteArray()
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
        const Reply reply = exchange(method, target, host, m_server.port());
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

    // Bound to 127.0.0.1 alone: other addresses of the machine, even other
    // loopback ones, reach nothing; and it stops with its owner.
    void listensOnLoopbackWhileItLives()
    {
        QCOMPARE(exchange("GET", "/", m_host, m_server.port(), QHostAddress("127.0.0.2")).status,
                 0);

        quint16 port = 0;
        {
            StaticServer server;
            QVERIFY(server.start(m_dir.filePath("served")));
            port = server.port();
            QCOMPARE(server.url(), QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
            QCOMPARE(exchange("GET", "/", "127.0.0.1:" + QByteArray::number(port), port).status,
                     200);
        }
        QCOMPARE(exchange("GET", "/", "127.0.0.1", port).status, 0);
    }

private:
    QTemporaryDir m_dir;
    StaticServer m_server;
    QByteArray m_host;
};

QTEST_GUILESS_MAIN(TestWebServer)
#include "tst_web_server.moc"
