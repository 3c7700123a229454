// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small pictures the program paints itself for the main window's buttons, the same on every
// desktop.
#include <QIcon>

namespace zg {

// A floppy disk (body, shutter and label): the report's save button.
QIcon DiskIcon();

// A green tick: "Oblicz".
QIcon TickIcon();

// A small grid with a yellow heading row: "Tabela liczb".
QIcon NumbersTableIcon();

} // namespace zg
