// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text that must be read whole in a control of fixed width: the font shrinks, a pixel at a
// time, until the text fits; only below the smallest readable size is the middle of the text
// elided, so its end (the button to press, the last number) always shows.
#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace zg {

struct FittedText {
    QFont font;
    QString text;
};

// `font` must be sized in pixels. Gives `font` itself when `text` fits `width` pixels; otherwise
// the largest pixel size down to `smallestPixels` at which it fits; otherwise that smallest size
// with the text elided in the middle.
inline FittedText FitText(QFont font, const QString& text, int width, int smallestPixels) {
    for (int pixels = font.pixelSize(); pixels > smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return {font, text};
    }
    font.setPixelSize(smallestPixels);
    return {font, QFontMetrics(font).elidedText(text, Qt::ElideMiddle, width)};
}

} // namespace zg
