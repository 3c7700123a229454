// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NumberFormat.h"

#include "base/ReportBuffer.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zg {

namespace {

// Adds one unit to the last digit of a decimal digit string, carrying leftwards (may grow by one).
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

std::string ZeroPad(std::int64_t number, int width) {
    std::string text = std::to_string(number);
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        // The zeros go after a minus sign, so that -5 padded to 3 reads "-05", not "0-5".
        const std::size_t at = number < 0 ? 1 : 0;
        text.insert(at, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

std::string NumbersText(std::span<const std::int32_t> numbers) {
    std::string text;
    for (std::int32_t n : numbers) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(n);
    }
    return text;
}

std::string FormatMask(std::int64_t value, std::string_view mask) {
    ReportBuffer text(mask.size() + 20);
    text.Mask(value, mask);
    return text.Take();
}

std::string FormatDecimal(long double value, int intDigits, int decimals, char separator) {
    if (decimals < 0)
        decimals = 0;
    if (intDigits < 1)
        intDigits = 1;
    if (!std::isfinite(value))
        return std::signbit(value) && !std::isnan(value) ? "-inf" : (std::isnan(value) ? "nan" : "inf");

    // The 18 significant digits of the value decide the rounding, not its binary tail: a value
    // printed as ...5 rounds up even when it is stored a hair below the half.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", std::fabs(value));
    // buffer: d.ddddddddddddddddde±XX
    std::string significant;
    const char* p = buffer;
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            significant += *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

    // Digit i of `significant` weighs 10^(exponent - i); keep those weighing at least 10^-decimals.
    const long keep = static_cast<long>(exponent) + decimals + 1;
    std::string units; // the rounded magnitude in units of 10^-decimals
    if (keep <= 0) {
        // Everything lies below the last kept place; only the leading digit can reach a half.
        units = (keep == 0 && significant[0] >= '5') ? "1" : "0";
    } else if (static_cast<std::size_t>(keep) >= significant.size()) {
        units = significant + std::string(static_cast<std::size_t>(keep) - significant.size(), '0');
    } else {
        units = significant.substr(0, static_cast<std::size_t>(keep));
        if (significant[static_cast<std::size_t>(keep)] >= '5')
            IncrementDigits(units);
    }

    const std::size_t d = static_cast<std::size_t>(decimals);
    const std::size_t minLength = d + static_cast<std::size_t>(intDigits);
    if (units.size() < minLength)
        units.insert(0, minLength - units.size(), '0');

    // A value that rounds to zero is written without a sign.
    const bool negative = std::signbit(value) && units.find_first_not_of('0') != std::string::npos;
    std::string out;
    if (negative)
        out += '-';
    out.append(units, 0, units.size() - d);
    if (d > 0) {
        out += separator;
        out.append(units, units.size() - d, d);
    }
    return out;
}

std::string PercentOfText(std::int64_t part, std::int64_t whole, char separator) {
    // Tenths of a percent, rounded half up: floor(part * 1000 / whole + 1/2).
    const std::int64_t tenths = (part * 2000 + whole) / (2 * whole);
    std::string text = ZeroPad(tenths / 10, 2);
    text += separator;
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

char LocaleDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && conv->decimal_point != nullptr && std::strlen(conv->decimal_point) == 1)
        return conv->decimal_point[0];
    return '.';
}

} // namespace zg
