// The document commands: New, Open, Save, Save As and the close question,
// through every answer and every failure.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "mapview/MapScale.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

namespace {

using Answer = MessageBoxes::Answer;
const QString NewCaption = QStringLiteral("Lotwright 2.0 (New)");
const QString Filter = QStringLiteral("Lotwright Files (*.lwf}|*.lwf");
const QString SaveChanges = QStringLiteral("Save changes to the current world?");
const QString SaveBeforeExit = QStringLiteral("Save Changes Before Exiting?");

QString caption(const QString &path) { return QStringLiteral("Lotwright 2.0 (%1)").arg(path); }

// A world changed by the user since it was last saved.
void makeChanges(MainEditor &e)
{
    e.world = sampleWorld();
    e.Saved = false;
    e.Render2D(true, 0, -1);
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT

private slots:
    void newResetsEverything()
    {
        EditorHarness h;
        MainEditor &e = h.start(h.writeWorld(QStringLiteral("park.lwf"), sampleWorld()));
        e.mnu200Item->trigger();
        e.world.Sky = QStringLiteral("Red Sky");
        e.world.Music = QStringLiteral("/music/tune.mid");
        e.Render2D(true, 1, -1);
        e.mnuNewItem->trigger(); // nothing changed since the file was read: no question
        QCOMPARE(h.fake.messages.shown, QStringList());
        QCOMPARE(e.world, World());
        QCOMPARE(e.CurrentFile, QString());
        QVERIFY(e.Saved);
        QCOMPARE(e.windowTitle(), NewCaption);
        QVERIFY(e.mnu100Item->isChecked());
        QVERIFY(!e.mnu200Item->isChecked());
        QCOMPARE(e.objTree->nodeCount(), 5);
        QVERIFY(!e.shpSelector->isVisible());
        QCOMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);
    }

    // New and Open ask before dropping changes; the answer decides.
    void changesQuestion_data()
    {
        QTest::addColumn<bool>("open");        // Open instead of New
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saveChosen");  // the Save As dialog gives a path
        QTest::addColumn<bool>("proceeds");

        for (const bool open : {false, true}) {
            const char *command = open ? "open" : "new";
            QTest::addRow("%s, no: changes dropped", command) << open << Answer::No << false << true;
            QTest::addRow("%s, cancel: nothing happens", command) << open << Answer::Cancel << false << false;
            QTest::addRow("%s, yes: saved first", command) << open << Answer::Yes << true << true;
            QTest::addRow("%s, yes, save cancelled: stops", command) << open << Answer::Yes << false << false;
        }
    }

    void changesQuestion()
    {
        QFETCH(bool, open);
        QFETCH(Answer, answer);
        QFETCH(bool, saveChosen);
        QFETCH(bool, proceeds);
        EditorHarness h;
        const QString other = h.writeWorld(QStringLiteral("other.lwf"), World());
        MainEditor &e = h.start();
        makeChanges(e);
        const QString saved = h.path(QStringLiteral("saved.lwf"));
        h.fake.messages.answers = {answer};
        h.fake.fileDialogs.saveAnswers = {saveChosen ? std::optional<QString>(saved) : std::nullopt};
        h.fake.fileDialogs.openAnswers = {other};

        (open ? e.mnuLoadItem : e.mnuNewItem)->trigger();

        QCOMPARE(h.fake.messages.shown, QStringList{SaveChanges});
        QCOMPARE(QFile::exists(saved), answer == Answer::Yes && saveChosen);
        if (QFile::exists(saved)) {
            const WorldRead read = WorldFile::load(saved);
            QCOMPARE(read.world, sampleWorld());
        }
        if (proceeds) {
            QVERIFY(e.Saved);
            QCOMPARE(e.world, World());
            QCOMPARE(e.CurrentFile, open ? other : QString());
        } else {
            QVERIFY(!e.Saved);
            QCOMPARE(e.world, sampleWorld());
            QCOMPARE(e.windowTitle(), NewCaption);
        }
    }

    void openReadsTheWholeView()
    {
        EditorHarness h;
        World world = sampleWorld();
        world.Zoom = 2;
        const QString path = h.writeWorld(QStringLiteral("zoomed.lwf"), world, ScrollFractions{0.25, 1.0});
        MainEditor &e = h.start();
        h.fake.fileDialogs.openAnswers = {path};
        e.mnuLoadItem->trigger();
        QCOMPARE(h.fake.fileDialogs.filters, QStringList{Filter});
        QCOMPARE(e.world, world);
        QCOMPARE(e.CurrentFile, path);
        QVERIFY(e.Saved);
        QCOMPARE(e.windowTitle(), caption(path));
        QVERIFY(e.mnu200Item->isChecked());
        QVERIFY(!e.mnu100Item->isChecked());
        QCOMPARE(e.Picture1->width(), 2 * (std::min(e.Picture2->width(), e.Picture2->height()) - 1));
        QCOMPARE(e.HScroll1->value(), e.HScroll1->maximum());
        QCOMPARE(e.VScroll1->value(), int(NumberText::roundHalfEven(e.VScroll1->maximum() * 0.25)));
        QCOMPARE(e.objTree->nodeCount(), 5 + 3); // the library is empty: the object is not listed
        QCOMPARE(h.fake.messages.shown, QStringList());
    }

    void zoomOutsideTheMenuChecksNothing()
    {
        EditorHarness h;
        World world;
        world.Zoom = 3;
        MainEditor &e = h.start(h.writeWorld(QStringLiteral("three.lwf"), world));
        QCOMPARE(e.world.Zoom, 3);
        QVERIFY(!e.mnu100Item->isChecked() && !e.mnu200Item->isChecked() && !e.mnu400Item->isChecked());
        QCOMPARE(e.Picture1->width(), 3 * (std::min(e.Picture2->width(), e.Picture2->height()) - 1));
    }

    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("damaged file") << QByteArray("Blue Sky\t\t\tone\t0\t0\t50\t96\t0");
        QTest::newRow("truncated file") << QByteArray("\t\t\t1\t0\t0\t50\t96\t0\t0\tOak\t1");
    }

    void failedOpenChangesNothing()
    {
        QFETCH(QByteArray, content);
        EditorHarness h;
        const QString good = h.writeWorld(QStringLiteral("good.lwf"), sampleWorld());
        const QString bad = h.path(QStringLiteral("bad.lwf"));
        if (!content.isEmpty())
            h.writeText(QStringLiteral("bad.lwf"), content);
        MainEditor &e = h.start(good);
        e.mnu400Item->trigger();
        e.HScroll1->setValue(100);
        e.Saved = false;
        h.fake.messages.answers = {Answer::No};
        h.fake.fileDialogs.openAnswers = {bad};
        e.mnuLoadItem->trigger();

        QCOMPARE(h.fake.messages.shown.size(), 2);
        QVERIFY(h.fake.messages.shown[1].startsWith(QLatin1String("The world could not be opened.")));
        QVERIFY(h.fake.messages.shown[1].contains(bad));
        World expected = sampleWorld();
        expected.Zoom = 4;
        QCOMPARE(e.world, expected);
        QCOMPARE(e.CurrentFile, good);
        QVERIFY(!e.Saved);
        QCOMPARE(e.windowTitle(), caption(good));
        QVERIFY(e.mnu400Item->isChecked());
        QCOMPARE(e.HScroll1->value(), 100);
    }

    void cancelledDialogsStaySilent()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        makeChanges(e);
        e.mnuSaveAs->trigger();
        h.fake.messages.answers = {Answer::No};
        e.mnuLoadItem->trigger();
        QCOMPARE(h.fake.messages.shown, QStringList{SaveChanges}); // only the question
        QCOMPARE(h.fake.fileDialogs.filters, QStringList({Filter, Filter}));
        QCOMPARE(e.world, sampleWorld());
        QVERIFY(!e.Saved);
    }

    void saveAndSaveAs()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        makeChanges(e);
        const QString first = h.path(QStringLiteral("first")); // no extension is added
        h.fake.fileDialogs.saveAnswers = {first};
        e.mnuSave2Item->trigger(); // a world never saved asks for a name
        QCOMPARE(h.fake.fileDialogs.filters, QStringList{Filter});
        QVERIFY(QFile::exists(first));
        QCOMPARE(e.CurrentFile, first);
        QVERIFY(e.Saved);
        QCOMPARE(e.windowTitle(), caption(first));

        e.world.Texts[0].Text = QStringLiteral("Changed");
        e.Saved = false;
        e.mnuSave2Item->trigger(); // now without a dialog
        QCOMPARE(h.fake.fileDialogs.filters.size(), 1);
        QCOMPARE(WorldFile::load(first).world.Texts[0].Text, QStringLiteral("Changed"));
        QVERIFY(e.Saved);

        const QString second = h.path(QStringLiteral("second.lwf"));
        h.fake.fileDialogs.saveAnswers = {second};
        e.mnuSaveAs->trigger();
        QCOMPARE(e.CurrentFile, second);
        QCOMPARE(e.windowTitle(), caption(second));
        QCOMPARE(WorldFile::load(second).world, e.world);
        QCOMPARE(h.fake.messages.shown, QStringList());
    }

    void savedScrollPositionLoadsBack()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.mnu400Item->trigger();
        e.HScroll1->setValue(e.HScroll1->maximum() / 2);
        e.VScroll1->setValue(e.VScroll1->maximum() / 4);
        const double horizontal = MapScale::fraction(*e.HScroll1);
        const double vertical = MapScale::fraction(*e.VScroll1);
        const QString path = h.path(QStringLiteral("scrolled.lwf"));
        h.fake.fileDialogs.saveAnswers = {path};
        e.mnuSaveAs->trigger();
        const WorldRead read = WorldFile::load(path);
        QVERIFY(read.ok());
        QCOMPARE(read.world.Zoom, 4);
        QCOMPARE(read.fractions.horizontal, horizontal);
        QCOMPARE(read.fractions.vertical, vertical);

        e.mnuNewItem->trigger();
        h.fake.fileDialogs.openAnswers = {path};
        e.mnuLoadItem->trigger();
        QCOMPARE(MapScale::fraction(*e.HScroll1), horizontal);
        QCOMPARE(MapScale::fraction(*e.VScroll1), vertical);
    }

    void failedSaveKeepsTheDocument_data()
    {
        QTest::addColumn<bool>("saveAs"); // Save As, or Save to the current file
        QTest::newRow("save") << false;
        QTest::newRow("save as") << true;
    }

    void failedSaveKeepsTheDocument()
    {
        QFETCH(bool, saveAs);
        EditorHarness h;
        h.writeText(QStringLiteral("plain.txt"), "a file, not a folder");
        const QString unwritable = h.path(QStringLiteral("plain.txt/world.lwf"));
        const QString current = h.writeWorld(QStringLiteral("current.lwf"), World());
        MainEditor &e = h.start(saveAs ? current : QString());
        if (!saveAs)
            e.CurrentFile = unwritable; // as if its folder had gone since it was opened
        makeChanges(e);
        const QString captionBefore = e.windowTitle();
        h.fake.fileDialogs.saveAnswers = {unwritable};
        (saveAs ? e.mnuSaveAs : e.mnuSave2Item)->trigger();
        QCOMPARE(h.fake.messages.shown.size(), 1);
        QVERIFY(h.fake.messages.shown[0].startsWith(QLatin1String("The world could not be saved.")));
        QVERIFY(h.fake.messages.shown[0].contains(unwritable));
        QVERIFY(!e.Saved);
        QCOMPARE(e.CurrentFile, saveAs ? current : unwritable);
        QCOMPARE(e.windowTitle(), captionBefore);
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("savePath"); // Save As answer: "ok", "bad" or "" (cancelled)
        QTest::addColumn<bool>("closes");
        QTest::newRow("nothing to save") << false << Answer::Cancel << "" << true;
        QTest::newRow("no: changes lost") << true << Answer::No << "" << true;
        QTest::newRow("cancel: keeps running") << true << Answer::Cancel << "" << false;
        QTest::newRow("yes: saved and closed") << true << Answer::Yes << "ok" << true;
        QTest::newRow("yes, dialog cancelled") << true << Answer::Yes << "" << false;
        QTest::newRow("yes, write failed") << true << Answer::Yes << "bad" << false;
    }

    void closeQuestion()
    {
        QFETCH(bool, changed);
        QFETCH(Answer, answer);
        QFETCH(QString, savePath);
        QFETCH(bool, closes);
        EditorHarness h;
        h.writeText(QStringLiteral("plain.txt"), "a file, not a folder");
        MainEditor &e = h.start();
        if (changed)
            makeChanges(e);
        h.fake.messages.answers = {answer};
        const QString path = h.path(savePath == QLatin1String("ok") ? QStringLiteral("closing.lwf")
                                                                    : QStringLiteral("plain.txt/closing.lwf"));
        h.fake.fileDialogs.saveAnswers = {savePath.isEmpty() ? std::nullopt : std::optional<QString>(path)};
        h.fake.settings.writtenKeys.clear();

        e.mnuExitItem->trigger();

        QCOMPARE(e.isVisible(), !closes);
        QCOMPARE(h.fake.messages.shown.value(0), changed ? SaveBeforeExit : QString());
        QCOMPARE(QFile::exists(path), savePath == QLatin1String("ok"));
        QCOMPARE(h.fake.messages.shown.size(), (changed ? 1 : 0) + (savePath == QLatin1String("bad") ? 1 : 0));
        QCOMPARE(h.fake.settings.writtenKeys.isEmpty(), !closes); // placement stored only when unloading
        if (!closes)
            QCOMPARE(e.world, sampleWorld());
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_ui_documents.moc"
