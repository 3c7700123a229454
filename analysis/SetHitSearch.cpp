#include "analysis/SetHitSearch.h"

#include "analysis/DateRoutines.h"
#include "analysis/NumberFormat.h"

#include <algorithm>

namespace zg {

SearchResult SetHitSearch(const DrawsView& draws, const NumberSetData& set, std::int32_t rangeFrom,
                          std::int32_t rangeTo, std::int32_t hitsFrom, std::int32_t hitsTo, std::int32_t* foundDraws,
                          std::int32_t& foundCount, SearchProgress* progress) {
    foundCount = 0;

    // Only draws the view really holds are read, whatever range is asked for.
    const std::int32_t available = draws.table != nullptr ? std::max<std::int32_t>(draws.count, 0) : 0;
    const std::int32_t from = std::max<std::int32_t>(rangeFrom, 1);
    const std::int32_t to = std::min(rangeTo, available);
    const std::int32_t n = from <= to ? to - from + 1 : 0;

    // Membership as 0/1 counts with entry 0 always 0: every drawn value outside 1..80 is sent to
    // entry 0, so a draw costs 20 lookups and no drawn value is ever used as an index unchecked.
    std::uint8_t member[81] = {};
    for (std::int32_t x = 1; x <= 80; ++x)
        member[x] = set.Member[x] ? 1 : 0;

    SearchResult result;
    std::int32_t p = from - 1; // ordinal of the previous qualifying draw
    std::int32_t series = 0;

    if (progress)
        progress->total(n);
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t q = from + i - 1;
        if (progress)
            progress->step(i);

        const DrawRecord& draw = draws[q];
        std::int32_t s = 0;
        for (std::int32_t y : draw.Numbers) {
            const auto u = static_cast<std::uint32_t>(y); // negative values become huge, so also > 80
            s += member[u <= 80u ? u : 0u];
        }

        if (s < hitsFrom || s > hitsTo) {
            series = 0;
            continue;
        }
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
        const auto lp = static_cast<std::int32_t>(result.rows.size()) + 1;
        result.rows.push_back(SearchRow{lp, q, draw.Day, draw.Month, draw.Year, s, gap});
        p = q;
        result.total += s;
    }
    result.last = p;
    result.currentGap = n > 0 ? to - p : 0;
    return result;
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
