// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress gauge: a horizontal bar that fills from the left in proportion to its value
// between its minimum and maximum, with the percentage printed in its middle. Long computations
// run on the user-interface thread, so a change of the shown percentage repaints the control at
// once (synchronously) instead of waiting for the event loop.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace zg {

// Drawing styles of the gauge. Only the horizontal bar is used by the program; the other kinds
// are accepted and drawn as a horizontal bar.
enum class GaugeKind { Text, HorizontalBar, VerticalBar };

class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent = nullptr);

    std::int32_t minimum() const { return min_; }
    std::int32_t maximum() const { return max_; }
    std::int32_t value() const { return value_; }
    GaugeKind kind() const { return kind_; }
    bool isTextVisible() const { return textVisible_; }
    bool hasFrame() const { return frame_; }                    // a 1-pixel black frame around the drawing area
    QColor barColor() const { return barColor_; }               // the filled part
    QColor backgroundColor() const { return backgroundColor_; } // the empty part

    // A minimum above the maximum (or a maximum below the minimum) is refused: nothing changes,
    // the error box tells the allowed range, and the setter returns false.
    bool setMinimum(std::int32_t v);
    bool setMaximum(std::int32_t v);
    // Clamped into minimum..maximum; repaints only when the integer percentage changes.
    void setValue(std::int32_t v);
    void setKind(GaugeKind kind);
    void setTextVisible(bool visible);
    void setFrame(bool frame);
    void setBarColor(const QColor& color);
    void setBackgroundColor(const QColor& color);

    // 0 when maximum == minimum, else (value - minimum) * 100 / (maximum - minimum).
    int percent() const;
    // The printed text, e.g. "42%".
    QString text() const;
    // Number of synchronous repaints the gauge asked for after a change of its state.
    int repaintCount() const { return repaintCount_; }

    // The gauge as drawn, at the given size: used by paintEvent and handy for checks.
    QImage composed(const QSize& size) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void redraw();

    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t value_ = 0;
    GaugeKind kind_ = GaugeKind::HorizontalBar;
    bool textVisible_ = true;
    bool frame_ = true;
    QColor barColor_ = Qt::black;
    QColor backgroundColor_ = Qt::white;
    int repaintCount_ = 0;
};

} // namespace zg
