// SPDX-License-Identifier: GPL-3.0-or-later
// The patterns of the draws: each law against every draw of a small universe, the sum law's
// moments, the classes of the test on hand-made rows, and a small table worked out by hand.
#include "analysis/DrawPatterns.h"
#include "base/DrawMasks.h"
#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace zg;
using zg::test::MakeTable;
using zg::test::View;

namespace {

// The law of a pattern counted over every k-subset of 1..n (as bits 0..n-1).
ValueLaw CountedLaw(std::int32_t n, std::int32_t k, std::int32_t first, std::int32_t last,
                    const std::function<std::int32_t(unsigned)>& value) {
    ValueLaw law{first, std::vector<double>(static_cast<std::size_t>(last - first + 1))};
    double all = 0;
    for (unsigned s = 0; s < (1u << n); ++s)
        if (std::popcount(s) == k) {
            ++law.p[static_cast<std::size_t>(value(s) - first)];
            ++all;
        }
    for (double& p : law.p)
        p /= all;
    return law;
}

struct LawCase {
    std::string name;
    std::int32_t n, k;
};

class PatternLaws : public testing::TestWithParam<LawCase> {};

} // namespace

TEST_P(PatternLaws, MatchEverySubset) {
    const std::int32_t n = GetParam().n, k = GetParam().k;
    const unsigned before = (1u << k) - 1; // the previous draw: 1..k
    const auto sum = [](unsigned s) {
        std::int32_t t = 0;
        for (std::int32_t j = 0; j < 32; ++j)
            t += (s >> j) & 1u ? j + 1 : 0;
        return t;
    };
    const std::vector<std::pair<ValueLaw, ValueLaw>> laws = {
        {SumLaw(n, k), CountedLaw(n, k, k * (k + 1) / 2, k * n - k * (k - 1) / 2, sum)},
        {HalfLaw(n, k), CountedLaw(n, k, 0, k, [](unsigned s) { return std::popcount(s & 0x55555555u); })},
        {HalfLaw(n, k), CountedLaw(n, k, 0, k, [n](unsigned s) { return std::popcount(s & ((1u << n / 2) - 1)); })},
        {ConsecutiveLaw(n, k), CountedLaw(n, k, 0, k - 1, [](unsigned s) { return std::popcount(s & (s >> 1)); })},
        {RepeatedLaw(n, k), CountedLaw(n, k, 0, k, [before](unsigned s) { return std::popcount(s & before); })}};
    for (const auto& [law, counted] : laws) {
        EXPECT_EQ(law.first, counted.first);
        ASSERT_EQ(law.p.size(), counted.p.size());
        for (std::size_t i = 0; i < law.p.size(); ++i)
            EXPECT_NEAR(law.p[i], counted.p[i], 1e-12) << "value " << law.first + static_cast<std::int32_t>(i);
    }
}

INSTANTIATE_TEST_SUITE_P(Small, PatternLaws,
                         testing::Values(LawCase{"n12k5", 12, 5}, LawCase{"n16k6", 16, 6}, LawCase{"n20k10", 20, 10}),
                         [](const auto& info) { return info.param.name; });

// 20 of 80: the sum law's total 1, mean 20 * 81 / 2 and variance 20 * 60 * 81 / 12.
TEST(DrawPatterns, SumLawMoments) {
    const ValueLaw& law = DrawSumLaw();
    ASSERT_EQ(law.first, 210);
    ASSERT_EQ(law.p.size(), 1201u);
    long double total = 0, mean = 0, square = 0;
    for (std::size_t i = 0; i < law.p.size(); ++i) {
        total += law.p[i];
        mean += law.p[i] * (210.0L + i);
        square += law.p[i] * (210.0L + i) * (210.0L + i);
    }
    EXPECT_NEAR(static_cast<double>(total), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(mean), 810, 1e-9);
    EXPECT_NEAR(static_cast<double>(square - mean * mean), 8100, 1e-6);
    EXPECT_EQ(&DrawSumLaw(), &law); // made once
}

// Rows close a class at an expected 5; a remainder below 5 joins the last class.
TEST(DrawPatterns, ChiSquareClasses) {
    const std::vector<PatternRow> rows = {{0, 0, 4, 2}, {1, 1, 1, 3}, {2, 2, 9, 1}, {3, 3, 2, 4}, {4, 4, 0, 0.5}};
    const auto test = PatternChiSquare(rows);
    ASSERT_TRUE(test);
    EXPECT_EQ(test->bins, (std::vector<HitBin>{{0, 1}, {2, 4}}));
    EXPECT_EQ(test->degreesOfFreedom, 1);
    EXPECT_DOUBLE_EQ(test->statistic, 0 + 5.5 * 5.5 / 5.5); // (5 - 5)^2 / 5 + (11 - 5.5)^2 / 5.5
    EXPECT_NEAR(test->pValue, std::erfc(std::sqrt(5.5 / 2)), 1e-12);
    EXPECT_FALSE(PatternChiSquare({{0, 0, 3, 2}, {1, 1, 5, 4}, {2, 2, 1, 1}})); // one class
    EXPECT_FALSE(PatternChiSquare({{0, 0, 3, 2}, {1, 1, 5, 2}}));               // none closed
}

// Draws 2..4: 2 holds 1..20, 3 holds 99 (skipped), 4 (and 1, before the range) 41..60. Draw 2
// repeats none of draw 1; draw 4 follows a skipped draw and is not counted for the repeats.
TEST(DrawPatterns, SmallTableByHand) {
    std::vector<DrawRecord> table = MakeTable(4);
    for (int j = 0; j < 20; ++j)
        table[2].Numbers[j] = j + 1;
    table[3].Numbers[5] = 99;
    const DrawMasks built(View(table));
    for (const DrawMasks* masks : {static_cast<const DrawMasks*>(nullptr), &built}) {
        const auto t = ComputeDrawPatterns(DrawQuery{View(table), masks, {}, 2, 4});
        ASSERT_TRUE(t);
        EXPECT_EQ(t->skipped, 1);
        const auto& sum = t->patterns[0];
        EXPECT_EQ(sum.rows.size(), 61u);
        EXPECT_EQ(sum.rows[0].observed + sum.rows[40].observed, 2); // 210 and 1010
        EXPECT_DOUBLE_EQ(*t->patterns[2].sd, 10);                   // 20 and 0 low numbers
        EXPECT_EQ(t->patterns[3].rows[19].observed, 2);             // 19 neighbours each
        EXPECT_EQ(t->patterns[4].draws, 1);
        EXPECT_EQ(t->patterns[4].rows[0].observed, 1);
        EXPECT_NEAR(*t->decades.rows[0].z, 5 / std::sqrt(2 * DecadeVariance), 1e-12);
        EXPECT_NEAR(t->decades.test->statistic, 79.0 / 60 * 40, 1e-12);
    }
    EXPECT_FALSE(ComputeDrawPatterns(DrawQuery{View(table), nullptr, {}, 3, 5}));
}
