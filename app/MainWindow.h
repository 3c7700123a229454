// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the analysis parameters (range of draws, hit bounds), the set-hit search and
// its results, and the buttons that ask for every other window.
#include "analysis/AnalysisParameters.h"
#include "analysis/ChanceStatistics.h"
#include "analysis/SetHitSearch.h"
#include "base/DrawTypes.h"
#include "tables/Zentag.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QAbstractItemView;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class NumbersStripModel;
class ResultGridModel;
class SpinField;
class ProgressGauge;

// The main window holds no other window: its buttons ask for theirs by the signals below, and
// start-up (ProgramWindows) answers each request with its window. A button whose request nobody
// answers stays inactive.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- routines start-up connects to the other windows' signals ----
    void fitHitBoundsToSet();
    void resetResults();
    void refreshRangeInfo();
    // Draws were appended after the stored ones ("Dopisz", "Pobierz ostatnie", an import adding
    // new draws): the range fields take 1..DrawCount, and the range's end moves to the new last
    // draw when it stood on the old one; otherwise the range stays. A moved range clears the
    // result as an arrow click does; `storedDrawsChanged` (an import may correct stored dates)
    // clears it in any case. Into an empty table the draws come as a whole table (drawsReplaced).
    void drawsAppended(bool storedDrawsChanged);
    // The stored draws were replaced as a whole (an import replacing the database or filling an
    // empty one, a restore): the range is set as at start-up and the result is cleared.
    void drawsReplaced();
    // The reaction to a set confirmed in the set editor: the main window keeps it and hands it on.
    void applyConfirmedSet(const NumberSetData& set);
    // The search ("Oblicz").
    void search();
    // Writes the shown result as a report ("saveButton").
    void saveReport();
    // Asks for the calendar map ("MAPA") on the parameters and the year of the range's last draw.
    void openCalendar();
    // Asks for the charts window on the current result ("Wykresy").
    void openCharts();
    // Asks for the ZENTAG table ("ZENTAG +1"), to be computed first unless it is still valid.
    void openZentagTable();
    // One step of the ZENTAG distance: +1 up, -1 down, within -99..99.
    void stepZentagOffset(int direction);

    // ---- the analysis parameters, as the tables and reports read them ----
    std::int32_t rangeFrom() const;
    std::int32_t rangeTo() const;
    std::int32_t hitsFrom() const;
    std::int32_t hitsTo() const;
    QString hitsFromText() const;
    QString hitsToText() const;
    // All of them with the draws and the set, as the tables read them when they open.
    AnalysisParameters parameters() const;
    // The set confirmed last (empty before the first).
    const NumberSetData& numberSet() const { return set_; }

    // ---- the last search's result, as the ZENTAG table reads it ----
    // The ordinals of the draws it found, (*foundDraws())[1..foundCount()]; null and 0 before a
    // search, after a refused one and while a search runs.
    const std::shared_ptr<const std::vector<std::int32_t>>& foundDraws() const { return foundDraws_; }
    std::int32_t foundCount() const { return foundCount_; }
    // Whether the ZENTAG window holds the table of the current result at the current distance.
    bool zentagTableValid() const { return zentagTableValid_; }
    // The distance of the ZENTAG table, -99..99 (1 at start).
    std::int32_t zentagOffset() const { return zentagOffset_; }
    // What "ZENTAG +1" asks the ZENTAG window to show.
    ZentagRequest zentagRequest() const;

    bool highlightActive() const { return highlightActive_; }
    ProgressGauge* gauge() const { return progressGauge; }
    ResultGridModel* resultModel() const { return resultModel_; }
    NumbersStripModel* stripModel() const { return stripModel_; }
    // Decimal separator of the statistics (the locale's; tests may set another).
    void setDecimalSeparator(char c) { decimalSeparator_ = c; }

signals:
    // "ZARZĄDZAJ", "LICZBA / ZESTAW LICZB" and "Autor": the window of the button.
    void drawManagerRequested();
    void setEditorRequested();
    void aboutRequested();
    // "MAPA": the calendar map laid out on `parameters`, at `year` when the range's last draw is
    // in the table (otherwise at the year it shows).
    void calendarRequested(const zg::AnalysisParameters& parameters, std::optional<std::int32_t> year);
    // "Wykresy": the charts of the shown result, opened or raised.
    void chartsRequested(const zg::ChartInputs& inputs);
    // "ZENTAG +1": the table of the draws at the request's distance from its found draws; it is
    // computed anew (its filter cleared, on the gauge) when `recompute`, else shown as it stands.
    void zentagTableRequested(const zg::ZentagRequest& request, bool recompute);
    // "Tabela liczb": the numbers table on the range in force and the set, opened or raised.
    void numbersTableRequested();
    // "Wzorce losowań": the patterns of the draws of the range in force, opened or raised.
    void patternsRequested();
    // A search ran (also one that found nothing): an open charts window follows it, and an open
    // numbers table the range the search took. The inputs' rows are valid only during the signal.
    void searched(const zg::ChartInputs& inputs);
    // The shown result is gone (a parameter changed, the set or the draws changed, a search was
    // refused): an open numbers table takes the range and the set again. Every change of the range
    // in force, of the set or of the stored draws ends here or in a search; a draw appended after
    // a range that does not end on the last draw changes no table.
    void resultsCleared();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // The parts of the window on its panel, which buildControls builds in this order.
    void buildRangeGroup(QWidget* panel);
    void buildSetGroup(QWidget* panel);
    void buildTablesGroup(QWidget* panel);
    void buildHitBounds(QWidget* panel);
    void buildToolButtons(QWidget* panel);
    void buildResultViews(QWidget* panel);
    void buildStatistics(QWidget* panel);
    void buildBottomButtons(QWidget* panel);
    void orderTabStops();
    // The buttons and fields to what they do.
    void connectControls();
    void prepareOnShow();
    ChartInputs chartInputs(std::span<const SearchRow> rows) const;
    void enterInField(bool rangeField);
    // The range a database starts with: 2049..DrawCount, or the whole database (1..DrawCount)
    // when it holds fewer than 2,049 draws.
    void setStartRange();
    // A preset of "Zakres": the two range fields take `from` and `to` as typed text, read as
    // Enter reads them, and the range is taken in as after an arrow click.
    void takeRangeAsTyped(std::int32_t from, std::int32_t to);
    // "Ostatnie N": the last `count` draws, or all of them in a smaller database.
    void takeLastDraws(std::int32_t count);
    // "Od daty…": asks for a date; the range runs from the first draw on or after it to the last.
    void takeRangeFromDate();
    void showSelectedDrawNumbers();
    void refreshSetButtonHint();

    // Whether a window answers `request`: the buttons that ask for a window stay inactive until
    // one does.
    template <typename Signal> bool answered(Signal request) const;

    // The statistics of the shown result, as the labels show them and the report writes them.
    SearchStatistics statistics_;
    bool highlightActive_ = false;
    char decimalSeparator_ = '.';
    NumberSetData set_;
    std::shared_ptr<const std::vector<std::int32_t>> foundDraws_;
    std::int32_t foundCount_ = 0;
    bool zentagTableValid_ = false;
    std::int32_t zentagOffset_ = 1;

    QLabel* rangeCaption = nullptr;
    QLabel* rangeSizeValue = nullptr;
    SpinField* rangeFromField = nullptr;
    SpinField* rangeToField = nullptr;
    QLabel* rangeDash = nullptr;
    QLabel* rangeFromDate = nullptr;
    QLabel* rangeToDate = nullptr;
    QToolButton* rangePresetsButton = nullptr; // "Zakres": the menu of ready-made ranges
    QPushButton* manageDrawsButton = nullptr;
    QPushButton* setEditorButton = nullptr;
    QPushButton* searchButton = nullptr;
    QPushButton* zentagButton = nullptr;
    QWidget* zentagOffsetArrows = nullptr;
    QPushButton* calendarButton = nullptr;
    QLabel* hitsCaption = nullptr;
    SpinField* hitsFromField = nullptr;
    QLabel* hitsToCaption = nullptr;
    SpinField* hitsToField = nullptr;
    QLabel* hitsUnitCaption = nullptr;
    QToolButton* saveButton = nullptr;
    QToolButton* chartsButton = nullptr;
    QToolButton* numbersButton = nullptr;
    QToolButton* patternsButton = nullptr;
    ProgressGauge* progressGauge = nullptr;
    QTableView* resultGrid = nullptr;
    QTableView* drawNumbersStrip = nullptr;
    ResultGridModel* resultModel_ = nullptr;
    NumbersStripModel* stripModel_ = nullptr;
    QLabel* totalHitsLabel = nullptr;
    QLabel* totalHitsValue = nullptr;
    QLabel* averageHitsLabel = nullptr;
    QLabel* averageHitsValue = nullptr;
    QLabel* longestGapLabel = nullptr;
    QLabel* longestGapValue = nullptr;
    QLabel* currentGapLabel = nullptr;
    QLabel* currentGapValue = nullptr;
    QLabel* longestSeriesLabel = nullptr;
    QLabel* longestSeriesValue = nullptr;
    QPushButton* aboutButton = nullptr;
    QPushButton* closeButton = nullptr;
};

} // namespace zg
