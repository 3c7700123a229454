// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A spin field: an edit box with an up/down arrow control attached, holding a 32-bit value.
// - A mouse click into the edit box empties it (for typing) and emits clicked(); the value in
//   force stays until the field is read again.
// - Only the digits 0-9 and Backspace are typed; every other character is dropped.
// - The field is read (typed text becomes the value in force) by value(), and so on Enter, on an
//   arrow click and whenever the program asks for the value. The value in force always lies
//   within the arrows' range: a typed number outside it is clamped into it, an empty or
//   unreadable text keeps the previous value; either way the box is rewritten to show the value.
// - An arrow click (or the Up/Down key in the box) reads the field, steps the value by one within
//   the range (no wrap) and emits arrowClicked().
#include <QWidget>

#include <cstdint>

class QLabel;
class QLineEdit;
class QToolButton;

namespace zg {

class SpinField : public QWidget {
    Q_OBJECT
public:
    // editName and arrowsName are the object names of the edit box and of the arrow control
    // ("rangeFromEdit", "rangeFromArrows"). maxLength limits what can be typed.
    SpinField(QWidget* parent, const QString& editName, const QString& arrowsName, int maxLength);

    // Names the field for assistive technology by what it holds: the edit box takes `caption`, the
    // arrows "Zmień: " + caption (until then both carry their object names).
    void setAccessibleCaption(const QString& caption);

    QLineEdit* edit() const { return edit_; }
    QWidget* arrows() const { return arrows_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    std::int32_t minimum() const { return min_; }
    std::int32_t maximum() const { return max_; }
    // Changes the range; the value in force is clamped into it (the box is rewritten only when
    // the value changed). A maximum below the minimum is raised to the minimum.
    void setRange(std::int32_t minimum, std::int32_t maximum);
    void setMaximum(std::int32_t maximum) { setRange(min_, maximum); }

    // The value in force, without reading the box.
    std::int32_t position() const { return pos_; }
    // Reads the box (see above) and returns the value in force.
    std::int32_t value();
    // Sets the value in force, clamped into the range, and shows it in the box.
    void setPosition(std::int32_t v);

signals:
    void clicked();      // the box was clicked and emptied
    void arrowClicked(); // the value was stepped by an arrow
    void enterPressed(); // Enter in the box (after the box was read)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* edit_ = nullptr;
    QWidget* arrows_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t pos_ = 0;
};

// Writes the date (DD.MM.YYYY) of the draw chosen in `field` into `label`, after reading the
// field (so a field at its maximum shows the maximum). Uses the process-wide draw table; with no
// such draw the label is emptied.
void DrawDateLabel(SpinField* field, QLabel* label);

} // namespace zg
