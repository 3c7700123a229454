// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/AnalysisReport.h"

#include "base/DateRoutines.h"

#include <algorithm>

namespace zg {

std::vector<std::int32_t> SetNumbersOf(const NumberSetData& set) {
    const std::int32_t count = std::clamp<std::int32_t>(set.Count, 0, 80);
    return std::vector<std::int32_t>(set.Numbers + 1, set.Numbers + 1 + count);
}

SearchReportHeading MakeSearchHeading(const AnalysisParameters& parameters, const DrawsView& draws,
                                      const NumberSetData& set) {
    SearchReportHeading heading;
    heading.rangeFrom = parameters.rangeFrom;
    heading.rangeTo = parameters.rangeTo;
    heading.rangeFromDate = DrawDateText(draws, parameters.rangeFrom);
    heading.rangeToDate = DrawDateText(draws, parameters.rangeTo);
    heading.hitsFromText = parameters.hitsFromText;
    heading.hitsToText = parameters.hitsToText;
    heading.setNumbers = SetNumbersOf(set);
    return heading;
}

void AddRangeHeading(ReportText& report, std::int32_t rangeFrom, std::string_view rangeFromDate, std::int32_t rangeTo,
                     std::string_view rangeToDate) {
    report.Header();
    report.Line(" Zakres losowań: " + std::to_string(rangeFrom) + "(" + std::string(rangeFromDate) + ") - " +
                std::to_string(rangeTo) + "(" + std::string(rangeToDate) + ")");
    report.Line();
}

void AddSetHeading(ReportText& report, std::string_view lead, std::string_view hitsFromText,
                   std::string_view hitsToText, const std::vector<std::int32_t>& setNumbers) {
    std::string line = " " + std::string(lead) + " losowań w których wylosowano od " + std::string(hitsFromText) +
                       " do " + std::string(hitsToText) + " liczb z zestawu liczb: ";
    for (std::size_t i = 0; i < setNumbers.size(); ++i) {
        if (i > 0)
            line += ',';
        line += std::to_string(setNumbers[i]);
    }
    report.Line(line);
    report.Line();
}

void AddSearchHeading(ReportText& report, std::string_view lead, const SearchReportHeading& heading) {
    AddRangeHeading(report, heading.rangeFrom, heading.rangeFromDate, heading.rangeTo, heading.rangeToDate);
    AddSetHeading(report, lead, heading.hitsFromText, heading.hitsToText, heading.setNumbers);
}

std::string AnalysisReportBytes(const AnalysisReportInput& input) {
    ReportText head;
    AddSearchHeading(head, "Spis", input);
    head.Line("\tLp.\tNumer_losowania\tData_losowania\tIlość_trafionych_liczb\tOczekiwano_losowań");
    head.Line();

    ReportText tail;
    tail.Line();
    const SearchStatistics& s = input.statistics;
    tail.Line("  " + std::string(TotalCaption) + " " + s.total);
    tail.Line("  " + std::string(AverageCaption) + " " + s.average);
    tail.Line("  " + std::string(MaxGapCaption) + " " + s.maxGap);
    tail.Line("  " + std::string(CurrentGapCaption) + " " + s.currentGap);
    tail.Line("  " + std::string(MaxSeriesCaption) + s.maxSeries); // the caption ends with its blank
    tail.Line();
    tail.Footer();

    // The row lines hold only digits, points, minus signs and tabs, which are the same bytes in
    // UTF-8 and Windows-1250: each field is formatted straight into the one reserved buffer, as
    // ResultFieldText gives it (the grid cell without its blanks). A report may have tens of
    // thousands of rows.
    ReportBuffer bytes(head.Size() + input.rows.size() * 48 + tail.Size());
    bytes.Raw(head.Bytes());
    for (const SearchRow& row : input.rows) {
        bytes.Char('\t').Digits(row.lp, 4).Char('\t').Number(row.ordinal).Raw("\t\t");
        bytes.Digits(row.day, 2).Char('.').Digits(row.month, 2).Char('.').Number(row.year);
        bytes.Char('\t').Number(row.hits).Raw("\t\t\t").Number(row.gap).LineEnd();
    }
    bytes.Raw(tail.Bytes());
    return bytes.Take();
}

} // namespace zg
