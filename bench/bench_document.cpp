// The memory an undo stack holds after 1,000 placements on an empty world.

#include "BenchMain.h"
#include "core/model/WorldDocument.h"

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

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
