// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/ZentagReport.h"

#include "analysis/AnalysisReport.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace zg {

namespace {

// The 10 characters of a group of ten consecutive numbers 10g+1..10g+10 for each of the 1024 ways
// they can be drawn (bit j: number 10g+j+1): the last digit of a drawn number, "-" for the others.
// The last digits are 1..9, 0 in every group, so one table serves all eight groups.
struct GroupTexts {
    char text[1024][10];
    GroupTexts() {
        for (unsigned drawn = 0; drawn < 1024; ++drawn)
            for (unsigned j = 0; j < 10; ++j)
                text[drawn][j] = (drawn >> j) & 1u ? static_cast<char>('0' + (j + 1) % 10) : '-';
    }
};

// The grid of a complete table: columns 1..80 in order.
bool IsCompleteColumns(const std::vector<std::int32_t>& columns) {
    if (columns.size() != 80)
        return false;
    for (std::size_t c = 0; c < 80; ++c)
        if (columns[c] != static_cast<std::int32_t>(c) + 1)
            return false;
    return true;
}

// The 80 cells of a complete table's row, a blank after every tenth: eight groups of ten bits of
// the row's numbers, each written from the table.
void WriteCompleteRow(const ZentagRow& row, char* out) {
    static const GroupTexts texts;
    for (unsigned g = 0; g < 8; ++g) {
        const unsigned first = 10 * g; // bit of number 10g+1
        std::uint64_t bits;
        if (first + 10 <= 64)
            bits = row.drawn[0] >> first;
        else if (first >= 64)
            bits = row.drawn[1] >> (first - 64);
        else
            bits = (row.drawn[0] >> first) | (row.drawn[1] << (64 - first));
        std::memcpy(out, texts.text[bits & 1023u], 10);
        out[10] = ' ';
        out += 11;
    }
}

// Where a column's number lies in a row's bits, and the character it shows when drawn; a column
// whose number lies outside 1..80 is never drawn.
struct ColumnBit {
    unsigned word = 0;
    unsigned shift = 0;
    bool lottery = false;
    char drawn = '-';
};

std::vector<ColumnBit> ColumnBits(const std::vector<std::int32_t>& columns) {
    std::vector<ColumnBit> bits(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::int32_t x = columns[c];
        if (!IsLotteryNumber(x))
            continue;
        const auto bit = static_cast<unsigned>(x - 1);
        bits[c] = ColumnBit{bit / 64, bit % 64, true, static_cast<char>('0' + x % 10)};
    }
    return bits;
}

// The cells of a row of any table: one character per column, a blank after every tenth.
void WriteSelectedRow(const ZentagRow& row, const std::vector<ColumnBit>& columns, char* out) {
    std::size_t c = 0;
    for (const ColumnBit& column : columns) {
        const bool drawn = column.lottery && ((row.drawn[column.word] >> column.shift) & 1u) != 0;
        *out++ = drawn ? column.drawn : '-';
        if (++c % 10 == 0)
            *out++ = ' ';
    }
}

} // namespace

bool WriteZentagReport(const ZentagReportInput& input, const ReportPieceSink& sink) {
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
    // bytes in UTF-8 and Windows-1250: they are written straight into a piece buffer. A table may
    // have tens of thousands of rows (10 MB), so the buffer goes to the sink whenever it holds a
    // piece and is then reused: it stays in the cache, and the report never stands whole in memory.
    const std::size_t cells = k + k / 10;
    // The date, a tab, the cells and CR LF; a date of DD.MM.YY takes 8 bytes, and any date at most
    // three numbers of 11 characters and two points.
    const std::size_t rowRoom = 35 + 1 + cells + 2;
    std::vector<char> piece(ReportPieceSize + rowRoom);
    char* const begin = piece.data();
    char* out = begin;
    const std::string_view headBytes = head.Bytes();
    if (headBytes.size() <= ReportPieceSize) {
        std::memcpy(out, headBytes.data(), headBytes.size());
        out += headBytes.size();
    } else if (!sink(headBytes)) {
        return false;
    }
    const bool complete = IsCompleteColumns(table.columns);
    const std::vector<ColumnBit> columnBits = ColumnBits(table.columns);
    for (const ZentagRow& row : table.rows) {
        if (row.day >= 0 && row.day <= 99 && row.month >= 0 && row.month <= 99) {
            const std::int32_t parts[3] = {row.day, row.month, row.shortYear};
            for (int i = 0; i < 3; ++i) {
                *out++ = static_cast<char>('0' + parts[i] / 10);
                *out++ = static_cast<char>('0' + parts[i] % 10);
                if (i < 2)
                    *out++ = '.';
            }
        } else {
            const std::string date = row.DateText();
            std::memcpy(out, date.data(), date.size());
            out += date.size();
        }
        *out++ = '\t';
        if (complete)
            WriteCompleteRow(row, out);
        else
            WriteSelectedRow(row, columnBits, out);
        out += cells;
        *out++ = '\r';
        *out++ = '\n';
        if (static_cast<std::size_t>(out - begin) >= ReportPieceSize) {
            if (!sink(std::string_view(begin, static_cast<std::size_t>(out - begin))))
                return false;
            out = begin;
        }
    }
    ReportText tail;
    tail.Raw(std::string_view(begin, static_cast<std::size_t>(out - begin)));
    tail.Line();
    tail.Footer();
    return sink(tail.Bytes());
}

std::string ZentagReportBytes(const ZentagReportInput& input) {
    std::string whole;
    WriteZentagReport(input, [&whole](std::string_view piece) {
        whole.append(piece);
        return true;
    });
    return whole;
}

} // namespace zg
