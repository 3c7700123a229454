// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/NumberTableReport.h"

#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/ReportWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace zg {

namespace {

// ---- text pieces, appended without a text of their own ----

void AppendInt(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The value with at least `width` digits (ZeroPad: the zeros after a minus sign).
void AppendPadded(std::string& out, std::int64_t value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const char* begin = digits;
    if (value < 0) {
        out += '-';
        ++begin;
    }
    for (auto length = result.ptr - begin; length < width; ++length)
        out += '0';
    out.append(begin, static_cast<std::size_t>(result.ptr - begin));
}

// numerator / denominator (both >= 0, denominator > 0) with two decimals, rounded half away from
// zero exactly, in integers.
void AppendHundredths(std::string& out, std::int64_t numerator, std::int64_t denominator, char separator) {
    const std::int64_t hundredths = (200 * numerator + denominator) / (2 * denominator);
    AppendInt(out, hundredths / 100);
    out += separator;
    AppendPadded(out, hundredths % 100, 2);
}

void AppendNumberText(std::string& out, std::int32_t number) {
    AppendPadded(out, number, 2);
}

} // namespace

std::string NumberColumnCaption(int column, std::int32_t last) {
    switch (column) {
    case NumberColumnNumber:
        return "Liczba";
    case NumberColumnCount:
        return "Wystąpienia";
    case NumberColumnShare:
        return "%";
    case NumberColumnLastDraw:
        return "Ostatnio (nr losowania)";
    case NumberColumnLastDate:
        return "Data";
    case NumberColumnCurrentGap:
        return "Zaległość";
    case NumberColumnMeanGap:
        return "Średnia przerwa";
    case NumberColumnLongestGap:
        return "Najdłuższa przerwa";
    case NumberColumnChance:
        return "Szansa takiej zaległości";
    case NumberColumnCountLast:
        return "W ostatnich " + std::to_string(last);
    case NumberColumnStatus:
        return "Ocena";
    default:
        return {};
    }
}

void AppendNumberCell(std::string& out, const NumberRow& row, std::int32_t draws, int column, char separator) {
    switch (column) {
    case NumberColumnNumber:
        AppendNumberText(out, row.number);
        break;
    case NumberColumnCount:
        AppendInt(out, row.count);
        break;
    case NumberColumnShare:
        AppendHundredths(out, 100 * static_cast<std::int64_t>(row.count), draws, separator);
        break;
    case NumberColumnLastDraw:
        if (row.lastDraw > 0)
            AppendInt(out, row.lastDraw);
        break;
    case NumberColumnLastDate:
        if (row.lastDraw > 0) {
            AppendPadded(out, row.lastDate.day, 2);
            out += '.';
            AppendPadded(out, row.lastDate.month, 2);
            out += '.';
            AppendInt(out, row.lastDate.year);
        }
        break;
    case NumberColumnCurrentGap:
        AppendInt(out, row.currentGap);
        break;
    case NumberColumnMeanGap:
        if (row.count > 0)
            AppendHundredths(out, row.gapSum, row.count, separator);
        break;
    case NumberColumnLongestGap:
        AppendInt(out, row.longestGap);
        break;
    case NumberColumnChance:
        AppendChancePercent(out, row.pCurrentGap, separator);
        break;
    case NumberColumnCountLast:
        AppendInt(out, row.countLast);
        break;
    case NumberColumnStatus:
        if (row.status == NumberStatus::Hot)
            out += "gorąca";
        else if (row.status == NumberStatus::Cold)
            out += "zimna";
        break;
    default:
        break;
    }
}

void AppendChancePercent(std::string& out, double probability, char separator) {
    const double percent = 100 * probability;
    if (!(percent >= 1e-4)) { // also NaN
        out += "< 0";
        out += separator;
        out += "0001%";
        return;
    }
    // The 18 significant digits decide the rounding, as in the program's other decimals.
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, percent, std::chars_format::scientific, 17);
    const std::string_view s(text, static_cast<std::size_t>(result.ptr - text)); // d.ddddddddddddddddde±XX
    int exponent = 0;
    const std::size_t e = s.find('e');
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
    int digits = (s[0] - '0') * 10 + (s[2] - '0'); // two significant digits
    if (s[3] >= '5')
        ++digits;
    if (digits == 100) {
        digits = 10;
        ++exponent;
    }
    // digits x 10^(exponent - 1)
    if (exponent >= 1) {
        AppendInt(out, digits);
        for (int i = 1; i < exponent; ++i)
            out += '0';
    } else if (exponent == 0) {
        out += static_cast<char>('0' + digits / 10);
        out += separator;
        out += static_cast<char>('0' + digits % 10);
    } else {
        out += '0';
        out += separator;
        for (int i = -1; i > exponent; --i)
            out += '0';
        AppendPadded(out, digits, 2);
    }
    out += '%';
}

std::string ChancePercentText(double probability, char separator) {
    std::string out;
    AppendChancePercent(out, probability, separator);
    return out;
}

std::string NumberTableHeading(const NumberTable& table) {
    std::string out = "Liczby w losowaniach ";
    AppendInt(out, table.rangeFrom);
    out += " – ";
    AppendInt(out, table.rangeTo);
    out += " (" + CountOfDraws(table.draws) + ", " + table.firstDateLong + " – " + table.lastDateLong + ")";
    return out;
}

std::string LongestGapSentence(const NumberTable& table, char separator) {
    const std::int32_t g = table.longestCurrentGap;
    std::string out = "Najdłuższa zaległość: " + CountOfDraws(g) + " (";
    out += table.longestGapNumbers.size() == 1 ? "liczba: " : "liczby: ";
    for (std::size_t i = 0; i < table.longestGapNumbers.size(); ++i) {
        if (i > 0)
            out += ", ";
        AppendNumberText(out, table.longestGapNumbers[i]);
    }
    // "od" takes the genitive: "od 1 losowania", "od 2 losowań".
    out += "). Że któraś z 80 liczb nie padła od co najmniej ";
    AppendInt(out, g);
    out += g == 1 ? " losowania" : " losowań";
    out += ", sam przypadek daje w ";
    AppendChancePercent(out, table.pAny, separator);
    out += " przypadków.";
    return out;
}

std::string OutsideBandSentence(const NumberTable& table, char separator) {
    std::string out =
        table.last == 1 ? "W ostatnim 1 losowaniu" : "W ostatnich " + std::to_string(table.last) + " losowaniach";
    out += " poza przedziałem 95% (";
    AppendInt(out, table.bandLast.low);
    out += "–";
    AppendInt(out, table.bandLast.high);
    out += "): " + CountOfNumbers(table.outsideCount) + "; sam przypadek daje średnio ";
    out += FormatDecimal(table.outsideExpected, 1, 1, separator);
    out += '.';
    return out;
}

std::string NumbersReportBytes(const NumberTable& table, char separator) {
    std::string body;                             // UTF-8, converted once
    body.reserve(2048 + table.rows.size() * 128); // the rows take well under 128 bytes each
    body += " Zakres losowań: ";
    AppendInt(body, table.rangeFrom);
    body += "(" + table.firstDateShort + ") - ";
    AppendInt(body, table.rangeTo);
    body += "(" + table.lastDateShort + ")\r\n\r\n Ostatnich losowań: ";
    AppendInt(body, table.last);
    body += "\r\n\r\n";
    for (int c = 0; c < NumberColumnTotal; ++c) {
        body += NumberColumnCaption(c, table.last);
        body += ';';
    }
    body += "\r\n";
    for (const NumberRow& row : table.rows) {
        for (int c = 0; c < NumberColumnTotal; ++c) {
            AppendNumberCell(body, row, table.draws, c, separator);
            body += ';';
        }
        body += "\r\n";
    }
    body += "\r\n";
    body += LongestGapSentence(table, separator);
    body += "\r\n";
    body += OutsideBandSentence(table, separator);
    body += "\r\n\r\n";

    ReportText header, footer;
    header.Header();
    footer.Footer();
    std::string bytes;
    bytes.reserve(header.Bytes().size() + body.size() + footer.Bytes().size());
    bytes += header.Bytes();
    bytes += Utf8ToCp1250(body);
    bytes += footer.Bytes();
    return bytes;
}

} // namespace zg
