// The main window's layout as the window grows, shrinks and is minimised,
// and the palette's tab strip.

#include "EditorHarness.h"

#include "app/MainLayout.h"
#include "mapview/MapOverlay.h"
#include "palette/ObjectTree.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

namespace {

const MainLayout::Metrics metrics{300, 26, 20, 28};

// Every rectangle of a layout, for checks that apply to all.
QList<QRect> allRects(const MainLayout::Geometry &g)
{
    QList<QRect> rects{g.Picture2, g.VScroll1, g.HScroll1, g.TabStrip1, g.picOrientation,
                       g.frmCurrent, g.objTree, g.cmdRemoveObject};
    for (const QRect &r : g.picObjects)
        rects << r;
    return rects;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void growingAndShrinking_data()
    {
        QTest::addColumn<QSize>("change");
        QTest::newRow("wider") << QSize(100, 0);
        QTest::newRow("narrower") << QSize(-80, 0);
        QTest::newRow("taller") << QSize(0, 40);
        QTest::newRow("lower") << QSize(0, -33);
        QTest::newRow("both") << QSize(57, 91);
    }

    void growingAndShrinking()
    {
        QFETCH(QSize, change);
        const QSize base(900, 650);
        const MainLayout::Geometry a = MainLayout::compute(base, metrics);
        const MainLayout::Geometry b = MainLayout::compute(base + change, metrics);
        const int dx = change.width();
        const int dy = change.height();

        // The palette keeps its width and moves with the right edge.
        QCOMPARE(b.TabStrip1, a.TabStrip1.translated(dx, 0));
        QCOMPARE(b.picOrientation, a.picOrientation.translated(dx, 0));
        for (size_t i = 0; i < a.picObjects.size(); ++i)
            QCOMPARE(b.picObjects[i], a.picObjects[i].translated(dx, 0));
        QCOMPARE(b.TabStrip1.right(), base.width() + dx - 1 - MainLayout::PaletteRightMargin);
        // The frame moves too and takes the height.
        QCOMPARE(b.frmCurrent, a.frmCurrent.translated(dx, 0).adjusted(0, 0, 0, dy));
        QCOMPARE(b.objTree, a.objTree.adjusted(0, 0, 0, dy));
        QCOMPARE(b.cmdRemoveObject, a.cmdRemoveObject.translated(0, dy));
        // The map's frame takes the rest, the bars follow it.
        QCOMPARE(b.Picture2, a.Picture2.adjusted(0, 0, dx, dy));
        QCOMPARE(b.VScroll1, a.VScroll1.translated(dx, 0).adjusted(0, 0, 0, dy));
        QCOMPARE(b.HScroll1, a.HScroll1.translated(0, dy).adjusted(0, 0, dx, 0));
    }

    void arrangementHasNoOverlaps()
    {
        const MainLayout::Geometry g = MainLayout::compute(QSize(900, 650), metrics);
        QVERIFY(g.VScroll1.right() < g.TabStrip1.left());
        QCOMPARE(g.VScroll1.left(), g.Picture2.right() + 1);
        QCOMPARE(g.HScroll1.top(), g.Picture2.bottom() + 1);
        QVERIFY(g.frmCurrent.top() > g.TabStrip1.bottom());
        QVERIFY(g.picOrientation.bottom() <= g.TabStrip1.bottom());
        QVERIFY(g.cmdRemoveObject.bottom() < g.frmCurrent.height());
        QVERIFY(g.TabStrip1.width() >= metrics.tabBarWidth); // all four tabs fit
        const QSize minimum = MainLayout::minimumClientSize(metrics);
        const MainLayout::Geometry m = MainLayout::compute(minimum, metrics);
        QVERIFY(m.VScroll1.right() < m.TabStrip1.left());
        QVERIFY(m.objTree.height() > 0);
        QVERIFY(m.Picture2.width() >= MainLayout::MinimumMapSide);
    }

    void tinyAreasGiveNoNegativeSizes_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::newRow("empty") << QSize(0, 0);
        QTest::newRow("invalid") << QSize(-1, -1);
        QTest::newRow("narrow") << QSize(40, 900);
        QTest::newRow("flat") << QSize(1200, 12);
    }

    void tinyAreasGiveNoNegativeSizes()
    {
        QFETCH(QSize, client);
        for (const QRect &r : allRects(MainLayout::compute(client, metrics))) {
            QVERIFY(r.width() >= 0);
            QVERIFY(r.height() >= 0);
        }
    }

    void windowFollowsTheLayout()
    {
        EditorHarness h(QSize(1000, 700));
        MainEditor &e = h.start();
        const QWidget *client = e.centralWidget();
        const auto check = [&] {
            QCOMPARE(e.TabStrip1->geometry().right(), client->width() - 1 - MainLayout::PaletteRightMargin);
            QCOMPARE(e.frmCurrent->geometry().left(), e.TabStrip1->geometry().left());
            QCOMPARE(e.HScroll1->geometry().bottom(), client->height() - 1);
            QCOMPARE(e.objTree->geometry().bottom() + 1 + MainLayout::TreeButtonGap,
                     e.cmdRemoveObject->geometry().top());
        };
        check();
        const int paletteWidth = e.TabStrip1->width();
        const int viewport = e.Picture2->width();
        const int tree = e.objTree->height();
        e.resize(1300, 900);
        QTRY_COMPARE(e.centralWidget()->width(), 1300);
        check();
        QCOMPARE(e.TabStrip1->width(), paletteWidth);
        QCOMPARE(e.Picture2->width(), viewport + 300);
        QVERIFY(e.objTree->height() > tree);
        // The canvas was refitted to the new frame.
        QCOMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);
    }

    void tinyAndMinimisedWindowsFailNothing()
    {
        EditorHarness h(QSize(1000, 700));
        MainEditor &e = h.start();
        e.resize(10, 10); // the window keeps a usable minimum
        QTRY_VERIFY(e.width() > 10);
        QVERIFY(e.VScroll1->geometry().right() < e.TabStrip1->geometry().left());
        QVERIFY(e.Picture1->width() > 0);
        e.showMinimized();
        QTest::qWait(20);
        e.Render2D(true, 0, -1); // drawing while minimised
        e.showNormal();
        e.resize(1100, 750);
        QTRY_COMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);
        QCOMPARE(e.TabStrip1->geometry().right(), e.centralWidget()->width() - 1 - MainLayout::PaletteRightMargin);
    }

    void tabStripAndPanels()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        const QStringList captions{"3D Objects", "Text", "Walls && Streets", "2D Pictures"};
        const QStringList tips{"Insert Pre-Built 3-D Objects", "Insert lines of text into the scene.",
                               "Draw walls, streets, floors, ceilings, and shrubbery.",
                               "Insert gifs and jpegs into the scene."};
        QCOMPARE(e.TabStrip1->count(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(e.TabStrip1->tabText(i), captions[i]);
            QCOMPARE(e.TabStrip1->tabToolTip(i), tips[i]);
        }
        const auto shown = [&] {
            QList<bool> v;
            for (QWidget *p : e.picObjects)
                v << p->isVisible();
            return v;
        };
        QCOMPARE(shown(), QList<bool>({true, false, false, false}));
        QVERIFY(e.picOrientation->isVisible());

        // A selected item is let go when the user turns to placing something.
        World world;
        world.Texts[0].Text = QStringLiteral("Selected");
        e.world = world;
        e.Render2D(true, 2, -1);
        QVERIFY(e.shpSelector->isVisible());
        e.TabStrip1->setCurrentIndex(2);
        QCOMPARE(shown(), QList<bool>({false, false, true, false}));
        QVERIFY(!e.picOrientation->isVisible());
        QCOMPARE(e.objTree->selectedNode(), 0);
        QVERIFY(!e.shpSelector->isVisible());
        QVERIFY(!e.Image1->isVisible());
        e.TabStrip1->setCurrentIndex(3);
        QCOMPARE(shown(), QList<bool>({false, false, false, true}));
        QVERIFY(e.picOrientation->isVisible());
    }

    void frameAndButton()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        QCOMPARE(e.frmCurrent->title(), QStringLiteral("Existing Objects"));
        QCOMPARE(e.cmdRemoveObject->text(), QStringLiteral("&Remove Object"));
        QCOMPARE(e.cmdRemoveObject->toolTip(), QStringLiteral("Removes the currently selected object from the scene"));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_ui_layout.moc"
