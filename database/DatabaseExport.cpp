// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DatabaseExport.h"

#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace zg {

std::string DrawGridCellText(const DrawRecord& draw, int column) {
    switch (column) {
    case 0:
        return FormatMask(draw.Number, " 0000");
    case 1:
        return FormatMask(draw.Day, " 00");
    case 2:
        return FormatMask(draw.Month, " 00");
    case 3:
        return FormatMask(draw.Year, " 0000");
    default:
        if (column >= 4 && column < DrawGridColumnCount)
            return FormatMask(draw.Numbers[column - 4], " 00");
        return {};
    }
}

namespace {

// "00".."99": the two digits of every value below 100, so that a cell is two byte copies.
struct TwoDigitTable {
    char digits[100][2];
    constexpr TwoDigitTable() : digits() {
        for (int v = 0; v < 100; ++v) {
            digits[v][0] = static_cast<char>('0' + v / 10);
            digits[v][1] = static_cast<char>('0' + v % 10);
        }
    }
};
constexpr TwoDigitTable TwoDigits;

char* PutTwo(char* out, std::int32_t value) {
    out[0] = TwoDigits.digits[value][0];
    out[1] = TwoDigits.digits[value][1];
    return out + 2;
}

// Whether every value of the draw lies where the fixed-width writing below covers it: the
// number 0..99,999, the day, the month and the drawn numbers 0..99, the year 0..9,999.
bool HasPlainValues(const DrawRecord& draw) {
    // A negative value becomes a large one through the unsigned conversion.
    std::uint32_t largest = std::max(static_cast<std::uint32_t>(draw.Day), static_cast<std::uint32_t>(draw.Month));
    for (std::int32_t n : draw.Numbers)
        largest = std::max(largest, static_cast<std::uint32_t>(n));
    return largest < 100u && static_cast<std::uint32_t>(draw.Number) < 100000u &&
           static_cast<std::uint32_t>(draw.Year) < 10000u;
}

// One draw line of plain values, without its line end, as the general cell writing gives it: the
// number with at least 4 digits, the day and month with 2, the year with 4, each drawn number
// with 2, each followed by ";". Returns the end of the written bytes (at most 78 of them).
char* PutPlainDrawLine(const DrawRecord& draw, char* out) {
    std::int32_t number = draw.Number;
    if (number >= 10000) {
        *out++ = static_cast<char>('0' + number / 10000);
        number %= 10000;
    }
    out = PutTwo(PutTwo(out, number / 100), number % 100);
    *out++ = ';';
    out = PutTwo(out, draw.Day);
    *out++ = ';';
    out = PutTwo(out, draw.Month);
    *out++ = ';';
    out = PutTwo(PutTwo(out, draw.Year / 100), draw.Year % 100);
    *out++ = ';';
    for (std::int32_t n : draw.Numbers) {
        out = PutTwo(out, n);
        *out++ = ';';
    }
    return out;
}

} // namespace

std::string DatabaseExportBytes(DrawsView draws) {
    // Every draw line holds only digits, minus signs and ";" (the same bytes in UTF-8 and
    // Windows-1250), each cell as DrawGridCellText gives it without its blank, formatted straight
    // into the one buffer reserved for all the lines: at most 96 bytes a line for the values the
    // program stores (a longer value only makes the buffer grow). A line of plain values (every
    // draw the program stores itself) is made in a small local buffer with two-digit copies; any
    // other line goes through the general digit writing.
    const std::size_t count = draws.count > 0 ? static_cast<std::size_t>(draws.count) : 0;
    ReportText report(1024 + count * 96);
    report.Header();
    report.Line(std::string("\t\t") + std::string(DatabaseExportTitle));
    report.Line();
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& draw = draws[k];
        if (HasPlainValues(draw)) {
            char line[96];
            char* end = PutPlainDrawLine(draw, line);
            *end++ = '\r';
            *end++ = '\n';
            report.Raw(std::string_view(line, static_cast<std::size_t>(end - line)));
            continue;
        }
        report.Digits(draw.Number, 4).Char(';').Digits(draw.Day, 2).Char(';').Digits(draw.Month, 2).Char(';');
        report.Digits(draw.Year, 4).Char(';');
        for (std::int32_t n : draw.Numbers)
            report.Digits(n, 2).Char(';');
        report.LineEnd();
    }
    report.Line();
    report.Footer();
    return report.Take();
}

} // namespace zg
