// "Open in Web Browser": the page written beside the world, the player copied
// beside it, the folder served on 127.0.0.1 and the browser sent there.

#include "TestSupport.h"

#include "export/WebPublisher.h"
#include "platform/FakePlatform.h"

#include <QtNetwork>
#include <QtTest>

class TestWebPublisher : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<QTemporaryDir>();
        QVERIFY(writeFile(player("x_ite.min.js"), "player"));
        QVERIFY(writeFile(player("assets/images/logo.svg"), "<svg/>"));
        // A name that needs escaping in the page, and a file of an older player.
        m_world = m_program->filePath("ToGo/a&b <c>.wrl");
        QVERIFY(writeFile(m_world, "#VRML V2.0 utf8\r\n"));
        QVERIFY(writeFile(m_program->filePath("ToGo/x_ite/old.js"), "old"));
    }

    void opensTheServedPage()
    {
        FakePlatform fake;
        WebPublisher publisher(fake.platform(), m_program->path());
        QVERIFY(publisher.openInWebBrowser(nullptr, m_world));
        const QUrl page = publisher.pageUrl();
        QCOMPARE(page.host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(fake.shell.opened, QStringList{page.toString()});
        QVERIFY(fake.messages.shown.isEmpty());

        const QString toGo = m_program->filePath("ToGo/");
        QCOMPARE(readBytes(toGo + "x_ite/assets/images/logo.svg"), QByteArray("<svg/>"));
        QVERIFY(!QFile::exists(toGo + "x_ite/old.js"));
        const QByteArray html = get(page);
        QVERIFY(html.contains("<title>a&amp;b &lt;c&gt;</title>"));
        QVERIFY(html.contains("src=\"a%26b%20%3Cc%3E.wrl\""));
        QCOMPARE(html, readBytes(toGo + "index.html"));
        QCOMPARE(get(page.resolved(QUrl("a%26b%20%3Cc%3E.wrl"))), readBytes(m_world));

        // A second click reuses the running server.
        QVERIFY(publisher.openInWebBrowser(nullptr, m_world));
        QCOMPARE(publisher.pageUrl(), page);
        QCOMPARE(fake.shell.opened.size(), 2);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("message"); // a part of the message shown
        QTest::newRow("no player") << "player"
                                   << "x_ite";
        QTest::newRow("world not exported") << "world"
                                            << "export the world first";
        QTest::newRow("no browser") << "browser"
                                    << "http://127.0.0.1:";
    }

    void failures()
    {
        QFETCH(QString, problem);
        QFETCH(QString, message);
        FakePlatform fake;
        if (problem == "player")
            QVERIFY(QDir(m_program->filePath("x_ite")).removeRecursively());
        if (problem == "world")
            QVERIFY(QFile::remove(m_world));
        fake.shell.result = problem != "browser";
        WebPublisher publisher(fake.platform(), m_program->path());
        QVERIFY(!publisher.openInWebBrowser(nullptr, m_world));
        QCOMPARE(fake.messages.shown.size(), 1);
        QVERIFY2(fake.messages.shown[0].contains(message), qPrintable(fake.messages.shown[0]));
        QCOMPARE(fake.shell.opened.size(), problem == "browser" ? 1 : 0);
    }

private:
    QString player(const QString &name) const { return m_program->filePath("x_ite/" + name); }

    static QByteArray get(const QUrl &url)
    {
        QNetworkAccessManager network;
        std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        if (!finished.wait(5000) || reply->error() != QNetworkReply::NoError)
            return {};
        return reply->readAll();
    }

    std::unique_ptr<QTemporaryDir> m_program;
    QString m_world;
};

QTEST_MAIN(TestWebPublisher)
#include "tst_ui_webpublisher.moc"
