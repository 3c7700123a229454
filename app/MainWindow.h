#pragma once
// The main window: the analysis parameters (range of draws, hit bounds), the set-hit search and
// its results, and the buttons that ask for every other window.
#include "analysis/AnalysisParameters.h"
#include "analysis/ChanceStatistics.h"
#include "analysis/SetHitSearch.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <span>

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
    // A draw was appended or the table was imported: the draw range fields take 1..DrawCount
    // (a field beyond it is clamped) and show the dates of their draws.
    void drawCountChanged();
    // The reaction to a confirmed set in the set editor.
    void applyConfirmedSet();
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
    // All of them, as the tables read them when they open.
    AnalysisParameters parameters() const;

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
    // "ZENTAG +1": the table of the draws that follow the found draws over `parameters`; it is
    // computed anew (its filter cleared, on the gauge) when `recompute`, else shown as it stands.
    void zentagTableRequested(const zg::AnalysisParameters& parameters, bool recompute);
    // A search ran (also one that found nothing): an open charts window follows it. The inputs'
    // rows are valid only during the signal.
    void searched(const zg::ChartInputs& inputs);
    // The shown result is gone (a parameter changed, the draws changed, a search was refused).
    void resultsCleared();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void prepareOnShow();
    ChartInputs chartInputs(std::span<const SearchRow> rows) const;
    void enterInField(bool rangeField);
    void showSelectedDrawNumbers();
    void refreshSetButtonHint();

    // Whether a window answers `request`: the buttons that ask for a window stay inactive until
    // one does.
    template <typename Signal> bool answered(Signal request) const;

    // The statistics of the shown result, as the labels show them and the report writes them.
    SearchStatistics statistics_;
    bool highlightActive_ = false;
    char decimalSeparator_ = '.';

    QLabel* rangeCaption = nullptr;
    QLabel* rangeSizeValue = nullptr;
    SpinField* rangeFromField = nullptr;
    SpinField* rangeToField = nullptr;
    QLabel* rangeDash = nullptr;
    QLabel* rangeFromDate = nullptr;
    QLabel* rangeToDate = nullptr;
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
