// Start-up: the command line, the window placement kept between runs, the
// library's warnings, and the Help menu's pages.

#include "EditorHarness.h"

#include <QAction>
#include <QDir>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QString>("commandLine"); // %1: the program folder
        QTest::addColumn<QString>("file");    // written first: a world, or text for *.txt and bad*
        QTest::addColumn<QString>("message"); // how the one message starts, empty for none
        const auto row = [](const char *name, const char *commandLine, const char *file,
                            const char *message = "") {
            QTest::newRow(name) << QString(commandLine) << QString(file) << QString(message);
        };
        row("empty", "", "");
        row("blanks only", "   ", "");
        row("plain path", "%1/park.lwf", "park.lwf");
        row("quoted path", "\"%1/park.lwf\"", "park.lwf");
        row("opening quote only", "\"%1/park.lwf", "park.lwf");
        row("blanks inside", "%1/my park.lwf", "my park.lwf");
        row("capitalised extension", "%1/PARK.LWF", "PARK.LWF");
        row("lwf without a dot", "%1/parklwf", "parklwf");
        row("wrong extension", "%1/notes.txt", "notes.txt", "Not a valid Lotwright 2.0 file.");
        row("damaged world", "%1/bad.lwf", "bad.lwf", "The world could not be opened.");
        row("missing world", "%1/missing.lwf", "", "The world could not be opened.");
    }

    void commandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, file);
        QFETCH(QString, message);
        EditorHarness h;
        const QString folder = h.folder.path();
        if (file.endsWith(".txt") || file.startsWith("bad"))
            h.writeText(file, "just\ttext");
        else if (!file.isEmpty())
            h.writeWorld(file, sampleWorld());

        MainEditor &e = h.start(QString(commandLine).replace("%1", folder));

        // The world written is opened, unless a message tells why not.
        const QString path = message.isEmpty() && !file.isEmpty() ? h.path(file) : QString();
        QCOMPARE(e.document.CurrentFile(), path);
        QCOMPARE(e.windowTitle(),
                 QStringLiteral("Lotwright 2.0 (%1)").arg(path.isEmpty() ? "New" : path));
        QVERIFY(e.document.Saved());
        QCOMPARE(e.world(), path.isEmpty() ? World() : sampleWorld());
        QCOMPARE(h.fake.messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QVERIFY(h.fake.messages.shown[0].startsWith(message));
            if (message.startsWith("The world")) // a read failure names the file
                QVERIFY(h.fake.messages.shown[0].contains(folder + "/" + commandLine.mid(3)));
        }
    }

    void placement_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("nothing stored") << "" << true;
        QTest::newRow("minimised comes back maximised") << "1" << true;
        QTest::newRow("not a number") << "big" << true;
        QTest::newRow("normal") << "0" << false;
    }

    void placement()
    {
        QFETCH(QString, state);
        QFETCH(bool, maximised);
        EditorHarness h(QSize(900, 650));
        h.fake.settings.values["Top"] = "450"; // twips
        h.fake.settings.values["Left"] = "300";
        if (state.isEmpty())
            h.fake.settings.values.clear();
        else
            h.fake.settings.values["WindowState"] = state;
        MainEditor &e = h.start();
        QVERIFY(e.windowState() == (maximised ? Qt::WindowMaximized : Qt::WindowNoState));
        if (maximised)
            return;
        QCOMPARE(e.pos(), QPoint(20, 30));
        QCOMPARE(e.size(), QSize(900, 650));

        h.fake.settings.writtenKeys.clear();
        QVERIFY(e.close());
        QCOMPARE(h.fake.settings.writtenKeys,
                 QStringList({"WindowState", "Top", "Left", "Width", "Height"}));
        const QStringList stored{h.fake.settings.values["WindowState"],
                                 h.fake.settings.values["Top"], h.fake.settings.values["Left"],
                                 h.fake.settings.values["Width"], h.fake.settings.values["Height"]};
        QCOMPARE(stored, QStringList({"0", "450", "300", "13500", "9750"}));
    }

    void libraryWarningsShownOnce()
    {
        EditorHarness h;
        QVERIFY(QDir(h.folder.path()).mkpath("Objects"));
        h.writeText("Objects/objects.txt",
                    "2\t2\t10 20 30\tC\tOak Tree.wrl\r\nbroken line\r\nx\t1\t1 1 1\tR\tCar.wrl");
        MainEditor &e = h.start(h.path("notes.txt"));
        QCOMPARE(e.Shapes.size(), size_t(1));
        QCOMPARE(h.fake.messages.shown.size(), 2);
        QCOMPARE(h.fake.messages.shown[0], QStringLiteral("Not a valid Lotwright 2.0 file."));
        QVERIFY(h.fake.messages.shown[1].contains("line 2") &&
                h.fake.messages.shown[1].contains("line 3"));
        e.mnuNewItem->trigger();
        e.resize(e.size() + QSize(50, 50));
        QTest::qWait(10);
        QCOMPARE(h.fake.messages.shown.size(), 2);
    }

    void helpPages_data()
    {
        QTest::addColumn<bool>("manual"); // Manual..., else Send Us Feedback...
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QString>("message");
        QTest::newRow("manual") << true << true << true << "";
        QTest::newRow("feedback, no viewer") << false << true << false << "No program could show";
        QTest::newRow("page missing") << true << false << true << "The help page";
    }

    void helpPages()
    {
        QFETCH(bool, manual);
        QFETCH(bool, present);
        QFETCH(bool, viewer);
        QFETCH(QString, message);
        EditorHarness h;
        const QString page = manual ? "Manual.htm" : "feedback.htm";
        if (present)
            h.writeText(page, "<html></html>");
        h.fake.shell.result = viewer;
        MainEditor &e = h.start();
        (manual ? e.mnuManualItem : e.mnuFeedBack)->trigger();
        QCOMPARE(h.fake.shell.opened, present ? QStringList{h.path(page)} : QStringList());
        QCOMPARE(h.fake.messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY(h.fake.messages.shown[0].startsWith(message) &&
                    h.fake.messages.shown[0].contains(h.path(page)));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_ui_startup.moc"
