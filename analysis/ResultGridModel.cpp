// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ResultGridModel.h"

#include "base/NumberFormat.h"
#include "ui/GridCells.h"

#include <QBrush>
#include <QFont>

namespace zg {

namespace {
const QColor GridColour(0, 128, 128); // teal
const QColor StripColour(0, 128, 64);
} // namespace

ResultGridModel::ResultGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return rows_.empty() ? 1 : static_cast<int>(rows_.size());
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ResultGridModel::cellText(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || column < 0 || column >= ColumnCount)
        return {};
    return QString::fromStdString(ResultCellText(rows_[static_cast<std::size_t>(row)], column));
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    return PlainGridCellData(role, index.column(), FixedColumns, GridColour,
                             [&] { return cellText(index.row(), index.column()); });
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(ResultGridHeading(section));
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ResultGridModel::clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

void ResultGridModel::setRows(std::vector<SearchRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

NumbersStripModel::NumbersStripModel(QObject* parent) : QAbstractTableModel(parent) {}

int NumbersStripModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}
int NumbersStripModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 20;
}

bool NumbersStripModel::cellHighlighted(int column) const {
    if (!highlight_ || members_ == nullptr || column < 0 || column >= 20)
        return false;
    auto i = static_cast<std::size_t>(column);
    return filled_[i] && IsLotteryNumber(numbers_[i]) && (*members_)[numbers_[i]];
}

QVariant NumbersStripModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const bool lit = cellHighlighted(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(index.column());
    case Qt::BackgroundRole:
        return QBrush(lit ? QColor(Qt::yellow) : StripColour);
    case Qt::ForegroundRole:
        return QBrush(lit ? Qt::black : Qt::white);
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

void NumbersStripModel::clear() {
    for (std::size_t i = 0; i < 20; ++i) {
        texts_[i].clear();
        filled_[i] = false;
        numbers_[i] = 0;
    }
    emit dataChanged(index(0, 0), index(0, 19));
}

void NumbersStripModel::setNumbers(const std::int32_t (&numbers)[20]) {
    for (std::size_t i = 0; i < 20; ++i) {
        numbers_[i] = numbers[i];
        filled_[i] = true;
        texts_[i] = QString::fromStdString(ZeroPad(numbers[i], 2));
    }
    emit dataChanged(index(0, 0), index(0, 19));
}

void NumbersStripModel::setHighlight(bool on, const bool (*members)[81]) {
    highlight_ = on;
    members_ = members;
    emit dataChanged(index(0, 0), index(0, 19));
}

} // namespace zg
