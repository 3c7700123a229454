#include "ui/ProgramStyle.h"

#include "ui/ProgramLook.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyleOption>

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

} // namespace

QColor FocusFrameColour(const QColor& background) {
    const QColor black(Qt::black), white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

ProgramStyle::ProgramStyle() = default;

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
    switch (element) {
    case PE_FrameFocusRect:
        // Buttons, tool buttons, tick boxes, radio buttons and grid cells ask for this frame when
        // they hold the focus; the rectangle is theirs (a cell's, the caption's of a tick box).
        DrawFocusFrame(painter, option->rect, BackgroundOf(option, widget, QPalette::Button));
        return;
    case PE_PanelLineEdit:
        // A field draws no focus rectangle of its own: the frame goes over its panel.
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if ((option->state & State_HasFocus) && (option->state & State_Enabled))
            DrawFocusFrame(painter, option->rect, option->palette.color(QPalette::Base));
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void InstallProgramStyle(QApplication& app) {
    QApplication::setStyle(new ProgramStyle);
    auto* keeper = new DisabledTextKeeper(&app);
    app.installEventFilter(keeper);
    keeper->repair();
}

} // namespace zg
