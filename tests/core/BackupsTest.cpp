// SPDX-License-Identifier: GPL-3.0-or-later
// Backups in KOPIE before the writes that change or remove stored draws, their names and how many
// stay, the restore, the replacement that names the draws it removes, and the real dates an import
// brings for draws appended with computed ones.
#include "database/Backups.h"
#include "app/cli/Commands.h"
#include "database/DatabaseGuard.h"
#include "database/ResultsImport.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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

// Each write keeps the database as it was, in KOPIE/ under the name of that write.
TEST_P(BackupPerWrite, KeepsTheOldDatabase) {
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

// A clock set back: 21 backups named and stamped later than now, the later the name the older the
// stamp. The new backup stays with the database's bytes; of the others the two oldest stamps go.
TEST(Backups, TheNewBackupSurvivesAClockSetBack) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    fs::create_directory(dir.path() / "KOPIE");
    for (int i = 0; i < 21; ++i) {
        const std::string name = dir.file("KOPIE/zentag-2099-01-01-0000" + std::to_string(10 + i) + "-import.wyn");
        WriteBytes(name, "1");
        fs::last_write_time(name, fs::file_time_type::clock::now() + std::chrono::hours(30 - i));
    }
    WriteBytes(dir.file("new.txt"), Line(9, 61));
    const std::string out = RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"}).out;
    const auto list = Backups(dir);
    ASSERT_EQ(list.size(), 20u);
    EXPECT_NE(out.find("backup: KOPIE/" + list.back().fileName + "\n"), std::string::npos) << out;
    EXPECT_EQ(ReadBytes(dir.file("KOPIE/" + list.back().fileName)), Stored);
    EXPECT_EQ(list.front().fileName, "zentag-2099-01-01-000028-import.wyn");
}

TEST(Backups, SequenceNumbersUpTo32Bits) {
    for (const auto& [suffix, sequence] : std::vector<std::pair<std::string, int>>{
             {"-1000000", 1000000}, {"-2147483647", INT_MAX}, {"-2147483648", 0}, {"-01", 0}, {"-1", 0}})
        EXPECT_EQ(ParseBackupFileName("zentag-2024-05-18-143005-import" + suffix + ".wyn")
                      .value_or(BackupName{.sequence = 0})
                      .sequence,
                  sequence);
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

// A linked database on another file system, too large to read: it cannot be moved into KOPIE, so
// its bytes are copied there, and the replacement repairs it.
TEST(Backups, AnUnreadableDatabaseElsewhereIsCopiedBeforeItsReplacement) {
    TempDir dir;
    struct stat here = {}, shm = {};
    if (::stat(dir.str().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    const struct Removed {
        std::string path;
        ~Removed() { fs::remove(path), fs::remove(path + ".lock"); } // the lock sits beside the real file
    } target{"/dev/shm/zg-test-" + std::to_string(::getpid()) + "-zentag.wyn"};
    WriteBytes(target.path, "1");
    fs::resize_file(target.path, (64 << 20) + 1);
    fs::create_symlink(target.path, dir.file("zentag.wyn"));
    WriteBytes(dir.file("new.txt"), Line(9, 61));
    const test::CliRun run = RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"});
    const std::string name = Backups(dir).at(0).fileName;
    EXPECT_NE(run.out.find("backup: KOPIE/" + name + "\nunreadable database (" + SystemErrorText(EFBIG) + "): KOPIE/" +
                           name + " holds the 67108865 bytes that could be read\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(fs::file_size(dir.file("KOPIE/" + name)), (64u << 20) + 1);
    EXPECT_EQ(ReadBytes(target.path), Group(1, 9, 61));
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

struct RefusedCase {
    const char* name;
    std::function<void(const std::string&)> make; // the backup at this path
    const char *listed, *problem;
};

class RefusedBackup : public testing::TestWithParam<RefusedCase> {};

// Listed by `backups` with its word and reason, refused by `restore` with the reason, nothing changed.
TEST_P(RefusedBackup, ListedAndRefusedAlike) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    fs::create_directory(dir.path() / "KOPIE");
    const std::string name = "zentag-2024-05-18-143005-import.wyn";
    GetParam().make(dir.file("KOPIE/" + name));
    const test::CliRun list = RunCaptured({"backups", dir.str()});
    EXPECT_EQ(list.out, name + "\t" + GetParam().listed + "\n");
    EXPECT_EQ(list.err, "KOPIE/" + name + ": " + GetParam().problem + "\n");
    const test::CliRun restore = RunCaptured({"restore", dir.str(), name});
    EXPECT_EQ(restore.status, 1);
    EXPECT_EQ(restore.err, GetParam().problem + std::string(" Baza wyników nie została zmieniona.\n"));
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), Stored);
    EXPECT_EQ(Backups(dir).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Backups, RefusedBackup,
    testing::Values(
        RefusedCase{"Garbage", [](const std::string& p) { WriteBytes(p, Group(1, 1, 1) + Group(2, 2, 17611)); },
                    "nieczytelna",
                    "Kopia bazy jest nieczytelna: zawiera liczbę spoza zakresu 1..80: 17611 (pierwsze błędne "
                    "losowanie: nr 2)."},
        RefusedCase{"Shifted", [](const std::string& p) { WriteBytes(p, Group(1, 1, 1) + Group(3, 2, 21)); },
                    "nieczytelna",
                    "Kopia bazy jest nieczytelna: numery lub daty losowań się nie zgadzają, dane wyglądają na "
                    "przesunięte (pierwsze błędne losowanie: nr 2)."},
        RefusedCase{"TooLarge", [](const std::string& p) { WriteBytes(p, Stored), fs::resize_file(p, 1 << 27); },
                    "za duża", "Kopia bazy jest za duża: ma więcej niż 64 MiB."},
        RefusedCase{"Dangling", [](const std::string& p) { fs::create_symlink(p + ".gone", p); }, "nieczytelna",
                    "Kopia bazy jest nieczytelna: to dowiązanie do pliku, którego nie ma."}),
    [](const auto& info) { return std::string(info.param.name); });

// What the program itself stores is restored: a number twice, a Number unlike its ordinal. A
// waiting full download would be merged over it at the next start, so it goes.
TEST(Backups, ARestoreTakesOddDrawsAndRemovesAWaitingDownload) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    WriteBytes(dir.file("zentag"), Stored);
    fs::create_directory(dir.path() / "KOPIE");
    std::string odd = Group(7, 1, 1) + Group(8, 2, 21);
    odd.replace(odd.find(" 22 "), 4, " 21 ");
    WriteBytes(dir.file("KOPIE/zentag-2024-05-18-143005-import.wyn"), odd);
    const test::CliRun run = RunCaptured({"restore", dir.str(), "zentag-2024-05-18-143005-import.wyn"});
    EXPECT_NE(run.out.find("draws: 2\ndeleted the waiting full download zentag, which would have replaced the "
                           "database at the next start\n"),
              std::string::npos)
        << run.out << run.err;
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), odd);
    EXPECT_FALSE(fs::exists(dir.file("zentag")));
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

TEST(RemovedDraws, AskedWithTheirCount) {
    const DrawRecord last{5, 2004, 1, 5, {}};
    const std::string tail = ". Zastąpienie bazy usunie je; kopia zostanie zapisana w folderze KOPIE. Zastąpić bazę?";
    EXPECT_EQ(RemovedDrawsQuestion(1, 5, last),
              "Baza zawiera 1 losowanie, którego nie ma w pliku (nr 5 z 05.01.2004)" + tail);
    EXPECT_EQ(RemovedDrawsQuestion(2970, 5, last),
              "Baza zawiera 2970 losowań, których nie ma w pliku (najnowsze z nich: nr 5 z 05.01.2004)" + tail);
    EXPECT_EQ(RemovedDrawsQuestion(22, 5, last).substr(0, 35), "Baza zawiera 22 losowania, których");
}

// Draws 2 and 3 were really drawn on 1 and 2 January: the file's dates replace the computed ones.
class CorrectedDates : public testing::TestWithParam<std::tuple<const char*, std::string, std::string, std::string>> {};

TEST_P(CorrectedDates, RealDatesWin) {
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
