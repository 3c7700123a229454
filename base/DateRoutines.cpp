// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DateRoutines.h"

#include "base/NumberFormat.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace zg {

namespace {

__extension__ typedef unsigned __int128 Wide;

// Two digits with a leading zero, as the date texts show day and month. A value outside 0..99
// keeps all its digits (and a minus sign before them) so that a bad date stays visible.
std::string TwoDigits(std::int64_t value) {
    return ZeroPad(value, 2);
}

// Longest walk past the last draw that DrawDateText performs. Callers ask for at most a few
// draws past the end (the ZENTAG distance is at most 99); a far larger ordinal is a caller's
// fault and gives an empty text instead of a walk of up to two billion days.
constexpr std::int32_t MaxDaysPastLastDraw = 2 * MaxDraws;

} // namespace

std::int32_t DaysInMonth(std::int32_t month, std::int32_t year) {
    static constexpr std::int32_t Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && year % 4 == 0)
        return 29;
    return Days[month - 1];
}

namespace {

std::int32_t GregorianDaysInMonth(std::int32_t month, std::int32_t year) {
    if (month == 2 && year % 100 == 0 && year % 400 != 0)
        return 28;
    return DaysInMonth(month, year);
}

} // namespace

bool IsEnteredDate(CalendarDate date) {
    return date.year >= FirstEnteredYear && date.year <= LastEnteredYear && date.day >= 1 &&
           date.day <= GregorianDaysInMonth(date.month, date.year);
}

CalendarDate NextGregorianDay(CalendarDate date) {
    if (date.day < GregorianDaysInMonth(date.month, date.year))
        return CalendarDate{date.day + 1, date.month, date.year};
    if (date.month < 12)
        return CalendarDate{1, date.month + 1, date.year};
    return CalendarDate{1, 1, date.year + 1};
}

int CompareDates(CalendarDate a, CalendarDate b) {
    if (a.year != b.year)
        return a.year < b.year ? -1 : 1;
    if (a.month != b.month)
        return a.month < b.month ? -1 : 1;
    if (a.day != b.day)
        return a.day < b.day ? -1 : 1;
    return 0;
}

std::string DateLongText(CalendarDate date) {
    return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + ZeroPad(date.year, 4);
}

bool IsProgramDate(std::int32_t day, std::int32_t month, std::int32_t year) {
    return day >= 1 && day <= DaysInMonth(month, year);
}

void NextCalendarDay(std::int32_t& day, std::int32_t& month, std::int32_t& year) {
    constexpr std::int32_t maxValue = std::numeric_limits<std::int32_t>::max();
    if (day >= 1 && day <= 27) {
        ++day;
    } else if (day == 28) {
        if (month == 2 && year % 4 != 0) {
            day = 1;
            month = 3;
        } else {
            ++day;
        }
    } else if (day == 29) {
        if (month == 2) {
            day = 1;
            month = 3;
        } else {
            ++day;
        }
    } else if (day == 30) {
        if (month == 4 || month == 6 || month == 9 || month == 11) {
            day = 1;
            ++month;
        } else {
            ++day;
        }
    } else if (day == 31) {
        // A month or year that cannot be advanced within 32 bits leaves the (bad) date as it is.
        if (month == 12) {
            if (year != maxValue) {
                day = 1;
                month = 1;
                ++year;
            }
        } else if (month != maxValue) {
            day = 1;
            ++month;
        }
    }
    // Any other day value: unchanged.
}

std::string DrawDateText(const DrawsView& draws, std::int32_t ordinal) {
    if (draws.table == nullptr || draws.count < 1 || ordinal < 1)
        return {};
    std::int32_t day, month, year;
    if (ordinal <= draws.count) {
        const DrawRecord& draw = draws[ordinal];
        day = draw.Day;
        month = draw.Month;
        year = draw.Year;
    } else {
        const std::int32_t steps = ordinal - draws.count;
        if (steps > MaxDaysPastLastDraw)
            return {};
        const DrawRecord& last = draws[draws.count];
        day = last.Day;
        month = last.Month;
        year = last.Year;
        for (std::int32_t i = 0; i < steps && day >= 1 && day <= 31; ++i)
            NextCalendarDay(day, month, year);
    }
    // Year mod 100 of the year's magnitude, so a negative year still gives two digits.
    const std::int64_t shortYear = std::llabs(static_cast<std::int64_t>(year)) % 100;
    return TwoDigits(day) + "." + TwoDigits(month) + "." + TwoDigits(shortYear);
}

std::string DrawDateLongText(const DrawsView& draws, std::int32_t ordinal) {
    if (draws.table == nullptr || ordinal < 1 || ordinal > draws.count)
        return {};
    const DrawRecord& draw = draws[ordinal];
    // The year as stored, however many digits it has.
    return TwoDigits(draw.Day) + "." + TwoDigits(draw.Month) + "." + std::to_string(draw.Year);
}

std::int32_t FirstDrawOnOrAfter(const DrawsView& draws, std::int32_t day, std::int32_t month, std::int32_t year) {
    if (draws.table == nullptr)
        return 0;
    const std::tuple wanted{year, month, day};
    for (std::int32_t k = 1; k <= draws.count; ++k)
        if (std::tuple{draws[k].Year, draws[k].Month, draws[k].Day} >= wanted)
            return k;
    return 0;
}

double Factorial(int n) {
    double product = 1.0;
    for (int i = 2; i <= n; ++i)
        product *= i;
    return product;
}

std::int64_t BinomialCoefficient(int n, int k) {
    constexpr std::int64_t maxValue = std::numeric_limits<std::int64_t>::max();
    // No way to choose k of n: zero ways.
    if (k < 0 || k > n)
        return 0;

    const long double numerator = Factorial(n);
    const long double denominator = static_cast<long double>(Factorial(n - k)) * Factorial(k);
    const long double quotient = numerator / denominator;
    if (std::isfinite(quotient)) {
        if (quotient > static_cast<long double>(maxValue))
            return maxValue;
        return static_cast<std::int64_t>(std::llrintl(quotient)); // default mode: nearest, halves to even
    }

    // n above 170: the factorials overflow a double and the quotient is meaningless. Count
    // exactly instead, stopping at the 64-bit limit. Each step's product is divisible by i.
    const int m = k < n - k ? k : n - k;
    Wide result = 1;
    for (int i = 1; i <= m; ++i) {
        result = result * static_cast<unsigned>(n - m + i) / static_cast<unsigned>(i);
        if (result > static_cast<Wide>(maxValue))
            return maxValue;
    }
    return static_cast<std::int64_t>(result);
}

} // namespace zg
