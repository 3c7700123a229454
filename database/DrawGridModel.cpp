// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DrawGridModel.h"

#include "base/State.h"
#include "database/DatabaseExport.h"
#include "ui/GridCells.h"

#include <QBrush>
#include <QColor>

namespace zg {

namespace {

const QColor GridColour(20, 107, 70);
const QColor MapColour(0, 128, 255);

// Columns 0..3 (number and date) look like the fixed cells of the grid.
constexpr int FixedColumns = 4;

} // namespace

DrawGridModel::DrawGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int DrawGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DrawGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DrawGridColumnCount;
}

QString DrawGridModel::cellText(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= DrawGridColumnCount)
        return {};
    return QString::fromStdString(DrawGridCellText(DrawTable[row + 1], column));
}

QVariant DrawGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    return PlainGridCellData(role, index.column(), FixedColumns, GridColour,
                             [&] { return cellText(index.row(), index.column()); });
}

void DrawGridModel::setRowCount(std::int32_t count) {
    beginResetModel();
    rows_ = count < 0 ? 0 : count;
    endResetModel();
}

void DrawGridModel::appendRow() {
    beginInsertRows(QModelIndex(), rows_, rows_);
    ++rows_;
    endInsertRows();
}

void DrawGridModel::drawChanged(std::int32_t ordinal) {
    if (ordinal < 1 || ordinal > rows_)
        return;
    emit dataChanged(index(ordinal - 1, 0), index(ordinal - 1, DrawGridColumnCount - 1));
}

NumberMapModel::NumberMapModel(QObject* parent) : QAbstractTableModel(parent) {}

int NumberMapModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 16;
}

int NumberMapModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

bool NumberMapModel::cellMarked(int row, int column) const {
    if (!filled_ || ordinal_ < 1 || ordinal_ > DrawCount)
        return false;
    const std::int32_t number = row * 5 + column + 1;
    for (std::int32_t n : DrawTable[ordinal_].Numbers)
        if (n == number)
            return true;
    return false;
}

QVariant NumberMapModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (!filled_)
            return QString();
        return QStringLiteral("%1").arg(index.row() * 5 + index.column() + 1, 2, 10, QLatin1Char('0'));
    case Qt::BackgroundRole:
        return QBrush(cellMarked(index.row(), index.column()) ? QColor(255, 255, 0) : MapColour);
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

void NumberMapModel::showDraw(std::int32_t ordinal) {
    filled_ = true;
    ordinal_ = ordinal;
    refresh();
}

void NumberMapModel::refresh() {
    emit dataChanged(index(0, 0), index(15, 4));
}

} // namespace zg
