// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli info and export: what they print and their exit codes.
#include "app/cli/Commands.h"
#include "database/DatabaseExport.h"
#include "database/DrawDatabase.h"
#include "support/CliRun.h"
#include "tools/sample/SampleGenerator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace zg {
namespace {

using test::CliRun;
using test::ReadBytes;
using test::RunCaptured;
using test::TempDir;
using test::WriteBytes;

TEST(CmdInfo, DescribesTheDatabaseAndWhatLooksWrong) {
    TempDir dir;
    // Draw 2 is stored as number 3, repeats 1, has 90 and is dated before draw 1.
    WriteBytes(dir.file("zentag.wyn"), "1 5 3 2004 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20\r\n"
                                       "3 4 3 2004 1 1 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 90\r\n");
    const CliRun run = RunCaptured({"info", dir.str()});
    EXPECT_EQ(run.status, 0);
    const std::string database = "database: " + dir.file("zentag.wyn") + "\n";
    EXPECT_EQ(run.out, database + "draws: 2\n"
                                  "layout: day-first (second integer 5)\n"
                                  "first draw: ordinal 1, number 1, 05.03.2004\n"
                                  "last draw: ordinal 2, number 3, 04.03.2004\n"
                                  "stored numbers that differ from the ordinal: 1\n"
                                  "  draw 2: number 3\n"
                                  "draws with a number twice: 1\n"
                                  "  draw 2: 1 1 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 90\n"
                                  "draws with a number outside 1..80: 1\n"
                                  "  draw 2: 1 1 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 90\n"
                                  "dates earlier than the draw before: 1\n"
                                  "  draw 2: 04.03.2004 after 05.03.2004\n");
}

// One whole group of 24 values: one draw.
const std::string WholeGroup = "1 2004 3 5 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20";

struct LastGroupCase {
    const char* name;
    std::string tail;
    const char* draws; // the line of the draws' count
    const char* note;  // "N of 24" of the incomplete group's line, or "" when there is none
};

class CmdInfoGroups : public testing::TestWithParam<LastGroupCase> {};

TEST_P(CmdInfoGroups, CountsAsTheProgram) {
    const LastGroupCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), WholeGroup + c.tail);
    const CliRun run = RunCaptured({"info", dir.str()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(c.draws), std::string::npos) << run.out;
    const auto line = run.out.find("incomplete last group: ");
    if (*c.note == '\0')
        EXPECT_EQ(line, std::string::npos) << run.out;
    else
        EXPECT_NE(run.out.find(std::string("incomplete last group: ") + c.note + " values, not counted\n"),
                  std::string::npos)
            << run.out;
}

INSTANTIATE_TEST_SUITE_P(Cli, CmdInfoGroups,
                         testing::Values(LastGroupCase{"OneGroup", "", "draws: 1\n", ""},
                                         LastGroupCase{"FiveValuesMore", " 2 2004 3 6 1", "draws: 1\n", "5 of 24"},
                                         LastGroupCase{"TwoGroups", " " + WholeGroup, "draws: 2\n", ""}),
                         [](const testing::TestParamInfo<LastGroupCase>& info) { return info.param.name; });

TEST(CmdInfo, ListsAtMostTenExamplesOfAKind) {
    TempDir dir;
    SampleDatabase db = GenerateSampleDatabase(30, 1, SampleLayout::YearFirst);
    for (std::size_t k = 1; k <= 30; ++k)
        db.draws[k].Number += 100;
    WriteBytes(dir.file("zentag.wyn"), SampleFileBytes(db.View(), SampleLayout::YearFirst));
    const CliRun run = RunCaptured({"info", dir.str()});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("layout: year-first (second integer 1996)\n"), std::string::npos);
    EXPECT_NE(run.out.find("stored numbers that differ from the ordinal: 30\n"
                           "  draw 1: number 101\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("  draw 10: number 110\n  ...\n"), std::string::npos);
    EXPECT_EQ(run.out.find("draw 11:"), std::string::npos);
}

// The last numbers of one draw whose first 16 are 1..16, and whether info calls it a draw with a
// number twice: equal numbers at both ends of 1..80 and on either side of 64, and equal or
// different numbers outside 1..80.
struct TwiceCase {
    const char* name;
    const char* lastFour;
    bool twice;
};

class CmdInfoTwice : public testing::TestWithParam<TwiceCase> {};

TEST_P(CmdInfoTwice, FindsEqualNumbersOfADraw) {
    const TwiceCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"),
               std::string("1 5 3 2004 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ") + c.lastFour + "\r\n");
    const CliRun run = RunCaptured({"info", dir.str()});
    EXPECT_EQ(run.out.find("draws with a number twice: 1\n") != std::string::npos, c.twice) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CmdInfoTwice,
    testing::Values(TwiceCase{"AllDifferent", "17 64 65 80", false}, TwiceCase{"OneTwice", "1 64 65 80", true},
                    TwiceCase{"EightyTwice", "17 64 80 80", true}, TwiceCase{"SixtyFourTwice", "64 64 65 80", true},
                    TwiceCase{"SixtyFiveTwice", "17 64 65 65", true},
                    TwiceCase{"OutsideDifferent", "0 81 -1 200", false}, TwiceCase{"ZeroTwice", "0 81 0 80", true},
                    TwiceCase{"EightyOneTwice", "81 17 18 81", true}, TwiceCase{"NegativeTwice", "-3 17 -3 80", true}),
    [](const testing::TestParamInfo<TwiceCase>& info) { return info.param.name; });

TEST(CmdInfo, LoadFailureExitsWithTheLoadMessage) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), "1 2004 12a ");
    const CliRun run = RunCaptured({"info", dir.str()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string(LoadErrorText) + "\n" + dir.file("zentag.wyn") + ": not an integer at byte 7\n");

    EXPECT_EQ(RunCaptured({"info", dir.file("none")}).status, 1);
    EXPECT_EQ(RunCaptured({"info"}).status, 2);
}

TEST(CmdExport, WritesTheExportReport) {
    TempDir dir;
    const SampleDatabase db = GenerateSampleDatabase(3, 9, SampleLayout::DayFirst);
    WriteBytes(dir.file("zentag.wyn"), db.bytes);
    const std::string out = dir.file("export.txt");
    const CliRun run = RunCaptured({"export", dir.str(), out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(out), DatabaseExportBytes(db.View()));

    const CliRun bad = RunCaptured({"export", dir.str(), dir.file("no/such/folder.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find(std::strerror(ENOENT)), std::string::npos);
    EXPECT_EQ(RunCaptured({"export", dir.file("none"), out}).status, 1);
    EXPECT_EQ(RunCaptured({"export", dir.str()}).status, 2);
}

} // namespace
} // namespace zg
