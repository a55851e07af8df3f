// Start-up: the splash and its hand-over, the command line, the window
// placement kept between runs, and the Help menu's pages.

#include "EditorHarness.h"

#include "core/model/RecoverySlot.h"
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
        row("file address", "file://%1/my%20park.lwf", "my park.lwf"); // from a file manager
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
    // Each world an editor left unsaved when it died is offered before the
    // command line's. A recovered one keeps its file name, shows the mark,
    // counts as changed and is this editor's to keep; Escape leaves it for the
    // next start, Discard deletes it.
    void recovery_data()
    {
        QTest::addColumn<std::optional<int>>("answer"); // Recover, Discard, or Escape
        QTest::addColumn<QString>("file");             // the world's file; empty: never saved
        QTest::newRow("recovered") << std::optional<int>(0) << QString("/worlds/park.lwf");
        QTest::newRow("new world recovered") << std::optional<int>(0) << QString();
        QTest::newRow("discarded") << std::optional<int>(1) << QString("/worlds/park.lwf");
        QTest::newRow("escaped") << std::optional<int>() << QString("/worlds/park.lwf");
    }

    void recovery()
    {
        QFETCH(std::optional<int>, answer);
        QFETCH(QString, file);
        EditorHarness h;
        const QString recoveryFolder = h.fake.platform().recoveryFolder;
        World lost = sampleWorld();
        {
            RecoverySlot crashed(recoveryFolder);
            QVERIFY(crashed.write(lost, file, QDateTime(QDate::currentDate(), QTime(14, 32))).ok());
        }
        h.fake.messages.choices = {answer};
        const QString commandLine = h.writeWorld("other.lwf", World());
        MainEditor &e = h.start(commandLine);

        QCOMPARE(h.fake.messages.shown,
                 QStringList{QStringLiteral("Lotwright closed before %1 was saved. Recover the "
                                            "world as it was at 14:32?")
                                 .arg(file.isEmpty() ? "a new world" : "«park.lwf»")});
        QCOMPARE(h.fake.messages.choiceButtons, (QList<QStringList>{{"Recover", "Discard"}}));
        const bool recovered = answer == 0;
        QCOMPARE(e.world(), recovered ? lost : World());
        QCOMPARE(e.document().CurrentFile(), recovered ? file : commandLine);
        QCOMPARE(e.document().Saved(), !recovered);
        QCOMPARE(shownCaption(e).endsWith(")*"), recovered);
        QVERIFY(!QFile::exists(file.isEmpty() ? "/nonexistent" : file)); // nothing written there

        h.editor.reset(); // a normal end: this editor's own snapshot goes
        const auto left = orphanedSnapshots(recoveryFolder);
        QCOMPARE(left.size(), size_t(answer ? 0 : 1));
    }

    void placement()
    {
        EditorHarness h(QSize(900, 650));
        QMap<QString, QString> &stored = h.fake.settings.values;
        std::tie(stored["Top"], stored["Left"]) = std::tuple("450", "300");
        MainEditor &e = h.start();
        QCOMPARE(QRect(e.pos(), e.size()), QRect(20, 30, 900, 650)); // the frame at Left, Top
        // The 3-D view starts hidden where OpenGL cannot be had; shown, it
        // is shown again at the next start.
        auto *view = e.findChild<QDockWidget *>("viewDock");
        QVERIFY(view && !view->isVisible());
        view->show();
        stored.clear();
        QVERIFY(e.close());
        const QString panels = stored.take("Panels");
        QVERIFY(!panels.isEmpty());
        EditorHarness again;
        again.fake.settings.values["Panels"] = panels;
        QVERIFY(again.start().findChild<QDockWidget *>("viewDock")->isVisible());
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
