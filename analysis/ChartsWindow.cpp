// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ChartsWindow.h"

#include "analysis/ChartBuilders.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "ui/ProgramIcons.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/WindowParts.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <functional>

namespace zg {

namespace {

const char* const TabCaptions[ChartsWindow::TabCount] = {"Trafienia", "Rozkład trafień", "Odstępy", "Liczby"};

// A chart view on which a horizontal drag zooms (where a rubber band is set) and a right click,
// which would zoom out one step, does nothing. `hover`, when set, hears where the mouse moves with
// no button held (in the viewport's coordinates).
class ChartView final : public QChartView {
public:
    using QChartView::QChartView;
    std::function<void(const QPoint&)> hover;

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        QChartView::mouseMoveEvent(event);
        if (hover && event->buttons() == Qt::NoButton)
            hover(event->position().toPoint());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton)
            event->accept();
        else
            QChartView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton)
            event->accept();
        else
            QChartView::mouseReleaseEvent(event);
    }
};

// A legend as one line of text under a chart: a box in each entry's colours, then its name. It
// wraps instead of being cut, on screen and in the saved picture.
QString LegendText(const std::vector<LegendEntry>& entries) {
    QStringList parts;
    for (const LegendEntry& e : entries)
        parts << QStringLiteral("<span style=\"color:%2\">&#9612;</span><span style=\"background-color:%1; "
                                "color:%1\">&#9632;&#9632;</span><span style=\"color:%2\">&#9616;</span>&nbsp;%3")
                     .arg(e.fill.name(), e.border.name(),
                          e.name.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
    return parts.join(QStringLiteral("&nbsp;&nbsp;&nbsp; "));
}

} // namespace

ChartsWindow::ChartsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("chartsWindow"));
    setWindowTitle(QStringLiteral(" Wykresy"));
    setWindowIcon(ChartsIcon());
    resize(860, 600);
    decimalSeparator_ = LocaleDecimalSeparator();
    buildControls();
    clear();
}

ChartsWindow::~ChartsWindow() = default;

void ChartsWindow::buildControls() {
    setFont(Verdana(10));
    SetColours(this, Silver, Qt::black);
    SetButtonColours(this, Silver, Qt::black);

    chartTabs = new QTabWidget(this);
    chartTabs->setObjectName(QStringLiteral("chartTabs"));
    chartTabs->setAccessibleName(QStringLiteral("Wykresy"));
    for (int t = 0; t < TabCount; ++t) {
        const QString caption = QString::fromUtf8(TabCaptions[t]);
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("chartPage%1").arg(t));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new ChartView(page);
        view->setObjectName(QStringLiteral("chartView%1").arg(t));
        view->setAccessibleName(caption);
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::NoFrame);
        layout->addWidget(view, 1);
        chartViews[static_cast<std::size_t>(t)] = view;
        if (t == DistributionTab) {
            chiSquareSentence = new QLabel(page);
            chiSquareSentence->setObjectName(QStringLiteral("chiSquareSentence"));
            chiSquareSentence->setFont(Verdana(10, true));
            chiSquareSentence->setWordWrap(true); // the sentence runs to two lines in a narrow window
            chiSquareSentence->setContentsMargins(8, 4, 8, 6);
            chiSquareSentence->setAutoFillBackground(true);
            layout->addWidget(chiSquareSentence);
        }
        if (t == NumbersTab) {
            numbersLegend = new QLabel(page);
            numbersLegend->setObjectName(QStringLiteral("numbersLegend"));
            numbersLegend->setTextFormat(Qt::RichText);
            numbersLegend->setWordWrap(true);
            numbersLegend->setFont(Verdana(8));
            numbersLegend->setContentsMargins(8, 2, 8, 2);
            numbersLegend->setAutoFillBackground(true);
            layout->addWidget(numbersLegend);
            numbersOutsideSentence = new QLabel(page);
            numbersOutsideSentence->setObjectName(QStringLiteral("numbersOutsideSentence"));
            numbersOutsideSentence->setFont(Verdana(10, true));
            numbersOutsideSentence->setContentsMargins(8, 4, 8, 6);
            numbersOutsideSentence->setAutoFillBackground(true);
            layout->addWidget(numbersOutsideSentence);
        }
        if (t == HitsTab) {
            view->setRubberBand(QChartView::HorizontalRubberBand);
            // The draw under the mouse, anywhere over the plot, not only on the thin line.
            view->viewport()->setMouseTracking(true);
            view->hover = [this](const QPoint& position) { showDrawTip(position); };
        }
        chartTabs->addTab(page, caption);
    }
    connect(chartTabs, &QTabWidget::currentChanged, this, [this] {
        wholeRangeButton->setVisible(chartTabs->currentIndex() == HitsTab);
        drawCurrentTab();
    });

    wholeRangeButton = new QPushButton(QStringLiteral("Cały zakres"), this);
    wholeRangeButton->setObjectName(QStringLiteral("wholeRangeButton"));
    wholeRangeButton->setAccessibleName(wholeRangeButton->text());
    wholeRangeButton->setToolTip(QStringLiteral("Przeciągnij po wykresie, aby pokazać część losowań"));
    wholeRangeButton->setAutoDefault(false);
    connect(wholeRangeButton, &QPushButton::clicked, this, &ChartsWindow::showWholeHitsRange);

    saveImageButton = new QPushButton(QStringLiteral("Zapisz obraz…"), this);
    saveImageButton->setObjectName(QStringLiteral("saveImageButton"));
    saveImageButton->setAccessibleName(saveImageButton->text());
    saveImageButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveImageButton->setAutoDefault(false);
    connect(saveImageButton, &QPushButton::clicked, this, &ChartsWindow::saveImage);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(wholeRangeButton);
    buttons->addStretch(1);
    buttons->addWidget(saveImageButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(chartTabs, 1);
    layout->addLayout(buttons);
}

void ChartsWindow::setDecimalSeparator(char c) {
    decimalSeparator_ = c;
    if (hasStatistics_) {
        chiSquareSentence->setText(Q(ChiSquareSentence(stats_.chiSquare, decimalSeparator_)));
        numbersOutsideSentence->setText(Q(NumbersOutsideSentence(stats_, decimalSeparator_)));
        drawn_.fill(false);
        if (isVisible())
            drawCurrentTab();
    }
}

QString ChartsWindow::WaitingText() {
    return QStringLiteral("Wykresy pokażą wynik następnego wyszukiwania (Oblicz).");
}

void ChartsWindow::showStatistics(const ChartInputs& inputs) {
    stats_ = ComputeChanceStatistics(inputs, inputs.rows);
    draws_ = inputs.draws;
    set_ = inputs.set;
    hitsFrom_ = inputs.hitsFrom;
    hitsTo_ = inputs.hitsTo;
    hasStatistics_ = true;
    drawn_.fill(false);
    chiSquareSentence->setText(Q(ChiSquareSentence(stats_.chiSquare, decimalSeparator_)));
    numbersOutsideSentence->setText(Q(NumbersOutsideSentence(stats_, decimalSeparator_)));
    viewFirst_ = stats_.firstDraw;
    viewLast_ = stats_.firstDraw + stats_.draws - 1;
    saveImageButton->setEnabled(true);
    if (isVisible())
        drawCurrentTab();
}

void ChartsWindow::clear() {
    hasStatistics_ = false;
    stats_ = ChanceStatistics{};
    draws_ = DrawsView{};
    for (int t = 0; t < TabCount; ++t)
        setChart(static_cast<Tab>(t), MakeEmptyChart(WaitingText()));
    drawn_.fill(true);
    chiSquareSentence->clear();
    numbersOutsideSentence->clear();
    numbersLegend->clear();
    viewFirst_ = viewLast_ = 0;
    wholeRangeButton->setEnabled(false);
    saveImageButton->setEnabled(false);
}

void ChartsWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        placeInsideScreen();
    }
    QWidget::showEvent(event);
    drawCurrentTab();
}

void ChartsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QRect ClientInsideArea(const QRect& client, const QMargins& frame, const QRect& area, const QSize& minimum) {
    const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    const QSize size = client.size().boundedTo(room).expandedTo(minimum.boundedTo(room));
    const QRect outer = QRect(client.topLeft(), size).marginsAdded(frame);
    const int x = std::clamp(outer.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int y = std::clamp(outer.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    return QRect(QPoint(x + frame.left(), y + frame.top()), size);
}

namespace {

// The frame the desktop has put around a shown window (none before it is framed).
QMargins FrameOf(const QWidget* w) {
    const QRect inner = w->geometry(), outer = w->frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

} // namespace

void ChartsWindow::placeInsideScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    // Before its first showing the window has no frame yet: the main window's tells how wide the
    // desktop draws one, and without it room for a usual frame is kept.
    QMargins frame = FrameOf(this);
    if (frame.isNull() && parentWidget() != nullptr)
        frame = FrameOf(parentWidget()->window());
    if (frame.isNull())
        frame = AssumedWindowFrame;
    setGeometry(ClientInsideArea(geometry(), frame, screen->availableGeometry(), minimumSizeHint()));
}

void ChartsWindow::drawCurrentTab() {
    drawTab(static_cast<Tab>(chartTabs->currentIndex()));
}

void ChartsWindow::setChart(Tab tab, QChart* chart) {
    QChartView* view = chartViews[static_cast<std::size_t>(tab)];
    QChart* old = view->chart();
    if (tab == HitsTab) {
        hitsSeries_ = nullptr;
        trailingMeanSeries_ = nullptr;
        drawAxis_ = nullptr;
    }
    view->setChart(chart); // the view releases the old chart without deleting it
    delete old;
}

void ChartsWindow::drawTab(Tab tab) {
    if (tab < 0 || tab >= TabCount || !hasStatistics_ || drawn_[static_cast<std::size_t>(tab)])
        return;
    const ChartNumbers numbers = ChartNumbersFor(decimalSeparator_);
    switch (tab) {
    case HitsTab: {
        // The width the plot area had so far; the chart corrects it once laid out.
        QChartView* view = chartViews[HitsTab];
        const qreal plotWidth = view->chart() != nullptr ? view->chart()->plotArea().width() : 0;
        hitsColumns_ = plotWidth > 0 ? static_cast<int>(plotWidth) : std::max(1, view->width() - 100);
        const HitsChart chart = MakeHitsChart(stats_, hitsFrom_, hitsTo_, hitsColumns_, numbers);
        setChart(HitsTab, chart.chart);
        hitsSeries_ = chart.hits;
        trailingMeanSeries_ = chart.trailingMean;
        drawAxis_ = chart.draws;
        hitsFirstX_ = chart.firstX;
        hitsLastX_ = chart.lastX;
        viewFirst_ = stats_.firstDraw;
        viewLast_ = stats_.firstDraw + stats_.draws - 1;
        wholeRangeButton->setEnabled(false);
        // A drag zooms the axis; the zoom is snapped to whole draws and thinned anew.
        connect(drawAxis_, &QValueAxis::rangeChanged, this, &ChartsWindow::hitsRangeChanged);
        // The view laid the chart out as it took it; later resizes follow.
        connect(chart.chart, &QChart::plotAreaChanged, this, [this] { plotAreaResized(); });
        plotAreaResized();
        break;
    }
    case DistributionTab:
        setChart(tab, MakeHitDistributionChart(stats_, numbers));
        break;
    case GapsTab:
        setChart(tab, MakeGapsChart(stats_, numbers));
        break;
    case NumbersTab: {
        const NumbersChart chart = MakeNumbersChart(stats_, set_, numbers);
        setChart(tab, chart.chart);
        numbersLegend->setText(LegendText(chart.legend));
        break;
    }
    case TabCount:
        return;
    }
    drawn_[static_cast<std::size_t>(tab)] = true;
}

void ChartsWindow::plotAreaResized() {
    if (hitsSeries_ == nullptr)
        return;
    const int columns = std::max(1, static_cast<int>(chartViews[HitsTab]->chart()->plotArea().width()));
    // Fewer draws than columns either way: every draw is a point already.
    const std::int32_t shown = viewLast_ - viewFirst_ + 1;
    if (columns == hitsColumns_ || (shown <= columns && shown <= hitsColumns_))
        return;
    hitsColumns_ = columns;
    refillHits();
}

void ChartsWindow::refillHits() {
    if (hitsSeries_ != nullptr)
        FillHitsSeries(stats_, hitsColumns_, hitsSeries_, trailingMeanSeries_, viewFirst_, viewLast_);
}

void ChartsWindow::hitsRangeChanged(qreal from, qreal to) {
    if (snapping_ || drawAxis_ == nullptr)
        return;
    zoomHits(from, to);
}

void ChartsWindow::zoomHits(double from, double to) {
    if (drawAxis_ == nullptr || !hasStatistics_)
        return;
    // Whole draws, inside the whole range, at least one draw wide.
    double first = std::clamp(std::floor(from), hitsFirstX_, hitsLastX_);
    double last = std::clamp(std::ceil(to), hitsFirstX_, hitsLastX_);
    if (last - first < 1) {
        last = std::min(first + 1, hitsLastX_);
        first = std::max(last - 1, hitsFirstX_);
    }
    const bool whole = first <= hitsFirstX_ && last >= hitsLastX_;
    {
        snapping_ = true;
        SetDrawAxisRange(drawAxis_, first, last);
        snapping_ = false;
    }
    const std::int32_t lastDraw = stats_.firstDraw + stats_.draws - 1;
    viewFirst_ = std::clamp(static_cast<std::int32_t>(first), stats_.firstDraw, lastDraw);
    viewLast_ = std::clamp(static_cast<std::int32_t>(last), viewFirst_, lastDraw);
    chartViews[HitsTab]->chart()->setTitle(HitsChartTitle(viewFirst_, viewLast_));
    refillHits();
    wholeRangeButton->setEnabled(!whole);
}

void ChartsWindow::showWholeHitsRange() {
    zoomHits(hitsFirstX_, hitsLastX_);
}

void ChartsWindow::showDrawTip(const QPoint& position) {
    QChartView* view = chartViews[HitsTab];
    QChart* chart = view->chart();
    const QPointF at = chart != nullptr ? chart->mapFromScene(view->mapToScene(position)) : QPointF();
    if (hitsSeries_ == nullptr || stats_.draws < 1 || !chart->plotArea().contains(at)) {
        QToolTip::hideText();
        return;
    }
    // The draw whose column the mouse is over, among those shown.
    const double x = chart->mapToValue(at, hitsSeries_).x();
    const auto ordinal = static_cast<std::int32_t>(std::clamp<double>(std::round(x), viewFirst_, viewLast_));
    const std::int32_t i = ordinal - stats_.firstDraw;
    QString tip = QStringLiteral("Losowanie nr ") + QString::number(ordinal);
    if (ordinal <= draws_.count)
        tip += QStringLiteral(" z dnia ") + Q(DrawDateLongText(draws_, ordinal));
    tip += QStringLiteral("\nTrafienia: ") + QString::number(stats_.drawHits[static_cast<std::size_t>(i)]);
    if (i >= TrailingMeanDraws - 1) {
        std::int64_t sum = 0;
        for (std::int32_t j = i - TrailingMeanDraws + 1; j <= i; ++j)
            sum += stats_.drawHits[static_cast<std::size_t>(j)];
        tip += QStringLiteral("\nŚrednia z ostatnich ") + QString::number(TrailingMeanDraws) + QStringLiteral(": ") +
               ChartDecimal(static_cast<double>(sum) / TrailingMeanDraws, 2, ChartNumbersFor(decimalSeparator_));
    }
    QToolTip::showText(view->viewport()->mapToGlobal(position), tip, view->viewport());
}

void ChartsWindow::saveImage() {
    if (!hasStatistics_)
        return;
    const QString path = AskChartPictureName(this);
    if (path.isEmpty())
        return;
    drawCurrentTab();
    SaveChartPicture(this, path, chartTabs->currentWidget(), chartTabs->tabText(chartTabs->currentIndex()));
}

} // namespace zg
