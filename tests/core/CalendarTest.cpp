// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar table: which draws reach the grid, the cell texts, and the report bytes.
#include "tables/Calendar.h"
#include "support/DrawTables.h"
#include "support/ReportBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace zg {
namespace {

const NumberSetData Set15 = test::MakeSet({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});

// Makes a draw hit the first `hits` numbers of Set15 and dates it.
void Draw(DrawRecord& d, int day, int month, int year, int hits) {
    d.Day = day;
    d.Month = month;
    d.Year = year;
    for (int j = 0; j < hits; ++j)
        d.Numbers[j] = j + 1;
}

CalendarCells Fill(const std::vector<DrawRecord>& table, bool showAll, std::int32_t from = 1, std::int32_t to = 99999,
                   std::int32_t year = 2008) {
    return FillCalendar(CalendarQuery{{test::View(table), nullptr, Set15, from, to, 3, 5}, year, showAll});
}

const std::string& Cell(const CalendarCells& cells, int day, int month) {
    return cells[static_cast<std::size_t>(month - 1)][static_cast<std::size_t>(day - 1)];
}

// hits of the draw on 7 March, of a second draw that day (-1: none), show-all, cell text (bounds 3..5)
class CalendarCell : public testing::TestWithParam<std::tuple<int, int, bool, const char*>> {};

TEST_P(CalendarCell, ShowsTheDraws) {
    const auto [first, second, showAll, text] = GetParam();
    auto table = test::MakeTable(second < 0 ? 1 : 2);
    Draw(table[1], 7, 3, 2008, first);
    if (second >= 0)
        Draw(table[2], 7, 3, 2008, second);
    EXPECT_EQ(Cell(Fill(table, showAll), 7, 3), text);
}

INSTANTIATE_TEST_SUITE_P(Bounds3To5, CalendarCell,
                         testing::Values(std::tuple{2, -1, false, ""}, std::tuple{3, -1, false, " X"},
                                         std::tuple{5, -1, false, " X"}, std::tuple{6, -1, false, ""},
                                         std::tuple{0, -1, true, " 0"}, std::tuple{12, -1, true, " 12"},
                                         // a day shows its last qualifying draw, else its last draw
                                         std::tuple{4, 6, false, " X"}, std::tuple{6, 4, false, " X"},
                                         std::tuple{6, 7, false, ""}, std::tuple{4, 6, true, " 4"},
                                         std::tuple{6, 4, true, " 4"}, std::tuple{6, 7, true, " 7"},
                                         std::tuple{3, 5, true, " 5"}));

TEST(Calendar, DatesThatDoNotExistOrLieOffTheGridAreLeftOut) {
    auto table = test::MakeTable(9);
    const int dates[9][3] = {{31, 4, 2008}, {30, 2, 2008}, {29, 2, 2008}, {29, 2, 2009}, {0, 5, 2008},
                             {32, 5, 2008}, {1, 0, 2008},  {1, 13, 2008}, {-5, -7, 2008}};
    for (int k = 0; k < 9; ++k)
        Draw(table[static_cast<std::size_t>(k + 1)], dates[k][0], dates[k][1], dates[k][2], 4);
    const CalendarCells cells = Fill(table, false);
    EXPECT_EQ(Cell(cells, 31, 4), " N");
    EXPECT_EQ(Cell(cells, 30, 2), " N");
    EXPECT_EQ(Cell(cells, 29, 2), " X"); // 2008 is a leap year
    EXPECT_EQ(Cell(Fill(table, false, 1, 99999, 2009), 29, 2), " N");
    int marked = 0; // the days off the grid reached no cell
    for (const auto& month : cells)
        marked += static_cast<int>(std::count(month.begin(), month.end(), " X"));
    EXPECT_EQ(marked, 1);
}

TEST(Calendar, NumbersOutsideTheLotteryRangeAreNoHits) {
    auto table = test::MakeTable(1);
    Draw(table[1], 1, 1, 2008, 3);
    table[1].Numbers[3] = 0;
    table[1].Numbers[4] = 81;
    table[1].Numbers[5] = -2147483647 - 1;
    EXPECT_EQ(Cell(Fill(table, true), 1, 1), " 3");
}

TEST(Calendar, MapCaption) {
    EXPECT_EQ(MapCaption(test::MakeSet({15, 3, 7})),
              " Mapa rozkładu zestawu liczb : 03,07,15 - w zadanym przedziale losowań");
    EXPECT_EQ(MapCaption(test::MakeSet({7})), " Mapa rozkładu zestawu liczb : 07 - w zadanym przedziale losowań");
}

// Draws of 2008: 1 Jan 4 hits, 2 Jan 6, 31 Jan 3, 15 Feb 12, 11 Dec 0, 21 Dec 5; and one of 2009.
std::string Report(bool showAll, std::int32_t year, std::int32_t setSize) {
    auto table = test::MakeTable(7);
    const int draws[7][4] = {{1, 1, 2008, 4},   {2, 1, 2008, 6},   {31, 1, 2008, 3}, {15, 2, 2008, 12},
                             {11, 12, 2008, 0}, {21, 12, 2008, 5}, {3, 1, 2009, 5}};
    for (int k = 0; k < 7; ++k)
        Draw(table[static_cast<std::size_t>(k + 1)], draws[k][0], draws[k][1], draws[k][2], draws[k][3]);
    const CalendarCells cells = Fill(table, showAll, 1, 6, year);
    CalendarReportInput in{{1, 6, "01.01.08", "21.12.08", "3", "5", {}},
                           MapCaption(test::MakeSet({3, 7, 15})),
                           year,
                           &cells,
                           showAll,
                           setSize};
    return CalendarReportBytes(in);
}

std::string ReportHead(const char* year) {
    return test::ReportHeaderBytes +
           " Zakres losowa\xF1: 1(01.01.08) - 6(21.12.08)\r\n\r\n"
           " Mapa rozk\xB3"
           "adu zestawu liczb : 03,07,15 - w zadanym przedziale losowa\xF1 w roku " +
           year +
           ":\r\n\r\n"
           "               1-10      11-20       21-31\r\n"
           "            1234567890 1234567890 12345678901\r\n\r\n";
}

std::string MonthLines(const char* jan, const char* feb, const char* dec) {
    const std::string blank(33, ' ');
    return std::string("    Stycze\xF1 ") + jan + "\r\n       Luty " + feb + "\r\n     Marzec " + blank +
           "\r\n   Kwiecie\xF1 " + blank + "\r\n        Maj " + blank + "\r\n   Czerwiec " + blank +
           "\r\n     Lipiec " + blank + "\r\n   Sierpie\xF1 " + blank + "\r\n   Wrzesie\xF1 " + blank +
           "\r\nPa\x9F"
           "dziernik " +
           blank + "\r\n   Listopad " + blank + "\r\n   Grudzie\xF1 " + dec + "\r\n\r\n";
}

TEST(CalendarReport, ShowAllOff) {
    EXPECT_EQ(Report(false, 2008, 15),
              ReportHead("2008") +
                  MonthLines("X-                              X", "               -                 ",
                             "           -          X          ") +
                  "       X - Dni w kt\xF3rych wylosowano od 3 do 5 liczb\r\n\r\n" + test::ReportFooterBytes);
}

TEST(CalendarReport, ShowAllOnWithMoreThanNineNumbers) {
    EXPECT_EQ(Report(true, 2008, 15),
              ReportHead("2008") +
                  MonthLines("46                              3", "               !                 ",
                             "           0          5          ") +
                  "     (0..9) - Ilo\x9C\xE6 wylosowanych liczb z zestawu liczb\r\n"
                  "       ! - Dni w kt\xF3rych wylosowano minimum 10 liczb z zestawu liczb\r\n\r\n" +
                  test::ReportFooterBytes);
}

TEST(CalendarReport, YearWithoutDrawsInTheRangeAndASetOfSeven) {
    // 2009 holds only draw 7, which lies outside the range 1..6.
    const char* const Blank33 = "                                 ";
    EXPECT_EQ(Report(true, 2009, 7), ReportHead("2009") + MonthLines(Blank33, Blank33, Blank33) +
                                         "       (0..7) - Ilo\x9C\xE6 wylosowanych liczb z zestawu liczb\r\n\r\n" +
                                         test::ReportFooterBytes);
}

} // namespace
} // namespace zg
