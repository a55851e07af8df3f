// Render2D on a world of 10,000 items (2,500 of each kind, a 30-entry
// library) in a 1920 x 1080 main window, at 100 % and 400 %, with the tree
// left alone and rebuilt. Each iteration also lets the window paint, so the
// figures are what the user waits for. Also one placement, its undo and its
// redo, each with the redraw and the tree rebuild it causes; a placement by a
// click on the map, from the button's release to the map and tree redrawn;
// and one frame of the live preview while the drag handle is moved. Prints
// the peak memory at the end.

#include "EditorBench.h"

#include "editor/map/MapPainter.h"
#include "editor/palette/ExistingObjects.h"

#include <QAction>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>

namespace {

void zoomTo(MainEditor &e, int zoom)
{
    (zoom == 4 ? mnu400Item(e) : mnu100Item(e))->trigger();
    QCoreApplication::processEvents();
}

void render(benchmark::State &state, bool refreshTree)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    for (auto _ : state) {
        e.Render2D(refreshTree, 0, -1);
        QCoreApplication::processEvents(); // the window paints what was drawn
    }
    state.counters["canvas_px"] = Picture1(e)->width();
    state.counters["back_image_MB"] =
        double(Picture1(e)->backImage().sizeInBytes()) / (1024 * 1024);
}

// The map drawing alone, onto an image the size of the 100 % canvas.
void BM_PaintWorld(benchmark::State &state)
{
    const World world = bigWorld();
    const std::vector<ShapeInfo> shapes = library();
    QImage image(1021, 1021, QImage::Format_RGB32);
    const QTransform mapToPixels = QTransform::fromScale(10.21, 10.21);
    for (auto _ : state) {
        QPainter painter(&image);
        MapPainter::paintWorld(painter, mapToPixels, world, shapes);
    }
}

// Arguments: zoom, then the step timed: 0 place, 1 undo, 2 redo.
void BM_PlaceUndoRedo(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    const int step = int(state.range(1));
    QUndoStack &stack = e.document().undoStack();
    const auto run = [&](int which) {
        if (which == 0)
            e.document().place(ObjectInfo{QStringLiteral("Object 3"), 50, 50, 0, {}, {}});
        else if (which == 1)
            stack.undo();
        else
            stack.redo();
        QCoreApplication::processEvents();
    };
    for (auto _ : state) {
        for (int which = 0; which < 3; ++which) {
            if (which != step)
                state.PauseTiming();
            run(which);
            if (which != step)
                state.ResumeTiming();
        }
        state.PauseTiming();
        stack.undo(); // the world stays the same size
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// A click on the map with an object chosen in the list: timed from the
// release, which places it, to the map and the tree redrawn.
void BM_PlacementClick(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    TabStrip1(e)->setCurrentIndex(0);
    List1(e)->setCurrentRow(3);
    showInFrame(e, QPointF(50, 50));
    const QPointF pixel = pixelOf(e, 50, 50);
    for (auto _ : state) {
        state.PauseTiming();
        send(Picture1(e), QEvent::MouseButtonPress, pixel, Qt::LeftButton);
        state.ResumeTiming();
        send(Picture1(e), QEvent::MouseButtonRelease, pixel, Qt::NoButton);
        QCoreApplication::processEvents(); // the window paints what was drawn
        state.PauseTiming();
        e.document().undoStack().undo(); // the world stays the same size
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// One frame of the drag handle moved over the map: the handle, the marker
// and the item drawn at its new place over the map drawn without it.
void BM_DragPreviewFrame(benchmark::State &state)
{
    MainEditor &e = *bench().editor;
    zoomTo(e, int(state.range(0)));
    objTree(e)->selectNode(ExistingObjects::FirstItemNode + PerKind + 100); // an object
    e.objTree_NodeClick();
    showInFrame(e, shpSelector(e)->mapRect().center());
    DragHandle *handle = Image1(e);
    const QPointF grab = QPointF(handle->width(), handle->height()) / 2;
    send(handle, QEvent::MouseButtonPress, grab, Qt::LeftButton);
    PaintCounter counter(Picture1(e));
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF to = grab + QPointF(step % 2 ? 3 : -3, step % 3 - 1); // a few pixels about
        send(handle, QEvent::MouseMove, to, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    state.counters["map_paints_per_frame"] = double(counter.paints) / double(step);
    handle->cancelDrag();
    QCoreApplication::processEvents();
}

void BM_Render2D_TreeLeftAlone(benchmark::State &state) { render(state, false); }
void BM_Render2D_TreeRebuilt(benchmark::State &state) { render(state, true); }

BENCHMARK(BM_PaintWorld)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render2D_TreeLeftAlone)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render2D_TreeRebuilt)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlacementClick)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragPreviewFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceUndoRedo)
    ->ArgsProduct({{1, 4}, {0, 1, 2}})
    ->ArgNames({"zoom", "step"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return runEditorBenchmarks(argc, argv); }
