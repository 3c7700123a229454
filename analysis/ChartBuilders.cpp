// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ChartBuilders.h"

#include "analysis/ChartSeries.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/ReportWriter.h"
#include "base/State.h"
#include "ui/Dialogs.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QCursor>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPointF>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zg {

namespace {

// The program's colours.
const QColor Highlight(255, 255, 0); // the set's numbers, as in the numbers strip

QChart* NewChart(const QString& title, const ChartNumbers& numbers) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(Verdana(10, true));
    chart->setBackgroundBrush(Silver);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(numbers.locale);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(Verdana(8));
    return chart;
}

void StyleAxis(QAbstractAxis* axis, const QString& title) {
    axis->setTitleText(title);
    axis->setTitleFont(Verdana(8, true));
    axis->setLabelsFont(Verdana(8));
    axis->setGridLineColor(QColor(220, 220, 220));
}

QValueAxis* ValueAxis(QChart* chart, Qt::Alignment side, const QString& title, double min, double max) {
    auto* axis = new QValueAxis;
    StyleAxis(axis, title);
    axis->setRange(min, max);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axis, side);
    return axis;
}

QBarCategoryAxis* CategoryAxis(QChart* chart, const QString& title, const QStringList& categories) {
    auto* axis = new QBarCategoryAxis;
    StyleAxis(axis, title);
    axis->append(categories);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

QLineSeries* Line(const QString& name, const QPen& pen, const QList<QPointF>& points = {}) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->setPen(pen);
    series->replace(points);
    return series;
}

// The band between `low` and `high` across x0..x1, filled with `colour` and without a border.
QAreaSeries* Band(QChart* chart, const QString& name, double x0, double x1, double low, double high,
                  const QColor& colour) {
    auto* upper = new QLineSeries(chart);
    upper->append(x0, high);
    upper->append(x1, high);
    auto* lower = new QLineSeries(chart);
    lower->append(x0, low);
    lower->append(x1, low);
    auto* band = new QAreaSeries(upper, lower);
    band->setName(name);
    band->setBrush(colour);
    band->setPen(Qt::NoPen);
    return band;
}

QBarSet* Bars(const QString& name, const QColor& fill, const QPen& border) {
    auto* set = new QBarSet(name);
    set->setBrush(fill);
    set->setPen(border);
    return set;
}

QList<QPointF> Points(const std::vector<ChartPoint>& points, double firstX) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points)
        list.append(QPointF(firstX + p.index, p.value));
    return list;
}

// A tick interval of 1, 2 or 5 times a power of ten that cuts `span` into about `steps` parts, at
// least `least`.
double NiceStep(double span, int steps, double least) {
    const double step = std::max(span / steps, least);
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double nice = power * (step > 5 * power ? 10 : step > 2 * power ? 5 : step > power ? 2 : 1);
    return std::max(nice, least);
}

// "w 1 losowaniu", "w 5 losowaniach": the count after "w".
QString InDraws(std::int64_t count) {
    return QString::number(count) + QLatin1Char(' ') +
           Q(std::string(PolishPlural(count, "losowaniu", "losowaniach", "losowaniach")));
}

QString Range(std::int64_t from, std::int64_t to) {
    return QString::number(from) + QStringLiteral(" - ") + QString::number(to);
}

} // namespace

ChartNumbers ChartNumbersFor(char separator) {
    QLocale locale = QLocale::system();
    if (locale.decimalPoint() != QString(QLatin1Char(separator)))
        locale = separator == ',' ? QLocale(QLocale::Polish, QLocale::Poland) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return ChartNumbers{locale, separator};
}

QString ChartDecimal(double value, int decimals, const ChartNumbers& numbers) {
    return Q(FormatDecimal(value, 1, decimals, numbers.separator));
}

QChart* MakeEmptyChart(const QString& text) {
    QChart* chart = NewChart(text, ChartNumbersFor('.'));
    chart->legend()->hide();
    return chart;
}

QString ChartCount(double value, const ChartNumbers& numbers) {
    QString text = ChartDecimal(value, 2, numbers);
    const qsizetype separator = text.indexOf(QLatin1Char(numbers.separator));
    if (separator < 0)
        return text;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.size() == separator + 1)
        text.chop(1);
    return text;
}

void FillHitsSeries(const ChanceStatistics& stats, int columns, QLineSeries* hits, QLineSeries* trailingMean,
                    std::int32_t from, std::int32_t to) {
    const std::span<const std::uint8_t> all(stats.drawHits);
    const auto count = static_cast<std::int32_t>(all.size());
    // Indices into the draws of the statistics, both inclusive.
    const std::int32_t first = std::clamp(from - stats.firstDraw, 0, std::max(count - 1, 0));
    const std::int32_t last = std::clamp(to - stats.firstDraw, first, std::max(count - 1, 0));
    if (count == 0) {
        hits->clear();
        trailingMean->clear();
        return;
    }
    hits->replace(
        Points(MinMaxPerColumn(all.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1)),
                               columns),
               stats.firstDraw + first));
    // Mean i is that of draws i .. i + TrailingMeanDraws - 1: the one shown at the later draw.
    const std::vector<double> means = TrailingMeans(all, TrailingMeanDraws);
    const std::int32_t meanFirst = std::max(first - (TrailingMeanDraws - 1), 0);
    const std::int32_t meanLast = std::min(last - (TrailingMeanDraws - 1), static_cast<std::int32_t>(means.size()) - 1);
    if (meanLast < meanFirst) {
        trailingMean->clear();
        return;
    }
    trailingMean->replace(Points(
        MinMaxPerColumn(std::span<const double>(means).subspan(static_cast<std::size_t>(meanFirst),
                                                               static_cast<std::size_t>(meanLast - meanFirst + 1)),
                        columns),
        stats.firstDraw + TrailingMeanDraws - 1 + meanFirst));
}

HitsChart MakeHitsChart(const ChanceStatistics& stats, std::int32_t hitsFrom, std::int32_t hitsTo, int columns,
                        const ChartNumbers& numbers) {
    const std::int32_t first = stats.firstDraw, last = stats.firstDraw + stats.draws - 1;
    QChart* chart = NewChart(HitsChartTitle(first, last), numbers);
    std::int32_t top = std::max({stats.maxHits, hitsTo, 1});
    for (std::uint8_t h : stats.drawHits)
        top = std::max<std::int32_t>(top, h);
    // One draw still gets an axis of some width.
    const double x0 = stats.draws > 1 ? first : first - 1, x1 = stats.draws > 1 ? last : last + 1;
    QValueAxis* x = ValueAxis(chart, Qt::AlignBottom, QStringLiteral("Losowanie (numer porządkowy)"), x0, x1);
    SetDrawAxisRange(x, x0, x1);
    QValueAxis* y = ValueAxis(chart, Qt::AlignLeft, QStringLiteral("Liczba trafień"), -0.5, top + 0.5);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(top <= 10 ? 1 : 2);

    auto* hits = Line(QStringLiteral("Trafienia w losowaniu"), QPen(Teal, 1));
    auto* mean =
        Line(QStringLiteral("Średnia z ostatnich ") + QString::number(TrailingMeanDraws) + QStringLiteral(" losowań"),
             QPen(Maroon, 2));
    FillHitsSeries(stats, columns, hits, mean, first, last);
    Attach(chart, hits, x, y);
    // The qualifying band covers its whole hit counts (lo - 0.5 .. hi + 0.5), translucent over the hits.
    QColor bandColour = Highlight;
    bandColour.setAlpha(90);
    Attach(chart,
           Band(chart,
                QStringLiteral("Zakres wyszukiwania: od ") + QString::number(hitsFrom) + QStringLiteral(" do ") +
                    QString::number(hitsTo),
                x0, x1, std::max(hitsFrom - 0.5, -0.5), hitsTo + 0.5, bandColour),
           x, y);
    Attach(chart, mean, x, y);

    const double expected = stats.setSize * 20.0 / 80.0;
    QPen dashed(Navy, 2, Qt::DashLine);
    Attach(chart,
           Line(QStringLiteral("Średnia oczekiwana: ") + ChartDecimal(expected, 2, numbers), dashed,
                {QPointF(x0, expected), QPointF(x1, expected)}),
           x, y);
    return HitsChart{chart, hits, mean, x, x0, x1};
}

QString HitsChartTitle(std::int32_t first, std::int32_t last) {
    return QStringLiteral("Trafienia zestawu w losowaniach ") + Range(first, last);
}

void SetDrawAxisRange(QValueAxis* axis, double from, double to) {
    axis->setTickType(QValueAxis::TicksDynamic); // at round ordinals
    axis->setTickAnchor(0);
    axis->setTickInterval(NiceStep(to - from, 5, 1));
    axis->setRange(from, to);
}

namespace {

// The observed bars beside the expected ones over a category axis naming each class (given back
// in `classAxis` when asked for).
QChart* ClassBarsChart(const ObservedExpectedChart& in, const ChartNumbers& numbers,
                       QBarCategoryAxis** classAxis = nullptr) {
    QChart* chart = NewChart(in.title, numbers);
    auto* observed = Bars(in.observedName, Teal, QPen(DarkGreen, 1));
    auto* expected = Bars(QStringLiteral("Oczekiwane przy losowaniu przypadkowym"), Maroon, QPen(Maroon.darker(), 1));
    QStringList categories;
    double top = 1;
    for (const ClassCounts& c : in.classes) {
        categories << (c.from == c.to ? QString::number(c.from)
                                      : QString::number(c.from) + QStringLiteral("–") + QString::number(c.to));
        observed->append(c.observed);
        expected->append(c.expected);
        top = std::max({top, c.observed, c.expected});
    }
    auto* series = new QBarSeries;
    series->append(observed);
    series->append(expected);
    QBarCategoryAxis* x = CategoryAxis(chart, in.classAxis, categories);
    QValueAxis* y = ValueAxis(chart, Qt::AlignLeft, in.countAxis, 0, top * 1.1);
    y->applyNiceNumbers();
    Attach(chart, series, x, y);
    if (classAxis != nullptr)
        *classAxis = x;
    return chart;
}

} // namespace

QChart* MakeHitDistributionChart(const ChanceStatistics& stats, const ChartNumbers& numbers) {
    ObservedExpectedChart in;
    in.title = QStringLiteral("Rozkład trafień w ") + InDraws(stats.draws) + QStringLiteral(" wobec przypadku");
    in.classAxis = QStringLiteral("Liczba trafień w losowaniu");
    in.countAxis = QStringLiteral("Liczba losowań");
    in.observedName = QStringLiteral("Losowania");
    for (const HitFrequency& h : stats.hitDistribution)
        in.classes.push_back(ClassCounts{h.hits, h.hits, static_cast<double>(h.observed), h.expected});
    return ClassBarsChart(in, numbers);
}

QChart* MakeGapsChart(const ChanceStatistics& stats, const ChartNumbers& numbers) {
    QChart* chart = NewChart(QStringLiteral("Odstępy między znalezionymi losowaniami (") +
                                 QString::number(stats.gapCount) + QStringLiteral(")"),
                             numbers);
    const auto meanText = [&numbers](const std::optional<double>& mean) {
        return mean ? QStringLiteral("średni odstęp ") + ChartDecimal(*mean, 2, numbers)
                    : QStringLiteral("średni odstęp: brak");
    };
    auto* observed = Bars(QStringLiteral("Odstępy (") + meanText(stats.observedMeanGap) + QStringLiteral(")"), Teal,
                          QPen(DarkGreen, 1));
    QList<QPointF> expectedPoints;

    // Classes of `width` consecutive gaps, so that a long histogram keeps readable bars.
    const auto length = static_cast<std::int32_t>(stats.gapHistogram.size());
    const std::int32_t width = std::max<std::int32_t>(1, (length + MaxGapClasses - 1) / MaxGapClasses);
    QStringList categories;
    double top = 1;
    for (std::int32_t from = 0, c = 0; from < length; from += width, ++c) {
        const std::int32_t to = std::min(length, from + width) - 1;
        double o = 0, e = 0;
        for (std::int32_t g = from; g <= to; ++g) {
            o += static_cast<double>(stats.gapHistogram[static_cast<std::size_t>(g)].observed);
            e += stats.gapHistogram[static_cast<std::size_t>(g)].expected;
        }
        categories << (width == 1 ? QString::number(from) : Range(from, to));
        observed->append(o);
        expectedPoints.append(QPointF(c, e));
        top = std::max({top, o, e});
    }
    auto* bars = new QBarSeries;
    bars->append(observed);
    bars->setBarWidth(0.8);
    // The bars stand on a hidden category axis (one category per class); a value axis in gaps over
    // the same width labels round gaps, so that many classes stay readable. Class c covers the
    // gaps c * width .. c * width + width - 1.
    QBarCategoryAxis* classes = CategoryAxis(chart, QString(), categories);
    classes->setVisible(false);
    const double gapEnd = std::max<double>(1, static_cast<double>(categories.size()) * width) - 0.5;
    QValueAxis* x = ValueAxis(chart, Qt::AlignBottom, QStringLiteral("Odstęp (losowań)"), -0.5, gapEnd);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(NiceStep(gapEnd, 10, width));
    QValueAxis* y = ValueAxis(chart, Qt::AlignLeft, QStringLiteral("Liczba odstępów"), 0, top * 1.1);
    y->applyNiceNumbers();
    Attach(chart, bars, classes, y);
    Attach(chart,
           Line(QStringLiteral("Oczekiwane przy losowaniu przypadkowym (") + meanText(stats.expectedMeanGap) +
                    QStringLiteral(")"),
                QPen(Maroon, 2), expectedPoints),
           classes, y);
    return chart;
}

NumbersChart MakeNumbersChart(const ChanceStatistics& stats, const NumberSetData& set, const ChartNumbers& numbers) {
    QChart* chart = NewChart(
        QStringLiteral("Liczby w ") + InDraws(stats.draws) + QStringLiteral(" i przedział 95% przypadku"), numbers);
    chart->legend()->hide(); // the window shows the legend under the chart, never cut
    const double expected = stats.draws / 4.0;
    // Each number's bar lies in exactly one of four sets: plain or the set's, inside the band or
    // outside it (outlined); stacked, every bar shows its one value in its own colours.
    const QPen plainBorder(DarkGreen, 1), outsideBorder(Maroon, 3);
    QBarSet* sets[4] = {
        Bars(QStringLiteral("Liczby"), Teal, plainBorder),
        Bars(QStringLiteral("Liczby zestawu"), Highlight, plainBorder),
        Bars(QStringLiteral("Poza przedziałem 95%"), Teal, outsideBorder),
        Bars(QStringLiteral("Liczby zestawu poza przedziałem 95%"), Highlight, outsideBorder),
    };
    bool used[4] = {};
    QStringList categories;
    double lowest = 0, highest = 0;
    std::int64_t bandLow = 0, bandHigh = 0;
    for (const NumberFrequency& n : stats.numbers) {
        categories << QString::asprintf("%02d", n.number);
        const bool member = IsLotteryNumber(n.number) && set.Member[n.number];
        const int which = (n.outside ? 2 : 0) + (member ? 1 : 0);
        const double difference = static_cast<double>(n.count) - expected;
        for (int s = 0; s < 4; ++s)
            sets[s]->append(s == which ? difference : 0.0);
        used[which] = true;
        lowest = std::min(lowest, difference);
        highest = std::max(highest, difference);
        bandLow = n.low;
        bandHigh = n.high;
    }
    auto* bars = new QStackedBarSeries;
    for (QBarSet* s : sets)
        bars->append(s);
    bars->setBarWidth(0.75);
    // 80 category labels cannot be read at this width: the bars stand on a hidden category axis,
    // and a value axis over the same width labels every fifth number.
    QBarCategoryAxis* categoryAxis = CategoryAxis(chart, QString(), categories);
    categoryAxis->setVisible(false);
    QValueAxis* x = ValueAxis(chart, Qt::AlignBottom, QStringLiteral("Liczba"), 0.5, 80.5);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(5);

    // The axis runs through zero, the expected count, so that a bar's length is its difference.
    const double bandBottom = static_cast<double>(bandLow) - expected,
                 bandTop = static_cast<double>(bandHigh) - expected;
    const double bottom = std::min(lowest, bandBottom), top = std::max(highest, bandTop);
    const double pad = std::max(1.0, 0.15 * (top - bottom));
    QValueAxis* y = ValueAxis(chart, Qt::AlignLeft, QStringLiteral("Różnica od oczekiwanej liczby losowań"),
                              bottom - pad, top + pad);
    y->applyNiceNumbers();

    // The band lies behind the bars, its edges and the zero line in front of them.
    QColor bandColour = Aqua;
    bandColour.setAlpha(70);
    const QString bandName = QStringLiteral("Przedział 95%: ") + QString::number(bandLow) + QStringLiteral("–") +
                             QString::number(bandHigh) + QLatin1Char(' ') + Q(std::string(DrawsWord(bandHigh)));
    Attach(chart, Band(chart, bandName, 0.5, 80.5, bandBottom, bandTop, bandColour), x, y);
    Attach(chart, bars, categoryAxis, y);
    for (double edge : {bandBottom, bandTop})
        Attach(chart, Line(bandName, QPen(Teal.darker(), 1, Qt::DashLine), {QPointF(0.5, edge), QPointF(80.5, edge)}),
               x, y);
    // A fractional count takes "losowania" ("376,25 losowania").
    const bool whole = expected == std::floor(expected);
    const QString zeroName = QStringLiteral("Oczekiwano: ") + ChartCount(expected, numbers) + QLatin1Char(' ') +
                             Q(std::string(whole ? DrawsWord(static_cast<std::int64_t>(expected)) : "losowania"));
    Attach(chart, Line(zeroName, QPen(Maroon, 2), {QPointF(0.5, 0), QPointF(80.5, 0)}), x, y);

    // A bar's tooltip names its number, its count, the expected count and the band.
    std::vector<NumberFrequency> counts = stats.numbers;
    QObject::connect(bars, &QStackedBarSeries::hovered, chart, [counts, numbers](bool status, int index, QBarSet*) {
        if (!status || index < 0 || index >= static_cast<int>(counts.size())) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(QCursor::pos(), NumberTip(counts[static_cast<std::size_t>(index)], numbers));
    });

    NumbersChart result{chart, {}};
    for (int s = 0; s < 4; ++s)
        if (used[s])
            result.legend.push_back(LegendEntry{sets[s]->label(), sets[s]->brush().color(), sets[s]->pen().color()});
    result.legend.push_back(LegendEntry{bandName, bandColour, Teal.darker()});
    result.legend.push_back(LegendEntry{zeroName, Maroon, Maroon});
    return result;
}

QString NumberTip(const NumberFrequency& n, const ChartNumbers& numbers) {
    return QStringLiteral("Liczba ") + QString::number(n.number) + QStringLiteral(": ") + Q(CountOfDraws(n.count)) +
           QStringLiteral(" (oczekiwano ") + ChartCount(n.expected, numbers) + QStringLiteral(", przedział 95%: ") +
           QString::number(n.low) + QStringLiteral("–") + QString::number(n.high) + QStringLiteral(")");
}

QChart* MakeObservedExpectedChart(const ObservedExpectedChart& in, const ChartNumbers& numbers) {
    QBarCategoryAxis* x = nullptr;
    QChart* chart = ClassBarsChart(in, numbers, &x);
    const auto count = static_cast<int>(in.classes.size());
    if (count > MaxNamedClasses) {
        // Too many names to read: the classes' values on a value axis over the same width, as
        // classes of equal width (the first one's) laid side by side.
        x->setTitleText(QString());
        x->setVisible(false);
        const ClassCounts& first = in.classes.front();
        const double width = first.to - first.from + 1;
        const double low = first.from - 0.5, high = low + width * count;
        QValueAxis* values = ValueAxis(chart, Qt::AlignBottom, in.classAxis, low, high);
        values->setTickType(QValueAxis::TicksDynamic);
        values->setTickAnchor(0);
        values->setTickInterval(NiceStep(high - low, 10, width));
    }
    return chart;
}

QString AskChartPictureName(QWidget* parent) {
    const std::string folder = AppDir + "/TXT";
    return Dialogs::SaveFileName(parent, Q(folder), Q(NextNumberedFileName(folder, "WYKRES", "png")),
                                 QStringLiteral("Obraz PNG (*.png);;Obraz SVG (*.svg)"), QStringLiteral("png"));
}

void SaveChartPicture(QWidget* window, const QString& path, QWidget* page, const QString& tabText) {
    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(page->size());
        generator.setViewBox(page->rect());
        generator.setTitle(window->windowTitle().trimmed() + QStringLiteral(": ") + tabText);
        QPainter painter(&generator);
        page->render(&painter);
    } else {
        page->grab().save(&buffer, "PNG");
    }
    if (WriteReport(window, path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        ShowReportSaved(window, path);
}

} // namespace zg
