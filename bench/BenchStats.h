#pragma once

// Repeated runs reported as their minimum, median and maximum: the machine
// the benchmarks run on is shared, so one run alone says little.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

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
