#include "database/DatabaseExport.h"

#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

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

std::string DatabaseExportBytes(DrawsView draws) {
    // Every draw line holds only digits, minus signs and ";" (the same bytes in UTF-8 and
    // Windows-1250), each cell as DrawGridCellText gives it without its blank, formatted straight
    // into the one buffer reserved for all the lines: at most 96 bytes a line for the values the
    // program stores (a longer value only makes the buffer grow).
    const std::size_t count = draws.count > 0 ? static_cast<std::size_t>(draws.count) : 0;
    ReportText report(1024 + count * 96);
    report.Header();
    report.Line(std::string("\t\t") + std::string(DatabaseExportTitle));
    report.Line();
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& draw = draws[k];
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
