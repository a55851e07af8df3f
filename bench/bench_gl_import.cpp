// Importing and the pictures of the library, under a virtual X server with
// Mesa's software renderer:
// - BM_ImportTexturedModel: a 50,000-triangle textured model (OBJ with a
//   1024 x 1024 JPEG) read, placed, checked and added to a user's library,
//   as Import does (aim: at most 2 s); icon_ms: then drawing its picture;
// - BM_IconsFirstStart: the pictures of the shipped objects drawn with an
//   empty cache, from the request until the last one is ready (aim: 3 s);
// - BM_IconsFromCache: the same at a later start (aim: 100 ms).

#include "BenchMain.h"
#include "ModelFiles.h"
#include "TestSupport.h"

#include "core/library/ObjectLibrary.h"
#include "scene/ImportReader.h"
#include "scene/ObjectIcons.h"
#include "scene/ObjectImport.h"
#include "scene/VrmlScene.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

// The time from the request until every picture is there; longest: the
// longest the window waited for one step (one picture drawn), in seconds.
double iconSeconds(const std::vector<ShapeInfo> &shapes, const QString &program,
                   const QString &cache, double *longest = nullptr)
{
    ObjectIcons icons(cache);
    QEventLoop loop;
    QObject::connect(&icons, &ObjectIcons::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer clock, step;
    double slowest = 0;
    QObject::connect(&icons, &ObjectIcons::iconReady, &loop,
                     [&] { slowest = std::max(slowest, double(step.nsecsElapsed()) / 1e9); });
    // Between two steps the event loop runs, and so does this timer.
    QTimer restart;
    QObject::connect(&restart, &QTimer::timeout, &loop, [&] { step.restart(); });
    restart.start(0);
    clock.start();
    step.start();
    icons.request(shapes, program);
    if (icons.busy())
        loop.exec();
    if (longest)
        *longest = std::max(*longest, slowest);
    return double(clock.nsecsElapsed()) / 1e9;
}

void BM_ImportTexturedModel(benchmark::State &state)
{
    QTemporaryDir models;
    QImage texture(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x)
            texture.setPixel(x, y, qRgb(x / 4, y / 4, (x ^ y) & 255));
    const QString model = models.filePath("grid.obj");
    if (!writeFile(model, gridObj(159, "grid.mtl")) || // 2 x 158 x 158 = 49,928 triangles
        !writeFile(models.filePath("grid.mtl"), "newmtl skin\nKd 1 1 1\nmap_Kd wood.jpg\n") ||
        !writeFile(models.filePath("wood.jpg"), imageBytes(texture, "JPEG"))) {
        state.SkipWithError("cannot write the model");
        return;
    }
    for (auto _ : state) {
        QTemporaryDir user;
        const ModelImport::Options options{10.0, ModelImport::UpAxis::Y, 0};
        const ModelImport::Converted converted =
            ModelImport::convertModel(loadModelFile(model), options, "grid.obj");
        const UserLibrary::Added added =
            importObject(user.path(), "Grid", converted, "R", converted.mapColor, {});
        if (!added.ok()) {
            state.SkipWithError(qPrintable(added.error));
            return;
        }
        state.counters["triangles"] = double(converted.triangles);
        state.PauseTiming();
        double longest = 0;
        iconSeconds({added.entry}, models.path(), {}, &longest);
        state.counters["icon_ms"] = longest * 1000;
        state.ResumeTiming();
    }
}

void BM_Icons(benchmark::State &state, bool cached)
{
    const QString program = QStringLiteral(SOURCE_DIR "/data");
    const std::vector<ShapeInfo> shapes = Init_Shapes(program).Shapes;
    QTemporaryDir cache;
    if (cached)
        iconSeconds(shapes, program, cache.path());
    double longest = 0;
    for (auto _ : state) {
        QTemporaryDir fresh;
        state.SetIterationTime(
            iconSeconds(shapes, program, cached ? cache.path() : fresh.path(), &longest));
    }
    state.counters["objects"] = double(shapes.size());
    state.counters["longest_step_ms"] = longest * 1000;
}

BENCHMARK(BM_ImportTexturedModel)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Icons, FirstStart, false)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Icons, FromCache, true)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setCoinSurfaceFormat();
    return runBenchmarks<QGuiApplication>(argc, argv);
}
