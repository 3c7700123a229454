// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "analysis/AnalysisReport.h"
#include "analysis/ResultGridModel.h"
#include "analysis/SetHitSearch.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/State.h"
#include "base/Version.h"
#include "tables/Zentag.h"
#include "ui/Dialogs.h"
#include "ui/GridSelection.h"
#include "ui/KeyboardButtons.h"
#include "ui/ProgramIcons.h"
#include "ui/ProgramLook.h"
#include "ui/ProgressGauge.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"
#include "ui/SpinField.h"
#include "ui/WindowParts.h"

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

namespace zg {

namespace {

// A statistics value label: maroon bold Verdana 10 pt; wide enough for its longest text.
QLabel* MakeValueLabel(QWidget* parent, const char* name, int x, int y) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(Verdana(10, true));
    SetTextColour(l, Maroon);
    l->setGeometry(x, y, 470, 16);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

// Shows a statistics value either as a link-looking value (maroon, underlined, not bold, hand
// cursor) with a hint, or as a plain value (neither bold nor underlined, ordinary cursor).
void SetValueLook(QLabel* label, bool link, const QString& hint) {
    QFont f = Verdana(10, !link);
    if (link)
        f.setUnderline(true);
    else
        f.setBold(false);
    label->setFont(f);
    label->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label->setToolTip(hint);
}

// A number field of the range or the hit bounds: the box at `editRect` with its arrows
// `arrowsWidth` pixels wide at its right, in bold Verdana `points` on aqua. Tab stops in the box,
// never on the arrows; Up and Down in the box step it as the arrows do.
SpinField* MakeNumberField(QWidget* panel, const char* edit, const char* arrows, int maxLength, QRect editRect,
                           int arrowsWidth, int points) {
    auto* f = new SpinField(panel, QString::fromLatin1(edit), QString::fromLatin1(arrows), maxLength);
    f->setGeometry(editRect.x(), editRect.y(), editRect.width() + arrowsWidth, editRect.height());
    QLineEdit* e = f->edit();
    SetFieldColours(e, Aqua, Qt::black);
    e->setFont(Verdana(points, true));
    e->setFocusPolicy(Qt::StrongFocus);
    f->upButton()->setFocusPolicy(Qt::NoFocus);
    f->downButton()->setFocusPolicy(Qt::NoFocus);
    return f;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral(" ZENTAGRAFO v. ") + Q(ProgramVersion) + QStringLiteral(" ML"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(745, 556);
    decimalSeparator_ = LocaleDecimalSeparator();
    buildControls();

    // Window set-up before the database load: the numbers strip shows no selected cell and the
    // result grid has its headings (the model provides them).
    ClearGridSelection(drawNumbersStrip);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    setFont(Verdana(10));

    QFrame* panel = MakePanel(this, QRect(0, 0, 745, 556), Silver, Qt::black, Silver);

    // The three groups have no caption; assistive technology names them after what they hold.
    auto group = [panel](const char* name, int x0, int x1, const QString& accessibleName) {
        auto* g = new QGroupBox(panel);
        g->setObjectName(QString::fromLatin1(name));
        g->setGeometry(x0, 8, x1 - x0, 113);
        g->setAccessibleName(accessibleName);
        return g;
    };
    group("rangeGroup", 64, 313, QStringLiteral("Zakres losowań"));
    group("setGroup", 312, 553, QStringLiteral("Zestaw liczb"));
    group("tablesGroup", 552, 689, QStringLiteral("Tabelki"));

    buildRangeGroup(panel);
    buildSetGroup(panel);
    buildTablesGroup(panel);
    buildHitBounds(panel);
    buildToolButtons(panel);
    buildResultViews(panel);
    buildStatistics(panel);
    buildBottomButtons(panel);
    orderTabStops();
    connectControls();
}

// "Zakres losowań:" with the number of draws, the two range fields with the dates of their
// draws, "ZARZĄDZAJ" and the menu of ready-made ranges.
void MainWindow::buildRangeGroup(QWidget* panel) {
    rangeCaption = MakeCaption(panel, "rangeCaption", QStringLiteral("Zakres losowań:"), Verdana(10), QPoint(99, 16));
    rangeSizeValue = MakeCaption(panel, "rangeSizeValue", QString(), Verdana(10), QPoint(212, 18));
    rangeSizeValue->setFont(Verdana(8));
    rangeSizeValue->setGeometry(212, 18, 100, 16);

    rangeFromField = MakeNumberField(panel, "rangeFromEdit", "rangeFromArrows", 6, QRect(114, 38, 52, 24), 15, 10);
    rangeFromField->setAccessibleCaption(QStringLiteral("Pierwsze losowanie zakresu"));
    rangeDash = MakeCaption(panel, "rangeDash", QStringLiteral("--"), Verdana(10), QPoint(184, 42));
    rangeDash->setFont(Verdana(10, true));
    rangeToField = MakeNumberField(panel, "rangeToEdit", "rangeToArrows", 6, QRect(200, 38, 52, 24), 15, 10);
    rangeToField->setAccessibleCaption(QStringLiteral("Ostatnie losowanie zakresu"));
    rangeFromDate = MakeCaption(panel, "rangeFromDate", QString(), Verdana(10), QPoint(108, 62));
    rangeFromDate->setGeometry(108, 62, 90, 16);
    rangeToDate = MakeCaption(panel, "rangeToDate", QString(), Verdana(10), QPoint(195, 62));
    rangeToDate->setGeometry(195, 62, 90, 16);

    manageDrawsButton = MakeButton(panel, "manageDrawsButton", QStringLiteral("ZARZĄDZAJ"), QRect(138, 85, 89, 25),
                                   Verdana(10, false), Qt::StrongFocus);
    // "Zakres": ready-made ranges, in the free corner right of "ZARZĄDZAJ". Tab reaches it, and
    // Enter (through the window's Enter handler) or Space opens its menu.
    rangePresetsButton = new QToolButton(panel);
    rangePresetsButton->setObjectName(QStringLiteral("rangePresetsButton"));
    rangePresetsButton->setText(QStringLiteral("Zakres"));
    rangePresetsButton->setAccessibleName(QStringLiteral("Zakres"));
    rangePresetsButton->setFont(Verdana(8));
    rangePresetsButton->setGeometry(234, 85, 68, 25);
    rangePresetsButton->setPopupMode(QToolButton::InstantPopup);
    rangePresetsButton->setFocusPolicy(Qt::StrongFocus);
    {
        auto* menu = new QMenu(rangePresetsButton);
        menu->setObjectName(QStringLiteral("rangePresetsMenu"));
        auto item = [menu](const char* name, const QString& text, auto&& action) {
            QAction* a = menu->addAction(text);
            a->setObjectName(QString::fromLatin1(name));
            connect(a, &QAction::triggered, menu, action);
        };
        item("wholeRangeAction", QStringLiteral("Cały zakres"), [this] { takeRangeAsTyped(1, DrawCount); });
        item("last100Action", QStringLiteral("Ostatnie 100"), [this] { takeLastDraws(100); });
        item("last500Action", QStringLiteral("Ostatnie 500"), [this] { takeLastDraws(500); });
        item("last1000Action", QStringLiteral("Ostatnie 1000"), [this] { takeLastDraws(1000); });
        item("fromDateAction", QStringLiteral("Od daty…"), [this] { takeRangeFromDate(); });
        rangePresetsButton->setMenu(menu);
    }
}

// "LICZBA / ZESTAW LICZB" and "Oblicz".
void MainWindow::buildSetGroup(QWidget* panel) {
    setEditorButton = MakeButton(panel, "setEditorButton", QStringLiteral("LICZBA / ZESTAW LICZB"),
                                 QRect(344, 21, 177, 41), Verdana(10, true), Qt::StrongFocus);
    setEditorButton->setMouseTracking(true);
    setEditorButton->installEventFilter(this);
    searchButton = MakeButton(panel, "searchButton", QStringLiteral("Oblicz"), QRect(376, 72, 113, 33),
                              Verdana(12, true), Qt::StrongFocus);
    searchButton->setIcon(TickIcon());
    searchButton->setDefault(true);
}

// "ZENTAG +1" with the arrows of its distance, and "MAPA".
void MainWindow::buildTablesGroup(QWidget* panel) {
    zentagButton = MakeButton(panel, "zentagButton", QStringLiteral("ZENTAG +1"), QRect(562, 24, 102, 34),
                              Verdana(10, true), Qt::StrongFocus);
    zentagButton->setCursor(Qt::PointingHandCursor);

    // The ZENTAG distance arrows (-99..99, 1 at start), beside the button that shows the distance.
    zentagOffsetArrows = new QWidget(panel);
    zentagOffsetArrows->setObjectName(QStringLiteral("zentagOffsetArrows"));
    zentagOffsetArrows->setGeometry(664, 24, 17, 34);
    {
        auto* up = new QToolButton(zentagOffsetArrows);
        up->setObjectName(QStringLiteral("zentagOffsetUp"));
        up->setArrowType(Qt::UpArrow);
        up->setGeometry(0, 0, 17, 17);
        up->setAccessibleName(QStringLiteral("Zwiększ odstęp tabeli ZENTAG"));
        auto* down = new QToolButton(zentagOffsetArrows);
        down->setObjectName(QStringLiteral("zentagOffsetDown"));
        down->setArrowType(Qt::DownArrow);
        down->setGeometry(0, 17, 17, 17);
        down->setAccessibleName(QStringLiteral("Zmniejsz odstęp tabeli ZENTAG"));
        for (QToolButton* arrow : {up, down})
            arrow->setFocusPolicy(Qt::StrongFocus);
        connect(up, &QToolButton::clicked, this, [this] { stepZentagOffset(1); });
        connect(down, &QToolButton::clicked, this, [this] { stepZentagOffset(-1); });
    }
    calendarButton = MakeButton(panel, "calendarButton", QStringLiteral("MAPA"), QRect(576, 72, 85, 34),
                                Verdana(10, true), Qt::StrongFocus);
}

// "Szukaj losowań w których wylosowano od … do … liczb", the hit fields waiting for a set.
void MainWindow::buildHitBounds(QWidget* panel) {
    hitsCaption = MakeCaption(panel, "hitsCaption", QStringLiteral("Szukaj losowań w których wylosowano od"),
                              Verdana(10), QPoint(86, 130));
    hitsFromField = MakeNumberField(panel, "hitsFromEdit", "hitsFromArrows", 2, QRect(376, 128, 25, 21), 15, 8);
    hitsFromField->setAccessibleCaption(QStringLiteral("Najmniejsza liczba trafień"));
    hitsToCaption = MakeCaption(panel, "hitsToCaption", QStringLiteral("do"), Verdana(10), QPoint(424, 130));
    hitsToField = MakeNumberField(panel, "hitsToEdit", "hitsToArrows", 2, QRect(448, 128, 25, 21), 15, 8);
    hitsToField->setAccessibleCaption(QStringLiteral("Największa liczba trafień"));
    hitsUnitCaption = MakeCaption(panel, "hitsUnitCaption", QStringLiteral("liczb"), Verdana(10), QPoint(496, 130));
    hitsFromField->setEnabled(false);
    hitsToField->setEnabled(false);
}

// The report's save button, "Wykresy" and "Tabela liczb", right of the hit bounds.
void MainWindow::buildToolButtons(QWidget* panel) {
    saveButton = MakeIconButton(panel, "saveButton", QRect(608, 126, 25, 25), DiskIcon(),
                                QStringLiteral("Zapisz wynik analizy do pliku"));
    chartsButton =
        MakeIconButton(panel, "chartsButton", QRect(637, 126, 25, 25), ChartsIcon(), QStringLiteral("Wykresy"));

    numbersButton = MakeIconButton(panel, "numbersButton", QRect(666, 126, 25, 25), NumbersTableIcon(),
                                   QStringLiteral("Tabela liczb"));
    patternsButton = MakeIconButton(panel, "patternsButton", QRect(695, 126, 25, 25), PatternsIcon(),
                                    QStringLiteral("Wzorce losowań"));
}

// The search's progress gauge, the grid of the found draws and the strip of the selected draw's
// numbers below it.
void MainWindow::buildResultViews(QWidget* panel) {
    progressGauge = new ProgressGauge(panel);
    progressGauge->setObjectName(QStringLiteral("progressGauge"));
    progressGauge->setGeometry(32, 157, 682, 15);
    progressGauge->setBarColor(Navy);
    progressGauge->setBackgroundColor(Qt::white);
    QFont gaugeFont(QStringLiteral("MS Sans Serif"));
    gaugeFont.setPointSize(8);
    progressGauge->setFont(gaugeFont);

    resultModel_ = new ResultGridModel(this);
    resultGrid = new QTableView(panel);
    resultGrid->setObjectName(QStringLiteral("resultGrid"));
    resultGrid->setAccessibleName(QStringLiteral("Znalezione losowania"));
    resultGrid->setGeometry(32, 172, 681, 260);
    resultGrid->setModel(resultModel_);
    resultGrid->setFont(Verdana(8));
    resultGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SetUpFixedRowGrid(resultGrid, 17); // Tab leaves the grid; the arrow keys move the row
    resultGrid->setFocusPolicy(Qt::StrongFocus);
    resultGrid->setWordWrap(false);
    resultGrid->setTextElideMode(Qt::ElideNone);
    {
        QHeaderView* h = resultGrid->horizontalHeader();
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->setFixedHeight(17);
        h->setHighlightSections(false);
        h->setSectionsClickable(false);
        QFont hf = Verdana(8);
        h->setFont(hf);
        h->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(0,64,0); color: white; "
                                        "border: 0px; border-right: 1px solid black; border-bottom: 1px solid black; "
                                        "padding: 0px; }"));
        const int widths[] = {97, 130, 125, 151, 152};
        for (int c = 0; c < 5; ++c)
            resultGrid->setColumnWidth(c, widths[c]);
    }
    resultGrid->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(0,128,128); gridline-color: black; "
                                             "color: white; }"));
    connect(resultGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { showSelectedDrawNumbers(); });
    connect(resultGrid, &QTableView::clicked, this, [this](const QModelIndex&) { showSelectedDrawNumbers(); });

    stripModel_ = new NumbersStripModel(this);
    drawNumbersStrip = new QTableView(panel);
    drawNumbersStrip->setObjectName(QStringLiteral("drawNumbersStrip"));
    drawNumbersStrip->setAccessibleName(QStringLiteral("Liczby wybranego losowania"));
    drawNumbersStrip->setGeometry(41, 432, 663, 22);
    drawNumbersStrip->setModel(stripModel_);
    drawNumbersStrip->setFont(Verdana(10));
    drawNumbersStrip->horizontalHeader()->hide();
    drawNumbersStrip->verticalHeader()->hide();
    drawNumbersStrip->horizontalHeader()->setMinimumSectionSize(32);
    drawNumbersStrip->horizontalHeader()->setDefaultSectionSize(32);
    drawNumbersStrip->verticalHeader()->setMinimumSectionSize(20);
    drawNumbersStrip->verticalHeader()->setDefaultSectionSize(20);
    drawNumbersStrip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    drawNumbersStrip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    drawNumbersStrip->setSelectionMode(QAbstractItemView::NoSelection);
    drawNumbersStrip->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drawNumbersStrip->setFocusPolicy(Qt::NoFocus);
    drawNumbersStrip->setTabKeyNavigation(false);
    drawNumbersStrip->setStyleSheet(
        QStringLiteral("QTableView { background-color: rgb(0,128,64); gridline-color: black; "
                       "color: white; }"));
}

// The five statistics of the shown result, each a caption and its value.
void MainWindow::buildStatistics(QWidget* panel) {
    totalHitsLabel = MakeCaption(panel, "totalHitsLabel", Q(TotalCaption), Verdana(10), QPoint(26, 464));
    totalHitsValue = MakeValueLabel(panel, "totalHitsValue", 240, 464);
    averageHitsLabel = MakeCaption(panel, "averageHitsLabel", Q(AverageCaption), Verdana(10), QPoint(22, 480));
    averageHitsValue = MakeValueLabel(panel, "averageHitsValue", 240, 480);
    longestGapLabel = MakeCaption(panel, "longestGapLabel", Q(MaxGapCaption), Verdana(10), QPoint(136, 496));
    longestGapValue = MakeValueLabel(panel, "longestGapValue", 240, 496);
    currentGapLabel = MakeCaption(panel, "currentGapLabel", Q(CurrentGapCaption), Verdana(10), QPoint(109, 512));
    currentGapValue = MakeValueLabel(panel, "currentGapValue", 240, 513);
    longestSeriesLabel = MakeCaption(panel, "longestSeriesLabel", Q(MaxSeriesCaption), Verdana(10), QPoint(80, 528));
    longestSeriesValue = MakeValueLabel(panel, "longestSeriesValue", 240, 528);
    totalHitsValue->setGeometry(240, 464, 240, 16);
    averageHitsValue->setGeometry(240, 480, 240, 16);
    longestGapValue->setGeometry(240, 496, 240, 16);
    currentGapValue->setGeometry(240, 513, 240, 16);
    longestSeriesValue->setGeometry(240, 528, 240, 16);
}

// "Autor" and "Zamknij" at the bottom right.
void MainWindow::buildBottomButtons(QWidget* panel) {
    aboutButton = MakeButton(panel, "aboutButton", QStringLiteral("Autor"), QRect(488, 508, 105, 33), Verdana(10, true),
                             Qt::StrongFocus);
    aboutButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    closeButton = MakeButton(panel, "closeButton", QStringLiteral("Zamknij"), QRect(608, 508, 105, 33),
                             Verdana(10, true), Qt::StrongFocus);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
}

void MainWindow::orderTabStops() {
    // Tab order: "Oblicz" first and "Zakres" next, then the rest as read: the range, the set, the
    // tables, the hit bounds, the tool buttons, the found draws and the two buttons at the bottom.
    QWidget* tabOrder[] = {searchButton,
                           rangePresetsButton,
                           rangeFromField->edit(),
                           rangeToField->edit(),
                           manageDrawsButton,
                           setEditorButton,
                           zentagButton,
                           zentagOffsetArrows->findChild<QToolButton*>(QStringLiteral("zentagOffsetUp")),
                           zentagOffsetArrows->findChild<QToolButton*>(QStringLiteral("zentagOffsetDown")),
                           calendarButton,
                           hitsFromField->edit(),
                           hitsToField->edit(),
                           saveButton,
                           chartsButton,
                           numbersButton,
                           patternsButton,
                           resultGrid,
                           aboutButton,
                           closeButton};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void MainWindow::connectControls() {
    for (SpinField* f : {rangeFromField, rangeToField, hitsFromField, hitsToField})
        connect(f, &SpinField::clicked, this, &MainWindow::resetResults);
    for (SpinField* f : {rangeFromField, rangeToField}) {
        connect(f, &SpinField::arrowClicked, this, [this] {
            refreshRangeInfo();
            resetResults();
        });
        connect(f, &SpinField::enterPressed, this, [this] { enterInField(true); });
    }
    for (SpinField* f : {hitsFromField, hitsToField}) {
        connect(f, &SpinField::arrowClicked, this, &MainWindow::resetResults);
        connect(f, &SpinField::enterPressed, this, [this] { enterInField(false); });
    }
    connect(setEditorButton, &QPushButton::clicked, this, &MainWindow::setEditorRequested);
    connect(manageDrawsButton, &QPushButton::clicked, this, &MainWindow::drawManagerRequested);
    connect(aboutButton, &QPushButton::clicked, this, &MainWindow::aboutRequested);
    connect(calendarButton, &QPushButton::clicked, this, &MainWindow::openCalendar);
    connect(chartsButton, &QToolButton::clicked, this, &MainWindow::openCharts);
    connect(numbersButton, &QToolButton::clicked, this, &MainWindow::numbersTableRequested);
    connect(patternsButton, &QToolButton::clicked, this, &MainWindow::patternsRequested);
    connect(zentagButton, &QPushButton::clicked, this, &MainWindow::openZentagTable);
    connect(searchButton, &QPushButton::clicked, this, &MainWindow::search);
    connect(saveButton, &QToolButton::clicked, this, &MainWindow::saveReport);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        prepareOnShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once: no question, nothing is saved.
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

void MainWindow::prepareOnShow() {
    resetResults();
    rangeToField->setRange(1, DrawCount);
    rangeFromField->setRange(1, DrawCount);
    fitHitBoundsToSet();
    searchButton->setEnabled(false);
    calendarButton->setEnabled(false);
    chartsButton->setEnabled(false);
    zentagButton->setEnabled(false);
    setStartRange();
    refreshRangeInfo();
}

void MainWindow::setStartRange() {
    rangeToField->setRange(1, DrawCount);
    rangeFromField->setRange(1, DrawCount);
    // Below 2,049 draws a start at draw 2049 would leave one draw: the whole database instead.
    rangeFromField->setPosition(DrawCount >= 2049 ? 2049 : 1);
    rangeToField->setPosition(DrawCount);
    // With no draws there is nothing to choose: the range fields stay empty and inactive.
    rangeFromField->setEnabled(DrawCount > 0);
    rangeToField->setEnabled(DrawCount > 0);
}

void MainWindow::fitHitBoundsToSet() {
    const std::int32_t m = std::min<std::int32_t>(set_.Count, 20);
    hitsFromField->setRange(0, m);
    hitsToField->setRange(0, m);
    hitsToField->setPosition(m);
    hitsFromField->setPosition(m);
}

void MainWindow::resetResults() {
    highlightActive_ = false;
    zentagTableValid_ = false;
    resultModel_->clear();
    statistics_ = SearchStatistics{};
    stripModel_->clear();
    stripModel_->setHighlight(false, nullptr);
    for (QLabel* l : {totalHitsValue, averageHitsValue, longestGapValue, currentGapValue, longestSeriesValue}) {
        l->clear();
        l->setToolTip(QString());
    }
    zentagButton->setEnabled(false);
    calendarButton->setEnabled(false);
    chartsButton->setEnabled(false);
    saveButton->setEnabled(false);
    emit resultsCleared();
}

void MainWindow::refreshRangeInfo() {
    // The numbers table, the patterns and the ready-made ranges need draws, and no set.
    numbersButton->setEnabled(DrawCount > 0);
    patternsButton->setEnabled(DrawCount > 0);
    rangePresetsButton->setEnabled(DrawCount > 0);
    if (DrawCount <= 0) {
        rangeFromField->edit()->clear();
        rangeToField->edit()->clear();
        rangeFromDate->clear();
        rangeToDate->clear();
        rangeSizeValue->setText(QStringLiteral("0 losowań"));
        return;
    }
    DrawDateLabel(rangeFromField, rangeFromDate);
    DrawDateLabel(rangeToField, rangeToDate);
    const std::int64_t count = static_cast<std::int64_t>(rangeToField->position()) - rangeFromField->position() + 1;
    // "1 losowanie", "3 losowania", "25 losowań"; a range the wrong way round shows its negative
    // count with " losowań".
    rangeSizeValue->setText(count < 0 ? QString::number(count) + QStringLiteral(" losowań") : Q(CountOfDraws(count)));
}

void MainWindow::drawsAppended(bool storedDrawsChanged) {
    if (!rangeToField->isEnabled()) {
        // The first draws of an empty table: the range fields come to life as at start-up.
        drawsReplaced();
        return;
    }
    // The maximum is still the old draw count: an end on it follows the new last draw, so that
    // the newest draws are analysed; any other range is the user's choice and stays.
    const bool endOnLastDraw = rangeToField->position() == rangeToField->maximum();
    rangeToField->setRange(1, DrawCount);
    rangeFromField->setRange(1, DrawCount);
    const bool moved = endOnLastDraw && rangeToField->position() != DrawCount;
    if (moved)
        rangeToField->setPosition(DrawCount);
    refreshRangeInfo();
    if (moved || storedDrawsChanged)
        resetResults();
}

void MainWindow::drawsReplaced() {
    setStartRange();
    refreshRangeInfo();
    resetResults();
}

void MainWindow::takeRangeAsTyped(std::int32_t from, std::int32_t to) {
    if (DrawCount <= 0)
        return;
    rangeFromField->edit()->setText(QString::number(from));
    rangeToField->edit()->setText(QString::number(to));
    rangeFromField->value();
    rangeToField->value();
    refreshRangeInfo();
    resetResults();
}

void MainWindow::takeLastDraws(std::int32_t count) {
    takeRangeAsTyped(std::max<std::int32_t>(1, DrawCount - count + 1), DrawCount);
}

void MainWindow::takeRangeFromDate() {
    if (DrawCount <= 0)
        return;
    // The field starts at the date of the range's first draw (today's for a date that does not
    // exist) and takes any date from 1900 to the last year a draw may carry.
    const DrawRecord& first = DrawTable[std::clamp<std::int32_t>(rangeFrom(), 1, DrawCount)];
    QDate initial(first.Year, first.Month, first.Day);
    if (!initial.isValid())
        initial = QDate::currentDate();
    const QString caption = QStringLiteral("Od daty");
    const QDate chosen = Dialogs::AskDate(
        this, caption, QStringLiteral("Zakres od pierwszego losowania z tego dnia lub późniejszego do ostatniego:"),
        initial, QDate(1900, 1, 1), QDate(LastDrawYear, 12, 31));
    if (!chosen.isValid())
        return;
    const std::int32_t from = FirstDrawOnOrAfter(AllDraws(), chosen.day(), chosen.month(), chosen.year());
    if (from == 0) {
        Dialogs::Message(this, caption,
                         QStringLiteral("Baza nie zawiera losowań z dnia %1 ani późniejszych (ostatnie: nr %2 z %3). "
                                        "Zakres losowań nie został zmieniony.")
                             .arg(chosen.toString(QStringLiteral("dd.MM.yyyy")))
                             .arg(DrawCount)
                             .arg(Q(DrawDateLongText(AllDraws(), DrawCount))),
                         Dialogs::Icon::Information);
        return;
    }
    takeRangeAsTyped(from, DrawCount);
}

void MainWindow::applyConfirmedSet(const NumberSetData& set) {
    set_ = set;
    hitsFromField->setPosition(0);
    searchButton->setEnabled(true);
    hitsFromField->setEnabled(true);
    hitsToField->setEnabled(true);
    zentagTableValid_ = false;
    fitHitBoundsToSet();
    resetResults();
}

std::int32_t MainWindow::rangeFrom() const {
    return rangeFromField->position();
}
std::int32_t MainWindow::rangeTo() const {
    return rangeToField->position();
}
std::int32_t MainWindow::hitsFrom() const {
    return hitsFromField->position();
}
std::int32_t MainWindow::hitsTo() const {
    return hitsToField->position();
}
QString MainWindow::hitsFromText() const {
    return hitsFromField->edit()->text();
}
QString MainWindow::hitsToText() const {
    return hitsToField->edit()->text();
}

AnalysisParameters MainWindow::parameters() const {
    return AnalysisParameters{{AllDraws(), nullptr, set_, rangeFrom(), rangeTo(), hitsFrom(), hitsTo()},
                              hitsFromText().toStdString(),
                              hitsToText().toStdString()};
}

void MainWindow::enterInField(bool rangeField) {
    if (searchButton->isEnabled()) {
        search();
    } else if (rangeField) {
        // A typed range takes effect, as after an arrow: its line shows it, and the result (none
        // without a set) goes, which tells the windows that follow the range.
        refreshRangeInfo();
        resetResults();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Enter on a focused button presses it; elsewhere it runs "Oblicz" while that is enabled.
    if (PressFocusedButtonOnEnter(this, event))
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (searchButton->isEnabled()) {
            search();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == setEditorButton &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter || event->type() == QEvent::HoverMove))
        refreshSetButtonHint();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::refreshSetButtonHint() {
    if (set_.Count <= 0)
        return; // an empty set leaves the hint as it was
    QString hint = QStringLiteral(" ");
    for (int n = 1; n <= 80; ++n)
        if (set_.Member[n])
            hint += QString::fromStdString(ZeroPad(n, 2)) + QLatin1Char(' ');
    setEditorButton->setToolTip(hint);
}

template <typename Signal> bool MainWindow::answered(Signal request) const {
    return isSignalConnected(QMetaMethod::fromSignal(request));
}

namespace {

// Drives the gauge from the search: the total once, then every step.
class GaugeProgress final : public SearchProgress {
public:
    explicit GaugeProgress(ProgressGauge* gauge) : gauge_(gauge) {}
    void total(std::int32_t n) override {
        gauge_->setValue(0);
        gauge_->setMaximum(n);
    }
    void step(std::int32_t i) override { gauge_->setValue(i); }

private:
    ProgressGauge* gauge_;
};

} // namespace

void MainWindow::search() {
    // Reading the four fields makes typed text take effect.
    rangeFromField->value();
    rangeToField->value();
    hitsFromField->value();
    hitsToField->value();
    refreshRangeInfo();
    resultModel_->clear();
    statistics_ = SearchStatistics{};
    foundDraws_.reset();
    foundCount_ = 0;
    // Every search makes the ZENTAG table stale (the draws may have changed since, even with the
    // same parameters), and the table opens again only after a search that finds something.
    zentagTableValid_ = false;
    zentagButton->setEnabled(false);

    const std::int32_t from = rangeFrom(), to = rangeTo(), low = hitsFrom(), high = hitsTo();
    const std::int32_t count = DrawCount;
    switch (ValidateSearch(from, to, low, high)) {
    case SearchRefusal::Range:
        emit resultsCleared();
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(RangeRefusalText), Dialogs::Icon::Error);
        return;
    case SearchRefusal::Hits:
        emit resultsCleared();
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(HitsRefusalText), Dialogs::Icon::Error);
        return;
    case SearchRefusal::None:
        break;
    }
    if (count <= 0 || set_.Count <= 0) {
        // Nothing to search: no database, or no set confirmed.
        emit resultsCleared();
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(RangeRefusalText), Dialogs::Icon::Error);
        return;
    }

    GaugeProgress progress(progressGauge);
    // Room for every ordinal the search may write (1-based), cut to those it wrote.
    auto found = std::make_shared<std::vector<std::int32_t>>(static_cast<std::size_t>(MaxDraws) + 1);
    std::int32_t foundCount = 0;
    SearchResult result =
        SetHitSearch(AllDraws(), AllDrawMasks(), set_, from, to, low, high, found->data(), foundCount, &progress);
    found->resize(static_cast<std::size_t>(foundCount) + 1);
    found->shrink_to_fit();
    foundDraws_ = std::move(found);
    foundCount_ = foundCount;
    // An open charts window follows every search, also one that finds nothing.
    emit searched(chartInputs(result.rows));

    SearchStatistics stats = SearchStatisticsTexts(result, set_.Count, AllDraws(), decimalSeparator_);
    totalHitsValue->setText(QString::fromStdString(stats.total));
    if (result.rows.empty()) {
        Dialogs::Message(this, Q(NothingFoundTitle), Q(NothingFoundText), Dialogs::Icon::None);
        return;
    }
    averageHitsValue->setText(QString::fromStdString(stats.average));
    currentGapValue->setText(QString::fromStdString(stats.currentGap));
    longestSeriesValue->setText(QString::fromStdString(stats.maxSeries));
    SetValueLook(longestSeriesValue, true, QString::fromStdString(stats.maxSeriesHint));
    longestGapValue->setText(QString::fromStdString(stats.maxGap));
    SetValueLook(longestGapValue, stats.maxGapIsLink, QString::fromStdString(stats.maxGapHint));

    statistics_ = std::move(stats);
    resultModel_->setRows(std::move(result.rows));
    saveButton->setEnabled(true);
    // The map, the charts and the ZENTAG table open only once their windows answer.
    calendarButton->setEnabled(answered(&MainWindow::calendarRequested));
    chartsButton->setEnabled(answered(&MainWindow::chartsRequested));
    zentagButton->setEnabled(answered(&MainWindow::zentagTableRequested));

    const int last = resultModel_->rowCount() - 1;
    resultGrid->selectRow(last);
    resultGrid->scrollToBottom();
    showSelectedDrawNumbers();
}

ChartInputs MainWindow::chartInputs(std::span<const SearchRow> rows) const {
    return ChartInputs{{AllDraws(), &AllDrawMasks(), set_, rangeFrom(), rangeTo(), hitsFrom(), hitsTo()}, rows};
}

void MainWindow::openCharts() {
    emit chartsRequested(chartInputs(resultModel_->rows()));
}

void MainWindow::openCalendar() {
    const std::int32_t last = rangeTo();
    std::optional<std::int32_t> year;
    if (last >= 1 && last <= DrawCount)
        year = DrawTable[last].Year;
    emit calendarRequested(parameters(), year);
}

void MainWindow::showSelectedDrawNumbers() {
    const QModelIndex current = resultGrid->selectionModel()->currentIndex();
    if (!current.isValid())
        return;
    const QString ordinalText = resultModel_->cellText(current.row(), 1).trimmed();
    if (ordinalText.isEmpty())
        return;
    bool ok = false;
    const std::int32_t q = ordinalText.toInt(&ok);
    if (!ok || q < 1 || q > DrawCount)
        return;
    highlightActive_ = true;
    stripModel_->setNumbers(DrawTable[q].Numbers);
    stripModel_->setHighlight(true, &set_.Member);
}

void MainWindow::saveReport() {
    searchButton->setFocus();
    const QString path = AskReportFileName(this, ReportFileStem);
    if (path.isEmpty())
        return;

    const AnalysisReportInput in{MakeSearchHeading(parameters(), AllDraws(), set_), resultModel_->rows(), statistics_};
    if (WriteReport(this, path, AnalysisReportBytes(in)))
        ShowReportSaved(this, path);
}

void MainWindow::openZentagTable() {
    // The shown table stays valid until a search, a parameter, the set, the draws or the distance
    // changes; only then is it computed again.
    const bool recompute = !zentagTableValid_;
    zentagTableValid_ = true;
    emit zentagTableRequested(zentagRequest(), recompute);
}

ZentagRequest MainWindow::zentagRequest() const {
    return ZentagRequest{parameters(), foundDraws_, foundCount_, zentagOffset_};
}

void MainWindow::stepZentagOffset(int direction) {
    const std::int32_t offset = zentagOffset_ + direction;
    if (offset < ZentagOffsetMin || offset > ZentagOffsetMax)
        return;
    zentagOffset_ = offset;
    zentagButton->setText(QString::fromStdString(ZentagCaption(offset)));
    zentagTableValid_ = false;
}

} // namespace zg
