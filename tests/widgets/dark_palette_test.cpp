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
#include "ui/ProgramStyle.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>

#include <cmath>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

double Luminance(const QColor& c) {
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double x = Luminance(a), y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The colour that covers most of `area` of the window's picture: the background of a text.
QColor Behind(const QImage& picture, const QRect& area) {
    QHash<QRgb, int> count;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++count[picture.pixel(x, y) | 0xFF000000u];
    QRgb most = 0;
    int best = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > best) {
            best = it.value();
            most = it.key();
        }
    return QColor::fromRgb(most);
}

// Failures as "window/control: what", collected over all windows.
class ContrastCheck {
public:
    void window(QWidget* top) {
        top->show();
        QVERIFY(QTest::qWaitForWindowExposed(top));
        const QImage picture = top->grab().toImage();
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(top) || w->window() != top)
                continue;
            w->ensurePolished();
            const QPalette& p = w->palette();
            const QRect area(w->mapTo(top, QPoint(0, 0)), w->size());
            const QString name = top->objectName() + QLatin1Char('/') + w->objectName() + QLatin1Char(' ') +
                                 QString::fromLatin1(w->metaObject()->className());
            if (qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w)) {
                pair(name, p, QPalette::Button, QPalette::ButtonText);
            } else if (auto* box = qobject_cast<QAbstractButton*>(w);
                       box && (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))) {
                if (!box->text().isEmpty())
                    text(name, p, Behind(picture, area));
                // The box and its mark, drawn with the field roles.
                if (Contrast(p.color(QPalette::Active, QPalette::Text), p.color(QPalette::Active, QPalette::Base)) < 3)
                    failures << name + QStringLiteral(": indicator");
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                if (!label->text().isEmpty())
                    text(name, p, Behind(picture, area));
            } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
                for (int i = 0; i < tabs->count(); ++i)
                    text(name + QLatin1Char(' ') + tabs->tabText(i), p,
                         Behind(picture, tabs->tabRect(i).translated(area.topLeft())));
            } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QListView*>(w) ||
                       qobject_cast<QAbstractSpinBox*>(w)) {
                pair(name, p, QPalette::Base, QPalette::Text);
            }
        }
        top->hide();
    }

    QStringList failures;

private:
    void check(const QString& name, const QColor& background, const QColor& enabled, const QColor& disabled,
               const QColor& disabledBackground) {
        const double on = Contrast(enabled, background), off = Contrast(disabled, disabledBackground);
        if (on < 4.5)
            failures << QStringLiteral("%1: %2 on %3 is %4:1").arg(name, enabled.name(), background.name()).arg(on);
        if (off < 3 || off >= on)
            failures << QStringLiteral("%1: disabled %2 on %3 is %4:1 (enabled %5:1)")
                            .arg(name, disabled.name(), background.name())
                            .arg(off)
                            .arg(on);
    }
    void pair(const QString& name, const QPalette& p, QPalette::ColorRole background, QPalette::ColorRole text) {
        check(name, p.color(QPalette::Active, background), p.color(QPalette::Active, text),
              p.color(QPalette::Disabled, text), p.color(QPalette::Disabled, background));
    }
    void text(const QString& name, const QPalette& p, const QColor& background) {
        check(name, background, p.color(QPalette::Active, QPalette::WindowText),
              p.color(QPalette::Disabled, QPalette::WindowText), background);
    }
};

const std::string ExtraNumbers = "01.10.1996;1;3;6;9;12;15;18;21;24;27;30;33;36;39;42;45;48;51;54;57;60\n";

} // namespace

class DarkPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallProgramStyle(*static_cast<QApplication*>(QCoreApplication::instance()));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x2b2b2b));
        dark.setColor(QPalette::WindowText, QColor(0xeeeeee));
        dark.setColor(QPalette::Base, QColor(0x1e1e1e));
        dark.setColor(QPalette::Text, QColor(0xeeeeee));
        dark.setColor(QPalette::Button, QColor(0x3c3c3c));
        dark.setColor(QPalette::ButtonText, QColor(0xeeeeee));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f7f7f));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f7f7f));
        QApplication::setPalette(dark);
    }

    void everyWindowReadsUnderADarkPalette() {
        ProgramFolder folder;
        FillDraws(300);
        SetDrawNumbers(290, {1, 2, 3});
        SetNumberSet({1, 2, 3});
        ContrastCheck check;

        MainWindow main;
        main.applyConfirmedSet();
        Click(&main, "searchButton");
        check.window(&main);

        DrawManager draws;
        draws.fillDrawGrid(nullptr, nullptr);
        draws.tickNumber(5);
        check.window(&draws);

        const ImportedResults results = ReadResultsFile(ExtraNumbers);
        ImportDialog import(results, QStringLiteral("wyniki.csv"), AllDraws(), true, false);
        import.setReread([](TakeNumbers take) { return std::optional(ReadResultsFile(ExtraNumbers, take));
    });
    check.window(&import);

    SetEditor editor;
    check.window(&editor);
    ZentagWindow zentag;
    check.window(&zentag);
    CalendarWindow calendar;
    check.window(&calendar);
    AboutWindow about;
    check.window(&about);

    ChartsWindow charts;
    ChartInputs in{AllDraws(), &AllDrawMasks(), NumberSet, 1, 300, 2, 3, {}};
    charts.showStatistics(in);
    for (int t = 0; t < ChartsWindow::TabCount; ++t) {
        charts.tabs()->setCurrentIndex(t);
        check.window(&charts);
    }

    for (const QString& failure : check.failures)
        qWarning("%s", qPrintable(failure));
    QVERIFY(check.failures.isEmpty());
}
}
;

QTEST_MAIN(DarkPaletteTest)
#include "dark_palette_test.moc"
