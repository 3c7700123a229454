// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Date and number routines shared by the main window, the search, the reports and the tables.
#include "base/DrawTypes.h"

#include <cstdint>
#include <string>

namespace zg {

// The days of `month` (1..12) in `year` by the program's calendar: every year divisible by 4 is a
// leap year (no century rule). 0 for a month outside 1..12.
std::int32_t DaysInMonth(std::int32_t month, std::int32_t year);

// The day after the given date, in place. Every year divisible by 4 is a leap year (no century
// rule); a day value outside 1..31 leaves the date unchanged, and so does a month or year that
// would have to advance past the 32-bit range.
void NextCalendarDay(std::int32_t& day, std::int32_t& month, std::int32_t& year);

// The years a draw read from outside (a download, a results file) may carry. From 1951 on,
// because a year-first database file whose first year were 1950 or less would load as day-first.
inline constexpr std::int32_t FirstDrawYear = 1951;
inline constexpr std::int32_t LastDrawYear = 2999;

// True when the date exists in the program's calendar: month 1..12 and day 1..the month's length,
// where every year divisible by 4 is a leap year (29 February 2100 exists, 31 April does not).
bool IsProgramDate(std::int32_t day, std::int32_t month, std::int32_t year);

// The date of draw `ordinal` as DD.MM.YY (year mod 100 with two digits). Ordinals past the last
// draw stand for the calendar days after the last draw's date, at most 2 x MaxDraws days past
// it (further gives an empty text). Needs draws.count >= 1 and ordinal >= 1; anything else
// gives an empty text. A negative year gives the last two digits of its magnitude.
std::string DrawDateText(const DrawsView& draws, std::int32_t ordinal);

// DD.MM.YYYY of one draw (the year as stored): the text of the date labels. Empty when the
// ordinal is not a draw of the table.
std::string DrawDateLongText(const DrawsView& draws, std::int32_t ordinal);

// The ordinal of the first draw (the lowest) dated on or after day.month.year, the stored dates
// compared by year, then month, then day; 0 when no draw is.
std::int32_t FirstDrawOnOrAfter(const DrawsView& draws, std::int32_t day, std::int32_t month, std::int32_t year);

// A date as day, month and year.
struct CalendarDate {
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The date a draw holds.
inline CalendarDate CalendarDateOf(const DrawRecord& draw) {
    return CalendarDate{draw.Day, draw.Month, draw.Year};
}

// The years a date entered for a draw (by hand, or as the server sent it) may carry: a date field
// shows DD.MM.YYYY.
inline constexpr std::int32_t FirstEnteredYear = 1900;
inline constexpr std::int32_t LastEnteredYear = 9999;

// True for a real date of the Gregorian calendar (a year divisible by 100 is a leap year only when
// divisible by 400) in the years FirstEnteredYear..LastEnteredYear.
bool IsEnteredDate(CalendarDate date);

// The day after a real Gregorian date; 31.12.9999 gives 01.01.10000, which IsEnteredDate refuses.
CalendarDate NextGregorianDay(CalendarDate date);

// Negative, zero or positive as `a` lies before, on or after `b` (year, then month, then day).
int CompareDates(CalendarDate a, CalendarDate b);

// "DD.MM.YYYY".
std::string DateLongText(CalendarDate date);

// 1 x 2 x ... x n in that order, as a double; 1 for n <= 0.
double Factorial(int n);

// Factorial(n) / (Factorial(n - k) * Factorial(k)) with the denominator in extended precision,
// rounded to the nearest integer (halves to even). Results beyond the 64-bit range saturate to
// INT64_MAX; k < 0 or k > n gives 0. For n > 170, where the factorials overflow a double, the
// count is made exactly instead.
std::int64_t BinomialCoefficient(int n, int k);

} // namespace zg
