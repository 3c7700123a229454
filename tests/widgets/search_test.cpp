// SPDX-License-Identifier: GPL-3.0-or-later
// The search and the analysis report, driven through the real main window: "Oblicz", the result
// grid and the numbers strip, the five statistics and their look, the refusals, and the save
// button writing the report.
#include "analysis/ChartsWindow.h"
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/ReportWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tables/CalendarWindow.h"
#include "ui/ProgressGauge.h"

#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTest>

using namespace zg;
using namespace zg::test;

namespace {

// The worked example: draws 101..110 hit 1, 2, 2, 0, 1, 1, 3, 2, 0 and 1 numbers of {1, 2, 3}.
void WorkedExampleDraws() {
    FillDraws(110);
    SetDrawNumbers(101, {1});
    SetDrawNumbers(102, {1, 2});
    SetDrawNumbers(103, {1, 2});
    SetDrawNumbers(105, {1});
    SetDrawNumbers(106, {3});
    SetDrawNumbers(107, {1, 2, 3});
    SetDrawNumbers(108, {2, 3});
    SetDrawNumbers(110, {2});
}

// Sets range and hit bounds by typing, as a user does.
void Parameters(MainWindow& w, int from, int to, int low, int high) {
    Type(&w, "rangeFromEdit", QString::number(from));
    Type(&w, "rangeToEdit", QString::number(to));
    Type(&w, "hitsFromEdit", QString::number(low));
    Type(&w, "hitsToEdit", QString::number(high));
}

// Shows the window with the set confirmed and searches the range with the bounds, as a user does.
void Search(MainWindow& w, int from, int to, int low, int high, std::initializer_list<std::int32_t> set = {1, 2, 3}) {
    w.show();
    w.applyConfirmedSet(MakeSet(set));
    Parameters(w, from, to, low, high);
    Click(&w, "searchButton");
}

QString Cell(MainWindow& w, int row, int column) {
    auto* grid = Find<QTableView>(&w, "resultGrid");
    return grid->model()->index(row, column).data().toString();
}

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void workedExample_data();
    void workedExample();
    void everyDrawQualifies();
    void firstGapCountsFromTheRangeStart();
    void changedDrawsAreSearchedAnew();
    void refusalsComeInOrder();
    void emptyResult();
    void tabLeavesTheResultGrid();
    void parameterChangeEmptiesTheResult();
    void reportBytes();
    void reportProposesFirstFreeName();
    void reportToAFolderThatCannotBeWritten();
    void reportCancelledWritesNothing();
    void reportOnAFullDiskKeepsTheOldReport();
};

// The arrows move the grid's row; Tab leaves the grid for the next control, "Autor".
void SearchTest::tabLeavesTheResultGrid() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    Search(w, 101, 110, 2, 3);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* grid = Find<QTableView>(&w, "resultGrid");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Tab})
        QTest::keyClick(grid, key);
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(&w, "aboutButton"));
    QCOMPARE(grid->currentIndex().row(), 0);
}

void SearchTest::workedExample_data() {
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("average");
    QTest::newRow("comma") << ',' << "2,25 z 3 = 75,00 %";
    QTest::newRow("point") << '.' << "2.25 z 3 = 75.00 %";
}

void SearchTest::workedExample() {
    QFETCH(char, separator);
    QFETCH(QString, average);
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    w.setDecimalSeparator(separator);
    Search(w, 101, 110, 2, 3);

    QCOMPARE(Dialogs::History().size(), 0);
    auto* grid = Find<QTableView>(&w, "resultGrid");
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("         Lp."));
    QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("    Ilość trafionych liczb"));
    const char* expected[4][5] = {
        {"       0001", "            102", "        20.02.2008", "                 2", "               1"},
        {"       0002", "            103", "        21.02.2008", "                 2", "               0"},
        {"       0003", "            107", "        23.02.2008", "                 3", "               3"},
        {"       0004", "            108", "        23.02.2008", "                 2", "               0"},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            QCOMPARE(Cell(w, r, c), QString::fromLatin1(expected[r][c]));

    QCOMPARE(Text(&w, "totalHitsValue"), QStringLiteral("9"));
    QCOMPARE(Text(&w, "averageHitsValue"), average);
    QCOMPARE(Text(&w, "longestGapValue"), QStringLiteral("3 losowań ( 104 - 106 )"));
    QCOMPARE(Text(&w, "currentGapValue"), QStringLiteral("2 losowań"));
    QCOMPARE(Text(&w, "longestSeriesValue"), QStringLiteral("2 losowań ( 102 - 103 )"));
    auto* gap = Find<QLabel>(&w, "longestGapValue");
    QCOMPARE(gap->toolTip(), QStringLiteral("21.02.08 - 22.02.08"));
    QVERIFY(gap->font().underline());
    QVERIFY(!gap->font().bold());
    QCOMPARE(gap->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Find<QLabel>(&w, "longestSeriesValue")->toolTip(), QStringLiteral("20.02.08 - 21.02.08"));

    QCOMPARE(w.foundCount(), 4);
    QCOMPARE(w.foundDraws()->at(1), 102);
    QCOMPARE(w.foundDraws()->at(4), 108);
    QVERIFY(Enabled(&w, "saveButton"));

    // The newest found draw is selected and shown in the strip, its set numbers in yellow.
    QCOMPARE(grid->selectionModel()->currentIndex().row(), 3);
    QVERIFY(w.highlightActive());
    NumbersStripModel* strip = w.stripModel();
    QCOMPARE(strip->cellText(0), QStringLiteral("02"));
    QCOMPARE(strip->cellText(1), QStringLiteral("03"));
    QCOMPARE(strip->cellText(2), QStringLiteral("63"));
    QCOMPARE(strip->cellText(19), QStringLiteral("80"));
    QVERIFY(strip->cellHighlighted(0));
    QVERIFY(strip->cellHighlighted(1));
    QVERIFY(!strip->cellHighlighted(2));
    QCOMPARE(strip->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    QCOMPARE(strip->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 128, 64));

    // Selecting another row shows that draw.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 1)).center());
    QCOMPARE(strip->cellText(0), QStringLiteral("01"));
    QCOMPARE(strip->cellText(1), QStringLiteral("02"));
    QCOMPARE(strip->cellText(2), QStringLiteral("63"));
}

void SearchTest::everyDrawQualifies() {
    ProgramFolder folder;
    FillDraws(3000);
    MainWindow w;
    w.setDecimalSeparator(',');
    Search(w, 1, 3000, 0, 2, {61, 62});
    QCOMPARE(w.resultModel()->rowCount(), 3000);
    QCOMPARE(Cell(w, 2999, 0), QStringLiteral("       3000"));
    QCOMPARE(Cell(w, 2999, 4), QStringLiteral("               0"));
    QCOMPARE(Text(&w, "totalHitsValue"), QStringLiteral("6000"));
    QCOMPARE(Text(&w, "averageHitsValue"), QStringLiteral("2,00 z 2 = 100,00 %"));
    QCOMPARE(Text(&w, "longestGapValue"), QStringLiteral("0 losowań"));
    QCOMPARE(Text(&w, "currentGapValue"), QStringLiteral("0 losowań"));
    QCOMPARE(Text(&w, "longestSeriesValue"), QStringLiteral("3000 losowań ( 1 - 3000 )"));
    auto* gap = Find<QLabel>(&w, "longestGapValue");
    QVERIFY(!gap->font().underline());
    QVERIFY(!gap->font().bold());
    QCOMPARE(gap->toolTip(), QString());
    QCOMPARE(gap->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(w.gauge()->percent(), 100);
}

void SearchTest::firstGapCountsFromTheRangeStart() {
    ProgramFolder folder;
    FillDraws(60);
    SetDrawNumbers(43, {5});
    SetDrawNumbers(44, {5});
    MainWindow w;
    Search(w, 40, 44, 1, 1, {5});
    QCOMPARE(Cell(w, 0, 4), QStringLiteral("               3"));
    QCOMPARE(Text(&w, "longestGapValue"), QStringLiteral("3 losowań ( 40 - 42 )"));
    QCOMPARE(Text(&w, "currentGapValue"), QStringLiteral("0 losowań"));
}

// The searches count from masks kept for the table: an appended draw and a draw corrected in
// place (declared with DrawTableChanged, as every writer of the table does) are searched anew.
void SearchTest::changedDrawsAreSearchedAnew() {
    ProgramFolder folder;
    FillDraws(10);
    MainWindow w;
    Search(w, 1, 10, 1, 1, {5});
    QCOMPARE(Dialogs::History().size(), 1); // nothing found yet

    DrawTable[4].Numbers[3] = 5; // corrected in place, then declared
    DrawTableChanged();
    Click(&w, "searchButton");
    QCOMPARE(w.resultModel()->rowCount(), 1);
    QCOMPARE(Cell(w, 0, 1), QStringLiteral("            4"));

    DrawTable[11] = DrawTable[4]; // appended: the new count alone is enough
    DrawTable[11].Number = 11;
    DrawCount = 11;
    MainWindow after; // its range reaches the new draw
    Search(after, 1, 11, 1, 1, {5});
    QCOMPARE(after.resultModel()->rowCount(), 2);
    QCOMPARE(Cell(after, 1, 1), QStringLiteral("            11"));
}

void SearchTest::refusalsComeInOrder() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    // First a good search, so that there is a result to cut back.
    Search(w, 101, 110, 2, 3);
    QCOMPARE(w.foundCount(), 4);

    Parameters(w, 11, 10, 3, 2); // both wrong: only the range message
    Click(&w, "searchButton");
    QCOMPARE(Dialogs::History().size(), 1);
    QCOMPARE(Dialogs::History()[0].caption, QStringLiteral("Błąd!"));
    QCOMPARE(Dialogs::History()[0].text, QStringLiteral("Nieprawidłowo zadany zakres losowań !!"));
    QCOMPARE(Dialogs::History()[0].icon, Dialogs::Icon::Error);
    QCOMPARE(w.foundCount(), 0);
    QCOMPARE(w.resultModel()->rowCount(), 1);
    QCOMPARE(Cell(w, 0, 1), QString());
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("0 losowań"));

    Parameters(w, 10, 11, 3, 2);
    Click(&w, "searchButton");
    QCOMPARE(Dialogs::History().size(), 2);
    QCOMPARE(Dialogs::History()[1].text, QStringLiteral("Nieprawidłowo zadane wartości!"));
}

void SearchTest::emptyResult() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    Search(w, 1, 100, 1, 3);
    QCOMPARE(Dialogs::History().size(), 1);
    QCOMPARE(Dialogs::History()[0].caption, QStringLiteral("ZENTAGRAFO"));
    QCOMPARE(Dialogs::History()[0].text, QStringLiteral("Nie znaleziono losowań spełniających zadane kryteria."));
    QCOMPARE(Dialogs::History()[0].icon, Dialogs::Icon::None);
    QCOMPARE(Text(&w, "totalHitsValue"), QStringLiteral("0"));
    QCOMPARE(Text(&w, "averageHitsValue"), QString());
    QVERIFY(!Enabled(&w, "saveButton"));
    QCOMPARE(w.foundCount(), 0);
}

void SearchTest::parameterChangeEmptiesTheResult() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    CalendarWindow map(&w);
    ConnectCalendarWindow(w, map);
    ChartsWindow charts(&w);
    ConnectChartsWindow(w, charts);
    Search(w, 101, 110, 2, 3);
    QVERIFY(Enabled(&w, "saveButton"));
    Click(&w, "chartsButton"); // "Wykresy" opens beside the main window on this result
    QVERIFY(charts.isVisible() && charts.hasStatistics());
    QCOMPARE(charts.statistics().gapCount, 4);
    QTest::mouseClick(Find<QWidget>(&w, "hitsToEdit"), Qt::LeftButton);
    QVERIFY(!Enabled(&w, "saveButton") && !Enabled(&w, "chartsButton"));
    QVERIFY(charts.isVisible() && !charts.hasStatistics());
    QVERIFY(!w.highlightActive());
    QCOMPARE(w.resultModel()->rowCount(), 1);
    QCOMPARE(Text(&w, "totalHitsValue"), QString());
    QCOMPARE(Text(&w, "longestSeriesValue"), QString());
    QCOMPARE(Find<QLabel>(&w, "longestSeriesValue")->toolTip(), QString());
    QCOMPARE(w.stripModel()->cellText(0), QString());
    QCOMPARE(w.foundCount(), 4); // the found draws stay until the next search
}

void SearchTest::reportBytes() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    w.setDecimalSeparator(',');
    Search(w, 101, 110, 2, 3);
    const QString path = folder.file(QStringLiteral("TXT/wynik.txt"));
    Dialogs::QueueFileName(path);
    Click(&w, "saveButton");

    const std::string utf8 =
        " UWAGA: Aby wyniki prezentowały się \"równo\" na ekranie monitora, należy koniecznie zmienić czcionkę na "
        "\"Courier New\"!!\r\n"
        " W tym celu przejdź do zakładki \"Format -> Czcionka...\" Twojego edytora tekstu. \r\n"
        "\r\n"
        " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n"
        "\r\n"
        " Zakres losowań: 101(20.02.08) - 110(24.02.08)\r\n"
        "\r\n"
        " Spis losowań w których wylosowano od 2 do 3 liczb z zestawu liczb: 1,2,3\r\n"
        "\r\n"
        "\tLp.\tNumer_losowania\tData_losowania\tIlość_trafionych_liczb\tOczekiwano_losowań\r\n"
        "\r\n"
        "\t0001\t102\t\t20.02.2008\t2\t\t\t1\r\n"
        "\t0002\t103\t\t21.02.2008\t2\t\t\t0\r\n"
        "\t0003\t107\t\t23.02.2008\t3\t\t\t3\r\n"
        "\t0004\t108\t\t23.02.2008\t2\t\t\t0\r\n"
        "\r\n"
        "  Łączna ilość trafionych liczb: 9\r\n"
        "  Średnio w jednym losowaniu: 2,25 z 3 = 75,00 %\r\n"
        "  Max przerwa: 3 losowań ( 104 - 106 )\r\n"
        "  Bieżąca przerwa: 2 losowań\r\n"
        "  Max seria wystąpień: 2 losowań ( 102 - 103 )\r\n"
        "\r\n"
        " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n";
    const std::string written = ReadBytes(path.toStdString());
    QCOMPARE(written, Utf8ToCp1250(utf8));
    // Spot-check the code page: "Łączna" starts with 0xA3 0xB9.
    QVERIFY(written.find("\r\n  \xA3\xB9"
                         "czna") != std::string::npos);

    const auto& shown = Dialogs::History();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].kind, Dialogs::Shown::Kind::SaveFile);
    QCOMPARE(shown[0].text, QStringLiteral("ZENTAG.0001.txt"));
    QCOMPARE(shown[0].filter, QStringLiteral("Pliki tekstowe (*.txt)"));
    QCOMPARE(shown[1].caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
    QCOMPARE(shown[1].text,
             QStringLiteral("Wyniki analizy zostały umieszczone w pliku \"") + path + QStringLiteral("\""));
    QCOMPARE(shown[1].icon, Dialogs::Icon::Information);
}

void SearchTest::reportProposesFirstFreeName() {
    ProgramFolder folder;
    WorkedExampleDraws();
    WriteBytes(folder.file(QStringLiteral("TXT/ZENTAG.0001.txt")).toStdString(), "x");
    WriteBytes(folder.file(QStringLiteral("TXT/ZENTAG.0003.txt")).toStdString(), "x");
    MainWindow w;
    Search(w, 101, 110, 2, 3);
    Click(&w, "saveButton"); // cancelled (no queued name)
    QCOMPARE(Dialogs::History().size(), 1);
    QCOMPARE(Dialogs::History()[0].text, QStringLiteral("ZENTAG.0002.txt"));
    QCOMPARE(Dialogs::History()[0].directory, folder.file(QStringLiteral("TXT")));
}

void SearchTest::reportToAFolderThatCannotBeWritten() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    Search(w, 101, 110, 2, 3);
    Dialogs::QueueFileName(folder.file(QStringLiteral("no such folder/wynik.txt")));
    Click(&w, "saveButton");
    const auto& shown = Dialogs::History();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].caption, QStringLiteral("ZENTAGRAFO"));
    QCOMPARE(shown[1].icon, Dialogs::Icon::Error);
    QCOMPARE(shown[1].text, QStringLiteral("No such file or directory"));
}

void SearchTest::reportCancelledWritesNothing() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    Search(w, 101, 110, 2, 3);
    Dialogs::QueueFileName(QString());
    Click(&w, "saveButton");
    QCOMPARE(Dialogs::History().size(), 1);
    QVERIFY(QDir(folder.file(QStringLiteral("TXT"))).entryList(QDir::Files).isEmpty());
}

// Replacing a report on a full disk: the system's error, no confirmation, the old report intact.
void SearchTest::reportOnAFullDiskKeepsTheOldReport() {
    ProgramFolder folder;
    WorkedExampleDraws();
    MainWindow w;
    Search(w, 101, 110, 2, 3);
    const QString path = folder.file(QStringLiteral("TXT/wynik.txt"));
    WriteBytes(path.toStdString(), "old report\r\n");
    Dialogs::QueueFileName(path);
    Dialogs::QueueAnswer(Dialogs::Answer::Yes); // replace the existing file
    {
        FileSizeLimit limit(100);
        Click(&w, "saveButton");
    }
    const auto& shown = Dialogs::History();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[1].kind, Dialogs::Shown::Kind::OverwriteQuestion);
    QCOMPARE(shown[2].caption, QStringLiteral("ZENTAGRAFO"));
    QCOMPARE(shown[2].icon, Dialogs::Icon::Error);
    QCOMPARE(shown[2].text, QStringLiteral("File too large"));
    QCOMPARE(ReadBytes(path.toStdString()), std::string("old report\r\n"));
    QCOMPARE(QDir(folder.file(QStringLiteral("TXT"))).entryList(QDir::Files), QStringList{QStringLiteral("wynik.txt")});
}

QTEST_MAIN(SearchTest)
#include "search_test.moc"
