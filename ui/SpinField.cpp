// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SpinField.h"

#include "base/DateRoutines.h"
#include "base/State.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace zg {

namespace {

// Width of the arrow control beside the edit box; the caller may resize it through arrows().
constexpr int ArrowsWidth = 15;

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

std::int32_t Clamp(std::int64_t v, std::int32_t lo, std::int32_t hi) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, lo, hi));
}

// The box holds digits only, but the program may put anything there with setText. Anything that
// is not a plain run of digits reads as "no number"; a number too large for 64 bits saturates
// (it is clamped into the range anyway).
bool ParseDigits(const QString& text, std::int64_t& out) {
    if (text.isEmpty())
        return false;
    constexpr std::int64_t Cap = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    std::int64_t v = 0;
    for (QChar c : text) {
        if (!IsAsciiDigit(c))
            return false;
        if (v < Cap)
            v = v * 10 + (c.unicode() - u'0');
    }
    out = v;
    return true;
}

} // namespace

void SpinField::setAccessibleCaption(const QString& caption) {
    edit_->setAccessibleName(caption);
    arrows_->setAccessibleName(QStringLiteral("Zmień: ") + caption);
}

SpinField::SpinField(QWidget* parent, const QString& editName, const QString& arrowsName, int maxLength)
    : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName(editName);
    edit_->setAccessibleName(editName);
    edit_->setMaxLength(maxLength);
    // Key filtering below covers typing; the validator keeps pasted or dropped text out too.
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
    edit_->installEventFilter(this);

    arrows_ = new QWidget(this);
    arrows_->setObjectName(arrowsName);
    arrows_->setAccessibleName(arrowsName);
    arrows_->setFixedWidth(ArrowsWidth);

    up_ = new QToolButton(arrows_);
    up_->setArrowType(Qt::UpArrow);
    up_->setAccessibleName(QStringLiteral("Zwiększ"));
    down_ = new QToolButton(arrows_);
    down_->setArrowType(Qt::DownArrow);
    down_->setAccessibleName(QStringLiteral("Zmniejsz"));
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        // No Tab stop of their own: Up and Down in the box step the value as they do.
        button->setFocusPolicy(Qt::NoFocus);
    }

    auto* arrowsLayout = new QVBoxLayout(arrows_);
    arrowsLayout->setContentsMargins(0, 0, 0, 0);
    arrowsLayout->setSpacing(0);
    arrowsLayout->addWidget(up_, 1);
    arrowsLayout->addWidget(down_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_, 1);
    layout->addWidget(arrows_);

    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });

    edit_->setText(QString::number(pos_));
}

void SpinField::setRange(std::int32_t minimum, std::int32_t maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    // The box must be able to show every value of the range: QLineEdit cuts a longer text to
    // its length limit, and reading the cut text back would change the value.
    const int needed = static_cast<int>(std::max(QString::number(min_).size(), QString::number(max_).size()));
    if (edit_->maxLength() < needed)
        edit_->setMaxLength(needed);
    const std::int32_t clamped = std::clamp(pos_, min_, max_);
    if (clamped != pos_) {
        pos_ = clamped;
        edit_->setText(QString::number(pos_));
    }
}

std::int32_t SpinField::value() {
    std::int64_t typed = 0;
    if (ParseDigits(edit_->text(), typed))
        pos_ = Clamp(typed, min_, max_);
    edit_->setText(QString::number(pos_));
    return pos_;
}

void SpinField::setPosition(std::int32_t v) {
    pos_ = std::clamp(v, min_, max_);
    edit_->setText(QString::number(pos_));
}

void SpinField::step(int delta) {
    value();
    setPosition(Clamp(static_cast<std::int64_t>(pos_) + delta, min_, max_));
    emit arrowClicked();
}

bool SpinField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // Clicking into the box clears it for typing; the value in force is kept until the box
        // is read again. The press goes on to the box so it takes the focus.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            edit_->clear();
            emit clicked();
        }
        break;
    case QEvent::EnabledChange:
        // The arrows follow the box, also when only the box is disabled by the caller.
        arrows_->setEnabled(edit_->isEnabled());
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Read the box and tell the owner. The key stops here: the owner decides what Enter
            // does, so a window's own Enter handling or default button does not act a second time.
            value();
            emit enterPressed();
            return true;
        case Qt::Key_Up:
            step(1);
            return true;
        case Qt::Key_Down:
            step(-1);
            return true;
        case Qt::Key_Backspace:
            return false;
        default:
            break;
        }
        // Shortcuts (copy, paste, select all) pass; the validator guards what a paste brings.
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        const QString text = key->text();
        if (text.isEmpty())
            return false; // navigation and other keys that type nothing
        for (QChar c : text) {
            if (c.isPrint() && !IsAsciiDigit(c))
                return true; // a character other than a digit: dropped silently
        }
        return false;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void DrawDateLabel(SpinField* field, QLabel* label) {
    // value() reads the box and rewrites it, so a field at its maximum shows the maximum.
    const std::int32_t ordinal = field->value();
    label->setText(QString::fromStdString(DrawDateLongText(AllDraws(), ordinal)));
}

} // namespace zg
