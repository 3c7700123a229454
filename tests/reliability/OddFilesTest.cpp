// SPDX-License-Identifier: GPL-3.0-or-later
// Files that lie about their size, servers that trickle and the temporary files of killed writers:
// every whole-file read stops at its cap, every download at its deadline, and every command that
// writes removes what dead writers left in the folders it writes to.
#include "app/cli/Commands.h"
#include "database/DrawDatabase.h"
#include "download/ResultsUpdate.h"
#include "sets/SetFile.h"
#include "support/CliRun.h"
#include "support/DrawTables.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace zg {
namespace {

namespace fs = std::filesystem;
using test::HttpTestServer;
using test::TempDir;
using test::WriteBytes;

const std::string Database = DatabaseFileBytes(test::View(test::MakeTable(3)));

// /proc/self/pagemap says it is empty and never ends. Linked in as `linkName`, its reader must
// fail with its own message.
struct EndlessFile {
    const char* linkName;
    std::function<bool(const TempDir&)> failsAsItShould;
};

class ReadCap : public testing::TestWithParam<EndlessFile> {};

TEST_P(ReadCap, StopsAReadOfAProcFileThatNeverEnds) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Database);
    fs::remove(dir.file(GetParam().linkName));
    fs::create_symlink("/proc/self/pagemap", dir.file(GetParam().linkName));
    EXPECT_TRUE(GetParam().failsAsItShould(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Readers, ReadCap,
    testing::Values(EndlessFile{"zentag.wyn",
                                [](const TempDir& d) {
                                    const test::CliRun run = test::RunCaptured(cli::Args{"info", d.str()});
                                    return run.status == 1 && run.err.rfind(std::string(LoadErrorText), 0) == 0 &&
                                           run.err.find(std::strerror(EFBIG)) != std::string::npos;
                                }},
                    EndlessFile{"zentag",
                                [](const TempDir& d) {
                                    const MergeResult r = MergePendingDownload(d.file("zentag"), d.file("zentag.wyn"),
                                                                               [] { return true; });
                                    return r.damaged && test::ReadBytes(d.file("zentag.wyn")) == Database;
                                }},
                    EndlessFile{"set.txt", [](const TempDir& d) {
                                    const SetFileContent set = ReadSetFile(d.file("set.txt"));
                                    return !set.ok() && set.error == std::strerror(EFBIG);
                                }}));

// A valid head, then one byte every half second, against a deadline shortened from the real one:
// the download ends with the interrupted message, and nothing changes. The parameter: --latest.
class SlowServer : public testing::TestWithParam<bool> {};

TEST_P(SlowServer, IsCutOffAtTheDeadline) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), Database);
    HttpTestServer server([](HttpTestServer& s, int fd) {
        HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n");
        while (!s.stopping() && ::send(fd, "5", 1, MSG_NOSIGNAL) == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
    });
    cli::RunSettings settings;
    settings.downloadDeadline = std::chrono::seconds(2);
    const test::CliRun run = test::RunCaptured(test::UpdateArgs(dir.str(), GetParam(), server.port()), settings);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), InterruptedText);
    EXPECT_TRUE(test::ReadBytes(dir.file("zentag.wyn")) == Database && !fs::exists(dir.file("zentag")));
}

INSTANTIATE_TEST_SUITE_P(Requests, SlowServer, testing::Values(true, false));

// A killed writer's temporary file in a folder of the program folder, or in the folder that its
// linked database lies in, meets the next command that writes.
class StaleTempFiles : public testing::TestWithParam<const char*> {};

TEST_P(StaleTempFiles, RemovedByEveryWritingCommand) {
    TempDir dir, linked;
    fs::create_directory(dir.path() / "TXT");
    fs::create_directory(dir.path() / "ZESTAWY LICZB");
    WriteBytes(linked.file("zentag.wyn"), Database);
    fs::create_symlink(linked.file("zentag.wyn"), dir.file("zentag.wyn"));
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const bool isLinked = GetParam() == std::string("linked");
    const fs::path folder = isLinked ? linked.path() : dir.path() / GetParam();
    fs::create_directories(folder);
    const std::string gonePid = std::to_string(gone);
    // In a linked database's folder only the database's own temporary files are the program's.
    const std::string own = isLinked ? "zentag.wyn" : "ZENTAG.0001.txt";
    const fs::path dead = folder / (own + ".zentagrafo-tmp." + gonePid + ".0");
    std::vector<fs::path> kept{folder / ("zentag.wyn.zentagrafo-tmp.1.0"), // pid 1 always runs
                               folder / "notes.tmp.txt", folder / "thesis.tmp.2024.05",
                               folder / ("ZENTAG.0001.txt.tmp." + gonePid + ".0")}; // an old name, not fixed
    if (*GetParam() != '\0') // an old name of the program's is removed only in the program folder
        kept.push_back(folder / ("zentag.wyn.tmp." + gonePid + ".0"));
    for (const fs::path& file : kept)
        WriteBytes(file.string(), "left behind");
    WriteBytes(dead.string(), "left behind");
    if (isLinked)
        WriteBytes((folder / ("thesis.txt.zentagrafo-tmp." + gonePid + ".0")).string(), "a user's own");
    EXPECT_EQ(test::RunCaptured({"export", dir.str(), dir.file("TXT/ZENTAG.0002.txt")}).status, 0);
    EXPECT_FALSE(fs::exists(dead));
    for (const fs::path& file : kept)
        EXPECT_TRUE(fs::exists(file)) << file;
    EXPECT_TRUE(!isLinked || fs::exists(folder / ("thesis.txt.zentagrafo-tmp." + gonePid + ".0")));
}

INSTANTIATE_TEST_SUITE_P(Folders, StaleTempFiles, testing::Values("TXT", "ZESTAWY LICZB", "KOPIE", "", "linked"));

} // namespace
} // namespace zg
