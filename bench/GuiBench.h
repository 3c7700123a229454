// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window benchmarks share: the sample draw table they run over, typing into a window's
// field as the user does, the main window's search that every draw qualifies for, and their
// main(), which runs the benchmarks in an offscreen application.
#include "app/MainWindow.h"
#include "base/State.h"
#include "bench/FloorRatio.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zg::bench {

// A generated year-first database of `draws` draws as DrawTable and DrawCount.
inline void LoadSampleTable(std::int32_t draws, std::uint32_t seed) {
    const SampleDatabase sample = GenerateSampleDatabase(draws, seed, SampleLayout::YearFirst);
    std::copy(sample.draws.begin(), sample.draws.end(), DrawTable);
    DrawCount = draws;
    DrawTableChanged();
}

// The set 1..10, as the benchmarks confirm it in the main window.
inline NumberSetData FirstTenNumbers() {
    NumberSetData set;
    for (int n = 1; n <= 10; ++n)
        set.Member[n] = true;
    CompleteNumberSet(set);
    return set;
}

// Clicks the line edit named `field` of the window and types `text` into it.
inline void Type(QWidget& window, const char* field, const char* text) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(field));
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

// A window benchmark's table: `draws` sample draws (seed 7), the dialogs answered by the
// benchmark. Set up once per program.
inline void PrepareSampleTable(std::int32_t draws) {
    static bool done = false;
    if (done)
        return;
    done = true;
    LoadSampleTable(draws, 7);
    Dialogs::SetTestMode(true);
}

// The main-window benchmarks' table: EveryDrawCount draws.
inline constexpr std::int32_t EveryDrawCount = 40000;
inline void PrepareEveryDrawTable() {
    PrepareSampleTable(EveryDrawCount);
}

// Shows the main window with the set 1..10 and types the search every draw of that table
// qualifies for: range 1..40,000, hits 0..10.
inline void TypeEveryDrawSearch(MainWindow& main) {
    main.show();
    main.applyConfirmedSet(FirstTenNumbers());
    Type(main, "rangeFromEdit", "1");
    Type(main, "rangeToEdit", "40000");
    Type(main, "hitsFromEdit", "0");
    Type(main, "hitsToEdit", "10");
}

// The whole main() of a window benchmark: the benchmarks the command line names, run inside an
// offscreen application, with each ratio printed beside its floor at the end.
inline int RunOffscreen(int argc, char** argv, const std::vector<zgbench::Ratio>& ratios = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return zgbench::RunWithRatios(argc, argv, ratios);
}

} // namespace zg::bench
