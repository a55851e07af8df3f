// The document commands: New, Open, Save, Save As and the close question,
// through every answer and every failure.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "mapview/MapScale.h"
#include "model/NumberText.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

namespace {

using Answer = MessageBoxes::Answer;
const QString Filter = QStringLiteral("Lotwright Files (*.lwf}|*.lwf");

QString caption(const QString &path) { return QStringLiteral("Lotwright 2.0 (%1)").arg(path); }

void makeChanges(MainEditor &e)
{
    e.document.replace(sampleWorld());
    e.document.setSaved(false);
}

} // namespace

Q_DECLARE_METATYPE(MessageBoxes::Answer)

class TestDocuments : public QObject {
    Q_OBJECT

private slots:
    void newResetsEverything()
    {
        EditorHarness h;
        MainEditor &e = h.start(h.writeWorld("park.lwf", sampleWorld()));
        e.mnu200Item->trigger();
        WorldSettings red = e.document.settings();
        red.Sky = "Red Sky";
        e.document.changeSettings(red, "World Properties");
        e.document.setSaved(true); // New asks nothing of a saved world
        e.mnuNewItem->trigger(); // nothing to save: no question
        QCOMPARE(h.fake.messages.shown, QStringList());
        QCOMPARE(e.world(), World());
        QCOMPARE(e.document.CurrentFile(), QString());
        QVERIFY(e.document.Saved());
        QCOMPARE(e.windowTitle(), QStringLiteral("Lotwright 2.0 (New)"));
        QVERIFY(e.mnu100Item->isChecked() && !e.mnu200Item->isChecked());
        QCOMPARE(e.objTree->nodeCount(), 5);
        QVERIFY(!e.shpSelector->isVisible());
    }

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
        if (changed)
            makeChanges(e);
        const QString saved = h.path(saveAs == "ok" ? "saved.lwf" : "plain.txt/saved.lwf");
        h.fake.messages.answers = {answer};
        h.fake.fileDialogs.saveAnswers = {saveAs.isEmpty() ? std::nullopt
                                                           : std::optional<QString>(saved)};
        h.fake.fileDialogs.openAnswers = {other};
        h.fake.settings.writtenKeys.clear();

        const bool exit = command == "exit";
        (exit ? e.mnuExitItem : command == "open" ? e.mnuLoadItem : e.mnuNewItem)->trigger();

        const QStringList &shown = h.fake.messages.shown;
        QCOMPARE(shown.value(0), !changed ? QString()
                                 : exit   ? "Save Changes Before Exiting?"
                                          : "Save changes to the current world?");
        QCOMPARE(shown.size(), int(changed) + int(saveAs == "bad"));
        if (saveAs == "bad")
            QVERIFY(shown[1].startsWith("The world could not be saved.") &&
                    shown[1].contains(saved));
        QCOMPARE(QFile::exists(saved), saveAs == "ok");
        if (QFile::exists(saved))
            QCOMPARE(WorldFile::load(saved).world, sampleWorld());
        QCOMPARE(e.isVisible(), !(exit && proceeds));
        QCOMPARE(h.fake.settings.writtenKeys.contains("WindowState"), exit && proceeds); // on closing
        if (exit && proceeds)
            return;
        QCOMPARE(e.world(), proceeds ? World() : sampleWorld());
        QCOMPARE(e.document.Saved(), proceeds);
        // A failed or cancelled save leaves the document as it was.
        QCOMPARE(e.document.CurrentFile(), proceeds && command == "open" ? other : QString());
        QCOMPARE(e.windowTitle(), caption(e.document.CurrentFile().isEmpty() ? "New" : other));
    }

    void openRestoresTheView()
    {
        EditorHarness h;
        World world = sampleWorld();
        world.Zoom = 2;
        const QString path = h.writeWorld("zoomed.lwf", world, ScrollFractions{0.25, 1.0});
        MainEditor &e = h.start();
        h.fake.fileDialogs.openAnswers = {path};
        e.mnuLoadItem->trigger();
        QCOMPARE(h.fake.fileDialogs.filters, QStringList{Filter});
        QCOMPARE(e.world(), world);
        QCOMPARE(e.document.CurrentFile(), path);
        QVERIFY(e.document.Saved());
        QCOMPARE(e.windowTitle(), caption(path));
        QVERIFY(e.mnu200Item->isChecked() && !e.mnu100Item->isChecked());
        QCOMPARE(e.HScroll1->value(), e.HScroll1->maximum());
        QCOMPARE(e.VScroll1->value(), int(NumberText::roundHalfEven(e.VScroll1->maximum() * 0.25)));
        QCOMPARE(e.objTree->nodeCount(), 5 + 3); // the object is missing from the empty library

        world.Zoom = 3; // none of the menu's
        h.fake.fileDialogs.openAnswers = {h.writeWorld("three.lwf", world)};
        e.mnuLoadItem->trigger();
        QVERIFY(!e.mnu100Item->isChecked() && !e.mnu200Item->isChecked() &&
                !e.mnu400Item->isChecked());
    }

    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("damaged file") << QByteArray("Blue Sky\t\t\tone\t0\t0\t50\t96\t0");
    }

    void failedOpenChangesNothing()
    {
        QFETCH(QByteArray, content);
        EditorHarness h;
        const QString good = h.writeWorld("good.lwf", sampleWorld());
        if (!content.isEmpty())
            h.writeText("bad.lwf", content);
        MainEditor &e = h.start(good);
        e.mnu400Item->trigger();
        e.HScroll1->setValue(100);
        e.document.setSaved(false);
        h.fake.messages.answers = {Answer::No};
        h.fake.fileDialogs.openAnswers = {h.path("bad.lwf")};
        e.mnuLoadItem->trigger();

        QCOMPARE(h.fake.messages.shown.size(), 2); // the question, then the failure
        QVERIFY(h.fake.messages.shown[1].startsWith("The world could not be opened."));
        QVERIFY(h.fake.messages.shown[1].contains(h.path("bad.lwf")));
        World expected = sampleWorld();
        expected.Zoom = 4;
        QCOMPARE(e.world(), expected);
        QCOMPARE(e.document.CurrentFile(), good);
        QVERIFY(!e.document.Saved());
        QCOMPARE(e.windowTitle(), caption(good));
        QCOMPARE(e.HScroll1->value(), 100);
    }

    void saveAndSaveAs()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        makeChanges(e);
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
        QCOMPARE(h.fake.fileDialogs.filters, QStringList({Filter, Filter}));
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), h.path("samples/world.lwf"));
        QCOMPARE(e.document.CurrentFile(), first);
        QVERIFY(e.document.Saved());
        QCOMPARE(e.windowTitle(), caption(first));
        QCOMPARE(WorldFile::load(first).fractions.horizontal, horizontal);

        TextInfo changed = e.world().Texts[0];
        changed.Text = "Changed";
        e.document.change(0, changed, "Edit");
        e.mnuSave2Item->trigger(); // now without a dialog
        QCOMPARE(h.fake.fileDialogs.filters.size(), 2);
        QCOMPARE(WorldFile::load(first).world, e.world());
        QVERIFY(e.document.Saved());
        QCOMPARE(h.fake.messages.shown, QStringList());

        // Save As proposes the current file; Open starts in its folder.
        e.mnuSaveAs->trigger();
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), first);
        e.mnuLoadItem->trigger();
        QCOMPARE(h.fake.fileDialogs.startPaths.last(), h.folder.path());
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_ui_documents.moc"
