// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers table over a full table (99,999 draws, the last 100 judged) beside its floor, the
// mask search over the same range (a set of 10, bounds 1..10), and the report of that table.
#include "FloorRatio.h"
#include "SampleTables.h"
#include "analysis/NumberTableReport.h"
#include "analysis/SetHitSearch.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

using namespace zg;
using zg::bench::FullMasks;
using zg::bench::FullTable;
using zg::bench::SpreadSet;

namespace {

void BM_MaskSearch(benchmark::State& state) {
    const NumberSetData set = SpreadSet(10);
    std::int32_t found = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        const SearchResult r =
            SetHitSearch(FullTable().View(), FullMasks(), set, 1, MaxDraws, 1, 10, nullptr, found, nullptr);
        rows = r.rows.size();
        benchmark::DoNotOptimize(r.total);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_MaskSearch)->Unit(benchmark::kMillisecond);

// The table as the window computes it: over the masks, the last 100 draws judged.
void BM_NumberTable(benchmark::State& state) {
    const NumberTableInput in{{FullTable().View(), &FullMasks(), SpreadSet(10), 1, MaxDraws}, 100};
    for (auto _ : state) {
        const auto t = ComputeNumberTable(in);
        benchmark::DoNotOptimize(t->rows.data());
    }
}
BENCHMARK(BM_NumberTable)->Unit(benchmark::kMillisecond);

// The report of that table (for information): 80 rows, converted once.
void BM_NumbersReport(benchmark::State& state) {
    const auto t =
        ComputeNumberTable(NumberTableInput{{FullTable().View(), &FullMasks(), SpreadSet(10), 1, MaxDraws}, 100});
    for (auto _ : state) {
        const std::string bytes = NumbersReportBytes(*t, ',');
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_NumbersReport)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(argc, argv, {{"BM_NumberTable", "BM_MaskSearch", 4}});
}
