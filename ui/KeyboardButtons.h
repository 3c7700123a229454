// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enter on a focused push button presses that button, in every window. Qt presses a focused push
// button on Enter only when it is an "auto default" button inside a dialog; the program's buttons
// are not (Enter elsewhere runs the window's own default action, or nothing), so each window's
// key handler asks this first.
class QApplication;
class QKeyEvent;
class QWidget;

namespace zg {

// What Enter does when no button takes it.
enum class EnterElsewhere {
    PassOn,  // the window goes on with the key (its own default action, a default button)
    Swallow, // nothing: the window has no default button, so Enter on a tick box or a field is lost
};

// When `event` is Enter or Return and the keyboard focus is on an enabled, visible push or tool
// button of `window` that is not checkable (a tick box or toggle never reacts to Enter), clicks
// that button, accepts the event and returns true. Any other Enter is accepted with true under
// EnterElsewhere::Swallow. Otherwise returns false and the window goes on as usual.
bool PressFocusedButtonOnEnter(QWidget* window, QKeyEvent* event, EnterElsewhere elsewhere = EnterElsewhere::PassOn);

// Lets Enter press the focused push or tool button of every window of `app`, dialogs included,
// before the window's own key handling (which may have none, or press its default button instead).
void PressFocusedButtonsOnEnterEverywhere(QApplication& app);

} // namespace zg
