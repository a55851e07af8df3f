// The File menu: New, Open, Save, Save As and the close question through
// every answer and failure; Export to VRML (the output name, a failure, the
// missing-library warning, the world's state kept; each preview is caught as
// it opens and closed) and "Open in Web Browser" (the page written beside the
// world, the player copied beside it, the folder served on 127.0.0.1 and the
// browser sent there).

#include "EditorHarness.h"

#include "editor/window/WebPublisher.h"
#include "editor/dialogs/frmBrowse.h"

#include <QtNetwork>

namespace {

using Answer = MessageBoxes::Answer;

QString caption(const QString &path) { return QStringLiteral("Lotwright 2.0 (%1)").arg(path); }

// Runs the export command; the files previewed, each preview closed.
QStringList exportFrom(MainEditor &editor)
{
    QStringList previewed;
    const OnShown<frmBrowse> closer([&](frmBrowse *preview) {
        QVERIFY(preview->isModal());
        previewed << preview->BrowseFile;
        preview->reject();
    });
    mnuSaveItem(editor)->trigger();
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

Q_DECLARE_METATYPE(MessageBoxes::Answer)

class TestDocuments : public QObject {
    Q_OBJECT

private slots:
    // New, Open and closing the window ask before dropping changes; the
    // answer, and the Save As dialog a Yes leads to, decide.
    void changesQuestion_data()
    {
        QTest::addColumn<QString>("command"); // "new", "open" or "exit"
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveAs"); // "ok", "bad" (cannot be written) or "" (cancelled)
        QTest::addColumn<bool>("proceeds");
        for (const QString command : {"new", "open", "exit"}) {
            const auto row = [&](const char *name, bool changed, Answer answer,
                                 const QString &saveAs, bool proceeds) {
                QTest::addRow("%s, %s", qPrintable(command), name)
                    << command << changed << answer << saveAs << proceeds;
            };
            row("nothing to save", false, Answer::Cancel, "", true);
            row("no: changes dropped", true, Answer::No, "", true);
            row("cancel", true, Answer::Cancel, "", false);
            row("yes: saved first", true, Answer::Yes, "ok", true);
            row("yes, save cancelled", true, Answer::Yes, "", false);
            row("yes, write failed", true, Answer::Yes, "bad", false);
        }
    }

    void changesQuestion()
    {
        QFETCH(QString, command);
        QFETCH(bool, changed);
        QFETCH(Answer, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, proceeds);
        EditorHarness h;
        h.writeText("plain.txt", "a file, not a folder");
        const QString other = h.writeWorld("other.lwf", World());
        MainEditor &e = h.start();
        e.document().replace(sampleWorld());                        // with an item selected
        objTree(e)->selectNode(ExistingObjects::FirstItemNode + 1); // the picture, with a handle
        e.objTree_NodeClick();
        e.document().setSaved(!changed); // nothing to ask of a saved world
        const World before = e.world();
        const QString saved = h.path(saveAs == "ok" ? "saved.lwf" : "plain.txt/saved.lwf");
        h.fake.messages.answers = {answer};
        h.fake.fileDialogs.saveAnswers = {saveAs.isEmpty() ? std::nullopt
                                                           : std::optional<QString>(saved)};
        h.fake.fileDialogs.openAnswers = {other};

        const bool exit = command == "exit";
        (exit ? mnuExitItem(e) : command == "open" ? mnuLoadItem(e) : mnuNewItem(e))->trigger();

        const QStringList &shown = h.fake.messages.shown; // the question, then a failure
        QCOMPARE(shown.size(), int(changed) + int(saveAs == "bad"));
        if (saveAs == "bad")
            QVERIFY(shown[1].startsWith("The world could not be saved.") &&
                    shown[1].contains(saved));
        QCOMPARE(QFile::exists(saved), saveAs == "ok");
        if (QFile::exists(saved))
            QCOMPARE(WorldFile::load(saved).world, before);
        QCOMPARE(e.isVisible(), !(exit && proceeds));
        if (exit && proceeds)
            return;
        QCOMPARE(e.world(), proceeds ? World() : before);
        QCOMPARE(e.document().Saved(), proceeds || !changed);
        // What proceeds starts afresh: tree and selection.
        QCOMPARE(objTree(e)->nodeCount() == 5, proceeds);
        QCOMPARE(Image1(e)->isVisible(), !proceeds);
        // A failed or cancelled save leaves the document as it was.
        QCOMPARE(e.document().CurrentFile(), proceeds && command == "open" ? other : QString());
    }

    // Open shows the world at its zoom and scroll position; a failed Open
    // changes nothing, also not the view.
    void open_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::addColumn<int>("zoom");           // of the world, if it opens
        QTest::newRow("zoomed") << QByteArray() << 2;
        QTest::newRow("missing file") << QByteArray() << 0;
        QTest::newRow("damaged file") << QByteArray("Blue Sky\t\t\tone\t0\t0\t50\t96\t0") << 0;
    }

    void open()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, zoom);
        EditorHarness h;
        World opened = sampleWorld();
        opened.Zoom = zoom;
        const QString path = h.path("next.lwf");
        if (zoom)
            h.writeWorld("next.lwf", opened, ScrollFractions{0.25, 1.0});
        else if (!content.isEmpty())
            h.writeText("next.lwf", content);
        const QString good = h.writeWorld("good.lwf", World());
        MainEditor &e = h.start(good);
        mnu400Item(e)->trigger();
        HScroll1(e)->setValue(100);
        e.document().setSaved(false);
        const World before = e.world();
        h.fake.messages.answers = {Answer::No};
        h.fake.fileDialogs.openAnswers = {path};
        mnuLoadItem(e)->trigger();

        QCOMPARE(std::tuple(e.world(), e.document().CurrentFile(), e.document().Saved()),
                 zoom ? std::tuple(opened, path, true) : std::tuple(before, good, false));
        QCOMPARE(shownCaption(e), zoom ? caption(path) : caption(good) + '*'); // still changed
        QCOMPARE(h.fake.messages.shown.size(), zoom ? 1 : 2); // the question, then the failure
        if (!zoom) {
            QVERIFY(h.fake.messages.shown[1].startsWith("The world could not be opened.") &&
                    h.fake.messages.shown[1].contains(path));
            QCOMPARE(HScroll1(e)->value(), 100);
            return;
        }
        QVERIFY(mnu200Item(e)->isChecked() && !mnu400Item(e)->isChecked());
        QCOMPARE(HScroll1(e)->value(), HScroll1(e)->maximum());
        QVERIFY(qAbs(MapScale::fraction(*VScroll1(e)) - 0.25) < 0.01);
        QCOMPARE(objTree(e)->nodeCount(), 5 + 3); // the object is missing from the empty library
    }

    void saveAndSaveAs()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document().replace(sampleWorld());
        e.document().setSaved(false);
        mnuSaveAs(e)->trigger(); // cancelled: silent, nothing changes
        QVERIFY(!e.document().Saved());
        mnu400Item(e)->trigger();
        HScroll1(e)->setValue(HScroll1(e)->maximum() / 3);
        const double horizontal = MapScale::fraction(*HScroll1(e));

        // A world never saved asks for a name; one typed without an extension
        // gets ".lwf".
        h.fake.fileDialogs.saveAnswers = {h.path("first")};
        mnuSave2Item(e)->trigger();
        const QString first = h.path("first.lwf");
        QCOMPARE(std::pair(e.document().CurrentFile(), e.document().Saved()),
                 std::pair(first, true));
        QCOMPARE(shownCaption(e), caption(first));
        QCOMPARE(WorldFile::load(first).fractions.horizontal, horizontal);

        TextInfo changed = e.world().Texts[0];
        changed.Text = "Changed";
        e.document().change(0, changed, "Edit");
        mnuSave2Item(e)->trigger(); // now without a dialog
        QCOMPARE(h.fake.fileDialogs.filters.size(), 2);
        QCOMPARE(WorldFile::load(first).world, e.world());
        QVERIFY(e.document().Saved() && h.fake.messages.shown.isEmpty());
    }

    // The Edit menu names what it will undo or redo; the map and the tree
    // follow every command, undo and redo without being told.
    void undoAndRedoFromTheEditMenu()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.Shapes = {ShapeInfo{"Park Bench", "Park Bench.wrl", 2, 2, 0x0000ff, "C", false}};
        const QString saved = h.path("park.lwf");
        h.fake.fileDialogs.saveAnswers = {saved};
        const QImage empty = h.mapImage();

        e.document().place(ObjectInfo{"Park Bench", 50, 50, 0, {}, {}});
        QCOMPARE(mnuUndo(e)->text(), QStringLiteral("&Undo Place Park Bench"));
        e.hideMarkers();
        const QImage placed = h.mapImage();
        QVERIFY(placed != empty);
        mnuSave2Item(e)->trigger();
        e.document().place(CubeInfo{"Wall", 10, 20, 10, 20, 0});
        QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(e.document().Saved()); // back where the file is
        QCOMPARE(h.mapImage(), placed);
        mnuUndo(e)->trigger();
        QCOMPARE(h.mapImage(), empty);
        QCOMPARE(objTree(e)->nodeCount(), 5);
        QTest::keyClick(&e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(objTree(e)->nodeText(objTree(e)->selectedNode()), QStringLiteral("Park Bench"));
        QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(objTree(e)->nodeText(objTree(e)->selectedNode()), QStringLiteral("Wall"));
        QVERIFY(!mnuRedo(e)->isEnabled());

        h.fake.messages.answers = {Answer::No};
        mnuNewItem(e)->trigger();
        QVERIFY(!mnuUndo(e)->isEnabled() && !mnuRedo(e)->isEnabled()); // New starts afresh
    }

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
        e.document().setSaved(path.isEmpty());

        QCOMPARE(exportFrom(e), blocked ? QStringList() : QStringList{expected});
        QCOMPARE(QFileInfo(expected).isFile(), !blocked);
        QCOMPARE(h.fake.messages.shown.size(), int(blocked));
        if (blocked)
            QVERIFY(h.fake.messages.shown[0].contains(expected) &&
                    h.fake.messages.shown[0].contains("could not be exported"));
        QCOMPARE(e.document().Saved(), path.isEmpty());
        QCOMPARE(e.document().CurrentFile(), path);
    }

    // An installed program folder is never written: the export goes to the
    // user's ToGo, and a shipped sample is saved as the user's own copy,
    // proposed beside that ToGo, never over itself.
    void programFolderNeverWritten()
    {
        EditorHarness h;
        QTemporaryDir user;
        h.toGo = user.filePath("Lotwright/ToGo");
        QVERIFY(writeTextures(h.folder.path()) && QDir(h.folder.path()).mkdir("samples"));
        const QString sample = h.writeWorld("samples/park.lwf", World());
        MainEditor &e = h.start(sample);
        QCOMPARE(exportFrom(e), QStringList{h.toGo + "/park.wrl"});

        e.document().replace(sampleWorld());
        const QString copy = user.filePath("Lotwright/park.lwf");
        h.fake.fileDialogs.saveAnswers = {sample, copy}; // the first is refused
        mnuSave2Item(e)->trigger();
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), copy);
        QVERIFY(h.fake.messages.shown.join("").contains("never written"));
        mnuSave2Item(e)->trigger();
        QCOMPARE(std::pair(e.document().CurrentFile(), e.document().Saved()), std::pair(copy, true));
        QCOMPARE(WorldFile::load(sample).world, World());
    }

    // Objects the library lacks are named once each, ten at the most; the export goes on.
    void missingLibraryWarning()
    {
        EditorHarness h;
        QVERIFY(writeTextures(h.folder.path()));
        World world;
        world.Objects = {{"Oak", 10, 10, 0, {}, {}}, {"Oak", 10, 10, 0, {}, {}}};
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

QTEST_MAIN(TestDocuments)
#include "tst_ui_documents.moc"
