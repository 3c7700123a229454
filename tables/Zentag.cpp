// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/Zentag.h"

#include "analysis/ChanceStatistics.h"
#include "base/CommonBits.h"
#include "base/DateRoutines.h"
#include "base/DrawMasks.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/PopcountClones.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

namespace zg {

namespace {

constexpr std::size_t BitsPerWord = 64;

// The rows of a table and what they hold, gathered in one pass over the found draws.
//
// A regular draw (20 different numbers, all within 1..80) is recorded as one bit per number: bit r
// of number x's column is set when row r holds x. Then the count of x is the popcount of its
// column, and the count of the pair (a, b) the popcount of the AND of two columns: exactly the
// number of rows whose positions hold a and b, whatever the stored order. A draw with a repeated
// number or a value outside 1..80 (only a hand-made database has one) is counted position by
// position instead, so that a repeated number counts once per position it stands at.
//
// The columns are stored in tiles of TileWords words (TileWords * 64 rows): a tile holds the words
// of those rows for all 80 numbers, number x's part at (x - 1) * TileWords. The 64 rows just made
// then go to 80 words of one tile (40 KB, in the cache) instead of 80 places a column's length
// apart, and the pair counts walk the tiles, each number's part one run of words.
struct Tally {
    static constexpr std::size_t TileWords = CommonBitsMostWords;

    std::vector<ZentagRow, LargeArrayAllocator<ZentagRow>> rows;
    // Words beyond UsedWords() are never written or read.
    std::vector<std::uint64_t, LargeArrayAllocator<std::uint64_t>> columns;
    std::array<std::int64_t, 81> irregularSingles{};
    std::vector<std::int64_t> irregularPairs; // 81 x 81, [smaller][larger]; empty until needed

    std::size_t UsedWords() const { return (rows.size() + BitsPerWord - 1) / BitsPerWord; }
    std::size_t Tiles() const { return (UsedWords() + TileWords - 1) / TileWords; }
    // The used words of tile `tile` in each number's part.
    std::size_t WordsOfTile(std::size_t tile) const { return std::min(TileWords, UsedWords() - tile * TileWords); }
    // Number x's part of tile `tile` (x of 1..80).
    const std::uint64_t* Part(std::size_t tile, std::int32_t x) const {
        return columns.data() + PartStart(tile, static_cast<std::size_t>(x));
    }
    static std::size_t PartStart(std::size_t tile, std::size_t x) { return (tile * 80 + x - 1) * TileWords; }
};

void AppendTwoDigits(std::string& s, std::int64_t value) {
    if (value >= 0 && value <= 99) {
        s += static_cast<char>('0' + value / 10);
        s += static_cast<char>('0' + value % 10);
    } else {
        s += ZeroPad(value, 2);
    }
}

void CountIrregularDraw(Tally& t, const DrawRecord& d) {
    if (t.irregularPairs.empty())
        t.irregularPairs.assign(81 * 81, 0);
    for (int p = 0; p < 20; ++p) {
        const std::int32_t u = d.Numbers[p];
        if (!IsLotteryNumber(u))
            continue;
        ++t.irregularSingles[static_cast<std::size_t>(u)];
        for (int q = p + 1; q < 20; ++q) {
            const std::int32_t v = d.Numbers[q];
            if (!IsLotteryNumber(v) || v == u)
                continue;
            const auto lo = static_cast<std::size_t>(std::min(u, v));
            const auto hi = static_cast<std::size_t>(std::max(u, v));
            ++t.irregularPairs[lo * 81 + hi];
        }
    }
}

// Transposes a 64 x 64 bit matrix in place: afterwards bit c of word r holds what bit r of word c
// held. Six rounds, each swapping the off-diagonal blocks of every square of twice its size: half
// words (32 bits) first, single bits last.
inline void TransposeBits(std::uint64_t (&a)[64]) {
    std::uint64_t m = 0x00000000FFFFFFFFu; // the lower half of each block of 2j bits
    for (unsigned j = 32; j != 0; j >>= 1, m ^= m << j)
        for (unsigned base = 0; base < 64; base += 2 * j)
            for (unsigned k = base; k < base + j; ++k) {
                const std::uint64_t swap = ((a[k] >> j) ^ a[k + j]) & m;
                a[k] ^= swap << j;
                a[k + j] ^= swap;
            }
}

// Up to 64 rows in the making: the ordinals of their draws, and for each the found draw (its k)
// that yields it.
struct PendingRows {
    std::int32_t ordinals[BitsPerWord];
    std::int32_t foundIndex[BitsPerWord];
    std::size_t count = 0;
};

// Makes the pending rows, the next 64 rows of the table (fewer at its end): their draws' masks in
// one call, then the rows, then the column words of those rows. The bits of the rows (row r of the
// block in word r; an irregular row none) are turned into column words by one transposition each:
// numbers 1..64 from the low words, 65..80 from the high ones.
ZG_POPCOUNT_CLONES void MakeRows(Tally& t, const DrawsView& draws, PendingRows& pending, SearchProgress* progress) {
    DrawMask masks[BitsPerWord];
    MasksOfDraws(draws, pending.ordinals, pending.count, masks);
    std::uint64_t lowBlock[BitsPerWord] = {};
    std::uint64_t highBlock[BitsPerWord] = {};
    const std::size_t word = t.rows.size() / BitsPerWord;
    const std::size_t tile = word / Tally::TileWords;
    const std::size_t inTile = word % Tally::TileWords;
    for (std::size_t i = 0; i < pending.count; ++i) {
        const DrawRecord& d = draws[pending.ordinals[i]];
        // The draw is regular when its 20 numbers set 20 different bits of 1..80: none lies
        // outside 1..80 and none repeats.
        const std::uint64_t low = masks[i].low;
        const std::uint64_t high = masks[i].high & 0xFFFFu;
        const bool regular = std::popcount(low) + std::popcount(high) == 20;
        ZentagRow& row = t.rows.emplace_back();
        row.ordinal = pending.ordinals[i];
        row.day = d.Day;
        row.month = d.Month;
        // Year mod 100 of the year's magnitude, as DrawDateText takes it.
        row.shortYear = static_cast<std::int32_t>(std::llabs(static_cast<std::int64_t>(d.Year)) % 100);
        row.drawn[0] = low;
        row.drawn[1] = high;
        if (regular) {
            lowBlock[i] = low;
            highBlock[i] = high;
        } else {
            CountIrregularDraw(t, d);
        }
        if (progress != nullptr)
            progress->step(pending.foundIndex[i]);
    }
    TransposeBits(lowBlock);
    TransposeBits(highBlock);
    for (std::size_t x = 1; x <= 64; ++x)
        t.columns[Tally::PartStart(tile, x) + inTile] = lowBlock[x - 1];
    for (std::size_t x = 65; x <= 80; ++x)
        t.columns[Tally::PartStart(tile, x) + inTile] = highBlock[x - 65];
    pending.count = 0;
}

Tally Gather(const ZentagInput& in, SearchProgress* progress) {
    Tally t;
    const std::int32_t found =
        in.foundDraws == nullptr || in.draws.table == nullptr ? 0 : std::clamp(in.foundCount, 0, MaxDraws);
    if (progress != nullptr)
        progress->total(found);
    // Every row names a draw of the table, whatever range the caller passes.
    const std::int64_t from = std::max<std::int64_t>(in.rangeFrom, 1);
    const std::int64_t to = std::min<std::int64_t>(in.rangeTo, in.draws.count);

    const std::size_t words = (static_cast<std::size_t>(found) + BitsPerWord - 1) / BitsPerWord;
    t.columns.resize((words + Tally::TileWords - 1) / Tally::TileWords * 80 * Tally::TileWords);
    t.rows.reserve(static_cast<std::size_t>(found));
    PendingRows pending;
    for (std::int32_t k = 1; k <= found; ++k) {
        const std::int64_t n = static_cast<std::int64_t>(in.foundDraws[k]) + in.offset;
        if (n < from || n > to)
            continue;
        pending.ordinals[pending.count] = static_cast<std::int32_t>(n);
        pending.foundIndex[pending.count] = k;
        if (++pending.count == BitsPerWord)
            MakeRows(t, in.draws, pending, progress);
    }
    if (pending.count > 0)
        MakeRows(t, in.draws, pending, progress);
    if (progress != nullptr)
        progress->step(found);
    return t;
}

ZG_POPCOUNT_CLONES void CountSingles(const Tally& t, const std::vector<std::int32_t>& numbers,
                                     std::vector<std::int64_t>& counts) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::int64_t sum = 0;
        for (std::size_t tile = 0; tile < t.Tiles(); ++tile) {
            const std::uint64_t* a = t.Part(tile, numbers[i]);
            for (std::size_t w = 0; w < t.WordsOfTile(tile); ++w)
                sum += std::popcount(a[w]);
        }
        counts[i] = sum + t.irregularSingles[static_cast<std::size_t>(numbers[i])];
    }
}

// Pair counts for i < j of `numbers`, in the order (0,1), (0,2), ..., (1,2), ...: tile by tile, so
// that the parts of all numbers stay in the cache together, each number's part held against the
// parts of all later numbers in one call.
void CountPairs(const Tally& t, const std::vector<std::int32_t>& numbers, std::vector<std::int64_t>& counts) {
    const std::size_t k = numbers.size();
    std::vector<const std::uint64_t*> later(k);
    for (std::size_t tile = 0; tile < t.Tiles(); ++tile) {
        const std::size_t words = t.WordsOfTile(tile);
        std::size_t p = 0;
        for (std::size_t i = 0; i + 1 < k; ++i) {
            const std::size_t count = k - i - 1;
            for (std::size_t j = 0; j < count; ++j)
                later[j] = t.Part(tile, numbers[i + 1 + j]);
            AddCommonBits(t.Part(tile, numbers[i]), later.data(), count, words, counts.data() + p);
            p += count;
        }
    }
    if (!t.irregularPairs.empty()) {
        std::size_t p = 0;
        for (std::size_t i = 0; i < k; ++i)
            for (std::size_t j = i + 1; j < k; ++j)
                counts[p++] +=
                    t.irregularPairs[static_cast<std::size_t>(numbers[i]) * 81 + static_cast<std::size_t>(numbers[j])];
    }
}

// The percentage texts of the lines. The lines come in descending count order, so the text of
// the previous count is kept and reused while the count stays the same.
class PercentText {
public:
    PercentText(std::int32_t foundCount, char separator) : found_(foundCount), separator_(separator) {}

    const std::string& Of(std::int64_t count) {
        if (count != lastCount_) {
            lastCount_ = count;
            text_ = found_ > 0 && count >= 0 ? PercentOfText(count, found_, separator_) : FormatPercent1(0, separator_);
        }
        return text_;
    }

private:
    std::int32_t found_;
    char separator_;
    std::int64_t lastCount_ = -1;
    std::string text_;
};

char* PutTwoDigits(char* out, std::int32_t number) {
    out[0] = static_cast<char>('0' + number / 10);
    out[1] = static_cast<char>('0' + number % 10);
    return out + 2;
}

// One line of a ranked list: the number or pair (numbers of 1..80, already written to `head`),
// " --> ", the count, " = ", the percentage and "%", made with one allocation.
std::string RankedLine(const char* head, std::size_t headSize, std::int64_t count, PercentText& percent) {
    char text[48];
    std::memcpy(text, head, headSize);
    char* p = text + headSize;
    std::memcpy(p, " --> ", 5);
    p = std::to_chars(p + 5, text + sizeof text, count).ptr;
    std::memcpy(p, " = ", 3);
    p += 3;
    const std::string& percentText = percent.Of(count);
    std::string line;
    line.reserve(static_cast<std::size_t>(p - text) + percentText.size() + 1);
    line.append(text, static_cast<std::size_t>(p - text));
    line += percentText;
    line += '%';
    return line;
}

// Indexes 0..n-1 ordered by count descending, equal counts keeping their index order.
std::vector<std::uint32_t> RankByCount(const std::vector<std::int64_t>& counts) {
    std::vector<std::uint32_t> order(counts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&counts](std::uint32_t a, std::uint32_t b) { return counts[a] > counts[b]; });
    return order;
}

ZentagResult Build(const ZentagInput& in, std::vector<std::int32_t> numbers, SearchProgress* progress) {
    Tally t = Gather(in, progress);

    ZentagResult result;
    result.headings.reserve(numbers.size() + 1);
    result.headings.emplace_back();
    for (const std::int32_t x : numbers) {
        std::string h;
        AppendTwoDigits(h, x);
        result.headings.push_back(std::move(h));
    }
    const std::int32_t found = std::max(in.foundCount, 0);
    PercentText percent(found, in.decimalSeparator);

    std::vector<std::int64_t> singles(numbers.size(), 0);
    CountSingles(t, numbers, singles);
    result.singleLines.reserve(numbers.size());
    for (const std::uint32_t i : RankByCount(singles)) {
        char head[2];
        PutTwoDigits(head, numbers[i]);
        result.singleLines.push_back(RankedLine(head, sizeof head, singles[i], percent));
    }

    const std::size_t k = numbers.size();
    std::vector<std::int64_t> pairs(k < 2 ? 0 : k * (k - 1) / 2, 0);
    std::vector<std::pair<std::uint8_t, std::uint8_t>> pairNumbers;
    pairNumbers.reserve(pairs.size());
    for (std::size_t i = 0; i < k; ++i)
        for (std::size_t j = i + 1; j < k; ++j)
            pairNumbers.emplace_back(static_cast<std::uint8_t>(numbers[i]), static_cast<std::uint8_t>(numbers[j]));
    CountPairs(t, numbers, pairs);
    result.pairLines.reserve(pairs.size());
    for (const std::uint32_t p : RankByCount(pairs)) {
        char head[5];
        PutTwoDigits(PutTwoDigits(head, pairNumbers[p].first) + 1, pairNumbers[p].second);
        head[2] = ',';
        result.pairLines.push_back(RankedLine(head, sizeof head, pairs[p], percent));
    }

    result.columns = std::move(numbers);
    result.rows = std::move(t.rows);
    return result;
}

// The part of a baseline line after "przy": "N losowaniach", the band from `band` (written by
// `writeBand` from the percentages a and b), the count of found draws with a draw at the distance
// when it falls short of all of them, and the full stop.
template <typename WriteBand>
std::string BaselineTail(std::int64_t rows, std::int64_t foundCount, double probability, char separator,
                         WriteBand writeBand) {
    const CountBand band = CountBandOf(rows, probability);
    const auto percent = [&](std::int64_t count) {
        return FormatDecimal(static_cast<long double>(count) * 100 / static_cast<long double>(foundCount), 1, 1,
                             separator);
    };
    std::string out = std::to_string(rows) + ' ' + std::string(DrawsWordLocative(rows));
    out += writeBand(percent(band.low), percent(band.high));
    if (rows < foundCount)
        out += " (" + std::to_string(rows) + " z " + std::to_string(foundCount) + ' ' +
               std::string(
                   PolishPlural(foundCount, "znalezionego losowania", "znalezionych losowań", "znalezionych losowań")) +
               " ma losowanie w tej odległości)";
    return out + '.';
}

constexpr const char* NoRowsBaseline = "Sam przypadek: brak losowań w tej odległości.";

} // namespace

std::string ZentagNumbersBaseline(std::int64_t rows, std::int64_t foundCount, char separator) {
    if (rows <= 0 || foundCount <= 0)
        return NoRowsBaseline;
    return "Sam przypadek: liczba w 25% losowań; przy " +
           BaselineTail(rows, foundCount, 0.25, separator, [](const std::string& a, const std::string& b) {
               return " 95% wyników mieści się między " + a + "% a " + b + "%";
           });
}

std::string ZentagPairsBaseline(std::int64_t rows, std::int64_t foundCount, char separator) {
    if (rows <= 0 || foundCount <= 0)
        return NoRowsBaseline;
    // 380 of the 6320 pairs of 80 numbers lie among a draw's 20.
    return "Sam przypadek: para w 6,01% losowań (380 z 6320); przy " +
           BaselineTail(rows, foundCount, 380.0 / 6320.0, separator,
                        [](const std::string& a, const std::string& b) { return " 95%: " + a + "%–" + b + "%"; });
}

std::string ZentagRow::DateText() const {
    std::string s;
    AppendTwoDigits(s, day);
    s += '.';
    AppendTwoDigits(s, month);
    s += '.';
    AppendTwoDigits(s, shortYear);
    return s;
}

std::string ZentagResult::CellText(std::size_t row, std::size_t column) const {
    if (row >= rows.size() || column > columns.size())
        return {};
    if (column == 0)
        return rows[row].DateText();
    const std::int32_t x = columns[column - 1];
    if (!rows[row].Drawn(x))
        return {};
    std::string s;
    AppendTwoDigits(s, x);
    return s;
}

ZentagResult ComputeZentagTable(const ZentagInput& input, SearchProgress* progress) {
    std::vector<std::int32_t> numbers(80);
    for (std::int32_t x = 1; x <= 80; ++x)
        numbers[static_cast<std::size_t>(x - 1)] = x;
    return Build(input, std::move(numbers), progress);
}

ZentagResult ComputeZentagTableFor(const ZentagInput& input, std::span<const std::int32_t> selection) {
    std::array<bool, 81> member{};
    for (const std::int32_t x : selection)
        if (IsLotteryNumber(x))
            member[static_cast<std::size_t>(x)] = true;
    std::vector<std::int32_t> numbers;
    for (std::int32_t x = 1; x <= 80; ++x)
        if (member[static_cast<std::size_t>(x)])
            numbers.push_back(x);
    return Build(input, std::move(numbers), nullptr);
}

std::string ZentagCaption(std::int32_t offset) {
    return (offset > 0 ? "ZENTAG +" : "ZENTAG ") + std::to_string(offset);
}

} // namespace zg
