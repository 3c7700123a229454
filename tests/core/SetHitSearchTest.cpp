// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/SetHitSearch.h"

#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <vector>

namespace zg {
namespace {

using namespace test;

// Puts the first `hits` numbers of the set into the draw, from its last position backwards.
void GiveHits(DrawRecord& draw, const NumberSetData& set, std::int32_t hits) {
    for (std::int32_t j = 0; j < hits; ++j)
        draw.Numbers[19 - j] = set.Numbers[j + 1];
}

// Hits per draw for the draws from `first` on.
void GiveHits(std::vector<DrawRecord>& table, const NumberSetData& set, std::int32_t first,
              std::initializer_list<std::int32_t> hits) {
    std::int32_t q = first;
    for (std::int32_t h : hits)
        GiveHits(table[static_cast<std::size_t>(q++)], set, h);
}

struct Found {
    std::unique_ptr<std::int32_t[]> draws = std::make_unique<std::int32_t[]>(MaxDraws + 1);
    std::int32_t count = -1;
    std::vector<std::int32_t> list() const { return {draws.get() + 1, draws.get() + 1 + count}; }
};

struct RecordingProgress : SearchProgress {
    std::vector<std::int32_t> totals;
    std::vector<std::int32_t> steps;
    void total(std::int32_t n) override { totals.push_back(n); }
    void step(std::int32_t i) override { steps.push_back(i); }
};

struct RowValues {
    std::int32_t lp, ordinal, hits, gap;
    bool operator==(const RowValues&) const = default;
};

std::vector<RowValues> Values(const SearchResult& r) {
    std::vector<RowValues> out;
    for (const SearchRow& row : r.rows)
        out.push_back({row.lp, row.ordinal, row.hits, row.gap});
    return out;
}

// Runs the search with the set and bounds over range from..to of the table.
SearchResult Search(const std::vector<DrawRecord>& table, const NumberSetData& set, std::int32_t from, std::int32_t to,
                    std::int32_t hitsFrom, std::int32_t hitsTo, Found* found = nullptr) {
    std::int32_t dummy = 0;
    return SetHitSearch(View(table), set, from, to, hitsFrom, hitsTo, found ? found->draws.get() : nullptr,
                        found ? found->count : dummy, nullptr);
}

TEST(SetHitSearch, WorkedExample) {
    auto table = MakeTable(120);
    const NumberSetData set = MakeSet({3, 7, 15});
    GiveHits(table, set, 101, {1, 2, 2, 0, 1, 1, 3, 2, 0, 1});
    Found found;
    RecordingProgress progress;
    const SearchResult r = SetHitSearch(View(table), set, 101, 110, 2, 3, found.draws.get(), found.count, &progress);

    EXPECT_EQ(Values(r), (std::vector<RowValues>{{1, 102, 2, 1}, {2, 103, 2, 0}, {3, 107, 3, 3}, {4, 108, 2, 0}}));
    EXPECT_EQ(r.rows[2].day, 23);
    EXPECT_EQ(r.rows[2].month, 4);
    EXPECT_EQ(r.rows[2].year, 2008);
    EXPECT_EQ(r.total, 9);
    EXPECT_EQ(r.maxSeries, 2);
    EXPECT_EQ(r.seriesEnd, 103);
    EXPECT_EQ(r.maxGap, 3);
    EXPECT_EQ(r.gapEnd, 107);
    EXPECT_EQ(r.last, 108);
    EXPECT_EQ(r.currentGap, 2);
    EXPECT_EQ(found.count, 4);
    EXPECT_EQ(found.list(), (std::vector<std::int32_t>{102, 103, 107, 108}));
    EXPECT_EQ(progress.totals, std::vector<std::int32_t>{10});
    EXPECT_EQ(progress.steps, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    const SearchStatistics comma = SearchStatisticsTexts(r, 3, View(table), ',');
    EXPECT_EQ(comma.total, "9");
    EXPECT_EQ(comma.average, "2,25 z 3 = 75,00 %");
    EXPECT_EQ(comma.maxGap, "3 losowań ( 104 - 106 )");
    EXPECT_EQ(comma.currentGap, "2 losowań");
    EXPECT_EQ(comma.maxSeries, "2 losowań ( 102 - 103 )");
    EXPECT_EQ(comma.maxGapHint, "20.04.08 - 22.04.08");
    EXPECT_EQ(comma.maxSeriesHint, "18.04.08 - 19.04.08");
    EXPECT_TRUE(comma.maxGapIsLink);

    const SearchStatistics point = SearchStatisticsTexts(r, 3, View(table), '.');
    EXPECT_EQ(point.average, "2.25 z 3 = 75.00 %");
    EXPECT_EQ(point.maxGap, comma.maxGap);
    EXPECT_EQ(point.maxSeries, comma.maxSeries);
}

TEST(SetHitSearch, GapBeforeTheFirstRowCountsFromTheRangeStart) {
    auto table = MakeTable(30);
    const NumberSetData set = MakeSet({5});
    GiveHits(table, set, 10, {0, 0, 0, 1, 1, 0});
    const SearchResult r = Search(table, set, 10, 15, 1, 1);
    EXPECT_EQ(Values(r), (std::vector<RowValues>{{1, 13, 1, 3}, {2, 14, 1, 0}}));
    EXPECT_EQ(r.maxGap, 3);
    EXPECT_EQ(r.gapEnd, 13);
    EXPECT_EQ(SearchStatisticsTexts(r, 1, View(table), ',').maxGap, "3 losowań ( 10 - 12 )");

    // The first draw of the range qualifying has gap 0; the newest qualifying gives current gap 0.
    const SearchResult atStart = Search(table, set, 13, 14, 1, 1);
    EXPECT_EQ(Values(atStart), (std::vector<RowValues>{{1, 13, 1, 0}, {2, 14, 1, 0}}));
    EXPECT_EQ(atStart.currentGap, 0);
    EXPECT_EQ(SearchStatisticsTexts(atStart, 1, View(table), ',').currentGap, "0 losowań");
}

TEST(SetHitSearch, EqualSeriesAndEqualGapsKeepTheEarliest) {
    auto table = MakeTable(20);
    const NumberSetData set = MakeSet({1, 2});
    // Draws 1..11: no, yes, yes, no, no, yes, yes, no, no, yes, yes.
    GiveHits(table, set, 1, {0, 2, 2, 0, 0, 2, 2, 0, 0, 2, 2});
    const SearchResult r = Search(table, set, 1, 11, 2, 2);
    EXPECT_EQ(r.maxSeries, 2);
    EXPECT_EQ(r.seriesEnd, 3);
    EXPECT_EQ(r.maxGap, 2);
    EXPECT_EQ(r.gapEnd, 6);
    const SearchStatistics s = SearchStatisticsTexts(r, 2, View(table), ',');
    EXPECT_EQ(s.maxSeries, "2 losowań ( 2 - 3 )");
    EXPECT_EQ(s.maxSeriesHint, "02.01.08 - 03.01.08");
    EXPECT_EQ(s.maxGap, "2 losowań ( 4 - 5 )");
    EXPECT_EQ(s.maxGapHint, "04.01.08 - 05.01.08");
    // The gap after the last row is only the current gap, never the longest one.
    const SearchResult tail = Search(table, set, 1, 20, 2, 2);
    EXPECT_EQ(tail.maxGap, 2);
    EXPECT_EQ(tail.currentGap, 9);
}

TEST(SetHitSearch, EveryDrawQualifies) {
    auto table = MakeTable(50);
    const NumberSetData set = MakeSet({3, 7, 15});
    GiveHits(table, set, 20, {3, 1, 0, 2});
    Found found;
    const SearchResult r = Search(table, set, 11, 40, 0, 20, &found);
    ASSERT_EQ(r.rows.size(), 30u);
    for (const SearchRow& row : r.rows)
        EXPECT_EQ(row.gap, 0);
    EXPECT_EQ(found.count, 30);
    EXPECT_EQ(r.total, 6);
    const SearchStatistics s = SearchStatisticsTexts(r, 3, View(table), ',');
    EXPECT_EQ(s.maxGap, "0 losowań");
    EXPECT_FALSE(s.maxGapIsLink);
    EXPECT_EQ(s.maxGapHint, "");
    EXPECT_EQ(s.currentGap, "0 losowań");
    EXPECT_EQ(s.maxSeries, "30 losowań ( 11 - 40 )");
    EXPECT_EQ(s.average, "0,20 z 3 = 6,67 %");
}

TEST(SetHitSearch, SingleDrawRange) {
    auto table = MakeTable(5);
    const NumberSetData set = MakeSet({3, 7, 15});
    GiveHits(table, set, 4, {2});
    const SearchResult r = Search(table, set, 4, 4, 2, 3);
    EXPECT_EQ(Values(r), (std::vector<RowValues>{{1, 4, 2, 0}}));
    const SearchStatistics s = SearchStatisticsTexts(r, 3, View(table), ',');
    EXPECT_EQ(s.maxSeries, "1 losowań ( 4 - 4 )");
    EXPECT_EQ(s.maxSeriesHint, "04.01.08 - 04.01.08");
    EXPECT_EQ(s.average, "2,00 z 3 = 66,67 %");
    EXPECT_EQ(s.currentGap, "0 losowań");
    // The average of 10 hits in 4 rows for a set of 5 numbers.
    SearchResult tenInFour;
    tenInFour.rows.resize(4);
    tenInFour.total = 10;
    EXPECT_EQ(SearchStatisticsTexts(tenInFour, 5, View(table), ',').average, "2,50 z 5 = 50,00 %");
    EXPECT_EQ(SearchStatisticsTexts(tenInFour, 5, View(table), '.').average, "2.50 z 5 = 50.00 %");
}

TEST(SetHitSearch, SetOfTwentyFiveNumbers) {
    auto table = MakeTable(3);
    NumberSetData set;
    for (std::int32_t n = 1; n <= 25; ++n) {
        set.Member[n] = true;
        set.Numbers[++set.Count] = static_cast<std::uint8_t>(n);
    }
    GiveHits(table[1], set, 20);
    GiveHits(table[2], set, 12);
    const SearchResult r = Search(table, set, 1, 3, 12, 20);
    EXPECT_EQ(Values(r), (std::vector<RowValues>{{1, 1, 20, 0}, {2, 2, 12, 0}}));
    EXPECT_EQ(SearchStatisticsTexts(r, 25, View(table), ',').average, "16,00 z 25 = 64,00 %");
}

TEST(SetHitSearch, CountsRepeatsIgnoresOutsideValues) {
    auto table = MakeTable(3);
    NumberSetData set = MakeSet({3, 80});
    set.Member[0] = true; // never consulted: 0 is not a lottery number
    // A number drawn twice counts twice.
    table[1].Numbers[0] = 3;
    table[1].Numbers[7] = 3;
    table[1].Numbers[19] = 80;
    // Values outside 1..80 match nothing and are never used as an index.
    table[2].Numbers[0] = 0;
    table[2].Numbers[1] = 81;
    table[2].Numbers[2] = -5;
    table[2].Numbers[3] = 1000000;
    table[2].Numbers[4] = INT_MIN;
    table[2].Numbers[5] = INT_MAX;
    table[2].Numbers[6] = 256 + 3; // would alias 3 if the value were cut to a byte
    table[2].Numbers[7] = 80;
    const SearchResult r = Search(table, set, 1, 3, 0, 20);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].hits, 3);
    EXPECT_EQ(r.rows[1].hits, 1);
    EXPECT_EQ(r.rows[2].hits, 0);
}

TEST(SetHitSearch, ArgumentsOutsideTheTableAreCut) {
    auto table = MakeTable(10);
    const NumberSetData set = MakeSet({7});
    GiveHits(table, set, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    RecordingProgress progress;
    Found found;

    // A reversed range reads nothing and leaves no rows.
    SearchResult r = SetHitSearch(View(table), set, 8, 5, 0, 20, found.draws.get(), found.count, &progress);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(found.count, 0);
    EXPECT_EQ(progress.totals, std::vector<std::int32_t>{0});
    EXPECT_TRUE(progress.steps.empty());

    // A range reaching past either end is cut to draws 1..10; statistics follow the cut range.
    r = SetHitSearch(View(table), set, -3, 1000, 1, 1, found.draws.get(), found.count, nullptr);
    EXPECT_EQ(Values(r), (std::vector<RowValues>{{1, 1, 1, 0}, {2, 10, 1, 8}}));
    EXPECT_EQ(r.currentGap, 0);
    EXPECT_EQ(found.list(), (std::vector<std::int32_t>{1, 10}));

    r = Search(table, set, INT_MIN, INT_MAX, 0, 20);
    EXPECT_EQ(r.rows.size(), 10u);
    r = Search(table, set, INT_MAX, INT_MIN, 0, 20);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(SearchStatisticsTexts(r, 1, View(table), ',').total, "0");

    // An empty table or none at all.
    std::int32_t count = 5;
    r = SetHitSearch(DrawsView{nullptr, 10}, set, 1, 10, 0, 20, nullptr, count, nullptr);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(count, 0);
    // Reversed hit bounds qualify nothing.
    EXPECT_TRUE(Search(table, set, 1, 10, 1, 0).rows.empty());
}

TEST(SetHitSearch, FoundDrawsNeverExceedsItsCapacity) {
    // A view larger than the program's table: every draw qualifies, but the list stops at MaxDraws.
    const std::int32_t count = MaxDraws + 5;
    std::vector<DrawRecord> table(static_cast<std::size_t>(count) + 1);
    const NumberSetData set = MakeSet({1});
    std::vector<std::int32_t> found(static_cast<std::size_t>(MaxDraws) + 2, -1);
    std::int32_t foundCount = 0;
    const SearchResult r =
        SetHitSearch(DrawsView{table.data(), count}, set, 1, count, 0, 0, found.data(), foundCount, nullptr);
    EXPECT_EQ(r.rows.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(foundCount, MaxDraws);
    EXPECT_EQ(found[static_cast<std::size_t>(MaxDraws)], MaxDraws);
    EXPECT_EQ(found[static_cast<std::size_t>(MaxDraws) + 1], -1);
}

TEST(SetHitSearch, NoRowsFillsOnlyTheTotal) {
    auto table = MakeTable(10);
    const SearchResult r = Search(table, MakeSet({3}), 1, 10, 1, 1);
    EXPECT_TRUE(r.rows.empty());
    const SearchStatistics s = SearchStatisticsTexts(r, 1, View(table), ',');
    EXPECT_EQ(s.total, "0");
    EXPECT_EQ(s.average, "");
    EXPECT_EQ(s.maxGap, "");
    EXPECT_EQ(s.currentGap, "");
    EXPECT_EQ(s.maxSeries, "");
    EXPECT_FALSE(s.maxGapIsLink);
}

TEST(SetHitSearch, RefusalOrderAndTexts) {
    EXPECT_EQ(ValidateSearch(10, 8, 5, 3), SearchRefusal::Range);  // both wrong: the range is named
    EXPECT_EQ(ValidateSearch(11, 10, 0, 0), SearchRefusal::Range); // from = to + 1
    EXPECT_EQ(ValidateSearch(8, 8, 5, 3), SearchRefusal::Hits);
    EXPECT_EQ(ValidateSearch(8, 8, 3, 3), SearchRefusal::None);
    EXPECT_EQ(RefusalText(SearchRefusal::Range), "Nieprawidłowo zadany zakres losowań !!");
    EXPECT_EQ(RefusalText(SearchRefusal::Hits), "Nieprawidłowo zadane wartości!");
    EXPECT_EQ(RefusalText(SearchRefusal::None), "");
    EXPECT_EQ(RefusalTitle, "Błąd!");
    EXPECT_EQ(NothingFoundText, "Nie znaleziono losowań spełniających zadane kryteria.");
}

TEST(SetHitSearch, GridTexts) {
    EXPECT_EQ(ResultGridHeading(0), "         Lp.");
    EXPECT_EQ(ResultGridHeading(1), "    Numer losowania");
    EXPECT_EQ(ResultGridHeading(2), "     Data losowania");
    EXPECT_EQ(ResultGridHeading(3), "    Ilość trafionych liczb");
    EXPECT_EQ(ResultGridHeading(4), "    Oczekiwano losowań");
    EXPECT_EQ(ResultGridHeading(5), "");
    EXPECT_EQ(ResultGridHeading(-1), "");

    const SearchRow row{1, 2049, 5, 3, 2008, 3, 13};
    EXPECT_EQ(ResultCellText(row, 0), "       0001");
    EXPECT_EQ(ResultCellText(row, 1), "            2049");
    EXPECT_EQ(ResultCellText(row, 2), "        05.03.2008");
    EXPECT_EQ(ResultCellText(row, 3), "                 3");
    EXPECT_EQ(ResultCellText(row, 4), "               13");
    EXPECT_EQ(ResultCellText(row, 5), "");
    EXPECT_EQ(ResultCellText(SearchRow{12345, 1, 31, 12, 1999, 0, 0}, 0), "       12345");
    EXPECT_EQ(ResultCellText(SearchRow{12345, 1, 31, 12, 1999, 0, 0}, 4), "               0");

    EXPECT_EQ(ResultFieldText(row, 0), "0001");
    EXPECT_EQ(ResultFieldText(row, 2), "05.03.2008");
    EXPECT_EQ(ResultFieldText(row, 4), "13");

    DrawRecord draw;
    draw.Numbers[0] = 7;
    draw.Numbers[19] = 80;
    EXPECT_EQ(NumbersStripText(draw, 0), "07");
    EXPECT_EQ(NumbersStripText(draw, 19), "80");
    EXPECT_EQ(NumbersStripText(draw, 20), "");
}

} // namespace
} // namespace zg
