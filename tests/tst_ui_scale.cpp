// ScaleLand: the canvas's size, the scroll ranges, zoom and scrolling.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "mapview/MapScale.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

class TestScale : public QObject {
    Q_OBJECT

private:
    static void zoomTo(MainEditor &e, int zoom)
    {
        QAction *item = zoom == 4 ? e.mnu400Item : zoom == 2 ? e.mnu200Item : e.mnu100Item;
        item->trigger();
    }

private slots:
    void barRanges_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("canvas");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("small");
        QTest::addColumn<int>("large");
        QTest::newRow("canvas fits") << 500 << 499 << 0 << 1 << 1;
        QTest::newRow("exactly as large as the frame") << 500 << 500 << 0 << 1 << 1;
        QTest::newRow("halves round to even, down") << 100 << 150 << 50 << 2 << 5;  // 2.5, 5
        QTest::newRow("halves round to even, up") << 100 << 130 << 30 << 2 << 3;    // 1.5, 3
        QTest::newRow("small overhang still steps") << 100 << 103 << 3 << 1 << 1;   // 0.15, 0.3
        QTest::newRow("400% of a large frame") << 1300 << 4796 << 3496 << 175 << 350;
    }

    void barRanges()
    {
        QFETCH(int, frame);
        QFETCH(int, canvas);
        const MapScale::BarRange r = MapScale::barRange(frame, canvas);
        QTEST(r.maximum, "maximum");
        QTEST(r.singleStep, "small");
        QTEST(r.pageStep, "large");
    }

    void canvasSize_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("factor"); // used for sizing
        QTest::newRow("100%") << 1 << 1;
        QTest::newRow("200%") << 2 << 2;
        QTest::newRow("three times, from a file") << 3 << 3;
        QTest::newRow("400%") << 4 << 4;
        QTest::newRow("zero from a damaged file") << 0 << 1;
        QTest::newRow("negative from a damaged file") << -5 << 1;
        QTest::newRow("huge from a damaged file") << 1000 << 4;
    }

    void canvasSize()
    {
        QFETCH(int, zoom);
        QFETCH(int, factor);
        EditorHarness h;
        MainEditor &e = h.start();
        e.world.Zoom = zoom;
        e.ScaleLand();
        const QSize frame = e.Picture2->size();
        const int side = (std::min(frame.width(), frame.height()) - 1) * factor;
        QCOMPARE(e.Picture1->size(), QSize(side, side));
        QCOMPARE(e.HScroll1->maximum(), std::max(0, side - frame.width()));
        QCOMPARE(e.VScroll1->maximum(), std::max(0, side - frame.height()));
        QCOMPARE(e.world.Zoom, zoom); // the world keeps what it was given
        // The drawing keeps to the part that shows.
        QVERIFY(e.Picture1->backImage().width() <= frame.width());
        QVERIFY(e.Picture1->backImage().height() <= frame.height());
    }

    void zoomCommands()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        World world;
        world.Texts[0].Text = QStringLiteral("A note");
        world.Texts[0].X = 30;
        world.Texts[0].Y = 30;
        e.world = world;
        e.Render2D(true, 2, -1);
        QVERIFY(e.shpSelector->isVisible());

        zoomTo(e, 2);
        QCOMPARE(e.world.Zoom, 2);
        QVERIFY(!e.mnu100Item->isChecked());
        QVERIFY(e.mnu200Item->isChecked());
        QVERIFY(!e.mnu400Item->isChecked());
        QVERIFY(!e.shpSelector->isVisible());
        QVERIFY(!e.Image1->isVisible());
        QCOMPARE(e.objTree->selectedNode(), 6); // the tree keeps its selection
        zoomTo(e, 2); // choosing the checked entry again keeps it checked
        QVERIFY(e.mnu200Item->isChecked());
        const QSize frame = e.Picture2->size();
        QCOMPARE(e.Picture1->width(), (std::min(frame.width(), frame.height()) - 1) * 2);
    }

    void relativePositionSurvivesZoomAndResize()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        zoomTo(e, 2);
        QCOMPARE(e.HScroll1->value(), 0);
        QCOMPARE(e.VScroll1->value(), 0);
        e.HScroll1->setValue(e.HScroll1->maximum() / 2);
        e.VScroll1->setValue(e.VScroll1->maximum());
        const double relative = MapScale::fraction(*e.HScroll1);
        zoomTo(e, 4);
        QCOMPARE(e.HScroll1->value(), int(NumberText::roundHalfEven(e.HScroll1->maximum() * relative)));
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
        e.resize(e.width() + 200, e.height() + 100);
        QTRY_COMPARE(e.Picture1->width(),
                     (std::min(e.Picture2->width(), e.Picture2->height()) - 1) * 4);
        QVERIFY(qAbs(MapScale::fraction(*e.HScroll1) - 0.5) < 0.01);
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
        zoomTo(e, 1);
        QCOMPARE(e.HScroll1->maximum(), 0);
        QCOMPARE(e.Picture1->pos(), QPoint(0, 0));
    }

    void canvasFollowsTheBars()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        zoomTo(e, 4);
        e.HScroll1->setValue(123);
        e.VScroll1->setValue(45);
        QCOMPARE(e.Picture1->pos(), QPoint(-123, -45));
    }

    // Whatever is scrolled into view shows the same map, hatches aligned.
    void scrolledDrawingMatchesTheMap()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        World world;
        CubeInfo street;
        street.Kind = QStringLiteral("Street");
        street.X1 = 0;
        street.X2 = 100;
        street.Y1 = 0;
        street.Y2 = 100;
        world.Cubes[0] = street;
        e.world = world;
        zoomTo(e, 2);
        const QImage whole = h.mapImage(); // the whole canvas
        for (const QPoint shift : {QPoint(37, 11), QPoint(e.HScroll1->maximum(), e.VScroll1->maximum())}) {
            e.HScroll1->setValue(shift.x());
            e.VScroll1->setValue(shift.y());
            const QImage shown = e.Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage expected = whole.copy(QRect(shift, shown.size()));
            QCOMPARE(shown.copy(0, 0, expected.width(), expected.height()), expected);
        }
    }

    void largeWindowAt400PercentReachesEveryCorner()
    {
        EditorHarness h(QSize(1920, 1080));
        MainEditor &e = h.start();
        World world;
        CubeInfo corner;
        corner.Kind = QStringLiteral("Shrubbery");
        corner.X1 = 99;
        corner.X2 = 100;
        corner.Y1 = 99;
        corner.Y2 = 100;
        world.Cubes[0] = corner;
        e.world = world;
        zoomTo(e, 4);
        const int side = e.Picture1->width();
        QVERIFY(side > 32767 / 15); // beyond what a 16-bit range of twips could scroll
        e.HScroll1->setValue(e.HScroll1->maximum());
        e.VScroll1->setValue(e.VScroll1->maximum());
        // The canvas's bottom-right corner meets the frame's.
        QCOMPARE(e.Picture1->geometry().bottomRight(),
                 QPoint(e.Picture2->width() - 1, e.Picture2->height() - 1));
        const QImage shown = e.Picture2->grab().toImage();
        QCOMPARE(QColor(shown.pixel(e.Picture2->width() - 3, e.Picture2->height() - 3)), QColor(0, 125, 0));
        // Only the part that shows is kept as an image.
        QVERIFY(e.Picture1->backImage().sizeInBytes() <= qsizetype(e.Picture2->width()) * e.Picture2->height() * 4);
    }
};

QTEST_MAIN(TestScale)
#include "tst_ui_scale.moc"
