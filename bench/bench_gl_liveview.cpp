// The 3-D View panel's live scene, run under a virtual X server with Mesa's
// software renderer:
// - BM_OpenLarge: a 10,000-item world, from making its scene to the first
//   frame shown; complete_ms is the time until a frame shows each text's
//   picture (made a few each frame), peak_mb the process's peak memory;
// - BM_EditToFrame: in a 1,000-item world, from placing an object to the
//   frame that shows it;
// - BM_AerialFrames: frames while the aerial view turns round that world,
//   800 x 600; the fps counter is frames per second.

#include "BenchMain.h"
#include "BenchWorld.h"
#include "TestSupport.h"

#include "core/model/WorldDocument.h"
#include "scene/LevelOfDetail.h"
#include "scene/LiveScene.h"
#include "scene/VrmlScene.h"
#include "scene/WorldView.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <Inventor/nodes/SoSeparator.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>

namespace {

struct Program {
    QTemporaryDir folder;
    std::vector<ShapeInfo> shapes;
    bool ok = false;

    Program()
    {
        const QString source = QStringLiteral(SOURCE_DIR);
        ok = copyFiles(source + "/data/Objects", folder.filePath("Objects")) &&
             copyFiles(source + "/data/Textures", folder.filePath("Textures"));
        shapes = Init_Shapes(folder.path()).Shapes;
    }
};

Program &program()
{
    static Program p;
    return p;
}

// Runs the event loop until the view has shown a frame; false after 30 s.
bool waitForFrame(WorldView &view)
{
    QEventLoop loop;
    bool drawn = false;
    QObject::connect(&view, &QOpenGLWindow::frameSwapped, &loop, [&] {
        drawn = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return drawn;
}

// A world in its live scene, shown in an aerial view of the given size.
struct LiveView {
    WorldDocument document;
    std::unique_ptr<LiveScene> scene;
    WorldView view;

    LiveView(int perKind, QSize size)
    {
        document.replace(bigWorld(program().shapes, samplePictures(), perKind));
        scene = std::make_unique<LiveScene>(document, program().shapes, program().folder.path());
        QObject::connect(scene.get(), &LiveScene::changed, &view, &WorldView::worldChanged);
        view.setMode(WorldView::Mode::Aerial);
        view.setWorld(scene->root());
        view.resize(size);
        view.show();
    }
};

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

void BM_OpenLarge(benchmark::State &state)
{
    if (!program().ok) {
        state.SkipWithError("cannot copy the shipped data");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        LiveView live(2500, QSize(800, 600));
        if (!waitForFrame(live.view)) {
            state.SkipWithError("no frame drawn");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // The frames after, until each text's picture is made and drawn.
        while (standInsDeferred()) {
            if (!waitForFrame(live.view)) {
                state.SkipWithError("no frame drawn");
                return;
            }
        }
        state.counters["complete_ms"] = double(clock.nsecsElapsed()) / 1e6;
    }
    state.counters["peak_mb"] = peakMegabytes();
}

void BM_EditToFrame(benchmark::State &state)
{
    LiveView live(250, QSize(800, 600));
    if (!waitForFrame(live.view)) {
        state.SkipWithError("no frame drawn");
        return;
    }
    const ObjectInfo gazebo{QStringLiteral("Gazebo"), 40, 60, 0, {}, {}};
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        live.document.place(gazebo);
        if (!waitForFrame(live.view)) {
            state.SkipWithError("no frame drawn");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        live.document.undoStack().undo();
        waitForFrame(live.view);
        state.ResumeTiming();
    }
}

void BM_AerialFrames(benchmark::State &state)
{
    LiveView live(250, QSize(800, 600));
    if (!waitForFrame(live.view)) {
        state.SkipWithError("no frame drawn");
        return;
    }
    int64_t frames = 0;
    for (auto _ : state) {
        live.view.turn(0.01f); // which asks for a frame
        if (!waitForFrame(live.view)) {
            state.SkipWithError("no frame drawn");
            return;
        }
        ++frames;
    }
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
}

// The large world first, so that its peak memory is its own.
BENCHMARK(BM_OpenLarge)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditToFrame)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AerialFrames)->MinTime(3.0)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setCoinSurfaceFormat();
    return runBenchmarks<QGuiApplication>(argc, argv);
}
