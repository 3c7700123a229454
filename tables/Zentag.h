// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ZENTAG table: the draws that lie a fixed distance after (or before) the draws a search
// found, which numbers each of them holds, and how often every number and every pair of numbers
// came up among them, ranked by frequency. Pure standard C++; the ZENTAG window and the command
// line only show what it returns.
#include "analysis/AnalysisParameters.h"
#include "analysis/DrawQuery.h"
#include "analysis/SetHitSearch.h"
#include "base/DrawTypes.h"
#include "base/LargeArrays.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zg {

inline constexpr std::int32_t ZentagOffsetMin = -99;
inline constexpr std::int32_t ZentagOffsetMax = 99;

// What one computation reads: the query's draws and range (the range the search ran over), the
// draws the search found and the distance; the query's set, masks and hit bounds are not read.
struct ZentagInput : DrawQuery {
    const std::int32_t* foundDraws = nullptr; // 1-based: foundDraws[1..foundCount], ascending
    std::int32_t foundCount = 0;              // also the denominator of every percentage
    std::int32_t offset = 1;                  // the draw distance
    char decimalSeparator = ',';
};

// What the ZENTAG window is asked to show: the search's parameters (its draws, set, range and hit
// bounds, which the report's heading names), the ordinals of the draws it found and the distance.
// The ordinals are 1-based as the search writes them, (*foundDraws)[1..foundCount], and are never
// changed once made: the window may keep them while the main window searches again.
struct ZentagRequest {
    AnalysisParameters parameters;
    std::shared_ptr<const std::vector<std::int32_t>> foundDraws;
    std::int32_t foundCount = 0;
    std::int32_t offset = 1;
};

// One qualifying draw: found draw + offset, inside the range.
struct ZentagRow {
    std::int32_t ordinal = 0;
    // The draw's date as stored, the year as its last two digits (0..99); DateText writes it.
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t shortYear = 0;
    std::uint64_t drawn[2] = {}; // bit x - 1 of the 128 set when number x (1..80) is in the draw

    // DD.MM.YY, as DrawDateText writes the draw's date.
    std::string DateText() const;

    bool Drawn(std::int32_t x) const {
        if (!IsLotteryNumber(x))
            return false;
        const auto bit = static_cast<unsigned>(x - 1);
        return (drawn[bit / 64] >> (bit % 64)) & 1u;
    }
};

struct ZentagResult {
    // The numbers of the grid's columns after the date column: 1..80, or the selection.
    std::vector<std::int32_t> columns;
    // The heading row: "" over the date column, then each column's number with two digits.
    std::vector<std::string> headings;
    // One row per qualifying draw, in the order of the found draws (3.2 MB for 99,999 of them,
    // written once, in huge pages where the system offers them).
    std::vector<ZentagRow, LargeArrayAllocator<ZentagRow>> rows;
    // "Wystąpienia liczb": "NN --> C = P%", count descending, ties to the smaller number.
    std::vector<std::string> singleLines;
    // "Wystąpienia par liczb": "AA,BB --> C = P%", count descending, ties to the smaller first
    // number, then to the smaller second number.
    std::vector<std::string> pairLines;

    int ColumnCount() const { return static_cast<int>(columns.size()) + 1; }
    // Text of grid cell (column, row) below the heading row: column 0 the date, column c the
    // number of that column with two digits when the draw holds it, else empty.
    std::string CellText(std::size_t row, std::size_t column) const;
};

// The complete table over the 80 numbers. progress (may be null) gets total(foundCount) and then
// step(k) for the k-th found draw that yields a row, and step(foundCount) at the end.
//
// Every two positions of a draw count for the pair (smaller number, larger number), whatever
// the order in which the draw stores them; a stored value outside 1..80 counts nowhere and fills
// no cell. The range is cut to the draws the table holds. With no found draws the percentages
// read 0 instead of dividing by zero.
ZentagResult ComputeZentagTable(const ZentagInput& input, SearchProgress* progress);

// The same table restricted to the selected numbers (any order; values outside 1..80 and
// repetitions are dropped): their columns, their single lines and the pairs among them. The rows
// are those of the complete table.
ZentagResult ComputeZentagTableFor(const ZentagInput& input, std::span<const std::int32_t> selection);

// The lines the window shows under the ranked lists: what chance alone gives for one number
// (probability 1/4) and for one pair (380/6320) in the `rows` found draws whose draw at the distance
// lies in the range, as percentages of the `foundCount` found draws, the lists' denominator. The
// band a–b is the 2.5% and 97.5% quantiles of Binomial(rows, probability) times 100 / foundCount,
// with one decimal. When rows < foundCount the line says how many found draws have a draw at the
// distance; with no rows it reads "Sam przypadek: brak losowań w tej odległości.".
std::string ZentagNumbersBaseline(std::int64_t rows, std::int64_t foundCount, char separator);
std::string ZentagPairsBaseline(std::int64_t rows, std::int64_t foundCount, char separator);

// "ZENTAG +3" for a distance above 0, else "ZENTAG 0", "ZENTAG -3": the main window's button.
std::string ZentagCaption(std::int32_t offset);

} // namespace zg
