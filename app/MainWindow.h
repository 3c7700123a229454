#pragma once
// The main window: the analysis parameters (range of draws, hit bounds), the set-hit search and
// its results, and the buttons that open every other window.
#include "analysis/AnalysisParameters.h"

#include <QWidget>

#include <cstdint>
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
class CalendarWindow;
class ChartsWindow;
struct ChartInputs;
struct SearchRow;
class ZentagWindow;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows this one opens. Until one is set, its button does nothing (start-up creates
    // them after the main window).
    void setSetEditor(QWidget* w) { setEditor_ = w; }
    void setAboutWindow(QWidget* w) { aboutWindow_ = w; }
    void setDrawManager(QWidget* w) { drawManager_ = w; }
    void setMapWindow(CalendarWindow* w) { mapWindow_ = w; }
    void setZentagWindow(ZentagWindow* w);

    // ---- routines other windows call ----
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
    // Opens the calendar map ("MAPA") on the year of the range's last draw.
    void openCalendar();
    // Opens (or raises) the charts window on the current result ("Wykresy").
    void openCharts();
    // Opens the ZENTAG table ("ZENTAG +1"), computing it first unless it is still valid.
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
    ChartsWindow* chartsWindow() const { return chartsWindow_; }
    NumbersStripModel* stripModel() const { return stripModel_; }
    // Decimal separator of the statistics (the locale's; tests may set another).
    void setDecimalSeparator(char c) { decimalSeparator_ = c; }

signals:
    // "Tabela liczb" was pressed: whoever owns the numbers table opens it on the range in force.
    void numbersTableRequested();
    // The range, the set or the draws may have changed (after a refresh of the range or a reset).
    void analysisInputsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void prepareOnShow();
    void showDialog(QWidget* w);
    ChartInputs chartInputs(std::span<const SearchRow> rows) const;
    void enterInField(bool rangeField);
    void showSelectedDrawNumbers();
    void refreshSetButtonHint();

    QWidget* setEditor_ = nullptr;
    QWidget* aboutWindow_ = nullptr;
    QWidget* drawManager_ = nullptr;
    CalendarWindow* mapWindow_ = nullptr;
    ZentagWindow* zentagWindow_ = nullptr;
    ChartsWindow* chartsWindow_ = nullptr; // not modal: it follows the searches while open

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
    QToolButton* numbersButton = nullptr;
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
