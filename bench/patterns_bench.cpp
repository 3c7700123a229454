// SPDX-License-Identifier: GPL-3.0-or-later
// The patterns of the draws over a full table (99,999 draws) beside their floor, the mask search
// over the same range (a set of 10, bounds 1..10); the same patterns without a mask table (as the
// command line computes them) and the report, for information.
#include "FloorRatio.h"
#include "SampleTables.h"
#include "analysis/PatternsReport.h"
#include "analysis/SetHitSearch.h"

#include <benchmark/benchmark.h>

using namespace zg;
using zg::bench::FullMasks;
using zg::bench::FullTable;
using zg::bench::SpreadSet;

namespace {

void BM_MaskSearch(benchmark::State& state) {
    const NumberSetData set = SpreadSet(10);
    std::int32_t found = 0;
    for (auto _ : state) {
        const SearchResult r =
            SetHitSearch(FullTable().View(), FullMasks(), set, 1, MaxDraws, 1, 10, nullptr, found, nullptr);
        benchmark::DoNotOptimize(r.total);
    }
}
BENCHMARK(BM_MaskSearch)->Unit(benchmark::kMillisecond);

// As the window computes them: over the masks. The sum law is made once, before the first run.
void BM_DrawPatterns(benchmark::State& state) {
    const DrawQuery query{FullTable().View(), &FullMasks(), {}, 1, MaxDraws};
    benchmark::DoNotOptimize(DrawSumLaw().p.data());
    for (auto _ : state) {
        const auto p = ComputeDrawPatterns(query);
        benchmark::DoNotOptimize(p->counted);
    }
}
BENCHMARK(BM_DrawPatterns)->Unit(benchmark::kMillisecond);

void BM_DrawPatternsWithoutMasks(benchmark::State& state) {
    const DrawQuery query{FullTable().View(), nullptr, {}, 1, MaxDraws};
    for (auto _ : state) {
        const auto p = ComputeDrawPatterns(query);
        benchmark::DoNotOptimize(p->counted);
    }
}
BENCHMARK(BM_DrawPatternsWithoutMasks)->Unit(benchmark::kMillisecond);

// The sum law itself, which a process makes once (for information).
void BM_SumLaw(benchmark::State& state) {
    for (auto _ : state) {
        const ValueLaw law = SumLaw(80, 20);
        benchmark::DoNotOptimize(law.p.data());
    }
}
BENCHMARK(BM_SumLaw)->Unit(benchmark::kMillisecond);

void BM_PatternsReport(benchmark::State& state) {
    const auto p = ComputeDrawPatterns(DrawQuery{FullTable().View(), &FullMasks(), {}, 1, MaxDraws});
    for (auto _ : state) {
        const std::string bytes = PatternsReportBytes(*p, ',');
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_PatternsReport)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(argc, argv, {{"BM_DrawPatterns", "BM_MaskSearch", 2}});
}
