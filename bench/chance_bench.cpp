// SPDX-License-Identifier: GPL-3.0-or-later
// The chance statistics of a search over a full table (99,999 draws, a set of 10) beside their
// floor, the mask search over the same range with the same bounds, which the statistics run
// first for the gaps of its rows.
#include "FloorRatio.h"
#include "SampleTables.h"
#include "analysis/ChanceStatistics.h"
#include "analysis/SetHitSearch.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

using namespace zg;
using zg::bench::FullMasks;
using zg::bench::FullTable;
using zg::bench::SpreadSet;

namespace {

// Bounds 1..10 (95,498 rows) as the search benchmark takes them, and 3..5 (about a quarter of the
// draws, a histogram of gaps up to about 50).
ChanceInput Input(const benchmark::State& state) {
    return ChanceInput{FullTable().View(),
                       &FullMasks(),
                       SpreadSet(10),
                       1,
                       MaxDraws,
                       static_cast<std::int32_t>(state.range(0)),
                       static_cast<std::int32_t>(state.range(1))};
}

void BM_MaskSearch(benchmark::State& state) {
    const ChanceInput in = Input(state);
    std::int32_t found = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        const SearchResult r = SetHitSearch(in.draws, *in.masks, in.set, in.rangeFrom, in.rangeTo, in.hitsFrom,
                                            in.hitsTo, nullptr, found, nullptr);
        rows = r.rows.size();
        benchmark::DoNotOptimize(r.total);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_MaskSearch)->Args({1, 10})->Args({3, 5})->Unit(benchmark::kMillisecond);

// The whole statistics, their search included.
void BM_ChanceStatistics(benchmark::State& state) {
    const ChanceInput in = Input(state);
    for (auto _ : state) {
        const ChanceStatistics s = ComputeChanceStatistics(in);
        benchmark::DoNotOptimize(s.numbers.data());
    }
}
BENCHMARK(BM_ChanceStatistics)->Args({1, 10})->Args({3, 5})->Unit(benchmark::kMillisecond);

// The statistics of rows already found, as the charts window computes them from the main window's
// result (for information).
void BM_ChanceStatisticsOfFoundRows(benchmark::State& state) {
    const ChanceInput in = Input(state);
    std::int32_t found = 0;
    const SearchResult r = SetHitSearch(in.draws, *in.masks, in.set, in.rangeFrom, in.rangeTo, in.hitsFrom, in.hitsTo,
                                        nullptr, found, nullptr);
    for (auto _ : state) {
        const ChanceStatistics s = ComputeChanceStatistics(in, r.rows);
        benchmark::DoNotOptimize(s.numbers.data());
    }
}
BENCHMARK(BM_ChanceStatisticsOfFoundRows)->Args({1, 10})->Args({3, 5})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(argc, argv,
                                  {
                                      {"BM_ChanceStatistics/1/10", "BM_MaskSearch/1/10", 3},
                                      {"BM_ChanceStatistics/3/5", "BM_MaskSearch/3/5", 3},
                                  });
}
