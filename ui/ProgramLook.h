#pragma once
// The look every window shares: the named colours of the program's palette, its fonts and the two
// palette settings its labels and panels use.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace zg {

inline const QColor Silver(192, 192, 192);
inline const QColor Teal(0, 128, 128);
inline const QColor Aqua(0, 255, 255);
inline const QColor Maroon(128, 0, 0);
inline const QColor Navy(0, 0, 128);
inline const QColor DarkGreen(0, 64, 0);
inline const QColor Pink(255, 128, 192);

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

inline void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

// Background and text colour, with the background filled.
inline void SetColours(QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace zg
