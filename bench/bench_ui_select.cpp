// The select tool on the 10,000-item world at 100 %: a box selection of about
// 1,000 items, from the button's release to the map and the tree showing it;
// one frame of dragging those items, the map painted with them where they
// would go; and a paste of 1,000 items, from the command to the map and the
// tree drawn again. Targets: 16, 16 and 100 ms.

#include "EditorBench.h"

#include "core/library/Footprint.h"

#include <QAction>
#include <QKeyEvent>

namespace {

const QRectF Box(30, 30, 29, 29); // holds or touches about 1,000 items

// The select tool on, nothing selected, the pointer off the map.
MainEditor &selecting()
{
    MainEditor &e = *bench().editor;
    if (!cmdSelect(e)->isChecked())
        cmdSelect(e)->trigger();
    e.document().setSelection({});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Picture1(e), &leave);
    QCoreApplication::processEvents();
    return e;
}

// A point near the given one where the pointer is on no item: where a box begins.
QPointF emptyGroundNear(const MainEditor &e, QPointF point)
{
    for (double d = 0; d < 5; d += 0.05) {
        for (const QPointF p : {point + QPointF(-d, 0), point + QPointF(0, -d)}) {
            if (!itemAt(e.world(), e.Shapes, p, Picture1(e)->hitSlack()))
                return p;
        }
    }
    return point;
}

void selectBox(MainEditor &e)
{
    e.document().setSelection(itemsIn(e.world(), e.Shapes, Box));
    QCoreApplication::processEvents();
}

void BM_BoxSelect(benchmark::State &state)
{
    MainEditor &e = selecting();
    const QPointF from =
        pixelOf(e, emptyGroundNear(e, Box.topLeft()).x(), emptyGroundNear(e, Box.topLeft()).y());
    const QPointF to = pixelOf(e, Box.right(), Box.bottom());
    for (auto _ : state) {
        state.PauseTiming();
        e.document().setSelection({});
        send(Picture1(e), QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(Picture1(e), QEvent::MouseMove, to, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        send(Picture1(e), QEvent::MouseButtonRelease, to, Qt::NoButton);
        QCoreApplication::processEvents(); // the map and the tree show it
    }
    state.counters["selected"] = double(e.document().selection().size());
}

// One frame of the selection dragged a few pixels about: the map painted with
// the items where they would go, marked there.
void BM_MoveFrame(benchmark::State &state)
{
    MainEditor &e = selecting();
    selectBox(e);
    const ItemRefs &selection = e.document().selection();
    // An item whose footprint's middle is its own, not another's on top.
    QPointF grab;
    for (const ItemRef &item : selection) {
        grab = footprintOf(e.world(), item)->centre;
        const std::optional<MapItem> hit = itemAt(e.world(), e.Shapes, grab, 0);
        if (hit && std::binary_search(selection.begin(), selection.end(), *hit))
            break;
    }
    const QPointF at = pixelOf(e, grab.x(), grab.y());
    send(Picture1(e), QEvent::MouseButtonPress, at, Qt::LeftButton);
    send(Picture1(e), QEvent::MouseMove, at + QPointF(20, 20), Qt::LeftButton); // a drag now
    QCoreApplication::processEvents();
    PaintCounter counter(Picture1(e));
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF to = at + QPointF(20 + (step % 2 ? 3 : -3), 20 + step % 3 - 1);
        send(Picture1(e), QEvent::MouseMove, to, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    state.counters["moved"] = double(selection.size());
    state.counters["map_paints_per_frame"] = double(counter.paints) / double(step);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, {});
    QApplication::sendEvent(Picture1(e), &escape);
    send(Picture1(e), QEvent::MouseButtonRelease, at, Qt::NoButton);
    QCoreApplication::processEvents();
}

// Ctrl+V with 1,000 items on the clipboard: one undo step, the map and the
// tree drawn again, the pasted items selected.
void BM_Paste(benchmark::State &state)
{
    MainEditor &e = selecting();
    selectBox(e);
    const double copied = double(e.document().selection().size());
    findNamed<QAction>(e, QStringLiteral("mnuCopy"))->trigger();
    QAction *paste = findNamed<QAction>(e, QStringLiteral("mnuPaste"));
    for (auto _ : state) {
        paste->trigger();
        QCoreApplication::processEvents();
        state.PauseTiming();
        e.document().undoStack().undo(); // the world stays the same size
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["pasted"] = copied;
}

BENCHMARK(BM_BoxSelect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return runEditorBenchmarks(argc, argv); }
