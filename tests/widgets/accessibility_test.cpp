// SPDX-License-Identifier: GPL-3.0-or-later
// Assistive technology on the real windows: every control of the main window, the draw
// management window, the ZENTAG table and the calendar map has an accessible name.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "database/DrawManager.h"
#include "support/WidgetSupport.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"

#include <QAccessible>
#include <QTest>

#include <functional>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

// The controls a person works with: buttons, boxes, fields, lists, grids, groups, and a control
// painted by the program itself (a widget class of its own without children, such as the gauge).
// Plain texts, frames, containers and the toolkit's own scroll bars speak for themselves.
bool IsControl(QAccessibleInterface* iface) {
    switch (iface->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ButtonMenu:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::ProgressBar:
    case QAccessible::Slider:
    case QAccessible::Grouping:
        return true;
    case QAccessible::Client:
        return iface->childCount() == 0 && iface->object() != nullptr &&
               iface->object()->metaObject() != &QWidget::staticMetaObject;
    default:
        return false;
    }
}

// "objectName (role)" of every control below `iface` without a name; table cells excluded (their
// names are their texts, empty for an empty cell).
void Unnamed(QAccessibleInterface* iface, QStringList& out) {
    if (iface == nullptr)
        return;
    const QAccessible::Role role = iface->role();
    if (IsControl(iface) && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* o = iface->object();
        out << QStringLiteral("%1 (%2)").arg(o != nullptr ? o->objectName() : QStringLiteral("?")).arg(role);
    }
    if (role == QAccessible::Table)
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        Unnamed(iface->child(i), out);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasAName_data() {
        QTest::addColumn<int>("window");
        int i = 0;
        for (const char* w : {"mainWindow", "drawManager", "zentagWindow", "calendarWindow"})
            QTest::newRow(w) << i++;
    }

    void everyControlHasAName() {
        QFETCH(int, window);
        ProgramFolder folder;
        FillDraws(40);
        MainWindow main;
        DrawManager draws(&main);
        ZentagWindow zentag(&main);
        CalendarWindow map(&main);
        draws.fillDrawGrid(&main, main.gauge());
        ConnectZentagWindow(main, zentag);
        ConnectCalendarWindow(main, map);
        main.applyConfirmedSet(MakeSet({3, 7, 15}));

        QWidget* const tops[] = {&main, &draws, &zentag, &map};
        QStringList unnamed;
        Unnamed(QAccessible::queryAccessibleInterface(tops[window]), unnamed);
        QCOMPARE(unnamed.join(QStringLiteral(", ")), QString());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
