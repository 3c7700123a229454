// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar table: the draws of a range that fall in one year, laid out by month and day,
// each showing whether its hits lie within the bounds (or, with show-all, the hits themselves);
// and the calendar report. Pure standard C++; the calendar window and the command line use it.
#include "analysis/AnalysisReport.h"
#include "analysis/DrawQuery.h"
#include "base/DrawTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zg {

// The year arrow's limits and its position when the window is created.
inline constexpr std::int32_t CalendarFirstYear = 1996;
inline constexpr std::int32_t CalendarLastYear = 2999;
inline constexpr std::int32_t CalendarInitialYear = 2001;

// A cell of a date without a draw of the year and range (also of a date that does not exist).
inline constexpr std::string_view NoDrawCell = " N";
// A cell of a date with a draw whose hits lie within the bounds (show-all off).
inline constexpr std::string_view QualifyingCell = " X";

// The texts of the 12 x 31 cells: cells[month - 1][day - 1]. Besides the two above, a cell is
// empty (a draw outside the bounds, show-all off) or " " + the hit count (show-all on).
using CalendarCells = std::array<std::array<std::string, 31>, 12>;

// The query's draws, set, range and hit bounds, with the year laid out and the mode.
struct CalendarQuery : DrawQuery {
    std::int32_t year = CalendarInitialYear;
    bool showAll = false;
};

// Lays out the draws of the range dated in the year. A draw's hits are the drawn numbers that
// belong to the set (a number outside 1..80 never counts). A draw dated on a day or month the
// grid lacks, or on a date that does not exist (31 April, 29 February of a year not divisible
// by 4), is left out. A date with several draws in the range shows one of them: the last whose
// hits lie within the bounds when there is one, otherwise the last draw of the date. Both modes
// show that same draw, so a date shows a count within the bounds exactly when the other mode
// marks it. The range is cut to the draws the view holds.
CalendarCells FillCalendar(const CalendarQuery& query);

// The window's caption for a set: " Mapa rozkładu zestawu liczb : 03,07,15 - w zadanym
// przedziale losowań" (the set's numbers with two digits, joined by ",").
std::string MapCaption(const NumberSetData& set);

// The legend under the grid: with show-all off "X - Dni w których wylosowano od " + the texts of
// the hit fields; with show-all on "(0..K) - Ilość wylosowanych liczb" for a set of K numbers.
std::string CalendarLegend(bool showAll, std::int32_t setSize, std::string_view hitsFromText,
                           std::string_view hitsToText);

// Heading of grid row `month` 1..12 ("  I" .. "  XII", " VIII"), and of grid column `day` 1..31
// ("01" .. "31"); empty otherwise.
std::string CalendarMonthHeading(std::int32_t month);
std::string CalendarDayHeading(std::int32_t day);

// The character a cell stands for in the report: "X" for " X", a blank for " N", "-" for an
// empty cell, the digit of a hit count below 10, "!" for 10 or more.
char CalendarReportChar(std::string_view cell);

// The heading's set numbers are not written: the report names the set in its caption.
struct CalendarReportInput : SearchReportHeading {
    std::string caption;   // the window's caption (MapCaption)
    std::int32_t year = 0; // the year the cells were filled for
    const CalendarCells* cells = nullptr;
    bool showAll = false;     // the mode the cells were filled in
    std::int32_t setSize = 0; // K, the number of numbers in the set
};

// The whole calendar report as the bytes of the file: header, range, caption and year, the day
// ruler, one line per month, the legend, footer.
std::string CalendarReportBytes(const CalendarReportInput& input);

} // namespace zg
