// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The set-up the windows repeat: the raised panel under their controls, captions, push buttons,
// tool buttons with a picture, the "Zamknij" button, grids of fixed rows, and the picture of
// "Wykresy". Each part does only what every window wants of it; a window adds its own cursor,
// focus and default-button choices.
#include <QColor>
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>

class QFont;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class QWidget;

namespace zg {

// The raised panel (a 5-pixel bevel) over `geometry` of `window`, filled with `colour`, its text
// `text`; its buttons too take `buttonColour` when one is given, their captions `text`. Both
// colours are fixed, the desktop's palette changes neither.
QFrame* MakePanel(QWidget* window, const QRect& geometry, const QColor& colour, const QColor& text,
                  const QColor& buttonColour = {});

// A caption at `at` in `font`, as large as its text.
QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, const QFont& font, QPoint at);

// A push button in `font` that is never a default button: Enter presses it only while it has the
// focus. `focus` says whether Tab stops on it.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                        const QFont& font, Qt::FocusPolicy focus);

// A tool button showing `icon`, with `hint` as its tooltip and its accessible name.
QToolButton* MakeIconButton(QWidget* parent, const char* name, const QRect& geometry, const QIcon& icon,
                            const QString& hint);

// "Zamknij" ("closeButton") with the close picture and a hand cursor; the window connects it.
QPushButton* MakeCloseButton(QWidget* parent, const QRect& geometry);

// A grid without row headings whose rows are `rowHeight` pixels high and stay so; its cells are
// read, never edited, and Tab leaves it rather than moving between its cells.
void SetUpFixedRowGrid(QTableView* grid, int rowHeight);

} // namespace zg
