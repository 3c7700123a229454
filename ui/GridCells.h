// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cell roles shared by the plain dark grids (the main window's result grid, the draw grid of
// the draw management window): white text, the leading columns in the fixed-cell colour and the
// others in the grid's own colour, texts aligned to the top left.
#include <QBrush>
#include <QColor>
#include <QString>
#include <QVariant>

namespace zg {

// Dark green of the leading (fixed) columns.
inline const QColor GridFixedCellColour(0, 64, 0);

// data() of such a grid for a valid index: `cellText()` (asked only for the display and accessible
// texts) and the roles above; nothing for any other role.
template <typename CellText>
QVariant PlainGridCellData(int role, int column, int fixedColumns, const QColor& gridColour, CellText&& cellText) {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString(cellText());
    case Qt::BackgroundRole:
        return QBrush(column < fixedColumns ? GridFixedCellColour : gridColour);
    case Qt::ForegroundRole:
        return QBrush(Qt::white);
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

} // namespace zg
