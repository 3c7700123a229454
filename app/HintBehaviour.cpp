#include "app/HintBehaviour.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace zg {

namespace {

constexpr int HintDurationMs = 10000;

// Shows every hint at once (no wake-up delay).
class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

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

} // namespace

void ApplyHintBehaviour(QApplication& app) {
    app.setStyle(new HintStyle(app.style()->name()));
    QFont font = QToolTip::font();
    font.setPointSize(18);
    QToolTip::setFont(font);
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipText, Qt::blue);
    QToolTip::setPalette(p);
    app.installEventFilter(new HintDuration(&app));
}

} // namespace zg
