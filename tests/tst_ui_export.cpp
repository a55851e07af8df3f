// File > Export to VRML in the main window (the output name, a failure, the
// missing-library warning, the world's state kept; each preview is caught as
// it opens and closed) and "Open in Web Browser" (the page written beside the
// world, the player copied beside it, the folder served on 127.0.0.1 and the
// browser sent there).

#include "EditorHarness.h"

#include "export/WebPublisher.h"
#include "export/frmBrowse.h"

#include <QtNetwork>

namespace {

// Runs the export command; the files previewed, each preview closed.
QStringList exportFrom(MainEditor &editor)
{
    QStringList previewed;
    const OnShown<frmBrowse> closer([&](frmBrowse *preview) {
        QVERIFY(preview->isModal());
        previewed << preview->BrowseFile;
        preview->reject();
    });
    editor.mnuSaveItem->trigger();
    return previewed;
}

QByteArray get(const QUrl &url)
{
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(network.get(QNetworkRequest(url)));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(5000) || reply->error() != QNetworkReply::NoError)
        return {};
    return reply->readAll();
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    // The output is named after the world's file; a failure shows a message
    // naming the file, and no preview. The world's state is left as it was.
    void outputName_data()
    {
        QTest::addColumn<QString>("worldFile"); // empty: never saved
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("blocked"); // a folder where the output goes
        QTest::newRow("never saved") << "" << "world.wrl" << false;
        QTest::newRow("saved, with unsaved changes") << "my park.lwf" << "my park.wrl" << false;
        QTest::newRow("cannot be written") << "" << "world.wrl" << true;
    }

    void outputName()
    {
        QFETCH(QString, worldFile);
        QFETCH(QString, output);
        QFETCH(bool, blocked);
        EditorHarness h;
        QVERIFY(writeTextures(h.folder.path()));
        QTemporaryDir worlds;
        const QString path = worldFile.isEmpty() ? QString() : worlds.filePath(worldFile);
        if (!path.isEmpty())
            QVERIFY(WorldFile::save(path, World(), {}).ok());
        const QString expected = h.path("ToGo/" + output);
        QVERIFY(!blocked || QDir().mkpath(expected));
        MainEditor &e = h.start(path);
        e.document.setSaved(path.isEmpty());

        QCOMPARE(exportFrom(e), blocked ? QStringList() : QStringList{expected});
        QCOMPARE(QFileInfo(expected).isFile(), !blocked);
        QCOMPARE(h.fake.messages.shown.size(), int(blocked));
        if (blocked)
            QVERIFY(h.fake.messages.shown[0].contains(expected) &&
                    h.fake.messages.shown[0].contains("could not be exported"));
        QCOMPARE(e.document.Saved(), path.isEmpty());
        QCOMPARE(e.document.CurrentFile(), path);
    }

    // Objects the library lacks are named once each, ten at the most; the export goes on.
    void missingLibraryWarning()
    {
        EditorHarness h;
        QVERIFY(writeTextures(h.folder.path()));
        World world;
        world.Objects.clear();
        for (const QString &name : QStringList{"Oak", "Oak"})
            world.Objects.push_back(ObjectInfo{name, 10, 10, 0, {}, {}});
        for (int i = 1; i <= 11; ++i)
            world.Objects.push_back(ObjectInfo{QString("Thing %1").arg(i), 10, 10, 0, {}, {}});
        MainEditor &e = h.start(h.writeWorld("odd.lwf", world));

        QCOMPARE(exportFrom(e).size(), 1);
        QCOMPARE(h.fake.messages.shown.size(), 1);
        const QString message = h.fake.messages.shown[0];
        QVERIFY2(message.contains("13 objects were left out"), qPrintable(message));
        QVERIFY(message.contains("\nOak (2 times)\n") && message.contains("\nThing 9\n"));
        QVERIFY(!message.contains("Thing 10") && message.endsWith("\nand 2 more"));
    }

    // A world name that needs escaping; a file of an older player goes; without
    // a browser the user is told where the page is.
    void webPageServed()
    {
        QTemporaryDir program;
        const QString toGo = program.filePath("ToGo/");
        const QString world = toGo + "a&b <c>.wrl";
        QVERIFY(writeFile(program.filePath("x_ite/x_ite.min.js"), "player"));
        QVERIFY(writeFile(program.filePath("x_ite/assets/images/logo.svg"), "<svg/>"));
        QVERIFY(writeFile(world, "#VRML V2.0 utf8\r\n"));
        QVERIFY(writeFile(toGo + "x_ite/old.js", "old"));
        FakePlatform fake;
        WebPublisher publisher(fake.platform(), program.path());
        QVERIFY(publisher.openInWebBrowser(nullptr, world));
        const QUrl page = publisher.pageUrl();
        QCOMPARE(page.host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(fake.shell.opened, QStringList{page.toString()});
        QVERIFY(fake.messages.shown.isEmpty());

        QCOMPARE(readBytes(toGo + "x_ite/assets/images/logo.svg"), QByteArray("<svg/>"));
        QVERIFY(!QFile::exists(toGo + "x_ite/old.js"));
        const QByteArray html = get(page);
        QVERIFY(html.contains("<title>a&amp;b &lt;c&gt;</title>"));
        QVERIFY(html.contains("src=\"a%26b%20%3Cc%3E.wrl\""));
        QCOMPARE(html, readBytes(toGo + "index.html"));
        QCOMPARE(get(page.resolved(QUrl("a%26b%20%3Cc%3E.wrl"))), readBytes(world));

        QVERIFY(publisher.openInWebBrowser(nullptr, world)); // reuses the running server
        QCOMPARE(publisher.pageUrl(), page);
        fake.shell.result = false; // no browser: a failure that gives the address to type
        QVERIFY(!publisher.openInWebBrowser(nullptr, world));
        QCOMPARE(fake.shell.opened.size(), 3);
        QVERIFY(fake.messages.shown.value(0).contains(page.toString()));
    }
};

QTEST_MAIN(TestExport)
#include "tst_ui_export.moc"
