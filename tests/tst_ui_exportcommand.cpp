// File > Export to VRML in the main window, on the scripted platform fakes:
// the output name, failures, the missing-library warning, and that the world
// is not marked as changed. The preview is caught as it opens and closed.

#include "EditorHarness.h"

#include "export/frmBrowse.h"

#include <QAction>
#include <QApplication>
#include <QtTest>

namespace {

// Runs the command; every preview window it opens is recorded and closed.
class ExportRun : public QObject
{
public:
    QStringList previewed; // BrowseFile of each preview, in order
    bool allModal = true;

    explicit ExportRun(MainEditor &editor)
    {
        qApp->installEventFilter(this);
        editor.mnuSaveItem->trigger();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *preview = qobject_cast<frmBrowse *>(watched);
        if (preview && event->type() == QEvent::Show) {
            allModal = allModal && preview->isModal();
            previewed << preview->BrowseFile;
            QMetaObject::invokeMethod(preview, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

World worldWithObjects(const QStringList &names)
{
    World world;
    world.Objects.clear();
    for (const QString &name : names)
        world.Objects.push_back(ObjectInfo{name, 10, 10, 0, {}, {}});
    return world;
}

} // namespace

class TestExportCommand : public QObject
{
    Q_OBJECT

private slots:
    void outputName_data()
    {
        QTest::addColumn<QString>("worldFile"); // in a folder of its own; empty: never saved
        QTest::addColumn<bool>("deleteIt");     // deleted after it was opened
        QTest::addColumn<bool>("changed");      // the world has unsaved changes
        QTest::addColumn<QString>("output");
        QTest::newRow("never saved") << "" << false << false << "world.wrl";
        QTest::newRow("saved elsewhere") << "my park.lwf" << false << false << "my park.wrl";
        QTest::newRow("unsaved changes") << "my park.lwf" << false << true << "my park.wrl";
        QTest::newRow("file deleted") << "my park.lwf" << true << false << "world.wrl";
    }

    void outputName()
    {
        QFETCH(QString, worldFile);
        QFETCH(bool, deleteIt);
        QFETCH(bool, changed);
        QFETCH(QString, output);
        EditorHarness harness;
        QVERIFY(writeTextures(harness.folder.path()));
        QTemporaryDir worlds;
        QString path;
        if (!worldFile.isEmpty()) {
            path = worlds.filePath(worldFile);
            QVERIFY(WorldFile::save(path, sampleWorld(), {}).ok());
        }
        MainEditor &editor = harness.start(path);
        harness.fake.messages.shown.clear(); // the library warning of the start-up
        if (deleteIt)
            QVERIFY(QFile::remove(path));
        editor.document.setSaved(!changed);

        const ExportRun run(editor);
        const QString expected = harness.path("ToGo/" + output);
        QCOMPARE(run.previewed, QStringList{expected});
        QVERIFY(run.allModal);
        QVERIFY(QFileInfo(expected).isFile());
        QCOMPARE(editor.document.Saved(), !changed);
        QCOMPARE(editor.document.CurrentFile(), path);
    }

    void failure_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("named"); // the file the message names
        QTest::newRow("no Textures folder") << "no textures" << "Textures";
        QTest::newRow("ToGo cannot be made") << "togo file" << "ToGo";
        QTest::newRow("output cannot be written") << "output folder" << "world.wrl";
    }

    void failure()
    {
        QFETCH(QString, setup);
        QFETCH(QString, named);
        EditorHarness harness;
        QVERIFY(writeTextures(harness.folder.path()));
        MainEditor &editor = harness.start();
        if (setup == "no textures") // removed while the program runs
            QVERIFY(QDir(harness.path("Textures")).removeRecursively());
        else if (setup == "togo file")
            harness.writeText("ToGo", "in the way");
        else if (setup == "output folder")
            QVERIFY(QDir().mkpath(harness.path("ToGo/world.wrl")));
        harness.fake.messages.shown.clear();
        editor.document.setSaved(false);

        const ExportRun run(editor);
        QVERIFY(run.previewed.isEmpty());
        QCOMPARE(harness.fake.messages.shown.size(), 1);
        const QString message = harness.fake.messages.shown[0];
        QVERIFY2(message.contains(named) && message.contains("could not be exported"),
                 qPrintable(message));
        QVERIFY(!editor.document.Saved());
    }

    // The second export replaces what the first left in ToGo.
    void exportTwice()
    {
        EditorHarness harness;
        QVERIFY(writeTextures(harness.folder.path()));
        MainEditor &editor = harness.start();
        QCOMPARE(ExportRun(editor).previewed, QStringList{harness.path("ToGo/world.wrl")});
        const QString park = harness.writeWorld("park.lwf", World());
        QVERIFY(editor.LoadFile(park).ok());
        editor.document.savedAs(park);
        QCOMPARE(ExportRun(editor).previewed, QStringList{harness.path("ToGo/park.wrl")});
        QVERIFY(!QFileInfo::exists(harness.path("ToGo/world.wrl")));
    }

    // Objects the library lacks are named once each, ten at the most.
    void missingLibraryWarning()
    {
        EditorHarness harness;
        QVERIFY(writeTextures(harness.folder.path()));
        QStringList names{"Oak", "Oak"};
        for (int i = 1; i <= 11; ++i)
            names << QStringLiteral("Thing %1").arg(i);
        const QString path = harness.writeWorld("odd.lwf", worldWithObjects(names));
        MainEditor &editor = harness.start(path);
        harness.fake.messages.shown.clear();

        const ExportRun run(editor);
        QCOMPARE(run.previewed.size(), 1); // the export went on
        QCOMPARE(harness.fake.messages.shown.size(), 1);
        const QString message = harness.fake.messages.shown[0];
        QVERIFY2(message.contains("13 objects were left out"), qPrintable(message));
        QVERIFY(message.contains("\nOak (2 times)\n"));
        QVERIFY(message.contains("\nThing 9\n"));
        QVERIFY(!message.contains("Thing 10"));
        QVERIFY(message.endsWith("\nand 2 more"));
    }
};

QTEST_MAIN(TestExportCommand)
#include "tst_ui_exportcommand.moc"
