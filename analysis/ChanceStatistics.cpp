// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ChanceStatistics.h"

#include "base/NumberFormat.h"
#include "base/PolishPlural.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/geometric.hpp>
#include <boost/math/distributions/hypergeometric.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>

namespace zg {

namespace {

// A class closes once its expected count reaches this; the margin keeps a class whose expected
// count is 5 up to rounding from staying open.
constexpr double BinMinimum = 5.0 - 1e-9;

// The band's quantiles are the smallest c with P(X <= c) >= p, at both ends; Boost's default
// would round the lower one down instead.
using RoundUp =
    boost::math::policies::policy<boost::math::policies::discrete_quantile<boost::math::policies::integer_round_up>>;

std::int32_t SetSize(const NumberSetData& set) {
    std::int32_t n = 0;
    for (std::int32_t x = 1; x <= 80; ++x)
        n += set.Member[x] ? 1 : 0;
    return n;
}

// Counts of values below 256 in four interleaved tables: a long run of one value (gap 0 after gap 0)
// then adds to four counters in turn instead of waiting on one in memory.
class SmallValueCounts {
public:
    static constexpr std::uint32_t Limit = 256;
    void Add(std::uint32_t value) { ++lanes_[next_++ & 3u][value]; }
    std::int64_t Count(std::uint32_t value) const {
        return lanes_[0][value] + lanes_[1][value] + lanes_[2][value] + lanes_[3][value];
    }

private:
    std::int64_t lanes_[4][Limit] = {};
    std::uint32_t next_ = 0;
};

// Byte j of Spread[b] is bit j of b: adding Spread[one byte of a mask] to a 64-bit word adds the
// byte's eight bits to eight byte-wide counters at once.
constexpr std::array<std::uint64_t, 256> MakeSpread() {
    std::array<std::uint64_t, 256> spread{};
    for (std::uint32_t b = 0; b < 256; ++b)
        for (std::uint32_t j = 0; j < 8; ++j)
            spread[b] |= static_cast<std::uint64_t>((b >> j) & 1u) << (8 * j);
    return spread;
}
constexpr std::array<std::uint64_t, 256> Spread = MakeSpread();

// Draws of from..from + n - 1 that hold each number 1..80 (a number drawn twice counts once, a
// value outside 1..80 never): the draws' masks, ten bytes each, summed in byte-wide counters that
// are emptied before any of them can pass 255.
std::array<std::int64_t, 81> CountNumbers(const DrawsView& draws, const DrawMasks* masks, std::int32_t from,
                                          std::int32_t n) {
    std::array<std::int64_t, 81> counts{};
    for (std::int32_t start = 0; start < n; start += 255) {
        const std::int32_t end = std::min(n, start + 255);
        // Ten named sums rather than an array, so that they stay in registers.
        std::uint64_t s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0, s8 = 0, s9 = 0;
        for (std::int32_t i = start; i < end; ++i) {
            const DrawMask m = masks != nullptr ? (*masks)[from + i] : MaskOfDraw(draws[from + i]);
            s0 += Spread[m.low & 0xFFu];
            s1 += Spread[(m.low >> 8) & 0xFFu];
            s2 += Spread[(m.low >> 16) & 0xFFu];
            s3 += Spread[(m.low >> 24) & 0xFFu];
            s4 += Spread[(m.low >> 32) & 0xFFu];
            s5 += Spread[(m.low >> 40) & 0xFFu];
            s6 += Spread[(m.low >> 48) & 0xFFu];
            s7 += Spread[m.low >> 56];
            s8 += Spread[m.high & 0xFFu];
            s9 += Spread[(m.high >> 8) & 0xFFu]; // bit 63 (CountFromDraw) lies beyond number 80
        }
        const std::uint64_t sums[10] = {s0, s1, s2, s3, s4, s5, s6, s7, s8, s9};
        for (int b = 0; b < 10; ++b)
            for (int j = 0; j < 8; ++j)
                counts[static_cast<std::size_t>(8 * b + j + 1)] +=
                    static_cast<std::int64_t>((sums[b] >> (8 * j)) & 0xFFu);
    }
    return counts;
}

std::vector<NumberFrequency> NumberFrequencies(const DrawsView& draws, const DrawMasks* masks, std::int32_t from,
                                               std::int32_t n) {
    const std::array<std::int64_t, 81> counts = CountNumbers(draws, masks, from, n);
    const auto [low, high] = NumberCountBand(n);
    std::vector<NumberFrequency> numbers;
    numbers.reserve(80);
    for (std::int32_t x = 1; x <= 80; ++x) {
        const std::int64_t c = counts[static_cast<std::size_t>(x)];
        numbers.push_back(NumberFrequency{x, c, n / 4.0, low, high, c < low || c > high});
    }
    return numbers;
}

std::optional<ChiSquareTest> ChiSquare(const std::vector<HitFrequency>& distribution) {
    std::vector<std::int64_t> observed;
    std::vector<double> expected;
    for (const HitFrequency& h : distribution) {
        observed.push_back(h.observed);
        expected.push_back(h.expected);
    }
    return ChiSquareOfCounts(observed, expected);
}

void Gaps(ChanceStatistics& stats, std::span<const SearchRow> rows) {
    const double p = stats.qualifyProbability;
    if (p > 0)
        stats.expectedMeanGap = boost::math::mean(boost::math::geometric_distribution<double>(p));
    stats.gapCount = static_cast<std::int64_t>(rows.size());
    if (rows.empty())
        return;
    std::int32_t largest = 0;
    std::int64_t sum = 0;
    for (const SearchRow& row : rows) {
        largest = std::max(largest, row.gap);
        sum += row.gap;
    }
    stats.observedMeanGap = static_cast<double>(sum) / static_cast<double>(rows.size());
    stats.gapHistogram.resize(static_cast<std::size_t>(largest) + 1);
    auto small = std::make_unique<SmallValueCounts>();
    for (const SearchRow& row : rows) {
        if (row.gap < 0)
            continue; // the search gives none; a caller's rows cannot index before the histogram
        if (static_cast<std::uint32_t>(row.gap) < SmallValueCounts::Limit)
            small->Add(static_cast<std::uint32_t>(row.gap));
        else
            ++stats.gapHistogram[static_cast<std::size_t>(row.gap)].observed;
    }
    for (std::int32_t g = 0; g <= largest; ++g) {
        GapFrequency& f = stats.gapHistogram[static_cast<std::size_t>(g)];
        f.gap = g;
        if (static_cast<std::uint32_t>(g) < SmallValueCounts::Limit)
            f.observed = small->Count(static_cast<std::uint32_t>(g));
    }
    if (p <= 0)
        return; // no draw qualifies by chance: every expected count stays 0
    const boost::math::geometric_distribution<double> independent(p);
    const double r = static_cast<double>(rows.size());
    for (GapFrequency& g : stats.gapHistogram)
        g.expected = r * boost::math::pdf(independent, static_cast<double>(g.gap));
}

} // namespace

std::vector<double> HitProbabilities(std::int32_t setSize) {
    const auto n = static_cast<unsigned>(std::clamp<std::int32_t>(setSize, 0, 80));
    const unsigned m = std::min(n, 20u);
    const unsigned lowest = n > 60 ? n - 60 : 0;
    std::vector<double> p(m + 1, 0.0);
    const boost::math::hypergeometric_distribution<double> fair(20, n, 80);
    for (unsigned k = lowest; k <= m; ++k)
        p[k] = boost::math::pdf(fair, k);
    return p;
}

CountBand CountBandOf(std::int64_t draws, double probability) {
    if (draws <= 0)
        return {};
    const boost::math::binomial_distribution<double, RoundUp> fair(static_cast<double>(draws), probability);
    return CountBand{static_cast<std::int64_t>(boost::math::quantile(fair, 0.025)),
                     static_cast<std::int64_t>(boost::math::quantile(fair, 0.975))};
}

CountBand NumberCountBand(std::int64_t draws) {
    return CountBandOf(draws, 0.25);
}

std::vector<HitBin> ChiSquareBins(const std::vector<double>& expected) {
    std::vector<HitBin> bins;
    const auto last = static_cast<std::int32_t>(expected.size()) - 1;
    std::int32_t start = 0;
    double sum = 0;
    for (std::int32_t k = 0; k <= last; ++k) {
        sum += expected[static_cast<std::size_t>(k)];
        if (sum >= BinMinimum) {
            bins.push_back(HitBin{start, k});
            start = k + 1;
            sum = 0;
        }
    }
    if (start <= last && !bins.empty())
        bins.back().to = last;
    return bins;
}

std::optional<ChiSquareTest> ChiSquareOfCounts(const std::vector<std::int64_t>& observed,
                                               const std::vector<double>& expected) {
    ChiSquareTest test;
    test.bins = ChiSquareBins(expected);
    if (test.bins.size() < 2)
        return std::nullopt;
    for (const HitBin& bin : test.bins) {
        double o = 0, e = 0;
        for (std::int32_t k = bin.from; k <= bin.to; ++k) {
            o += static_cast<double>(observed[static_cast<std::size_t>(k)]);
            e += expected[static_cast<std::size_t>(k)];
        }
        test.statistic += (o - e) * (o - e) / e;
    }
    test.degreesOfFreedom = static_cast<std::int32_t>(test.bins.size()) - 1;
    const boost::math::chi_squared_distribution<double> chi(test.degreesOfFreedom);
    test.pValue = boost::math::cdf(boost::math::complement(chi, test.statistic));
    return test;
}

ChanceStatistics ComputeChanceStatistics(const ChanceInput& in, std::span<const SearchRow> rows) {
    ChanceStatistics stats;
    const DrawsView& draws = in.draws;
    stats.drawHits = SetHitsOfRange(draws, in.masks, in.set, in.rangeFrom, in.rangeTo);
    stats.draws = static_cast<std::int32_t>(stats.drawHits.size());
    stats.firstDraw = std::max<std::int32_t>(in.rangeFrom, 1);
    stats.setSize = SetSize(in.set);
    stats.maxHits = std::min<std::int32_t>(stats.setSize, 20);

    const std::vector<double> p = HitProbabilities(stats.setSize);
    auto observed = std::make_unique<SmallValueCounts>();
    for (std::uint8_t h : stats.drawHits)
        observed->Add(h); // a count above m (a number drawn twice) is never read back
    for (std::size_t k = 0; k < p.size(); ++k)
        stats.hitDistribution.push_back(HitFrequency{
            static_cast<std::int32_t>(k), observed->Count(static_cast<std::uint32_t>(k)), stats.draws * p[k]});
    stats.chiSquare = ChiSquare(stats.hitDistribution);

    double q = 0;
    for (std::int32_t k = std::max<std::int32_t>(in.hitsFrom, 0); k <= std::min(in.hitsTo, stats.maxHits); ++k)
        q += p[static_cast<std::size_t>(k)];
    stats.qualifyProbability = std::min(q, 1.0); // a sum of all P(k) may pass 1 by rounding
    Gaps(stats, rows);

    const DrawMasks* masks = in.masks != nullptr && in.masks->count() == draws.count ? in.masks : nullptr;
    stats.numbers = NumberFrequencies(draws, masks, stats.firstDraw, stats.draws);
    if (stats.draws > 0 && !stats.numbers.empty()) {
        const boost::math::binomial_distribution<double> fair(stats.draws, 0.25);
        const std::int64_t low = stats.numbers.front().low, high = stats.numbers.front().high;
        const double below = low > 0 ? boost::math::cdf(fair, static_cast<double>(low - 1)) : 0.0;
        const double above =
            high < stats.draws ? boost::math::cdf(boost::math::complement(fair, static_cast<double>(high))) : 0.0;
        stats.expectedNumbersOutside = 80.0 * (below + above);
    }
    return stats;
}

ChanceStatistics ComputeChanceStatistics(const ChanceInput& in) {
    std::int32_t foundCount = 0;
    const SearchResult found = in.masks != nullptr ? SetHitSearch(in.draws, *in.masks, in.set, in.rangeFrom, in.rangeTo,
                                                                  in.hitsFrom, in.hitsTo, nullptr, foundCount, nullptr)
                                                   : SetHitSearch(in.draws, in.set, in.rangeFrom, in.rangeTo,
                                                                  in.hitsFrom, in.hitsTo, nullptr, foundCount, nullptr);
    return ComputeChanceStatistics(in, found.rows);
}

std::string TwoSignificantDigits(double value, char separator) {
    char text[32];
    // std::to_chars ignores the locale; general format with precision 2 is %.2g.
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 2);
    std::string result(text, ec == std::errc() ? end : text);
    std::replace(result.begin(), result.end(), '.', separator);
    return result;
}

std::string NumbersOutsideSentence(const ChanceStatistics& stats, char separator) {
    std::int64_t outside = 0;
    for (const NumberFrequency& n : stats.numbers)
        outside += n.outside ? 1 : 0;
    return "Poza przedziałem 95%: " + CountOfNumbers(outside) + "; sam przypadek daje średnio " +
           FormatDecimal(stats.expectedNumbersOutside, 1, 1, separator) + ".";
}

std::string ChiSquareSentence(const std::optional<ChiSquareTest>& test, char separator) {
    if (!test)
        return "Za mało losowań do testu chi-kwadrat.";
    const double p = test->pValue;
    std::string out = "Test chi-kwadrat: p = " + TwoSignificantDigits(p, separator) +
                      ". Tak duży lub większy odstęp od rozkładu przypadkowego sam przypadek daje ";
    if (!(p >= 0.001))
        return out + "rzadziej niż raz na 1000 sprawdzeń.";
    // 100 p lies in 0.1..100 here; %.2g writes only a value that rounds to 100 with an exponent.
    std::string percent = TwoSignificantDigits(100 * p, separator);
    if (percent.find('e') != std::string::npos)
        percent = "100";
    const auto m = static_cast<std::int64_t>(std::llround(1 / p)); // 1..1000
    return out + "w " + percent + "% sprawdzeń (mniej więcej raz na " + std::to_string(m) + ' ' +
           std::string(PolishPlural(m, "sprawdzenie", "sprawdzenia", "sprawdzeń")) + ").";
}

} // namespace zg
