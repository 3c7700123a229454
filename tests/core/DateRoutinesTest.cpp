// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DateRoutines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace zg {
namespace {

struct Date {
    std::int32_t day, month, year;
    bool operator==(const Date&) const = default;
};

Date Next(Date d) {
    zg::NextCalendarDay(d.day, d.month, d.year);
    return d;
}

std::ostream& operator<<(std::ostream& os, const Date& d) {
    return os << d.day << "." << d.month << "." << d.year;
}

// A 1-based draw table of the given dates.
class Draws {
public:
    explicit Draws(const std::vector<Date>& dates) : table_(dates.size() + 1) {
        for (std::size_t i = 0; i < dates.size(); ++i) {
            table_[i + 1].Number = static_cast<std::int32_t>(i + 1);
            table_[i + 1].Day = dates[i].day;
            table_[i + 1].Month = dates[i].month;
            table_[i + 1].Year = dates[i].year;
        }
    }
    zg::DrawsView view() const { return {table_.data(), static_cast<std::int32_t>(table_.size() - 1)}; }

private:
    std::vector<zg::DrawRecord> table_;
};

TEST(DateRoutinesNextDay, MonthEnds) {
    EXPECT_EQ(Next({1, 1, 2009}), (Date{2, 1, 2009}));
    EXPECT_EQ(Next({27, 2, 2009}), (Date{28, 2, 2009}));
    EXPECT_EQ(Next({28, 2, 2009}), (Date{1, 3, 2009}));
    EXPECT_EQ(Next({28, 2, 2008}), (Date{29, 2, 2008}));
    EXPECT_EQ(Next({29, 2, 2008}), (Date{1, 3, 2008}));
    EXPECT_EQ(Next({28, 3, 2009}), (Date{29, 3, 2009}));
    EXPECT_EQ(Next({29, 3, 2009}), (Date{30, 3, 2009}));
    for (std::int32_t m : {4, 6, 9, 11})
        EXPECT_EQ(Next({30, m, 2009}), (Date{1, m + 1, 2009}));
    for (std::int32_t m : {1, 3, 5, 7, 8, 10, 12})
        EXPECT_EQ(Next({30, m, 2009}), (Date{31, m, 2009}));
    for (std::int32_t m : {1, 3, 5, 7, 8, 10})
        EXPECT_EQ(Next({31, m, 2009}), (Date{1, m + 1, 2009}));
    EXPECT_EQ(Next({31, 12, 2009}), (Date{1, 1, 2010}));
    EXPECT_EQ(Next({31, 12, 1999}), (Date{1, 1, 2000}));
}

TEST(DateRoutinesNextDay, EveryFourthYearIsLeapCenturiesToo) {
    EXPECT_EQ(Next({28, 2, 1900}), (Date{29, 2, 1900}));
    EXPECT_EQ(Next({28, 2, 2100}), (Date{29, 2, 2100}));
    EXPECT_EQ(Next({28, 2, 2000}), (Date{29, 2, 2000}));
    EXPECT_EQ(Next({28, 2, 0}), (Date{29, 2, 0}));
    EXPECT_EQ(Next({28, 2, -4}), (Date{29, 2, -4}));
    EXPECT_EQ(Next({28, 2, -3}), (Date{1, 3, -3}));
}

TEST(DateRoutinesNextDay, BadValuesFollowTheRulesOrStay) {
    EXPECT_EQ(Next({0, 5, 2009}), (Date{0, 5, 2009}));
    EXPECT_EQ(Next({32, 5, 2009}), (Date{32, 5, 2009}));
    EXPECT_EQ(Next({-1, 5, 2009}), (Date{-1, 5, 2009}));
    EXPECT_EQ(Next({29, 13, 2009}), (Date{30, 13, 2009}));
    EXPECT_EQ(Next({31, 13, 2009}), (Date{1, 14, 2009}));
    // Nothing to advance to within 32 bits: the date stays, no overflow.
    constexpr std::int32_t maxValue = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(Next({31, 12, maxValue}), (Date{31, 12, maxValue}));
    EXPECT_EQ(Next({31, maxValue, 2009}), (Date{31, maxValue, 2009}));
}

TEST(DateRoutinesDrawDate, DrawsOfTheTable) {
    const Draws draws({{5, 3, 2008}, {19, 3, 2008}, {1, 1, 2000}, {31, 12, 1999}});
    EXPECT_EQ(zg::DrawDateText(draws.view(), 1), "05.03.08");
    EXPECT_EQ(zg::DrawDateText(draws.view(), 2), "19.03.08");
    EXPECT_EQ(zg::DrawDateText(draws.view(), 3), "01.01.00");
    EXPECT_EQ(zg::DrawDateLongText(draws.view(), 1), "05.03.2008");
    EXPECT_EQ(zg::DrawDateLongText(draws.view(), 4), "31.12.1999");
}

TEST(DateRoutinesDrawDate, LongTextWritesTheYearAsStored) {
    const Draws draws({{5, 3, 8}, {6, 3, 96}, {7, 3, 2008}, {8, 3, 12345}});
    for (const auto& [ordinal, text] :
         {std::pair{1, "05.03.8"}, std::pair{2, "06.03.96"}, std::pair{3, "07.03.2008"}, std::pair{4, "08.03.12345"}})
        EXPECT_EQ(zg::DrawDateLongText(draws.view(), ordinal), text);
}

TEST(DateRoutinesDrawDate, PastTheLastDrawComeNextDays) {
    const Draws leap({{28, 2, 2008}});
    EXPECT_EQ(zg::DrawDateText(leap.view(), 2), "29.02.08");
    EXPECT_EQ(zg::DrawDateText(leap.view(), 3), "01.03.08");
    const Draws common({{28, 2, 2009}});
    EXPECT_EQ(zg::DrawDateText(common.view(), 2), "01.03.09");
    const Draws yearEnd({{1, 5, 2000}, {31, 12, 2099}});
    EXPECT_EQ(zg::DrawDateText(yearEnd.view(), 3), "01.01.00");
    EXPECT_EQ(zg::DrawDateText(yearEnd.view(), 2 + 99), "08.04.00");
    EXPECT_EQ(zg::DrawDateText(yearEnd.view(), 2 + 366), "31.12.00"); // 2100 has 366 days
    EXPECT_EQ(zg::DrawDateText(yearEnd.view(), 2 + 367), "01.01.01");
    // The long text names only draws of the table.
    EXPECT_EQ(zg::DrawDateLongText(yearEnd.view(), 3), "");
}

TEST(DateRoutinesDrawDate, InvalidRequestsGiveEmptyText) {
    const Draws draws({{5, 3, 2008}});
    EXPECT_EQ(zg::DrawDateText(draws.view(), 0), "");
    EXPECT_EQ(zg::DrawDateText(draws.view(), -1), "");
    EXPECT_EQ(zg::DrawDateLongText(draws.view(), 0), "");
    const Draws none({});
    EXPECT_EQ(zg::DrawDateText(none.view(), 1), "");
    EXPECT_EQ(zg::DrawDateLongText(none.view(), 1), "");
    // Far past the end is a caller's fault, not a two-billion-day walk.
    EXPECT_EQ(zg::DrawDateText(draws.view(), 1 + 2 * zg::MaxDraws), "28.09.55");
    EXPECT_EQ(zg::DrawDateText(draws.view(), 2 + 2 * zg::MaxDraws), "");
    EXPECT_EQ(zg::DrawDateText(draws.view(), std::numeric_limits<std::int32_t>::max()), "");
}

TEST(DateRoutinesDrawDate, BadStoredDatesDoNotCrash) {
    const Draws draws({{7, 4, -2008}, {0, 0, 123456}, {40, 2, 2009}});
    EXPECT_EQ(zg::DrawDateText(draws.view(), 1), "07.04.08");
    EXPECT_EQ(zg::DrawDateLongText(draws.view(), 1), "07.04.-2008");
    EXPECT_EQ(zg::DrawDateText(draws.view(), 2), "00.00.56");
    EXPECT_EQ(zg::DrawDateLongText(draws.view(), 2), "00.00.123456");
    // A day NextCalendarDay leaves unchanged stays so for any distance.
    EXPECT_EQ(zg::DrawDateText(draws.view(), 1000), "40.02.09");
    const Draws minYear({{1, 1, std::numeric_limits<std::int32_t>::min()}});
    EXPECT_EQ(zg::DrawDateText(minYear.view(), 1), "01.01.48");
}

TEST(DateRoutinesCounting, Factorial) {
    EXPECT_EQ(zg::Factorial(-3), 1.0);
    EXPECT_EQ(zg::Factorial(0), 1.0);
    EXPECT_EQ(zg::Factorial(1), 1.0);
    EXPECT_EQ(zg::Factorial(5), 120.0);
    EXPECT_EQ(zg::Factorial(20), 2432902008176640000.0);
    EXPECT_TRUE(std::isinf(zg::Factorial(171)));
}

TEST(DateRoutinesCounting, BinomialCoefficient) {
    EXPECT_EQ(zg::BinomialCoefficient(2, 2), 1);
    EXPECT_EQ(zg::BinomialCoefficient(1, 2), 0);
    EXPECT_EQ(zg::BinomialCoefficient(5, -1), 0);
    EXPECT_EQ(zg::BinomialCoefficient(-5, 2), 0);
    EXPECT_EQ(zg::BinomialCoefficient(0, 0), 1);
    EXPECT_EQ(zg::BinomialCoefficient(80, 2), 3160);
    EXPECT_EQ(zg::BinomialCoefficient(20, 10), 184756);
    for (int k = 1; k <= 80; ++k) // every pair count the ZENTAG ranking asks for
        EXPECT_EQ(zg::BinomialCoefficient(k, 2), k * (k - 1) / 2) << k;
    // Beyond 64 bits: saturated.
    EXPECT_EQ(zg::BinomialCoefficient(100, 50), std::numeric_limits<std::int64_t>::max());
    // Past 170 the factorials overflow; the count is then made exactly.
    EXPECT_EQ(zg::BinomialCoefficient(200, 0), 1);
    EXPECT_EQ(zg::BinomialCoefficient(200, 2), 19900);
    EXPECT_EQ(zg::BinomialCoefficient(200, 199), 200);
    EXPECT_EQ(zg::BinomialCoefficient(1000, 500), std::numeric_limits<std::int64_t>::max());
}

} // namespace
} // namespace zg
