#include "tables/ZentagReport.h"

#include "analysis/AnalysisReport.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

namespace zg {

namespace {

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string ZentagReportBytes(const ZentagReportInput& input) {
    static const ZentagResult NoTable;
    const ZentagResult& table = input.table != nullptr ? *input.table : NoTable;
    const std::string sixTabs(6, '\t');

    ReportText head;
    AddSearchHeading(head, "Szukano", input);
    head.Line(sixTabs + "TABELKA " + ZentagCaption(input.offset));
    head.Line();
    const std::size_t k = table.columns.size();
    if (k != 80) {
        for (std::size_t j = 1; j <= k; ++j) {
            const std::string heading =
                j < table.headings.size() ? table.headings[j] : ZeroPad(table.columns[j - 1], 2);
            head.Line(sixTabs + "  ** " + ZeroPad(static_cast<std::int64_t>(j), 2) + " = " + heading + " **");
        }
        head.Line();
    }
    head.Line("\t\t  01-10      11-20      21-30      31-40      41-50      51-60      61-70      71-80   ");
    head.Line("\t\t1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890");
    head.Line();

    // The row lines hold digits, points, minus signs, blanks and tabs only, which are the same
    // bytes in UTF-8 and Windows-1250: they are appended directly (a table may have tens of
    // thousands of rows).
    std::string bytes = head.Bytes();
    bytes.reserve(bytes.size() + table.rows.size() * (k + k / 10 + 14) + 128);
    for (const ZentagRow& row : table.rows) {
        bytes += Trimmed(row.date);
        bytes += '\t';
        for (std::size_t c = 1; c <= k; ++c) {
            const std::int32_t x = table.columns[c - 1];
            bytes += row.Drawn(x) ? static_cast<char>('0' + x % 10) : '-';
            if (c % 10 == 0)
                bytes += ' ';
        }
        bytes += "\r\n";
    }
    ReportText tail;
    tail.Line();
    tail.Footer();
    bytes += tail.Bytes();
    return bytes;
}

} // namespace zg
