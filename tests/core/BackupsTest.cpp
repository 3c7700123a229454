// Backups in KOPIE before the writes that change or remove stored draws, their names and how many
// stay, the restore, the replacement that names the draws it removes, and the real dates an import
// brings for draws appended with computed ones.
#include "database/Backups.h"
#include "app/cli/Commands.h"
#include "database/DatabaseGuard.h"
#include "database/ResultsImport.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace zg {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RunCaptured;
using test::TempDir;
using test::WriteBytes;

// One draw as a rewrite writes it (every value followed by one space); numbers first..first+19.
std::string Group(int number, int day, int first) {
    std::string s = std::to_string(number) + " 2004 1 " + std::to_string(day) + " ";
    for (int i = 0; i < 20; ++i)
        s += std::to_string(first + i) + " ";
    return s;
}

// A results file's line: the date D.01.2004 and first..first+19.
std::string Line(int day, int first) {
    std::string s = std::to_string(day) + ".01.2004";
    for (int i = 0; i < 20; ++i)
        s += ";" + std::to_string(first + i);
    return s + "\n";
}

// Three draws appended with computed dates 1..3 January, each on a line of its own.
const std::string Stored = Group(1, 1, 1) + "\r\n" + Group(2, 2, 21) + "\r\n" + Group(3, 3, 41) + "\r\n";

std::vector<BackupEntry> Backups(const TempDir& dir) {
    return ListBackups(dir.file("KOPIE"));
}

struct WriteCase {
    const char* name;
    const char* reason; // "" when the write keeps no backup
    std::function<void(const TempDir&)> write;
};

class BackupPerWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(BackupPerWrite, KeepsTheDatabaseAsItWasUnderTheNameOfTheWrite) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    GetParam().write(dir);
    const auto list = Backups(dir);
    if (*GetParam().reason == '\0') {
        EXPECT_TRUE(list.empty());
        return;
    }
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(std::regex_match(
        list[0].fileName,
        std::regex(std::string("zentag-20[0-9]{2}-[01][0-9]-[0-3][0-9]-[0-9]{6}-") + GetParam().reason + "\\.wyn")))
        << list[0].fileName;
    EXPECT_EQ(ReadBytes(dir.file("KOPIE/" + list[0].fileName)), Stored);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, BackupPerWrite,
    testing::Values(
        WriteCase{"Import", "import",
                  [](const TempDir& d) {
                      WriteBytes(d.file("new.txt"), Line(3, 41) + Line(4, 61));
                      EXPECT_EQ(RunCaptured({"import", d.str(), d.file("new.txt")}).status, 0);
                  }},
        WriteCase{"Replacement", "zastapienie",
                  [](const TempDir& d) { // removes draws 2 and 3, and says so
                      WriteBytes(d.file("new.txt"), Line(1, 1) + Line(9, 61));
                      const std::string out = RunCaptured({"import", d.str(), d.file("new.txt"), "--replace"}).out;
                      EXPECT_NE(out.find("-zastapienie.wyn\nremoved draws: 2\nnew draws: 2\n"), std::string::npos)
                          << out;
                  }},
        WriteCase{
            "DryRun", "",
            [](const TempDir& d) {
                WriteBytes(d.file("new.txt"), Line(9, 61));
                EXPECT_EQ(RunCaptured({"import", d.str(), d.file("new.txt"), "--replace", "--dry-run"}).status, 0);
            }},
        WriteCase{"Merge", "scalenie",
                  [](const TempDir& d) {
                      WriteBytes(d.file("zentag"), Stored + Group(4, 4, 61));
                      DatabaseGuard guard(d.file("zentag.wyn"));
                      EXPECT_TRUE(guard.Merge(d.file("zentag"), {}).replaced);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Backups, SameSecondTakesASuffixAndTheNewestTwentyStay) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    fs::create_directory(dir.path() / "KOPIE");
    WriteBytes(dir.file("KOPIE/zentag-moja.wyn"), "mine");
    for (int i = 0; i < 22; ++i)
        DatabaseBackup(dir.file("zentag.wyn"), i % 2 ? BackupReason::Import : BackupReason::Correction, false,
                       1716042605) // 18.05.2024 14:30:05 UTC
            .Keep();
    const auto list = Backups(dir);
    ASSERT_EQ(list.size(), 20u);
    EXPECT_EQ(list.front().fileName, "zentag-2024-05-18-143005-import-22.wyn");
    EXPECT_EQ(list.back().fileName, "zentag-2024-05-18-143005-poprawka-3.wyn");
    EXPECT_FALSE(fs::exists(dir.file("KOPIE/zentag-2024-05-18-143005-poprawka.wyn")));
    EXPECT_TRUE(fs::exists(dir.file("KOPIE/zentag-moja.wyn")));
    EXPECT_EQ(BackupFileName(BackupNameAt(1716042605, BackupReason::Merge, 2)),
              "zentag-2024-05-18-143005-scalenie-2.wyn");
}

// KOPIE is a file: no backup can be made there, so nothing is written.
TEST(Backups, AWriteWithoutItsBackupIsRefused) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    WriteBytes(dir.file("KOPIE"), "not a folder");
    WriteBytes(dir.file("new.txt"), Line(9, 61));
    const test::CliRun run = RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.file("zentag.wyn") + ": " + BackupFailedText(SystemErrorText(ENOTDIR)) + "\n");
    WriteBytes(dir.file("zentag"), Stored + Group(4, 4, 61));
    const MergeResult merged = DatabaseGuard(dir.file("zentag.wyn")).Merge(dir.file("zentag"), {});
    EXPECT_TRUE(!merged.replaced && merged.pendingKept && fs::exists(dir.file("zentag")));
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), Stored);
}

// A database too large to read is kept whole by moving it into KOPIE, and the replacement repairs it.
TEST(Backups, AnUnreadableDatabaseIsMovedBeforeItsReplacement) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), "1");
    fs::resize_file(dir.file("zentag.wyn"), (64 << 20) + 1); // sparse: no disk for the zeros
    WriteBytes(dir.file("new.txt"), Line(9, 61));
    EXPECT_EQ(RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"}).status, 0);
    const auto list = Backups(dir);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(fs::file_size(dir.file("KOPIE/" + list[0].fileName)), (64u << 20) + 1);
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), Group(1, 9, 61));
}

TEST(Backups, ListedAndRestoredByTheCommandLineTool) {
    TempDir dir;
    EXPECT_EQ(RunCaptured({"backups", dir.str()}).out, "");
    WriteBytes(dir.file("zentag.wyn"), Stored);
    WriteBytes(dir.file("new.txt"), Line(9, 61));
    ASSERT_EQ(RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"}).status, 0);
    const std::string name = Backups(dir).at(0).fileName;
    WriteBytes(dir.file("KOPIE/zentag-2001-01-01-000000-import.wyn"), "1 2 x");
    const test::CliRun list = RunCaptured({"backups", dir.str()});
    EXPECT_EQ(list.out, name + "\t3\t03.01.2004\nzentag-2001-01-01-000000-import.wyn\tnieczytelna\n");
    const test::CliRun restored = RunCaptured({"restore", dir.str(), name});
    EXPECT_EQ(restored.status, 0);
    EXPECT_EQ(restored.out, "backup: KOPIE/" + Backups(dir).at(0).fileName + "\ndraws: 3\n");
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), Stored);
    EXPECT_TRUE(std::regex_match(Backups(dir).at(0).fileName, std::regex(".*-przywrocenie(-2)?\\.wyn")));
    EXPECT_EQ(ReadBytes(dir.file("KOPIE/" + name)), Stored); // the backup itself stays as it was
    EXPECT_EQ(RunCaptured({"restore", dir.str(), "../zentag.wyn"}).status, 2);
    EXPECT_EQ(RunCaptured({"restore", dir.str(), "zentag-2000-01-01-000000-import.wyn"}).status, 1);
}

// Database draws 1..5 of 1..5 January; the file holds those of `inFile` (their numbers) and a
// draw of its own. K counts the stored draws the file lacks, N is the last of them.
class RemovedDraws : public testing::TestWithParam<std::tuple<const char*, std::vector<int>, int, int>> {};

TEST_P(RemovedDraws, CountedBeforeTheReplacement) {
    const auto& [name, inFile, removed, last] = GetParam();
    std::vector<DrawRecord> table(6);
    for (int k = 1; k <= 5; ++k) {
        table[k] = DrawRecord{k, 2004, 1, k, {}};
        for (int i = 0; i < 20; ++i)
            table[k].Numbers[i] = k * 10 + i - 9;
    }
    table[4].Numbers[0] = 0; // a stored draw no file can hold
    std::string file;
    for (int k : inFile)
        file += Line(k, k * 10 - 9);
    file += Line(20, 61);
    const ImportPlan plan = PlanImport(ReadResultsFile(file), DrawsView{table.data(), 5}, true, ImportMode::ReplaceAll);
    EXPECT_EQ(plan.removedCount, removed);
    EXPECT_EQ(plan.lastRemovedOrdinal, last);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemovedDraws,
                         testing::Values(std::tuple{"AllButTheBadOne", std::vector<int>{1, 2, 3, 4, 5}, 1, 4},
                                         std::tuple{"TheLastTwo", std::vector<int>{1, 2, 3}, 2, 5},
                                         std::tuple{"None", std::vector<int>{}, 5, 5}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

TEST(RemovedDraws, Asked) {
    EXPECT_EQ(RemovedDrawsQuestion(5, DrawRecord{5, 2004, 1, 5, {}}),
              "Baza zawiera losowania, których nie ma w pliku (ostatnie: nr 5 z 05.01.2004). Zastąpienie bazy "
              "usunie je; kopia zostanie zapisana w folderze KOPIE. Zastąpić bazę?");
}

// Draws 2 and 3 were really drawn on 1 and 2 January: the file's dates replace the computed ones.
class CorrectedDates : public testing::TestWithParam<std::tuple<const char*, std::string, std::string, std::string>> {};

TEST_P(CorrectedDates, RealDatesWinOverComputedOnes) {
    const auto& [name, file, database, lines] = GetParam();
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    WriteBytes(dir.file("new.txt"), file);
    const test::CliRun run = RunCaptured({"import", dir.str(), dir.file("new.txt")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), database);
    EXPECT_NE(run.out.find(lines), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorrectedDates,
    testing::Values(std::tuple{"RewrittenWithTheNewDraw", Line(1, 1) + Line(1, 21) + Line(2, 41) + Line(2, 61),
                               Group(1, 1, 1) + Group(2, 1, 21) + Group(3, 2, 41) + Group(4, 2, 61),
                               "corrected dates: 2\nnew draws: 1\n"},
                    std::tuple{"NothingNewStillWrites", Line(1, 21) + Line(2, 41),
                               Group(1, 1, 1) + Group(2, 1, 21) + Group(3, 2, 41),
                               "corrected dates: 2\nnew draws: 0\n"},
                    std::tuple{"SameDatesAppend", Line(3, 41) + Line(4, 61), Stored + " " + Group(4, 4, 61),
                               "corrected dates: 0\nnew draws: 1\n"}),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

} // namespace
} // namespace zg
