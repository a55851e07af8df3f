// The world document: every command undoes to the very bytes of the world
// file and redoes to the bytes after it; Saved follows the clean state.

#include "model/WorldDocument.h"
#include "model/WorldFile.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(World)

namespace {

using Command = std::function<void(WorldDocument &)>;

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
const QList<QPair<QString, Command>> &commands()
{
    static const QList<QPair<QString, Command>> all{
        {"place object", [](WorldDocument &d) { d.place(ObjectInfo{"Fountain", 5, 6, 3.14f, {}, {}}); }},
        {"place text", [](WorldDocument &d) {
             d.place(TextInfo{"Hi", 1, 2, 7, 0, "Text (Eye-Level)", true, {}, {}, {}});
         }},
        {"draw wall", [](WorldDocument &d) { d.place(CubeInfo{"Wall", 1, 2, 3, 4, 5}); }},
        {"place picture", [](WorldDocument &d) {
             d.place(PictureInfo{5, 5, 0.5f, 3, 2, 0, true, "/p.jpg", {}, {}});
         }},
        {"move object", [](WorldDocument &d) {
             ObjectInfo o = std::get<ObjectInfo>(*d.item(KindObject, 0));
             o.X += 10;
             d.change(0, o, "Move");
         }},
        {"edit text", [](WorldDocument &d) {
             TextInfo t = std::get<TextInfo>(*d.item(KindText, 0));
             t.Text = "Edited";
             t.Kind = "Text (Big)";
             d.change(0, t, "Edit");
         }},
        {"remove first object", [](WorldDocument &d) { d.remove(KindObject, 0); }},
        {"remove last cube", [](WorldDocument &d) { d.remove(KindCube, d.count(KindCube) - 1); }},
        {"remove only text", [](WorldDocument &d) { d.remove(KindText, 0); }},
        {"remove only picture", [](WorldDocument &d) { d.remove(KindPicture, 0); }},
        {"world properties", [](WorldDocument &d) {
             WorldSettings s = d.settings();
             s.Sky = "Red Sky";
             s.Ground = "Snow";
             s.Music = "/music/tune.mid";
             d.changeSettings(s, "World Properties");
         }},
        {"move start", [](WorldDocument &d) {
             WorldSettings s = d.settings();
             s.StartPosX = 12.5;
             s.StartAngle = -1.57;
             d.changeSettings(s, "Move Start Position");
         }},
    };
    return all;
}

} // namespace

class TestWorldDocument : public QObject {
    Q_OBJECT

private slots:
    void undoRestoresTheFileBytes_data()
    {
        QTest::addColumn<World>("start");
        QTest::addColumn<QStringList>("names"); // the commands run, in order
        QStringList all;
        for (const auto &command : commands())
            all << command.first;
        for (const auto &[worldName, world] : {qMakePair(QString("empty"), World()),
                                               qMakePair(QString("every kind"), everyKind())}) {
            for (const QString &name : all)
                QTest::addRow("%s: %s", qPrintable(worldName), qPrintable(name))
                    << world << QStringList{name};
            QTest::addRow("%s: all, twice", qPrintable(worldName)) << world << all + all;
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
            for (const auto &command : commands())
                if (command.first == name)
                    command.second(d);
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

    void notificationsNameTheItem()
    {
        WorldDocument d;
        d.replace(everyKind());
        QSignalSpy added(&d, &WorldDocument::itemAdded);
        QSignalSpy changed(&d, &WorldDocument::itemChanged);
        QSignalSpy removed(&d, &WorldDocument::itemRemoved);
        QSignalSpy start(&d, &WorldDocument::startChanged);
        QSignalSpy settings(&d, &WorldDocument::settingsChanged);
        d.place(CubeInfo{"Floor", 1, 2, 3, 4, 0});
        d.undoStack().undo();
        d.undoStack().redo();
        QCOMPARE(added.size(), 2);
        QCOMPARE(added.last(), QVariantList({KindCube, 2}));
        QCOMPARE(removed.takeFirst(), QVariantList({KindCube, 2}));
        commands()[4].second(d); // move object
        QCOMPARE(changed.takeFirst(), QVariantList({KindObject, 0}));
        commands()[11].second(d); // move start
        QCOMPARE(start.size(), 1);
        QCOMPARE(settings.size(), 0);
        commands()[10].second(d); // world properties
        QCOMPARE(settings.size(), 1);
        QCOMPARE(d.undoStack().undoText(), QStringLiteral("World Properties"));
    }

    void commandNames_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("object") << 0 << "Place Fountain";
        QTest::newRow("text") << 1 << "Place Text";
        QTest::newRow("wall") << 2 << "Draw Wall";
        QTest::newRow("picture") << 3 << "Place Picture";
        QTest::newRow("move") << 4 << "Move Oak";
        QTest::newRow("edit") << 5 << "Edit Text";
        QTest::newRow("remove") << 6 << "Remove Oak";
    }

    void commandNames()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        WorldDocument d;
        d.replace(everyKind());
        commands()[command].second(d);
        QCOMPARE(d.undoStack().undoText(), text);
    }

    void savedFollowsTheCleanState()
    {
        WorldDocument d;
        QSignalSpy saved(&d, &WorldDocument::savedChanged);
        QVERIFY(d.Saved());
        commands()[0].second(d);
        QVERIFY(!d.Saved());
        d.savedAs("/tmp/a.lwf");
        QVERIFY(d.Saved());
        commands()[2].second(d);
        QVERIFY(!d.Saved());
        d.undoStack().undo(); // back to what the file holds
        QVERIFY(d.Saved());
        d.undoStack().undo(); // before the save
        QVERIFY(!d.Saved());
        d.undoStack().redo();
        QVERIFY(d.Saved());
        d.setSaved(false); // changed without a command
        QVERIFY(!d.Saved());
        QCOMPARE(saved.size(), 7);
        d.replace(World()); // New and Open start afresh
        QVERIFY(d.Saved());
        QVERIFY(!d.undoStack().canUndo());
        QCOMPARE(d.CurrentFile(), QStringLiteral("/tmp/a.lwf")); // left to savedAs
    }

    void nothingToDoIsNoCommand()
    {
        WorldDocument d;
        d.replace(everyKind());
        d.change(0, d.world().Objects[0], "Move"); // dropped where it was
        d.change(9, d.world().Objects[0], "Move"); // no such item
        d.remove(KindObject, 5);
        d.remove(7, 0); // no such kind
        QCOMPARE(d.undoStack().count(), 0);
        QVERIFY(d.Saved());
    }
};

QTEST_GUILESS_MAIN(TestWorldDocument)
#include "tst_worlddocument.moc"
