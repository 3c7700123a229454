#pragma once
// Enter on a focused push button presses that button, in every window. Qt presses a focused push
// button on Enter only when it is an "auto default" button inside a dialog; the program's buttons
// are not (Enter elsewhere runs the window's own default action), so each window asks this first.
class QKeyEvent;
class QWidget;

namespace zg {

// When `event` is Enter or Return and the keyboard focus is on an enabled push or tool button of
// `window` that is not checkable (a tick box or toggle keeps the window's default action), clicks
// that button and returns true; otherwise returns false and the window goes on as usual.
bool PressFocusedButtonOnEnter(QWidget* window, const QKeyEvent* event);

} // namespace zg
