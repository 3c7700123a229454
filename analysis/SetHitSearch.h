// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The set-hit search: which draws of a range hit the number set between two bounds, with the
// gaps between them and the statistics derived from the list; plus the texts the main window
// shows for the result (grid cells, statistics values, messages). Pure standard C++.
#include "base/DrawMasks.h"
#include "base/DrawTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

// One qualifying draw, in the order found (oldest first).
struct SearchRow {
    std::int32_t lp = 0;      // 1-based position in the list
    std::int32_t ordinal = 0; // draw ordinal
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    std::int32_t hits = 0; // how many drawn numbers belong to the set
    std::int32_t gap = 0;  // draws of the range strictly between this row and the previous one
};

struct SearchResult {
    std::vector<SearchRow> rows;
    std::int64_t total = 0;      // sum of the rows' hits
    std::int32_t maxSeries = 0;  // longest run of consecutive qualifying ordinals
    std::int32_t seriesEnd = 0;  // ordinal ending the earliest longest run
    std::int32_t maxGap = 0;     // largest row gap, 0 when none
    std::int32_t gapEnd = 0;     // ordinal of the row closing the earliest largest gap
    std::int32_t last = 0;       // ordinal of the last row (rangeFrom - 1 when no row)
    std::int32_t currentGap = 0; // rangeTo - last (0 for an empty range)
};

// Progress of a running search: total(n) once with the number of draws examined, then step(i)
// for i = 1..n, one call per draw. The main window drives its gauge with it.
class SearchProgress {
public:
    virtual ~SearchProgress() = default;
    virtual void total(std::int32_t n) = 0;
    virtual void step(std::int32_t i) = 0;
};

// Runs the search over draws rangeFrom..rangeTo (ordinals, both inclusive): a draw qualifies when
// hitsFrom <= hits <= hitsTo, where hits counts the draw's 20 numbers that are members of the set
// (a number drawn twice counts twice; a number outside 1..80 never counts). Only set.Member[1..80]
// is consulted, never set.Numbers or set.Count.
//
// foundCount := 0 first; then the ordinal of every row goes to foundDraws[1..] (foundDraws must
// have MaxDraws + 1 entries; it may be null when the caller does not want the list).
//
// Guards, so that no argument can make the search read or write out of bounds: the range is cut to
// the draws the view holds (1..draws.count) and the statistics are those of the cut range; an
// empty cut range (including rangeFrom > rangeTo) gives no rows, progress total(0) and no steps;
// foundDraws never receives more than MaxDraws entries. progress may be null.
SearchResult SetHitSearch(const DrawsView& draws, const NumberSetData& set, std::int32_t rangeFrom,
                          std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo, std::int32_t* foundDraws,
                          std::int32_t& foundCount, SearchProgress* progress);

// The same search with the draws' masks built beforehand from the same view (DrawMasks(draws)):
// the result is byte for byte the one above, at a fraction of the cost. Masks built for a view of
// another size are not used.
SearchResult SetHitSearch(const DrawsView& draws, const DrawMasks& masks, const NumberSetData& set,
                          std::int32_t rangeFrom, std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo,
                          std::int32_t* foundDraws, std::int32_t& foundCount, SearchProgress* progress);

// The hits of every draw of rangeFrom..rangeTo, counted exactly as the searches above count them
// (with the masks when they were built for this view, else from the draws' numbers): entry i
// belongs to draw max(rangeFrom, 1) + i. The range is cut to the view's draws as the search cuts
// it; an empty cut range gives an empty list. masks may be null.
std::vector<std::uint8_t> SetHitsOfRange(const DrawsView& draws, const DrawMasks* masks, const NumberSetData& set,
                                         std::int32_t rangeFrom, std::int32_t rangeTo);

// --- Validation before a search -------------------------------------------------------------

enum class SearchRefusal { None, Range, Hits };

// Which refusal applies: a range whose start lies above its end first, then hit bounds whose
// lower lies above the upper. Window and command line use the same order.
SearchRefusal ValidateSearch(std::int32_t rangeFrom, std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo);

inline constexpr std::string_view RangeRefusalText = "Nieprawidłowo zadany zakres losowań !!";
inline constexpr std::string_view HitsRefusalText = "Nieprawidłowo zadane wartości!";
inline constexpr std::string_view RefusalTitle = "Błąd!";
inline constexpr std::string_view NothingFoundText = "Nie znaleziono losowań spełniających zadane kryteria.";
inline constexpr std::string_view NothingFoundTitle = "ZENTAGRAFO";

// The message of a refusal (empty for None).
std::string_view RefusalText(SearchRefusal refusal);

// --- The result grid ------------------------------------------------------------------------

inline constexpr int ResultGridColumns = 5;

// Heading of column 0..4, exactly as the grid shows it; empty for any other column.
std::string ResultGridHeading(int column);

// Text of one cell of a result row, with its leading blanks; empty for a column outside 0..4.
//   0: "       0001"   1: 12 blanks + ordinal   2: "        05.03.2008"
//   3: 17 blanks + hits   4: "               0" (15 blanks + gap)
std::string ResultCellText(const SearchRow& row, int column);

// The same text without its leading and trailing blanks, as the report writes it.
std::string ResultFieldText(const SearchRow& row, int column);

// Cell 0..19 of the numbers strip: the draw's number at that position with two digits.
std::string NumbersStripText(const DrawRecord& draw, int cell);

// --- The statistics -------------------------------------------------------------------------

inline constexpr std::string_view TotalCaption = "Łączna ilość trafionych liczb:";
inline constexpr std::string_view AverageCaption = "Średnio w jednym losowaniu:";
inline constexpr std::string_view MaxGapCaption = "Max przerwa:";
inline constexpr std::string_view CurrentGapCaption = "Bieżąca przerwa:";
inline constexpr std::string_view MaxSeriesCaption = "Max seria wystąpień: "; // ends with a blank

// The five values the window shows beside the captions, and the hints of the two linked values.
struct SearchStatistics {
    std::string total;
    std::string average;
    std::string maxGap;
    std::string currentGap;
    std::string maxSeries;
    std::string maxGapHint;    // DD.MM.YY - DD.MM.YY; empty when maxGap is 0
    std::string maxSeriesHint; // DD.MM.YY - DD.MM.YY
    bool maxGapIsLink = false; // maxGap >= 1: shown underlined with a hand cursor and the hint
};

// The statistics texts of a result for a set of k numbers. With no rows only `total` is filled
// ("0"), as the window then shows nothing else. A k below 1 cannot come from the window; the
// percentage then reads as 0 instead of dividing by zero.
SearchStatistics SearchStatisticsTexts(const SearchResult& result, std::int32_t k, const DrawsView& draws,
                                       char decimalSeparator);

} // namespace zg
