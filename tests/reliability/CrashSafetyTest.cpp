// SPDX-License-Identifier: GPL-3.0-or-later
// The database survives a crash at any moment of a write: the real rewrite, merge, append and import run
// in a child process that is killed with SIGKILL after delays spread over the whole write. After
// every kill the database is byte for byte the old content or the new one, a merge that did not
// finish keeps its download, and the clean-up of the next start removes the temporary file left. ZG_KILLS sets the
// number of kills per operation (CI runs a few, scripts/soak.sh hundreds).
#include "app/cli/Commands.h"
#include "base/SafeFile.h"
#include "database/DrawDatabase.h"
#include "database/ResultsImport.h"
#include "support/ChildProcess.h"
#include "support/DrawTables.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace zg {
namespace {

using namespace std::chrono;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

int KillCount() {
    const char* env = std::getenv("ZG_KILLS");
    return env != nullptr && std::atoi(env) > 0 ? std::atoi(env) : 40;
}

// A table whose numbers differ from MakeTable's, so old and new content never agree.
std::vector<DrawRecord> NewTable(std::int32_t count) {
    std::vector<DrawRecord> table = test::MakeTable(count);
    for (std::int32_t q = 1; q <= count; ++q)
        for (int j = 0; j < 20; ++j)
            table[static_cast<std::size_t>(q)].Numbers[j] = (q + 3 * j) % 80 + 1;
    return table;
}

// The results file as the server sends it: "number;DD.MM.YYYY;n1,...,n20" lines.
std::string DownloadBytes(DrawsView draws) {
    std::string out;
    for (std::int32_t q = 1; q <= draws.count; ++q) {
        const DrawRecord& d = draws[q];
        out += std::to_string(d.Number) + ';' + std::to_string(d.Day) + '.' + std::to_string(d.Month) + '.' +
               std::to_string(d.Year) + ';';
        for (int j = 0; j < 20; ++j)
            out += std::to_string(d.Numbers[j]) + (j < 19 ? "," : "\r\n");
    }
    return out;
}

struct KillTally {
    int old = 0, fresh = 0, tempLeft = 0;
};

// Writes `oldBytes` as the database (and `pending` as a waiting download when not empty), kills
// `work` at KillCount() points and checks that the database then holds `oldBytes` or `newBytes`;
// `check` sees each outcome too. Half of the kills land exactly at system calls spread over all the calls the work
// makes (whatever the load of the machine, some come before the write, some during it, some after); the other half at
// times spread from the start to a little past the undisturbed duration, which also hit the inside of a long write.
KillTally KillRepeatedly(const TempDir& dir, const std::string& oldBytes, const std::string& pending,
                         const std::string& newBytes, const std::function<void()>& work,
                         const std::function<void(const std::string&)>& check = {}) {
    const std::string db = dir.file("zentag.wyn");
    const auto prepare = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove_all(entry.path()); // KOPIE with the backups too
        WriteBytes(db, oldBytes);
        if (!pending.empty())
            WriteBytes(dir.file("zentag"), pending);
    };
    prepare();
    const int calls = test::RunAndKillAtSystemCall(work, -1);
    microseconds duration{0};
    for (int i = 0; i < 2; ++i) {
        prepare();
        duration = std::max(duration, test::RunAndKill(work, microseconds(-1)));
    }
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    KillTally tally;
    const int kills = KillCount();
    const int atCalls = std::clamp(calls, 2, std::max(2, kills / 2));
    for (int i = 0; i < kills; ++i) {
        prepare();
        if (i < atCalls) {
            test::RunAndKillAtSystemCall(work, static_cast<int>(static_cast<long>(calls - 1) * i / (atCalls - 1)));
        } else {
            const double x = (i - atCalls + jitter(random)) / (kills - atCalls);
            test::RunAndKill(work, microseconds(static_cast<long>(1.25 * static_cast<double>(duration.count()) * x)));
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("zentag.wyn" + std::string(TempFileMarker), 0) == 0)
                ++tally.tempLeft;
            else
                EXPECT_TRUE(name == "zentag.wyn" || name == "zentag" || name == "zentag.wyn.lock" || name == "KOPIE")
                    << "unexpected file " << name;
        }
        const std::string bytes = ReadBytes(db);
        tally.old += bytes == oldBytes;
        tally.fresh += bytes == newBytes;
        EXPECT_TRUE(bytes == oldBytes || bytes == newBytes) << "a database of " << bytes.size() << " bytes";
        if (check)
            check(bytes);
        RemoveStaleTempFiles(dir.str()); // as the next start does
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find(TempFileMarker), std::string::npos)
                << entry.path() << " stays after the next start";
        if (::testing::Test::HasFailure())
            break;
    }
    std::printf("%d kills (%d at system calls of %d, the rest within %lld us): %d old, %d new, %d with a temporary "
                "file left\n",
                kills, atCalls, calls, static_cast<long long>(duration.count()), tally.old, tally.fresh,
                tally.tempLeft);
    EXPECT_GT(tally.old, 0);
    EXPECT_GT(tally.fresh, 0);
    return tally;
}

TEST(CrashSafety, KilledRewriteLeavesTheOldOrTheNewDatabase) {
    TempDir dir;
    const std::vector<DrawRecord> table = NewTable(20000);
    const KillTally tally = KillRepeatedly(dir, DatabaseFileBytes(test::View(test::MakeTable(15000))), "",
                                           DatabaseFileBytes(test::View(table)),
                                           [&] { RewriteDatabase(dir.file("zentag.wyn"), test::View(table)); });
    EXPECT_GT(tally.tempLeft, 0) << "no kill landed while the new content was being written";
}

TEST(CrashSafety, KilledMergeLeavesOldOrNewDatabase) {
    TempDir dir;
    const std::string oldBytes = DatabaseFileBytes(test::View(test::MakeTable(15000)));
    const std::string download = DownloadBytes(test::View(NewTable(20000)));
    std::string converted = download;
    for (char& c : converted)
        c = c >= '0' && c <= '9' ? c : ' ';
    const KillTally tally = KillRepeatedly(
        dir, oldBytes, download, converted,
        [&] { MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [] { return true; }); },
        [&](const std::string& bytes) {
            if (bytes == oldBytes) {
                EXPECT_EQ(ReadBytes(dir.file("zentag")), download) << "the download is kept until it is the database";
            }
        });
    EXPECT_GT(tally.tempLeft, 0) << "no kill landed while the download was being converted";
}

TEST(CrashSafety, KilledAppendLeavesTheWholeDrawOrNone) {
    TempDir dir;
    const std::string db = dir.file("zentag.wyn");
    const std::string oldBytes = DatabaseFileBytes(test::View(test::MakeTable(2000)));
    const DrawRecord draw = NewTable(2001)[2001];
    std::vector<DrawRecord> loaded(static_cast<std::size_t>(MaxDraws) + 1);
    KillRepeatedly(
        dir, oldBytes, "", oldBytes + AppendedGroupBytes(draw, 2008), [&] { AppendDrawRecord(db, draw, 2008, false); },
        [&](const std::string&) {
            const LoadResult load = LoadDatabase(db, loaded.data());
            EXPECT_TRUE(load.ok && (load.drawCount == 2000 || load.drawCount == 2001)) << load.drawCount;
        });
}

TEST(CrashSafety, KilledImportLeavesOldOrNew) {
    TempDir dir, source;
    const std::vector<DrawRecord> table = NewTable(20000);
    const std::string oldBytes = DatabaseFileBytes(DrawsView{table.data(), 15000});
    const std::string results = DownloadBytes(test::View(table));
    WriteBytes(source.file("wyniki.csv"), results);
    const ImportedResults imported = ReadResultsFile(results);
    const ImportPlan plan = PlanImport(imported, DrawsView{table.data(), 15000}, true, ImportMode::AppendNew);
    ASSERT_TRUE(plan.writes());
    const std::string newBytes = ImportedDatabaseBytes(imported, plan, oldBytes, 2008);
    KillRepeatedly(
        dir, oldBytes, "waiting download", newBytes,
        [&] {
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            cli::RunCli({"import", dir.str(), source.file("wyniki.csv")});
        },
        [&](const std::string& bytes) {
            if (bytes == oldBytes) {
                EXPECT_TRUE(std::filesystem::exists(dir.file("zentag"))) << "deleted before the import was written";
            }
        });
}

} // namespace
} // namespace zg
