// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PatternsWindow.h"

#include "analysis/ChartBuilders.h"
#include "analysis/PatternsReport.h"
#include "analysis/SetHitSearch.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "ui/KeyboardButtons.h"
#include "ui/ProgramIcons.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"
#include "ui/WindowParts.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zg {

namespace {

// The class axis of each tab's chart.
const char* const ClassAxes[PatternsWindow::TabCount] = {"Suma liczb losowania",
                                                         "Nieparzyste w losowaniu",
                                                         "Niskie (1–40) w losowaniu",
                                                         "Liczby z następną w tym samym losowaniu",
                                                         "Powtórzone z poprzedniego losowania",
                                                         "Dziesiątka"};

// "Suma liczb w 28 losowaniach wobec przypadku".
QString ChartTitle(const char* caption, std::int64_t draws) {
    return Q(std::string(caption)) + QStringLiteral(" w ") + QString::number(draws) + QLatin1Char(' ') +
           Q(std::string(DrawsWordLocative(draws))) + QStringLiteral(" wobec przypadku");
}

QLabel* MakeLine(QWidget* parent, const QString& name, bool bold) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setFont(Verdana(10, bold));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

PatternsWindow::PatternsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("patternsWindow"));
    setWindowTitle(QStringLiteral(" Wzorce losowań"));
    setWindowIcon(PatternsIcon());
    setModal(false);
    decimalSeparator_ = LocaleDecimalSeparator();
    buildControls();
    fillTabs();
    resize(900, 640);
}

PatternsWindow::~PatternsWindow() = default;

void PatternsWindow::buildControls() {
    setFont(Verdana(10));
    headingLabel = MakeLine(this, QStringLiteral("headingLabel"), true);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("patternTabs"));
    tabs_->setAccessibleName(QStringLiteral("Wzorce losowań"));
    for (std::size_t t = 0; t < TabCount; ++t) {
        const QString caption =
            t == DecadesTab ? Q(std::string(DecadesCaption)) : Q(std::string(PatternCaption(PatternKind(t))));
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("patternPage%1").arg(t));
        auto* view = new QChartView(page);
        view->setObjectName(QStringLiteral("patternChart%1").arg(t));
        view->setAccessibleName(caption);
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::NoFrame);
        view->setFocusPolicy(Qt::NoFocus);
        views_[t] = view;

        const int columns = t == DecadesTab ? PatternColumnZ + 1 : PatternColumnZ;
        auto* table = new QTableWidget(0, columns, page);
        table->setObjectName(QStringLiteral("patternTable%1").arg(t));
        table->setAccessibleName(caption);
        table->setFont(Verdana(8));
        SetUpFixedRowGrid(table, QFontMetrics(table->font()).height() + 4);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setWordWrap(false);
        QStringList captions;
        for (int c = 0; c < columns; ++c)
            captions << QString::fromUtf8(PatternColumnCaption(c));
        table->setHorizontalHeaderLabels(captions);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->setMinimumWidth(table->horizontalHeader()->length() + 60);
        tables_[t] = table;

        auto* top = new QHBoxLayout;
        top->addWidget(view, 3);
        top->addWidget(table, 1);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addLayout(top, 1);
        if (t != DecadesTab) {
            figuresLines_[t] = MakeLine(page, QStringLiteral("figuresLine%1").arg(t), false);
            layout->addWidget(figuresLines_[t]);
        }
        testSentences_[t] = MakeLine(page, QStringLiteral("testSentence%1").arg(t), true);
        layout->addWidget(testSentences_[t]);
        tabs_->addTab(page, caption);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { drawCurrentChart(); });

    saveImageButton =
        MakeButton(this, "saveImageButton", QStringLiteral("Zapisz obraz…"), {}, Verdana(10), Qt::StrongFocus);
    saveImageButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveButton = MakeButton(this, "saveButton", QStringLiteral("Zapisz"), {}, Verdana(10), Qt::StrongFocus);
    saveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    closeButton = MakeCloseButton(this, {});
    // No default button in this window: Enter presses only the focused button.
    closeButton->setAutoDefault(false);
    for (QPushButton* b : {saveImageButton, saveButton, closeButton})
        b->setAccessibleName(b->text());
    connect(saveImageButton, &QPushButton::clicked, this, &PatternsWindow::saveImage);
    connect(saveButton, &QPushButton::clicked, this, &PatternsWindow::saveReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveImageButton);
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
}

void PatternsWindow::showQuery(const DrawQuery& query) {
    patterns_ = ComputeDrawPatterns(query);
    fillTabs();
}

void PatternsWindow::setDecimalSeparator(char c) {
    decimalSeparator_ = c;
    fillTabs();
}

void PatternsWindow::fillTabs() {
    const char sep = decimalSeparator_;
    headingLabel->setText(patterns_ ? Q(PatternsHeading(*patterns_)) : Q(RangeRefusalText));
    headingLabel->setAccessibleName(headingLabel->text());
    for (std::size_t t = 0; t < TabCount; ++t) {
        QTableWidget* table = tables_[t];
        const auto fill = [table](const auto& rows, auto cell) {
            table->setRowCount(static_cast<int>(rows.size()));
            int r = 0;
            for (const auto& row : rows) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    auto* item = new QTableWidgetItem(Q(cell(row, c)));
                    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                    table->setItem(r, c, item);
                }
                ++r;
            }
        };
        if (!patterns_)
            table->setRowCount(0);
        else if (t == DecadesTab)
            fill(patterns_->decades.rows, [sep](const DecadeRow& r, int c) { return DecadeCell(r, c, sep); });
        else
            fill(patterns_->patterns[t].rows, [sep](const PatternRow& r, int c) { return PatternCell(r, c, sep); });
        QString figures, sentence;
        if (patterns_ && t == DecadesTab) {
            sentence = Q(ChiSquareSentence(patterns_->decades.test, sep));
        } else if (patterns_) {
            figures = Q(PatternFiguresLine(patterns_->patterns[t], sep));
            sentence = Q(ChiSquareSentence(patterns_->patterns[t].test, sep));
        }
        for (const auto& [label, text] : {std::pair{figuresLines_[t], figures}, std::pair{testSentences_[t], sentence}})
            if (label != nullptr) {
                label->setText(text);
                label->setAccessibleName(text);
            }
    }
    drawn_.fill(false);
    drawCurrentChart();
    saveImageButton->setEnabled(patterns_.has_value());
    saveButton->setEnabled(patterns_.has_value());
}

void PatternsWindow::setChart(std::size_t tab, QChart* chart) {
    QChart* old = views_[tab]->chart();
    views_[tab]->setChart(chart); // the view releases the old chart without deleting it
    delete old;
}

void PatternsWindow::drawCurrentChart() {
    const auto tab = static_cast<std::size_t>(tabs_->currentIndex());
    if (tab >= TabCount || drawn_[tab])
        return;
    drawn_[tab] = true;
    if (!patterns_) {
        setChart(tab, MakeEmptyChart(Q(RangeRefusalText)));
        return;
    }
    ObservedExpectedChart in;
    in.classAxis = QString::fromUtf8(ClassAxes[tab]);
    if (tab == DecadesTab) {
        in.title = ChartTitle(DecadesCaption, patterns_->counted);
        in.countAxis = QStringLiteral("Liczba wylosowanych liczb");
        in.observedName = QStringLiteral("Wylosowane liczby");
        for (const DecadeRow& r : patterns_->decades.rows)
            in.classes.push_back(ClassCounts{r.from, r.to, static_cast<double>(r.observed), r.expected});
    } else {
        const PatternResult& p = patterns_->patterns[tab];
        in.title = ChartTitle(PatternCaption(p.kind), p.draws);
        in.countAxis = QStringLiteral("Liczba losowań");
        in.observedName = QStringLiteral("Losowania");
        for (const PatternRow& r : p.rows)
            in.classes.push_back(ClassCounts{r.from, r.to, static_cast<double>(r.observed), r.expected});
    }
    setChart(tab, MakeObservedExpectedChart(in, ChartNumbersFor(decimalSeparator_)));
}

void PatternsWindow::saveImage() {
    if (!patterns_)
        return;
    const QString path = AskChartPictureName(this);
    if (path.isEmpty())
        return;
    drawCurrentChart();
    SaveChartPicture(this, path, views_[static_cast<std::size_t>(tabs_->currentIndex())],
                     tabs_->tabText(tabs_->currentIndex()));
}

void PatternsWindow::saveReport() {
    if (!patterns_)
        return;
    // WZORCE.NNNN.txt, numbered on its own beside the ZENTAG.NNNN.txt of the other reports.
    const QString path = AskReportFileName(this, "WZORCE");
    if (path.isEmpty())
        return;
    if (WriteReport(this, path, PatternsReportBytes(*patterns_, decimalSeparator_)))
        ShowReportSaved(this, path);
}

void PatternsWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses a focused button and nothing else (the window has no default button); Esc
    // closes the window as the dialog does.
    if (PressFocusedButtonOnEnter(this, event, EnterElsewhere::Swallow))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace zg
