// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The style every window shares, on top of the desktop's own: a keyboard focus frame that can be
// seen on any background and under any style sheet, disabled texts that stay readable under any
// desktop palette, and hints (tooltips) shown at once, for 10 seconds, in 18-point blue type.
#include <QProxyStyle>

class QApplication;

namespace zg {

// The width of the focus frame, drawn inside the control's own rectangle (or a grid cell's).
inline constexpr int FocusFrameWidth = 2;

// The desktop's style without its own focus looks (a faint tint or outline that differs from style
// to style): the focus frame (FocusFrame in ProgramStyle.cpp) is drawn over the focused control
// instead, and a grid's current cell gets the same frame inside the cell.
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// The colour of a focus frame on `background`: black or white, whichever stands out more (at
// least 4.5:1 on any colour).
QColor FocusFrameColour(const QColor& background);

// Sets up the program's look, once, for main() and the tests alike: gives the application
// ProgramStyle and the focus frame that follows the keyboard focus, the hints' behaviour, Enter that
// presses the focused button in every window (PressFocusedButtonsOnEnterEverywhere), and keeps
// its palette's disabled texts readable: whenever the palette changes, a disabled text that reads
// worse than 3:1 on its background, or as well as the enabled text, is replaced by the enabled
// text faded towards the background. A second call does nothing.
void InstallProgramStyle(QApplication& app);

} // namespace zg
