// The main window's layout as the window grows, shrinks and is minimised,
// and the palette's tab strip.

#include "EditorHarness.h"

#include "app/MainLayout.h"
#include "mapview/MapOverlay.h"
#include "palette/ObjectTree.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

const MainLayout::Metrics metrics{300, 26, 20, 28};

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
        QTest::newRow("both") << QSize(57, -33);
    }

    void growingAndShrinking()
    {
        QFETCH(QSize, change);
        const QSize base(900, 650);
        const MainLayout::Geometry a = MainLayout::compute(base, metrics);
        const MainLayout::Geometry b = MainLayout::compute(base + change, metrics);
        const int dx = change.width();
        const int dy = change.height();
        // The palette keeps its width at the right edge.
        QCOMPARE(b.TabStrip1, a.TabStrip1.translated(dx, 0));
        QCOMPARE(b.TabStrip1.right(), base.width() + dx - 1 - MainLayout::PaletteRightMargin);
        QCOMPARE(b.picOrientation, a.picOrientation.translated(dx, 0));
        for (size_t i = 0; i < a.picObjects.size(); ++i)
            QCOMPARE(b.picObjects[i], a.picObjects[i].translated(dx, 0));
        // The frame and the tree take the height; the button stays under the tree.
        QCOMPARE(b.frmCurrent, a.frmCurrent.translated(dx, 0).adjusted(0, 0, 0, dy));
        QCOMPARE(b.objTree, a.objTree.adjusted(0, 0, 0, dy));
        QCOMPARE(b.cmdRemoveObject, a.cmdRemoveObject.translated(0, dy));
        // The map's frame takes the rest; the bars follow it.
        QCOMPARE(b.Picture2, a.Picture2.adjusted(0, 0, dx, dy));
        QCOMPARE(b.VScroll1, a.VScroll1.translated(dx, 0).adjusted(0, 0, 0, dy));
        QCOMPARE(b.HScroll1, a.HScroll1.translated(0, dy).adjusted(0, 0, dx, 0));
    }

    void windowFollowsTheLayout()
    {
        EditorHarness h(QSize(1000, 700));
        MainEditor &e = h.start();
        e.resize(1300, 900);
        QTRY_COMPARE(e.centralWidget()->width(), 1300);
        QCOMPARE(e.TabStrip1->geometry().right(), 1300 - 1 - MainLayout::PaletteRightMargin);
        QVERIFY(e.TabStrip1->width() >=
                e.TabStrip1->tabBar()->sizeHint().width()); // all four tabs fit
        QCOMPARE(e.HScroll1->geometry().bottom(), e.centralWidget()->height() - 1);
        QCOMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);

        e.resize(10, 10); // the window keeps a usable minimum
        QTRY_VERIFY(e.width() > 10);
        QVERIFY(e.VScroll1->geometry().right() < e.TabStrip1->geometry().left());
        e.showMinimized();
        QTest::qWait(20);
        e.Render2D(true, 0, -1); // drawing while minimised
        e.showNormal();
        e.resize(1100, 750);
        QTRY_COMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);
    }

    void tabStripShowsOnePanel()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        QCOMPARE(e.TabStrip1->tabText(2), QStringLiteral("Walls && Streets")); // shows one "&"
        QCOMPARE(e.TabStrip1->tabToolTip(3),
                 QStringLiteral("Insert gifs and jpegs into the scene."));
        const auto shown = [&] {
            QList<bool> v;
            for (QWidget *p : e.picObjects)
                v << p->isVisible();
            return v << e.picOrientation->isVisible();
        };
        QCOMPARE(shown(), QList<bool>({true, false, false, false, true}));
        // Turning to place something lets go of the selected item.
        e.document.place(TextInfo{"Selected", 50, 50, 0, 0, "Text (Big)", false, {}, {}, {}});
        e.TabStrip1->setCurrentIndex(2);
        QCOMPARE(shown(), QList<bool>({false, false, true, false, false}));
        QCOMPARE(e.objTree->selectedNode(), 0);
        QVERIFY(!e.shpSelector->isVisible() && !e.Image1->isVisible());
        e.TabStrip1->setCurrentIndex(3);
        QCOMPARE(shown(), QList<bool>({false, false, false, true, true}));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_ui_layout.moc"
