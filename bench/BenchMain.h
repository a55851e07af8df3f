#pragma once
// The main function of a benchmark program: the registered benchmarks run
// inside an application object of type App (QCoreApplication or QApplication).

#include <benchmark/benchmark.h>

template <typename App> int runBenchmarks(int argc, char **argv)
{
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
