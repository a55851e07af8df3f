// The world document: every command undoes to the very bytes of the world
// file and redoes to the bytes after it; Saved follows the clean state; the
// selection stays valid through commands, undo and redo.

#include "core/model/ItemEdits.h"
#include "core/model/WorldDocument.h"
#include "core/model/WorldFile.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(World)

namespace {

QString bytes(const WorldDocument &d) { return WorldFile::format(d.world(), {}, QLocale::c()); }

World everyKind()
{
    World w;
    w.Sky = "Night Sky";
    w.Objects = {{"Oak", 30, 30, 0, {}, {}}, {"Bench", 40, 45, 1.57f, "http://a", "_top"}};
    w.Texts = {{"Hello", 70, 70, 255, 0, "Text (Big)", false, {}, {}, {}}};
    w.Cubes = {{"Wall", 10, 40, 50, 60, 255}, {"Street", 0, 100, 90, 95, 0}};
    w.Pictures = {{70, 20, 0, 10, 5, 0, false, "/pictures/sign.gif", {}, {}}};
    return w;
}

// Every kind of command the editor makes, by name.
const QStringList Commands{
    "place object",        "place text",       "draw wall",        "move object",      "edit text",
    "remove first object", "remove last cube", "remove only text", "world properties", "move start",
    "paste two",           "move several",     "rotate all",       "remove several"};

void run(WorldDocument &d, const QString &command)
{
    WorldSettings s = d.settings();
    if (command == "place object") {
        d.place(ObjectInfo{"Fountain", 5, 6, 3.14f, {}, {}});
    } else if (command == "place text") {
        d.place(TextInfo{"Hi", 1, 2, 7, 0, "Text (Eye-Level)", true, {}, {}, {}});
    } else if (command == "draw wall") {
        d.place(CubeInfo{"Wall", 1, 2, 3, 4, 5});
    } else if (command == "move object") {
        ObjectInfo o = std::get<ObjectInfo>(*d.item(KindObject, 0));
        o.X += 10;
        d.change(0, o, "Move");
    } else if (command == "edit text") {
        TextInfo t = std::get<TextInfo>(*d.item(KindText, 0));
        t.Text = "Edited";
        t.Kind = "Text (Big)";
        d.change(0, t, "Edit");
    } else if (command == "remove first object") {
        d.remove(KindObject, 0);
    } else if (command == "remove last cube") {
        d.remove(KindCube, d.count(KindCube) - 1);
    } else if (command == "remove only text") {
        d.remove(KindText, 0);
    } else if (command == "world properties") {
        s.Sky = "Red Sky";
        s.Ground = "Snow";
        s.Music = "/music/tune.mid";
        d.changeSettings(s, "World Properties");
    } else if (command == "move start") {
        s.StartPosX = 12.5;
        s.StartAngle = -1.57;
        d.changeSettings(s, "Move Start Position");
    } else if (command == "paste two") {
        d.placeAll({ObjectInfo{"Fountain", 5, 6, 0, {}, {}}, CubeInfo{"Street", 0, 10, 0, 5, 0}},
                   "Paste");
    } else if (command == "move several") {
        d.move({{KindObject, 0}, {KindCube, 0}, {KindStart, 0}}, {2.5, -1});
    } else if (command == "rotate all") {
        d.turn({{KindObject, 0}, {KindText, 0}, {KindCube, 0}, {KindPicture, 0}}, true);
    } else if (command == "remove several") {
        d.removeAll({{KindObject, 0}, {KindText, 0}, {KindCube, 0}, {KindCube, 1}}, "Remove");
    }
}

// "O1 C0 S": items by kind letter (objects, texts, cubes, pictures) and
// index, and the start position.
ItemRefs refs(const QString &text)
{
    ItemRefs items;
    for (const QString &word : text.split(' ', Qt::SkipEmptyParts))
        items.push_back({int(QStringLiteral("OTCPS").indexOf(word[0])) + 1,
                         word.size() > 1 ? word.mid(1).toInt() : 0});
    return items;
}

} // namespace

class TestWorldDocument : public QObject {
    Q_OBJECT

private slots:
    void undoRestoresTheFileBytes_data()
    {
        QTest::addColumn<World>("start");
        QTest::addColumn<QStringList>("names"); // the commands run, in order
        for (const auto &[worldName, world] : {qMakePair(QString("empty"), World()),
                                               qMakePair(QString("every kind"), everyKind())}) {
            for (const QString &name : Commands)
                QTest::addRow("%s: %s", qPrintable(worldName), qPrintable(name))
                    << world << QStringList{name};
            QTest::addRow("%s: all, twice", qPrintable(worldName)) << world << Commands + Commands;
        }
        // The text placeholder: a removed lone text keeps its Kind, so the
        // next text is appended after it.
        QTest::newRow("text after a removed lone text")
            << everyKind() << QStringList{"remove only text", "place text", "place text"};
    }

    void undoRestoresTheFileBytes()
    {
        QFETCH(World, start);
        QFETCH(QStringList, names);
        WorldDocument d;
        d.replace(start);
        const QString before = bytes(d);
        for (const QString &name : names)
            run(d, name);
        const QString after = bytes(d);
        QCOMPARE(d.undoStack().count(), names.size()); // one command each
        while (d.undoStack().canUndo())
            d.undoStack().undo();
        QCOMPARE(bytes(d), before);
        QCOMPARE(d.world(), start);
        while (d.undoStack().canRedo())
            d.undoStack().redo();
        QCOMPARE(bytes(d), after);
    }

    // Views learn which item changed, and whether the start or the other
    // settings did; the Edit menu names the item it would undo.
    void notificationsNameTheItem()
    {
        WorldDocument d;
        d.replace(everyKind());
        QSignalSpy added(&d, &WorldDocument::itemAdded);
        QSignalSpy changed(&d, &WorldDocument::itemChanged);
        QSignalSpy removed(&d, &WorldDocument::itemRemoved);
        QSignalSpy start(&d, &WorldDocument::startChanged);
        QSignalSpy settings(&d, &WorldDocument::settingsChanged);
        run(d, "draw wall");
        d.undoStack().undo();
        run(d, "move start");
        run(d, "world properties");
        run(d, "move object");
        QCOMPARE(d.undoStack().undoText(), QStringLiteral("Move Oak"));
        QCOMPARE(added.takeFirst(), QVariantList({KindCube, 2}));
        QCOMPARE(removed.takeFirst(), QVariantList({KindCube, 2}));
        QCOMPARE(changed.takeFirst(), QVariantList({KindObject, 0}));
        QVERIFY(start.size() == 1 && settings.size() == 1);
    }

    void savedFollowsTheCleanState()
    {
        WorldDocument d;
        QSignalSpy saved(&d, &WorldDocument::savedChanged);
        run(d, "place object");
        d.savedAs("/tmp/a.lwf");
        run(d, "draw wall");
        d.undoStack().undo(); // back to what the file holds
        d.undoStack().undo(); // before the save
        d.undoStack().redo();
        d.setSaved(false); // changed without a command
        QList<bool> states;
        for (const QVariantList &arguments : saved)
            states << arguments[0].toBool();
        QCOMPARE(states, QList<bool>({false, true, false, true, false, true, false}));
    }

    // A removed item leaves the selection and later ones move down with
    // their array; what a step places, changes or puts back is selected.
    void selectionFollowsCommands_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("after"); // the command, then undo, then redo
        QTest::addColumn<QString>("undone");
        QTest::addColumn<QString>("redone");
        const auto row = [](const char *selected, const char *command, const char *after,
                            const char *undone, const char *redone) {
            QTest::newRow(command) << selected << command << after << undone << redone;
        };
        row("O1 C1", "remove first object", "O0 C1", "O0", "");
        row("C1 T0", "remove last cube", "T0", "C1", "");
        row("T0 O1", "remove only text", "O1", "T0", "");
        row("T0", "place object", "O2", "", "O2");
        row("O0", "edit text", "T0", "T0", "T0");
        row("C0", "move start", "S", "S", "S");
        row("C0 P0", "world properties", "C0 P0", "C0 P0", "C0 P0");
        row("T0", "paste two", "O2 C2", "", "O2 C2");
        row("O1 C1 T0", "remove several", "O0", "O0 T0 C0 C1", "");
        row("O0 T0 C0 P0 S", "rotate all", "O0 T0 C0 P0 S", "O0 T0 C0 P0 S",
            "O0 T0 C0 P0 S"); // all that turned was selected: the wall and the start stay
    }

    void selectionFollowsCommands()
    {
        QFETCH(QString, selected);
        QFETCH(QString, command);
        QFETCH(QString, after);
        QFETCH(QString, undone);
        QFETCH(QString, redone);
        WorldDocument d;
        d.replace(everyKind());
        d.setSelection(refs(selected));
        QSignalSpy changed(&d, &WorldDocument::selectionChanged);
        run(d, command);
        QCOMPARE(d.selection(), refs(after));
        d.undoStack().undo();
        QCOMPARE(d.selection(), refs(undone));
        d.undoStack().redo();
        QCOMPARE(d.selection(), refs(redone));
        QCOMPARE(changed.size(), int(selected != after) + int(after != undone) +
                                     int(undone != redone)); // once a step, when it differs
    }

    // The selection is sorted, each item once, and only what exists; a new
    // world has none.
    void selectionHoldsWhatExists()
    {
        WorldDocument d;
        d.replace(everyKind());
        QSignalSpy changed(&d, &WorldDocument::selectionChanged);
        ItemRefs asked = refs("S C1 O0 C1 T5 P0");
        asked.push_back({KindPicture, -1});
        asked.push_back({7, 0});
        d.setSelection(asked);
        QCOMPARE(d.selection(), refs("O0 C1 P0 S"));
        d.setSelection(refs("P0 O0 C1 S"));
        d.replace(World());
        QVERIFY(d.selection().empty());
        QCOMPARE(changed.size(), 2);
    }

    // A step on several items is named for what it did, on one item for
    // it; a quarter turn goes round the four orientations.
    void severalItems()
    {
        WorldDocument d;
        d.replace(everyKind());
        const auto named = [&d](const char *text) { return d.undoStack().undoText() == text; };
        run(d, "paste two");
        QVERIFY(named("Paste 2 Items"));
        run(d, "move several");
        QVERIFY(named("Move 3 Items"));
        run(d, "rotate all");
        QVERIFY(named("Rotate 3 Items")); // not the wall
        d.move({{KindStart, 0}}, {1, 0});
        QVERIFY(named("Move Start Position"));
        d.turn({{KindCube, 0}}, true); // nothing to turn: no step
        d.removeAll({{KindObject, 1}, {KindStart, 0}}, "Cut");
        QVERIFY(named("Cut Bench"));
        QCOMPARE(d.undoStack().count(), 5);

        const float round[] = {Rotation::Forward, Rotation::Left, Rotation::Backward,
                               Rotation::Right, Rotation::Forward};
        for (int i = 0; i < 4; ++i) {
            const TextInfo t{"T", 0, 0, 0, round[i], {}, false, {}, {}, {}};
            QCOMPARE(std::get<TextInfo>(ItemEdits::turned(t, true)).Rotation, round[i + 1]);
            QCOMPARE(ItemEdits::turned(ItemEdits::turned(t, true), false), AnyItem(t));
        }
        const PictureInfo odd{0, 0, 0, 1, 1, 2.0f, false, "p", {}, {}}; // none of the four
        QCOMPARE(std::get<PictureInfo>(ItemEdits::turned(odd, false)).Rotation, Rotation::Right);
    }

    void nothingToDoIsNoCommand()
    {
        WorldDocument d;
        d.replace(everyKind());
        d.change(0, d.world().Objects[0], "Move"); // dropped where it was
        d.change(9, d.world().Objects[0], "Move"); // no such item
        d.remove(KindObject, 5);
        d.remove(7, 0); // no such kind
        QVERIFY(d.undoStack().count() == 0 && d.Saved());
    }
};

QTEST_GUILESS_MAIN(TestWorldDocument)
#include "tst_worlddocument.moc"
