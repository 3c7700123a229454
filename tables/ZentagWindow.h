// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ZENTAG table window: the grid of the draws that follow the found draws (one column per
// number, yellow where a number was drawn), the ranked lists of numbers and pairs with what chance
// alone gives under them, the filter of 80 tick boxes that restricts the table to chosen numbers,
// and the report.
#include "tables/Zentag.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace zg {

class LineListView;
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
    // The cell holds its column's number (a drawn number of its row).
    bool drawnCell(int row, int column) const;

    const ZentagResult* result_ = nullptr;
};

class ZentagWindow : public QDialog {
    Q_OBJECT
public:
    explicit ZentagWindow(QWidget* parent = nullptr);

    // The search whose found draws the table follows (its parameters and set, the found draws)
    // and the distance; handed over each time the window opens.
    void setRequest(const ZentagRequest& request) { request_ = request; }
    ~ZentagWindow() override;

    // Unticks every filter box without computing anything: the caller computes next.
    void clearFilter();
    // The complete table, driving `gauge`.
    void computeTable(ProgressGauge* gauge);
    // The table restricted to the ticked numbers.
    void computeTableForSelection();

    const ZentagResult& result() const { return result_; }
    ZentagGridModel* gridModel() const { return model_; }
    QCheckBox* checkBox(int n) const;
    // The ticked numbers, ascending.
    const std::vector<std::int32_t>& selection() const { return selection_; }
    // Decimal separator of the percentages (the locale's; tests may set another).
    void setDecimalSeparator(char c) { decimalSeparator_ = c; }

signals:
    // A complete table was computed over the handed range: the main window shows that range again.
    void rangeShown();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFilter();
    void saveReport();
    ZentagInput tableInput() const;
    // The found draws of the request, as many as its list holds.
    std::int32_t foundCount() const;
    void showResult();

    ZentagRequest request_;
    char decimalSeparator_ = '.';
    bool clearingFilter_ = false;
    ZentagResult result_;
    std::vector<std::int32_t> selection_;

    QTableView* zentagGrid = nullptr;
    ZentagGridModel* model_ = nullptr;
    QLabel* numbersCaption = nullptr;
    LineListView* numbersList = nullptr;
    QLabel* pairsCaption = nullptr;
    LineListView* pairsList = nullptr;
    QLabel* numbersBaseline = nullptr; // what chance alone gives, under each list
    QLabel* pairsBaseline = nullptr;
    QToolButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;
    ProgressGauge* progressGauge = nullptr;
    std::array<QCheckBox*, 81> filterBoxes{}; // 1-based
};

} // namespace zg
