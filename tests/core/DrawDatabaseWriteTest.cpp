// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the draw database: merging a full download, appending a draw, rewriting the table, and
// what a failed write leaves behind. Write failures are real: a file-size limit makes the kernel
// refuse the write with EFBIG (the tests run as root, so permissions would not stop them).
#include "database/DrawDatabase.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zg {
namespace {

using test::FileSizeLimit;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<DrawRecord> NewTable() {
    return std::vector<DrawRecord>(static_cast<std::size_t>(MaxDraws) + 1);
}

std::vector<std::string> FolderEntries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

DrawRecord Draw(std::int32_t number, std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t first) {
    DrawRecord d;
    d.Number = number;
    d.Year = year;
    d.Month = month;
    d.Day = day;
    for (int i = 0; i < 20; ++i)
        d.Numbers[i] = first + 3 * i;
    return d;
}

// Two draws in the day-first layout, one per line, with a trailing space.
const std::string DayFirstTwoDraws = "1 30 12 2003 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58\r\n"
                                     "2 31 12 2003 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 ";

// ---- Merging a full download ----

TEST(DrawDatabaseMerge, DigitsStayOtherBytesBecomeSpaces) {
    TempDir dir;
    const std::string download = "1;01.12.1996;5,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,80\r\n"
                                 "2;02.12.1996;-1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n";
    WriteBytes(dir.file("zentag"), download);
    int questions = 0;
    const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [&] {
        ++questions;
        return false;
    });
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.replaced);
    EXPECT_FALSE(r.asked); // no database yet: converted without asking
    EXPECT_EQ(questions, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("zentag")));
    const std::string merged = ReadBytes(dir.file("zentag.wyn"));
    EXPECT_EQ(merged, "1 01 12 1996 5 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 80  "
                      "2 02 12 1996  1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20  ");
    EXPECT_EQ(merged.size(), download.size());
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"zentag.wyn"});

    auto table = NewTable();
    const LoadResult load = LoadDatabase(dir.file("zentag.wyn"), table.data());
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.drawCount, 2);
    EXPECT_EQ(load.layoutProbe, 1);
    EXPECT_EQ(table[1].Day, 1);
    EXPECT_EQ(table[1].Month, 12);
    EXPECT_EQ(table[1].Year, 1996);
    EXPECT_EQ(table[1].Numbers[0], 5);
    EXPECT_EQ(table[2].Numbers[0], 1); // the minus sign became a space
}

TEST(DrawDatabaseMerge, SmallerDownloadAsksFirst) {
    const std::string database = DayFirstTwoDraws;
    const std::string download = "1;30.12.2003;1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n";
    for (const bool answer : {false, true}) {
        TempDir dir;
        WriteBytes(dir.file("zentag.wyn"), database);
        WriteBytes(dir.file("zentag"), download);
        int questions = 0;
        const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [&] {
            ++questions;
            return answer;
        });
        EXPECT_TRUE(r.ok) << r.error;
        EXPECT_TRUE(r.asked);
        EXPECT_EQ(questions, 1);
        EXPECT_EQ(r.replaced, answer);
        EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")),
                  answer ? "1 30 12 2003 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20  " : database);
        EXPECT_FALSE(std::filesystem::exists(dir.file("zentag"))) << "the download is gone after either answer";
    }

    // No one to ask counts as No.
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), database);
    WriteBytes(dir.file("zentag"), download);
    const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), {});
    EXPECT_TRUE(r.asked);
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), database);
}

TEST(DrawDatabaseMerge, NotSmallerReplacesWithoutAsking) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), "1 2 3 ");
    WriteBytes(dir.file("zentag"), "1.2004.5.6.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.20\n");
    bool asked = false;
    const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [&] {
        asked = true;
        return false;
    });
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(asked);
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), "1 2004 5 6 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
}

TEST(DrawDatabaseMerge, FailureKeepsDatabaseAndDownload) {
    TempDir dir;
    const std::string database = "1 2 3 ";
    std::string download;
    for (int k = 1; k <= 20; ++k)
        download += std::to_string(k) + " 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20\n";
    WriteBytes(dir.file("zentag.wyn"), database);
    WriteBytes(dir.file("zentag"), download);
    MergeResult r;
    {
        FileSizeLimit limit(1000);
        r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [] { return true; });
    }
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.replaced);
    EXPECT_TRUE(r.pendingKept);
    EXPECT_EQ(r.error, std::strerror(EFBIG));
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), database);
    EXPECT_EQ(ReadBytes(dir.file("zentag")), download);
    EXPECT_EQ(FolderEntries(dir), (std::vector<std::string>{"zentag", "zentag.wyn"})) << "no temporary file left";
}

TEST(DrawDatabaseMerge, MissingDownloadIsReported) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), "1 2 3 ");
    const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [] { return true; });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), "1 2 3 ");
}

// ---- Appending a draw ----

TEST(DrawDatabaseAppend, DayFirstFileGetsADayFirstGroup) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, DayFirstTwoDraws);
    auto table = NewTable();
    const LoadResult before = LoadDatabase(path, table.data());
    ASSERT_EQ(before.drawCount, 2);
    ASSERT_EQ(before.layoutProbe, 30);

    const DrawRecord third = Draw(3, 2004, 1, 1, 3);
    const FileWriteResult r = AppendDrawRecord(path, third, before.layoutProbe, false);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ReadBytes(path),
              DayFirstTwoDraws + " 3 1 1 2004 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 60 ");

    const LoadResult after = LoadDatabase(path, table.data());
    ASSERT_TRUE(after.ok) << after.error;
    EXPECT_EQ(after.drawCount, 3);
    EXPECT_EQ(table[3].Number, 3);
    EXPECT_EQ(table[3].Day, 1);
    EXPECT_EQ(table[3].Month, 1);
    EXPECT_EQ(table[3].Year, 2004);
    EXPECT_EQ(table[3].Numbers[19], 60);
}

TEST(DrawDatabaseAppend, ProbeDecidesTheOrderAsReadingDoes) {
    const DrawRecord d = Draw(42, 2004, 3, 7, 1);
    const std::string numbers = " 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 ";
    EXPECT_EQ(AppendedGroupBytes(d, 1996), " 42 2004 3 7" + numbers);
    EXPECT_EQ(AppendedGroupBytes(d, 1951), " 42 2004 3 7" + numbers);
    EXPECT_EQ(AppendedGroupBytes(d, 1950), " 42 7 3 2004" + numbers);
    EXPECT_EQ(AppendedGroupBytes(d, 0), " 42 7 3 2004" + numbers);
}

TEST(DrawDatabaseAppend, YearFirst1951To1995StaysYearFirst) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    const std::string first = "1 1960 5 4 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 ";
    WriteBytes(path, first);
    auto table = NewTable();
    const LoadResult before = LoadDatabase(path, table.data());
    ASSERT_EQ(before.drawCount, 1);
    ASSERT_TRUE(AppendDrawRecord(path, Draw(2, 1960, 5, 5, 2), before.layoutProbe, false).ok);
    EXPECT_EQ(ReadBytes(path), first + " 2 1960 5 5 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 ");
    const LoadResult after = LoadDatabase(path, table.data());
    EXPECT_EQ(after.drawCount, 2);
    EXPECT_EQ(table[2].Day, 5);
    EXPECT_EQ(table[2].Year, 1960);
}

TEST(DrawDatabaseAppend, MissingFileFailsUnlessTableEmpty) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    const FileWriteResult r = AppendDrawRecord(path, Draw(5, 2004, 1, 1, 1), 2004, false);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DrawDatabaseAppend, MissingFileTakesTheProbesLayout) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    // With no file the probe is 0: the group is written day-first and its second integer is a day.
    ASSERT_TRUE(AppendDrawRecord(path, Draw(1, 2004, 2, 29, 2), 0, true).ok);
    EXPECT_EQ(ReadBytes(path), " 1 29 2 2004 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 ");
    auto table = NewTable();
    const LoadResult load = LoadDatabase(path, table.data());
    EXPECT_EQ(load.drawCount, 1);
    EXPECT_EQ(table[1].Day, 29);
    EXPECT_EQ(table[1].Month, 2);
    EXPECT_EQ(table[1].Year, 2004);
}

TEST(DrawDatabaseAppend, FailedAppendLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, DayFirstTwoDraws);
    FileWriteResult r;
    {
        // Room for a few bytes of the group only: the write stops half-way.
        FileSizeLimit limit(DayFirstTwoDraws.size() + 10);
        r = AppendDrawRecord(path, Draw(3, 2004, 1, 1, 3), 30, false);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(EFBIG));
    EXPECT_EQ(ReadBytes(path), DayFirstTwoDraws);

    // A file that the failed append would have created is not left behind empty.
    const std::string missing = dir.file("new.wyn");
    {
        FileSizeLimit limit(10);
        r = AppendDrawRecord(missing, Draw(1, 2004, 1, 1, 3), 0, true);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(DrawDatabaseAppend, MissingFolderIsReported) {
    TempDir dir;
    const FileWriteResult r = AppendDrawRecord(dir.file("nowhere/zentag.wyn"), Draw(1, 2004, 1, 1, 1), 2004, true);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
}

// ---- Rewriting the table ----

TEST(DrawDatabaseRewrite, YearFirstEachValueThenASpace) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, "old content that is longer than the new one, by far, really much longer ");
    std::vector<DrawRecord> draws(3);
    draws[1] = Draw(1, 2004, 3, 7, 1);
    draws[2] = Draw(2, 2004, 3, 8, 2);
    const RewriteResult r = RewriteDatabase(path, DrawsView{draws.data(), 2});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.layoutProbe, 2004);
    EXPECT_EQ(ReadBytes(path), "1 2004 3 7 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 "
                               "2 2004 3 8 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 ");
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"zentag.wyn"});

    const RewriteResult none = RewriteDatabase(path, DrawsView{draws.data(), 0});
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.layoutProbe, 0);
    EXPECT_EQ(ReadBytes(path), "");
}

// Values a hand-made database may hold are written as they are: 0, 99 and 100 at the edge of the
// two-digit table, negative and the largest values in full.
TEST(DrawDatabaseRewrite, ValuesBeyondTwoDigitsInFull) {
    std::vector<DrawRecord> draws(2);
    draws[1] = Draw(99999, 2004, 0, -5, 1);
    draws[1].Numbers[0] = 0;
    draws[1].Numbers[1] = 99;
    draws[1].Numbers[2] = 100;
    draws[1].Numbers[3] = INT32_MIN;
    draws[1].Numbers[19] = INT32_MAX;
    EXPECT_EQ(DatabaseFileBytes(DrawsView{draws.data(), 1}),
              "99999 2004 0 -5 0 99 100 -2147483648 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 2147483647 ");
}

TEST(DrawDatabaseRewrite, FirstYearUpTo1950IsWrittenDayFirst) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    std::vector<DrawRecord> draws(3);
    draws[1] = Draw(1, 98, 12, 30, 1); // two-digit years
    draws[2] = Draw(2, 98, 12, 31, 2);
    const RewriteResult r = RewriteDatabase(path, DrawsView{draws.data(), 2});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.layoutProbe, 30);
    EXPECT_EQ(ReadBytes(path), "1 30 12 98 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 "
                               "2 31 12 98 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 ");
    auto table = NewTable();
    ASSERT_EQ(LoadDatabase(path, table.data()).drawCount, 2);
    EXPECT_EQ(table[2].Day, 31);
    EXPECT_EQ(table[2].Year, 98);
}

TEST(DrawDatabaseRewrite, DayFirstBecomesYearFirstForGood) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, DayFirstTwoDraws);
    auto table = NewTable();
    LoadResult load = LoadDatabase(path, table.data());
    ASSERT_EQ(load.layoutProbe, 30);

    const RewriteResult rewrite = RewriteDatabase(path, DrawsView{table.data(), load.drawCount});
    ASSERT_TRUE(rewrite.ok) << rewrite.error;
    EXPECT_EQ(rewrite.layoutProbe, 2003);
    const FileWriteResult append = AppendDrawRecord(path, Draw(3, 2004, 1, 1, 3), rewrite.layoutProbe, false);
    ASSERT_TRUE(append.ok) << append.error;
    EXPECT_EQ(ReadBytes(path), "1 2003 12 30 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 "
                               "2 2003 12 31 2 5 8 11 14 17 20 23 26 29 32 35 38 41 44 47 50 53 56 59 "
                               " 3 2004 1 1 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 60 ");

    load = LoadDatabase(path, table.data());
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.drawCount, 3);
    EXPECT_EQ(load.layoutProbe, 2003);
    EXPECT_EQ(table[2].Day, 31);
    EXPECT_EQ(table[3].Day, 1);
    EXPECT_EQ(table[3].Month, 1);
    EXPECT_EQ(table[3].Year, 2004);
}

TEST(DrawDatabaseRewrite, FailedRewriteLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, DayFirstTwoDraws);
    std::vector<DrawRecord> draws(101);
    for (int k = 1; k <= 100; ++k)
        draws[static_cast<std::size_t>(k)] = Draw(k, 2004, 1, 1, 1);
    RewriteResult r;
    {
        FileSizeLimit limit(1000);
        r = RewriteDatabase(path, DrawsView{draws.data(), 100});
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(EFBIG));
    EXPECT_EQ(ReadBytes(path), DayFirstTwoDraws);
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"zentag.wyn"}) << "no temporary file left";
}

TEST(DrawDatabaseRewrite, KeepsPermissionsAndLinks) {
    TempDir dir;
    const std::string target = dir.file("data.wyn");
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(target, DayFirstTwoDraws);
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink("data.wyn", path);
    std::vector<DrawRecord> draws(2);
    draws[1] = Draw(1, 2004, 3, 7, 1);
    ASSERT_TRUE(RewriteDatabase(path, DrawsView{draws.data(), 1}).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadBytes(target).substr(0, 11), "1 2004 3 7 ");
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A read-only database in a writable folder: the rename could replace it, so the check must refuse.
// Root may write any file, so as root the rewrite runs in a child process as user "nobody".
TEST(DrawDatabaseRewrite, ReadOnlyDatabaseIsRefused) {
    TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    WriteBytes(path, DayFirstTwoDraws);
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.str().c_str(), 0777);
    std::vector<DrawRecord> draws(2);
    draws[1] = Draw(1, 2004, 3, 7, 1);
    auto rewrite = [&] {
        const RewriteResult r = RewriteDatabase(path, DrawsView{draws.data(), 1});
        return !r.ok && r.error == std::strerror(EACCES);
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(rewrite());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool refused = ::setgid(65534) == 0 && ::setuid(65534) == 0 && rewrite();
            ::_exit(refused ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(ReadBytes(path), DayFirstTwoDraws);
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"zentag.wyn"});
}

TEST(DrawDatabaseRewrite, MissingFolderIsReported) {
    TempDir dir;
    std::vector<DrawRecord> draws(2);
    const RewriteResult r = RewriteDatabase(dir.file("nowhere/zentag.wyn"), DrawsView{draws.data(), 1});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, std::strerror(ENOENT));
}

} // namespace
} // namespace zg
