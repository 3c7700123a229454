// SPDX-License-Identifier: GPL-3.0-or-later
// The ZENTAG table: rows, cells, the two ranked lists and their texts, the report's bytes.
#include "tables/Zentag.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "support/DrawTables.h"
#include "support/ReportBytes.h"
#include "tables/ZentagReport.h"
#include "tools/sample/SampleGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace zg {
namespace {

using namespace test;

void Put(std::vector<DrawRecord>& table, std::int32_t q, std::vector<std::int32_t> numbers) {
    for (std::size_t i = 0; i < 20; ++i)
        table[static_cast<std::size_t>(q)].Numbers[i] = numbers[i];
}

std::vector<std::int32_t> Range(std::int32_t from, std::int32_t to) {
    std::vector<std::int32_t> v(static_cast<std::size_t>(to - from + 1));
    std::iota(v.begin(), v.end(), from);
    return v;
}

std::vector<std::int32_t> Join(std::vector<std::int32_t> a, const std::vector<std::int32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A search result: found[0] is unused, found[1..] the given ordinals.
struct Found {
    std::vector<std::int32_t> ordinals;
    explicit Found(std::vector<std::int32_t> list) : ordinals(1, 0) {
        ordinals.insert(ordinals.end(), list.begin(), list.end());
    }
    std::int32_t count() const { return static_cast<std::int32_t>(ordinals.size()) - 1; }
};

ZentagInput Input(const std::vector<DrawRecord>& table, const Found& found, std::int32_t from, std::int32_t to,
                  std::int32_t offset) {
    ZentagInput in;
    in.draws = View(table);
    in.foundDraws = found.ordinals.data();
    in.foundCount = found.count();
    in.rangeFrom = from;
    in.rangeTo = to;
    in.offset = offset;
    in.decimalSeparator = ',';
    return in;
}

// Draws 1..10 hold 41..60; draw 3 holds 1..20 and draw 5 holds 1..10 and 61..70.
std::vector<DrawRecord> TenDraws() {
    auto table = MakeTable(10);
    Put(table, 3, Range(1, 20));
    Put(table, 5, Join(Range(1, 10), Range(61, 70)));
    return table;
}

std::int64_t SumOfSingleCounts(const ZentagResult& r) {
    std::int64_t sum = 0;
    for (const std::string& line : r.singleLines)
        sum += std::stoll(line.substr(6));
    return sum;
}

TEST(Zentag, OffsetZeroListsTheFoundDrawsAndRanksByCount) {
    const auto table = TenDraws();
    const Found found({3, 5, 7, 9});
    const ZentagResult r = ComputeZentagTable(Input(table, found, 1, 10, 0), nullptr);

    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[3].ordinal, 9);
    EXPECT_EQ(r.headings[7], "07");
    EXPECT_EQ(r.CellText(0, 0), "03.01.08");
    EXPECT_EQ(r.CellText(0, 7), "07");
    EXPECT_EQ(r.CellText(0, 41), "");

    ASSERT_EQ(r.singleLines.size(), 80u);
    EXPECT_EQ(r.singleLines[10], "41 --> 2 = 50,0%");
    EXPECT_EQ(r.singleLines[30], "11 --> 1 = 25,0%");
    EXPECT_EQ(r.singleLines[79], "80 --> 0 = 00,0%");

    ASSERT_EQ(r.pairLines.size(), 3160u);
    EXPECT_EQ(r.pairLines[45], "41,42 --> 2 = 50,0%");
    EXPECT_EQ(r.pairLines[235], "01,11 --> 1 = 25,0%");
}

TEST(Zentag, ShiftedOutOfRangeNoRowButInPercentage) {
    const auto table = TenDraws();
    // +1 moves the last found draw (10) past the range; -3 moves found draw 2 below it.
    const Found found({2, 4, 10});
    const ZentagResult after = ComputeZentagTable(Input(table, found, 2, 10, 1), nullptr);
    ASSERT_EQ(after.rows.size(), 2u);
    EXPECT_EQ(after.rows[1].ordinal, 5);
    EXPECT_EQ(after.singleLines[0], "01 --> 2 = 66,7%");

    const ZentagResult before = ComputeZentagTable(Input(table, found, 2, 10, -3), nullptr);
    ASSERT_EQ(before.rows.size(), 1u);
    EXPECT_EQ(before.rows[0].ordinal, 7);
}

TEST(Zentag, NoQualifyingRowListsEveryNumberAndPairInOrder) {
    const auto table = TenDraws();
    const Found found({9, 10});
    const ZentagResult r = ComputeZentagTable(Input(table, found, 1, 10, 5), nullptr);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.singleLines[79], "80 --> 0 = 00,0%");
    EXPECT_EQ(r.pairLines[79], "02,03 --> 0 = 00,0%");
    EXPECT_EQ(r.pairLines[3159], "79,80 --> 0 = 00,0%");
    // No found draw at all: no division by zero.
    EXPECT_EQ(ComputeZentagTable(Input(table, Found({}), 1, 10, 1), nullptr).singleLines[0], "01 --> 0 = 00,0%");
}

struct PercentCase {
    std::int32_t foundCount;
    char separator;
    const char* line;
};

class ZentagPercent : public ::testing::TestWithParam<PercentCase> {};

// One draw (the last found one, shifted onto draw 80) qualifies among foundCount found draws.
TEST_P(ZentagPercent, CountOverFoundDrawsRoundsHalfUp) {
    const PercentCase c = GetParam();
    auto table = MakeTable(200);
    Put(table, 120, Range(1, 20));
    std::vector<std::int32_t> list = Range(121 - c.foundCount, 120);
    const Found found(list);
    ZentagInput in = Input(table, found, 120, 200, 0);
    in.decimalSeparator = c.separator;
    const ZentagResult r = ComputeZentagTable(in, nullptr);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.singleLines[0], c.line);
}

INSTANTIATE_TEST_SUITE_P(Lines, ZentagPercent,
                         ::testing::Values(PercentCase{80, ',', "01 --> 1 = 01,3%"},
                                           PercentCase{40, ',', "01 --> 1 = 02,5%"},
                                           PercentCase{3, '.', "01 --> 1 = 33.3%"},
                                           PercentCase{1, ',', "01 --> 1 = 100,0%"}));

TEST(Zentag, AnOutOfOrderDrawCountsEveryPair) {
    auto sorted = MakeTable(2);
    auto reversed = MakeTable(2);
    std::vector<std::int32_t> numbers = Join(Range(1, 10), Range(71, 80));
    Put(sorted, 1, numbers);
    std::reverse(numbers.begin(), numbers.end());
    Put(reversed, 1, numbers);
    const Found found({1});
    const ZentagResult a = ComputeZentagTable(Input(sorted, found, 1, 2, 0), nullptr);
    const ZentagResult b = ComputeZentagTable(Input(reversed, found, 1, 2, 0), nullptr);
    EXPECT_EQ(b.pairLines, a.pairLines);
    EXPECT_EQ(b.pairLines[189], "79,80 --> 1 = 100,0%");
    EXPECT_EQ(b.pairLines[190], "01,11 --> 0 = 00,0%");
}

TEST(Zentag, OutsideValuesNowhereRepeatsPerPosition) {
    auto table = MakeTable(1);
    Put(table, 1, Join({0, 81, -5, 7, 7, 9}, Range(61, 74)));
    const Found found({1});
    const ZentagResult r = ComputeZentagTable(Input(table, found, 1, 1, 0), nullptr);
    EXPECT_EQ(r.singleLines[0], "07 --> 2 = 200,0%");
    EXPECT_EQ(r.singleLines[1], "09 --> 1 = 100,0%");
    EXPECT_EQ(r.pairLines[0], "07,09 --> 2 = 200,0%");
    EXPECT_EQ(SumOfSingleCounts(r), 17);
}

TEST(Zentag, OneSelectedNumberHasNoPairs) {
    const auto table = TenDraws();
    const Found found({3, 5, 7, 9});
    const std::int32_t selection[] = {15};
    const ZentagResult r = ComputeZentagTableFor(Input(table, found, 1, 10, 0), selection);
    EXPECT_EQ(r.ColumnCount(), 2);
    EXPECT_EQ(r.singleLines, std::vector<std::string>{"15 --> 1 = 25,0%"});
    EXPECT_TRUE(r.pairLines.empty());
    EXPECT_EQ(r.CellText(0, 1), "15");
}

// A table over thousands of rows (two tiles of the counting, the last block and tile partly
// filled, a draw with a number twice and one with 81 among them) from the sample generator, its pairs checked against
// counting every two positions of every row and ranking by the rule's scans, and its numbers' counts against counting
// every position.
TEST(Zentag, CompleteTableAgreesWithCountingPositionByPosition) {
    const SampleDatabase db = GenerateSampleDatabase(9000, 11u, SampleLayout::YearFirst);
    std::vector<DrawRecord> table = db.draws;
    std::reverse(std::begin(table[17].Numbers), std::end(table[17].Numbers));
    // Two draws counted position by position inside the bit columns' blocks: a number twice, and a
    // value outside 1..80.
    table[500].Numbers[4] = table[500].Numbers[3];
    table[801].Numbers[0] = 81;
    std::vector<std::int32_t> list;
    for (std::int32_t q = 1; q <= 9000; q += 1 + q % 3)
        list.push_back(q);
    const Found found(list);
    const std::vector<std::int32_t> all80 = Range(1, 80);
    const ZentagInput in = Input(table, found, 3, 8990, 2);
    const ZentagResult r = ComputeZentagTable(in, nullptr);

    std::vector<std::int64_t> pair(81 * 81, 0), single(81, 0);
    std::size_t rows = 0;
    for (std::int32_t k = 1; k <= found.count(); ++k) {
        const std::int32_t n = found.ordinals[static_cast<std::size_t>(k)] + 2;
        if (n < 3 || n > 8990)
            continue;
        ++rows;
        const auto& d = table[static_cast<std::size_t>(n)].Numbers;
        for (int p = 0; p < 20; ++p) {
            if (!IsLotteryNumber(d[p]))
                continue;
            ++single[static_cast<std::size_t>(d[p])];
            for (int q = p + 1; q < 20; ++q)
                if (IsLotteryNumber(d[q]) && d[q] != d[p])
                    ++pair[static_cast<std::size_t>(std::min(d[p], d[q]) * 81 + std::max(d[p], d[q]))];
        }
    }
    ASSERT_EQ(r.rows.size(), rows);
    ASSERT_EQ(r.singleLines.size(), 80u);
    for (const std::string& singleLine : r.singleLines) // "NN --> C = P%"
        EXPECT_EQ(singleLine.substr(7, singleLine.find(" = ") - 7),
                  std::to_string(single[static_cast<std::size_t>(std::stoi(singleLine.substr(0, 2)))]))
            << singleLine;
    std::size_t line = 0;
    for (std::size_t pass = 0; pass < 3160; ++pass) {
        std::int64_t best = -1;
        std::size_t at = 0;
        for (std::size_t a = 1; a < 80; ++a)
            for (std::size_t b = a + 1; b <= 80; ++b)
                if (pair[a * 81 + b] > best) {
                    best = pair[a * 81 + b];
                    at = a * 81 + b;
                }
        pair[at] = -1;
        const std::string expected = ZeroPad(static_cast<std::int64_t>(at / 81), 2) + "," +
                                     ZeroPad(static_cast<std::int64_t>(at % 81), 2) + " --> " + std::to_string(best);
        ASSERT_EQ(r.pairLines[line++].substr(0, expected.size() + 1), expected + " ") << pass;
    }
    EXPECT_EQ(ComputeZentagTableFor(in, all80).pairLines, r.pairLines);
}

// Binomial(3, 1/4): P(X <= 0) = 27/64, P(X <= 1) = 54/64, P(X <= 2) = 63/64 >= 0.975, so 0..2;
// Binomial(3, 380/6320): P(X <= 0) = 0.830, P(X <= 1) = 0.990, so 0..1. Binomial(20, 1/4):
// P(X <= 1) = 0.0243, P(X <= 2) = 0.0913, P(X <= 8) = 0.959, P(X <= 9) = 0.986, so 2..9.
TEST(Zentag, ChanceBaselinesUnderTheLists) {
    const std::string none = "Sam przypadek: brak losowań w tej odległości.";
    EXPECT_EQ(ZentagNumbersBaseline(0, 4, ','), none);
    EXPECT_EQ(ZentagPairsBaseline(0, 4, ','), none);
    EXPECT_EQ(ZentagNumbersBaseline(3, 3, ','),
              "Sam przypadek: liczba w 25% losowań; przy 3 losowaniach 95% wyników mieści się między 0,0% a 66,7%.");
    EXPECT_EQ(ZentagPairsBaseline(3, 5, ','), "Sam przypadek: para w 6,01% losowań (380 z 6320); przy 3 losowaniach "
                                              "95%: 0,0%–20,0% (3 z 5 znalezionych losowań ma losowanie w tej "
                                              "odległości).");
    EXPECT_EQ(ZentagNumbersBaseline(1, 1, '.'),
              "Sam przypadek: liczba w 25% losowań; przy 1 losowaniu 95% wyników mieści się między 0.0% a 100.0%.");
    EXPECT_EQ(ZentagNumbersBaseline(20, 25, '.'),
              "Sam przypadek: liczba w 25% losowań; przy 20 losowaniach 95% wyników mieści się między 8.0% a 36.0% "
              "(20 z 25 znalezionych losowań ma losowanie w tej odległości).");
}

TEST(ZentagReport, CompleteTable) {
    const auto table = TenDraws();
    const ZentagResult r = ComputeZentagTable(Input(table, Found({2, 4}), 1, 10, 1), nullptr);
    ZentagReportInput in{{1, 10, "01.01.08", "10.01.08", "2", "3", {3, 7, 15}}, 1, &r};
    const std::string expected =
        ReportHeaderBytes +
        " Zakres losowa\xF1: 1(01.01.08) - 10(10.01.08)\r\n"
        "\r\n"
        " Szukano losowa\xF1 w kt\xF3rych wylosowano od 2 do 3 liczb z zestawu liczb: 3,7,15\r\n"
        "\r\n"
        "\t\t\t\t\t\tTABELKA ZENTAG +1\r\n"
        "\r\n"
        "\t\t  01-10      11-20      21-30      31-40      41-50      51-60      61-70      71-80   \r\n"
        "\t\t1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890\r\n"
        "\r\n"
        "03.01.08\t1234567890 1234567890 ---------- ---------- ---------- ---------- ---------- ---------- \r\n"
        "05.01.08\t1234567890 ---------- ---------- ---------- ---------- ---------- 1234567890 ---------- \r\n"
        "\r\n" +
        ReportFooterBytes;
    EXPECT_EQ(ZentagReportBytes(in), expected);
}

TEST(ZentagReport, SelectedColumnsKeepTheBlankAfterEveryTenth) {
    const auto table = TenDraws();
    const std::vector<std::int32_t> selection{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 61};
    const ZentagResult r = ComputeZentagTableFor(Input(table, Found({2, 4}), 1, 10, 1), selection);
    ZentagReportInput in{{1, 10, "01.01.08", "10.01.08", "2", "3", {3, 7, 15}}, 1, &r};
    const std::string rows = "\r\n\r\n03.01.08\t1234567890 -\r\n05.01.08\t1234567890 1\r\n\r\n";
    EXPECT_NE(ZentagReportBytes(in).find(rows), std::string::npos);
}

// A table of thousands of rows is written in several pieces of about ReportPieceSize bytes, each
// ending with a whole line; joined they are the rows in order. Dates a hand-made database may hold
// (a day of three digits, a negative year) read as DrawDateText writes them.
TEST(ZentagReport, LargeTableInPiecesAndUnusualDates) {
    constexpr std::int32_t Count = 6000;
    auto table = MakeTable(Count);
    for (std::int32_t q = 1; q <= Count; ++q) {
        std::vector<std::int32_t> numbers(20);
        for (std::int32_t i = 0; i < 20; ++i)
            numbers[static_cast<std::size_t>(i)] = 1 + (q + 4 * i) % 80;
        Put(table, q, numbers);
    }
    table[2].Day = 123;
    table[3].Year = -2023;
    std::vector<std::int32_t> all(static_cast<std::size_t>(Count));
    std::iota(all.begin(), all.end(), 1);
    const ZentagResult r = ComputeZentagTable(Input(table, Found(all), 1, Count, 0), nullptr);
    const ZentagReportInput in{{1, Count, "a", "b", "0", "20", {3, 7, 15}}, 0, &r};

    std::vector<std::string> pieces;
    ASSERT_TRUE(WriteZentagReport(in, [&pieces](std::string_view piece) {
        pieces.emplace_back(piece);
        return true;
    }));
    ASSERT_GE(pieces.size(), 3u);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), ReportPieceSize + 200);
        EXPECT_EQ(piece.substr(piece.size() - 2), "\r\n");
        joined += piece;
    }
    std::size_t at = joined.find("\r\n\r\n", joined.find("1234567890 1234567890")) + 4;
    for (std::int32_t q = 1; q <= Count; ++q) {
        std::string line = DrawDateText(View(table), q) + "\t";
        for (std::int32_t x = 1; x <= 80; ++x) {
            const bool drawn = (x - 1 - q % 80 + 80) % 4 == 0;
            line += drawn ? static_cast<char>('0' + x % 10) : '-';
            if (x % 10 == 0)
                line += ' ';
        }
        line += "\r\n";
        ASSERT_EQ(joined.substr(at, line.size()), line) << q;
        at += line.size();
    }
    EXPECT_EQ(joined.substr(at), "\r\n" + ReportFooterBytes);
    EXPECT_EQ(DrawDateText(View(table), 2).substr(0, 4), "123.");

    int calls = 0;
    EXPECT_FALSE(WriteZentagReport(in, [&calls](std::string_view) { return ++calls > 1; }));
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace zg
