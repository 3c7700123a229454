// SPDX-License-Identifier: GPL-3.0-or-later
// The chance statistics against values the test works out itself: the hypergeometric law from
// binomial coefficients, a small table counted draw by draw, the class rule at its edges, the
// verdict's wording, and the number counters past the point where they are emptied. The golden
// file of CmdStatsTest covers the chi-squared test (one degree of freedom, in closed form there)
// and a binomial band where Boost's default rounding would differ.
#include "analysis/ChanceStatistics.h"

#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zg {
namespace {

using namespace test;

long double Choose(int n, int k) {
    long double c = k < 0 || k > n ? 0 : 1;
    for (int i = 1; i <= k && c > 0; ++i)
        c = c * (n - k + i) / i;
    return c;
}

ChanceStatistics Compute(const std::vector<DrawRecord>& table, const NumberSetData& set, std::int32_t from,
                         std::int32_t to, std::int32_t low, std::int32_t high) {
    return ComputeChanceStatistics(ChanceInput{View(table), nullptr, set, from, to, low, high});
}

TEST(ChanceStatistics, HitProbabilitiesAreTheHypergeometricLaw) {
    for (int n : {1, 3, 20, 25, 61, 80}) { // 61 numbers cannot all miss 20 drawn: P(0) = 0
        const std::vector<double> p = HitProbabilities(n);
        ASSERT_EQ(p.size(), static_cast<std::size_t>(std::min(n, 20) + 1)) << n;
        for (int k = 0; k <= std::min(n, 20); ++k)
            EXPECT_NEAR(p[static_cast<std::size_t>(k)],
                        static_cast<double>(Choose(20, k) * Choose(60, n - k) / Choose(80, n)), 1e-15);
    }
}

TEST(ChanceStatistics, SmallTableCountedDrawByDraw) {
    std::vector<DrawRecord> table = MakeTable(12);
    const NumberSetData set = MakeSet({1, 2, 3});
    const int hits[13] = {0, 3, 1, 2, 0, 1, 0, 0, 2, 1, 0, 1, 0}; // draw 1 lies outside the range
    for (int q = 1; q <= 12; ++q)
        for (int j = 0; j < hits[q]; ++j)
            table[static_cast<std::size_t>(q)].Numbers[j] = j + 1;
    for (int j = 0; j < 4; ++j) // 1, 2, 3, 3: 4 hits as the search counts them, more than any k
        table[7].Numbers[j] = j < 3 ? j + 1 : 3;
    table[11].Numbers[5] = 99; // never counted
    const ChanceStatistics s = Compute(table, set, 2, 12, 1, 1);

    ASSERT_EQ(s.draws, 11);
    std::vector<std::int64_t> observed;
    for (const HitFrequency& h : s.hitDistribution)
        observed.push_back(h.observed);
    EXPECT_EQ(observed, (std::vector<std::int64_t>{4, 4, 2, 0})); // draws 2..12 hit 1 2 0 1 0 4 2 1 0 1 0
    EXPECT_NEAR(s.hitDistribution[2].expected, static_cast<double>(11 * 190 * 60 / Choose(80, 3)), 1e-12);
    EXPECT_FALSE(s.chiSquare); // 0..1 reach 5 and 2..3 (1.7) join them: one class, no test
    const double p = static_cast<double>(20 * Choose(60, 2) / Choose(80, 3));
    EXPECT_NEAR(s.qualifyProbability, p, 1e-15);

    // Rows at draws 2, 5, 9 and 11: gaps 0, 2, 3 and 1.
    std::vector<std::int64_t> gaps;
    for (const GapFrequency& g : s.gapHistogram)
        gaps.push_back(g.observed);
    EXPECT_EQ(gaps, (std::vector<std::int64_t>{1, 1, 1, 1}));
    EXPECT_EQ(s.gapCount, 4);
    EXPECT_NEAR(*s.observedMeanGap, 1.5, 1e-15);
    EXPECT_NEAR(*s.expectedMeanGap, (1 - p) / p, 1e-12);
    EXPECT_NEAR(s.gapHistogram[3].expected, 4 * std::pow(1 - p, 3) * p, 1e-12);

    // Numbers as draws 2..12 hold them: 3 once though draw 7 holds it twice, 46 not in draw 11,
    // where 99 stands instead, and never 99. Binomial(11, 1/4) reaches 0.025 at 0 (3^11 / 4^11 =
    // 0.042) and 0.975 at 6 (the sum up to 5 is 0.966, up to 6 0.992).
    const std::int64_t counts[][2] = {{1, 7}, {3, 1}, {46, 10}, {47, 11}, {80, 0}};
    for (const auto& [number, count] : counts) {
        const NumberFrequency& n = s.numbers[static_cast<std::size_t>(number - 1)];
        EXPECT_EQ(n.count, count) << number;
        EXPECT_EQ(n.expected, 11 / 4.0);
        EXPECT_EQ(n.low, 0);
        EXPECT_EQ(n.high, 6);
        EXPECT_EQ(n.outside, count > 6) << number;
    }
}

TEST(ChanceStatistics, ClassesCloseAtFiveRemainderJoinsLast) {
    const struct {
        std::vector<double> expected;
        std::vector<HitBin> bins;
    } cases[] = {
        {{5 - 1e-10, 5}, {{0, 0}, {1, 1}}}, // within the margin: closed
        {{5 - 1e-8, 5}, {{0, 1}}},          // below it: open until the next count
        {{2, 3, 1, 4}, {{0, 1}, {2, 3}}},   // exactly 5 closes
        {{6, 7, 2}, {{0, 0}, {1, 2}}},      // a remainder joins the last class
        {{0, 0, 5, 0}, {{0, 3}}},           // empty counts on both sides
        {{1, 2}, {}},                       // nothing ever closes
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChiSquareBins(c.expected), c.bins) << c.expected.size();
}

TEST(ChanceStatistics, ChiSquareSentenceSaysWhatChanceGives) {
    const std::string start = "Test chi-kwadrat: p = ";
    const std::string middle = ". Tak duży lub większy odstęp od rozkładu przypadkowego sam przypadek daje ";
    const struct {
        double p;
        std::string text;
    } cases[] = {
        {0.048, "0,048" + middle + "w 4,8% sprawdzeń (mniej więcej raz na 21 sprawdzeń)."},
        {0.3, "0,3" + middle + "w 30% sprawdzeń (mniej więcej raz na 3 sprawdzenia)."},
        {0.999, "1" + middle + "w 100% sprawdzeń (mniej więcej raz na 1 sprawdzenie)."},
        {0.001, "0,001" + middle + "w 0,1% sprawdzeń (mniej więcej raz na 1000 sprawdzeń)."},
        {0.0004, "0,0004" + middle + "rzadziej niż raz na 1000 sprawdzeń."},
        {1.23e-5, "1,2e-05" + middle + "rzadziej niż raz na 1000 sprawdzeń."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChiSquareSentence(ChiSquareTest{1, 1, c.p, {}}, ','), start + c.text) << c.p;
    EXPECT_EQ(ChiSquareSentence(std::nullopt, '.'), "Za mało losowań do testu chi-kwadrat.");
}

TEST(ChanceStatistics, NumberCountsPastByteCounters) {
    std::vector<DrawRecord> table = MakeTable(600); // 41..60 in every draw, 80 for 44 in draw 300
    table[300].Numbers[3] = 80;
    const DrawMasks masks(View(table));
    for (const DrawMasks* m : {static_cast<const DrawMasks*>(nullptr), &masks}) {
        const ChanceStatistics s = ComputeChanceStatistics(ChanceInput{View(table), m, MakeSet({41}), 2, 600, 1, 1});
        const std::int64_t counts[] = {s.numbers[0].count, s.numbers[40].count, s.numbers[43].count,
                                       s.numbers[79].count};
        EXPECT_EQ(std::vector<std::int64_t>(counts, counts + 4), (std::vector<std::int64_t>{0, 599, 598, 1}));
    }
}

// The numbers outside their band that chance alone gives: 80 times the binomial tails beyond the
// band's own bounds, summed here term by term.
TEST(ChanceStatistics, NumbersOutsideByChance) {
    for (const std::int32_t draws : {1, 7, 100, 400}) {
        const ChanceStatistics s = Compute(MakeTable(draws), MakeSet({41}), 1, draws, 1, 1);
        const std::int64_t low = s.numbers[0].low, high = s.numbers[0].high;
        long double tails = 0;
        for (std::int32_t k = 0; k <= draws; ++k)
            if (k < low || k > high)
                tails += Choose(draws, k) * std::pow(0.25L, k) * std::pow(0.75L, draws - k);
        const double expected = static_cast<double>(80 * tails);
        EXPECT_NEAR(s.expectedNumbersOutside, expected, 1e-9) << draws;
        char x[32];
        std::snprintf(x, sizeof x, "%.1f", expected);
        std::string text(x);
        text[text.find('.')] = ',';
        // Numbers 41..60 are in every draw, the other 60 in none.
        const int outside = (draws > high ? 20 : 0) + (low > 0 ? 60 : 0);
        EXPECT_EQ(NumbersOutsideSentence(s, ','), "Poza przedziałem 95%: " + std::to_string(outside) +
                                                      " liczb; sam przypadek daje średnio " + text + ".")
            << draws;
    }
}

TEST(ChanceStatistics, NumbersOutsideSentenceWording) {
    struct Case {
        int outside;
        double chance;
        const char* sentence;
    };
    const Case cases[] = {
        {1, 0.25, "Poza przedziałem 95%: 1 liczba; sam przypadek daje średnio 0,3."},
        {3, 4.75, "Poza przedziałem 95%: 3 liczby; sam przypadek daje średnio 4,8."},
        {12, 3.94, "Poza przedziałem 95%: 12 liczb; sam przypadek daje średnio 3,9."},
        {22, 0, "Poza przedziałem 95%: 22 liczby; sam przypadek daje średnio 0,0."},
    };
    for (const Case& c : cases) {
        ChanceStatistics s;
        s.numbers.resize(80);
        for (int i = 0; i < c.outside; ++i)
            s.numbers[static_cast<std::size_t>(i)].outside = true;
        s.expectedNumbersOutside = c.chance;
        EXPECT_EQ(NumbersOutsideSentence(s, ','), c.sentence) << c.outside;
    }
}

} // namespace
} // namespace zg
