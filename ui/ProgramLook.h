// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look every window shares: the named colours of the program's palette, its fonts and the
// palette settings of its labels, panels, buttons and fields.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zg {

inline const QColor Silver(192, 192, 192);
inline const QColor Teal(0, 128, 128);
inline const QColor Aqua(0, 255, 255);
inline const QColor Maroon(128, 0, 0);
inline const QColor Navy(0, 0, 128);
inline const QColor DarkGreen(0, 64, 0);
inline const QColor Pink(255, 128, 192);
// Yellow lightened just enough to read on Teal at 4.5:1 (pure yellow gives 4.4:1).
inline const QColor TealYellow(255, 255, 128);

// `family` at `points` points.
inline QFont PointFont(const char* family, int points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

inline QFont Verdana(int points, bool bold = false) {
    return PointFont("Verdana", points, bold);
}

// `family` at `pixels` pixels, for the windows laid out to the pixel.
inline QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The WCAG 2.x contrast ratio of two colours, 1 (equal) to 21 (black on white).
inline double RelativeLuminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

inline double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text of a disabled control on `background`: `text` faded towards the background as far as
// it still reads (at least 3.3:1), so that it looks less active than the enabled text.
inline QColor DisabledTextColour(const QColor& background, const QColor& text) {
    QColor best = text;
    for (int step = 1; step <= 20; ++step) {
        const double a = step / 20.0;
        const QColor mixed = QColor::fromRgbF(static_cast<float>(text.redF() * (1 - a) + background.redF() * a),
                                              static_cast<float>(text.greenF() * (1 - a) + background.greenF() * a),
                                              static_cast<float>(text.blueF() * (1 - a) + background.blueF() * a));
        if (ContrastRatio(mixed, background) < 3.3)
            break;
        best = mixed;
    }
    return best;
}

// Fixes a background role and the text role drawn on it, in every colour group, the disabled
// text dimmed: a fixed colour never leaves its text to the desktop's palette.
inline void FixColourPair(QPalette& p, QPalette::ColorRole backgroundRole, const QColor& background,
                          QPalette::ColorRole textRole, const QColor& text) {
    p.setColor(backgroundRole, background);
    p.setColor(textRole, text);
    p.setColor(QPalette::Disabled, textRole, DisabledTextColour(background, text));
}

// The text colour of a widget on the background it shows now.
inline void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    FixColourPair(p, QPalette::Window, p.color(QPalette::Window), QPalette::WindowText, colour);
    w->setPalette(p);
}

// Background and text colour, with the background filled.
inline void SetColours(QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    FixColourPair(p, QPalette::Window, background, QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// The colour of the buttons inside `w` and of their captions.
inline void SetButtonColours(QWidget* w, const QColor& button, const QColor& text) {
    QPalette p = w->palette();
    FixColourPair(p, QPalette::Button, button, QPalette::ButtonText, text);
    w->setPalette(p);
}

// A field's background and its text; also the box and the mark of the tick boxes and radio
// buttons inside `w`, which draw with the same two roles.
inline void SetFieldColours(QWidget* w, const QColor& base, const QColor& text) {
    QPalette p = w->palette();
    FixColourPair(p, QPalette::Base, base, QPalette::Text, text);
    w->setPalette(p);
}

} // namespace zg
