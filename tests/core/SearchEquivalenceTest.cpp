// SPDX-License-Identifier: GPL-3.0-or-later
// The search over masks and the search over the draws' numbers against the definition: for every
// draw of the range, every pair of a set number and a drawn number that are equal is one hit.
#include "analysis/SetHitSearch.h"
#include "base/DrawMasks.h"

#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

namespace zg {
namespace {

using namespace test;

struct Reference {
    std::vector<SearchRow> rows;
    std::int64_t total = 0;
    std::int32_t maxSeries = 0, seriesEnd = 0, maxGap = 0, gapEnd = 0, last = 0, currentGap = 0;
};

// The search exactly as defined, over a range inside the table.
Reference DefinitionSearch(const DrawsView& draws, const NumberSetData& set, std::int32_t from, std::int32_t to,
                           std::int32_t hitsFrom, std::int32_t hitsTo) {
    Reference r;
    std::int32_t p = from - 1, series = 0;
    for (std::int32_t q = from; q <= to; ++q) {
        std::int32_t s = 0;
        for (std::int32_t k = 1; k <= set.Count; ++k)
            for (std::int32_t y : draws[q].Numbers)
                s += set.Numbers[k] == y ? 1 : 0;
        if (s < hitsFrom || s > hitsTo) {
            series = 0;
            continue;
        }
        ++series;
        if (series > r.maxSeries)
            r.maxSeries = series, r.seriesEnd = q;
        if (q - p - 1 > r.maxGap)
            r.maxGap = q - p - 1, r.gapEnd = q;
        const DrawRecord& d = draws[q];
        r.rows.push_back(
            SearchRow{static_cast<std::int32_t>(r.rows.size()) + 1, q, d.Day, d.Month, d.Year, s, q - p - 1});
        p = q;
        r.total += s;
    }
    r.last = p;
    r.currentGap = to - p;
    return r;
}

struct Progress : SearchProgress {
    std::vector<std::int32_t> calls;
    void total(std::int32_t n) override { calls.push_back(-n); }
    void step(std::int32_t i) override { calls.push_back(i); }
};

void ExpectSame(const SearchResult& got, const Reference& want, const std::vector<std::int32_t>& found) {
    ASSERT_EQ(got.rows.size(), want.rows.size());
    for (std::size_t i = 0; i < want.rows.size(); ++i) {
        const SearchRow &a = got.rows[i], &b = want.rows[i];
        ASSERT_EQ(std::tie(a.lp, a.ordinal, a.day, a.month, a.year, a.hits, a.gap),
                  std::tie(b.lp, b.ordinal, b.day, b.month, b.year, b.hits, b.gap))
            << "row " << i;
        ASSERT_EQ(found[i + 1], b.ordinal);
    }
    EXPECT_EQ(got.total, want.total);
    EXPECT_EQ(got.maxSeries, want.maxSeries);
    EXPECT_EQ(got.seriesEnd, want.seriesEnd);
    EXPECT_EQ(got.maxGap, want.maxGap);
    EXPECT_EQ(got.gapEnd, want.gapEnd);
    EXPECT_EQ(got.last, want.last);
    EXPECT_EQ(got.currentGap, want.currentGap);
}

// Draws of random numbers: mostly 20 different numbers of 1..80, now and then a repeated number or a
// value outside the game (0, 81, negative, huge), as a damaged file could hold.
std::vector<DrawRecord> RandomTable(std::mt19937& rng, std::int32_t count) {
    std::vector<DrawRecord> table = MakeTable(count);
    std::uniform_int_distribution<std::int32_t> number(1, 80), percent(0, 99), pos(0, 19);
    const std::int32_t odd[] = {0, 81, -1, 65 + 64, 1 + 64, INT_MIN, INT_MAX, 256 + 7};
    for (std::int32_t q = 1; q <= count; ++q) {
        DrawRecord& d = table[static_cast<std::size_t>(q)];
        bool used[81] = {};
        for (std::int32_t& y : d.Numbers) {
            do
                y = number(rng);
            while (used[y]);
            used[y] = true;
        }
        if (percent(rng) < 10)
            d.Numbers[pos(rng)] = d.Numbers[pos(rng)];
        if (percent(rng) < 10)
            d.Numbers[pos(rng)] = odd[static_cast<std::size_t>(percent(rng)) % std::size(odd)];
    }
    return table;
}

TEST(SearchEquivalence, MasksAndNumbersMatchTheDefinition) {
    std::mt19937 rng(20240601u);
    for (int round = 0; round < 300; ++round) {
        std::uniform_int_distribution<std::int32_t> size(1, 300);
        const std::int32_t count = size(rng);
        const auto table = RandomTable(rng, count);
        const DrawsView draws = View(table);
        const DrawMasks masks(draws);

        std::uniform_int_distribution<std::int32_t> setSize(1, 80), number(1, 80), ordinal(1, count), bound(-1, 21);
        NumberSetData set;
        for (std::int32_t k = setSize(rng); set.Count < k; CompleteNumberSet(set))
            set.Member[number(rng)] = true;
        std::int32_t from = ordinal(rng), to = ordinal(rng);
        if (from > to)
            std::swap(from, to);
        std::int32_t low = bound(rng), high = bound(rng);
        if (round % 3 == 0)
            low = 0, high = 20; // every draw
        const Reference want = DefinitionSearch(draws, set, from, to, low, high);

        for (const bool withMasks : {true, false}) {
            SCOPED_TRACE(testing::Message() << "round " << round << (withMasks ? " masks" : " numbers"));
            std::vector<std::int32_t> found(static_cast<std::size_t>(MaxDraws) + 1);
            std::int32_t foundCount = -1;
            Progress progress;
            const SearchResult got =
                withMasks ? SetHitSearch(draws, masks, set, from, to, low, high, found.data(), foundCount, &progress)
                          : SetHitSearch(draws, set, from, to, low, high, found.data(), foundCount, &progress);
            ExpectSame(got, want, found);
            EXPECT_EQ(foundCount, static_cast<std::int32_t>(want.rows.size()));
            ASSERT_EQ(progress.calls.size(), static_cast<std::size_t>(to - from + 2));
            EXPECT_EQ(progress.calls[0], -(to - from + 1));
            for (std::int32_t i = 1; i <= to - from + 1; ++i)
                ASSERT_EQ(progress.calls[static_cast<std::size_t>(i)], i);
        }
    }
}

TEST(SearchEquivalence, MasksOfAnotherTableSizeAreNotUsed) {
    auto table = MakeTable(20);
    const NumberSetData set = MakeSet({5});
    const DrawMasks stale(View(table)); // built while no draw held 5
    table.push_back(table.back());
    table[21].Numbers[0] = 5;
    table[3].Numbers[0] = 5;
    std::int32_t count = 0;
    const SearchResult r = SetHitSearch(View(table), stale, set, 1, 21, 1, 1, nullptr, count, nullptr);
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].ordinal, 3);
    EXPECT_EQ(r.rows[1].ordinal, 21);
}

// Every build of the mask the processor runs: the bits of 1..80, values outside the game left
// out (those whose bit would lie in the high word's unused bits, or past it, among them), and a
// repeated number marked.
TEST(SearchEquivalence, DrawMaskBits) {
    for (const DrawMaskBuild& build : DrawMaskBuilds()) {
        SCOPED_TRACE(build.name);
        DrawRecord d;
        for (int j = 0; j < 20; ++j)
            d.Numbers[j] = 61 + j; // 61..80
        DrawMask m = build.maskOf(d);
        EXPECT_EQ(m.low, 0xFull << 60);
        EXPECT_EQ(m.high, 0xFFFFull);
        const std::int32_t outside[] = {0, 81, 128, 129, -1, INT32_MIN, INT32_MAX};
        for (const std::int32_t y : outside) {
            d.Numbers[0] = y; // the draw stays countable by its mask
            m = build.maskOf(d);
            EXPECT_EQ(m.low, 0xEull << 60) << y;
            EXPECT_EQ(m.high, 0xFFFFull) << y;
        }
        d.Numbers[0] = 1; // 1, 2, 3 for 61, 62, 63
        d.Numbers[1] = 2;
        d.Numbers[2] = 3;
        m = build.maskOf(d);
        EXPECT_EQ(m.low, (0x8ull << 60) | 0x7ull);
        EXPECT_EQ(m.high, 0xFFFFull);
        d.Numbers[19] = 65; // 65 twice, 80 left out
        EXPECT_EQ(build.maskOf(d).high, 0x7FFFull | CountFromDraw);
    }
    const DrawMask s = SetMask(MakeSet({1, 64, 65, 80}));
    EXPECT_EQ(s.low, (1ull << 63) | 1ull);
    EXPECT_EQ(s.high, (1ull << 15) | 1ull);
}

} // namespace
} // namespace zg
