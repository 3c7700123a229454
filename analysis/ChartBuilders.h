#pragma once
// The four charts of the charts window, built with Qt Charts from the chance statistics of a
// search: hits per draw, the hit distribution, the gaps and the numbers. Each function returns a
// new chart that the caller owns.
#include "analysis/ChanceStatistics.h"

#include <QLocale>
#include <QString>

class QChart;
class QLineSeries;

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

// A chart without data, in the charts' colours: what the window shows before a search and after
// the main window's reset.
QChart* MakeEmptyChart();

// "Trafienia": the hits of every draw against its ordinal, with the qualifying band hitsFrom..hitsTo
// shaded, the trailing mean of the last 100 draws and the expected mean dashed. `columns` is the
// width of the plot area in pixels: with more draws than that, each column shows only its lowest
// and highest value (HitsChartPoints).
struct HitsChart {
    QChart* chart = nullptr;
    QLineSeries* hits = nullptr;         // owned by the chart
    QLineSeries* trailingMean = nullptr; // owned by the chart
};
HitsChart MakeHitsChart(const ChanceStatistics& stats, std::int32_t hitsFrom, std::int32_t hitsTo, int columns,
                        const ChartNumbers& numbers);

// The points of the hit series and of the trailing-mean series of a hits chart for `columns`
// pixel columns, so that a resized chart can take new ones.
void FillHitsSeries(const ChanceStatistics& stats, int columns, QLineSeries* hits, QLineSeries* trailingMean);

// The draws over which the trailing mean of the hits chart is taken.
inline constexpr std::int32_t TrailingMeanDraws = 100;

// "Rozkład trafień": the observed and the expected count of draws for each number of hits.
QChart* MakeHitDistributionChart(const ChanceStatistics& stats, const ChartNumbers& numbers);

// "Odstępy": the gaps of the found draws as bars against the expected counts as a curve, both mean
// gaps in the legend. Long histograms are pooled into at most MaxGapClasses classes of equal width.
QChart* MakeGapsChart(const ChanceStatistics& stats, const ChartNumbers& numbers);
inline constexpr std::int32_t MaxGapClasses = 50;

// "Liczby": 80 bars of the numbers' counts, the set's numbers in the highlight colour, bars outside
// the 95% band outlined, the expected count as a line and the band shaded.
QChart* MakeNumbersChart(const ChanceStatistics& stats, const NumberSetData& set, const ChartNumbers& numbers);

} // namespace zg
