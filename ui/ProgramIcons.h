// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small pictures the program paints itself for the main window's buttons and the windows
// they open, the same on every desktop.
#include <QIcon>

namespace zg {

// A floppy disk (body, shutter and label): the report's save button.
QIcon DiskIcon();

// A green tick: "Oblicz".
QIcon TickIcon();

// A small grid with a yellow heading row: "Tabela liczb".
QIcon NumbersTableIcon();

// The picture of "Wykresy" and of the charts window: three bars over an axis, in the program's
// colours.
QIcon ChartsIcon();

// The picture of "Wzorce losowań" and of its window: a draw's card with some numbers marked, beside
// a bell-shaped row of bars.
QIcon PatternsIcon();

} // namespace zg
