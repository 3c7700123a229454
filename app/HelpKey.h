// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help from every window: F1 opens the manual (the help window) at the section of the window in
// use, over that window, and the About window's "Pomoc" opens it at the manual's start.
#include <QObject>
#include <QString>
#include <QStringList>

#include <span>

class QWidget;

namespace zg {

class HelpWindow;
struct ProgramWindows;

// A window of the program and the heading of the manual's section about it.
struct WindowHelpSection {
    const char* objectName;
    const char* heading;
};
std::span<const WindowHelpSection> WindowHelpSections();

// The heading of the section that explains `window`: by its object name, else by its caption
// when a section bears it, else the section of the window it belongs to (a message over a
// window is explained with that window). Empty when none does: the manual's start.
QString HelpSectionOf(const QWidget* window, const QStringList& sections);

// F1 pressed in any window of the application: `help` shows over that window at its section.
// Installed on the application as long as it lives.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(HelpWindow& help);
    ~HelpKey() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpWindow& help_;
};

// Creates the help window, owned by `windows` and at home over the main window, answers F1 in
// every window and the About window's "Pomoc".
void ConnectHelpWindow(ProgramWindows& windows);

} // namespace zg
