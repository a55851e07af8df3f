// The preview window on the export of a 1,000-item world (250 library
// objects of the shipped library, 250 pictures, 250 texts, 250 walls and
// surfaces), run under a virtual X server with Mesa's software renderer:
// - BM_OpenToFirstFrame: from creating the window to its first drawn frame
//   shown (reading the world and its textures included);
// - BM_WalkFrames: frames while walking forward, the 3-D view 1024 x 768;
//   the fps counter is frames per second, load1 the machine's load average
//   when it ends (other work on a 2-core machine moves every figure).

#include "BenchMain.h"
#include "BenchWorld.h"
#include "TestSupport.h"

#include "core/vrml/ExportCommand.h"
#include "scene/VrmlScene.h"
#include "scene/WorldView.h"
#include "editor/dialogs/frmBrowse.h"
#include "editor/platform/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int PerKind = 250;

double processSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Export {
    QTemporaryDir program;
    QString path;
    QString error;

    Export()
    {
        const QString source = QStringLiteral(SOURCE_DIR);
        if (!copyFiles(source + "/data/Objects", program.filePath("Objects")) ||
            !copyFiles(source + "/data/Textures", program.filePath("Textures"))) {
            error = QStringLiteral("cannot copy the shipped data");
            return;
        }
        LibraryLoad library = Init_Shapes(program.path());
        const WorldExport result = exportWorld(
            bigWorld(library.Shapes, samplePictures(), PerKind), library.Shapes,
                                               program.path(), QString());
        path = result.outputPath;
        error = result.error;
    }
};

Export &theExport()
{
    static Export e;
    return e;
}

// Runs the event loop until the view has drawn a frame and shown it; false
// after 30 s.
bool waitForFrame(WorldView *view)
{
    QEventLoop loop;
    bool drawn = false;
    QObject::connect(view, &QOpenGLWindow::frameSwapped, &loop, [&] {
        drawn = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return drawn;
}

// A preview whose 3-D view is 1024 x 768, shown, with its first frame drawn.
std::unique_ptr<frmBrowse> openPreview(FakePlatform &fake, const QString &path)
{
    auto browse = std::make_unique<frmBrowse>(fake.platform());
    browse->BrowseFile = path;
    browse->show();
    if (!browse->WorldView1)
        return nullptr;
    browse->picView->setFixedSize(1024, 768);
    browse->adjustSize();
    if (!waitForFrame(browse->WorldView1))
        return nullptr;
    return browse;
}

void BM_OpenToFirstFrame(benchmark::State &state)
{
    const Export &e = theExport();
    if (!e.error.isEmpty()) {
        state.SkipWithError(qPrintable(e.error));
        return;
    }
    FakePlatform fake;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto browse = std::make_unique<frmBrowse>(fake.platform());
        browse->BrowseFile = e.path;
        browse->resize(1040, 860);
        browse->show();
        if (!browse->WorldView1) {
            state.SkipWithError("no 3-D view");
            return;
        }
        if (!waitForFrame(browse->WorldView1)) {
            state.SkipWithError("no frame drawn");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_WalkFrames(benchmark::State &state)
{
    const Export &e = theExport();
    FakePlatform fake;
    const std::unique_ptr<frmBrowse> browse = e.error.isEmpty() ? openPreview(fake, e.path) : nullptr;
    if (!browse) {
        state.SkipWithError("the preview did not open");
        return;
    }
    WorldView *view = browse->WorldView1;
    int64_t frames = 0;
    const double cpuBefore = processSeconds();
    for (auto _ : state) {
        // What a frame at 30 fps moves at walking speed; back to the start
        // every 10 units, so that the walk stays among the items.
        if (++frames % 333 == 0)
            view->goHome();
        else
            view->walk(0.03f); // which asks for a frame
        if (!waitForFrame(view)) {
            state.SkipWithError("no frame drawn");
            return;
        }
    }
    // Frames per second of wall time; and the processor time of all threads
    // (the software renderer's included) per frame, which a busy machine
    // changes less.
    state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_frame"] = (processSeconds() - cpuBefore) * 1000 / double(frames);
    state.counters["width"] = view->width();
    state.counters["height"] = view->height();
    double load[1] = {0};
    if (getloadavg(load, 1) == 1)
        state.counters["load1"] = load[0];
}

BENCHMARK(BM_OpenToFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkFrames)->MinTime(3.0)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setCoinSurfaceFormat();
    return runBenchmarks<QApplication>(argc, argv);
}
