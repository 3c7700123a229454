// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractItemView>

namespace zg {

// Makes a grid's selection empty, so that no cell of it is drawn highlighted.
inline void ClearGridSelection(QAbstractItemView* grid) {
    grid->clearSelection();
    grid->setCurrentIndex(QModelIndex());
}

} // namespace zg
