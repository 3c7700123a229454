// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard in the windows: the Tab order, and a focus frame that stands out (WCAG 1.4.11:
// 3:1 against what the same pixels show without the focus) under the default and a dark palette.
#include "analysis/ChartsWindow.h"
#include "analysis/NumbersWindow.h"
#include "app/MainWindow.h"
#include "database/DrawManager.h"
#include "sets/SetEditor.h"
#include "support/WidgetSupport.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "ui/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/ProgramLook.h"
#include "ui/ProgramStyle.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>

#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

using MakeWindow = QWidget* (*)();

// The main window after a search that found draws, with every button enabled.
bool ShowSearched(MainWindow& w) {
    FillDraws(300);
    SetDrawNumbers(290, {1, 2, 3});
    QObject::connect(&w, &MainWindow::calendarRequested, &w, [] {});
    QObject::connect(&w, &MainWindow::chartsRequested, &w, [] {});
    QObject::connect(&w, &MainWindow::zentagTableRequested, &w, [] {});
    w.show();
    w.activateWindow();
    w.applyConfirmedSet(MakeSet({1, 2, 3}));
    Click(&w, "searchButton");
    return QTest::qWaitForWindowActive(&w);
}

} // namespace

Q_DECLARE_METATYPE(MakeWindow)

class KeyboardFocusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramStyle(*qApp); }

    void mainWindowTabOrder() {
        ProgramFolder folder;
        MainWindow w;
        QVERIFY(ShowSearched(w));
        QStringList order;
        for (int i = 0; i < 20; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order.join(QLatin1Char(' ')),
                 QStringLiteral("searchButton rangePresetsButton rangeFromEdit rangeToEdit manageDrawsButton "
                                "setEditorButton zentagButton zentagOffsetUp zentagOffsetDown calendarButton "
                                "hitsFromEdit hitsToEdit saveButton chartsButton numbersButton patternsButton "
                                "resultGrid aboutButton closeButton searchButton"));
    }

    // The 80 numbers are one Tab stop; the arrows move in the grid (not past its edges), Space toggles.
    void numberGridKeys_data() {
        QTest::addColumn<bool>("drawManager");
        QTest::newRow("set editor, 8 rows of 10") << false;
        QTest::newRow("draw management, 4 rows of 20") << true;
    }

    void numberGridKeys() {
        QFETCH(bool, drawManager);
        ProgramFolder folder;
        FillDraws(30);
        std::unique_ptr<QWidget> w(drawManager ? static_cast<QWidget*>(new DrawManager) : new SetEditor);
        const char* prefix = drawManager ? "numberBox" : "numberButton";
        const auto cell = [&](int n) {
            return Find<QAbstractButton>(w.get(), qPrintable(prefix + QString::number(n)));
        };
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        cell(2)->setFocus(); // the cell before the grid's one Tab stop, reached by Shift+Tab from the first
        QTest::keyClick(cell(2), Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), cell(1));
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Right})
            QTest::keyClick(QApplication::focusWidget(), key);
        const int columns = drawManager ? 20 : 10;
        QCOMPARE(QApplication::focusWidget(), cell(columns + 2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(cell(columns + 2)->isChecked());
        QAccessibleInterface* chosen = QAccessible::queryAccessibleInterface(cell(columns + 2));
        QCOMPARE(chosen->text(QAccessible::Name), QString::number(columns + 2));
        QVERIFY(chosen->state().checked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // leaves the grid
        QVERIFY(!QApplication::focusWidget()->objectName().startsWith(QLatin1String(prefix)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab); // comes back to the same number
        QCOMPARE(QApplication::focusWidget(), cell(columns + 2));
    }

    // Enter on the focused floppy-disk button asks where to export, not "OK" of the draw edit.
    void enterPressesTheFocusedExportButton() {
        ProgramFolder folder;
        FillDraws(30);
        DrawManager w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Find<QWidget>(&w, "exportButton")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Dialogs::History()[0].text, QStringLiteral("ZENTAG.0001.txt"));
    }

    void focusFrameStandsOut_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<MakeWindow>("make");
        QTest::addColumn<QString>("control");
        const MakeWindow main = [] {
            auto* w = new MainWindow;
            ShowSearched(*w);
            return static_cast<QWidget*>(w);
        };
        const MakeWindow editor = [] { return static_cast<QWidget*>(new SetEditor); };
        const MakeWindow draws = [] {
            auto* w = new DrawManager;
            w->fillDrawGrid(nullptr, nullptr);
            return static_cast<QWidget*>(w);
        };
        const MakeWindow zentag = [] { return static_cast<QWidget*>(new ZentagWindow); };
        const MakeWindow calendar = [] { return static_cast<QWidget*>(new CalendarWindow); };
        const MakeWindow numbers = [] {
            auto* w = new NumbersWindow;
            w->showRange(1, 300, MakeSet({1, 2, 3}));
            return static_cast<QWidget*>(w);
        };
        const MakeWindow charts = [] {
            auto* w = new ChartsWindow;
            w->showStatistics(ChartInputs{{AllDraws(), &AllDrawMasks(), MakeSet({1, 2, 3}), 1, 300, 2, 3}, {}});
            return static_cast<QWidget*>(w);
        };
        const MakeWindow about = [] { return static_cast<QWidget*>(new AboutWindow); };
        // One control of each kind in each window, named by their object names.
        const std::pair<MakeWindow, const char*> windows[] = {
            {main, "searchButton rangePresetsButton rangeFromEdit resultGrid"},
            {editor, "numberButton1 confirmButton drawNumberEdit"},
            {draws, "numberBox1 drawGrid exportButton drawDateField"},
            {zentag, "filterBox1 zentagGrid"},
            {calendar, "showAllBox yearEdit"},
            {numbers, "lastDrawsField numbersGrid saveButton"},
            {charts, "qt_tabwidget_tabbar saveImageButton"},
            {about, "webLink"}};
        for (bool dark : {false, true})
            for (const auto& [make, controls] : windows)
                for (const QString& control : QString::fromLatin1(controls).split(QLatin1Char(' ')))
                    QTest::addRow("%s %s", dark ? "dark" : "default", qPrintable(control)) << dark << make << control;
    }

    // The control's frame, FocusFrameWidth wide inside its rectangle, reaches 3:1 against the
    // same pixels without the focus, in at least 90% of its pixels.
    void focusFrameStandsOut() {
        QFETCH(bool, dark);
        QFETCH(MakeWindow, make);
        QFETCH(QString, control);
        const QPalette before = QApplication::palette();
        if (dark) {
            QPalette p(QColor(0x3c3c3c), QColor(0x2b2b2b));
            p.setColor(QPalette::Base, QColor(0x1e1e1e));
            QApplication::setPalette(p);
        }
        ProgramFolder folder;
        FillDraws(300);
        SetDrawNumbers(290, {1, 2, 3});
        const std::unique_ptr<QWidget> w(make());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QWidget* target = Find<QWidget>(w.get(), qPrintable(control));
        if (QApplication::focusWidget() != nullptr)
            QApplication::focusWidget()->clearFocus();
        QApplication::processEvents();
        const QImage plain = w->grab().toImage();
        for (int i = 0; i < 200 && QApplication::focusWidget() != target; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), target);
        QApplication::processEvents();
        const QImage focused = w->grab().toImage();
        const QRect r(target->mapTo(w.get(), QPoint(0, 0)), target->size());
        int ring = 0, standing = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (!r.adjusted(FocusFrameWidth, FocusFrameWidth, -FocusFrameWidth, -FocusFrameWidth).contains(x, y)) {
                    ++ring;
                    standing += ContrastRatio(plain.pixelColor(x, y), focused.pixelColor(x, y)) >= 3.0;
                }
        QApplication::setPalette(before);
        QVERIFY2(standing * 10 >= ring * 9, qPrintable(QStringLiteral("%1 of %2").arg(standing).arg(ring)));
    }
};

QTEST_MAIN(KeyboardFocusTest)
#include "keyboard_focus_test.moc"
