// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four charts of the charts window, built with Qt Charts from the chance statistics of a
// search: hits per draw, the hit distribution, the gaps and the numbers. Each function returns a
// new chart that the caller owns.
#include "analysis/ChanceStatistics.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;
class QWidget;

namespace zg {

// How numbers are written on the charts: the locale of the axis labels (its decimal separator is
// the user's) and the same separator for the texts the charts build themselves.
struct ChartNumbers {
    QLocale locale;
    char separator = '.';
};

// The ChartNumbers of a decimal separator: the system's locale when it uses that separator, else a
// locale that does (Polish for a comma, C for a point). Thousands are written without a separator.
ChartNumbers ChartNumbersFor(char separator);

// A decimal with `decimals` places and the separator.
QString ChartDecimal(double value, int decimals, const ChartNumbers& numbers);

// A chart without data, in the charts' colours, with `text` as its title: what the window shows
// before a search and after the main window's reset.
QChart* MakeEmptyChart(const QString& text = QString());

// "Trafienia": the hits of every draw against its ordinal, with the qualifying band hitsFrom..hitsTo
// shaded, the trailing mean of the last 100 draws and the expected mean dashed. `columns` is the
// width of the plot area in pixels: with more draws than that, each column shows only its lowest
// and highest value (HitsChartPoints).
struct HitsChart {
    QChart* chart = nullptr;
    QLineSeries* hits = nullptr;         // owned by the chart
    QLineSeries* trailingMean = nullptr; // owned by the chart
    QValueAxis* draws = nullptr;         // the axis of the ordinals, owned by the chart
    double firstX = 0;                   // its whole range
    double lastX = 0;
};

// The hits chart's title, naming the draws it shows (all of them, or the span zoomed to):
// "Trafienia zestawu w losowaniach 601 - 1700".
QString HitsChartTitle(std::int32_t first, std::int32_t last);

// Shows the ordinals from..to on the hits chart's axis, ticked at round ordinals.
void SetDrawAxisRange(QValueAxis* axis, double from, double to);
HitsChart MakeHitsChart(const ChanceStatistics& stats, std::int32_t hitsFrom, std::int32_t hitsTo, int columns,
                        const ChartNumbers& numbers);

// The points of the hit series and of the trailing-mean series of a hits chart for `columns`
// pixel columns, over the draws `from`..`to` (ordinals; cut to the statistics' draws), so that a
// resized or zoomed chart can take new ones.
void FillHitsSeries(const ChanceStatistics& stats, int columns, QLineSeries* hits, QLineSeries* trailingMean,
                    std::int32_t from, std::int32_t to);

// The draws over which the trailing mean of the hits chart is taken.
inline constexpr std::int32_t TrailingMeanDraws = 100;

// "Rozkład trafień": the observed and the expected count of draws for each number of hits.
QChart* MakeHitDistributionChart(const ChanceStatistics& stats, const ChartNumbers& numbers);

// "Odstępy": the gaps of the found draws as bars against the expected counts as a curve, both mean
// gaps in the legend. Long histograms are pooled into at most MaxGapClasses classes of equal width.
QChart* MakeGapsChart(const ChanceStatistics& stats, const ChartNumbers& numbers);
inline constexpr std::int32_t MaxGapClasses = 50;

// An entry of a legend drawn beside a chart rather than inside it (which Qt Charts cuts short when
// it lacks room): a box in `fill` with a `border`, and the name.
struct LegendEntry {
    QString name;
    QColor fill;
    QColor border;
};

// "Liczby": 80 bars of each number's difference from the expected count, around a zero line, the
// set's numbers in the highlight colour, bars outside the 95% band outlined, and the band shaded
// around zero. Each bar's tooltip gives the count, the expected count and the band. The legend is
// for the window to show under the chart.
struct NumbersChart {
    QChart* chart = nullptr;
    std::vector<LegendEntry> legend;
};
NumbersChart MakeNumbersChart(const ChanceStatistics& stats, const NumberSetData& set, const ChartNumbers& numbers);

// A bar's tooltip on the numbers chart: "Liczba 17: 4520 losowań (oczekiwano 4488, przedział 95%:
// 4375–4602)".
QString NumberTip(const NumberFrequency& n, const ChartNumbers& numbers);

// A count with up to two decimals, without trailing zeros: "4488", "376,25", "376,5".
QString ChartCount(double value, const ChartNumbers& numbers);

// One class of an observed-against-expected chart: the values from..to and their two counts.
struct ClassCounts {
    std::int32_t from = 0;
    std::int32_t to = 0;
    double observed = 0;
    double expected = 0;
};

// The observed counts of classes as bars beside the expected ones, in the colours and legend of
// "Rozkład trafień": the class axis names each class ("7", or "210–229") and, beyond
// MaxNamedClasses classes, is a value axis ticked at round values instead.
struct ObservedExpectedChart {
    QString title;
    QString classAxis;    // the class axis's title
    QString countAxis;    // the count axis's title
    QString observedName; // the observed bars' name in the legend
    std::vector<ClassCounts> classes;
};
// Beyond a dozen names the chart at the window's first size has no room for each, and Qt Charts
// shows the names it cannot fit as "…".
inline constexpr int MaxNamedClasses = 12;
QChart* MakeObservedExpectedChart(const ObservedExpectedChart& in, const ChartNumbers& numbers);

// "Zapisz obraz…" of a window of charts: asks for the picture's file (WYKRES.NNNN.png proposed in
// AppDir/TXT, PNG or SVG); an empty text when the user cancelled.
QString AskChartPictureName(QWidget* parent);

// Writes the picture of `page` as shown to `path` (SVG when the name ends in ".svg", else PNG; the
// SVG titled "<window's title>: <tabText>"), then the reports' confirmation over `window`.
void SaveChartPicture(QWidget* window, const QString& path, QWidget* page, const QString& tabText);

} // namespace zg
