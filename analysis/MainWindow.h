#pragma once
// The main window: the analysis parameters (range of draws, hit bounds), the set-hit search and
// its results, and the buttons that open every other window.
#include <QWidget>

#include <cstdint>

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
class ZentagWindow;

// Makes a grid's selection empty, so that no cell of it is drawn highlighted.
void ClearGridSelection(QAbstractItemView* grid);

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
    void setMapWindow(QWidget* w) { mapWindow_ = w; }
    void setZentagWindow(ZentagWindow* w) { zentagWindow_ = w; }

    // ---- routines other windows call ----
    void konfiguracja();
    void ResetResults();
    void RefreshRangeInfo();
    // A draw was appended: the draw range reaches up to the new DrawCount.
    void DrawCountChanged();
    // The reaction to a confirmed set in the set editor.
    void SetConfirmed();
    // The search ("Oblicz").
    void button1Click();
    // Writes the shown result as a report ("dyskietka").
    void dyskietkaClick();
    // Opens the calendar map ("MAPA") on the year of the range's last draw.
    void rozkladClick();
    // Opens the ZENTAG table ("ZENTAG +1"), computing it first unless it is still valid.
    void rozklad2Click();
    // One step of the ZENTAG distance: +1 up, -1 down, within -99..99.
    void UpDown5Click(int direction);

    // ---- the analysis parameters, as the tables and reports read them ----
    std::int32_t RangeFrom() const;
    std::int32_t RangeTo() const;
    std::int32_t HitsFrom() const;
    std::int32_t HitsTo() const;
    QString HitsFromText() const;
    QString HitsToText() const;

    bool highlightActive() const { return highlightActive_; }
    ProgressGauge* gauge() const { return Gauge1; }
    ResultGridModel* resultModel() const { return resultModel_; }
    NumbersStripModel* stripModel() const { return stripModel_; }
    // Decimal separator of the statistics (the locale's; tests may set another).
    void setDecimalSeparator(char c) { decimalSeparator_ = c; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FormShow();
    void showDialog(QWidget* w);
    void enterInField(bool rangeField);
    void StringGrid1Click();
    void RefreshBitBtn1Hint();

    QWidget* setEditor_ = nullptr;
    QWidget* aboutWindow_ = nullptr;
    QWidget* drawManager_ = nullptr;
    QWidget* mapWindow_ = nullptr;
    ZentagWindow* zentagWindow_ = nullptr;

    bool highlightActive_ = false;
    char decimalSeparator_ = '.';

    QLabel* Label81 = nullptr;
    QLabel* Label96 = nullptr;
    SpinField* RangeFromField = nullptr; // Edit6 + UpDown3
    SpinField* RangeToField = nullptr;   // Edit7 + UpDown4
    QLabel* Label82 = nullptr;
    QLabel* Label86 = nullptr;
    QLabel* Label9 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* rozklad2 = nullptr;
    QWidget* UpDown5 = nullptr;
    QPushButton* rozklad = nullptr;
    QLabel* Label2 = nullptr;
    SpinField* HitsFromField = nullptr; // Edit1 + UpDown1
    QLabel* Label4 = nullptr;
    SpinField* HitsToField = nullptr; // Edit2 + UpDown2
    QLabel* Label3 = nullptr;
    QToolButton* dyskietka = nullptr;
    ProgressGauge* Gauge1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QTableView* StringGrid2 = nullptr;
    ResultGridModel* resultModel_ = nullptr;
    NumbersStripModel* stripModel_ = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

} // namespace zg
