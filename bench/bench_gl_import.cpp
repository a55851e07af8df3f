// Importing and the pictures of the library, under a virtual X server with
// Mesa's software renderer, each with longest_step_ms: the longest the event
// loop went without a pass, i.e. the longest the window would not answer:
// - BM_ImportTexturedModel: a 50,000-triangle textured model (OBJ with a
//   1024 x 1024 JPEG) imported through the Import Object dialog, from its
//   opening (the file read in a child, the model prepared and converted in
//   worker threads) through Import (checked in a child) to the new entry in
//   a user's library (aim: at most 2 s); icon_ms: then its picture, drawn by
//   lotwright-cli icons. WithoutPreview leaves out the 3-D preview, whose
//   OpenGL context and first frames are most of the longest step;
// - BM_IconsFirstStart: the pictures of the shipped objects with an empty
//   cache, from the request until the last one is there (aim: 3 s);
// - BM_IconsFromCache: the same at a later start (aim: 100 ms).

#include "BenchMain.h"
#include "ModelFiles.h"
#include "TestSupport.h"

#include "core/library/ObjectLibrary.h"
#include "editor/dialogs/frmBrowse.h"
#include "editor/dialogs/frmImport.h"
#include "editor/platform/FakePlatform.h"
#include "scene/ObjectIcons.h"
#include "scene/VrmlScene.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

// While it lives, the longest gap between two passes of the event loop.
class LongestStep {
public:
    LongestStep()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_step.nsecsElapsed());
            m_step.restart();
        });
        m_tick.start(1);
        m_step.start();
    }
    double ms() const { return double(std::max(m_longest, m_step.nsecsElapsed())) / 1e6; }

private:
    QTimer m_tick;
    QElapsedTimer m_step;
    qint64 m_longest = 0;
};

// Runs the event loop until signal comes from sender (at most a minute).
template <typename Sender, typename Signal> void waitFor(Sender *sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
}

// The time from the request until every picture is there, in seconds.
double iconSeconds(const std::vector<ShapeInfo> &shapes, const QString &program,
                   const QString &cache, double &longestMs)
{
    ObjectIcons icons(cache, QStringLiteral(BIN_DIR "/lotwright-cli"));
    const LongestStep steps;
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    QObject::connect(&icons, &ObjectIcons::finished, [&] { finished = true; });
    icons.request(shapes, program);
    if (!finished)
        waitFor(&icons, &ObjectIcons::finished);
    longestMs = std::max(longestMs, steps.ms());
    return double(clock.nsecsElapsed()) / 1e9;
}

void BM_ImportTexturedModel(benchmark::State &state, bool preview)
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
    FakePlatform fake;
    double longest = 0;
    for (auto _ : state) {
        QTemporaryDir user;
        const std::vector<ShapeInfo> library;
        ShapeInfo added;
        {
            const LongestStep steps;
            frmImport dialog(
                fake.platform(), model, library, user.path(),
                preview ? frmImport::ContextCheck(frmBrowse::checkOpenGL)
                        : [] { return QStringLiteral("not wanted"); });
            dialog.show();
            if (dialog.busy())
                waitFor(&dialog, &frmImport::idle);
            dialog.txtSize->setText("120"); // 10 map units
            dialog.cmdImport->click();
            if (dialog.isVisible())
                waitFor(&dialog, &QDialog::finished);
            longest = std::max(longest, steps.ms());
            added = dialog.added();
        }
        if (added.Name.isEmpty()) {
            state.SkipWithError(qPrintable(fake.messages.shown.value(0, "not imported")));
            return;
        }
        state.PauseTiming();
        double iconLongest = 0;
        state.counters["icon_ms"] = iconSeconds({added}, models.path(), {}, iconLongest) * 1000;
        longest = std::max(longest, iconLongest);
        state.ResumeTiming();
    }
    state.counters["longest_step_ms"] = longest;
}

void BM_Icons(benchmark::State &state, bool cached)
{
    const QString program = QStringLiteral(SOURCE_DIR "/data");
    const std::vector<ShapeInfo> shapes = Init_Shapes(program).Shapes;
    QTemporaryDir cache;
    double longest = 0;
    if (cached)
        iconSeconds(shapes, program, cache.path(), longest);
    longest = 0;
    for (auto _ : state) {
        QTemporaryDir fresh;
        state.SetIterationTime(
            iconSeconds(shapes, program, cached ? cache.path() : fresh.path(), longest));
    }
    state.counters["objects"] = double(shapes.size());
    state.counters["longest_step_ms"] = longest;
}

BENCHMARK_CAPTURE(BM_ImportTexturedModel, WithPreview, true)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportTexturedModel, WithoutPreview, false)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
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
    return runBenchmarks<QApplication>(argc, argv);
}
