#include "database/DatabaseExport.h"

#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

namespace zg {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

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

std::string DatabaseExportBytes(DrawsView draws) {
    ReportText report;
    report.Header();
    report.Line(std::string("\t\t") + std::string(DatabaseExportTitle));
    report.Line();
    std::string line;
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        line.clear();
        for (int column = 0; column < DrawGridColumnCount; ++column) {
            line += TrimBlanks(DrawGridCellText(draws[k], column));
            line += ';';
        }
        report.Line(line);
    }
    report.Line();
    report.Footer();
    return report.Bytes();
}

} // namespace zg
