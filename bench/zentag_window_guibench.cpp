// "ZENTAG +1" over 40,000 found draws (the complete table computed with the main window's gauge,
// the window shown with its grid and lists, then closed) beside "Oblicz" finding those 40,000
// draws and showing them. Runs offscreen.
#include "FloorRatio.h"
#include "analysis/TAnaliza11.h"
#include "app/State.h"
#include "tables/TTabelka2.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr std::int32_t Draws = 40000;

void Prepare() {
    static bool done = false;
    if (done)
        return;
    done = true;
    zg::SampleDatabase sample = zg::GenerateSampleDatabase(Draws, 7, zg::SampleLayout::YearFirst);
    std::copy(sample.draws.begin(), sample.draws.end(), zg::DrawTable);
    zg::DrawCount = Draws;
    zg::DrawTableChanged();
    zg::NumberSet = zg::NumberSetData{};
    for (int n = 1; n <= 10; ++n)
        zg::NumberSet.Member[n] = true;
    zg::CompleteNumberSet(zg::NumberSet);
    zg::Dialogs::SetTestMode(true);
}

void Type(zg::TAnaliza11& w, const char* field, const char* text) {
    auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(field));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClicks(e, QString::fromLatin1(text));
}

// Every draw qualifies: range 1..40,000, hits 0..10.
struct Windows {
    zg::TAnaliza11 main;
    zg::TTabelka2* zentag = new zg::TTabelka2(&main, &main);
    QAbstractButton* oblicz = nullptr;
    QAbstractButton* rozklad2 = nullptr;

    Windows() {
        Prepare();
        zg::ZentagOffset = 1;
        main.setZentagWindow(zentag);
        main.show();
        main.SetConfirmed();
        Type(main, "Edit6", "1");
        Type(main, "Edit7", "40000");
        Type(main, "Edit1", "0");
        Type(main, "Edit2", "10");
        oblicz = main.findChild<QAbstractButton*>(QStringLiteral("button1"));
        rozklad2 = main.findChild<QAbstractButton*>(QStringLiteral("rozklad2"));
    }
};

void BM_SearchAndShow40000(benchmark::State& state) {
    Windows w;
    for (auto _ : state) {
        QTest::mouseClick(w.oblicz, Qt::LeftButton);
        QApplication::processEvents(); // paint what the click changed
    }
    if (zg::FoundCount != Draws)
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
        zg::ZentagTableValid = false;
        QTimer::singleShot(0, w.zentag, [&w] {
            QApplication::processEvents();
            w.zentag->close();
        });
        QTest::mouseClick(w.rozklad2, Qt::LeftButton);
    }
    if (w.zentag->gridModel()->rowCount() != Draws - 1)
        state.SkipWithError("the table does not hold the shifted draws");
    state.SetItemsProcessed(state.iterations() * Draws);
}
BENCHMARK(BM_ZentagOpen40000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return zgbench::RunWithRatios(argc, argv, {{"BM_ZentagOpen40000", "BM_SearchAndShow40000", 5}});
}
