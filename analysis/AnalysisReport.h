// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The analysis report: the result of a set-hit search as a Windows-1250 text file with the common
// header and footer. Pure standard C++; the main window and the command line fill the input from
// what they show.
#include "analysis/AnalysisParameters.h"
#include "analysis/SetHitSearch.h"
#include "base/ReportWriter.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

// What the reports about a set-hit search (analysis, ZENTAG table, calendar map) open with.
struct SearchReportHeading {
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::string rangeFromDate; // DD.MM.YY of draw rangeFrom (DrawDateText)
    std::string rangeToDate;   // DD.MM.YY of draw rangeTo
    std::string hitsFromText;  // the texts of the two hit fields, as they read
    std::string hitsToText;
    std::vector<std::int32_t> setNumbers; // the set's numbers, written in this order
};

struct AnalysisReportInput : SearchReportHeading {
    std::span<const SearchRow> rows; // the grid rows; written as their cell texts, trimmed
    SearchStatistics statistics;     // the five values as shown; the hints are not written
};

// The numbers of a set, Numbers[1..Count] in order (Count cut to 0..80).
std::vector<std::int32_t> SetNumbersOf(const NumberSetData& set);

// The heading of a report about the search with `parameters` over `draws` with `set`: the range
// with the dates of its two draws, the hit fields' texts and the set's numbers. Every window and
// command that writes such a report fills its heading here.
SearchReportHeading MakeSearchHeading(const AnalysisParameters& parameters, const DrawsView& draws,
                                      const NumberSetData& set);

// The opening lines of the reports about a range of draws (analysis, ZENTAG table, calendar map,
// patterns): the common header, " Zakres losowań: FROM(DD.MM.YY) - TO(DD.MM.YY)" and an empty line.
void AddRangeHeading(ReportText& report, std::int32_t rangeFrom, std::string_view rangeFromDate, std::int32_t rangeTo,
                     std::string_view rangeToDate);

// " LEAD losowań w których wylosowano od LOW do HIGH liczb z zestawu liczb: 3,7,15" (the hit
// fields' texts, the numbers in the order given) and an empty line. LEAD is "Spis" in the analysis
// report and "Szukano" in the ZENTAG report.
void AddSetHeading(ReportText& report, std::string_view lead, std::string_view hitsFromText,
                   std::string_view hitsToText, const std::vector<std::int32_t>& setNumbers);

// AddRangeHeading, then AddSetHeading with LEAD, of `heading`.
void AddSearchHeading(ReportText& report, std::string_view lead, const SearchReportHeading& heading);

// The whole report as the bytes of the file: header, range, hit bounds and set, the heading and
// one line per row, the five statistics, footer.
std::string AnalysisReportBytes(const AnalysisReportInput& input);

} // namespace zg
