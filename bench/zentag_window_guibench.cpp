// SPDX-License-Identifier: GPL-3.0-or-later
// "ZENTAG +1" over 40,000 found draws (the complete table computed with the main window's gauge,
// the window shown with its grid and lists, then closed) beside "Oblicz" finding those 40,000
// draws and showing them. Runs offscreen.
#include "FloorRatio.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/State.h"
#include "bench/GuiBench.h"
#include "tables/ZentagWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr std::int32_t Draws = zg::bench::EveryDrawCount;

// The main window with the search every draw qualifies for, and the ZENTAG window.
struct Windows {
    zg::MainWindow main;
    zg::ZentagWindow* zentag = new zg::ZentagWindow(&main);
    QAbstractButton* oblicz = nullptr;
    QAbstractButton* zentagButton = nullptr;

    Windows() {
        zg::bench::PrepareEveryDrawTable();
        zg::ConnectZentagWindow(main, *zentag);
        zg::bench::TypeEveryDrawSearch(main);
        oblicz = main.findChild<QAbstractButton*>(QStringLiteral("searchButton"));
        zentagButton = main.findChild<QAbstractButton*>(QStringLiteral("zentagButton"));
    }
};

void BM_SearchAndShow40000(benchmark::State& state) {
    Windows w;
    for (auto _ : state) {
        QTest::mouseClick(w.oblicz, Qt::LeftButton);
        QApplication::processEvents(); // paint what the click changed
    }
    if (w.main.foundCount() != Draws)
        state.SkipWithError("not every draw qualified");
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_SearchAndShow40000)->Unit(benchmark::kMillisecond);

// Each round the table is stale (as after a new search), so the click computes it, shows the
// window, which paints once, and closes it.
void BM_ZentagOpen40000(benchmark::State& state) {
    Windows w;
    QTest::mouseClick(w.oblicz, Qt::LeftButton);
    for (auto _ : state) {
        w.main.stepZentagOffset(1); // there and back: the distance stays 1, the table goes stale
        w.main.stepZentagOffset(-1);
        QTimer::singleShot(0, w.zentag, [&w] {
            QApplication::processEvents();
            w.zentag->close();
        });
        QTest::mouseClick(w.zentagButton, Qt::LeftButton);
    }
    if (w.zentag->gridModel()->rowCount() != Draws - 1)
        state.SkipWithError("the table does not hold the shifted draws");
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_ZentagOpen40000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zg::bench::RunOffscreen(argc, argv, {{"BM_ZentagOpen40000", "BM_SearchAndShow40000", 3}});
}
