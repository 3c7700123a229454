// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpKey.h"

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace zg {

namespace {

// The windows by their object names; a window that is not here (a message, the About window)
// takes its caption's section or its owner's.
constexpr WindowHelpSection Sections[] = {
    {"mainWindow", "Okno główne"},
    {"SetEditor", "Zestaw liczb i pliki zestawów"},
    {"zentagWindow", "Tabelka ZENTAG"},
    {"calendarWindow", "Mapa losowań"},
    {"chartsWindow", "Wykresy"},
    {"numbersWindow", "Tabela liczb"},
    {"patternsWindow", "Wzorce losowań"},
    {"drawManager", "Zarządzanie losowaniami"},
    {"importDialog", "Pierwsze uruchomienie i import wyników"},
    {"backupsDialog", "Kopie bazy i przywracanie"},
};

} // namespace

std::span<const WindowHelpSection> WindowHelpSections() {
    return Sections;
}

QString HelpSectionOf(const QWidget* window, const QStringList& sections) {
    for (const QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (!w->isWindow())
            continue;
        for (const WindowHelpSection& s : Sections)
            if (w->objectName() == QLatin1String(s.objectName))
                return QString::fromUtf8(s.heading);
        const QString caption = w->windowTitle().trimmed();
        if (sections.contains(caption))
            return caption;
    }
    return {};
}

HelpKey::HelpKey(HelpWindow& help) : help_(help) {
    qApp->installEventFilter(this);
}

HelpKey::~HelpKey() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    // The window the key was pressed in; a menu open in it is closed, and counts as its window.
    QWidget* window = static_cast<QWidget*>(watched)->window();
    while (window != nullptr && window->windowType() == Qt::Popup) {
        window->close();
        window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
    }
    if (window == nullptr)
        window = QApplication::activeWindow();
    // F1 in the help window itself changes nothing.
    if (window != &help_)
        help_.showOver(window, HelpSectionOf(window, help_.sections()));
    return true;
}

void ConnectHelpWindow(ProgramWindows& windows) {
    windows.help = std::make_unique<HelpWindow>(windows.main.get());
    windows.helpKey = std::make_unique<HelpKey>(*windows.help);
    HelpWindow* help = windows.help.get();
    if (AboutWindow* about = windows.about.get())
        QObject::connect(about, &AboutWindow::helpRequested, help, [help, about] { help->showOver(about, QString()); });
}

} // namespace zg
