// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the draw database file: layouts, the counting of passes, bad tokens and the capacity.
#include "database/DrawDatabase.h"
#include "support/TempDir.h"
#include "tools/sample/SampleGenerator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace zg {
namespace {

using test::TempDir;
using test::WriteBytes;

// A draw table as the program has it: entries 0..MaxDraws.
std::vector<DrawRecord> NewTable() {
    return std::vector<DrawRecord>(static_cast<std::size_t>(MaxDraws) + 1);
}

// "v1 v2 ... " : every value followed by one space.
std::string Values(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += std::to_string(v) + ' ';
    return out;
}

std::string NumbersOneToTwenty() {
    std::string out;
    for (int n = 1; n <= 20; ++n)
        out += std::to_string(n) + ' ';
    return out;
}

LoadResult LoadBytes(const std::string& bytes, std::vector<DrawRecord>& table) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), bytes);
    return LoadDatabase(dir.file("zentag.wyn"), table.data());
}

TEST(DrawDatabaseLoad, YearFirstGroupAndSeparatorIsADraw) {
    auto table = NewTable();
    const LoadResult r = LoadBytes(Values({1, 2004, 1, 1}) + NumbersOneToTwenty(), table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, 1);
    EXPECT_EQ(r.layoutProbe, 2004);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(table[1].Number, 1);
    EXPECT_EQ(table[1].Year, 2004);
    EXPECT_EQ(table[1].Month, 1);
    EXPECT_EQ(table[1].Day, 1);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(table[1].Numbers[i], i + 1);
}

// Complete groups count with or without separators after them; a group cut short never does.
struct LastGroupCase {
    const char* name;
    int values;           // values in the file: 24 per draw
    const char* trailing; // bytes after the last value
    int drawCount;
    int shortGroupValues;
};

class LastDrawGroup : public ::testing::TestWithParam<LastGroupCase> {};

TEST_P(LastDrawGroup, CountedIfComplete) {
    const LastGroupCase& c = GetParam();
    std::string bytes;
    for (int v = 1; v <= c.values; ++v)
        bytes += (v > 1 ? " " : "") + std::to_string(v % 24 == 2 ? 2004 : v);
    bytes += c.trailing;
    auto table = NewTable();
    const LoadResult r = LoadBytes(bytes, table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, c.drawCount);
    EXPECT_EQ(r.shortGroupValues, c.shortGroupValues);
    EXPECT_EQ(r.layoutProbe, c.values >= 2 ? 2004 : 0);
    if (c.drawCount > 0) {
        EXPECT_EQ(table[c.drawCount].Numbers[19], 24 * c.drawCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , LastDrawGroup,
    ::testing::Values(LastGroupCase{"OneGroupSpace", 24, " ", 1, 0}, LastGroupCase{"OneGroupNoSeparator", 24, "", 1, 0},
                      LastGroupCase{"TwoGroupsLineBreak", 48, "\r\n", 2, 0},
                      LastGroupCase{"TwoGroupsNoSeparator", 48, "", 2, 0},
                      LastGroupCase{"ShortGroupNoSeparator", 47, "", 1, 23},
                      LastGroupCase{"ShortGroupSpace", 25, " ", 1, 1}, LastGroupCase{"OnlyShort", 5, "\n", 0, 5}),
    [](const ::testing::TestParamInfo<LastGroupCase>& info) { return std::string(info.param.name); });

TEST(DrawDatabaseLoad, SecondIntegerUpTo1950ReadsDayFirst) {
    auto table = NewTable();
    const std::string bytes =
        "7 5 3 2004 " + NumbersOneToTwenty() + "\r\n8\t6\r\n3 2005 " + NumbersOneToTwenty() + "\r\n";
    const LoadResult r = LoadBytes(bytes, table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, 2);
    EXPECT_EQ(r.layoutProbe, 5);
    EXPECT_EQ(table[1].Number, 7);
    EXPECT_EQ(table[1].Day, 5);
    EXPECT_EQ(table[1].Month, 3);
    EXPECT_EQ(table[1].Year, 2004);
    EXPECT_EQ(table[2].Day, 6);
    EXPECT_EQ(table[2].Year, 2005);
    EXPECT_EQ(table[2].Numbers[19], 20);

    // 1950 is still a day for the reader, 1951 a year.
    EXPECT_EQ(LoadBytes(Values({1, 1950, 3, 1999}) + NumbersOneToTwenty(), table).layoutProbe, 1950);
    EXPECT_EQ(table[1].Year, 1999);
    LoadBytes(Values({1, 1951, 3, 9}) + NumbersOneToTwenty(), table);
    EXPECT_EQ(table[1].Year, 1951);
    EXPECT_EQ(table[1].Day, 9);
}

TEST(DrawDatabaseLoad, FilesWithoutCompleteGroups) {
    auto table = NewTable();
    const LoadResult blanks = LoadBytes("  \r\n\t \n\n", table);
    EXPECT_TRUE(blanks.ok);
    EXPECT_EQ(blanks.drawCount, 0);
    EXPECT_EQ(blanks.layoutProbe, 0);
    EXPECT_TRUE(blanks.error.empty());
    EXPECT_EQ(blanks.shortGroupValues, 0);

    const LoadResult empty = LoadBytes("", table);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.drawCount, 0);
    EXPECT_EQ(empty.layoutProbe, 0);

    // A single integer: the probe reads as 0 at the end of the file.
    const LoadResult single = LoadBytes("17 ", table);
    EXPECT_TRUE(single.ok);
    EXPECT_EQ(single.drawCount, 0);
    EXPECT_EQ(single.layoutProbe, 0);
    EXPECT_EQ(single.shortGroupValues, 1);
}

TEST(DrawDatabaseLoad, ShortLastGroupIsNotCounted) {
    auto table = NewTable();
    std::string bytes;
    for (int v = 1; v <= 49; ++v)
        bytes += std::to_string(v) + "\n";
    const LoadResult r = LoadBytes(bytes, table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, 2);
    EXPECT_EQ(table[2].Number, 25);
    EXPECT_EQ(table[2].Numbers[19], 48);
    EXPECT_EQ(r.shortGroupValues, 1);
    bytes.resize(bytes.size() - 3); // without the 49th value: two whole groups
    EXPECT_EQ(LoadBytes(bytes, table).shortGroupValues, 0);
}

TEST(DrawDatabaseLoad, TokenThatIsNotAnIntegerFailsTheLoad) {
    const std::string good = Values({1, 2004, 1, 1}) + NumbersOneToTwenty();
    for (const std::string bad : {"12a", "-", "+", "1-2", "--3", "0x10", "1.5", "\xC5\x82", "a"}) {
        auto table = NewTable();
        const LoadResult r = LoadBytes(good + good + "3 2004 1 " + bad + " " + NumbersOneToTwenty(), table);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.drawCount, 0) << bad;
        EXPECT_EQ(r.layoutProbe, 2004) << bad; // known before the failure
        EXPECT_EQ(r.error, "not an integer at byte " + std::to_string(2 * good.size() + 9)) << bad;
        // The first draws were read before the bad token was met; they stay but are not counted.
        EXPECT_EQ(table[2].Number, 1);
    }
}

TEST(DrawDatabaseLoad, SignsZerosAndControlBytesPass) {
    auto table = NewTable();
    std::string bytes = "+1 0002004 -3 00 " + NumbersOneToTwenty();
    bytes += std::string("\0\x1a\x7f", 3); // NUL and ^Z separate; DEL (127) does not
    bytes.pop_back();
    const LoadResult r = LoadBytes(bytes, table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, 1);
    EXPECT_EQ(table[1].Number, 1);
    EXPECT_EQ(table[1].Year, 2004);
    EXPECT_EQ(table[1].Month, -3);
    EXPECT_EQ(table[1].Day, 0);

    EXPECT_FALSE(LoadBytes(Values({1, 2004}) + "\x7f", table).ok);
}

TEST(DrawDatabaseLoad, IntegersMustFitIn32Bits) {
    auto table = NewTable();
    const std::string rest = "1 1 " + NumbersOneToTwenty();
    const LoadResult max = LoadBytes("2147483647 -2147483648 " + rest, table);
    ASSERT_TRUE(max.ok) << max.error;
    EXPECT_EQ(table[1].Number, 2147483647);
    EXPECT_EQ(max.layoutProbe, -2147483648);

    for (const std::string big : {"2147483648", "-2147483649", "4294967297", "99999999999999999999999"}) {
        const LoadResult r = LoadBytes("1 " + big + " " + rest, table);
        EXPECT_FALSE(r.ok) << big;
        EXPECT_EQ(r.drawCount, 0);
        EXPECT_EQ(r.error, "integer out of 32-bit range at byte 2") << big;
    }
}

TEST(DrawDatabaseLoad, MissingFileFailsWithTheSystemText) {
    TempDir dir;
    auto table = NewTable();
    const LoadResult r = LoadDatabase(dir.file("zentag.wyn"), table.data());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.drawCount, 0);
    EXPECT_EQ(r.error, std::strerror(ENOENT));

    const LoadResult folder = LoadDatabase(dir.str(), table.data());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, std::strerror(EISDIR));
}

TEST(DrawDatabaseLoad, NumbersOutsideTheGameAreKeptAsData) {
    auto table = NewTable();
    const LoadResult r = LoadBytes("1 2004 2 30 0 81 -5 2147483647 " +
                                       Values({80, 79, 78, 77, 76, 75, 74, 73, 72, 71, 70, 69, 68, 67, 66, 1}),
                                   table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, 1);
    EXPECT_EQ(table[1].Numbers[0], 0);
    EXPECT_EQ(table[1].Numbers[1], 81);
    EXPECT_EQ(table[1].Numbers[2], -5);
    EXPECT_EQ(table[1].Numbers[3], 2147483647);
    EXPECT_EQ(table[1].Numbers[4], 80); // descending order stays as loaded
    EXPECT_EQ(table[1].Numbers[19], 1);
}

// The reader fills a 64 KiB buffer at a time; tokens split by a refill must read the same.
TEST(DrawDatabaseLoad, TokensAcrossBufferBoundaries) {
    const std::string group = Values({12345, 2004, 11, 30}) + NumbersOneToTwenty();
    for (std::size_t pad = 65530; pad <= 65538; ++pad) {
        auto table = NewTable();
        const LoadResult r = LoadBytes(std::string(pad, ' ') + group + group, table);
        ASSERT_TRUE(r.ok) << pad;
        EXPECT_EQ(r.drawCount, 2) << pad;
        EXPECT_EQ(r.layoutProbe, 2004) << pad;
        EXPECT_EQ(table[2].Number, 12345) << pad;
        EXPECT_EQ(table[2].Day, 30) << pad;

        const LoadResult bad = LoadBytes(std::string(pad, '\n') + group + "1 2004 123x", table);
        EXPECT_EQ(bad.error, "not an integer at byte " + std::to_string(pad + group.size() + 7)) << pad;
    }
}

class DrawDatabaseCapacity : public ::testing::Test {
protected:
    static const SampleDatabase& Full() {
        static const SampleDatabase db = GenerateSampleDatabase(MaxDraws, 7, SampleLayout::YearFirst);
        return db;
    }
    // MaxDraws + 2 entries: the last one must stay untouched.
    std::vector<DrawRecord> table = std::vector<DrawRecord>(static_cast<std::size_t>(MaxDraws) + 2);
    void SetUp() override { table.back().Number = -777; }
};

TEST_F(DrawDatabaseCapacity, LoadingStopsAtMaxDraws) {
    const std::string extra = GenerateSampleDatabase(2, 8, SampleLayout::YearFirst).bytes;
    const LoadResult r = LoadBytes(Full().bytes + extra, table);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.drawCount, MaxDraws);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(table[MaxDraws].Number, MaxDraws);
    EXPECT_EQ(table[MaxDraws].Numbers[19], Full().draws[MaxDraws].Numbers[19]);
    EXPECT_EQ(table[MaxDraws + 1].Number, -777);

    // Garbage past the capacity is not read.
    const LoadResult garbage = ParseDatabase(Full().bytes + "xyz", table.data());
    ASSERT_TRUE(garbage.ok) << garbage.error;
    EXPECT_EQ(garbage.drawCount, MaxDraws);
    EXPECT_TRUE(garbage.truncated);
    EXPECT_EQ(table[MaxDraws + 1].Number, -777);
}

TEST_F(DrawDatabaseCapacity, ExactlyMaxDrawsFollowTheRule) {
    // With the trailing separators the pass after the last draw would read into entry MaxDraws + 1.
    const LoadResult full = ParseDatabase(Full().bytes, table.data());
    ASSERT_TRUE(full.ok) << full.error;
    EXPECT_EQ(full.drawCount, MaxDraws);
    EXPECT_FALSE(full.truncated);
    EXPECT_EQ(table[MaxDraws + 1].Number, -777);

    // Without the trailing separator the last draw still counts, and nothing is written past it.
    const std::string& bytes = Full().bytes;
    const LoadResult bare = ParseDatabase(std::string_view(bytes).substr(0, bytes.size() - 1), table.data());
    ASSERT_TRUE(bare.ok) << bare.error;
    EXPECT_EQ(bare.drawCount, MaxDraws);
    EXPECT_EQ(table[MaxDraws + 1].Number, -777);
}

} // namespace
} // namespace zg
