// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the 80 numbers: a small table worked out by hand, the chance that some number stays
// away against inclusion-exclusion, the band shared with the charts, and the cell texts.
#include "analysis/NumberTable.h"
#include "analysis/ChanceStatistics.h"
#include "analysis/NumberTableReport.h"
#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace zg {
namespace {

using test::MakeSet;
using test::MakeTable;
using test::View;

std::vector<std::string> Cells(const NumberTable& t, std::int32_t number) {
    std::vector<std::string> cells;
    for (int c = 0; c < NumberColumnTotal; ++c) {
        cells.emplace_back();
        AppendNumberCell(cells.back(), t.rows[static_cast<std::size_t>(number - 1)], t.draws, c, ',');
    }
    return cells;
}

// Draws 3..12 (n = 10), the last N = 4 (draws 9..12). Every draw holds 41..60, except: 1 instead
// of 41 in draws 4, 5 and 9; 2 twice instead of 42 and 43 in draw 12; 99 instead of 44 in draw 7;
// 3 only in draw 2, before the range.
TEST(NumberTable, SmallTableByHand) {
    std::vector<DrawRecord> table = MakeTable(12);
    for (int q : {4, 5, 9})
        table[static_cast<std::size_t>(q)].Numbers[0] = 1;
    table[12].Numbers[1] = table[12].Numbers[2] = 2;
    table[7].Numbers[3] = 99;
    table[2].Numbers[0] = 3;
    const DrawMasks built(View(table));
    for (const DrawMasks* masks : {static_cast<const DrawMasks*>(nullptr), &built}) {
        const auto t = ComputeNumberTable(NumberTableInput{{View(table), masks, MakeSet({2, 41}), 3, 12}, 4});
        ASSERT_TRUE(t);
        EXPECT_EQ(t->draws, 10);
        EXPECT_EQ(t->last, 4);
        // 1 at 4, 5, 9: gaps 1, 0, 3, current 3, mean 4/3; 0.75^3 = 42.1875 %.
        EXPECT_EQ(Cells(*t, 1),
                  (std::vector<std::string>{"01", "3", "30,00", "9", "09.01.2008", "3", "1,33", "3", "42%", "1", ""}));
        // 2 once at 12 (drawn twice): gap 9 before it, current 0.
        EXPECT_EQ(Cells(*t, 2), (std::vector<std::string>{"02", "1", "10,00", "12", "12.01.2008", "0", "9,00", "9",
                                                          "100%", "1", ""}));
        // 3 never in the range: away all 10 draws, 0.75^10 = 5.63 %.
        EXPECT_EQ(Cells(*t, 3), (std::vector<std::string>{"03", "0", "0,00", "", "", "10", "", "10", "5,6%", "0", ""}));
        // 41 at 3, 6, 7, 8, 10, 11, 12: gaps 0, 2, 0, 0, 1, 0, 0; 3 of the last 4.
        EXPECT_EQ(Cells(*t, 41), (std::vector<std::string>{"41", "7", "70,00", "12", "12.01.2008", "0", "0,43", "2",
                                                           "100%", "3", ""}));
        // Binomial(4, 1/4): P(0) = 0.32, P(<= 3) = 0.996: band 0..3; 4 of 4 is hot (44..60).
        EXPECT_EQ(t->bandLast, (CountBand{0, 3}));
        EXPECT_EQ(Cells(*t, 44)[NumberColumnStatus], "gorąca");
        EXPECT_EQ(Cells(*t, 44)[NumberColumnLongestGap], "1");
        EXPECT_EQ(t->outsideCount, 17);
        EXPECT_DOUBLE_EQ(t->outsideExpected, 80.0 / 256); // 80 P(C = 4)
        EXPECT_EQ(t->longestCurrentGap, 10);
        EXPECT_EQ(t->longestGapNumbers.size(), 58u); // 3..40 and 61..80
        EXPECT_TRUE(t->rows[1].inSet && t->rows[40].inSet && !t->rows[0].inSet);
    }
    EXPECT_FALSE(ComputeNumberTable(NumberTableInput{{View(table), nullptr, {}, 5, 4}, 100}));
    EXPECT_FALSE(ComputeNumberTable(NumberTableInput{{View(table), nullptr, {}, 1, 13}, 100}));
}

// 40,000 draws, draw q holding (20q + j) mod 80 + 1 for j = 0..19: every number once in four
// draws. Then 80 stops after draw 3: an absence of 39,997 draws, longer than the 16-bit lanes hold.
TEST(NumberTable, LongRanges) {
    std::vector<DrawRecord> table = MakeTable(40000);
    for (int q = 1; q <= 40000; ++q)
        for (int j = 0; j < 20; ++j)
            table[static_cast<std::size_t>(q)].Numbers[j] = (20 * q + j) % 80 + 1;
    for (int round = 0; round < 2; ++round) {
        const DrawMasks masks(View(table));
        const auto t = ComputeNumberTable(NumberTableInput{{View(table), &masks, {}, 1, 40000}, 100});
        for (const NumberRow& r : t->rows) {
            if (round == 1 && r.number == 80) {
                EXPECT_EQ(std::vector<std::int32_t>({r.count, r.lastDraw, r.currentGap, r.longestGap, r.countLast}),
                          std::vector<std::int32_t>({1, 3, 39997, 39997, 0}));
                continue;
            }
            EXPECT_EQ(std::vector<std::int32_t>({r.count, r.longestGap, r.countLast, r.lastDraw + r.currentGap}),
                      std::vector<std::int32_t>({10000, 3, 25, 40000}))
                << r.number;
        }
        for (int q = 4; q <= 40000; ++q)
            for (std::int32_t& n : table[static_cast<std::size_t>(q)].Numbers)
                n = n == 80 ? 99 : n;
    }
}

// 1 - P(all 80 seen in G draws) = sum over i of (-1)^(i+1) C(80, i) (C(80 - i, 20) / C(80, 20))^G,
// in long double where its terms do not cancel beyond its precision (G >= 6).
TEST(NumberTable, ChanceSomeNumberAwayAgainstInclusionExclusion) {
    for (int g : {0, 1, 2, 3})
        EXPECT_EQ(ChanceSomeNumberAway(g), 1.0) << g; // three draws show at most 60 numbers
    for (int g : {6, 8, 10, 15, 20, 30, 40, 60, 100}) {
        long double sum = 0, choose = 1; // C(80, i)
        for (int i = 1; i <= 80; ++i) {
            choose = choose * (81 - i) / i;
            long double q = 1; // C(80 - i, 20) / C(80, 20)
            for (int k = 0; k < 20; ++k)
                q *= static_cast<long double>(80 - i - k) / (80 - k);
            sum += (i % 2 == 1 ? 1 : -1) * choose * std::pow(q, static_cast<long double>(g));
        }
        EXPECT_NEAR(ChanceSomeNumberAway(g), static_cast<double>(sum), 1e-12 * static_cast<double>(sum)) << g;
    }
    EXPECT_LT(ChanceSomeNumberAway(99999), 1e-300); // the chain stops once the rest is below that
}

// The band of the last N draws is the one the charts draw for a range of N draws.
TEST(NumberTable, BandSharedWithTheCharts) {
    const std::vector<DrawRecord> table = MakeTable(1000);
    const struct {
        std::int32_t draws;
        CountBand band;
    } cases[] = {{1, {0, 1}}, {10, {0, 5}}, {100, {17, 34}}, {1000, {223, 277}}};
    for (const auto& c : cases) {
        EXPECT_EQ(NumberCountBand(c.draws), c.band) << c.draws;
        const auto t = ComputeNumberTable(NumberTableInput{{View(table), nullptr, {}, 1, 1000}, c.draws});
        EXPECT_EQ(t->bandLast, c.band) << c.draws;
        const ChanceStatistics s =
            ComputeChanceStatistics(ChanceInput{View(table), nullptr, MakeSet({1}), 1001 - c.draws, 1000, 1, 1});
        EXPECT_EQ((CountBand{s.numbers[0].low, s.numbers[0].high}), c.band) << c.draws;
    }
}

TEST(NumberTable, ChanceTexts) {
    const struct {
        double p;
        const char* text;
    } cases[] = {
        {1, "100%"},
        {0.99999, "100%"},
        {0.75, "75%"},
        {std::pow(0.75, 10), "5,6%"},
        {0.125, "13%"},
        {0.0996, "10%"},
        {0.095, "9,5%"},
        {std::pow(0.75, 30), "0,018%"},
        {1.0045e-6, "0,00010%"},
        {9.9e-7, "< 0,0001%"},
        {0, "< 0,0001%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChancePercentText(c.p, ','), c.text) << c.p;
    EXPECT_EQ(ChancePercentText(0.056, '.'), "5.6%");
}

// One draw and one number: the singular forms. Halves round away from zero.
TEST(NumberTable, SentencesAndHalves) {
    NumberTable t;
    t.longestCurrentGap = 1;
    t.longestGapNumbers = {7};
    t.pAny = 1;
    t.last = 1;
    t.bandLast = {0, 1};
    t.outsideCount = 2;
    t.outsideExpected = 0;
    EXPECT_EQ(LongestGapSentence(t, ','), "Najdłuższa zaległość: 1 losowanie (liczba: 07). Że któraś z 80 liczb nie "
                                          "padła od co najmniej 1 losowania, sam przypadek daje w 100% przypadków.");
    EXPECT_EQ(OutsideBandSentence(t, ','),
              "W ostatnim 1 losowaniu poza przedziałem 95% (0–1): 2 liczby; sam przypadek daje średnio 0,0.");
    NumberRow r;
    r.count = 1;
    r.gapSum = 1;
    std::string share, mean;
    AppendNumberCell(share, r, 32, NumberColumnShare, ','); // 3.125
    r.count = 8;
    AppendNumberCell(mean, r, 32, NumberColumnMeanGap, ','); // 0.125
    EXPECT_EQ(share + " " + mean, "3,13 0,13");
}

} // namespace
} // namespace zg
