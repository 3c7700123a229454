// SPDX-License-Identifier: GPL-3.0-or-later
// The charts window opened on a search over 99,999 draws (its statistics computed from the main
// window's result, the window shown and its first tab, the hits of every draw, painted) beside
// "Oblicz" finding and showing that result. Runs offscreen.
#include "FloorRatio.h"
#include "analysis/ChartsWindow.h"
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "base/State.h"
#include "bench/GuiBench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// The main window's control of an accessible name (the visible caption or what the field holds).
template <class T> T* Control(QWidget& w, const QString& name) {
    for (T* c : w.findChildren<T*>())
        if (c->accessibleName() == name || c->property("text").toString() == name)
            return c;
    return nullptr;
}

void TypeInto(QWidget& w, const char* field, const QString& text) {
    auto* e = Control<QLineEdit>(w, QString::fromUtf8(field));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClicks(e, text);
}

// The set 1..10 over all 99,999 draws, 3 to 5 hits (about a fifth of the draws qualify).
struct Windows {
    zg::MainWindow main;
    zg::ChartsWindow charts;
    QAbstractButton* oblicz = nullptr;

    Windows() {
        zg::bench::PrepareSampleTable(zg::MaxDraws);
        main.show();
        main.applyConfirmedSet(zg::bench::FirstTenNumbers());
        TypeInto(main, "Pierwsze losowanie zakresu", QStringLiteral("1"));
        TypeInto(main, "Ostatnie losowanie zakresu", QString::number(zg::MaxDraws));
        TypeInto(main, "Najmniejsza liczba trafień", QStringLiteral("3"));
        TypeInto(main, "Największa liczba trafień", QStringLiteral("5"));
        oblicz = Control<QPushButton>(main, QStringLiteral("Oblicz"));
    }

    // What the main window hands the charts window after a search.
    zg::ChartInputs Inputs() const {
        return zg::ChartInputs{{zg::AllDraws(), &zg::AllDrawMasks(), main.numberSet(), main.rangeFrom(), main.rangeTo(),
                                main.hitsFrom(), main.hitsTo()},
                               main.resultModel()->rows()};
    }
};

void BM_SearchAndShow99999(benchmark::State& state) {
    Windows w;
    for (auto _ : state) {
        QTest::mouseClick(w.oblicz, Qt::LeftButton);
        QApplication::processEvents(); // paint what the click changed
    }
    state.counters["rows"] = static_cast<double>(w.main.resultModel()->rowCount());
}
BENCHMARK(BM_SearchAndShow99999)->Unit(benchmark::kMillisecond);

// Each round: the statistics of the shown result, the window shown with its first tab painted,
// and hidden again.
void BM_ChartsOpen99999(benchmark::State& state) {
    Windows w;
    QTest::mouseClick(w.oblicz, Qt::LeftButton);
    for (auto _ : state) {
        w.charts.showStatistics(w.Inputs());
        w.charts.show();
        QApplication::processEvents();
        w.charts.hide();
    }
    if (w.charts.statistics().draws != zg::MaxDraws)
        state.SkipWithError("the charts do not cover the range");
}
BENCHMARK(BM_ChartsOpen99999)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return zg::bench::RunOffscreen(argc, argv, {{"BM_ChartsOpen99999", "BM_SearchAndShow99999", 5}});
}
