// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's search-and-show: "Oblicz" clicked on a window over 40,000 draws that all
// qualify, so the grid receives 40,000 rows and the gauge runs through the whole range. Also the
// analysis report of those rows written through the save button. Runs offscreen.
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "base/State.h"
#include "bench/GuiBench.h"
#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

constexpr std::int32_t Draws = zg::bench::EveryDrawCount;

void BM_SearchAndShow40000(benchmark::State& state) {
    zg::bench::PrepareEveryDrawTable();
    zg::MainWindow w;
    zg::bench::TypeEveryDrawSearch(w);
    auto* oblicz = w.findChild<QAbstractButton*>(QStringLiteral("searchButton"));
    for (auto _ : state) {
        QTest::mouseClick(oblicz, Qt::LeftButton);
        QApplication::processEvents(); // paint what the click changed
        benchmark::DoNotOptimize(w.resultModel()->rowCount());
    }
    if (w.resultModel()->rowCount() != Draws)
        state.SkipWithError("not every draw qualified");
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_SearchAndShow40000)->Unit(benchmark::kMillisecond);

void BM_AnalysisReport40000(benchmark::State& state) {
    zg::bench::PrepareEveryDrawTable();
    QTemporaryDir dir;
    zg::AppDir = dir.path().toStdString();
    zg::MainWindow w;
    zg::bench::TypeEveryDrawSearch(w);
    QTest::mouseClick(w.findChild<QAbstractButton*>(QStringLiteral("searchButton")), Qt::LeftButton);
    auto* save = w.findChild<QAbstractButton*>(QStringLiteral("saveButton"));
    const QString path = dir.path() + QStringLiteral("/report.txt");
    for (auto _ : state) {
        zg::Dialogs::QueueFileName(path);
        QTest::mouseClick(save, Qt::LeftButton);
    }
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_AnalysisReport40000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zg::bench::RunOffscreen(argc, argv);
}
