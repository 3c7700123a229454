// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The charts window (" Wykresy"): four tabs of pictures of a search beside what chance alone would
// give ("Trafienia", "Rozkład trafień", "Odstępy", "Liczby"), and "Zapisz obraz…", which saves the
// tab shown as a PNG or SVG picture, as shown. It is not modal: whoever owns it hands it every new
// search (showStatistics) and empties it on a reset (clear), and the charts follow while it stays
// open. Dragging across the hits chart zooms to that span of draws, which its title names; "Cały
// zakres" shows them all again. The mouse over a draw's column tells the draw, its date and hits.
// The window opens with its whole frame inside the screen's free area, and Esc closes it.
#include "analysis/ChanceStatistics.h"

#include <QMargins>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QValueAxis;

namespace zg {

// Where a window opens inside a screen's free `area`: its client rectangle `client`, no larger than
// the area leaves once the desktop's `frame` is added (yet no smaller than `minimum` while that
// fits), moved as little as it takes for the whole frame to lie inside the area.
QRect ClientInsideArea(const QRect& client, const QMargins& frame, const QRect& area, const QSize& minimum);

// The frame assumed around a window before the desktop has framed one: room for a title bar and
// borders as wide as the usual desktops draw them.
inline constexpr QMargins AssumedWindowFrame(8, 40, 8, 8);

class ChartsWindow : public QWidget {
    Q_OBJECT
public:
    enum Tab { HitsTab, DistributionTab, GapsTab, NumbersTab, TabCount };

    explicit ChartsWindow(QWidget* parent = nullptr);
    ~ChartsWindow() override;

    // Computes the statistics of the search and redraws the charts: the tab shown at once when the
    // window is visible, every other tab when it is next shown.
    void showStatistics(const ChartInputs& inputs);
    // Empties every chart and the sentences, and says that the charts wait for the next search;
    // "Zapisz obraz…" is disabled until then.
    void clear();

    // The ordinals the hits chart shows (the whole range unless zoomed), and the zoom that
    // "Cały zakres" undoes.
    std::int32_t hitsViewFirst() const { return viewFirst_; }
    std::int32_t hitsViewLast() const { return viewLast_; }
    void zoomHits(double from, double to);
    void showWholeHitsRange();

    bool hasStatistics() const { return hasStatistics_; }
    const ChanceStatistics& statistics() const { return stats_; }
    QTabWidget* tabs() const { return chartTabs; }
    QChartView* chartView(Tab tab) const { return chartViews[static_cast<std::size_t>(tab)]; }
    // Decimal separator of the charts (the locale's; tests may set another).
    void setDecimalSeparator(char c);

    // "Zapisz obraz…": the tab shown, through the save dialog, as PNG or (for a name ending in .svg)
    // SVG, then the reports' confirmation.
    void saveImage();

    // What the window says while it has no search to show.
    static QString WaitingText();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void drawCurrentTab();
    void drawTab(Tab tab);
    void setChart(Tab tab, QChart* chart);
    void plotAreaResized();
    void hitsRangeChanged(qreal from, qreal to);
    void refillHits();
    void placeInsideScreen();
    void showDrawTip(const QPoint& position);

    char decimalSeparator_ = '.';
    bool hasStatistics_ = false;
    ChanceStatistics stats_;
    DrawsView draws_;
    NumberSetData set_;
    std::int32_t hitsFrom_ = 0;
    std::int32_t hitsTo_ = 0;
    std::array<bool, TabCount> drawn_{}; // the tab shows the current statistics

    // The hits chart's series, refilled when its plot area changes width.
    QLineSeries* hitsSeries_ = nullptr;
    QLineSeries* trailingMeanSeries_ = nullptr;
    QValueAxis* drawAxis_ = nullptr;
    int hitsColumns_ = 0;
    double hitsFirstX_ = 0, hitsLastX_ = 0; // the axis's whole range
    std::int32_t viewFirst_ = 0, viewLast_ = 0;
    bool snapping_ = false;
    bool placed_ = false;

    QTabWidget* chartTabs = nullptr;
    std::array<QChartView*, TabCount> chartViews{};
    QLabel* chiSquareSentence = nullptr;
    QLabel* numbersOutsideSentence = nullptr;
    QLabel* numbersLegend = nullptr;
    QPushButton* wholeRangeButton = nullptr;
    QPushButton* saveImageButton = nullptr;
};

} // namespace zg
