// The document commands: New, Open, Save, Save As and the close question,
// through every answer and every failure.

#include "EditorHarness.h"

namespace {

using Answer = MessageBoxes::Answer;

QString caption(const QString &path) { return QStringLiteral("Lotwright 2.0 (%1)").arg(path); }

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
        e.document.replace(sampleWorld()); // zoomed, with an item selected
        e.mnu200Item->trigger();
        e.objTree->selectNode(ExistingObjects::FirstItemNode + 1); // the picture, with a handle
        e.objTree_NodeClick();
        e.document.setSaved(!changed); // nothing to ask of a saved world
        const World before = e.world();
        const QString saved = h.path(saveAs == "ok" ? "saved.lwf" : "plain.txt/saved.lwf");
        h.fake.messages.answers = {answer};
        h.fake.fileDialogs.saveAnswers = {saveAs.isEmpty() ? std::nullopt
                                                           : std::optional<QString>(saved)};
        h.fake.fileDialogs.openAnswers = {other};

        const bool exit = command == "exit";
        (exit ? e.mnuExitItem : command == "open" ? e.mnuLoadItem : e.mnuNewItem)->trigger();

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
        QCOMPARE(e.document.Saved(), proceeds || !changed);
        // What proceeds starts afresh: zoom, tree and selection.
        QCOMPARE(e.mnu100Item->isChecked(), proceeds);
        QCOMPARE(e.objTree->nodeCount() == 5, proceeds);
        QCOMPARE(e.Image1->isVisible(), !proceeds);
        // A failed or cancelled save leaves the document as it was.
        QCOMPARE(e.document.CurrentFile(), proceeds && command == "open" ? other : QString());
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
        e.mnu400Item->trigger();
        e.HScroll1->setValue(100);
        e.document.setSaved(false);
        const World before = e.world();
        h.fake.messages.answers = {Answer::No};
        h.fake.fileDialogs.openAnswers = {path};
        e.mnuLoadItem->trigger();

        QCOMPARE(std::tuple(e.world(), e.document.CurrentFile(), e.document.Saved()),
                 zoom ? std::tuple(opened, path, true) : std::tuple(before, good, false));
        QCOMPARE(e.windowTitle(), caption(zoom ? path : good));
        QCOMPARE(h.fake.messages.shown.size(), zoom ? 1 : 2); // the question, then the failure
        if (!zoom) {
            QVERIFY(h.fake.messages.shown[1].startsWith("The world could not be opened."));
            QVERIFY(h.fake.messages.shown[1].contains(path));
            QCOMPARE(e.HScroll1->value(), 100);
            return;
        }
        QVERIFY(e.mnu200Item->isChecked() && !e.mnu400Item->isChecked());
        QCOMPARE(e.HScroll1->value(), e.HScroll1->maximum());
        QVERIFY(qAbs(MapScale::fraction(*e.VScroll1) - 0.25) < 0.01);
        QCOMPARE(e.objTree->nodeCount(), 5 + 3); // the object is missing from the empty library
    }

    void saveAndSaveAs()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.replace(sampleWorld());
        e.document.setSaved(false);
        e.mnuSaveAs->trigger(); // cancelled: silent, nothing changes
        QVERIFY(!e.document.Saved());
        e.mnu400Item->trigger();
        e.HScroll1->setValue(e.HScroll1->maximum() / 3);
        const double horizontal = MapScale::fraction(*e.HScroll1);

        // A world never saved asks for a name, proposed in the samples folder;
        // a name typed without an extension gets ".lwf".
        h.fake.fileDialogs.saveAnswers = {h.path("first")};
        e.mnuSave2Item->trigger();
        const QString first = h.path("first.lwf");
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), h.path("samples/world.lwf"));
        QCOMPARE(std::pair(e.document.CurrentFile(), e.document.Saved()), std::pair(first, true));
        QCOMPARE(e.windowTitle(), caption(first));
        QCOMPARE(WorldFile::load(first).fractions.horizontal, horizontal);

        TextInfo changed = e.world().Texts[0];
        changed.Text = "Changed";
        e.document.change(0, changed, "Edit");
        e.mnuSave2Item->trigger(); // now without a dialog
        QCOMPARE(h.fake.fileDialogs.filters.size(), 2);
        QCOMPARE(WorldFile::load(first).world, e.world());
        QVERIFY(e.document.Saved() && h.fake.messages.shown.isEmpty());

        // Save As proposes the current file; Open starts in its folder.
        e.mnuSaveAs->trigger();
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), first);
        e.mnuLoadItem->trigger();
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), h.folder.path());
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
        QVERIFY(!e.mnuUndo->isEnabled() && !e.mnuRedo->isEnabled());
        const QImage empty = h.mapImage();

        e.document.place(ObjectInfo{"Park Bench", 50, 50, 0, {}, {}});
        QCOMPARE(e.mnuUndo->text(), QStringLiteral("&Undo Place Park Bench"));
        e.hideMarkers();
        const QImage placed = h.mapImage();
        QVERIFY(placed != empty);
        e.mnuSave2Item->trigger();
        e.document.place(CubeInfo{"Wall", 10, 20, 10, 20, 0});
        QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(e.document.Saved()); // back where the file is
        QCOMPARE(h.mapImage(), placed);
        e.mnuUndo->trigger();
        QCOMPARE(h.mapImage(), empty);
        QCOMPARE(e.objTree->nodeCount(), 5);
        QTest::keyClick(&e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e.objTree->nodeText(e.objTree->selectedNode()), QStringLiteral("Park Bench"));
        QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(e.objTree->nodeText(e.objTree->selectedNode()), QStringLiteral("Wall"));
        QVERIFY(!e.mnuRedo->isEnabled());

        h.fake.messages.answers = {Answer::No};
        e.mnuNewItem->trigger();
        QVERIFY(!e.mnuUndo->isEnabled() && !e.mnuRedo->isEnabled()); // New starts afresh
    }

    // Open Recent lists the last eight worlds opened, newest first, a missing one greyed.
    void recentWorlds()
    {
        EditorHarness h;
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            paths << h.writeWorld(QString("w%1.lwf").arg(i), World());
        MainEditor &e = h.start(paths[0]);
        for (const int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 5}) {
            h.fake.fileDialogs.openAnswers = {paths[i]};
            e.mnuLoadItem->trigger();
        }
        QFile::remove(paths[9]);
        emit e.mnuRecent->aboutToShow();
        const QList<QAction *> entries = e.mnuRecent->actions();
        QCOMPARE(entries.size(), 8 + 2); // a separator, "Clear List"
        QVERIFY(entries[0]->text().endsWith(paths[5]) && !entries[1]->isEnabled());
        entries[7]->trigger();
        QCOMPARE(e.document.CurrentFile(), paths[2]);
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_ui_documents.moc"
