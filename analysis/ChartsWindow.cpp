#include "analysis/ChartsWindow.h"

#include "analysis/ChartBuilders.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"
#include "base/State.h"
#include "ui/Dialogs.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"
#include "ui/WindowParts.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>

namespace zg {

namespace {

const char* const TabCaptions[ChartsWindow::TabCount] = {"Trafienia", "Rozkład trafień", "Odstępy", "Liczby"};

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
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Silver);
    p.setColor(QPalette::Button, Silver);
    setPalette(p);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("chartTabs"));
    tabs_->setAccessibleName(QStringLiteral("Wykresy"));
    for (int t = 0; t < TabCount; ++t) {
        const QString caption = QString::fromUtf8(TabCaptions[t]);
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("chartPage%1").arg(t));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new QChartView(page);
        view->setObjectName(QStringLiteral("chartView%1").arg(t));
        view->setAccessibleName(caption);
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::NoFrame);
        layout->addWidget(view, 1);
        views_[static_cast<std::size_t>(t)] = view;
        if (t == DistributionTab) {
            verdict_ = new QLabel(page);
            verdict_->setObjectName(QStringLiteral("chiSquareVerdict"));
            verdict_->setFont(Verdana(10, true));
            verdict_->setContentsMargins(8, 4, 8, 6);
            verdict_->setAutoFillBackground(true);
            layout->addWidget(verdict_);
        }
        tabs_->addTab(page, caption);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { drawCurrentTab(); });

    saveButton_ = new QPushButton(QStringLiteral("Zapisz obraz…"), this);
    saveButton_->setObjectName(QStringLiteral("saveImageButton"));
    saveButton_->setAccessibleName(saveButton_->text());
    saveButton_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveButton_->setAutoDefault(false);
    connect(saveButton_, &QPushButton::clicked, this, &ChartsWindow::saveImage);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
}

void ChartsWindow::setDecimalSeparator(char c) {
    decimalSeparator_ = c;
    if (hasStatistics_) {
        verdict_->setText(Q(ChiSquareVerdict(stats_.chiSquare, decimalSeparator_)));
        drawn_.fill(false);
        if (isVisible())
            drawCurrentTab();
    }
}

void ChartsWindow::showStatistics(const ChartInputs& inputs) {
    stats_ = ComputeChanceStatistics(inputs, inputs.rows);
    draws_ = inputs.draws;
    set_ = inputs.set;
    hitsFrom_ = inputs.hitsFrom;
    hitsTo_ = inputs.hitsTo;
    hasStatistics_ = true;
    drawn_.fill(false);
    verdict_->setText(Q(ChiSquareVerdict(stats_.chiSquare, decimalSeparator_)));
    saveButton_->setEnabled(true);
    if (isVisible())
        drawCurrentTab();
}

void ChartsWindow::clear() {
    hasStatistics_ = false;
    stats_ = ChanceStatistics{};
    draws_ = DrawsView{};
    for (int t = 0; t < TabCount; ++t)
        setChart(static_cast<Tab>(t), MakeEmptyChart());
    drawn_.fill(true);
    verdict_->clear();
    saveButton_->setEnabled(false);
}

void ChartsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    drawCurrentTab();
}

void ChartsWindow::drawCurrentTab() {
    drawTab(static_cast<Tab>(tabs_->currentIndex()));
}

void ChartsWindow::setChart(Tab tab, QChart* chart) {
    QChartView* view = views_[static_cast<std::size_t>(tab)];
    QChart* old = view->chart();
    if (tab == HitsTab) {
        hitsSeries_ = nullptr;
        trailingMeanSeries_ = nullptr;
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
        QChartView* view = views_[HitsTab];
        const qreal plotWidth = view->chart() != nullptr ? view->chart()->plotArea().width() : 0;
        hitsColumns_ = plotWidth > 0 ? static_cast<int>(plotWidth) : std::max(1, view->width() - 100);
        const HitsChart chart = MakeHitsChart(stats_, hitsFrom_, hitsTo_, hitsColumns_, numbers);
        setChart(HitsTab, chart.chart);
        hitsSeries_ = chart.hits;
        trailingMeanSeries_ = chart.trailingMean;
        for (QLineSeries* series : {hitsSeries_, trailingMeanSeries_})
            connect(series, &QLineSeries::hovered, this,
                    [this](const QPointF& point, bool entering) { showDrawTip(point, entering); });
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
    case NumbersTab:
        setChart(tab, MakeNumbersChart(stats_, set_, numbers));
        break;
    case TabCount:
        return;
    }
    drawn_[static_cast<std::size_t>(tab)] = true;
}

void ChartsWindow::plotAreaResized() {
    if (hitsSeries_ == nullptr)
        return;
    const int columns = std::max(1, static_cast<int>(views_[HitsTab]->chart()->plotArea().width()));
    // Fewer draws than columns either way: every draw is a point already.
    if (columns == hitsColumns_ || (stats_.draws <= columns && stats_.draws <= hitsColumns_))
        return;
    hitsColumns_ = columns;
    FillHitsSeries(stats_, columns, hitsSeries_, trailingMeanSeries_);
}

void ChartsWindow::showDrawTip(const QPointF& point, bool entering) {
    if (!entering || stats_.draws < 1) {
        QToolTip::hideText();
        return;
    }
    const std::int32_t last = stats_.firstDraw + stats_.draws - 1;
    const auto ordinal = static_cast<std::int32_t>(std::clamp<double>(std::round(point.x()), stats_.firstDraw, last));
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
    QToolTip::showText(QCursor::pos(), tip, views_[HitsTab]);
}

QByteArray ChartsWindow::pictureBytes(QWidget* page, bool svg) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(page->size());
        generator.setViewBox(page->rect());
        generator.setTitle(windowTitle().trimmed() + QStringLiteral(": ") + tabs_->tabText(tabs_->currentIndex()));
        QPainter painter(&generator);
        page->render(&painter);
    } else {
        page->grab().save(&buffer, "PNG");
    }
    return bytes;
}

void ChartsWindow::saveImage() {
    if (!hasStatistics_)
        return;
    const std::string folder = AppDir + "/TXT";
    const QString path =
        Dialogs::SaveFileName(this, Q(folder), Q(NextNumberedFileName(folder, "WYKRES", "png")),
                              QStringLiteral("Obraz PNG (*.png);;Obraz SVG (*.svg)"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    drawCurrentTab();
    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const QByteArray bytes = pictureBytes(tabs_->currentWidget(), svg);
    if (WriteReport(this, path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        ShowReportSaved(this, path);
}

} // namespace zg
