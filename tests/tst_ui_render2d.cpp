// Render2D on the map's pixels and on the tree of existing objects.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "mapview/MapPainter.h"
#include "palette/ObjectTree.h"

#include <QtTest>

#include <functional>

namespace {

constexpr int32_t Red = 255;
constexpr int32_t Blue = 255 * 65536;
const QRgb Green = qRgb(0, 192, 0);

QRgb rgbOf(int32_t value) { return MapPainter::fromRgbValue(value).rgb(); }

CubeInfo cube(const QString &kind, float x1, float x2, float y1, float y2, int32_t color = Red)
{
    CubeInfo c;
    c.Kind = kind;
    c.X1 = x1;
    c.X2 = x2;
    c.Y1 = y1;
    c.Y2 = y2;
    c.Color = color;
    return c;
}

ObjectInfo object(const QString &name, float x, float y, float rotation = 0)
{
    ObjectInfo o;
    o.Name = name;
    o.X = x;
    o.Y = y;
    o.Rotation = rotation;
    return o;
}

TextInfo text(const QString &t, float x, float y, const QString &kind = QStringLiteral("Text (Big)"),
              float rotation = 0)
{
    TextInfo info;
    info.Text = t;
    info.X = x;
    info.Y = y;
    info.Kind = kind;
    info.Rotation = rotation;
    return info;
}

PictureInfo picture(const QString &file, float x, float y, float width, float rotation = 0)
{
    PictureInfo p;
    p.FileName = file;
    p.X = x;
    p.Y = y;
    p.Width = width;
    p.Rotation = rotation;
    return p;
}

QSet<QRgb> colorsIn(const QImage &image, const QRect &area)
{
    QSet<QRgb> colors;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            colors.insert(image.pixel(x, y) & 0xFFFFFF);
    }
    return colors;
}

QRgb opaque(QRgb c) { return c & 0xFFFFFF; }

using Setup = std::function<void(World &, std::vector<ShapeInfo> &)>;
struct Probe {
    QPointF from, to;          // map rectangle looked at
    QList<QRgb> present;       // colours that must appear there
    QList<QRgb> absent;        // colours that must not
};

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Probe)

class TestRender2D : public QObject {
    Q_OBJECT

private:
    EditorHarness h;

    MainEditor &showWorld(const World &world, const std::vector<ShapeInfo> &shapes)
    {
        MainEditor &e = *h.editor;
        e.world = world;
        e.Shapes = shapes;
        e.Render2D(true, 0, -1);
        return e;
    }

    QRect pixelRect(QPointF from, QPointF to) const
    {
        return QRect(h.pixelOf(from.x(), from.y()), h.pixelOf(to.x(), to.y()));
    }

private slots:
    void initTestCase() { h.start(); }

    void mapPixels_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Probe>("probe");
        const QRgb red = rgbOf(Red);
        const QRgb grey = qRgb(60, 60, 60);

        QTest::newRow("empty world is green") << Setup([](World &, auto &) {})
                                              << Probe{{5, 5}, {40, 40}, {Green}, {}};
        QTest::newRow("wall hatched in its colour, grass between")
            << Setup([](World &w, auto &) { w.Cubes[0] = cube("Wall", 10, 40, 10, 40); })
            << Probe{{12, 12}, {38, 38}, {red, Green}, {}};
        QTest::newRow("street grey whatever its colour")
            << Setup([](World &w, auto &) { w.Cubes[0] = cube("Street", 10, 40, 10, 40, Blue); })
            << Probe{{12, 12}, {38, 38}, {grey, Green}, {rgbOf(Blue)}};
        QTest::newRow("shrubbery solid dark green whatever its colour")
            << Setup([](World &w, auto &) { w.Cubes[0] = cube("Shrubbery", 10, 40, 10, 40, Blue); })
            << Probe{{12, 12}, {38, 38}, {qRgb(0, 125, 0)}, {Green, rgbOf(Blue)}};
        QTest::newRow("unknown cube kind draws nothing")
            << Setup([](World &w, auto &) { w.Cubes[0] = cube("Tower", 10, 40, 10, 40); })
            << Probe{{5, 5}, {45, 45}, {Green}, {red}};
        QTest::newRow("equal corners draw one point")
            << Setup([](World &w, auto &) { w.Cubes[0] = cube("Wall", 20, 20, 20, 20); })
            << Probe{{20, 20}, {20, 20}, {red}, {Green}};
        QTest::newRow("circle footprint whatever the rotation")
            << Setup([](World &w, auto &s) {
                   s = {shape("Oak", 10, 2, Blue, "C")};
                   w.Objects[0] = object("Oak", 50, 50, 0.5f);
               })
            << Probe{{47, 47}, {53, 53}, {rgbOf(Blue)}, {Green}};
        QTest::newRow("box footprint along x at rotation 0")
            << Setup([](World &w, auto &s) {
                   s = {shape("Car", 20, 4, Blue, "R")};
                   w.Objects[0] = object("Car", 50, 50, 0);
               })
            << Probe{{41, 49}, {59, 51}, {rgbOf(Blue)}, {Green}};
        QTest::newRow("box footprint turned at -1.57")
            << Setup([](World &w, auto &s) {
                   s = {shape("Car", 20, 4, Blue, "R")};
                   w.Objects[0] = object("Car", 50, 50, -1.57f);
               })
            << Probe{{49, 41}, {51, 59}, {rgbOf(Blue)}, {Green}};
        QTest::newRow("box footprint turned leaves its old place free")
            << Setup([](World &w, auto &s) {
                   s = {shape("Car", 20, 4, Blue, "R")};
                   w.Objects[0] = object("Car", 50, 50, 1.57f);
               })
            << Probe{{54, 49}, {59, 51}, {Green}, {rgbOf(Blue)}};
        QTest::newRow("box footprint of another rotation not drawn")
            << Setup([](World &w, auto &s) {
                   s = {shape("Car", 20, 4, Blue, "R")};
                   w.Objects[0] = object("Car", 50, 50, 1.0f);
               })
            << Probe{{40, 40}, {60, 60}, {Green}, {rgbOf(Blue)}};
        QTest::newRow("object missing from the library not drawn")
            << Setup([](World &w, auto &s) {
                   s = {shape("Car", 20, 4, Blue, "R")};
                   w.Objects[0] = object("Bus", 50, 50);
               })
            << Probe{{40, 40}, {60, 60}, {Green}, {rgbOf(Blue)}};
        QTest::newRow("object covers the floor beneath")
            << Setup([](World &w, auto &s) {
                   s = {shape("Rug", 20, 20, Blue, "R")};
                   w.Cubes[0] = cube("Floor", 30, 70, 30, 70);
                   w.Objects[0] = object("Rug", 50, 50);
               })
            << Probe{{42, 42}, {58, 58}, {rgbOf(Blue)}, {red, Green}};
        QTest::newRow("picture is a white bar")
            << Setup([](World &w, auto &) { w.Pictures[0] = picture("a.gif", 50, 50, 20); })
            << Probe{{45, 49.5}, {55, 50.5}, {qRgb(255, 255, 255)}, {}};
        QTest::newRow("picture of another rotation has no bar")
            << Setup([](World &w, auto &) { w.Pictures[0] = picture("a.gif", 50, 50, 20, 2.0f); })
            << Probe{{40, 45}, {60, 55}, {Green}, {qRgb(255, 255, 255)}};
        QTest::newRow("eye-level text bar along y when turned")
            << Setup([](World &w, auto &) {
                   w.Texts[0] = text("1234567890123456", 50, 50, "Text (Eye-Level)", 1.57f);
               })
            << Probe{{49.5, 49}, {50.5, 51}, {qRgb(255, 255, 255)}, {}};
        QTest::newRow("start marker above everything")
            << Setup([](World &w, auto &s) {
                   s = {shape("Pond", 10, 10, Blue, "C")};
                   w.Cubes[0] = cube("Shrubbery", 40, 60, 40, 60);
                   w.Objects[0] = object("Pond", 50, 50);
                   w.Texts[0] = text("Over the start", 50, 50);
                   w.StartPosX = 50;
                   w.StartPosY = 50;
               })
            << Probe{{50, 50}, {50, 50}, {qRgb(150, 150, 255)}, {}};
    }

    void mapPixels()
    {
        QFETCH(Setup, setup);
        QFETCH(Probe, probe);
        World world;
        world.StartPosX = 95; // out of the probes' way unless a row puts it there
        world.StartPosY = 5;
        std::vector<ShapeInfo> shapes;
        setup(world, shapes);
        showWorld(world, shapes);
        const QSet<QRgb> colors = colorsIn(h.mapImage(), pixelRect(probe.from, probe.to));
        for (QRgb c : probe.present)
            QVERIFY2(colors.contains(opaque(c)), qPrintable(QString::number(c, 16)));
        for (QRgb c : probe.absent)
            QVERIFY2(!colors.contains(opaque(c)), qPrintable(QString::number(c, 16)));
    }

    void floorsAndCeilingsUseOppositeDiagonals()
    {
        World world;
        world.Cubes = {cube("Floor", 10, 40, 10, 40), cube("Ceiling", 60, 90, 10, 40)};
        showWorld(world, {});
        const QImage image = h.mapImage();
        const QRgb red = opaque(rgbOf(Red));
        // Counts hatch pixels whose neighbour up-right (dx=1, dy=-1) continues the line.
        const auto along = [&](const QRect &area, int dy) {
            int count = 0;
            for (int y = area.top() + 1; y < area.bottom(); ++y)
                for (int x = area.left(); x < area.right(); ++x)
                    count += (image.pixel(x, y) & 0xFFFFFF) == red && (image.pixel(x + 1, y + dy) & 0xFFFFFF) == red;
            return count;
        };
        const QRect floor = pixelRect({12, 12}, {38, 38});
        const QRect ceiling = pixelRect({62, 12}, {88, 38});
        QVERIFY(along(floor, -1) > 20);
        QCOMPARE(along(floor, 1), 0);
        QVERIFY(along(ceiling, 1) > 20);
        QCOMPARE(along(ceiling, -1), 0);
    }

    void bigTextIsTwoPixelsThick()
    {
        World world;
        world.Texts = {text("Big text here", 30, 30), text("Eye level", 30, 60, "Text (Eye-Level)")};
        showWorld(world, {});
        const QImage image = h.mapImage();
        const auto thickness = [&](double x, double y) {
            const QPoint p = h.pixelOf(x, y);
            int n = 0;
            for (int dy = -4; dy <= 4; ++dy)
                n += (image.pixel(p.x(), p.y() + dy) & 0xFFFFFF) == 0xFFFFFF;
            return n;
        };
        QCOMPARE(thickness(30, 30), 2);
        QCOMPARE(thickness(30, 60), 1);
    }

    void emptyWorldGivesFiveRoots()
    {
        MainEditor &e = showWorld(World(), {});
        QCOMPARE(e.objTree->nodeCount(), 5);
        QCOMPARE(e.objTree->topLevelItemCount(), 5);
        const QStringList roots{"3D Objects", "Text Objects", "Walls & Streets", "2D Pictures", "Start Position"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(e.objTree->nodeText(i + 1), roots[i]);
            QCOMPARE(e.objTree->topLevelItem(i)->text(0), roots[i]);
        }
        QCOMPARE(e.objTree->selectedNode(), 0);
    }

    void nodesAddedCubesObjectsPicturesTexts()
    {
        World world;
        world.Texts = {TextInfo(), text("Greeting", 1, 1)}; // unused element 0 gets no node
        world.Pictures = {picture("p.gif", 1, 1, 1)};
        world.Objects = {object("Oak", 1, 1), object("Nowhere", 1, 1), object("Oak", 2, 2)};
        world.Cubes = {cube("Wall", 1, 2, 1, 2)};
        MainEditor &e = showWorld(world, {shape("Oak", 1, 1, 0, "C")});
        ObjectTree &t = *e.objTree;
        const struct {
            int node, parent, tag;
            const char *text;
        } expected[] = {{6, 3, 0, "Wall"}, {7, 1, 0, "Oak"}, {8, 1, 2, "Oak"}, {9, 4, 0, "p.gif"}, {10, 2, 1, "Greeting"}};
        QCOMPARE(t.nodeCount(), 10);
        for (const auto &n : expected) {
            QCOMPARE(t.parentOf(n.node), n.parent);
            QCOMPARE(t.tag(n.node), std::optional<int>(n.tag));
            QCOMPARE(t.nodeText(n.node), QString::fromLatin1(n.text));
        }
    }

    void objectListedOncePerMatchingLibraryEntry()
    {
        World world;
        world.Objects = {object("Twin", 1, 1)};
        MainEditor &e = showWorld(world, {shape("Twin", 1, 1, 0, "C"), shape("Other", 1, 1, 0, "C"),
                                          shape("Twin", 1, 1, 0, "R")});
        QCOMPARE(e.objTree->topLevelItem(0)->childCount(), 2);
    }

    void childrenShownAlphabetically()
    {
        World world;
        world.Texts = {text("beta", 1, 1), text("Alpha", 1, 1), text("alpha", 1, 1), text("Gamma", 1, 1)};
        MainEditor &e = showWorld(world, {});
        const QTreeWidgetItem *texts = e.objTree->topLevelItem(1);
        QStringList shown;
        for (int i = 0; i < texts->childCount(); ++i)
            shown << texts->child(i)->text(0);
        QCOMPARE(shown, QStringList({"Alpha", "alpha", "beta", "Gamma"}));
        // The tags still name the array elements.
        QCOMPARE(e.objTree->tag(6), std::optional<int>(0));
        QCOMPARE(e.objTree->nodeText(6), QStringLiteral("beta"));
    }

    void selectionRule_data()
    {
        QTest::addColumn<int>("selKind");
        QTest::addColumn<int>("selIndex");
        QTest::addColumn<int>("node");   // expected selected node, 0 for none
        QTest::addColumn<bool>("handle");

        // Cubes are nodes 6 and 7, the objects 8 and 9.
        QTest::newRow("last cube") << 3 << -1 << 7 << false;
        QTest::newRow("first cube by index") << 3 << 0 << 6 << false;
        QTest::newRow("last object") << 1 << -1 << 9 << true;
        QTest::newRow("kind 0 selects nothing") << 0 << -1 << 0 << false;
        QTest::newRow("index past the end selects nothing") << 1 << 5 << 0 << false;
        QTest::newRow("last text is a placeholder") << 2 << -1 << 0 << false;
    }

    void selectionRule()
    {
        QFETCH(int, selKind);
        QFETCH(int, selIndex);
        QFETCH(int, node);
        QFETCH(bool, handle);
        World world;
        world.Cubes = {cube("Wall", 10, 20, 30, 50), cube("Floor", 60, 80, 60, 70)};
        world.Objects = {object("Oak", 40, 40), object("Oak", 45, 25)};
        world.Texts = {text("First", 5, 5), TextInfo()};
        MainEditor &e = *h.editor;
        e.world = world;
        e.Shapes = {shape("Oak", 2, 2, 0, "C")};
        e.hideMarkers();
        e.Render2D(true, selKind, selIndex);

        QCOMPARE(e.objTree->selectedNode(), node);
        QCOMPARE(e.shpSelector->isVisible(), node != 0);
        QCOMPARE(e.Image1->isVisible(), handle);
        if (node == 7)
            QCOMPARE(e.shpSelector->mapRect(), QRectF(60, 60, 20, 10)); // the cube's rectangle
        if (node == 9)
            QCOMPARE(e.shpSelector->mapRect(), QRectF(43, 23, 4, 4)); // 4 x 4 around the object
        if (handle)
            QCOMPARE(e.Image1->geometry(), e.shpSelector->geometry());
    }

    void nodeClicksMoveTheMarker()
    {
        World world;
        world.Texts = {text("Note", 20, 30)};
        world.StartPosX = 50;
        world.StartPosY = 90;
        MainEditor &e = showWorld(world, {});
        ObjectTree &t = *e.objTree;
        t.selectNode(5); // Start Position
        e.objTree_NodeClick();
        QCOMPARE(e.shpSelector->mapRect(), QRectF(48, 88, 4, 4));
        QVERIFY(e.Image1->isVisible());
        t.selectNode(2); // a category hides both
        e.objTree_NodeClick();
        QVERIFY(!e.shpSelector->isVisible());
        QVERIFY(!e.Image1->isVisible());

        // A user's click goes through the tree's node-click signal.
        t.expandNode(2);
        QTreeWidgetItem *item = t.topLevelItem(1)->child(0);
        const QRect place = t.visualItemRect(item);
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(t.selectedNode(), 6);
        QVERIFY(e.shpSelector->isVisible());
        QCOMPARE(e.shpSelector->mapRect(), QRectF(18, 28, 4, 4));
    }

    void refreshFalseLeavesTheTreeAlone()
    {
        World world;
        world.Cubes = {cube("Wall", 10, 20, 10, 20)};
        MainEditor &e = showWorld(world, {});
        e.Render2D(true, 3, -1);
        QCOMPARE(e.objTree->selectedNode(), 6);
        e.world.Cubes.push_back(cube("Shrubbery", 60, 80, 60, 80));
        e.Render2D(false, 3, -1);
        QCOMPARE(e.objTree->nodeCount(), 6);
        QCOMPARE(e.objTree->selectedNode(), 6);
        // ... while the map shows the change.
        QVERIFY(colorsIn(h.mapImage(), pixelRect({65, 65}, {75, 75})).contains(qRgb(0, 125, 0) & 0xFFFFFF));
    }

    void openedCategoriesStayOpen()
    {
        World world;
        world.Texts = {text("One", 1, 1)};
        MainEditor &e = showWorld(world, {});
        e.objTree->collapseAll();
        e.objTree->expandNode(2);
        e.Render2D(true, 0, -1);
        QVERIFY(e.objTree->isNodeExpanded(2));
        QVERIFY(!e.objTree->isNodeExpanded(1));
    }
};

QTEST_MAIN(TestRender2D)
#include "tst_ui_render2d.moc"
