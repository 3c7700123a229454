// SPDX-License-Identifier: GPL-3.0-or-later
// The complete ZENTAG table over 40,000 found draws (counting, ranking, line texts) beside the
// set-hit search over the same 40,000 draws that found them.
#include "FloorRatio.h"
#include "analysis/SetHitSearch.h"
#include "base/DrawMasks.h"
#include "tables/Zentag.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace zg;

namespace {

constexpr std::int32_t Draws = 40000;

struct Fixture {
    SampleDatabase db = GenerateSampleDatabase(Draws, 20240601u, SampleLayout::YearFirst);
    NumberSetData set;
    std::unique_ptr<std::int32_t[]> found = std::make_unique<std::int32_t[]>(MaxDraws + 1);
    std::int32_t foundCount = 0;
    DrawMasks masks{db.View()};

    Fixture() {
        for (std::int32_t n = 1; n <= 10; ++n)
            set.Member[n] = true;
        CompleteNumberSet(set);
    }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

// Hits 0..10 of a 10-number set: every draw of the range qualifies. Over the table's masks, as the
// main window searches.
void BM_Search40000(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state) {
        SearchResult r =
            SetHitSearch(f.db.View(), f.masks, f.set, 1, Draws, 0, 10, f.found.get(), f.foundCount, nullptr);
        benchmark::DoNotOptimize(r.rows.data());
    }
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_Search40000)->Unit(benchmark::kMillisecond);

void BM_ZentagComplete40000(benchmark::State& state) {
    Fixture& f = Data();
    SetHitSearch(f.db.View(), f.set, 1, Draws, 0, 10, f.found.get(), f.foundCount, nullptr);
    ZentagInput in;
    in.draws = f.db.View();
    in.foundDraws = f.found.get();
    in.foundCount = f.foundCount;
    in.rangeFrom = 1;
    in.rangeTo = Draws;
    in.offset = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        ZentagResult r = ComputeZentagTable(in, nullptr);
        benchmark::DoNotOptimize(r.pairLines.data());
    }
    state.SetItemsProcessed(state.iterations() * f.foundCount);
}
BENCHMARK(BM_ZentagComplete40000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zgbench::RunWithRatios(argc, argv,
                                  {
                                      // The goal is the window's (zentag_window_guibench); the
                                      // computations alone are compared for information.
                                      {"BM_ZentagComplete40000/0", "BM_Search40000", 0},
                                      {"BM_ZentagComplete40000/1", "BM_Search40000", 0},
                                  });
}
