// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the program over a database of 99,999 draws, offscreen: the main window's creation
// with the database load, the other windows, showing the main window and reaching the event loop.
// Each iteration is one whole start, ended as soon as the event loop runs.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/State.h"
#include "bench/GuiBench.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "database/DrawManager.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fstream>
#include <optional>

namespace {

constexpr std::int32_t Draws = 99999;

void BM_StartUp99999(benchmark::State& state) {
    QTemporaryDir dir;
    zg::AppDir = dir.path().toStdString();
    {
        std::ofstream out(zg::AppPath(std::string(zg::DatabaseFileName)), std::ios::binary);
        out << zg::GenerateSampleDatabase(Draws, 11, zg::SampleLayout::YearFirst).bytes;
    }
    zg::Dialogs::SetTestMode(true);
    for (auto _ : state) {
        std::optional<zg::ProgramWindows> windows(zg::CreateProgramWindows());
        windows->main->show();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QApplication::exec();
        benchmark::DoNotOptimize(zg::DrawCount);
        state.PauseTiming();
        windows.reset(); // closing down is not part of the start
        state.ResumeTiming();
    }
    if (zg::DrawCount != Draws)
        state.SkipWithError("the database did not load whole");
}
BENCHMARK(BM_StartUp99999)->Unit(benchmark::kMillisecond)->Iterations(5);

// The draw management window alone: its controls and a grid of 99,999 rows.
void BM_DrawManagerCreation(benchmark::State& state) {
    zg::bench::LoadSampleTable(Draws, 11);
    zg::DrawCount = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        zg::DrawManager w;
        w.fillDrawGrid(nullptr, nullptr);
        benchmark::DoNotOptimize(w.gridModel()->rowCount());
    }
}
BENCHMARK(BM_DrawManagerCreation)->Unit(benchmark::kMillisecond)->Arg(10)->Arg(Draws);

} // namespace

int main(int argc, char** argv) {
    return zg::bench::RunOffscreen(argc, argv);
}
