// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers table on real widgets: "Tabela liczb" opens it on the main window's range, it
// follows a change of the range (typed, or by an arrow with one computation), a click on a
// heading sorts it, and "Zapisz" writes the report.
#include "analysis/NumberTableReport.h"
#include "analysis/NumbersWindow.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "support/CliRun.h"
#include "support/ReportBytes.h"
#include "support/WidgetSupport.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

using namespace zg;
using namespace zg::test;

class NumbersWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheRangeSortsAndSaves();
    void keepsTheAskedLastAcrossRanges();
    void firstClickSortsTheWayThatCounts_data();
    void firstClickSortsTheWayThatCounts();
};

namespace {

QString Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

// Steps a spin field of the main window by its upper or lower arrow.
void ClickArrow(QWidget* main, const char* arrows, bool up) {
    const QList<QToolButton*> b = Find<QWidget>(main, arrows)->findChildren<QToolButton*>();
    QTest::mouseClick((b[0]->y() < b[1]->y()) == up ? b[0] : b[1], Qt::LeftButton);
}

void ClickHeading(QTableView* grid, int column) {
    QHeaderView* h = grid->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(column) + 5, 5));
}

} // namespace

void NumbersWindowTest::opensOnTheRangeSortsAndSaves() {
    ProgramFolder folder;
    WriteBytes(folder.file("zentag.wyn").toStdString(), MarchDatabaseBytes()); // 3, 7 in 3, 4, 9; 15 in 10
    ProgramWindows windows = CreateProgramWindows();
    MainWindow& main = *windows.main;
    main.show();
    QVERIFY(Enabled(&main, "numbersButton")); // draws, and no set needed
    Type(&main, "rangeFromEdit", QStringLiteral("2"));
    Enter(&main, "rangeFromEdit");
    Click(&main, "numbersButton");
    NumbersWindow* w = windows.numbers.get();
    QVERIFY(w->isVisible() && !w->isModal());
    QCOMPARE(Text(w, "headingLabel"),
             QStringLiteral("Liczby w losowaniach 2 – 12 (11 losowań, 02.03.2008 – 12.03.2008)"));
    QCOMPARE(Find<QWidget>(w, "headingLabel")->accessibleName(), Text(w, "headingLabel"));
    QCOMPARE(Text(w, "equalChanceSentence"), QStringLiteral("W każdym losowaniu każda liczba ma tę samą szansę: 25% "
                                                            "(20 z 80), niezależnie od zaległości i dotychczasowej "
                                                            "częstości."));

    // The range changes in the main window: the table follows.
    Type(&main, "rangeToEdit", QStringLiteral("10"));
    Enter(&main, "rangeToEdit");
    QCOMPARE(Text(w, "headingLabel"),
             QStringLiteral("Liczby w losowaniach 2 – 10 (9 losowań, 02.03.2008 – 10.03.2008)"));
    // An arrow follows too, computing the table once, as one showing of a range does.
    QSignalSpy resets(w->grid()->model(), &QAbstractItemModel::modelReset);
    w->showRange(2, 10, main.numberSet());
    const qsizetype once = resets.count();
    ClickArrow(&main, "rangeToArrows", true);
    QCOMPARE(resets.count(), 2 * once);
    QCOMPARE(Text(w, "headingLabel"),
             QStringLiteral("Liczby w losowaniach 2 – 11 (10 losowań, 02.03.2008 – 11.03.2008)"));
    ClickArrow(&main, "rangeToArrows", false);
    w->setDecimalSeparator(',');

    // "Ostatnio (nr losowania)" descending: 15 and 41..59 came last in draw 10; empty cells stay last.
    QTableView* grid = w->grid();
    ClickHeading(grid, NumberColumnLastDraw);
    ClickHeading(grid, NumberColumnLastDraw);
    QCOMPARE(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(Cell(grid, 0, NumberColumnNumber), QStringLiteral("15"));
    QCOMPARE(Cell(grid, 1, NumberColumnNumber), QStringLiteral("41"));
    QCOMPARE(Cell(grid, 79, NumberColumnNumber), QStringLiteral("80"));
    QCOMPARE(Cell(grid, 79, NumberColumnLastDraw), QString());

    QFile(folder.file(QStringLiteral("TXT/ZENTAG.0001.txt"))).open(QIODevice::WriteOnly); // not counted
    Dialogs::QueueFileName(folder.file(QStringLiteral("TXT/liczby")));
    Click(w, "saveButton");
    const QList<Dialogs::Shown>& shown = Dialogs::History();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QStringLiteral("LICZBY.0001.txt"));
    QCOMPARE(shown[1].caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
    const std::string bytes = ReadBytes(folder.file(QStringLiteral("TXT/liczby.txt")).toStdString());
    const std::string head = ReportHeaderBytes +
                             " Zakres losowa\xF1: 2(02.03.08) - 10(10.03.08)\r\n\r\n Ostatnich losowa\xF1: 9\r\n\r\n"
                             "Liczba;Wyst\xB9pienia;%;Ostatnio (nr losowania);Data;Zaleg\xB3o\x9C\xE6;\x8Crednia "
                             "przerwa;Najd\xB3u\xBFsza przerwa;Szansa takiej zaleg\xB3o\x9C"
                             "ci;W ostatnich 9;Ocena;\r\n"
                             "01;0;0,00;;;9;;9;7,5%;0;;\r\n02;0;0,00;;;9;;9;7,5%;0;;\r\n"
                             "03;3;33,33;9;09.03.2008;1;1,67;4;75%;3;;\r\n";
    QCOMPARE(bytes.substr(0, head.size()), head);
    QVERIFY(
        bytes.find("\r\n80;0;0,00;;;9;;9;7,5%;0;;\r\n\r\nNajd\xB3u\xBFsza zaleg\xB3o\x9C\xE6: 9 losowa\xF1 (liczby: "
                   "01, 02, 04, 05,") != std::string::npos);
    QVERIFY(bytes.ends_with("\r\nW ostatnich 9 losowaniach poza przedzia\xB3"
                            "em 95% (0\x96"
                            "5): 20 liczb; sam przypadek daje \x9Crednio 0,8.\r\n\r\n" +
                            ReportFooterBytes));

    // A range the wrong way round: no table, the main window's message instead of the heading.
    Type(&main, "rangeFromEdit", QStringLiteral("11"));
    Enter(&main, "rangeFromEdit");
    QCOMPARE(Text(w, "headingLabel"), QStringLiteral("Nieprawidłowo zadany zakres losowań !!"));
    QVERIFY(grid->model()->rowCount() == 0 && !Enabled(w, "saveButton"));

    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

// "Ostatnich losowań" keeps the N asked (100 by default) and shows min(N, n) for each range, as
// zentagrafo-cli numbers --last N takes it: a short range on the way does not lower it.
void NumbersWindowTest::keepsTheAskedLastAcrossRanges() {
    ProgramFolder folder;
    FillDraws(5000);
    NumbersWindow w;
    auto* field = Find<QSpinBox>(&w, "lastDrawsField");
    const auto shows = [&](std::int32_t from, std::int32_t to, int last) {
        w.showRange(from, to, NumberSetData{});
        return field->value() == last && w.table() && w.table()->last == last;
    };
    QVERIFY(shows(1, 1, 1));
    QVERIFY(shows(1, 1200, 100));
    QVERIFY(shows(4990, 5000, 11));
    QVERIFY(shows(4989, 5000, 12));
    field->setValue(7); // as typed by the user
    QVERIFY(shows(1, 3, 3));
    QVERIFY(shows(1, 1200, 7));
}

// The first click on a column of counts or gaps puts the largest first, on the chance of the gap
// the smallest; the second click turns the order. Empty cells stay last and ties in number order.
void NumbersWindowTest::firstClickSortsTheWayThatCounts_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("largestFirst");
    QTest::newRow("Wystąpienia") << int(NumberColumnCount) << true;
    QTest::newRow("Zaległość") << int(NumberColumnCurrentGap) << true;
    QTest::newRow("Średnia przerwa") << int(NumberColumnMeanGap) << true;
    QTest::newRow("Najdłuższa przerwa") << int(NumberColumnLongestGap) << true;
    QTest::newRow("W ostatnich N") << int(NumberColumnCountLast) << true;
    QTest::newRow("Szansa takiej zaległości") << int(NumberColumnChance) << false;
}

void NumbersWindowTest::firstClickSortsTheWayThatCounts() {
    QFETCH(int, column);
    QFETCH(bool, largestFirst);
    ProgramFolder folder;
    FillDraws(40); // 1..40 never drawn: no mean gap
    SetDrawNumbers(5, {3, 7});
    SetDrawNumbers(30, {3, 9});
    NumbersWindow w;
    w.showRange(1, 40, NumberSetData{});
    w.show();
    QTableView* grid = w.grid();
    for (const bool descending : {largestFirst, !largestFirst}) {
        ClickHeading(grid, column);
        QCOMPARE(grid->horizontalHeader()->sortIndicatorOrder(), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        for (int r = 1; r < 80; ++r) {
            const QVariant a = grid->model()->index(r - 1, column).data(Qt::UserRole);
            const QVariant b = grid->model()->index(r, column).data(Qt::UserRole);
            QVERIFY(a.isValid() || !b.isValid());
            const bool tie = a.isValid() == b.isValid() && (!a.isValid() || a.toDouble() == b.toDouble());
            if (tie)
                QVERIFY(Cell(grid, r - 1, NumberColumnNumber) < Cell(grid, r, NumberColumnNumber));
            else if (b.isValid())
                QVERIFY(descending ? a.toDouble() > b.toDouble() : a.toDouble() < b.toDouble());
        }
    }
}

QTEST_MAIN(NumbersWindowTest)
#include "numbers_window_test.moc"
