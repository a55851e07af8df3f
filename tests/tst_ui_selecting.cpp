// The select tool on the real map canvas: what clicks, Ctrl+clicks and boxes
// select, in the tree too; moving several items and resizing a wall with the
// mouse, on the grid or off it, each one undo step; the clipboard between
// editors and against foreign text; switching tools; the grid's arithmetic,
// its drawing and its settings.

// Mouse events go through the window, as the user's do.
#define QTEST_QPA_MOUSE_HANDLING

#include "EditorHarness.h"

#include "core/model/ItemEdits.h"
#include "editor/map/MapPainter.h"
#include "editor/map/ResizeHandles.h"
#include "editor/map/Snap.h"
#include "editor/window/Clipboard.h"

namespace {

// Two oaks, a text over a wall, a picture (a bar from 65 to 75); the start at 50, 96.
World sample()
{
    World w;
    w.Objects = {{"Oak", 30, 30, 0, {}, {}}, {"Oak", 60, 30, 0, {}, {}}};
    w.Texts = {{"Hello", 25, 55, 0, 0, Kind::TextBig, false, {}, {}, {}}};
    w.Cubes = {{Kind::Wall, 10, 40, 50, 60, 255}};
    w.Pictures = {{70, 20, 0, 10, 5, 0, false, "/p/sign.gif", {}, {}}};
    return w;
}

// An active window (for its shortcuts) showing sample(), its oaks drawn as
// discs 2 units wide, the select tool on.
MainEditor &startSelecting(EditorHarness &h, bool snap = false)
{
    h.fake.settings.values["SnapToGrid"] = snap ? "True" : "False";
    MainEditor &e = h.start();
    e.activateWindow();
    if (!QTest::qWaitForWindowActive(&e))
        qWarning("the main window did not become active");
    e.Shapes = {ShapeInfo{"Oak", "Oak.wrl", 2, 2, 0x00ff00, "C", false}};
    e.document().replace(sample());
    cmdSelect(e)->trigger();
    Picture1(e)->setFocus();
    return e;
}

// "O1 T0 S": the items by kind letter and index, and the start position.
QString named(const ItemRefs &items)
{
    QStringList words;
    for (const ItemRef &item : items)
        words << QString(QStringLiteral("OTCPS")[item.kind - 1]) +
                     (item.kind == KindStart ? QString() : QString::number(item.index));
    return words.join(' ');
}

QPointF reported(const EditorHarness &h, QPointF at)
{
    return Picture1(*h.editor)->pixelToMap(h.pixelOf(at.x(), at.y()));
}

// "click x y", "ctrl x y" (Ctrl+click), "box x1 y1 x2 y2", "ctrlbox ...";
// "drag x1 y1 x2 y2" with "alt" (Alt held at the release) or "escape" after it.
void play(EditorHarness &h, const QString &gesture)
{
    MapCanvas *map = Picture1(*h.editor);
    const QStringList w = gesture.split(' ');
    const auto at = [&](int i) { return h.pixelOf(w[i].toDouble(), w[i + 1].toDouble()); };
    const Qt::KeyboardModifiers ctrl =
        w[0].startsWith("ctrl") ? Qt::ControlModifier : Qt::NoModifier;
    if (w.size() == 3) {
        QTest::mouseClick(map, Qt::LeftButton, ctrl, at(1));
        return;
    }
    QTest::mousePress(map, Qt::LeftButton, ctrl, at(1));
    QTest::mouseMove(map, (at(1) + at(3)) / 2);
    QTest::mouseMove(map, at(3));
    if (w.value(5) == "escape")
        QTest::keyClick(map, Qt::Key_Escape);
    QTest::mouseRelease(map, Qt::LeftButton, w.value(5) == "alt" ? Qt::AltModifier : ctrl, at(3));
}

} // namespace

Q_DECLARE_METATYPE(World)

class TestSelecting : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // The topmost item through the footprints, within three pixels; Ctrl
    // toggles; a box from empty ground takes all it touches. The tree shows
    // the same selection.
    void selecting_data()
    {
        QTest::addColumn<QStringList>("gestures");
        QTest::addColumn<QString>("selected");
        const auto row = [](const char *name, const QStringList &gestures, const char *selected) {
            QTest::newRow(name) << gestures << QString(selected);
        };
        row("an object", {"click 30.5 30.5"}, "O0");
        row("the text over the wall", {"click 25 55"}, "T0");
        row("the wall beside it", {"click 15 52"}, "C0");
        row("a thin bar, within three pixels", {"click 72 20.3"}, "P0");
        row("the start marker", {"click 50 96"}, "S");
        row("empty ground: nothing", {"click 30 30", "click 50 80"}, "");
        row("Ctrl+click adds", {"click 30 30", "ctrl 60 30"}, "O0 O1");
        row("Ctrl+click takes out", {"click 30 30", "ctrl 60 30", "ctrl 30 30"}, "O1");
        row("a box touches", {"box 27 27 61 31"}, "O0 O1");
        row("a box over a corner", {"box 2 45 11 51"}, "C0");
        row("Ctrl+box adds", {"click 70 20", "ctrlbox 27 27 61 31"}, "O0 O1 P0");
        row("a click on one of several: it alone", {"box 27 27 61 31", "click 60 30"}, "O1");
    }

    void selecting()
    {
        QFETCH(QStringList, gestures);
        QFETCH(QString, selected);
        EditorHarness h;
        MainEditor &e = startSelecting(h);
        for (const QString &gesture : gestures)
            play(h, gesture);
        QCOMPARE(named(e.document().selection()), selected);
        QCOMPARE(named(ExistingObjects::itemsOf(*objTree(e), objTree(e)->selectedNodes())),
                 selected);
        QVERIFY(e.document().Saved() && !shpSelectBox(e)->isVisible());
    }

    // Several rows of the tree select several items on the map.
    void treeSelectsSeveral()
    {
        EditorHarness h;
        MainEditor &e = startSelecting(h);
        ObjectTree &tree = *objTree(e);
        tree.expandNode(ExistingObjects::ObjectsNode);
        const QTreeWidgetItem *objects = tree.topLevelItem(0);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          tree.visualItemRect(objects->child(0)).center());
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          tree.visualItemRect(objects->child(1)).center());
        QCOMPARE(named(e.document().selection()), QString("O0 O1"));
        QVERIFY(!shpSelector(e)->isVisible()); // several are outlined on the map itself
    }

    // A drag on a selected item moves all of them: the item taken lands on
    // the grid unless Alt is held; Escape puts everything back.
    void moveSeveral_data()
    {
        QTest::addColumn<bool>("snap");
        QTest::addColumn<QString>("how");    // "", "alt" or "escape"
        QTest::addColumn<bool>("asMoved");   // the items move as the pointer did
        QTest::addColumn<QPointF>("offset"); // else by this
        QTest::newRow("on the grid") << true << "" << false << QPointF(5, 10);
        QTest::newRow("Alt ignores the grid") << true << "alt" << true << QPointF();
        QTest::newRow("without the grid") << false << "" << true << QPointF();
        QTest::newRow("Escape") << true << "escape" << false << QPointF(0, 0);
    }

    void moveSeveral()
    {
        QFETCH(bool, snap);
        QFETCH(QString, how);
        QFETCH(bool, asMoved);
        QFETCH(QPointF, offset);
        EditorHarness h;
        MainEditor &e = startSelecting(h, snap);
        play(h, "box 27 27 61 31");
        play(h, "drag 30 30 35.3 40.2 " + how);
        if (asMoved)
            offset = reported(h, {35.3, 40.2}) - reported(h, {30, 30});
        World after = sample();
        for (ObjectInfo &oak : after.Objects)
            oak = std::get<ObjectInfo>(ItemEdits::translated(oak, offset));
        QCOMPARE(e.world(), after);
        QCOMPARE(named(e.document().selection()), QString("O0 O1"));
        QCOMPARE(mnuUndo(e)->text(),
                 how == "escape" ? QString("&Undo") : QString("&Undo Move 2 Items"));
        mnuUndo(e)->trigger();
        QCOMPARE(e.world(), sample());
    }

    // A lone selected wall shows eight handles; dragging one resizes it on
    // the grid, turning the rectangle round when dragged past its other side.
    void resizeWall_data()
    {
        QTest::addColumn<QString>("drag");
        QTest::addColumn<QRectF>("wall");
        QTest::newRow("corner") << "40 60 45.3 70.2" << QRectF(QPointF(10, 50), QPointF(45, 70));
        QTest::newRow("left edge") << "10 55 4.8 57" << QRectF(QPointF(5, 50), QPointF(40, 60));
        QTest::newRow("past the other side")
            << "40 55 2.2 53" << QRectF(QPointF(2, 50), QPointF(10, 60));
        QTest::newRow("Escape") << "40 60 45.3 70.2 escape"
                                << QRectF(QPointF(10, 50), QPointF(40, 60));
    }

    void resizeWall()
    {
        QFETCH(QString, drag);
        QFETCH(QRectF, wall);
        EditorHarness h;
        MainEditor &e = startSelecting(h, true);
        play(h, "click 15 52");
        play(h, "drag " + drag);
        const CubeInfo &c = e.world().Cubes[0];
        QCOMPARE(QRectF(QPointF(c.X1, c.Y1), QPointF(c.X2, c.Y2)), wall);
        QCOMPARE(e.document().undoStack().undoText(),
                 QString(drag.endsWith("escape") ? "" : "Resize Wall"));
        e.document().undoStack().undo();
        QCOMPARE(e.world(), sample());
    }

    // The grid and the handles' arithmetic.
    void arithmetic()
    {
        const Snap half{true, 0.5}, five{true, 5};
        QCOMPARE(half.point({10.26, -3.74}, {}), QPointF(10.5, -3.5));
        QCOMPARE(five.point({12.4, 97.6}, {}), QPointF(10, 100));
        QCOMPARE(five.point({12.4, 97.6}, Qt::AltModifier), QPointF(12.4, 97.6));
        QCOMPARE((Snap{false, 5}.point({12.4, 97.6}, {})), QPointF(12.4, 97.6));
        QCOMPARE(five.offset({21, 3}, {1, 1}, {}), QPointF(-1, 2)); // the anchor lands on 20, 5
        using namespace ResizeHandles;
        const QRectF r(QPointF(10, 20), QPointF(30, 40));
        const struct {
            Handle handle;
            QPointF to;
            QRectF result;
        } cases[] = {{TopLeft, {5, 25}, QRectF(QPointF(5, 25), QPointF(30, 40))},
                     {Top, {99, 10}, QRectF(QPointF(10, 10), QPointF(30, 40))},
                     {BottomRight, {35, 45}, QRectF(QPointF(10, 20), QPointF(35, 45))},
                     {Right, {0, 0}, QRectF(QPointF(0, 20), QPointF(10, 40))},
                     {Bottom, {0, 20}, QRectF(QPointF(10, 20), QPointF(30, 20))}};
        for (const auto &c : cases) {
            QCOMPARE(resized(r, c.handle, c.to), c.result);
            QCOMPARE(at(r, position(r, c.handle) + QPointF(0.4, -0.4), 0.5),
                     std::optional(c.handle));
        }
        QCOMPARE(at(r, {20, 30}, 0.5), std::nullopt);
    }

    // Copy and paste: the pasted records are the copied ones shifted, by
    // one unit without the pointer, to the pointer over the map; they become
    // the selection, in one undo step. Plain text that is not ours changes
    // nothing; a duplicate goes one unit off at once.
    void clipboard_data()
    {
        QTest::addColumn<QString>("how");    // "paste", "pointer", "text", "foreign" or "duplicate"
        QTest::addColumn<QPointF>("offset"); // null: nothing pasted
        QTest::newRow("no pointer") << "paste" << QPointF(1, 1);
        QTest::newRow("pointer over the map, on the grid") << "pointer" << QPointF(20, 30);
        QTest::newRow("as plain text, from another program") << "text" << QPointF(1, 1);
        QTest::newRow("plain text not ours") << "foreign" << QPointF();
        QTest::newRow("duplicate") << "duplicate" << QPointF(1, 1);
    }

    void clipboard()
    {
        QFETCH(QString, how);
        QFETCH(QPointF, offset);
        EditorHarness h;
        MainEditor &e = startSelecting(h, true);
        play(h, "click 30 30");
        play(h, "ctrl 70 20"); // an oak and the picture, their middle at 50, 25
        const std::vector<AnyItem> copied{sample().Objects[0], sample().Pictures[0]};
        QTest::keyClick(Picture1(e), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard::items(*QGuiApplication::clipboard()->mimeData()), copied);
        if (how == "text" || how == "foreign") {
            const QString text = QGuiApplication::clipboard()->text();
            QGuiApplication::clipboard()->setText(how == "text" ? text : "Sky\tMusic\tGround\t1");
        }
        if (how == "pointer")
            QTest::mouseMove(Picture1(e), h.pixelOf(70.2, 54.8));
        else
            QTest::mouseMove(objTree(e)->viewport(), {5, 5}); // off the map
        QTest::keyClick(Picture1(e), how == "duplicate" ? Qt::Key_D : Qt::Key_V,
                        Qt::ControlModifier);
        std::vector<AnyItem> pasted;
        for (const AnyItem &item : copied)
            pasted.push_back(ItemEdits::translated(item, offset));
        const World &w = e.world();
        QCOMPARE(w.Objects.size(), size_t(offset.isNull() ? 2 : 3));
        if (offset.isNull()) {
            QVERIFY(h.fake.messages.shown.isEmpty() && !e.document().undoStack().canUndo());
            QVERIFY(Status1(e)->currentMessage().contains("nothing"));
            return;
        }
        QCOMPARE((std::vector<AnyItem>{w.Objects[2], w.Pictures[1]}), pasted);
        QCOMPARE(named(e.document().selection()), QString("O2 P1"));
        QCOMPARE(e.document().undoStack().undoText(),
                 QString(how == "duplicate" ? "Duplicate 2 Items" : "Paste 2 Items"));
        e.document().undoStack().undo();
        QCOMPARE(e.world(), sample());
    }

    // Escape on the map leaves placing; any choice in the palette returns to
    // it. The status bar names the tool.
    void switchingTools_data()
    {
        QTest::addColumn<QString>("choice");
        for (const char *choice : {"tab", "object", "wall kind", "find"})
            QTest::newRow(choice) << QString(choice);
    }

    void switchingTools()
    {
        QFETCH(QString, choice);
        EditorHarness h;
        if (!copyFiles(TESTS_DATA_DIR "/golden/Objects", h.path("Objects")))
            qWarning("cannot copy the library");
        MainEditor &e = h.start();
        QCOMPARE(lblTool(e)->text(), QString("Place tool"));
        QTest::keyClick(Picture1(e), Qt::Key_Escape);
        QVERIFY(cmdSelect(e)->isChecked());
        QCOMPARE(lblTool(e)->text(), QString("Select tool"));
        if (choice == "tab")
            TabStrip1(e)->setCurrentIndex(2);
        else if (choice == "object")
            QTest::mouseClick(List1(e)->viewport(), Qt::LeftButton, {},
                              List1(e)->visualItemRect(List1(e)->item(0)).center());
        else if (choice == "wall kind")
            optCubes(e, 2)->click();
        else
            picPicture(e)->cmd2dFind->click(); // cancelled
        QCOMPARE(lblTool(e)->text(), QString("Place tool"));
    }

    // While snapping, the grid lies on the ground, under a wall's hatches,
    // and placing lands on it; the choices are kept for the next run.
    void grid()
    {
        EditorHarness h;
        MainEditor &e = startSelecting(h);
        const auto count = [&](QRectF area, QRgb color) {
            const QImage map = h.mapImage();
            int n = 0;
            for (int y = h.pixelOf(0, area.top()).y(); y <= h.pixelOf(0, area.bottom()).y(); ++y)
                for (int x = h.pixelOf(area.left(), 0).x(); x <= h.pixelOf(area.right(), 0).x();
                     ++x)
                    n += map.pixel(x, y) == color;
            return n;
        };
        const QRgb red = qRgb(255, 0, 0), grid = MapPainter::GridColor.rgb();
        const QRectF ground(70, 81, 12, 0), wall(11, 51, 28, 8);
        const int hatches = count(wall, red);
        QVERIFY(count(ground, grid) == 0 && hatches > 0);
        mnuSnapToGrid(e)->trigger();
        mnuGridSize(e)->actions().at(3)->trigger(); // 5 units
        QCOMPARE(count(ground, grid), 3);           // at 70, 75 and 80
        QCOMPARE(count(wall, red), hatches);        // not one hatch pixel hidden
        QCOMPARE(h.fake.settings.values.value("SnapToGrid"), QString("True"));
        QCOMPARE(h.fake.settings.values.value("GridSize"), QString("5"));
        TabStrip1(e)->setCurrentIndex(1); // placing lands on the grid too
        QTest::keyClicks(picText(e)->txtTextText, "Gate");
        QTest::mouseClick(Picture1(e), Qt::LeftButton, {}, h.pixelOf(41.3, 28.4));
        QCOMPARE(QPointF(e.world().Texts[1].X, e.world().Texts[1].Y), QPointF(40, 30));
    }

    // Ctrl+A selects everything; Delete and R act on all of it, one step each.
    void wholeSelection()
    {
        EditorHarness h;
        MainEditor &e = startSelecting(h);
        QTest::keyClick(Picture1(e), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(named(e.document().selection()), QString("O0 O1 T0 C0 P0 S"));
        QTest::keyClick(Picture1(e), Qt::Key_R);
        QCOMPARE(e.world().Objects[1].Rotation, Rotation::Left);
        QCOMPARE(e.document().undoStack().undoText(), QString("Rotate 4 Items"));
        QTest::keyClick(Picture1(e), Qt::Key_R, Qt::ShiftModifier);
        QCOMPARE(named(e.document().selection()), QString("O0 O1 T0 C0 P0 S")); // all kept
        QTest::keyClick(Picture1(e), Qt::Key_Delete);
        QCOMPARE(e.world().Objects.size(), size_t(1));
        QCOMPARE(named(e.document().selection()), QString("S"));
        QCOMPARE(e.document().undoStack().undoText(), QString("Remove 5 Items"));
        e.document().undoStack().undo();
        e.document().undoStack().undo();
        e.document().undoStack().undo();
        QCOMPARE(e.world(), sample());
    }
};

QTEST_MAIN(TestSelecting)
#include "tst_ui_selecting.moc"
