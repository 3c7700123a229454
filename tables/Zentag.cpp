#include "tables/Zentag.h"

#include "base/CommonBits.h"
#include "base/DateRoutines.h"
#include "base/DrawMasks.h"
#include "base/NumberFormat.h"
#include "base/PopcountClones.h"
#include "base/ReportBuffer.h"

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
struct Tally {
    std::vector<ZentagRow> rows;
    std::size_t stride = 0; // words reserved per column
    // Column of number x at (x - 1) * stride; words beyond UsedWords() are never written or read.
    std::unique_ptr<std::uint64_t[]> columns;
    std::array<std::int64_t, 81> irregularSingles{};
    std::vector<std::int64_t> irregularPairs; // 81 x 81, [smaller][larger]; empty until needed

    std::size_t UsedWords() const { return (rows.size() + BitsPerWord - 1) / BitsPerWord; }
    const std::uint64_t* Column(std::int32_t x) const {
        return columns.get() + static_cast<std::size_t>(x - 1) * stride;
    }
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

Tally Gather(const ZentagInput& in, SearchProgress* progress) {
    Tally t;
    const std::int32_t found =
        in.foundDraws == nullptr || in.draws.table == nullptr ? 0 : std::clamp(in.foundCount, 0, MaxDraws);
    if (progress != nullptr)
        progress->total(found);
    // Every row names a draw of the table, whatever range the caller passes.
    const std::int64_t from = std::max<std::int64_t>(in.rangeFrom, 1);
    const std::int64_t to = std::min<std::int64_t>(in.rangeTo, in.draws.count);

    t.stride = (static_cast<std::size_t>(found) + BitsPerWord - 1) / BitsPerWord;
    // Every used word of every column is written whole from `block` below, so the columns need no
    // zeroing first.
    t.columns = std::make_unique_for_overwrite<std::uint64_t[]>(80 * t.stride);
    t.rows.reserve(static_cast<std::size_t>(found));
    // The rows of a large table take megabytes (32 bytes each), written once in order.
    AdviseHugePages(t.rows.data(), t.rows.capacity() * sizeof(ZentagRow));
    // The column words of the current 64 rows, gathered here (in the cache) and stored into the
    // columns once the 64 rows are done.
    std::uint64_t block[80] = {};
    const auto storeBlock = [&t, &block](std::size_t word) {
        for (std::size_t x = 0; x < 80; ++x)
            t.columns[x * t.stride + word] = block[x];
        std::fill(std::begin(block), std::end(block), std::uint64_t{0});
    };
    for (std::int32_t k = 1; k <= found; ++k) {
        const std::int64_t n = static_cast<std::int64_t>(in.foundDraws[k]) + in.offset;
        if (n < from || n > to)
            continue;
        const auto ordinal = static_cast<std::int32_t>(n);
        const DrawRecord& d = in.draws[ordinal];
        const std::size_t r = t.rows.size();
        // The draw is regular when its 20 numbers set 20 different bits of 1..80: none lies
        // outside 1..80 and none repeats.
        const DrawMask mask = MaskOfDraw(d);
        const std::uint64_t low = mask.low;
        const std::uint64_t high = mask.high & 0xFFFFu;
        const bool regular = std::popcount(low) + std::popcount(high) == 20;
        ZentagRow& row = t.rows.emplace_back();
        row.ordinal = ordinal;
        row.day = d.Day;
        row.month = d.Month;
        // Year mod 100 of the year's magnitude, as DrawDateText takes it.
        row.shortYear = static_cast<std::int32_t>(std::llabs(static_cast<std::int64_t>(d.Year)) % 100);
        row.drawn[0] = low;
        row.drawn[1] = high;
        if (regular) {
            const std::uint64_t rowBit = std::uint64_t{1} << (r % BitsPerWord);
            for (const std::int32_t x : d.Numbers)
                block[static_cast<std::size_t>(x - 1)] |= rowBit;
        } else {
            CountIrregularDraw(t, d);
        }
        if (r % BitsPerWord == BitsPerWord - 1)
            storeBlock(r / BitsPerWord);
        if (progress != nullptr)
            progress->step(k);
    }
    if (t.rows.size() % BitsPerWord != 0)
        storeBlock(t.rows.size() / BitsPerWord);
    if (progress != nullptr)
        progress->step(found);
    return t;
}

ZG_POPCOUNT_CLONES void CountSingles(const Tally& t, const std::vector<std::int32_t>& numbers,
                                     std::vector<std::int64_t>& counts) {
    const std::size_t used = t.UsedWords();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::uint64_t* a = t.Column(numbers[i]);
        std::int64_t sum = 0;
        for (std::size_t w = 0; w < used; ++w)
            sum += std::popcount(a[w]);
        counts[i] = sum + t.irregularSingles[static_cast<std::size_t>(numbers[i])];
    }
}

// Pair counts for i < j of `numbers`, in the order (0,1), (0,2), ..., (1,2), ...: the columns are
// walked in blocks of words so that the blocks of all columns stay in the cache together.
void CountPairs(const Tally& t, const std::vector<std::int32_t>& numbers, std::vector<std::int64_t>& counts) {
    constexpr std::size_t Block = CommonBitsMostWords;
    const std::size_t used = t.UsedWords();
    const std::size_t k = numbers.size();
    for (std::size_t w0 = 0; w0 < used; w0 += Block) {
        const std::size_t w1 = std::min(used, w0 + Block);
        std::size_t p = 0;
        for (std::size_t i = 0; i < k; ++i) {
            const std::uint64_t* a = t.Column(numbers[i]);
            for (std::size_t j = i + 1; j < k; ++j) {
                const std::uint64_t* b = t.Column(numbers[j]);
                counts[p++] += CountCommonBits(a + w0, b + w0, w1 - w0);
            }
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
            const long double value =
                found_ > 0 ? static_cast<long double>(count) / static_cast<long double>(found_) * 100.0L : 0.0L;
            text_ = FormatPercent1(value, separator_);
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

} // namespace

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
