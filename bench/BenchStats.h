#pragma once

// Repeated runs reported as their minimum, median and maximum: the machine
// the benchmarks run on is shared, so one run alone says little. And where
// the benchmarks put their files: the real disk, never a memory file system
// by accident.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <vector>

// The folder the benchmarks make their temporary homes and files in:
// PELKAR_BENCH_DIR, else the current folder. Taken once, at the first call:
// a batch load moves the current folder into the save folder.
inline QString BenchFolder()
{
    static const QString folder = [] {
        const QByteArray chosen = qgetenv("PELKAR_BENCH_DIR");
        return QDir(chosen.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(chosen))
                .absolutePath();
    }();
    return folder;
}

// Runs of each benchmark where a run is long: PELKAR_BENCH_REPETITIONS, 5
// unless given.
inline int BenchRepetitions()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("PELKAR_BENCH_REPETITIONS", &ok);
    return ok && n > 0 ? n : 5;
}

inline benchmark::internal::Benchmark *MinMedianMax(benchmark::internal::Benchmark *b,
                                                    int repetitions = 5)
{
    return b->Repetitions(repetitions)
            ->ComputeStatistics("min",
                                [](const std::vector<double> &v) {
                                    return *std::min_element(v.begin(), v.end());
                                })
            ->ComputeStatistics("max",
                                [](const std::vector<double> &v) {
                                    return *std::max_element(v.begin(), v.end());
                                })
            ->ReportAggregatesOnly(true);
}

// For BENCHMARK(...)->Apply(RepeatedMinMedianMax): five runs.
inline void RepeatedMinMedianMax(benchmark::internal::Benchmark *b)
{
    MinMedianMax(b);
}

// Called before benchmark::Initialize: the repetitions of all the
// benchmarks run interleaved in random order, so that a figure and the one
// it is compared to meet the same moments of a shared machine. A
// --benchmark_enable_random_interleaving given on the command line wins.
inline void InTurn(int &argc, char **&argv)
{
    static char flag[] = "--benchmark_enable_random_interleaving=true";
    static std::vector<char *> arguments;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen("--benchmark_enable_random_interleaving")) == 0)
            return;
    }
    arguments.assign(argv, argv + argc);
    arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), flag);
    arguments.push_back(nullptr);
    argc = int(arguments.size()) - 1;
    argv = arguments.data();
}

// A benchmark program's run, once its set-up is done: the repetitions in
// turn, the benchmark's own arguments checked.
inline int RunInTurn(int argc, char **argv)
{
    InTurn(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
