// Start-up: the splash and its hand-over, the command line, the window
// placement kept between runs, and the Help menu's pages.

#include "EditorHarness.h"

#include "editor/dialogs/frmSplash.h"

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    // Two seconds on a single-shot timer, then the window closes, deletes
    // itself and hands over once. The timer's tick is played, not waited for.
    void splashHandsOverOnce()
    {
        QPointer<frmSplash> splash = new frmSplash;
        QSignalSpy finished(splash.data(), &frmSplash::finished);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.data()));

        auto *timer = splash->findChild<QTimer *>("Timer1");
        QVERIFY(timer && timer->isActive() && timer->isSingleShot() && timer->interval() == 2000);
        QMetaObject::invokeMethod(timer, "timeout");
        QTRY_VERIFY(splash.isNull());
        QCOMPARE(finished.count(), 1);
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("commandLine"); // %1: the program folder
        QTest::addColumn<QString>("file");    // written first: a world, or text for *.txt
        QTest::addColumn<QString>("message"); // the one message, empty for none
        const auto row = [](const char *name, const char *commandLine, const char *file,
                            const char *message = "") {
            QTest::newRow(name) << QString(commandLine) << QString(file) << QString(message);
        };
        row("blanks only", "   ", "");
        row("plain path", "%1/park.lwf", "park.lwf");
        row("quoted path", "\"%1/park.lwf\"", "park.lwf");
        row("opening quote only", "\"%1/park.lwf", "park.lwf");
        row("blanks inside", "%1/my park.lwf", "my park.lwf");
        row("capitalised extension", "%1/PARK.LWF", "PARK.LWF");
        row("lwf without a dot", "%1/parklwf", "parklwf");
        row("wrong extension", "%1/notes.txt", "notes.txt", "Not a valid Lotwright 2.0 file.");
    }

    void commandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, file);
        QFETCH(QString, message);
        EditorHarness h;
        if (file.endsWith(".txt"))
            h.writeText(file, "just\ttext");
        else if (!file.isEmpty())
            h.writeWorld(file, sampleWorld());
        MainEditor &e = h.start(QString(commandLine).replace("%1", h.folder.path()));

        // The world written is opened, unless a message tells why not.
        const QString path = message.isEmpty() && !file.isEmpty() ? h.path(file) : QString();
        QCOMPARE(e.document().CurrentFile(), path);
        QVERIFY(e.document().Saved());
        QCOMPARE(e.world(), path.isEmpty() ? World() : sampleWorld());
        QCOMPARE(h.fake.messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Placement is kept in twips, fifteen to a pixel; a window closed
    // minimised comes back maximised.
    void placement()
    {
        EditorHarness h(QSize(900, 650));
        QMap<QString, QString> &stored = h.fake.settings.values;
        std::tie(stored["Top"], stored["Left"]) = std::tuple("450", "300");
        MainEditor &e = h.start();
        QCOMPARE(QRect(e.pos(), e.size()), QRect(20, 30, 900, 650)); // the frame at Left, Top
        stored.clear();
        QVERIFY(e.close());
        QCOMPARE(stored, (QMap<QString, QString>{{"WindowState", "0"},
                                                 {"Top", "450"},
                                                 {"Left", "300"},
                                                 {"Width", "13500"},
                                                 {"Height", "9750"}}));
        EditorHarness minimised;
        minimised.fake.settings.values["WindowState"] = "1";
        QCOMPARE(minimised.start().windowState(), Qt::WindowMaximized);
    }

    // A help page opens in the viewer; a failure names the page.
    void helpPages_data()
    {
        QTest::addColumn<bool>("manual"); // Manual..., else Send Us Feedback...
        QTest::addColumn<bool>("viewer");
        QTest::newRow("manual") << true << true;
        QTest::newRow("feedback, no viewer") << false << false;
    }

    void helpPages()
    {
        QFETCH(bool, manual);
        QFETCH(bool, viewer);
        EditorHarness h;
        const QString page = manual ? "Manual.htm" : "feedback.htm";
        h.writeText(page, "<html></html>");
        h.fake.shell.result = viewer;
        MainEditor &e = h.start();
        (manual ? mnuManualItem(e) : mnuFeedBack(e))->trigger();
        QCOMPARE(h.fake.shell.opened, QStringList{h.path(page)});
        QCOMPARE(h.fake.messages.shown.size(), int(!viewer));
        if (!viewer)
            QVERIFY(h.fake.messages.shown[0].contains(h.path(page)));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_ui_startup.moc"
