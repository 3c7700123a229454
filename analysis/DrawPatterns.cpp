// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/DrawPatterns.h"

#include "base/DateRoutines.h"
#include "base/DrawMasks.h"
#include "base/PopcountClones.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/special_functions/binomial.hpp>

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <span>

namespace zg {

namespace {

constexpr std::int32_t DrawSize = 20;
constexpr std::int32_t Universe = 80;
constexpr std::int32_t LowestSum = DrawSize * (DrawSize + 1) / 2;                        // 210
constexpr std::int32_t HighestSum = DrawSize * Universe - DrawSize * (DrawSize - 1) / 2; // 1410

long double Binomial(std::int32_t n, std::int32_t k) {
    if (k < 0 || n < 0 || k > n)
        return 0;
    return boost::math::binomial_coefficient<long double>(static_cast<unsigned>(n), static_cast<unsigned>(k));
}

// C(a, i) C(b, j) / C(n, k) over v = 0..top, with i and j given by v.
template <typename Parts> ValueLaw ProductLaw(std::int32_t n, std::int32_t k, std::int32_t top, Parts parts) {
    ValueLaw law;
    law.first = 0;
    const long double all = Binomial(n, k);
    for (std::int32_t v = 0; v <= top; ++v) {
        const auto [a, i, b, j] = parts(v);
        law.p.push_back(static_cast<double>(Binomial(a, i) * Binomial(b, j) / all));
    }
    return law;
}

double LawMean(const ValueLaw& law) {
    long double mean = 0;
    for (std::size_t i = 0; i < law.p.size(); ++i)
        mean += static_cast<long double>(law.first + static_cast<std::int32_t>(i)) * law.p[i];
    return static_cast<double>(mean);
}

double LawSd(const ValueLaw& law, double mean) {
    long double variance = 0;
    for (std::size_t i = 0; i < law.p.size(); ++i) {
        const long double d = static_cast<long double>(law.first + static_cast<std::int32_t>(i)) - mean;
        variance += d * d * law.p[i];
    }
    return static_cast<double>(std::sqrt(variance));
}

// Bits of the numbers, by position 0..79: the odd numbers (1, 3, ...) and the low ones (1..40).
constexpr std::uint64_t OddLow = 0x5555555555555555u, OddHigh = 0x5555u;
constexpr std::uint64_t LowNumbers = (std::uint64_t{1} << 40) - 1;
constexpr std::uint64_t NumberBitsHigh = 0xFFFFu; // numbers 65..80; bit 63 (CountFromDraw) is no number

// For each byte of the 80-bit set (0..9) and its value, the sum of the numbers its bits stand for.
using ByteSums = std::array<std::array<std::uint16_t, 256>, 10>;
const ByteSums& NumberSumsByByte() {
    static const ByteSums sums = [] {
        ByteSums s{};
        for (unsigned b = 0; b < 10; ++b)
            for (unsigned v = 0; v < 256; ++v)
                for (unsigned j = 0; j < 8; ++j)
                    if ((v >> j) & 1u)
                        s[b][v] = static_cast<std::uint16_t>(s[b][v] + 8 * b + j + 1);
        return s;
    }();
    return sums;
}

// What the walk over the range counts: each pattern's values, from the law's first value.
struct Counts {
    std::array<std::int64_t, HighestSum - LowestSum + 1> sum{};
    std::array<std::int64_t, DrawSize + 1> odd{}, low{}, consecutive{}, repeated{};
    std::array<std::int64_t, 8> decades{};
    std::int32_t counted = 0;
    std::int64_t repeatedDraws = 0;
};

// The draw before the next one counted: its numbers' bits and whether it is counted itself.
struct Previous {
    std::uint64_t lo = 0, hi = 0;
    bool counted = false;
};

// Counts the draws of masks[0..length-1], each after `previous`, which then holds the last of them.
ZG_POPCOUNT_CLONES void CountDraws(Counts& c, const DrawMask* masks, std::int32_t length, Previous& previous) {
    const ByteSums& sums = NumberSumsByByte();
    // The running figures stay in registers; the histograms are written as they go.
    std::uint64_t plo = previous.lo, phi = previous.hi;
    bool previousCounted = previous.counted;
    std::int32_t counted = 0, repeatedDraws = 0;
    std::array<std::int32_t, 8> decades{};
    for (std::int32_t i = 0; i < length; ++i) {
        const std::uint64_t lo = masks[i].low, hi = masks[i].high & NumberBitsHigh;
        // 20 bits set: 20 distinct numbers of 1..80 (a repeated number or one outside drops a bit).
        const bool isCounted = std::popcount(lo) + std::popcount(hi) == DrawSize;
        if (isCounted) {
            ++counted;
            // Written out: a loop over the bytes and the decades would shift by a variable count.
            const std::int32_t sum = sums[0][lo & 0xFFu] + sums[1][(lo >> 8) & 0xFFu] + sums[2][(lo >> 16) & 0xFFu] +
                                     sums[3][(lo >> 24) & 0xFFu] + sums[4][(lo >> 32) & 0xFFu] +
                                     sums[5][(lo >> 40) & 0xFFu] + sums[6][(lo >> 48) & 0xFFu] + sums[7][lo >> 56] +
                                     sums[8][hi & 0xFFu] + sums[9][hi >> 8];
            ++c.sum[static_cast<std::size_t>(sum - LowestSum)];
            ++c.odd[static_cast<std::size_t>(std::popcount(lo & OddLow) + std::popcount(hi & OddHigh))];
            ++c.low[static_cast<std::size_t>(std::popcount(lo & LowNumbers))];
            // n and n + 1 both drawn: bit j with bit j + 1, across the two words too (64 and 65).
            ++c.consecutive[static_cast<std::size_t>(std::popcount(lo & (lo >> 1)) + std::popcount(hi & (hi >> 1)) +
                                                     static_cast<int>((lo >> 63) & hi & 1u))];
            decades[0] += std::popcount(lo & 0x3FFu);
            decades[1] += std::popcount((lo >> 10) & 0x3FFu);
            decades[2] += std::popcount((lo >> 20) & 0x3FFu);
            decades[3] += std::popcount((lo >> 30) & 0x3FFu);
            decades[4] += std::popcount((lo >> 40) & 0x3FFu);
            decades[5] += std::popcount((lo >> 50) & 0x3FFu);
            decades[6] += std::popcount((lo >> 60) | ((hi & 0x3Fu) << 4));
            decades[7] += std::popcount(hi >> 6);
            if (previousCounted) {
                ++repeatedDraws;
                ++c.repeated[static_cast<std::size_t>(std::popcount(lo & plo) + std::popcount(hi & phi))];
            }
        }
        plo = lo;
        phi = hi;
        previousCounted = isCounted;
    }
    previous = Previous{plo, phi, previousCounted};
    c.counted += counted;
    c.repeatedDraws += repeatedDraws;
    for (std::size_t d = 0; d < 8; ++d)
        c.decades[d] += decades[d];
}

// A pattern's rows, figures and test from its counts by value (from the law's first value).
PatternResult MakePattern(PatternKind kind, std::span<const std::int64_t> counts, std::int64_t m, const ValueLaw& law,
                          std::int32_t classWidth) {
    PatternResult r;
    r.kind = kind;
    r.draws = m;
    const auto values = static_cast<std::int32_t>(law.p.size());
    for (std::int32_t from = 0; from < values; from += classWidth) {
        const std::int32_t to = std::min(values, from + classWidth) - 1;
        PatternRow row{law.first + from, law.first + to, 0, 0};
        long double p = 0;
        for (std::int32_t i = from; i <= to; ++i) {
            row.observed += counts[static_cast<std::size_t>(i)];
            p += law.p[static_cast<std::size_t>(i)];
        }
        row.expected = static_cast<double>(static_cast<long double>(m) * p);
        r.rows.push_back(row);
    }
    r.expectedMean = LawMean(law);
    r.expectedSd = LawSd(law, r.expectedMean);
    if (m > 0) {
        long double total = 0;
        for (std::int32_t i = 0; i < values; ++i)
            total += static_cast<long double>(counts[static_cast<std::size_t>(i)]) * (law.first + i);
        const long double mean = total / static_cast<long double>(m);
        long double squares = 0;
        for (std::int32_t i = 0; i < values; ++i) {
            const long double d = static_cast<long double>(law.first + i) - mean;
            squares += static_cast<long double>(counts[static_cast<std::size_t>(i)]) * d * d;
        }
        r.mean = static_cast<double>(mean);
        r.sd = static_cast<double>(std::sqrt(squares / static_cast<long double>(m)));
    }
    r.test = PatternChiSquare(r.rows);
    return r;
}

DecadeResult MakeDecades(const Counts& c) {
    DecadeResult r;
    const double n = c.counted, expected = 2.5 * n;
    double pearson = 0;
    for (std::size_t d = 0; d < 8; ++d) {
        DecadeRow& row = r.rows[d];
        row.from = static_cast<std::int32_t>(10 * d + 1);
        row.to = static_cast<std::int32_t>(10 * d + 10);
        row.observed = c.decades[d];
        row.expected = expected;
        if (c.counted > 0) {
            const double diff = static_cast<double>(row.observed) - expected;
            row.z = diff / std::sqrt(n * DecadeVariance);
            pearson += diff * diff / expected;
        }
    }
    if (c.counted > 0) {
        ChiSquareTest test;
        // Drawing without replacement makes the totals vary less than Pearson's statistic assumes.
        test.statistic = 79.0 / 60.0 * pearson;
        test.degreesOfFreedom = 7;
        const boost::math::chi_squared_distribution<double> chi(7);
        test.pValue = boost::math::cdf(boost::math::complement(chi, test.statistic));
        r.test = test;
    }
    return r;
}

} // namespace

const char* PatternName(PatternKind kind) {
    switch (kind) {
    case PatternKind::Sum:
        return "sum";
    case PatternKind::Odd:
        return "odd";
    case PatternKind::Low:
        return "low";
    case PatternKind::Consecutive:
        return "consecutive";
    case PatternKind::Repeated:
        return "repeated";
    }
    return "";
}

ValueLaw SumLaw(std::int32_t n, std::int32_t k) {
    assert(n >= k && k >= 1 && n <= Universe && k <= DrawSize);
    // ways[j][s]: the j-subsets of the numbers taken so far with sum s. Each count is at most
    // C(80, 20) < 2^64.
    const std::int32_t top = k * n - k * (k - 1) / 2;
    std::vector<std::vector<std::uint64_t>> ways(static_cast<std::size_t>(k) + 1,
                                                 std::vector<std::uint64_t>(static_cast<std::size_t>(top) + 1));
    ways[0][0] = 1;
    for (std::int32_t x = 1; x <= n; ++x)
        for (std::int32_t j = std::min(x, k); j >= 1; --j)
            for (std::int32_t s = top; s >= x; --s)
                ways[static_cast<std::size_t>(j)][static_cast<std::size_t>(s)] +=
                    ways[static_cast<std::size_t>(j) - 1][static_cast<std::size_t>(s - x)];
    ValueLaw law;
    law.first = k * (k + 1) / 2;
    std::uint64_t all = 0;
    for (std::int32_t s = law.first; s <= top; ++s)
        all += ways[static_cast<std::size_t>(k)][static_cast<std::size_t>(s)];
    for (std::int32_t s = law.first; s <= top; ++s)
        law.p.push_back(static_cast<double>(
            static_cast<long double>(ways[static_cast<std::size_t>(k)][static_cast<std::size_t>(s)]) /
            static_cast<long double>(all)));
    return law;
}

ValueLaw HalfLaw(std::int32_t n, std::int32_t k) {
    return ProductLaw(n, k, k, [n, k](std::int32_t v) { return std::array{n / 2, v, n / 2, k - v}; });
}

ValueLaw ConsecutiveLaw(std::int32_t n, std::int32_t k) {
    // v neighbours make k - v runs: choose the runs' places among the n - k + 1 gaps of the
    // undrawn numbers and cut the k numbers into k - v runs.
    return ProductLaw(n, k, k - 1, [n, k](std::int32_t v) { return std::array{n - k + 1, k - v, k - 1, k - 1 - v}; });
}

ValueLaw RepeatedLaw(std::int32_t n, std::int32_t k) {
    return ProductLaw(n, k, k, [n, k](std::int32_t v) { return std::array{k, v, n - k, k - v}; });
}

const ValueLaw& DrawSumLaw() {
    static const ValueLaw law = SumLaw(Universe, DrawSize);
    return law;
}

const ValueLaw& PatternLaw(PatternKind kind) {
    static const ValueLaw half = HalfLaw(Universe, DrawSize);
    static const ValueLaw consecutive = ConsecutiveLaw(Universe, DrawSize);
    static const ValueLaw repeated = RepeatedLaw(Universe, DrawSize);
    switch (kind) {
    case PatternKind::Sum:
        return DrawSumLaw();
    case PatternKind::Odd:
    case PatternKind::Low:
        return half;
    case PatternKind::Consecutive:
        return consecutive;
    case PatternKind::Repeated:
        return repeated;
    }
    return half;
}

std::optional<ChiSquareTest> PatternChiSquare(const std::vector<PatternRow>& rows) {
    std::vector<std::int64_t> observed;
    std::vector<double> expected;
    observed.reserve(rows.size());
    expected.reserve(rows.size());
    for (const PatternRow& r : rows) {
        observed.push_back(r.observed);
        expected.push_back(r.expected);
    }
    return ChiSquareOfCounts(observed, expected);
}

std::optional<DrawPatterns> ComputeDrawPatterns(const DrawQuery& query) {
    const std::int32_t a = query.rangeFrom, b = query.rangeTo;
    if (a < 1 || a > b || b > query.draws.count)
        return std::nullopt;
    DrawPatterns t;
    t.rangeFrom = a;
    t.rangeTo = b;
    t.draws = b - a + 1;
    t.firstDateLong = DrawDateLongText(query.draws, a);
    t.lastDateLong = DrawDateLongText(query.draws, b);
    t.firstDateShort = DrawDateText(query.draws, a);
    t.lastDateShort = DrawDateText(query.draws, b);

    const DrawMasks* masks =
        query.masks != nullptr && query.masks->count() == query.draws.count ? query.masks : nullptr;
    Counts c;
    // The draw before A (when there is one) is the previous draw of A for the repeated numbers.
    Previous previous;
    if (a >= 2) {
        const DrawMask m = masks != nullptr ? (*masks)[a - 1] : MaskOfDraw(query.draws[a - 1]);
        previous.lo = m.low;
        previous.hi = m.high & NumberBitsHigh;
        previous.counted = std::popcount(previous.lo) + std::popcount(previous.hi) == DrawSize;
    }
    // Without a mask table the masks are made 256 draws at a time.
    constexpr std::int32_t Block = 256;
    std::array<DrawMask, Block> made;
    for (std::int32_t start = a; start <= b; start += Block) {
        const std::int32_t length = std::min(Block, b - start + 1);
        if (masks != nullptr) {
            CountDraws(c, &(*masks)[start], length, previous);
        } else {
            MasksOfRange(query.draws, start, static_cast<std::size_t>(length), made.data());
            CountDraws(c, made.data(), length, previous);
        }
    }
    t.counted = c.counted;
    t.skipped = t.draws - t.counted;

    const std::int64_t n = c.counted;
    t.patterns[0] = MakePattern(PatternKind::Sum, c.sum, n, DrawSumLaw(), SumClassWidth);
    t.patterns[1] = MakePattern(PatternKind::Odd, c.odd, n, PatternLaw(PatternKind::Odd), 1);
    t.patterns[2] = MakePattern(PatternKind::Low, c.low, n, PatternLaw(PatternKind::Low), 1);
    t.patterns[3] = MakePattern(PatternKind::Consecutive, std::span(c.consecutive).first(DrawSize), n,
                                PatternLaw(PatternKind::Consecutive), 1);
    t.patterns[4] =
        MakePattern(PatternKind::Repeated, c.repeated, c.repeatedDraws, PatternLaw(PatternKind::Repeated), 1);
    t.decades = MakeDecades(c);
    return t;
}

} // namespace zg
