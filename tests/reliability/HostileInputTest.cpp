// SPDX-License-Identifier: GPL-3.0-or-later
// What an attack on the command-line tool found: a write under a file-size limit, a lock file or a
// database that is no regular file, and server options that would change the request.
#include "app/cli/Commands.h"
#include "base/SafeFile.h"
#include "support/CliRun.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <tuple>

namespace zg {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RunCaptured;
using test::TempDir;
using test::WriteBytes;

std::string Line(int day) {
    std::string s = std::to_string(day) + ".01.2004";
    for (int i = 1; i <= 20; ++i)
        s += ";" + std::to_string(day + i);
    return s + "\n";
}

const std::string Stored = "1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ";

// The backup fits under the limit, the new database does not: the write fails with the system's
// reason, and neither its temporary file nor its backup stays.
TEST(HostileInput, AWriteUnderAFileSizeLimitFailsCleanly) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Stored);
    std::string file;
    for (int day = 1; day <= 28; ++day)
        file += Line(day);
    WriteBytes(dir.file("new.txt"), file);
    test::CliRun run;
    {
        const test::FileSizeLimit limit(1000);
        run = RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.file("zentag.wyn") + ": " + SystemErrorText(EFBIG) + "\n");
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), Stored);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        EXPECT_TRUE(entry.path().filename() == "zentag.wyn" || entry.path().filename() == "new.txt" ||
                    entry.path().filename() == "zentag.wyn.lock" || entry.path().filename() == "KOPIE")
            << entry.path();
}

// The name of what stands in the way: the lock file, or the database that is no regular file
// (refused before any lock file is made beside it).
class UnusableFile : public testing::TestWithParam<std::tuple<const char*, std::string>> {};

TEST_P(UnusableFile, IsNamed) {
    const auto& [name, reason] = GetParam();
    TempDir dir;
    WriteBytes(dir.file("new.txt"), Line(1));
    if (std::string(name) == "LockFolder") {
        WriteBytes(dir.file("zentag.wyn"), Stored);
        fs::create_directory(dir.path() / "zentag.wyn.lock");
    } else {
        fs::create_symlink("/dev/null", dir.file("zentag.wyn"));
    }
    const bool lockBefore = fs::exists("/dev/null.lock");
    const test::CliRun run = RunCaptured({"import", dir.str(), dir.file("new.txt"), "--replace"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.file("zentag.wyn") + ": " + reason + "\n");
    EXPECT_EQ(fs::exists("/dev/null.lock"), lockBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableFile,
                         testing::Values(std::tuple{"LockFolder", "zentag.wyn.lock: " + SystemErrorText(EISDIR)},
                                         std::tuple{"LinkedToADevice", std::string(NotRegularFileText)}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

// --host and --port follow the rules of "serwer=": a bad value is refused before any request.
class ServerOption : public testing::TestWithParam<std::tuple<const char*, std::string, std::string>> {};

TEST_P(ServerOption, RefusedBeforeAnyRequest) {
    const auto& [name, option, value] = GetParam();
    TempDir dir;
    const test::CliRun run = RunCaptured({"update", dir.str(), "--all", option, value});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, option == "--host"
                           ? "Niepoprawna wartość --host: „" + value + "”. Podaj HOST albo [adres IPv6].\n"
                           : "Niepoprawna wartość --port: " + value + " (od 1 do 65535).\n");
    EXPECT_FALSE(fs::exists(dir.file("zentag")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ServerOption,
                         testing::Values(std::tuple{"Path", "--host", "127.0.0.1/evil?a="},
                                         std::tuple{"Credentials", "--host", "user:pw@127.0.0.1"},
                                         std::tuple{"PortZero", "--port", "0"},
                                         std::tuple{"PortNotANumber", "--port", "8o"}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

} // namespace
} // namespace zg
