#include "ui/KeyboardButtons.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace zg {

bool PressFocusedButtonOnEnter(QWidget* window, const QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // The window's own focus child: the key came to this window, so that is where the focus is.
    auto* button = qobject_cast<QAbstractButton*>(window->focusWidget());
    if (button == nullptr || button->isCheckable() || !button->isEnabled() || !button->isVisible())
        return false;
    button->click();
    return true;
}

} // namespace zg
