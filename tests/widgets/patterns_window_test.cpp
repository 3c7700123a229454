// SPDX-License-Identifier: GPL-3.0-or-later
// The patterns window on real widgets: "Wzorce losowań" opens it on the main window's range, a tab's
// table and figures, and "Zapisz" writes the bytes of zentagrafo-cli patterns for the same range.
#include "analysis/PatternsWindow.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "app/cli/Commands.h"
#include "support/CliRun.h"
#include "support/WidgetSupport.h"

#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

using namespace zg;
using namespace zg::test;

class PatternsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheRangeAndSavesTheCommandsBytes();
};

// The March draws with draw 6 holding 41 twice: skipped, and draw 7 has no counted previous draw.
// Draws 2..12 repeat 20 numbers from the previous draw in 2, 4, 8 and 12; 18 in 3, 5 and 9 (3 and 7
// come and go); 17 in 10 and 19 in 11 (15 instead of 60 in draw 10).
void PatternsWindowTest::opensOnTheRangeAndSavesTheCommandsBytes() {
    ProgramFolder folder;
    std::string bytes = MarchDatabaseBytes();
    bytes.replace(bytes.find("6 2008 3 6 41 42"), 16, "6 2008 3 6 41 41");
    WriteBytes(folder.file("zentag.wyn").toStdString(), bytes);
    ProgramWindows windows = CreateProgramWindows();
    MainWindow& main = *windows.main;
    main.show();
    auto* button = Find<QToolButton>(&main, "patternsButton");
    QVERIFY(button->isEnabled() && !button->icon().isNull() && !button->toolTip().isEmpty());
    QCOMPARE(button->accessibleName(), QStringLiteral("Wzorce losowań"));
    QCOMPARE(button->size(), Find<QToolButton>(&main, "numbersButton")->size());
    Type(&main, "rangeFromEdit", QStringLiteral("2"));
    Enter(&main, "rangeFromEdit");
    Click(&main, "patternsButton");
    PatternsWindow* w = windows.patterns.get();
    QVERIFY(w->isVisible() && !w->isModal());
    QCOMPARE(Text(w, "headingLabel"),
             QStringLiteral("Wzorce w losowaniach 2 – 12 (11 losowań, 02.03.2008 – 12.03.2008; pominięte losowania "
                            "z powtórzoną liczbą lub liczbą spoza 1–80: 1)"));
    QCOMPARE(w->tabs()->count(), 6);
    QCOMPARE(w->tabs()->tabText(PatternsWindow::RepeatedTab), QStringLiteral("Powtórzone z poprzedniego"));

    w->setDecimalSeparator(',');
    w->tabs()->setCurrentIndex(PatternsWindow::RepeatedTab);
    QTableWidget* table = w->table(PatternsWindow::RepeatedTab);
    QCOMPARE(table->rowCount(), 21);
    const auto row = [table](int r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        return cells.join(QLatin1Char(';'));
    };
    QCOMPARE(row(5), QStringLiteral("5;5;0;2,10")); // 9 C(20,5) C(60,15) / C(80,20)
    QCOMPARE(row(17), QStringLiteral("17;17;1;0,00"));
    QCOMPARE(row(18), QStringLiteral("18;18;3;0,00"));
    QCOMPARE(row(20), QStringLiteral("20;20;4;0,00"));
    QCOMPARE(Text(w, "figuresLine4"),
             QStringLiteral("Średnio: 18,89 (sam przypadek: 5,00); odchylenie: 1,10 (sam przypadek: 1,69)"));

    Dialogs::QueueFileName(folder.file(QStringLiteral("TXT/wzorce")));
    Click(w, "saveButton");
    QCOMPARE(Dialogs::History().at(0).text, QStringLiteral("WZORCE.0001.txt"));
    const std::string cliOut = folder.file(QStringLiteral("cli.txt")).toStdString();
    QCOMPARE(cli::RunCli({"patterns", folder.path().toStdString(), "--range", "2:12", "--decimal", ",", cliOut}), 0);
    QVERIFY(ReadBytes(folder.file(QStringLiteral("TXT/wzorce.txt")).toStdString()) == ReadBytes(cliOut));

    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(PatternsWindowTest)
#include "patterns_window_test.moc"
