// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ZENTAG table report: the grid of a ZENTAG table as a Windows-1250 text file with the common
// header and footer. Pure standard C++; the ZENTAG window and the command line fill the input.
#include "analysis/AnalysisReport.h"
#include "base/ReportWriter.h"
#include "tables/Zentag.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zg {

struct ZentagReportInput : SearchReportHeading {
    std::int32_t offset = 1;
    const ZentagResult* table = nullptr; // the grid as shown (complete or filtered)
};

// Header; range; hit bounds and set; the table's title with its distance; for a table of other
// than 80 columns a legend naming the number of every column; the two rulers; one line per grid
// row (the last digit of every drawn number, "-" for the others, a blank after every tenth
// column); an empty line; footer. The bytes go to the sink in consecutive pieces of about
// ReportPieceSize bytes (the last one smaller); false when the sink refused a piece, after which
// nothing more is written.
bool WriteZentagReport(const ZentagReportInput& input, const ReportPieceSink& sink);

// The same report's bytes as a whole.
std::string ZentagReportBytes(const ZentagReportInput& input);

// The size of the pieces a large report is written in: small enough to stay in the cache.
inline constexpr std::size_t ReportPieceSize = std::size_t{256} << 10;

} // namespace zg
