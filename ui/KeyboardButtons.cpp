// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyboardButtons.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace zg {

bool PressFocusedButtonOnEnter(QWidget* window, QKeyEvent* event, EnterElsewhere elsewhere) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // The window's own focus child: the key came to this window, so that is where the focus is.
    auto* button = qobject_cast<QAbstractButton*>(window->focusWidget());
    const bool press = button != nullptr && !button->isCheckable() && button->isEnabled() && button->isVisible();
    if (press)
        button->click();
    else if (elsewhere == EnterElsewhere::PassOn)
        return false;
    event->accept();
    return true;
}

namespace {

class EnterOnFocusedButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType() && watched == QApplication::focusWidget())
            return PressFocusedButtonOnEnter(static_cast<QWidget*>(watched)->window(), static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void PressFocusedButtonsOnEnterEverywhere(QApplication& app) {
    app.installEventFilter(new EnterOnFocusedButton(&app));
}

} // namespace zg
