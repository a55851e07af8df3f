// Render2D on the map's pixels and on the tree of existing objects.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "palette/ObjectTree.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

using Library = std::vector<ShapeInfo>;
using Colors = QList<QRgb>;
constexpr int32_t Red = 255;
constexpr int32_t Blue = 0xFF0000;
const QRgb RedPx = qRgb(255, 0, 0), BluePx = qRgb(0, 0, 255), Green = qRgb(0, 192, 0),
           White = qRgb(255, 255, 255), Shrub = qRgb(0, 125, 0);

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

TextInfo text(const QString &t, float x, float y, const QString &kind = "Text (Big)",
              float rotation = 0)
{
    return TextInfo{t, x, y, 0, rotation, kind, false, {}, {}, {}};
}

QSet<QRgb> colorsIn(const QImage &image, const QRect &area)
{
    QSet<QRgb> colors;
    const QRect r = area.normalized() & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            colors.insert(image.pixel(x, y) | 0xFF000000);
    return colors;
}

} // namespace

Q_DECLARE_METATYPE(Library)
Q_DECLARE_METATYPE(Colors)

class TestRender2D : public QObject {
    Q_OBJECT

    EditorHarness h;

    MainEditor &show(const World &w, const Library &shapes = {})
    {
        h.editor->document.replace(w);
        h.editor->Shapes = shapes;
        h.editor->Render2D(true, 0, -1);
        return *h.editor;
    }

    QSet<QRgb> colorsAt(QPointF from, QPointF to) const
    {
        return colorsIn(h.mapImage(),
                        QRect(h.pixelOf(from.x(), from.y()), h.pixelOf(to.x(), to.y())));
    }

private slots:
    void initTestCase() { h.start(); }

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

        row("empty world is green", world({{}}), {}, middle, {Green}, {});
        row("wall hatched in its colour", world({{"Wall", 40, 60, 40, 60, Red}}), {}, middle,
            {RedPx, Green}, {});
        row("street grey whatever its colour", world({{"Street", 40, 60, 40, 60, Blue}}), {},
            middle, {qRgb(60, 60, 60), Green}, {BluePx});
        row("shrubbery solid dark green", world({{"Shrubbery", 40, 60, 40, 60, Blue}}), {}, middle,
            {Shrub}, {Green, BluePx});
        row("equal corners draw one point", world({{"Wall", 50, 50, 50, 50, Red}}), {},
            QRectF(50, 50, 0, 0), {RedPx}, {});
        row("circle whatever the rotation", object("Oak", 0.5f), {shape("Oak", 10, 2, "C")},
            QRectF(47, 47, 6, 6), {BluePx}, {Green});
        row("box along x at 0", object("Car", 0), car, QRectF(41, 49, 18, 2), {BluePx}, {Green});
        row("box turned at -1.57", object("Car", -1.57f), car, QRectF(49, 41, 2, 18), {BluePx},
            {Green});
        row("box of another rotation not drawn", object("Car", 1.0f), car, middle, {Green},
            {BluePx});
        row("object missing from the library not drawn", object("Bus", 0), car, middle, {Green},
            {BluePx});
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
        show(w, shapes);
        const QSet<QRgb> colors = colorsAt(probe.topLeft(), probe.bottomRight());
        for (QRgb c : present)
            QVERIFY2(colors.contains(c), qPrintable(QString::number(c, 16)));
        for (QRgb c : absent)
            QVERIFY2(!colors.contains(c), qPrintable(QString::number(c, 16)));
    }

    void floorsAndCeilingsUseOppositeDiagonals()
    {
        show(world({{"Floor", 10, 40, 10, 40, Red}, {"Ceiling", 60, 90, 10, 40, Red}}));
        const QImage image = h.mapImage();
        // Hatch pixels whose neighbour one column right and dy rows down is a hatch pixel too.
        const auto along = [&](QPointF from, QPointF to, int dy) {
            const QRect area(h.pixelOf(from.x(), from.y()), h.pixelOf(to.x(), to.y()));
            int count = 0;
            for (int y = area.top() + 1; y < area.bottom(); ++y)
                for (int x = area.left(); x < area.right(); ++x)
                    count += image.pixel(x, y) == RedPx && image.pixel(x + 1, y + dy) == RedPx;
            return count;
        };
        QVERIFY(along({12, 12}, {38, 38}, -1) > 20);
        QCOMPARE(along({12, 12}, {38, 38}, 1), 0);
        QVERIFY(along({62, 12}, {88, 38}, 1) > 20);
        QCOMPARE(along({62, 12}, {88, 38}, -1), 0);
    }

    void treeNodesFollowTheWorld()
    {
        MainEditor &e = show(World());
        QStringList roots;
        for (int i = 0; i < e.objTree->topLevelItemCount(); ++i)
            roots << e.objTree->topLevelItem(i)->text(0);
        QCOMPARE(roots, QStringList({"3D Objects", "Text Objects", "Walls & Streets", "2D Pictures",
                                     "Start Position"}));

        // Nodes are added cubes, objects, pictures, texts; an object once per library
        // entry of its name; unused elements and unknown objects get none.
        show(
            world(
                {{"Wall", 1, 2, 1, 2, 0}},
                {{"Oak", 1, 1, 0, {}, {}}, {"Nowhere", 1, 1, 0, {}, {}}, {"Twin", 2, 2, 0, {}, {}}},
                {{}, text("beta", 1, 1), text("Alpha", 1, 1), text("alpha", 1, 1)},
                {{1, 1, 0, 1, 1, 0, false, "p.gif", {}, {}}}),
            {shape("Oak", 1, 1, "C"), shape("Twin", 1, 1, "C"), shape("Twin", 1, 1, "R")});
        QStringList nodes; // parent, tag and text of each item node
        for (int i = 6; i <= e.objTree->nodeCount(); ++i)
            nodes << QStringLiteral("%1 %2 %3")
                         .arg(e.objTree->parentOf(i))
                         .arg(e.objTree->tag(i).value_or(-1))
                         .arg(e.objTree->nodeText(i));
        QCOMPARE(nodes, QStringList({"3 0 Wall", "1 0 Oak", "1 2 Twin", "1 2 Twin", "4 0 p.gif",
                                     "2 1 beta", "2 2 Alpha", "2 3 alpha"}));
        const QTreeWidgetItem *texts = e.objTree->topLevelItem(1);
        QCOMPARE(texts->child(0)->text(0) + texts->child(1)->text(0) + texts->child(2)->text(0),
                 QStringLiteral("Alphaalphabeta"));
    }

    void selectionRule_data()
    {
        QTest::addColumn<int>("selKind");
        QTest::addColumn<int>("selIndex");
        QTest::addColumn<int>("node"); // the node selected, 0 for none
        QTest::addColumn<QRectF>("marker");
        QTest::addColumn<bool>("handle");
        // The cubes are nodes 6 and 7, the objects 8 and 9.
        QTest::newRow("last cube: its rectangle, no handle")
            << 3 << -1 << 7 << QRectF(60, 60, 20, 10) << false;
        QTest::newRow("first cube by index") << 3 << 0 << 6 << QRectF(10, 30, 10, 20) << false;
        QTest::newRow("last object: 4 x 4 and the handle")
            << 1 << -1 << 9 << QRectF(43, 23, 4, 4) << true;
        QTest::newRow("kind 0 selects nothing") << 0 << -1 << 0 << QRectF() << false;
        QTest::newRow("index past the end") << 1 << 5 << 0 << QRectF() << false;
        QTest::newRow("last text is unused") << 2 << -1 << 0 << QRectF() << false;
    }

    void selectionRule()
    {
        QFETCH(int, selKind);
        QFETCH(int, selIndex);
        QFETCH(int, node);
        QFETCH(QRectF, marker);
        QFETCH(bool, handle);
        MainEditor &e = *h.editor;
        e.document.replace(world({{"Wall", 10, 20, 30, 50, 0}, {"Floor", 60, 80, 60, 70, 0}},
                                 {{"Oak", 40, 40, 0, {}, {}}, {"Oak", 45, 25, 0, {}, {}}},
                                 {text("First", 5, 5), {}}));
        e.Shapes = {shape("Oak", 2, 2, "C")};
        e.hideMarkers();
        e.Render2D(true, selKind, selIndex);
        QCOMPARE(e.objTree->selectedNode(), node);
        QCOMPARE(e.shpSelector->isVisible(), node != 0);
        QCOMPARE(e.Image1->isVisible(), handle);
        if (node)
            QCOMPARE(e.shpSelector->mapRect(), marker);
        if (handle)
            QCOMPARE(e.Image1->geometry(), e.shpSelector->geometry());
    }

    void nodeClicksMoveTheMarker()
    {
        World w = world({{}}, {{}}, {text("Note", 20, 30)});
        w.StartPosX = 50;
        w.StartPosY = 90;
        MainEditor &e = show(w);
        ObjectTree &t = *e.objTree;
        t.selectNode(5);
        e.objTree_NodeClick();
        QCOMPARE(e.shpSelector->mapRect(), QRectF(48, 88, 4, 4));
        QVERIFY(e.Image1->isVisible());
        t.selectNode(2); // a category hides both
        e.objTree_NodeClick();
        QVERIFY(!e.shpSelector->isVisible() && !e.Image1->isVisible());

        // Selecting from code raised no node-click; the user's click does.
        QSignalSpy clicks(&t, &ObjectTree::nodeClick);
        e.Render2D(true, 2, -1);
        QCOMPARE(clicks.count(), 0);
        t.unselectNode();
        const QRect row = t.visualItemRect(t.topLevelItem(1)->child(0));
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, row.center());
        QTest::keyClick(&t, Qt::Key_Up); // moving with the keys is the user's choice too
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(t.selectedNode(), 2);
        QVERIFY(!e.shpSelector->isVisible());
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(t.selectedNode(), 6);
        QCOMPARE(e.shpSelector->mapRect(), QRectF(18, 28, 4, 4));
        QVERIFY(e.shpSelector->isVisible());
    }

    void refreshFalseLeavesTheTreeAlone()
    {
        MainEditor &e = show(world({{"Wall", 10, 20, 10, 20, 0}}));
        e.objTree->collapseAll();
        e.objTree->expandNode(2);
        e.Render2D(true, 3, -1);
        QVERIFY(e.objTree->isNodeExpanded(2)); // categories the user opened stay open
        {
            const QSignalBlocker quiet(e.document); // the change alone, not its redraw
            e.document.place(CubeInfo{"Shrubbery", 60, 80, 60, 80, 0});
        }
        e.Render2D(false, 3, -1);
        QCOMPARE(e.objTree->nodeCount(), 6);
        QCOMPARE(e.objTree->selectedNode(), 6);
        QVERIFY(colorsAt({65, 65}, {75, 75}).contains(Shrub)); // while the map shows the change
    }
};

QTEST_MAIN(TestRender2D)
#include "tst_ui_render2d.moc"
