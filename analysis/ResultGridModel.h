// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Models of the main window's two grids: the result grid (one row per found draw, built on
// demand from the search rows) and the numbers strip (the 20 numbers of the selected draw).
#include "analysis/SetHitSearch.h"

#include <QAbstractTableModel>
#include <QColor>

#include <array>
#include <vector>

namespace zg {

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 5;
    static constexpr int FixedColumns = 3; // drawn in the fixed-cell colour

    explicit ResultGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Back to the heading row and one empty data row.
    void clear();
    // Shows the rows of a search (taken over, not copied).
    void setRows(std::vector<SearchRow> rows);
    const std::vector<SearchRow>& rows() const { return rows_; }
    // Cell text as shown (the empty data row gives empty texts).
    QString cellText(int row, int column) const;

private:
    std::vector<SearchRow> rows_;
};

class NumbersStripModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit NumbersStripModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void clear();
    // The 20 numbers of a draw, each as two digits.
    void setNumbers(const std::int32_t (&numbers)[20]);
    // While on, cells whose number is a member of `members` are drawn yellow with black text.
    void setHighlight(bool on, const bool (*members)[81]);
    bool highlight() const { return highlight_; }
    QString cellText(int column) const { return texts_[static_cast<std::size_t>(column)]; }
    bool cellHighlighted(int column) const;

private:
    std::array<QString, 20> texts_;
    std::array<std::int32_t, 20> numbers_{};
    std::array<bool, 20> filled_{};
    bool highlight_ = false;
    const bool (*members_)[81] = nullptr;
};

} // namespace zg
