// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts as the program shows and writes them. Pure standard C++.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zg {

// The decimal text of `number`, preceded by one "0" for each position by which it is shorter
// than `width`; a longer text is not cut. ZeroPad(7, 2) == "07", ZeroPad(123, 2) == "123".
// A negative number keeps its sign in front of the zeros: ZeroPad(-5, 3) == "-05".
std::string ZeroPad(std::int64_t number, int width);

// The numbers in their order, in decimal without padding, separated by one blank: "41 3 7".
std::string NumbersText(std::span<const std::int32_t> numbers);

// Formats an integer with a mask: literal characters (blanks) before and after the digit
// positions are copied, and each "0" stands for one digit with leading zeros, so the number of
// zeros is the least number of digits. "       0000" with 42 gives "       0042"; "        00"
// with 7 gives "        07"; "               0" with 13 gives "               13".
// A negative value puts its minus sign right before the digits. A mask without "0" is followed
// by the number's digits.
std::string FormatMask(std::int64_t value, std::string_view mask);

// The value with `decimals` digits after the separator and at least `intDigits` digits before
// it (leading zeros), rounded half away from zero. The value is taken as long double and
// rounded as its 18-significant-digit decimal expansion says, so 1.25 with one decimal gives
// 1.3, and 2.675 computed as 107/40 with two decimals gives 2.68.
// FormatDecimal(2.5, 1, 2, ',') == "2,50"; FormatDecimal(1.25, 2, 1, ',') == "01,3".
// A negative value that rounds to zero is written without a sign ("0,00").
std::string FormatDecimal(long double value, int intDigits, int decimals, char separator);

// The patterns the program uses: "0.00" and "00.0".
inline std::string FormatFixed2(long double value, char separator) {
    return FormatDecimal(value, 1, 2, separator);
}
inline std::string FormatPercent1(long double value, char separator) {
    return FormatDecimal(value, 2, 1, separator);
}
// FormatPercent1(part / whole * 100), for 0 <= part and 0 < whole, in whole numbers: the same
// text, since a quotient of whole numbers below 2^31 lies either exactly on a half or far further
// from it than the 18 significant digits FormatDecimal reads can blur. Many times as fast.
std::string PercentOfText(std::int64_t part, std::int64_t whole, char separator);

// The decimal separator of the user's locale (LC_NUMERIC), as the C library reports it after
// setlocale(LC_ALL, ""). Falls back to '.' when the locale's separator is not one byte.
char LocaleDecimalSeparator();

} // namespace zg
