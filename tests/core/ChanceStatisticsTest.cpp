// The chance statistics against values the test works out itself: the hypergeometric law from
// Pascal's triangle, small tables counted draw by draw, the binomial band from exact integer
// sums, the chi-squared tail of one degree of freedom in closed form; the class rule at its edges.
#include "analysis/ChanceStatistics.h"

#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace zg;
using namespace zg::test;

namespace {

long double Choose(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    std::vector<long double> row{1};
    for (int i = 1; i <= n; ++i) {
        std::vector<long double> next(row.size() + 1, 1);
        for (std::size_t j = 1; j < row.size(); ++j)
            next[j] = row[j - 1] + row[j];
        row = next;
    }
    return row[static_cast<std::size_t>(k)];
}

ChanceStatistics Compute(const std::vector<DrawRecord>& table, const NumberSetData& set, std::int32_t from,
                         std::int32_t to, std::int32_t low, std::int32_t high) {
    return ComputeChanceStatistics(ChanceInput{View(table), nullptr, set, from, to, low, high});
}

} // namespace

TEST(ChanceStatistics, HitProbabilitiesAreTheHypergeometricLaw) {
    for (int n : {1, 3, 20, 25, 61, 80}) {
        const std::vector<double> p = HitProbabilities(n);
        ASSERT_EQ(p.size(), static_cast<std::size_t>(std::min(n, 20) + 1)) << n;
        for (int k = 0; k <= std::min(n, 20); ++k) {
            const long double expected = Choose(20, k) * Choose(60, n - k) / Choose(80, n);
            EXPECT_NEAR(p[static_cast<std::size_t>(k)], static_cast<double>(expected), 1e-15) << n << " " << k;
        }
    }
    EXPECT_EQ(HitProbabilities(61)[0], 0.0); // 61 numbers cannot all miss 20 drawn of 80
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
    const std::int64_t observed[4] = {4, 4, 2, 0}; // draws 2..12 hit 1 2 0 1 0 4 2 1 0 1 0
    const long double pick = Choose(80, 3);
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(s.hitDistribution[static_cast<std::size_t>(k)].observed, observed[k]) << k;
        EXPECT_NEAR(s.hitDistribution[static_cast<std::size_t>(k)].expected,
                    static_cast<double>(11 * Choose(20, k) * Choose(60, 3 - k) / pick), 1e-12);
    }
    EXPECT_FALSE(s.chiSquare); // 0..1 reach 5 and 2..3 (1.7) join them: one class, no test
    const double p = static_cast<double>(20 * Choose(60, 2) / pick);
    EXPECT_NEAR(s.qualifyProbability, p, 1e-15);

    // Rows at draws 2, 5, 9 and 11: gaps 0, 2, 3 and 1.
    ASSERT_EQ(s.gapCount, 4);
    EXPECT_NEAR(*s.observedMeanGap, 6.0 / 4, 1e-15);
    EXPECT_NEAR(*s.expectedMeanGap, (1 - p) / p, 1e-12);
    ASSERT_EQ(s.gapHistogram.size(), 4u);
    for (int g = 0; g <= 3; ++g) {
        EXPECT_EQ(s.gapHistogram[static_cast<std::size_t>(g)].observed, 1) << g;
        EXPECT_NEAR(s.gapHistogram[static_cast<std::size_t>(g)].expected, 4 * std::pow(1 - p, g) * p, 1e-12);
    }

    // Binomial(11, 1/4): the smallest c whose exact integer sum C(11, i) 3^(11 - i) reaches the share.
    std::int64_t band[2] = {-1, -1}, cumulative = 0;
    const std::int64_t all = std::int64_t{1} << 22; // 4^11
    for (int c = 0; c <= 11; ++c) {
        cumulative += static_cast<std::int64_t>(Choose(11, c)) * static_cast<std::int64_t>(std::pow(3, 11 - c));
        if (band[0] < 0 && cumulative * 40 >= all)
            band[0] = c;
        if (band[1] < 0 && cumulative * 40 >= all * 39)
            band[1] = c;
    }
    for (const NumberFrequency& n : s.numbers) {
        std::int64_t count = 0;
        for (int q = 2; q <= 12; ++q) {
            bool held = false;
            for (int y : table[static_cast<std::size_t>(q)].Numbers)
                held = held || y == n.number;
            count += held;
        }
        EXPECT_EQ(n.count, count) << n.number;
        EXPECT_EQ(n.expected, 11 / 4.0);
        EXPECT_EQ(n.low, band[0]);
        EXPECT_EQ(n.high, band[1]);
        EXPECT_EQ(n.outside, count < band[0] || count > band[1]) << n.number;
    }
}

TEST(ChanceStatistics, ChiSquaredOfOneDegreeInClosedForm) {
    std::vector<DrawRecord> table = MakeTable(24);
    for (int q : {1, 2, 3, 4, 5, 6, 7, 8, 9}) // 9 hits where 6 are expected
        table[static_cast<std::size_t>(q)].Numbers[0] = 1;
    const ChanceStatistics s = Compute(table, MakeSet({1}), 1, 24, 1, 1);
    ASSERT_TRUE(s.chiSquare);
    const double x = 3.0 * 3 / 18 + 3.0 * 3 / 6;
    EXPECT_NEAR(s.chiSquare->statistic, x, 1e-12);
    EXPECT_EQ(s.chiSquare->degreesOfFreedom, 1);
    EXPECT_NEAR(s.chiSquare->pValue, std::erfc(std::sqrt(x / 2)), 1e-12);
    EXPECT_EQ(s.chiSquare->bins, (std::vector<HitBin>{{0, 0}, {1, 1}}));
}

TEST(ChanceStatistics, ClassesCloseAtFiveAndTheRemainderJoinsTheLast) {
    const struct {
        std::vector<double> expected;
        std::vector<HitBin> bins;
    } cases[] = {
        {{5 - 1e-10, 5}, {{0, 0}, {1, 1}}},     // within the margin: closed
        {{5 - 1e-8, 5}, {{0, 1}}},              // below it: open until the next count
        {{2, 3, 1, 4}, {{0, 1}, {2, 3}}},       // exactly 5 closes
        {{6, 7, 2}, {{0, 0}, {1, 2}}},          // a remainder joins the last class
        {{0, 0, 5, 0}, {{0, 3}}},               // empty counts on both sides
        {{1, 2}, {}},                           // nothing ever closes
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChiSquareBins(c.expected), c.bins) << c.expected.size();
}

TEST(ChanceStatistics, VerdictSentence) {
    const auto verdict = [](double p, char separator) {
        return ChiSquareVerdict(ChiSquareTest{1, 1, p, {}}, separator);
    };
    EXPECT_EQ(verdict(0.4321, ','), "Test chi-kwadrat: wynik zgodny z przypadkiem (p = 0,43).");
    EXPECT_EQ(verdict(0.05, '.'), "Test chi-kwadrat: wynik zgodny z przypadkiem (p = 0.05).");
    EXPECT_EQ(verdict(0.0499, ','), "Test chi-kwadrat: wynik odbiega od przypadku (p = 0,05)."); // unrounded p decides
    EXPECT_EQ(verdict(0.00304, ','), "Test chi-kwadrat: wynik odbiega od przypadku (p = 0,003).");
    EXPECT_EQ(verdict(1.23e-5, ','), "Test chi-kwadrat: wynik odbiega od przypadku (p = 1,2e-05).");
    EXPECT_EQ(ChiSquareVerdict(std::nullopt, ','), "Za mało losowań do testu chi-kwadrat.");
}

TEST(ChanceStatistics, NumberCountsPastTheByteWideCountersWithAndWithoutMasks) {
    std::vector<DrawRecord> table = MakeTable(600); // 41..60 in every draw
    table[300].Numbers[3] = 80;
    const DrawMasks masks(View(table));
    for (const DrawMasks* m : {static_cast<const DrawMasks*>(nullptr), &masks}) {
        const ChanceStatistics s = ComputeChanceStatistics(ChanceInput{View(table), m, MakeSet({41}), 2, 600, 1, 1});
        EXPECT_EQ(s.numbers[40].count, 599);
        EXPECT_EQ(s.numbers[43].count, 598);
        EXPECT_EQ(s.numbers[79].count, 1);
        EXPECT_EQ(s.numbers[0].count, 0);
    }
}
