// The memory an undo stack holds after 1,000 placements on an empty world, and
// what a recovery snapshot of a 10,000-item world costs the interface thread
// (target: at most 10 ms) and its writer's thread.

#include "BenchMain.h"
#include "core/model/RecoveryWriter.h"
#include "core/model/WorldDocument.h"

#include <QTemporaryDir>

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

void BM_UndoStackMemory(benchmark::State &state)
{
    for (auto _ : state) {
        WorldDocument document;
        const size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 1000; ++i)
            document.place(ObjectInfo{QStringLiteral("Park Bench"), float(i % 100), 50, 0,
                                      QStringLiteral("http://example.com/bench"), {}});
        state.counters["stack_MB"] = double(mallinfo2().uordblks - before) / (1024 * 1024);
    }
}

BENCHMARK(BM_UndoStackMemory)->Unit(benchmark::kMillisecond);

// A document of 10,000 items with an unsaved change.
struct ChangedDocument {
    QTemporaryDir folder;
    WorldDocument document;
    RecoveryWriter writer{document, folder.path()};
    ChangedDocument()
    {
        World world;
        for (int i = 0; i < 10000; ++i)
            appendItem(world.Objects, ObjectInfo{QStringLiteral("Tree %1").arg(i), float(i % 100),
                                                 50, 0, QStringLiteral("http://example.com/"), {}});
        document.replace(std::move(world));
        document.place(TextInfo{"Hi", 1, 2, 7, 0, "Text (Eye-Level)", true, {}, {}, {}});
    }
};

void BM_SnapshotInterfaceThread(benchmark::State &state)
{
    ChangedDocument d;
    for (auto _ : state) {
        d.writer.queueSnapshot();
        state.PauseTiming();
        d.writer.waitForDone();
        state.ResumeTiming();
    }
}

void BM_SnapshotWhole(benchmark::State &state)
{
    ChangedDocument d;
    for (auto _ : state)
        d.writer.snapshotNow();
}

BENCHMARK(BM_SnapshotInterfaceThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotWhole)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
