#pragma once
// The ZENTAG table window: the grid of the draws that follow the found draws (one column per
// number, yellow where a number was drawn), the ranked lists of numbers and pairs, the filter of
// 80 tick boxes that restricts the table to chosen numbers, and the report.
#include "tables/Zentag.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class MainWindow;
class ProgressGauge;

// The grid of a ZENTAG table: the heading row is the horizontal header, column 0 the dates;
// texts and colours are built for the cells being painted.
class ZentagGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ZentagGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows a table (which must outlive its showing).
    void setResult(const ZentagResult* result);
    QString cellText(int row, int column) const;

private:
    const ZentagResult* result_ = nullptr;
};

class ZentagWindow : public QDialog {
    Q_OBJECT
public:
    // `main` is the main window, whose range, hit fields and set the table and the report read.
    explicit ZentagWindow(MainWindow* main, QWidget* parent = nullptr);
    ~ZentagWindow() override;

    // Unticks every filter box without computing anything: the caller computes next.
    void ClearFilter();
    // The complete table, driving `gauge`.
    void ComputeZentagTable(ProgressGauge* gauge);
    // The table restricted to the ticked numbers.
    void ComputeZentagTableFor();

    const ZentagResult& result() const { return result_; }
    ZentagGridModel* gridModel() const { return model_; }
    QCheckBox* checkBox(int n) const;
    // The ticked numbers, ascending.
    const std::vector<std::int32_t>& selection() const { return ZentagSelection; }
    // Decimal separator of the percentages (the locale's; tests may set another).
    void setDecimalSeparator(char c) { decimalSeparator_ = c; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CheckBox1Click();
    void dyskietkaClick();
    ZentagInput Input() const;
    void ShowResult();

    MainWindow* main_;
    char decimalSeparator_ = '.';
    bool clearingFilter_ = false;
    ZentagResult result_;
    std::vector<std::int32_t> ZentagSelection;

    QTableView* StringGrid1 = nullptr;
    ZentagGridModel* model_ = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QToolButton* dyskietka = nullptr;
    QPushButton* BitBtn3 = nullptr;
    ProgressGauge* Gauge1 = nullptr;
    std::array<QCheckBox*, 81> CheckBoxes{}; // 1-based
};

} // namespace zg
