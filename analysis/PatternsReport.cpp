// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PatternsReport.h"

#include "analysis/AnalysisReport.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/ReportWriter.h"

#include <optional>

namespace zg {

namespace {

std::string Hundredths(double value, char separator) {
    return FormatDecimal(value, 1, 2, separator);
}

std::string Figure(const std::optional<double>& value, char separator) {
    return value ? Hundredths(*value, separator) : std::string("brak");
}

// "od;do;obserwowane;oczekiwane;" and, with z, "z;".
void AppendCaptions(std::string& out, int columns) {
    for (int c = 0; c < columns; ++c) {
        out += PatternColumnCaption(c);
        out += ';';
    }
    out += "\r\n";
}

template <typename Row, typename Cell> void AppendRows(std::string& out, const Row& rows, int columns, Cell cell) {
    for (const auto& row : rows) {
        for (int c = 0; c < columns; ++c) {
            out += cell(row, c);
            out += ';';
        }
        out += "\r\n";
    }
}

} // namespace

const char* PatternCaption(PatternKind kind) {
    switch (kind) {
    case PatternKind::Sum:
        return "Suma liczb";
    case PatternKind::Odd:
        return "Nieparzyste";
    case PatternKind::Low:
        return "Niskie (1–40)";
    case PatternKind::Consecutive:
        return "Sąsiednie liczby";
    case PatternKind::Repeated:
        return "Powtórzone z poprzedniego";
    }
    return "";
}

const char* PatternColumnCaption(int column) {
    static const char* const captions[] = {"od", "do", "obserwowane", "oczekiwane", "z"};
    return column >= 0 && column <= PatternColumnZ ? captions[column] : "";
}

std::string PatternCell(const PatternRow& row, int column, char separator) {
    switch (column) {
    case PatternColumnFrom:
        return std::to_string(row.from);
    case PatternColumnTo:
        return std::to_string(row.to);
    case PatternColumnObserved:
        return std::to_string(row.observed);
    case PatternColumnExpected:
        return Hundredths(row.expected, separator);
    default:
        return {};
    }
}

std::string DecadeCell(const DecadeRow& row, int column, char separator) {
    if (column == PatternColumnZ)
        return row.z ? Hundredths(*row.z, separator) : std::string();
    return PatternCell(PatternRow{row.from, row.to, row.observed, row.expected}, column, separator);
}

std::string PatternsHeading(const DrawPatterns& p) {
    std::string out = "Wzorce w losowaniach " + std::to_string(p.rangeFrom) + " – " + std::to_string(p.rangeTo) + " (" +
                      CountOfDraws(p.draws) + ", " + p.firstDateLong + " – " + p.lastDateLong;
    if (p.skipped > 0)
        out += "; pominięte losowania z powtórzoną liczbą lub liczbą spoza 1–80: " + std::to_string(p.skipped);
    return out + ")";
}

std::string PatternFiguresLine(const PatternResult& pattern, char separator) {
    return "Średnio: " + Figure(pattern.mean, separator) +
           " (sam przypadek: " + Hundredths(pattern.expectedMean, separator) +
           "); odchylenie: " + Figure(pattern.sd, separator) +
           " (sam przypadek: " + Hundredths(pattern.expectedSd, separator) + ")";
}

std::string PatternsReportBytes(const DrawPatterns& p, char separator) {
    std::string body; // UTF-8, converted once
    body.reserve(8192);
    for (const PatternResult& pattern : p.patterns) {
        body += PatternCaption(pattern.kind);
        body += ":\r\n";
        AppendCaptions(body, PatternColumnZ);
        AppendRows(body, pattern.rows, PatternColumnZ,
                   [separator](const PatternRow& r, int c) { return PatternCell(r, c, separator); });
        body += PatternFiguresLine(pattern, separator) + "\r\n";
        body += ChiSquareSentence(pattern.test, separator) + "\r\n\r\n";
    }
    body += DecadesCaption;
    body += ":\r\n";
    AppendCaptions(body, PatternColumnZ + 1);
    AppendRows(body, p.decades.rows, PatternColumnZ + 1,
               [separator](const DecadeRow& r, int c) { return DecadeCell(r, c, separator); });
    body += ChiSquareSentence(p.decades.test, separator) + "\r\n\r\n";

    ReportText header, footer;
    AddRangeHeading(header, p.rangeFrom, p.firstDateShort, p.rangeTo, p.lastDateShort);
    footer.Footer();
    return std::string(header.Bytes()) + Utf8ToCp1250(body) + std::string(footer.Bytes());
}

} // namespace zg
