// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A grid of buttons or tick boxes (the 80 numbers) as one Tab stop: Tab enters the grid at the
// cell that last held the focus and leaves it for the next control; the arrow keys move within the
// grid (stopping at its edges, skipping nothing); Space toggles the focused cell, as Qt does.
#include <vector>

class QAbstractButton;

namespace zg {

// Makes `cells`, given row by row with `columns` cells a row and consecutive in the Tab order, one
// Tab stop. The first cell takes the Tab stop until another one gets the focus (by key or mouse).
void MakeButtonGridOneTabStop(const std::vector<QAbstractButton*>& cells, int columns);

} // namespace zg
