#pragma once
// The ZENTAG table report: the grid of a ZENTAG table as a Windows-1250 text file with the common
// header and footer. Pure standard C++; the ZENTAG window and the command line fill the input.
#include "analysis/AnalysisReport.h"
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
// column); an empty line; footer.
std::string ZentagReportBytes(const ZentagReportInput& input);

} // namespace zg
