// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the set-hit search over a full table, beside its floor (one plain pass over the same
// draws' numbers), and of the analysis report for a long result.
#include "FloorRatio.h"
#include "SampleTables.h"
#include "analysis/AnalysisReport.h"
#include "analysis/SetHitSearch.h"
#include "base/DateRoutines.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace zg;
using zg::bench::FullTable;
using zg::bench::SpreadSet;

namespace {

// A progress sink like the window's gauge: one virtual call per draw.
struct CountingProgress : SearchProgress {
    std::int32_t last = 0;
    void total(std::int32_t) override {}
    void step(std::int32_t i) override { last = i; }
};

// The floor: one pass that reads every drawn number of the table once.
void BM_PlainPass(benchmark::State& state) {
    const DrawsView draws = FullTable().View();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (std::int32_t q = 1; q <= draws.count; ++q)
            for (std::int32_t y : draws[q].Numbers)
                sum += y;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * MaxDraws);
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

// Bounds 1..min(k, 20): a quarter of the draws for the set of 1, most for 10, every draw for 80.
void RunSearch(benchmark::State& state, const DrawMasks* masks) {
    const SampleDatabase& db = FullTable();
    const auto k = static_cast<std::int32_t>(state.range(0));
    const NumberSetData set = SpreadSet(k);
    const std::int32_t hits = std::min<std::int32_t>(k, 20);
    auto found = std::make_unique<std::int32_t[]>(MaxDraws + 1);
    std::int32_t foundCount = 0;
    CountingProgress progress;
    std::size_t rows = 0;
    for (auto _ : state) {
        SearchResult r =
            masks != nullptr
                ? SetHitSearch(db.View(), *masks, set, 1, MaxDraws, 1, hits, found.get(), foundCount, &progress)
                : SetHitSearch(db.View(), set, 1, MaxDraws, 1, hits, found.get(), foundCount, &progress);
        rows = r.rows.size();
        benchmark::DoNotOptimize(r.total);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * MaxDraws);
}

// The search as the main window runs it: over the masks of the table, built once per table.
void BM_SetHitSearch(benchmark::State& state) {
    static const DrawMasks masks(FullTable().View());
    RunSearch(state, &masks);
}
BENCHMARK(BM_SetHitSearch)->Arg(1)->Arg(10)->Arg(80)->Unit(benchmark::kMillisecond);

// The search from the draws' numbers alone (the command-line tool's one-off search).
void BM_SetHitSearchWithoutMasks(benchmark::State& state) {
    RunSearch(state, nullptr);
}
BENCHMARK(BM_SetHitSearchWithoutMasks)->Arg(1)->Arg(10)->Arg(80)->Unit(benchmark::kMillisecond);

// Building the masks: paid once after the table changed, at the first search.
void BM_BuildDrawMasks(benchmark::State& state) {
    const DrawsView draws = FullTable().View();
    for (auto _ : state) {
        DrawMasks masks(draws);
        benchmark::DoNotOptimize(masks.masks());
    }
    state.SetItemsProcessed(state.iterations() * MaxDraws);
}
BENCHMARK(BM_BuildDrawMasks)->Unit(benchmark::kMillisecond);

void BM_AnalysisReportBytes(benchmark::State& state) {
    const SampleDatabase& db = FullTable();
    const DrawsView draws = db.View();
    const std::int32_t rows = 40000;
    const NumberSetData set = SpreadSet(10);
    std::int32_t foundCount = 0;
    const SearchResult r = SetHitSearch(draws, set, 1, rows, 0, 20, nullptr, foundCount, nullptr);

    AnalysisReportInput input;
    input.rangeFrom = 1;
    input.rangeTo = rows;
    input.rangeFromDate = DrawDateText(draws, 1);
    input.rangeToDate = DrawDateText(draws, rows);
    input.hitsFromText = "0";
    input.hitsToText = "20";
    input.setNumbers = SetNumbersOf(set);
    input.rows = r.rows;
    input.statistics = SearchStatisticsTexts(r, set.Count, draws, ',');
    for (auto _ : state) {
        std::string bytes = AnalysisReportBytes(input);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AnalysisReportBytes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(argc, argv,
                                  {
                                      {"BM_SetHitSearch/1", "BM_PlainPass", 3},
                                      {"BM_SetHitSearch/10", "BM_PlainPass", 3},
                                      {"BM_SetHitSearch/80", "BM_PlainPass", 3},
                                  });
}
