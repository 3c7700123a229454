// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NumberFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

namespace zg {
namespace {

TEST(NumberFormatZeroPad, PadsButNeverCuts) {
    EXPECT_EQ(zg::ZeroPad(7, 2), "07");
    EXPECT_EQ(zg::ZeroPad(80, 2), "80");
    EXPECT_EQ(zg::ZeroPad(123, 2), "123");
    EXPECT_EQ(zg::ZeroPad(0, 4), "0000");
    EXPECT_EQ(zg::ZeroPad(5, 0), "5");
    EXPECT_EQ(zg::ZeroPad(5, -3), "5");
    EXPECT_EQ(zg::ZeroPad(-5, 3), "-05");
    EXPECT_EQ(zg::ZeroPad(-5, 2), "-5");
}

TEST(NumberFormatMask, LeadingBlanksAndZeros) {
    EXPECT_EQ(FormatMask(1, "       0000"), "       0001");
    EXPECT_EQ(FormatMask(42, "       0000"), "       0042");
    EXPECT_EQ(FormatMask(12345, "       0000"), "       12345"); // never cut
    EXPECT_EQ(FormatMask(7, "        00"), "        07");
    EXPECT_EQ(FormatMask(0, "        00"), "        00");
    EXPECT_EQ(FormatMask(13, "               0"), "               13");
    EXPECT_EQ(FormatMask(0, "0"), "0");
    EXPECT_EQ(FormatMask(5, "00 "), "05 "); // trailing literals are copied too
}

TEST(NumberFormatMask, NegativeSignSitsBeforeTheDigits) {
    EXPECT_EQ(FormatMask(-7, "        00"), "        -07");
    EXPECT_EQ(FormatMask(-12345, "  0000"), "  -12345");
    EXPECT_EQ(FormatMask(std::numeric_limits<std::int64_t>::min(), " 0"), " -9223372036854775808");
    EXPECT_EQ(FormatMask(std::numeric_limits<std::int64_t>::max(), "0"), "9223372036854775807");
}

class NumberFormatDecimal : public ::testing::TestWithParam<char> {
protected:
    // The expected text written with '.' and turned to the separator under test.
    static std::string S(std::string text) {
        for (char& c : text)
            if (c == '.')
                c = GetParam();
        return text;
    }
};

TEST_P(NumberFormatDecimal, RoundsHalfAwayFromZero) {
    const char sep = GetParam();
    EXPECT_EQ(FormatFixed2(2.5L, sep), S("2.50"));
    EXPECT_EQ(FormatFixed2(0, sep), S("0.00"));
    EXPECT_EQ(FormatFixed2(0.005L, sep), S("0.01"));
    EXPECT_EQ(FormatFixed2(0.004L, sep), S("0.00"));
    EXPECT_EQ(FormatFixed2(1.0L / 3, sep), S("0.33"));
    EXPECT_EQ(FormatFixed2(2.0L / 3, sep), S("0.67"));
    EXPECT_EQ(FormatFixed2(1234.5L, sep), S("1234.50"));
    // 107/40 is stored a hair below 2.675, but its 18-digit expansion reads 2.675.
    EXPECT_EQ(FormatFixed2(107.0L / 40, sep), S("2.68"));
    EXPECT_EQ(FormatFixed2(1.005L, sep), S("1.01"));
}

TEST_P(NumberFormatDecimal, CarriesIntoTheIntegerPart) {
    const char sep = GetParam();
    EXPECT_EQ(FormatFixed2(9.995L, sep), S("10.00"));
    EXPECT_EQ(FormatFixed2(99.999L, sep), S("100.00"));
    EXPECT_EQ(FormatFixed2(0.999L, sep), S("1.00"));
    EXPECT_EQ(FormatPercent1(99.95L, sep), S("100.0"));
    EXPECT_EQ(FormatPercent1(9.96L, sep), S("10.0"));
}

TEST_P(NumberFormatDecimal, NegativeKeepsSignUnlessZero) {
    const char sep = GetParam();
    EXPECT_EQ(FormatFixed2(-2.5L, sep), S("-2.50"));
    EXPECT_EQ(FormatFixed2(-0.005L, sep), S("-0.01"));
    EXPECT_EQ(FormatFixed2(-9.995L, sep), S("-10.00"));
    EXPECT_EQ(FormatFixed2(-0.001L, sep), S("0.00"));
    EXPECT_EQ(FormatFixed2(-0.0L, sep), S("0.00"));
    EXPECT_EQ(FormatPercent1(-1.25L, sep), S("-01.3"));
}

TEST_P(NumberFormatDecimal, PercentPattern) {
    const char sep = GetParam();
    EXPECT_EQ(FormatPercent1(1.25L, sep), S("01.3"));
    EXPECT_EQ(FormatPercent1(2.5L, sep), S("02.5"));
    EXPECT_EQ(FormatPercent1(100, sep), S("100.0"));
    EXPECT_EQ(FormatPercent1(0, sep), S("00.0"));
    EXPECT_EQ(FormatPercent1(0.04L, sep), S("00.0"));
    EXPECT_EQ(FormatPercent1(0.05L, sep), S("00.1"));
    EXPECT_EQ(FormatPercent1(50, sep), S("50.0"));
}

// The whole-number percentage against the long double one it stands in for: every part up to twice
// the whole for small wholes, and the first 3,000 parts of large ones, ties on a half among them.
TEST_P(NumberFormatDecimal, WholePercentMatchesThePattern) {
    const char sep = GetParam();
    const auto check = [sep](std::int64_t part, std::int64_t whole) {
        const long double percent = static_cast<long double>(part) / static_cast<long double>(whole) * 100.0L;
        ASSERT_EQ(zg::PercentOfText(part, whole, sep), FormatPercent1(percent, sep)) << part << '/' << whole;
    };
    for (std::int64_t whole = 1; whole <= 200; ++whole)
        for (std::int64_t part = 0; part <= 2 * whole; ++part)
            check(part, whole);
    for (const std::int64_t whole : {65536, 80000, 99998, 99999})
        for (std::int64_t part = 0; part <= 3000; ++part)
            check(part, whole);
    EXPECT_EQ(zg::PercentOfText(1999980, 99999, sep), S("2000.0")); // 20 positions of every draw
}

TEST_P(NumberFormatDecimal, OtherWidthsTinyAndHuge) {
    const char sep = GetParam();
    EXPECT_EQ(FormatDecimal(2.5L, 1, 0, sep), "3");
    EXPECT_EQ(FormatDecimal(1.5L, 3, 0, sep), "002");
    EXPECT_EQ(FormatDecimal(0.4999L, 1, 0, sep), "0");
    EXPECT_EQ(FormatDecimal(0.5L, 1, 0, sep), "1");
    EXPECT_EQ(FormatDecimal(1e-30L, 1, 2, sep), S("0.00"));
    EXPECT_EQ(FormatDecimal(1e20L, 1, 1, sep), S("100000000000000000000.0"));
    EXPECT_EQ(FormatDecimal(0.125L, 1, 5, sep), S("0.12500"));
}

INSTANTIATE_TEST_SUITE_P(, NumberFormatDecimal, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& info) {
                             return std::string(info.param == ',' ? "Comma" : "Point");
                         });

TEST(NumberFormatLocale, SeparatorFollowsLcNumeric) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    EXPECT_EQ(zg::LocaleDecimalSeparator(), '.');
    // A Polish locale, when the system has one, gives the comma.
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "pl_PL"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            EXPECT_EQ(zg::LocaleDecimalSeparator(), ',');
            break;
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace zg
