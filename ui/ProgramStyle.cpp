// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramStyle.h"

#include "ui/KeyboardButtons.h"
#include "ui/ProgramLook.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace zg {

namespace {

// Draws the focus frame inside `rect`, on `background`.
void DrawFocusFrame(QPainter* painter, const QRect& rect, const QColor& background) {
    if (rect.width() <= 2 * FocusFrameWidth || rect.height() <= 2 * FocusFrameWidth)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(FocusFrameColour(background), FocusFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    // A pen of width 2 is centred on the path: the frame covers the 2 pixels inside `rect`.
    painter->drawRect(QRectF(rect).adjusted(FocusFrameWidth / 2.0, FocusFrameWidth / 2.0, -FocusFrameWidth / 2.0,
                                            -FocusFrameWidth / 2.0));
    painter->restore();
}

// The background a focused control paints itself on.
QColor BackgroundOf(const QStyleOption* option, const QWidget* widget, QPalette::ColorRole fallback) {
    const QPalette::ColorRole role = widget != nullptr ? widget->backgroundRole() : fallback;
    return option->palette.color(role);
}

// Whether the disabled `text` on `background` reads worse than 3:1 or as well as `enabledText`.
bool PoorDisabledText(const QColor& background, const QColor& text, const QColor& enabledText) {
    const double ratio = ContrastRatio(text, background);
    return ratio < 3.0 || ratio >= ContrastRatio(enabledText, background);
}

// The application palette with readable disabled texts; whether it changed.
bool RepairDisabledTexts(QPalette& p) {
    bool changed = false;
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::Window, QPalette::WindowText},
        {QPalette::Button, QPalette::ButtonText},
        {QPalette::Base, QPalette::Text},
    };
    for (const auto& [backgroundRole, textRole] : pairs) {
        const QColor background = p.color(QPalette::Disabled, backgroundRole);
        const QColor enabled = p.color(QPalette::Active, textRole);
        if (PoorDisabledText(background, p.color(QPalette::Disabled, textRole), enabled)) {
            p.setColor(QPalette::Disabled, textRole, DisabledTextColour(background, enabled));
            changed = true;
        }
    }
    return changed;
}

// Repairs the application palette whenever it changes (a new desktop theme, a palette set by the
// program or a test).
class DisabledTextKeeper : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange && !repairing_)
            repair();
        return QObject::eventFilter(watched, event);
    }

    void repair() {
        QPalette p = QApplication::palette();
        if (!RepairDisabledTexts(p))
            return;
        repairing_ = true;
        QApplication::setPalette(p);
        repairing_ = false;
    }

private:
    bool repairing_ = false;
};

// Draws `draw` with a copy of `option` that has no focus, when `option` is an `Option`.
template <typename Option, typename Draw> bool DrawWithoutFocus(const QStyleOption* option, const Draw& draw) {
    const auto* typed = qstyleoption_cast<const Option*>(option);
    if (typed == nullptr)
        return false;
    Option copy(*typed);
    copy.state &= ~QStyle::State_HasFocus;
    draw(&copy);
    return true;
}

// Draws `draw` with `option` stripped of its focus (every control's option but a grid cell's, which
// keeps the cell's own focus frame); returns false when `option` keeps its focus.
template <typename Draw> bool DrawControlWithoutFocus(const QStyleOption* option, const Draw& draw) {
    if (option == nullptr || !(option->state & QStyle::State_HasFocus))
        return false;
    return DrawWithoutFocus<QStyleOptionButton>(option, draw) ||
           DrawWithoutFocus<QStyleOptionToolButton>(option, draw) ||
           DrawWithoutFocus<QStyleOptionSpinBox>(option, draw) ||
           DrawWithoutFocus<QStyleOptionComboBox>(option, draw) || DrawWithoutFocus<QStyleOptionSlider>(option, draw) ||
           DrawWithoutFocus<QStyleOptionFrame>(option, draw) || DrawWithoutFocus<QStyleOptionTab>(option, draw) ||
           (option->type == QStyleOption::SO_Default && DrawWithoutFocus<QStyleOption>(option, draw));
}

constexpr int HintDurationMs = 10000;

// Keeps every hint up for 10 seconds, whatever the widget's own duration says.
class HintDuration : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (w == nullptr || w->toolTip().isEmpty())
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), w->toolTip(), w, QRect(), HintDurationMs);
        return true;
    }
};

// The focus frame: a widget laid over the focused control, above its siblings, that lets the mouse
// through. Each pixel of its ring, FocusFrameWidth wide inside the control's rectangle, is black or
// white, whichever stands out more against the window's own pixel beneath it. ProgramStyle draws
// the controls without their focus looks, so what lies beneath is the control as it looks without
// the focus, and the frame stands out against that by at least 4.5:1 wherever a style sheet or
// palette puts the control.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("focusFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    // Lays the frame over `target` (hidden when there is none or it is a window of its own).
    void follow(QWidget* target) {
        if (target_ != nullptr)
            target_->removeEventFilter(this);
        target_ = target;
        if (target_ == nullptr || target_->isWindow() || target_->parentWidget() == nullptr) {
            hide();
            return;
        }
        ring_ = QImage(); // another control's ring: none until the recolouring
        setParent(target_->parentWidget());
        target_->installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == target_ && !computing_) {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                place();
                break;
            case QEvent::Paint:
                // The control changed its look (a tick, a pressed button): the ring follows.
                recolourLater();
                break;
            default:
                break;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override {
        if (computing_ || ring_.isNull())
            return;
        QPainter painter(this);
        painter.drawImage(0, 0, ring_);
    }

private:
    void place() {
        if (target_ == nullptr || !target_->isVisible()) {
            hide();
            return;
        }
        if (geometry() != target_->geometry())
            ring_ = QImage(); // drawn for another size: none until the recolouring
        setGeometry(target_->geometry());
        raise();
        show();
        recolourLater();
    }

    // Recolours once the pending events (the window's own showing and painting) are done.
    void recolourLater() {
        if (recolourPending_)
            return;
        recolourPending_ = true;
        QTimer::singleShot(0, this, [this] {
            recolourPending_ = false;
            recolour();
        });
    }

    // Picks each ring pixel's colour against the window as drawn beneath the frame.
    void recolour() {
        if (target_ == nullptr || !isVisible())
            return;
        QWidget* window = target_->window();
        const QRect area(target_->mapTo(window, QPoint(0, 0)), target_->size());
        QImage beneath(area.size(), QImage::Format_ARGB32_Premultiplied);
        beneath.fill(window->palette().color(QPalette::Window));
        computing_ = true;
        window->render(&beneath, QPoint(), QRegion(area));
        computing_ = false;
        QImage ring(area.size(), QImage::Format_ARGB32_Premultiplied);
        ring.fill(Qt::transparent);
        const int w = area.width(), h = area.height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x < FocusFrameWidth || y < FocusFrameWidth || x >= w - FocusFrameWidth || y >= h - FocusFrameWidth)
                    ring.setPixel(x, y, FocusFrameColour(QColor::fromRgb(beneath.pixel(x, y))).rgba());
        if (ring == ring_)
            return;
        ring_ = ring;
        update();
    }

    QPointer<QWidget> target_;
    QImage ring_;
    bool computing_ = false;
    bool recolourPending_ = false;
};

// Keeps one focus frame over whichever control holds the keyboard focus.
class FocusFrameKeeper : public QObject {
public:
    using QObject::QObject;

    void follow(QWidget* now) {
        if (frame_ == nullptr && now != nullptr && now->parentWidget() != nullptr)
            frame_ = new FocusFrame(now->parentWidget());
        if (frame_ != nullptr)
            frame_->follow(now);
    }

private:
    // Goes with the window it was last laid into; a new one is made for the next focus.
    QPointer<FocusFrame> frame_;
};

} // namespace

QColor FocusFrameColour(const QColor& background) {
    const QColor black(Qt::black), white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

ProgramStyle::ProgramStyle() = default;

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    if (element == PE_FrameFocusRect) {
        // A grid's current cell gets the frame inside the cell; every other control has the focus
        // frame laid over it, so its own focus rectangle is not drawn.
        if (qobject_cast<const QAbstractItemView*>(widget) != nullptr)
            DrawFocusFrame(painter, option->rect, BackgroundOf(option, widget, QPalette::Base));
        return;
    }
    if (!DrawControlWithoutFocus(
            option, [&](const QStyleOption* o) { QProxyStyle::drawPrimitive(element, o, painter, widget); }))
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ProgramStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    if (!DrawControlWithoutFocus(option,
                                 [&](const QStyleOption* o) { QProxyStyle::drawControl(element, o, painter, widget); }))
        QProxyStyle::drawControl(element, option, painter, widget);
}

void ProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                      const QWidget* widget) const {
    if (!DrawControlWithoutFocus(option, [&](const QStyleOption* o) {
            QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(o), painter, widget);
        }))
        QProxyStyle::drawComplexControl(control, option, painter, widget);
}

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay)
        return 0; // hints show at once
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void InstallProgramStyle(QApplication& app) {
    if (dynamic_cast<ProgramStyle*>(QApplication::style()) != nullptr)
        return;
    QApplication::setStyle(new ProgramStyle);
    auto* keeper = new DisabledTextKeeper(&app);
    app.installEventFilter(keeper);
    keeper->repair();

    auto* frames = new FocusFrameKeeper(&app);
    QObject::connect(&app, &QApplication::focusChanged, frames,
                     [frames](QWidget*, QWidget* now) { frames->follow(now); });

    QFont font = QToolTip::font();
    font.setPointSize(18);
    QToolTip::setFont(font);
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipText, Qt::blue);
    QToolTip::setPalette(p);
    app.installEventFilter(new HintDuration(&app));
    PressFocusedButtonsOnEnterEverywhere(app);
}

} // namespace zg
