// SPDX-License-Identifier: GPL-3.0-or-later
// Every window under a dark desktop palette: the text of every visible button, label, tick box,
// tab and field reads against what is painted behind it (WCAG 2.x contrast), enabled and disabled.
#include "analysis/ChartsWindow.h"
#include "app/MainWindow.h"
#include "database/DrawManager.h"
#include "database/ImportDialog.h"
#include "sets/SetEditor.h"
#include "support/WidgetSupport.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"
#include "ui/ProgramStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The colour that covers most of `area` of the window's picture: the background of a text.
QColor Behind(const QImage& picture, const QRect& area) {
    std::map<QRgb, int> count;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++count[picture.pixel(x, y) | 0xFF000000u];
    return QColor::fromRgb(
        std::max_element(count.begin(), count.end(), [](auto& a, auto& b) { return a.second < b.second; })->first);
}

// The failures of the visible controls of `top` as it is shown now.
QStringList Failures(QWidget* top) {
    QStringList failures;
    const QImage picture = top->grab().toImage();
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->window() != top)
            continue;
        w->ensurePolished();
        const QPalette& p = w->palette();
        const QRect area(w->mapTo(top, QPoint(0, 0)), w->size());
        const QString name = w->objectName() + QLatin1Char(' ') + QLatin1String(w->metaObject()->className());
        // Enabled text at least 4.5:1; disabled text at least 3:1 and less than the enabled text.
        const auto check = [&](const QString& what, const QColor& back, QPalette::ColorRole text,
                               const QColor& offBack) {
            const QColor on = p.color(QPalette::Active, text), off = p.color(QPalette::Disabled, text);
            if (Contrast(on, back) < 4.5 || Contrast(off, offBack) < 3 || Contrast(off, offBack) >= Contrast(on, back))
                failures << QStringLiteral("%1: %2 on %3, disabled %4").arg(what, on.name(), back.name(), off.name());
        };
        const auto pair = [&](QPalette::ColorRole back, QPalette::ColorRole text) {
            check(name, p.color(QPalette::Active, back), text, p.color(QPalette::Disabled, back));
        };
        const auto painted = [&](const QString& what, const QRect& where) {
            const QColor behind = Behind(picture, where);
            check(what, behind, QPalette::WindowText, behind);
        };
        if (w->inherits("QPushButton") || w->inherits("QToolButton")) {
            pair(QPalette::Button, QPalette::ButtonText);
        } else if (w->inherits("QCheckBox") || w->inherits("QRadioButton")) {
            if (!static_cast<QAbstractButton*>(w)->text().isEmpty())
                painted(name, area);
            // The box and its mark draw with the field roles.
            if (Contrast(p.color(QPalette::Active, QPalette::Text), p.color(QPalette::Active, QPalette::Base)) < 3)
                failures << name + QStringLiteral(": indicator");
        } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            painted(name, area);
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                painted(name + QLatin1Char(' ') + tabs->tabText(i), tabs->tabRect(i).translated(area.topLeft()));
        } else if (w->inherits("QLineEdit") || w->inherits("QPlainTextEdit") || w->inherits("QListView")) {
            pair(QPalette::Base, QPalette::Text);
        }
    }
    return failures;
}

const std::string ExtraNumbers = "01.10.1996;1;3;6;9;12;15;18;21;24;27;30;33;36;39;42;45;48;51;54;57;60\n";

// A window as a user sees it: after a search, a ticked number, a choice of the numbers to take.
using MakeWindow = QWidget* (*)();

} // namespace

Q_DECLARE_METATYPE(MakeWindow)

class DarkPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallProgramStyle(*qApp);
        QPalette dark;
        const std::pair<QPalette::ColorRole, QRgb> colours[] = {
            {QPalette::Window, 0x2b2b2b}, {QPalette::WindowText, 0xeeeeee}, {QPalette::Base, 0x1e1e1e},
            {QPalette::Text, 0xeeeeee},   {QPalette::Button, 0x3c3c3c},     {QPalette::ButtonText, 0xeeeeee}};
        for (const auto& [role, colour] : colours)
            dark.setColor(role, QColor(colour));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f7f7f));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f7f7f));
        QApplication::setPalette(dark);
    }

    void everyControlReads_data() {
        QTest::addColumn<MakeWindow>("make");
        QTest::newRow("main") << +[]() -> QWidget* {
            auto* w = new MainWindow;
            w->applyConfirmedSet(MakeSet({1, 2, 3}));
            Click(w, "searchButton");
            return w;
        };
        QTest::newRow("draw management") << +[]() -> QWidget* {
            auto* w = new DrawManager;
            w->fillDrawGrid(nullptr, nullptr);
            w->tickNumber(5);
            return w;
        };
        QTest::newRow("import summary") << +[]() -> QWidget* {
            static const ImportedResults results = ReadResultsFile(ExtraNumbers);
            auto* w = new ImportDialog(results, QStringLiteral("wyniki.csv"), AllDraws(), true, false);
            w->setReread([](TakeNumbers take) { return std::optional(ReadResultsFile(ExtraNumbers, take)); });
            return w;
        };
        QTest::newRow("set editor") << +[]() -> QWidget* { return new SetEditor; };
        QTest::newRow("ZENTAG") << +[]() -> QWidget* { return new ZentagWindow; };
        QTest::newRow("calendar") << +[]() -> QWidget* { return new CalendarWindow; };
        QTest::newRow("about") << +[]() -> QWidget* { return new AboutWindow; };
        QTest::newRow("help") << +[]() -> QWidget* {
            auto* w = new HelpWindow;
            w->showStart();
            return w;
        };
        QTest::newRow("charts") << +[]() -> QWidget* {
            auto* w = new ChartsWindow;
            w->showStatistics(ChartInputs{{AllDraws(), &AllDrawMasks(), MakeSet({1, 2, 3}), 1, 300, 2, 3}, {}});
            return w;
        };
    }

    void everyControlReads() {
        QFETCH(MakeWindow, make);
        ProgramFolder folder;
        FillDraws(300);
        SetDrawNumbers(290, {1, 2, 3});
        const std::unique_ptr<QWidget> window(make());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QStringList failures = Failures(window.get());
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
            for (int t = 1; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                failures += Failures(window.get());
            }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "dark_palette_test.moc"
