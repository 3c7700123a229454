// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the latest-draw answer, the check of a waiting full download before the merge, and the
// protection of the database file against a second writer.
#include "download/ResultsUpdate.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/PendingDownloadCheck.h"
#include "support/DrawTables.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

using test::TempDir;
using test::WriteBytes;

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

struct AnswerCase {
    const char* name;
    std::string answer;
    bool valid;
};

class LatestDrawAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(LatestDrawAnswer, TakenIfWellFormed) {
    const auto draw = ParseLatestDraw(GetParam().answer);
    ASSERT_EQ(draw.has_value(), GetParam().valid);
    if (draw) {
        EXPECT_EQ(draw->numbers[19], 80);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , LatestDrawAnswer,
    testing::Values(AnswerCase{"Plain", "4001 7 3 2024 " + Twenty + "\r\n", true},
                    AnswerCase{"TabsAndTrailingText", "\t4001\n7\n3\n2024\n" + Twenty + " <html>", true},
                    AnswerCase{"TwentyThreeNumbers", "4001 7 3 2024 " + Twenty.substr(0, Twenty.size() - 3), false},
                    AnswerCase{"NumberOutsideRange", "4001 7 3 2024 " + Twenty.substr(0, Twenty.size() - 2) + "81",
                               false},
                    AnswerCase{"Zero", "4001 7 3 2024 0" + Twenty.substr(1), false},
                    AnswerCase{"DottedDate", "4001 07.03.2024 " + Twenty, false},
                    AnswerCase{"HugeNumber", "99999999999 7 3 2024 " + Twenty, false},
                    AnswerCase{"HtmlPage", "<html><body>Not found</body></html>", false},
                    AnswerCase{"Empty", "", false}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST(ProgressSize, ShowsKilobytesWithTheGivenSeparator) {
    EXPECT_EQ(ProgressSizeText(20480, 5120, '.'), "5.00 / 20.00 kB");
    EXPECT_EQ(ProgressSizeText(0, 1025, ','), "1,00 / 0,00 kB");
}

struct DownloadCase {
    const char* name;
    std::string bytes;
    bool sound;
};

class PendingDownload : public testing::TestWithParam<DownloadCase> {};

TEST_P(PendingDownload, IsSound) {
    EXPECT_EQ(ConvertedDownloadIsSound(GetParam().bytes), GetParam().sound);
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, PendingDownload,
    testing::Values(DownloadCase{"OneDrawDayFirst", "1;01.12.1996;" + Twenty + "\r\n", true},
                    DownloadCase{"OneDrawYearFirst", "1 2004 12 31 " + Twenty + " ", true},
                    DownloadCase{"Empty", "", false},
                    DownloadCase{"HtmlErrorPage", "<html><body>Error 500</body></html>\r\n", false},
                    DownloadCase{"OneHugeNumber", std::string(5000, '7') + "\n", false},
                    DownloadCase{"MonthThirteen", "1 2004 13 1 " + Twenty + " ", false},
                    DownloadCase{"DayZero", "1 2004 12 0 " + Twenty + " ", false},
                    DownloadCase{"NumberEightyOne", "1 2004 12 1 81" + Twenty.substr(1) + " ", false},
                    DownloadCase{"IncompleteDraw", "1 2004 12 1 1 2 3 ", false},
                    DownloadCase{"CutInsideTheSecondDraw", "1 2004 12 1 " + Twenty + " 2 2004 12 2 1 2 3 ", false},
                    DownloadCase{"FirstNumberedTwo", "2 2004 12 1 " + Twenty + " ", false},
                    DownloadCase{"NumbersOutOfOrder", "1 2004 1 1 " + Twenty + " 3 2004 1 2 " + Twenty + " ", false},
                    DownloadCase{"ANumberTwice", "1 2004 1 1 7 " + Twenty.substr(2) + " ", false},
                    DownloadCase{"February29InALeapYear", "1;29.02.1996;" + Twenty + "\r\n", true},
                    DownloadCase{"Feb29InCommonYear", "1;29.02.1997;" + Twenty + "\r\n", false},
                    DownloadCase{"April31", "1;31.04.2004;" + Twenty + "\r\n", false},
                    DownloadCase{"Year1950", "1;31.12.1950;" + Twenty + "\r\n", false},
                    DownloadCase{"Year1951", "1;01.01.1951;" + Twenty + "\r\n", true},
                    DownloadCase{"Year2999", "1 2999 12 31 " + Twenty + " ", true},
                    DownloadCase{"Year3000", "1 3000 1 1 " + Twenty + " ", false}),
    [](const testing::TestParamInfo<DownloadCase>& info) { return std::string(info.param.name); });

TEST(DatabaseGuard, AFileChangedByAnotherWriterIsRefused) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, "1 2004 1 1 " + Twenty + " ");
    const FileStamp loaded = ReadFileStamp(path);
    EXPECT_EQ(DatabaseGuard(path, loaded).status(), DatabaseGuard::Status::Ready);
    auto table = test::MakeTable(2);
    ASSERT_TRUE(AppendDrawRecord(path, table[2], 2004, false).ok); // the other writer
    EXPECT_EQ(DatabaseGuard(path, loaded).status(), DatabaseGuard::Status::ChangedOutside);
    EXPECT_EQ(DatabaseGuard(path, ReadFileStamp(path)).status(), DatabaseGuard::Status::Ready);
}

TEST(DatabaseGuard, SecondWriterWaitsForTheLockAndThenGivesUp) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, "1 ");
    DatabaseLock first(path);
    ASSERT_TRUE(first.ok());
    // flock locks belong to the open file, so a second open in the same process competes like another program.
    DatabaseLock second(path, 100);
    EXPECT_FALSE(second.ok());
}

} // namespace
} // namespace zg
