// The main window's layout as the window grows, shrinks and is minimised, and
// the map's scale: the canvas's size, zoom and scrolling.

#include "EditorHarness.h"

#include "app/MainLayout.h"

namespace {

QImage shownMap(const MainEditor &e)
{
    return e.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool near(double a, double b) { return qAbs(a - b) < 0.01; }

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    // The palette keeps its width at the right edge; the frame and the tree
    // take the height, the button stays under the tree; the map's frame and
    // its bars take the rest.
    void growingAndShrinking()
    {
        const MainLayout::Metrics metrics{300, 26, 20, 28};
        const MainLayout::Geometry a = MainLayout::compute(QSize(900, 650), metrics);
        const MainLayout::Geometry b = MainLayout::compute(QSize(957, 617), metrics);
        QCOMPARE(b.TabStrip1, a.TabStrip1.translated(57, 0));
        QCOMPARE(b.frmCurrent, a.frmCurrent.translated(57, 0).adjusted(0, 0, 0, -33));
        QCOMPARE(b.objTree, a.objTree.adjusted(0, 0, 0, -33));
        QCOMPARE(b.cmdRemoveObject, a.cmdRemoveObject.translated(0, -33));
        QCOMPARE(b.Picture2, a.Picture2.adjusted(0, 0, 57, -33));
        QCOMPARE(b.VScroll1, a.VScroll1.translated(57, 0).adjusted(0, 0, 0, -33));
        QCOMPARE(b.HScroll1, a.HScroll1.translated(0, -33).adjusted(0, 0, 57, 0));
    }

    void windowFollowsTheLayout()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.resize(1300, 900);
        QTRY_COMPARE(e.centralWidget()->width(), 1300);
        QCOMPARE(e.TabStrip1->geometry().right(), 1300 - 1 - MainLayout::PaletteRightMargin);
        QVERIFY(e.TabStrip1->width() >= e.TabStrip1->tabBar()->sizeHint().width()); // tabs fit
        QCOMPARE(e.HScroll1->geometry().bottom(), e.centralWidget()->height() - 1);

        e.resize(10, 10); // the window keeps a usable minimum
        QTRY_VERIFY(e.width() > 10);
        QVERIFY(e.VScroll1->geometry().right() < e.TabStrip1->geometry().left());
        e.showMinimized();
        e.Render2D(true, 0, -1); // drawing while minimised
        e.showNormal();
        e.resize(1100, 750);
        QTRY_COMPARE(e.Picture1->width(), std::min(e.Picture2->width(), e.Picture2->height()) - 1);
    }

    // At 100 % the whole map shows; other zooms multiply that side. The world
    // keeps a zoom of a damaged file, the canvas uses the nearest sound one.
    void canvasSize()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        const int whole = e.Picture1->width();
        QVERIFY(whole <= std::min(e.Picture2->width(), e.Picture2->height()));
        QCOMPARE(e.HScroll1->maximum() + e.VScroll1->maximum(), 0);
        for (const auto &[zoom, factor] : {std::pair(3, 3), std::pair(-5, 1), std::pair(1000, 4)}) {
            e.document.setZoom(zoom);
            e.ScaleLand();
            QCOMPARE(e.Picture1->size(), QSize(whole, whole) * factor);
            QCOMPARE(e.HScroll1->maximum(), std::max(0, e.Picture1->width() - e.Picture2->width()));
            QCOMPARE(e.world().Zoom, zoom);
            QVERIFY(e.Picture1->backImage().width() <= e.Picture2->width()); // only what shows
        }
    }

    // Zoom keeps the tree and the map's relative position, also across a
    // resize and a return from 100 %.
    void zoomKeepsTheRelativePosition()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.place(TextInfo{"A note", 30, 30, 0, 0, "Text (Big)", false, {}, {}, {}});
        e.mnu200Item->trigger();
        QVERIFY(!e.mnu100Item->isChecked() && e.objTree->selectedNode() == 6);
        e.HScroll1->setValue(e.HScroll1->maximum() / 2);
        e.VScroll1->setValue(e.VScroll1->maximum());
        const double relative = MapScale::fraction(*e.HScroll1);
        for (QAction *step : {e.mnu400Item, e.mnu100Item, e.mnu400Item})
            step->trigger();
        QVERIFY(near(MapScale::fraction(*e.HScroll1), relative));
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
        const int before = e.Picture1->width();
        e.resize(e.width() + 100, e.height() + 50);
        QTRY_VERIFY(e.Picture1->width() > before);
        QVERIFY(near(MapScale::fraction(*e.HScroll1), relative));
        QCOMPARE(e.Picture1->pos(), QPoint(-e.HScroll1->value(), -e.VScroll1->value()));
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
        QTRY_COMPARE(e.VScroll1->maximum(), 0);
        QVERIFY(e.LoadFile(file).ok());
        e.resize(1000, 700);
        QTRY_VERIFY(e.VScroll1->maximum() > 0);
        QVERIFY(near(MapScale::fraction(*e.VScroll1), 0.75));
        QVERIFY(near(MapScale::fraction(*e.HScroll1), 0.5));
    }

    // What scrolls into view is the same map, hatches aligned, up to the far
    // corner of a large window at 400 %, beyond a 16-bit range of twips.
    void scrolledDrawingMatchesTheMap()
    {
        EditorHarness h(QSize(1920, 1080));
        MainEditor &e = h.start();
        e.document.place(CubeInfo{"Street", 0, 100, 0, 100, 0});
        e.document.place(CubeInfo{"Shrubbery", 99, 100, 99, 100, 0});
        e.mnu200Item->trigger();
        const QImage whole = h.mapImage();
        for (const QPoint shift :
             {QPoint(37, 11), QPoint(e.HScroll1->maximum(), e.VScroll1->maximum())}) {
            e.HScroll1->setValue(shift.x());
            e.VScroll1->setValue(shift.y());
            const QImage shown = shownMap(e);
            const QImage expected = whole.copy(QRect(shift, shown.size()));
            QCOMPARE(shown.copy(0, 0, expected.width(), expected.height()), expected);
        }
        e.mnu400Item->trigger();
        QVERIFY(e.Picture1->width() > 32767 / 15);
        e.HScroll1->setValue(e.HScroll1->maximum());
        e.VScroll1->setValue(e.VScroll1->maximum());
        QCOMPARE(e.Picture1->geometry().bottomRight(),
                 QPoint(e.Picture2->width() - 1, e.Picture2->height() - 1));
        QCOMPARE(shownMap(e).pixel(e.Picture2->width() - 3, e.Picture2->height() - 3),
                 qRgb(0, 125, 0));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_ui_layout.moc"
