// Speed of the set-hit search over a full table and of the analysis report for a long result.
#include "analysis/AnalysisReport.h"
#include "analysis/DateRoutines.h"
#include "analysis/SetHitSearch.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace zg;

namespace {

const SampleDatabase& FullTable() {
    static const SampleDatabase db = GenerateSampleDatabase(MaxDraws, 20240601u, SampleLayout::YearFirst);
    return db;
}

// k numbers spread over 1..80: (3 + 7i) mod 80 + 1 for i = 0..k-1, all different since 7 and 80
// are coprime.
NumberSetData SpreadSet(std::int32_t k) {
    NumberSetData set;
    for (std::int32_t i = 0; i < k; ++i)
        set.Member[(3 + 7 * i) % 80 + 1] = true;
    for (std::int32_t n = 1; n <= 80; ++n)
        if (set.Member[n])
            set.Numbers[++set.Count] = static_cast<std::uint8_t>(n);
    return set;
}

// A progress sink like the window's gauge: one virtual call per draw.
struct CountingProgress : SearchProgress {
    std::int32_t last = 0;
    void total(std::int32_t) override {}
    void step(std::int32_t i) override { last = i; }
};

void BM_SetHitSearch(benchmark::State& state) {
    const SampleDatabase& db = FullTable();
    const auto k = static_cast<std::int32_t>(state.range(0));
    const NumberSetData set = SpreadSet(k);
    const std::int32_t hits = std::min<std::int32_t>(k, 20);
    auto found = std::make_unique<std::int32_t[]>(MaxDraws + 1);
    std::int32_t foundCount = 0;
    CountingProgress progress;
    for (auto _ : state) {
        // Bounds 1..min(k, 20): a few rows for small sets, nearly every draw for the 80-number set.
        SearchResult r = SetHitSearch(db.View(), set, 1, MaxDraws, 1, hits, found.get(), foundCount, &progress);
        benchmark::DoNotOptimize(r.total);
    }
    state.SetItemsProcessed(state.iterations() * MaxDraws);
}
BENCHMARK(BM_SetHitSearch)->Arg(1)->Arg(10)->Arg(80)->Unit(benchmark::kMillisecond);

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

BENCHMARK_MAIN();
