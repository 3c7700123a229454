// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers table window opened on 99,999 draws (the table computed, the window shown and
// painted) beside "Oblicz" finding and showing a search over the same range (the set 1..10, hits
// 3..5). Runs offscreen.
#include "FloorRatio.h"
#include "analysis/NumbersWindow.h"
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "base/State.h"
#include "bench/GuiBench.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

struct Windows {
    zg::MainWindow main;
    zg::NumbersWindow numbers;

    Windows() {
        zg::bench::PrepareSampleTable(zg::MaxDraws);
        main.show();
        main.applyConfirmedSet(zg::bench::FirstTenNumbers());
        zg::bench::Type(main, "rangeFromEdit", "1");
        zg::bench::Type(main, "rangeToEdit", "99999");
        zg::bench::Type(main, "hitsFromEdit", "3");
        zg::bench::Type(main, "hitsToEdit", "5");
    }
};

void BM_SearchAndShow99999(benchmark::State& state) {
    Windows w;
    auto* oblicz = w.main.findChild<QPushButton*>(QStringLiteral("searchButton"));
    for (auto _ : state) {
        QTest::mouseClick(oblicz, Qt::LeftButton);
        QApplication::processEvents(); // paint what the click changed
    }
    state.counters["rows"] = static_cast<double>(w.main.resultModel()->rowCount());
}
BENCHMARK(BM_SearchAndShow99999)->Unit(benchmark::kMillisecond);

// Each round: what "Tabela liczb" does (the range and set handed over, the table computed, the
// window shown), the window painted, and hidden again.
void BM_NumbersOpen99999(benchmark::State& state) {
    Windows w;
    // "Oblicz" once makes the typed range the main window's range in force.
    QTest::mouseClick(w.main.findChild<QPushButton*>(QStringLiteral("searchButton")), Qt::LeftButton);
    for (auto _ : state) {
        w.numbers.showRange(w.main.rangeFrom(), w.main.rangeTo(), w.main.numberSet());
        w.numbers.show();
        QApplication::processEvents();
        w.numbers.hide();
    }
    if (!w.numbers.table() || w.numbers.table()->draws != zg::MaxDraws)
        state.SkipWithError("the table does not cover the range");
}
BENCHMARK(BM_NumbersOpen99999)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zg::bench::RunOffscreen(argc, argv, {{"BM_NumbersOpen99999", "BM_SearchAndShow99999", 2}});
}
