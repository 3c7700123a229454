// SPDX-License-Identifier: GPL-3.0-or-later
// The windows at the largest database, offscreen, each step ending with the repaint it causes:
// the calendar map filled for one year over a range of 99,999 draws, and the draw management
// window opened over 99,999 draws (its first opening and a later one). Goal: under one frame
// (16 ms) each.
#include "FloorRatio.h"
#include "app/MainWindow.h"
#include "base/State.h"
#include "database/DrawManager.h"
#include "tables/CalendarWindow.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void FullTable() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const zg::SampleDatabase sample = zg::GenerateSampleDatabase(zg::MaxDraws, 20240601u, zg::SampleLayout::YearFirst);
    std::copy(sample.draws.begin(), sample.draws.end(), zg::DrawTable);
    zg::DrawCount = zg::MaxDraws;
    zg::DrawTableChanged();
    zg::Dialogs::SetTestMode(true);
}

// The ten numbers 7, 14, ..., 70.
zg::NumberSetData MultiplesOfSeven() {
    zg::NumberSetData set;
    for (int n = 1; n <= 10; ++n)
        set.Member[n * 7] = true;
    zg::CompleteNumberSet(set);
    return set;
}

void Type(QWidget& w, const char* field, const QString& text) {
    auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(field));
    QTest::mouseClick(e, Qt::LeftButton);
    e->selectAll();
    QTest::keyClicks(e, text);
}

// Every draw of the table in the range, hits 2..4 of the ten numbers.
void SetUpMain(zg::MainWindow& main) {
    main.applyConfirmedSet(MultiplesOfSeven());
    Type(main, "rangeFromEdit", QStringLiteral("1"));
    Type(main, "rangeToEdit", QString::number(zg::MaxDraws));
    Type(main, "hitsFromEdit", QStringLiteral("2"));
    Type(main, "hitsToEdit", QStringLiteral("4"));
}

void BM_CalendarFillOneYear(benchmark::State& state) {
    FullTable();
    zg::MainWindow main;
    SetUpMain(main);
    zg::CalendarWindow map(&main);
    map.setParameters(main.parameters());
    map.setYear(2001);
    map.show();
    QApplication::processEvents();
    for (auto _ : state) {
        map.fillCalendar();
        QApplication::processEvents(); // the repaint of the filled grid
    }
    benchmark::DoNotOptimize(map.model()->rowCount());
}
BENCHMARK(BM_CalendarFillOneYear)->Unit(benchmark::kMillisecond);

// Arg 1: the first opening (the pictures are loaded then); arg 0: a later opening.
void BM_DrawManagerOpen(benchmark::State& state) {
    FullTable();
    zg::MainWindow main;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<zg::DrawManager>(&main);
        w->fillDrawGrid(nullptr, nullptr);
        if (state.range(0) == 0) {
            w->show();
            QApplication::processEvents();
            w->hide();
        }
        state.ResumeTiming();
        w->show();
        QApplication::processEvents(); // the grid painted at its last row
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DrawManagerOpen)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return zgbench::RunWithRatios(argc, argv, {});
}
