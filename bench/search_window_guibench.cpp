// The main window's search-and-show: "Oblicz" clicked on a window over 40,000 draws that all
// qualify, so the grid receives 40,000 rows and the gauge runs through the whole range. Also the
// analysis report of those rows written through the save button. Runs offscreen.
#include "analysis/ResultGridModel.h"
#include "analysis/TAnaliza11.h"
#include "app/State.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

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
    for (int n = 1; n <= 10; ++n) {
        zg::NumberSet.Member[n] = true;
        zg::NumberSet.Numbers[n] = static_cast<std::uint8_t>(n);
    }
    zg::NumberSet.Count = 10;
    zg::Dialogs::SetTestMode(true);
}

void Type(zg::TAnaliza11& w, const char* field, const char* text) {
    auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(field));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClicks(e, QString::fromLatin1(text));
}

// Every draw qualifies: range 1..40,000, hits 0..10.
void SetUpWindow(zg::TAnaliza11& w) {
    w.show();
    w.SetConfirmed();
    Type(w, "Edit6", "1");
    Type(w, "Edit7", "40000");
    Type(w, "Edit1", "0");
    Type(w, "Edit2", "10");
}

void BM_SearchAndShow40000(benchmark::State& state) {
    Prepare();
    zg::TAnaliza11 w;
    SetUpWindow(w);
    auto* oblicz = w.findChild<QAbstractButton*>(QStringLiteral("button1"));
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
    Prepare();
    QTemporaryDir dir;
    zg::AppDir = dir.path().toStdString();
    zg::TAnaliza11 w;
    SetUpWindow(w);
    QTest::mouseClick(w.findChild<QAbstractButton*>(QStringLiteral("button1")), Qt::LeftButton);
    auto* save = w.findChild<QAbstractButton*>(QStringLiteral("dyskietka"));
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
