// SPDX-License-Identifier: GPL-3.0-or-later
// Two writers at once, each step taken at exactly the worst moment: one process is held by ptrace
// inside a system call of its write (a slow disk, without timing) while the other acts. No draw
// is written twice or lost, and a download swapped between its check and its copy never becomes
// the database unchecked.
#include "app/cli/Commands.h"
#include "database/DatabaseGuard.h"
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/DrawTables.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/syscall.h>
#include <thread>

namespace zg {
namespace {

using test::HttpTestServer;
using test::ReadBytes;
using test::WriteBytes;

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

// The window edits draw 300 of 300 and its write is held at the flush after its rename; meanwhile
// update --latest brings draw 301. Then the window appends "its" draw 301 with the stamp it kept.
TEST(TwoWriters, HeldEditAndLatestUpdateNoDuplicate) {
    test::TempDir dir;
    const std::string db = dir.file("zentag.wyn");
    std::vector<DrawRecord> table = test::MakeTable(301);
    table.pop_back();
    WriteBytes(db, DatabaseFileBytes(test::View(table)));
    const FileStamp loaded = ReadFileStamp(db);
    table[300].Numbers[0] = 1;
    HttpTestServer server([](HttpTestServer&, int fd) {
        HttpTestServer::Send(fd, HttpTestServer::Answer("301 1 1 2030 " + Twenty + "\r\n"));
    });
    int stampPipe[2];
    ASSERT_EQ(::pipe(stampPipe), 0);
    std::thread commandLine;
    int commandStatus = -1;
    const bool held = test::RunHeldAtSystemCall(
        [&] {
            DatabaseGuard guard(db, loaded);
            guard.Rewrite(test::View(table));
            (void)!::write(stampPipe[1], &guard.stamp(), sizeof(FileStamp));
        },
        // The second flush is the folder's, after the rename: the new file already has the name.
        [fsyncs = 0](long call, int) mutable { return call == SYS_fsync && ++fsyncs == 2; },
        [&] {
            commandLine =
                std::thread([&] { commandStatus = cli::RunCli(test::UpdateArgs(dir.str(), true, server.port())); });
            // Once its answer is out, the command goes for the lock.
            while (server.request().empty())
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        });
    commandLine.join();
    ASSERT_TRUE(held);
    FileStamp kept;
    ASSERT_EQ(::read(stampPipe[0], &kept, sizeof kept), static_cast<ssize_t>(sizeof kept));
    ::close(stampPipe[0]);
    ::close(stampPipe[1]);

    // Serialised: the command appended after the edit, which the window's stamp must not cover.
    // Refused: the command gave up, and the window's append is the next draw.
    DatabaseGuard next(db, kept);
    ASSERT_EQ(next.status(), commandStatus == 0 ? DatabaseGuard::Status::ChangedOutside : DatabaseGuard::Status::Ready);
    if (commandStatus != 0) {
        ASSERT_TRUE(next.Append(test::MakeTable(301)[301], 2008, false).ok);
    }
    std::vector<DrawRecord> after(static_cast<std::size_t>(MaxDraws) + 1);
    ASSERT_EQ(LoadDatabase(db, after.data()).drawCount, 301);
    for (std::int32_t k = 1; k <= 301; ++k)
        ASSERT_EQ(after[static_cast<std::size_t>(k)].Number, k);
    EXPECT_EQ(after[300].Numbers[0], 1) << "the edit was lost";
}

// The parameter: the sound download is there when the merge starts (the impossible one comes), or
// the other way round.
class SwappedDownload : public testing::TestWithParam<bool> {};

// The merge is held at each of its system calls in turn while the other download is renamed over
// "zentag": whichever it read, only those bytes, checked, may become the database.
TEST_P(SwappedDownload, MergesOnlyCheckedBytes) {
    const std::string sound = "1;01.12.1996;" + Twenty + "\r\n2;02.12.1996;" + Twenty + "\r\n";
    std::string converted = sound, attack; // the sound one as merged; impossible draws, all numbered 7
    std::replace_if(
        converted.begin(), converted.end(), [](char c) { return c < '0' || c > '9'; }, ' ');
    for (int i = 0; i < 3; ++i)
        attack += "7 1 1 1996 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5\r\n";
    test::TempDir dir;
    const std::string old = DatabaseFileBytes(test::View(test::MakeTable(2)));
    const auto merge = [&] { MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [] { return true; }); };
    const auto prepare = [&] {
        WriteBytes(dir.file("zentag.wyn"), old);
        WriteBytes(dir.file("zentag"), GetParam() ? sound : attack);
    };
    prepare();
    const int calls = test::RunAndKillAtSystemCall(merge, -1);
    int replaced = 0;
    for (int at = 0; at < calls; ++at) {
        prepare();
        test::RunHeldAtSystemCall(
            merge, [at](long, int index) { return index == at; },
            [&] {
                WriteBytes(dir.file("swap"), GetParam() ? attack : sound);
                std::rename(dir.file("swap").c_str(), dir.file("zentag").c_str());
            });
        const std::string after = ReadBytes(dir.file("zentag.wyn"));
        ASSERT_TRUE(after == old || after == converted) << "swapped at system call " << at;
        replaced += after != old;
    }
    EXPECT_GT(replaced, 0);
}

INSTANTIATE_TEST_SUITE_P(Swap, SwappedDownload, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "SoundFirst" : "DamagedFirst");
                         });

} // namespace
} // namespace zg
