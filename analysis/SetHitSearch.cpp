// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/SetHitSearch.h"

#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/PopcountClones.h"

#include <algorithm>
#include <bit>

namespace zg {

namespace {

// The search reads each draw's hit count from a byte buffer filled beforehand for the whole range,
// by one of the two counters below; the walk over the range then needs no draw's numbers at all.

// Hits of draw `draw` for a set given as 0/1 counts with entry 0 always 0: every drawn value outside
// 1..80 is sent to entry 0, so no drawn value is ever used as an index unchecked.
std::uint8_t LookupHits(const DrawRecord& draw, const std::uint8_t (&member)[81]) {
    std::uint32_t s = 0;
    for (std::int32_t y : draw.Numbers) {
        const auto u = static_cast<std::uint32_t>(y); // negative values become huge, so also > 80
        s += member[u <= 80u ? u : 0u];
    }
    return static_cast<std::uint8_t>(s);
}

void MemberCounts(const NumberSetData& set, std::uint8_t (&member)[81]) {
    member[0] = 0;
    for (std::int32_t x = 1; x <= 80; ++x)
        member[x] = set.Member[x] ? 1 : 0;
}

// A draw marked CountFromDraw holds a number twice; it is counted like LookupHits does.
[[gnu::noinline]] std::uint8_t RepeatedNumberHits(const DrawRecord& draw, const NumberSetData& set) {
    std::uint8_t member[81];
    MemberCounts(set, member);
    return LookupHits(draw, member);
}

// One AND and one popcount per half of the mask, with the popcount instruction where the
// processor has it. masks[i] is the mask of draw from + i.
ZG_POPCOUNT_CLONES
void MaskHitsOfRange(const DrawMask* masks, const DrawsView& draws, const NumberSetData& set, std::int32_t from,
                     std::int32_t n, std::uint8_t* hits) {
    const DrawMask s = SetMask(set);
    for (std::int32_t i = 0; i < n; ++i) {
        const DrawMask& m = masks[i];
        if ((m.high & CountFromDraw) != 0) [[unlikely]]
            hits[i] = RepeatedNumberHits(draws[from + i], set);
        else
            hits[i] = static_cast<std::uint8_t>(std::popcount(m.low & s.low) + std::popcount(m.high & s.high));
    }
}

// Without masks built beforehand: the masks of a few hundred draws at a time, made into a buffer in
// the cache, then counted as above; about twice as fast as looking up each drawn number.
void ComputedMaskHitsOfRange(const DrawsView& draws, const NumberSetData& set, std::int32_t from, std::int32_t n,
                             std::uint8_t* hits) {
    constexpr std::int32_t Chunk = 256;
    DrawMask masks[Chunk];
    for (std::int32_t at = 0; at < n; at += Chunk) {
        const std::int32_t count = std::min(Chunk, n - at);
        MasksOfRange(draws, from + at, static_cast<std::size_t>(count), masks);
        MaskHitsOfRange(masks, draws, set, from + at, count, hits + at);
    }
}

// The range as the search reads it: only draws the view really holds, whatever range is asked for.
struct SearchedRange {
    std::int32_t available = 0; // draws the view holds
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int32_t count = 0; // draws from..to, 0 when the cut range is empty
};

SearchedRange CutRange(const DrawsView& draws, std::int32_t rangeFrom, std::int32_t rangeTo) {
    SearchedRange r;
    r.available = draws.table != nullptr ? std::max<std::int32_t>(draws.count, 0) : 0;
    r.from = std::max<std::int32_t>(rangeFrom, 1);
    r.to = std::min(rangeTo, r.available);
    r.count = r.from <= r.to ? r.to - r.from + 1 : 0;
    return r;
}

// Masks built for a view of another size are not used.
std::vector<std::uint8_t> HitsOfRange(const DrawsView& draws, const DrawMasks* masks, const NumberSetData& set,
                                      const SearchedRange& range) {
    std::vector<std::uint8_t> hits(static_cast<std::size_t>(range.count));
    if (masks != nullptr && masks->count() == range.available)
        MaskHitsOfRange(masks->masks() + range.from, draws, set, range.from, range.count, hits.data());
    else
        ComputedMaskHitsOfRange(draws, set, range.from, range.count, hits.data());
    return hits;
}

DrawDate DateOf(const DrawRecord& draw) {
    return DrawDate{draw.Day, draw.Month, draw.Year};
}

SearchResult Search(const DrawsView& draws, const NumberSetData& set, const DrawMasks* masks, std::int32_t rangeFrom,
                    std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo, std::int32_t* foundDraws,
                    std::int32_t& foundCount, SearchProgress* progress) {
    foundCount = 0;

    const SearchedRange range = CutRange(draws, rangeFrom, rangeTo);
    const std::int32_t from = range.from, to = range.to, n = range.count;
    if (masks != nullptr && masks->count() != range.available)
        masks = nullptr;
    const std::vector<std::uint8_t> hits = HitsOfRange(draws, masks, set, range);

    // Hits never exceed 20, so bounds outside 0..20 are cut to what a byte can compare.
    const auto low = static_cast<std::uint8_t>(std::clamp<std::int32_t>(hitsFrom, 0, 21));
    const auto high = static_cast<std::uint8_t>(std::clamp<std::int32_t>(hitsTo, -1, 20) + 1);
    std::size_t rows = 0;
    for (std::uint8_t s : hits)
        rows += s >= low && s < high;

    SearchResult result;
    result.rows.reserve(rows);
    std::int32_t p = from - 1; // ordinal of the previous qualifying draw
    std::int32_t series = 0;

    if (progress)
        progress->total(n);
    for (std::int32_t i = 1; i <= n; ++i) {
        if (progress)
            progress->step(i);
        const std::int32_t s = hits[static_cast<std::size_t>(i - 1)];
        if (s < hitsFrom || s > hitsTo) {
            series = 0;
            continue;
        }
        const std::int32_t q = from + i - 1;
        ++series;
        if (foundDraws != nullptr && foundCount < MaxDraws)
            foundDraws[++foundCount] = q;
        // Strict comparisons: on equal lengths the earliest series and the earliest gap stay.
        if (series > result.maxSeries) {
            result.maxSeries = series;
            result.seriesEnd = q;
        }
        const std::int32_t gap = q - p - 1;
        if (gap > result.maxGap) {
            result.maxGap = gap;
            result.gapEnd = q;
        }
        const DrawDate date = masks != nullptr ? masks->dates()[q] : DateOf(draws[q]);
        const auto lp = static_cast<std::int32_t>(result.rows.size()) + 1;
        result.rows.push_back(SearchRow{lp, q, date.day, date.month, date.year, s, gap});
        p = q;
        result.total += s;
    }
    result.last = p;
    result.currentGap = n > 0 ? to - p : 0;
    return result;
}

} // namespace

SearchResult SetHitSearch(const DrawsView& draws, const NumberSetData& set, std::int32_t rangeFrom,
                          std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo, std::int32_t* foundDraws,
                          std::int32_t& foundCount, SearchProgress* progress) {
    return Search(draws, set, nullptr, rangeFrom, rangeTo, hitsFrom, hitsTo, foundDraws, foundCount, progress);
}

SearchResult SetHitSearch(const DrawsView& draws, const DrawMasks& masks, const NumberSetData& set,
                          std::int32_t rangeFrom, std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo,
                          std::int32_t* foundDraws, std::int32_t& foundCount, SearchProgress* progress) {
    return Search(draws, set, &masks, rangeFrom, rangeTo, hitsFrom, hitsTo, foundDraws, foundCount, progress);
}

std::vector<std::uint8_t> SetHitsOfRange(const DrawsView& draws, const DrawMasks* masks, const NumberSetData& set,
                                         std::int32_t rangeFrom, std::int32_t rangeTo) {
    return HitsOfRange(draws, masks, set, CutRange(draws, rangeFrom, rangeTo));
}

SearchRefusal ValidateSearch(std::int32_t rangeFrom, std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo) {
    if (rangeFrom > rangeTo)
        return SearchRefusal::Range;
    if (hitsFrom > hitsTo)
        return SearchRefusal::Hits;
    return SearchRefusal::None;
}

std::string_view RefusalText(SearchRefusal refusal) {
    switch (refusal) {
    case SearchRefusal::Range:
        return RangeRefusalText;
    case SearchRefusal::Hits:
        return HitsRefusalText;
    case SearchRefusal::None:
        break;
    }
    return {};
}

std::string ResultGridHeading(int column) {
    switch (column) {
    case 0:
        return "         Lp.";
    case 1:
        return "    Numer losowania";
    case 2:
        return "     Data losowania";
    case 3:
        return "    Ilość trafionych liczb";
    case 4:
        return "    Oczekiwano losowań";
    default:
        return {};
    }
}

std::string ResultCellText(const SearchRow& row, int column) {
    switch (column) {
    case 0:
        return FormatMask(row.lp, "       0000");
    case 1:
        return std::string(12, ' ') + std::to_string(row.ordinal);
    case 2: {
        std::string text = FormatMask(row.day, "        00");
        text += '.';
        text += FormatMask(row.month, "00");
        text += '.';
        text += std::to_string(row.year);
        return text;
    }
    case 3:
        return std::string(17, ' ') + std::to_string(row.hits);
    case 4:
        return FormatMask(row.gap, "               0");
    default:
        return {};
    }
}

std::string ResultFieldText(const SearchRow& row, int column) {
    std::string text = ResultCellText(row, column);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string NumbersStripText(const DrawRecord& draw, int cell) {
    if (cell < 0 || cell >= 20)
        return {};
    return FormatMask(draw.Numbers[cell], "00");
}

SearchStatistics SearchStatisticsTexts(const SearchResult& result, std::int32_t k, const DrawsView& draws,
                                       char decimalSeparator) {
    SearchStatistics stats;
    stats.total = std::to_string(result.total);
    if (result.rows.empty())
        return stats;

    const std::string drawsWord = " losowań";
    const auto r = static_cast<long double>(result.rows.size());
    const long double average = static_cast<long double>(result.total) / r;
    const long double percent = k >= 1 ? average / static_cast<long double>(k) * 100.0L : 0.0L;
    stats.average = FormatFixed2(average, decimalSeparator) + " z " + std::to_string(k) + " = " +
                    FormatFixed2(percent, decimalSeparator) + " %";

    stats.currentGap = std::to_string(result.currentGap) + drawsWord;

    const std::int32_t seriesFirst = result.seriesEnd - result.maxSeries + 1;
    stats.maxSeries = std::to_string(result.maxSeries) + drawsWord + " ( " + std::to_string(seriesFirst) + " - " +
                      std::to_string(result.seriesEnd) + " )";
    stats.maxSeriesHint = DrawDateText(draws, seriesFirst) + " - " + DrawDateText(draws, result.seriesEnd);

    if (result.maxGap >= 1) {
        const std::int32_t gapFirst = result.gapEnd - result.maxGap;
        const std::int32_t gapLast = result.gapEnd - 1;
        stats.maxGap = std::to_string(result.maxGap) + drawsWord + " ( " + std::to_string(gapFirst) + " - " +
                       std::to_string(gapLast) + " )";
        stats.maxGapHint = DrawDateText(draws, gapFirst) + " - " + DrawDateText(draws, gapLast);
        stats.maxGapIsLink = true;
    } else {
        stats.maxGap = "0" + drawsWord;
    }
    return stats;
}

} // namespace zg
