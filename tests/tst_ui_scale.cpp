// ScaleLand: the canvas's size, the scroll ranges, zoom and scrolling.

#include "EditorHarness.h"

#include "mapview/MapOverlay.h"
#include "mapview/MapScale.h"
#include "model/NumberText.h"
#include "palette/ObjectTree.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

namespace {

int shorterSide(const QWidget *frame) { return std::min(frame->width(), frame->height()); }

} // namespace

class TestScale : public QObject {
    Q_OBJECT

private slots:
    void canvasSize_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("factor"); // used for sizing
        QTest::newRow("100%: the whole map shows") << 1 << 1;
        QTest::newRow("three times, from a file") << 3 << 3;
        QTest::newRow("negative, a damaged file") << -5 << 1;
        QTest::newRow("huge, a damaged file") << 1000 << 4;
    }

    void canvasSize()
    {
        QFETCH(int, zoom);
        QFETCH(int, factor);
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.setZoom(zoom);
        e.ScaleLand();
        const QSize frame = e.Picture2->size();
        const int side = (shorterSide(e.Picture2) - 1) * factor;
        QCOMPARE(e.Picture1->size(), QSize(side, side));
        QCOMPARE(e.HScroll1->maximum(), std::max(0, side - frame.width()));
        QCOMPARE(e.VScroll1->maximum(), std::max(0, side - frame.height()));
        QCOMPARE(e.world().Zoom, zoom); // the world keeps what it was given
        QVERIFY(e.Picture1->backImage().width() <= frame.width()); // only what shows is kept
    }

    void zoomKeepsTheTreeAndTheRelativePosition()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.place(TextInfo{"A note", 30, 30, 0, 0, "Text (Big)", false, {}, {}, {}});
        e.mnu200Item->trigger();
        QVERIFY(e.mnu200Item->isChecked() && !e.mnu100Item->isChecked() &&
                !e.mnu400Item->isChecked());
        QVERIFY(!e.shpSelector->isVisible() && !e.Image1->isVisible());
        QCOMPARE(e.objTree->selectedNode(), 6);
        e.mnu200Item->trigger(); // choosing the checked entry again keeps it checked
        QVERIFY(e.mnu200Item->isChecked());
        QCOMPARE(e.HScroll1->value(), 0);
        QCOMPARE(e.VScroll1->value(), 0);

        e.HScroll1->setValue(e.HScroll1->maximum() / 2);
        e.VScroll1->setValue(e.VScroll1->maximum());
        QCOMPARE(e.Picture1->pos(), QPoint(-e.HScroll1->value(), -e.VScroll1->value()));
        const double relative = MapScale::fraction(*e.HScroll1);
        e.mnu400Item->trigger();
        QCOMPARE(e.HScroll1->value(),
                 int(NumberText::roundHalfEven(e.HScroll1->maximum() * relative)));
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
        e.resize(e.width() + 200, e.height() + 100);
        QTRY_COMPARE(e.Picture1->width(), (shorterSide(e.Picture2) - 1) * 4);
        QVERIFY(qAbs(MapScale::fraction(*e.HScroll1) - relative) < 0.01);
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
        e.mnu100Item->trigger();
        QCOMPARE(e.Picture1->pos(), QPoint(0, 0));
        // Back at a larger zoom, the map returns to where it was.
        e.mnu400Item->trigger();
        QVERIFY(qAbs(MapScale::fraction(*e.HScroll1) - relative) < 0.01);
        QCOMPARE(e.VScroll1->value(), e.VScroll1->maximum());
    }

    // A world opened while the frame cannot scroll (before the window has its
    // size) still opens at its stored place once the window is laid out.
    void storedPositionSurvivesAnUnscrollableFrame()
    {
        EditorHarness h;
        World zoomed;
        zoomed.Zoom = 2;
        const QString file = h.writeWorld(QStringLiteral("zoomed.lwf"), zoomed, {0.75, 0.5});
        MainEditor &e = h.start();
        e.resize(e.width(), 60); // too low to scroll anything vertically
        QTRY_COMPARE(e.VScroll1->maximum(), 0);
        QVERIFY(e.LoadFile(file).ok());
        e.resize(1000, 700);
        QTRY_VERIFY(e.VScroll1->maximum() > 0);
        QVERIFY(qAbs(MapScale::fraction(*e.VScroll1) - 0.75) < 0.01);
        QVERIFY(qAbs(MapScale::fraction(*e.HScroll1) - 0.5) < 0.01);
    }

    // What scrolls into view is the same map, hatches aligned.
    void scrolledDrawingMatchesTheMap()
    {
        EditorHarness h;
        MainEditor &e = h.start();
        e.document.place(CubeInfo{"Street", 0, 100, 0, 100, 0});
        e.mnu200Item->trigger();
        const QImage whole = h.mapImage();
        for (const QPoint shift :
             {QPoint(37, 11), QPoint(e.HScroll1->maximum(), e.VScroll1->maximum())}) {
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
        e.document.place(CubeInfo{"Shrubbery", 99, 100, 99, 100, 0});
        e.mnu400Item->trigger();
        QVERIFY(e.Picture1->width() > 32767 / 15); // beyond a 16-bit range of twips
        e.HScroll1->setValue(e.HScroll1->maximum());
        e.VScroll1->setValue(e.VScroll1->maximum());
        QCOMPARE(e.Picture1->geometry().bottomRight(),
                 QPoint(e.Picture2->width() - 1, e.Picture2->height() - 1));
        const QImage shown = e.Picture2->grab().toImage();
        QCOMPARE(QColor(shown.pixel(e.Picture2->width() - 3, e.Picture2->height() - 3)),
                 QColor(0, 125, 0));
        QVERIFY(e.Picture1->backImage().sizeInBytes() <=
                qsizetype(e.Picture2->width()) * e.Picture2->height() * 4);
    }
};

QTEST_MAIN(TestScale)
#include "tst_ui_scale.moc"
