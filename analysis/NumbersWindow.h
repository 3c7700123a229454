// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window " Tabela liczb": the 80 numbers over the range in force (how often, how lately, how
// long away, how often in the last draws) beside what chance alone gives, sortable by any column,
// with the set's numbers highlighted, three sentences about the whole table, and its report
// (LICZBY.NNNN.txt). It is not modal: whoever owns it hands it the range and the set when it
// opens and after every change (showRange), and it reads the process-wide draw table.
#include "analysis/NumberTable.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QSortFilterProxyModel>

#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace zg {

// The table's cells: one row per number, in number order, the texts of the core. The sort role
// (Qt::UserRole) gives each cell's value as a number, or nothing for an empty cell.
class NumberTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows a table (which must outlive its showing), or none (no rows).
    void setTable(const NumberTable* table, char separator);

private:
    const NumberTable* table_ = nullptr;
    char separator_ = '.';
};

// Numeric order by the sort role; empty cells last in either direction, ties in number order.
class NumberSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

class NumbersWindow : public QDialog {
    Q_OBJECT
public:
    explicit NumbersWindow(QWidget* parent = nullptr);
    ~NumbersWindow() override;

    // The range in force (draw ordinals) and the set; the table is computed again at once.
    void showRange(std::int32_t rangeFrom, std::int32_t rangeTo, const NumberSetData& set);
    // Decimal separator of the cells and sentences (the locale's; tests may set another).
    void setDecimalSeparator(char c);

    const std::optional<NumberTable>& table() const { return table_; }
    QTableView* grid() const { return numbersGrid; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void computeTable();
    void fitColumns();
    void saveReport();

    std::int32_t rangeFrom_ = 0;
    std::int32_t rangeTo_ = 0;
    std::int32_t askedLast_ = 100; // "Ostatnich losowań" as the user asked it; the table takes min(N, n)
    NumberSetData set_;
    char decimalSeparator_ = '.';
    std::optional<NumberTable> table_;

    NumberTableModel* model_ = nullptr;
    NumberSortProxy* proxy_ = nullptr;
    QLabel* headingLabel = nullptr;
    QLabel* lastDrawsCaption = nullptr;
    QSpinBox* lastDrawsField = nullptr;
    QTableView* numbersGrid = nullptr;
    QLabel* longestGapSentence = nullptr;
    QLabel* outsideBandSentence = nullptr;
    QLabel* equalChanceSentence = nullptr; // the same in every table
    QPushButton* saveButton = nullptr;
    QPushButton* closeButton = nullptr;
};

} // namespace zg
