#pragma once
// The progress gauge: a horizontal bar that fills from the left in proportion to Progress
// between MinValue and MaxValue, with the percentage printed in its middle. Long computations
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
enum class GaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

enum class GaugeBorder { bsNone, bsSingle };

class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent = nullptr);

    std::int32_t MinValue() const { return min_; }
    std::int32_t MaxValue() const { return max_; }
    std::int32_t Progress() const { return progress_; }
    GaugeKind Kind() const { return kind_; }
    bool ShowText() const { return showText_; }
    GaugeBorder BorderStyle() const { return border_; }
    QColor ForeColor() const { return foreColor_; }
    QColor BackColor() const { return backColor_; }

    // A minimum above MaxValue (or a maximum below MinValue) is refused: nothing changes, the
    // error box tells the allowed range, and the setter returns false.
    bool SetMinValue(std::int32_t v);
    bool SetMaxValue(std::int32_t v);
    // Clamped into MinValue..MaxValue; repaints only when the integer percentage changes.
    void SetProgress(std::int32_t v);
    void SetKind(GaugeKind kind);
    void SetShowText(bool show);
    void SetBorderStyle(GaugeBorder border);
    void SetForeColor(const QColor& color);
    void SetBackColor(const QColor& color);

    // 0 when MaxValue == MinValue, else (Progress - MinValue) * 100 / (MaxValue - MinValue).
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
    std::int32_t progress_ = 0;
    GaugeKind kind_ = GaugeKind::gkHorizontalBar;
    bool showText_ = true;
    GaugeBorder border_ = GaugeBorder::bsSingle;
    QColor foreColor_ = Qt::black;
    QColor backColor_ = Qt::white;
    int repaintCount_ = 0;
};

} // namespace zg
