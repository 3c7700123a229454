// SPDX-License-Identifier: GPL-3.0-or-later
// No report or export lands on the program's own files, however OUT spells them: through "./" and
// "../", through a link, into a linked database's folder, for files that exist and for those that
// do not yet.
#include "base/ProgramFiles.h"
#include "base/ReportWriter.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zg {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::ReadBytes;
using test::RunCaptured;
using test::WriteBytes;

struct ProtectedCase {
    const char* name;
    const char* file; // relative to the program folder; "linked/…" lies beside a linked database
    const char* kind;
    bool exists;
};

class ProgramFileTarget : public testing::TestWithParam<ProtectedCase> {
protected:
    ProgramFileTarget() {
        fs::create_directories(dir.file("TXT"));
        fs::create_directories(dir.file("KOPIE"));
        fs::create_directories(dir.file("linked"));
        WriteBytes(dir.file("KOPIE/zentag-20260101-120000-zapis.wyn"), "backup");
        WriteBytes(dir.file("zentagrafo-cli"), "program");
        WriteBytes(dir.file("zentag.wyn.lock"), "");
        WriteBytes(dir.file("linked/real.wyn"), zg::test::MarchDatabaseBytes());
        WriteBytes(dir.file("linked/real.wyn.lock"), "");
    }
    std::string Expected(const std::string& out) const {
        return out + ": Tego pliku nie można zastąpić raportem: to " + GetParam().kind + ". Wybierz inną nazwę.\n";
    }

    zg::test::MarchFolder dir;
};

TEST_P(ProgramFileTarget, RefusedHoweverSpelled) {
    const ProtectedCase& c = GetParam();
    const std::string target = dir.file(c.file);
    const std::string before = c.exists ? ReadBytes(target) : std::string();
    if (std::string_view(c.file).starts_with("linked/")) { // the database is a link
        fs::remove(dir.file("zentag.wyn"));
        fs::create_symlink("linked/real.wyn", dir.file("zentag.wyn"));
    }
    fs::create_symlink(target, dir.file("TXT/link.txt"));
    const std::vector<std::string> spellings = {
        dir.str() + "/./" + c.file,
        dir.str() + "/TXT/../" + c.file,
        dir.file("TXT/link.txt"),
    };
    for (const std::string& out : spellings) {
        const CliRun run = RunCaptured({"export", dir.str(), out});
        EXPECT_EQ(run.status, 2) << out;
        EXPECT_EQ(run.err, Expected(out));
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(fs::exists(target), c.exists) << out;
        if (c.exists) {
            EXPECT_EQ(ReadBytes(target), before) << out;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProgramFileTarget,
    testing::Values(
        ProtectedCase{"Database", "zentag.wyn", "plik bazy wyników programu", true},
        ProtectedCase{"LinkedDatabase", "linked/real.wyn", "plik bazy wyników programu", true},
        ProtectedCase{"Lock", "zentag.wyn.lock", "plik blokady bazy wyników programu", true},
        ProtectedCase{"LinkedLock", "linked/real.wyn.lock", "plik blokady bazy wyników programu", true},
        ProtectedCase{"PendingDownload", "zentag", "pobrany plik wyników, który czeka na dołączenie do bazy", false},
        ProtectedCase{"Settings", "zentagrafo.ini", "plik ustawień programu", false},
        ProtectedCase{"Backup", "KOPIE/zentag-20260101-120000-zapis.wyn", "plik kopii bazy wyników programu", true},
        ProtectedCase{"NewFileInBackups", "KOPIE/raport.txt", "plik kopii bazy wyników programu", false},
        ProtectedCase{"Executable", "zentagrafo-cli", "plik wykonywalny programu", true}),
    [](const testing::TestParamInfo<ProtectedCase>& info) { return std::string(info.param.name); });

// Every command that writes a report refuses the database before it writes anything; a hard link to
// the database is the database too, and the core writer refuses it on its own.
TEST(ProgramFileTargets, EveryWriterRefusesTheDatabase) {
    zg::test::MarchFolder dir;
    const std::string db = dir.file("zentag.wyn");
    std::vector<zg::cli::Args> commands = {{"numbers", dir.str(), "--range", "1:12", db}};
    for (const char* command : {"analysis", "zentag", "calendar"})
        commands.push_back({command, dir.str(), "--set", "3,7,15", "--range", "1:12", "--hits", "1:3", db});
    for (const zg::cli::Args& args : commands) {
        const CliRun run = RunCaptured(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_EQ(ReadBytes(db), zg::test::MarchDatabaseBytes()) << args[0];
    }
    fs::create_hard_link(db, dir.file("hard.txt"));
    EXPECT_EQ(zg::WriteReportFile(dir.file("hard.txt"), "x", dir.str()),
              zg::ProtectedTargetText(zg::ProgramFileKind::Database));
    EXPECT_EQ(zg::ProgramFileAt(dir.file("report.txt"), dir.str()), std::nullopt);
    EXPECT_EQ(zg::WriteReportFile(dir.file("report.txt"), "x", dir.str()), std::nullopt);
}

} // namespace
} // namespace zg
