// What the map shows: the painter's pixels on a plain image, the tree of
// existing objects built from the world, and the editor keeping both in step;
// the window's layout as it grows, shrinks and is minimised, and the map's
// scale: the canvas's size, zoom and scrolling.

#include "EditorHarness.h"

#include "editor/map/MapPainter.h"
#include "editor/window/DocumentFiles.h"
#include "editor/window/MainLayout.h"

namespace {

using Library = std::vector<ShapeInfo>;
using Colors = QList<QRgb>;
constexpr int32_t Red = 255;
constexpr int32_t Blue = 0xFF0000;
const QRgb RedPx = qRgb(255, 0, 0), BluePx = qRgb(0, 0, 255), Green = qRgb(0, 192, 0),
           White = qRgb(255, 255, 255), Shrub = qRgb(0, 125, 0);
const QTransform FourPerUnit = QTransform::fromScale(4, 4);

World world(std::vector<CubeInfo> cubes, std::vector<ObjectInfo> objects = {{}},
            std::vector<TextInfo> texts = {{}}, std::vector<PictureInfo> pictures = {{}})
{
    World w;
    w.Cubes = std::move(cubes);
    w.Objects = std::move(objects);
    w.Texts = std::move(texts);
    w.Pictures = std::move(pictures);
    w.StartPosX = 95; // out of the way unless a case puts it elsewhere
    w.StartPosY = 5;
    return w;
}

ShapeInfo shape(const QString &name, double width, double depth, const QString &mapShape)
{
    return ShapeInfo{name, name + ".wrl", width, depth, Blue, mapShape, false};
}

TextInfo text(const QString &t, float x, float y)
{
    return TextInfo{t, x, y, 0, 0, "Text (Big)", false, {}, {}, {}};
}

// The whole map at four pixels per map unit.
QImage painted(const World &w, const Library &shapes = {})
{
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    MapPainter::paintWorld(painter, FourPerUnit, w, shapes);
    return image;
}

QSet<QRgb> colorsIn(const QImage &image, const QRectF &mapArea)
{
    QSet<QRgb> colors;
    const QRect r = QRect(FourPerUnit.map(mapArea.topLeft()).toPoint(),
                          FourPerUnit.map(mapArea.bottomRight()).toPoint()) &
                    image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            colors.insert(image.pixel(x, y) | 0xFF000000);
    return colors;
}

QImage shownMap(const MainEditor &e)
{
    return Picture2(e)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool near(double a, double b) { return qAbs(a - b) < 0.01; }

} // namespace

Q_DECLARE_METATYPE(Library)
Q_DECLARE_METATYPE(Colors)

class TestRender2D : public QObject {
    Q_OBJECT

private slots:
    void mapPixels_data()
    {
        QTest::addColumn<World>("w");
        QTest::addColumn<Library>("shapes");
        QTest::addColumn<QRectF>("probe"); // map units
        QTest::addColumn<Colors>("present");
        QTest::addColumn<Colors>("absent");
        const auto row = [](const char *name, const World &w, const Library &shapes,
                            const QRectF &probe, const Colors &present, const Colors &absent) {
            QTest::newRow(name) << w << shapes << probe << present << absent;
        };
        const QRectF middle(42, 42, 16, 16);
        const Library car{shape("Car", 20, 4, "R")};
        const auto object = [](const QString &name, float rotation) {
            return world({{}}, {{name, 50, 50, rotation, {}, {}}});
        };

        row("empty world is green", world({{}}), {}, QRectF(0, 0, 100, 100), {Green}, {});
        row("wall hatched in its colour", world({{"Wall", 40, 60, 40, 60, Red}}), {}, middle,
            {RedPx, Green}, {});
        row("street grey whatever its colour", world({{"Street", 40, 60, 40, 60, Blue}}), {},
            middle, {qRgb(60, 60, 60), Green}, {BluePx});
        row("shrubbery solid dark green", world({{"Shrubbery", 40, 60, 40, 60, Blue}}), {}, middle,
            {Shrub}, {Green, BluePx});
        row("equal corners draw one point", world({{"Wall", 50, 50, 50, 50, Red}}), {},
            QRectF(50, 50, 0, 0), {RedPx}, {});
        row("box along x at 0", object("Car", 0), car, QRectF(41, 49, 18, 2), {BluePx}, {Green});
        row("box turned at -1.57", object("Car", -1.57f), car, QRectF(49, 41, 2, 18), {BluePx},
            {Green});
        row("box of another rotation, object missing from the library: not drawn",
            world({{}}, {{"Car", 50, 50, 1.0f, {}, {}}, {"Bus", 50, 50, 0, {}, {}}}), car, middle,
            {Green}, {BluePx});
        row("object covers the floor",
            world({{"Floor", 30, 70, 30, 70, Red}}, {{"Rug", 50, 50, 0, {}, {}}}),
            {shape("Rug", 20, 20, "R")}, middle, {BluePx}, {RedPx, Green});
        row("picture is a white bar",
            world({{}}, {{}}, {{}}, {{50, 50, 0, 20, 5, 0, false, "a.gif", {}, {}}}), {},
            QRectF(45, 49.5, 10, 1), {White}, {});
        World onTop = world({{"Shrubbery", 40, 60, 40, 60, 0}}, {{"Pond", 50, 50, 0, {}, {}}},
                            {text("Over the start", 50, 50)});
        onTop.StartPosX = onTop.StartPosY = 50;
        row("start marker on top of everything", onTop, {shape("Pond", 10, 10, "C")},
            QRectF(50, 50, 0, 0), {qRgb(150, 150, 255)}, {Shrub, BluePx, White});
        // A damaged file may put anything anywhere: far-off items draw nothing
        // and a wall round the whole map still covers it.
        World farOff = world({{"Wall", -3e38f, 3e38f, -3e38f, 3e38f, Red}},
                             {{"Oak", 1e30f, -1e30f, 0, {}, {}}});
        farOff.StartPosX = 1e300;
        row("far-off items", farOff, {shape("Oak", 10, 2, "C")}, middle, {RedPx}, {BluePx});
    }

    void mapPixels()
    {
        QFETCH(World, w);
        QFETCH(Library, shapes);
        QFETCH(QRectF, probe);
        QFETCH(Colors, present);
        QFETCH(Colors, absent);
        const QSet<QRgb> colors = colorsIn(painted(w, shapes), probe);
        for (QRgb c : present)
            QVERIFY2(colors.contains(c), qPrintable(QString::number(c, 16)));
        for (QRgb c : absent)
            QVERIFY2(!colors.contains(c), qPrintable(QString::number(c, 16)));
    }

    // Floors and ceilings hatch along opposite diagonals.
    void floorsAndCeilingsUseOppositeDiagonals()
    {
        const QImage image =
            painted(world({{"Floor", 10, 40, 10, 40, Red}, {"Ceiling", 60, 90, 10, 40, Red}}));
        const auto along = [&](int left, int dy) { // hatch pixels continued one right, dy down
            int count = 0;
            for (int y = 50; y < 150; ++y)
                for (int x = left; x < left + 100; ++x)
                    count += image.pixel(x, y) == RedPx && image.pixel(x + 1, y + dy) == RedPx;
            return count;
        };
        QVERIFY(along(50, -1) > 20 && along(50, 1) == 0);   // the floor
        QVERIFY(along(250, 1) > 20 && along(250, -1) == 0); // the ceiling
    }

    // Nodes are added cubes, objects, pictures, texts; an object once per library
    // entry of its name; unused elements and unknown objects get none. Texts
    // show sorted without regard to case.
    void treeNodesFollowTheWorld()
    {
        ObjectTree tree;
        ExistingObjects::rebuild(
            tree,
            world({{"Wall", 1, 2, 1, 2, 0}},
                  {{"Oak", 1, 1, 0, {}, {}}, {"Nowhere", 1, 1, 0, {}, {}}, {"Twin", 2, 2, 0, {}, {}}},
                  {{}, text("beta", 1, 1), text("Alpha", 1, 1), text("alpha", 1, 1)},
                  {{1, 1, 0, 1, 1, 0, false, "p.gif", {}, {}}}),
            {shape("Oak", 1, 1, "C"), shape("Twin", 1, 1, "C"), shape("Twin", 1, 1, "R")}, 0, -1);
        QStringList nodes; // parent, tag and text of each item node
        for (int i = ExistingObjects::FirstItemNode; i <= tree.nodeCount(); ++i)
            nodes << QStringLiteral("%1 %2 %3")
                         .arg(tree.parentOf(i))
                         .arg(tree.tag(i).value_or(-1))
                         .arg(tree.nodeText(i));
        QCOMPARE(nodes, QStringList({"3 0 Wall", "1 0 Oak", "1 2 Twin", "1 2 Twin", "4 0 p.gif",
                                     "2 1 beta", "2 2 Alpha", "2 3 alpha"}));
        const QTreeWidgetItem *texts = tree.topLevelItem(1);
        QCOMPARE(texts->child(0)->text(0) + texts->child(1)->text(0) + texts->child(2)->text(0),
                 QStringLiteral("Alphaalphabeta"));
    }

    // The node selected by kind and index (-1: the last element) and its
    // marker: a cube's own rectangle, else 4 x 4 with the handle.
    void selectionRule()
    {
        const World w = world({{"Wall", 10, 20, 30, 50, 0}, {"Floor", 60, 80, 60, 70, 0}},
                              {{"Oak", 40, 40, 0, {}, {}}, {"Oak", 45, 25, 0, {}, {}}},
                              {text("First", 5, 5), {}});
        const struct {
            int kind, index, node; // node 0: nothing selected
            QRectF marker;
            bool handle;
        } cases[] = {{KindCube, -1, 7, {60, 60, 20, 10}, false},
                     {KindObject, -1, 9, {43, 23, 4, 4}, true},
                     {KindNone, -1, 0, {}, false},
                     {KindObject, 5, 0, {}, false}, // past the end
                     {KindText, -1, 0, {}, false}}; // the last text is unused
        for (const auto &c : cases) {
            ObjectTree tree;
            QCOMPARE(ExistingObjects::rebuild(tree, w, {shape("Oak", 2, 2, "C")}, c.kind, c.index),
                     c.node);
            QCOMPARE(tree.selectedNode(), c.node);
            const auto shown = ExistingObjects::markerFor(tree, c.node, w);
            QCOMPARE(shown ? std::pair(shown->rect, shown->withHandle) : std::pair(QRectF(), false),
                     std::pair(c.marker, c.handle));
        }
    }

    // In the window: the marker follows the user's node clicks (selecting
    // from code raises none), and a redraw without refreshing the tree shows
    // a change while the tree stays as it was.
    void editorFollowsTreeAndDocument()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document().replace(world({{"Wall", 10, 20, 10, 20, 0}}, {{}}, {text("Note", 20, 30)}));
        ObjectTree &t = *objTree(e);
        QSignalSpy clicks(&t, &ObjectTree::nodeClick);
        e.Render2D(true, KindText, -1);
        QCOMPARE(clicks.count(), 0);
        t.unselectNode();
        const QRect row = t.visualItemRect(t.topLevelItem(1)->child(0));
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(shpSelector(e)->isVisible() && shpSelector(e)->mapRect() == QRectF(18, 28, 4, 4));
        QTest::keyClick(&t, Qt::Key_Up); // moving with the keys is the user's choice too
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(t.selectedNode(), int(ExistingObjects::TextsNode));
        QVERIFY(!shpSelector(e)->isVisible() && !Image1(e)->isVisible()); // a category hides both
        {
            const QSignalBlocker quiet(e.document()); // the change alone, not its redraw
            e.document().place(CubeInfo{"Shrubbery", 60, 80, 60, 80, 0});
        }
        const int nodes = t.nodeCount();
        e.Render2D(false, KindCube, -1);
        QCOMPARE(t.nodeCount(), nodes);
        QCOMPARE(t.selectedNode(), int(ExistingObjects::TextsNode));
        QCOMPARE(h.mapImage().pixel(h.pixelOf(70, 70)), Shrub);
    }

    // The palette keeps its width at the right edge, the scroll bars stay at
    // the map's edges; the window keeps a usable minimum.
    void windowFollowsTheLayout()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.resize(1300, 900);
        QTRY_COMPARE(e.centralWidget()->width(), 1300);
        QCOMPARE(TabStrip1(e)->geometry().right(), 1300 - 1 - MainLayout::PaletteRightMargin);
        QCOMPARE(HScroll1(e)->geometry().bottom(), e.centralWidget()->height() - 1);

        e.resize(10, 10); // the window keeps a usable minimum
        QTRY_VERIFY(e.width() > 10);
        QVERIFY(VScroll1(e)->geometry().right() < TabStrip1(e)->geometry().left());
        e.showMinimized();
        e.Render2D(true, 0, -1); // drawing while minimised
        e.showNormal();
        e.resize(1100, 750);
        QTRY_COMPARE(Picture1(e)->width(),
                     std::min(Picture2(e)->width(), Picture2(e)->height()) - 1);
    }

    // At 100 % the whole map shows; other zooms multiply that side. The world
    // keeps a zoom of a damaged file, the canvas uses the nearest sound one.
    void canvasSize()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        const int whole = Picture1(e)->width();
        QVERIFY(whole <= std::min(Picture2(e)->width(), Picture2(e)->height()));
        QCOMPARE(HScroll1(e)->maximum() + VScroll1(e)->maximum(), 0);
        for (const auto &[zoom, factor] : {std::pair(3, 3), std::pair(-5, 1), std::pair(1000, 4)}) {
            e.document().setZoom(zoom);
            e.ScaleLand();
            QCOMPARE(Picture1(e)->size(), QSize(whole, whole) * factor);
            QCOMPARE(HScroll1(e)->maximum(),
                     std::max(0, Picture1(e)->width() - Picture2(e)->width()));
            QCOMPARE(e.world().Zoom, zoom);
            QVERIFY(Picture1(e)->backImage().width() <= Picture2(e)->width()); // only what shows
        }
    }

    // Zoom keeps the tree and the map's relative position, also across a
    // resize and a return from 100 %.
    void zoomKeepsTheRelativePosition()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document().place(TextInfo{"A note", 30, 30, 0, 0, "Text (Big)", false, {}, {}, {}});
        mnu200Item(e)->trigger();
        QVERIFY(!mnu100Item(e)->isChecked() && objTree(e)->selectedNode() == 6);
        HScroll1(e)->setValue(HScroll1(e)->maximum() / 2);
        VScroll1(e)->setValue(VScroll1(e)->maximum());
        const double relative = MapScale::fraction(*HScroll1(e));
        for (QAction *step : {mnu400Item(e), mnu100Item(e), mnu400Item(e)})
            step->trigger();
        QVERIFY(near(MapScale::fraction(*HScroll1(e)), relative));
        QCOMPARE(VScroll1(e)->value(), VScroll1(e)->maximum());
        const int before = Picture1(e)->width();
        e.resize(e.width() + 100, e.height() + 50);
        QTRY_VERIFY(Picture1(e)->width() > before);
        QVERIFY(near(MapScale::fraction(*HScroll1(e)), relative));
        QCOMPARE(Picture1(e)->pos(), QPoint(-HScroll1(e)->value(), -VScroll1(e)->value()));
    }

    // A world opened while the frame cannot scroll (before the window has its
    // size) still opens at its stored place once the window is laid out.
    void storedPositionSurvivesAnUnscrollableFrame()
    {
        EditorHarness h;
        World zoomed;
        zoomed.Zoom = 2;
        const QString file = h.writeWorld("zoomed.lwf", zoomed, {0.75, 0.5});
        MainEditor &e = h.start();
        e.resize(e.width(), 60); // too low to scroll anything vertically
        QTRY_COMPARE(VScroll1(e)->maximum(), 0);
        QVERIFY(e.files().LoadFile(file).ok());
        e.resize(1000, 700);
        QTRY_VERIFY(VScroll1(e)->maximum() > 0);
        QVERIFY(near(MapScale::fraction(*VScroll1(e)), 0.75));
        QVERIFY(near(MapScale::fraction(*HScroll1(e)), 0.5));
    }

    // What scrolls into view is the same map, hatches aligned, up to the far
    // corner of a large window at 400 %, beyond a 16-bit range of twips.
    void scrolledDrawingMatchesTheMap()
    {
        EditorHarness h(QSize(1920, 1080));
        MainEditor &e = h.start();
        e.document().place(CubeInfo{"Street", 0, 100, 0, 100, 0});
        e.document().place(CubeInfo{"Shrubbery", 99, 100, 99, 100, 0});
        mnu200Item(e)->trigger();
        const QImage whole = h.mapImage();
        for (const QPoint shift :
             {QPoint(37, 11), QPoint(HScroll1(e)->maximum(), VScroll1(e)->maximum())}) {
            HScroll1(e)->setValue(shift.x());
            VScroll1(e)->setValue(shift.y());
            const QImage shown = shownMap(e);
            const QImage expected = whole.copy(QRect(shift, shown.size()));
            QCOMPARE(shown.copy(0, 0, expected.width(), expected.height()), expected);
        }
        mnu400Item(e)->trigger();
        QVERIFY(Picture1(e)->width() > 32767 / 15);
        HScroll1(e)->setValue(HScroll1(e)->maximum());
        VScroll1(e)->setValue(VScroll1(e)->maximum());
        QCOMPARE(Picture1(e)->geometry().bottomRight(),
                 QPoint(Picture2(e)->width() - 1, Picture2(e)->height() - 1));
        QCOMPARE(shownMap(e).pixel(Picture2(e)->width() - 3, Picture2(e)->height() - 3),
                 qRgb(0, 125, 0));
    }
};

QTEST_MAIN(TestRender2D)
#include "tst_ui_render2d.moc"
