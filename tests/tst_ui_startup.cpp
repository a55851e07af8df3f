// Start-up: the command line, the window placement kept between runs, the
// library's warnings, and the Help menu's pages.

#include "EditorHarness.h"

#include <QAction>
#include <QDir>
#include <QtTest>

namespace {

const QString NewCaption = QStringLiteral("Lotwright 2.0 (New)");

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QString>("commandLine"); // %1 is the program folder
        QTest::addColumn<QString>("file");        // written beforehand: a world, or text when it ends in .txt/damaged
        QTest::addColumn<QString>("opened");      // the path expected to be opened, empty for a new world
        QTest::addColumn<QString>("message");     // start of the one message expected, empty for none

        QTest::newRow("empty") << "" << "" << "" << "";
        QTest::newRow("blanks only") << "   " << "" << "" << "";
        QTest::newRow("plain path") << "%1/park.lwf" << "park.lwf" << "%1/park.lwf" << "";
        QTest::newRow("quoted path") << "\"%1/park.lwf\"" << "park.lwf" << "%1/park.lwf" << "";
        QTest::newRow("opening quote only") << "\"%1/park.lwf" << "park.lwf" << "%1/park.lwf" << "";
        QTest::newRow("blanks inside the path") << "%1/my park.lwf" << "my park.lwf" << "%1/my park.lwf" << "";
        QTest::newRow("capitalised extension") << "%1/PARK.LWF" << "PARK.LWF" << "%1/PARK.LWF" << "";
        QTest::newRow("ends in lwf without a dot") << "%1/parklwf" << "parklwf" << "%1/parklwf" << "";
        QTest::newRow("wrong extension")
            << "%1/notes.txt" << "notes.txt" << "" << "Not a valid Lotwright 2.0 file.";
        QTest::newRow("damaged world")
            << "%1/damaged.lwf" << "damaged.lwf" << "" << "The world could not be opened.";
        QTest::newRow("missing world")
            << "%1/missing.lwf" << "" << "" << "The world could not be opened.";
    }

    void commandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, file);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        EditorHarness h;
        const QString folder = h.folder.path();
        if (file.endsWith(QLatin1String(".txt")) || file.startsWith(QLatin1String("damaged")))
            h.writeText(file, "just\ttext");
        else if (!file.isEmpty())
            h.writeWorld(file, sampleWorld());

        MainEditor &e = h.start(commandLine.contains(QLatin1String("%1")) ? commandLine.arg(folder) : commandLine);

        const QString path = opened.isEmpty() ? QString() : opened.arg(folder);
        QCOMPARE(e.CurrentFile, path);
        QCOMPARE(e.windowTitle(), path.isEmpty() ? NewCaption : QStringLiteral("Lotwright 2.0 (%1)").arg(path));
        QVERIFY(e.Saved);
        QCOMPARE(e.world, path.isEmpty() ? World() : sampleWorld());
        if (message.isEmpty()) {
            QCOMPARE(h.fake.messages.shown, QStringList());
        } else {
            QCOMPARE(h.fake.messages.shown.size(), 1);
            QVERIFY2(h.fake.messages.shown[0].startsWith(message), qPrintable(h.fake.messages.shown[0]));
            if (!file.endsWith(QLatin1String(".txt"))) // a read failure names the file
                QVERIFY(h.fake.messages.shown[0].contains(QDir::toNativeSeparators(commandLine.arg(folder))));
        }
    }

    void placement_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("nothing stored") << "" << true;
        QTest::newRow("maximised") << "2" << true;
        QTest::newRow("minimised comes back maximised") << "1" << true;
        QTest::newRow("normal") << "0" << false;
        QTest::newRow("not a number") << "big" << true;
    }

    void placement()
    {
        QFETCH(QString, state);
        QFETCH(bool, maximised);
        EditorHarness h;
        h.storePlacement(QRect(20, 30, 900, 650));
        if (state.isEmpty())
            h.fake.settings.values.clear();
        else
            h.fake.settings.values[QStringLiteral("WindowState")] = state;
        MainEditor &e = h.start();
        QCOMPARE(bool(e.windowState() & Qt::WindowMaximized), maximised);
        QVERIFY(!(e.windowState() & Qt::WindowMinimized));
        if (!maximised) {
            QCOMPARE(e.pos(), QPoint(20, 30));
            QCOMPARE(e.size(), QSize(900, 650));
        }
    }

    void damagedMeasuresTakeTheirDefaults()
    {
        EditorHarness h;
        h.fake.settings.values[QStringLiteral("Width")] = QStringLiteral("wide");
        h.fake.settings.values[QStringLiteral("Height")] = QStringLiteral("-1e30");
        MainEditor &e = h.start();
        QVERIFY(e.width() >= e.minimumSizeHint().width());
        QVERIFY(e.height() >= e.minimumSizeHint().height());
    }

    void closingStoresThePlacement()
    {
        EditorHarness h;
        h.storePlacement(QRect(20, 30, 900, 650));
        MainEditor &e = h.start();
        h.fake.settings.writtenKeys.clear();
        QVERIFY(e.close());
        QCOMPARE(h.fake.settings.writtenKeys, QStringList({"WindowState", "Top", "Left", "Width", "Height"}));
        const auto &v = h.fake.settings.values;
        QCOMPARE(v["WindowState"], QStringLiteral("0"));
        QCOMPARE(v["Top"], QStringLiteral("450"));
        QCOMPARE(v["Left"], QStringLiteral("300"));
        QCOMPARE(v["Width"], QStringLiteral("13500"));
        QCOMPARE(v["Height"], QStringLiteral("9750"));
    }

    void libraryWarningsShownOnce()
    {
        EditorHarness h;
        QVERIFY(QDir(h.folder.path()).mkpath(QStringLiteral("Objects")));
        h.writeText(QStringLiteral("Objects/objects.txt"),
                    "2\t2\t10 20 30\tC\tOak Tree.wrl\r\nbroken line\r\nx\t1\t1 1 1\tR\tCar.wrl");
        MainEditor &e = h.start(QStringLiteral("%1/notes.txt").arg(h.folder.path()));
        QCOMPARE(e.Shapes.size(), size_t(1));
        QCOMPARE(e.Shapes[0].Name, QStringLiteral("Oak Tree"));
        QCOMPARE(h.fake.messages.shown.size(), 2);
        QCOMPARE(h.fake.messages.shown[0], QStringLiteral("Not a valid Lotwright 2.0 file."));
        const QString warning = h.fake.messages.shown[1];
        QVERIFY2(warning.contains(QLatin1String("line 2")) && warning.contains(QLatin1String("line 3")),
                 qPrintable(warning));
        e.mnuNewItem->trigger();
        e.resize(e.size() + QSize(50, 50));
        QTest::qWait(10);
        QCOMPARE(h.fake.messages.shown.size(), 2);
    }

    void helpPages_data()
    {
        QTest::addColumn<bool>("manual"); // Manual... or Send Us Feedback...
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("viewer");
        QTest::addColumn<QString>("message");
        QTest::newRow("manual") << true << true << true << "";
        QTest::newRow("feedback") << false << true << true << "";
        QTest::newRow("manual missing") << true << false << true << "The help page";
        QTest::newRow("no viewer") << false << true << false << "No program could show";
    }

    void helpPages()
    {
        QFETCH(bool, manual);
        QFETCH(bool, present);
        QFETCH(bool, viewer);
        QFETCH(QString, message);
        EditorHarness h;
        const QString page = manual ? QStringLiteral("Manual.htm") : QStringLiteral("feedback.htm");
        if (present)
            h.writeText(page, "<html></html>");
        h.fake.shell.result = viewer;
        MainEditor &e = h.start();
        (manual ? e.mnuManualItem : e.mnuFeedBack)->trigger();
        QCOMPARE(h.fake.shell.opened, present ? QStringList{h.path(page)} : QStringList());
        if (message.isEmpty()) {
            QCOMPARE(h.fake.messages.shown, QStringList());
        } else {
            QCOMPARE(h.fake.messages.shown.size(), 1);
            QVERIFY(h.fake.messages.shown[0].startsWith(message));
            QVERIFY(h.fake.messages.shown[0].contains(h.path(page)));
        }
    }

    void menus()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        const auto texts = [](QMenu *menu) {
            QStringList t;
            for (QAction *a : menu->actions())
                t << (a->isSeparator() ? QStringLiteral("-") : a->text());
            return t;
        };
        QCOMPARE(texts(e.mnuFile), QStringList({"&New", "&Open...", "&Save", "Save &As...", "-",
                                                "World Properties...", "-", "Export to VRM&L", "-", "&Exit"}));
        QCOMPARE(texts(e.mnuViewItem), QStringList({"&Scale"}));
        QCOMPARE(texts(e.mnuScaleItem), QStringList({"&100%", "&200%", "&400%"}));
        QCOMPARE(texts(e.mnuHelpItem), QStringList({"&Manual...", "&Send Us Feedback...", "&About..."}));
        QCOMPARE(e.mnuManualItem->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(e.mnu100Item->isChecked());
        QVERIFY(!e.mnu200Item->isChecked());
        QVERIFY(!e.mnu400Item->isChecked());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_ui_startup.moc"
