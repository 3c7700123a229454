// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressGauge.h"

#include "ui/Dialogs.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace zg {

namespace {

QString RangeMessage(std::int64_t low, std::int64_t high) {
    return QStringLiteral("Value must be between %1 and %2").arg(low).arg(high);
}

} // namespace

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent) {
    // The whole control is painted from one composed picture, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Postęp"));
    setAccessibleDescription(text());
}

int ProgressGauge::percent() const {
    if (max_ == min_)
        return 0;
    // 64-bit: the differences of two 32-bit values times 100 do not fit in 32 bits.
    const std::int64_t done = static_cast<std::int64_t>(value_) - min_;
    const std::int64_t span = static_cast<std::int64_t>(max_) - min_;
    return static_cast<int>(done * 100 / span);
}

QString ProgressGauge::text() const {
    return QString::asprintf("%d%%", percent());
}

bool ProgressGauge::setMaximum(std::int32_t v) {
    if (v == max_)
        return true;
    if (v < min_) {
        Dialogs::SystemError(
            this, RangeMessage(static_cast<std::int64_t>(min_) + 1, std::numeric_limits<std::int32_t>::max()));
        return false;
    }
    max_ = v;
    value_ = std::min(value_, max_);
    redraw();
    return true;
}

bool ProgressGauge::setMinimum(std::int32_t v) {
    if (v == min_)
        return true;
    if (v > max_) {
        Dialogs::SystemError(this, RangeMessage(static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min()) + 1,
                                                static_cast<std::int64_t>(max_) - 1));
        return false;
    }
    min_ = v;
    value_ = std::max(value_, min_);
    redraw();
    return true;
}

void ProgressGauge::setValue(std::int32_t v) {
    const std::int32_t clamped = std::clamp(v, min_, max_);
    if (clamped == value_)
        return;
    const int before = percent();
    value_ = clamped;
    // Only a visible change costs a repaint: the search calls this once per draw.
    if (percent() != before)
        redraw();
}

void ProgressGauge::setKind(GaugeKind kind) {
    if (kind == kind_)
        return;
    kind_ = kind;
    redraw();
}

void ProgressGauge::setTextVisible(bool visible) {
    if (visible == textVisible_)
        return;
    textVisible_ = visible;
    redraw();
}

void ProgressGauge::setFrame(bool frame) {
    if (frame == frame_)
        return;
    frame_ = frame;
    redraw();
}

void ProgressGauge::setBarColor(const QColor& color) {
    if (color == barColor_)
        return;
    barColor_ = color;
    redraw();
}

void ProgressGauge::setBackgroundColor(const QColor& color) {
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    redraw();
}

void ProgressGauge::redraw() {
    setAccessibleDescription(text());
    ++repaintCount_;
    // Synchronous: the computations that drive the gauge keep the event loop busy.
    repaint();
}

QSize ProgressGauge::sizeHint() const {
    return {100, 17};
}

QImage ProgressGauge::composed(const QSize& size) const {
    QImage image(size, QImage::Format_RGB32);
    // Everything outside the drawing area is the black frame.
    image.fill(Qt::black);
    QRect area(QPoint(0, 0), size);
    if (frame_)
        area.adjust(1, 1, -1, -1);
    if (area.isEmpty())
        return image;

    QPainter painter(&image);
    painter.fillRect(area, backgroundColor_);

    // The bar runs in control coordinates from the area's left and top edge to x = F and y = H
    // (both exclusive), where W and H are the area's right and bottom edges. A full gauge fills
    // the area exactly; with a frame, a lower percentage leaves the bar one pixel shorter than
    // its share of the area.
    const std::int64_t w = area.x() + area.width();
    const int h = area.y() + area.height();
    const int f = static_cast<int>(std::min<std::int64_t>(w * percent() / 100, w));
    if (f >= 1 && f > area.x())
        painter.fillRect(QRect(QPoint(area.x(), area.y()), QPoint(f - 1, h - 1)), barColor_);
    painter.end();

    if (textVisible_) {
        // The glyphs are drawn sharp into a mask; every pixel they cover takes the inverse colour
        // of what lies beneath, so the text reads over the bar and over the empty part alike.
        QImage mask(size, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter maskPainter(&mask);
        QFont glyphs = font();
        glyphs.setStyleStrategy(QFont::NoAntialias);
        maskPainter.setFont(glyphs);
        maskPainter.setPen(Qt::white);
        maskPainter.setClipRect(area);
        maskPainter.drawText(area, Qt::AlignCenter, text());
        maskPainter.end();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            auto* p = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) {
                if (qRed(m[x]) >= 128)
                    p[x] ^= 0x00FFFFFFu;
            }
        }
    }
    return image;
}

void ProgressGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, composed(size()));
}

void ProgressGauge::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace zg
