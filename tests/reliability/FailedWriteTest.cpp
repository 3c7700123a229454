// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer of the program on a full disk and in a read-only folder. The write runs in a child
// process: a full disk is a file-size limit (RLIMIT_FSIZE), a read-only folder is a folder and
// files without write permission, written as user "nobody" (root may write anything). After each
// failure the error is the system's text, nothing is reported as written, and the folder holds
// exactly the files it held before, byte for byte.
#include "base/ReportWriter.h"
#include "database/DrawDatabase.h"
#include "download/HttpTransfer.h"
#include "download/ResultsUpdate.h"
#include "sets/SetFile.h"
#include "support/ChildProcess.h"
#include "support/DrawTables.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace zg {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

enum class Failure { DiskFull, ReadOnlyFolder };

void PrintTo(Failure failure, std::ostream* out) {
    *out << (failure == Failure::DiskFull ? "full disk" : "read-only folder");
}

struct WriterCase {
    const char* name;
    // Puts the old files into the folder; returns the file-size limit that stops the write.
    std::function<rlim_t(const TempDir&)> prepare;
    // The write; nothing when it reports success, else its error text.
    std::function<std::optional<std::string>(const TempDir&)> write;
};

const std::vector<DrawRecord>& HundredDraws() {
    static const std::vector<DrawRecord> table = test::MakeTable(100);
    return table;
}

const std::string OldDatabase = DatabaseFileBytes(test::View(test::MakeTable(2)));

const WriterCase Writers[] = {
    {"Rewrite",
     [](const TempDir& dir) {
         WriteBytes(dir.file("zentag.wyn"), OldDatabase);
         return rlim_t{1000};
     },
     [](const TempDir& dir) -> std::optional<std::string> {
         const RewriteResult r = RewriteDatabase(dir.file("zentag.wyn"), test::View(HundredDraws()));
         return r.ok ? std::nullopt : std::optional(r.error);
     }},
    {"Append",
     [](const TempDir& dir) {
         WriteBytes(dir.file("zentag.wyn"), OldDatabase);
         return rlim_t{OldDatabase.size() + 10};
     },
     [](const TempDir& dir) -> std::optional<std::string> {
         const FileWriteResult r = AppendDrawRecord(dir.file("zentag.wyn"), HundredDraws()[3], 2008, false);
         return r.ok ? std::nullopt : std::optional(r.error);
     }},
    {"Merge",
     [](const TempDir& dir) {
         WriteBytes(dir.file("zentag.wyn"), OldDatabase);
         WriteBytes(dir.file("zentag"), DatabaseFileBytes(test::View(HundredDraws())));
         return rlim_t{1000};
     },
     [](const TempDir& dir) -> std::optional<std::string> {
         const MergeResult r = MergePendingDownload(dir.file("zentag"), dir.file("zentag.wyn"), [] { return true; });
         return r.ok || r.replaced || !r.pendingKept ? std::nullopt : std::optional(r.error);
     }},
    {"Report",
     [](const TempDir& dir) {
         WriteBytes(dir.file("ZENTAG.0001.txt"), "old report\r\n");
         return rlim_t{1000};
     },
     [](const TempDir& dir) {
         return WriteReportFile(dir.file("ZENTAG.0001.txt"), std::string(5000, 'x'), dir.str());
     }},
    {"SetFile",
     [](const TempDir& dir) {
         WriteBytes(dir.file("ZESTAW.0001.txt"), " 1 2 3");
         return rlim_t{10};
     },
     [](const TempDir& dir) {
         SetMembers all;
         all.fill(true);
         return WriteSetFile(dir.file("ZESTAW.0001.txt"), all, dir.str());
     }},
    {"Download",
     [](const TempDir& dir) {
         WriteBytes(dir.file("zentag"), "an earlier download");
         return rlim_t{1000};
     },
     [](const TempDir& dir) -> std::optional<std::string> {
         static test::HttpTestServer server([](test::HttpTestServer&, int fd) {
             test::HttpTestServer::Send(fd, test::HttpTestServer::Answer(std::string(5000, '7')));
         });
         TransferSettings settings;
         settings.url = ResultsUrl(false, "127.0.0.1");
         settings.fileName = dir.file("zentag");
         settings.port = server.port();
         TransferFlags flags;
         const TransferReport report = RunTransfer(settings, flags, {});
         if (DeliverTransfer(report, settings.fileName, flags.result))
             return std::nullopt;
         return report.error.substr(report.error.rfind(": ") + 2); // after the file's name
     }},
};

void PrintTo(const WriterCase& writer, std::ostream* out) {
    *out << writer.name;
}

std::map<std::string, std::string> FolderContent(const TempDir& dir) {
    std::map<std::string, std::string> content;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        content[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return content;
}

class FailedWrite : public ::testing::TestWithParam<std::tuple<WriterCase, Failure>> {};

TEST_P(FailedWrite, KeepsTheOldFiles) {
    // Plain names rather than structured bindings: clang 14 lets no lambda capture a binding.
    const WriterCase& writer = std::get<0>(GetParam());
    const Failure failure = std::get<1>(GetParam());
    TempDir dir;
    const rlim_t limit = writer.prepare(dir);
    const auto before = FolderContent(dir);
    if (failure == Failure::ReadOnlyFolder) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            ::chmod(entry.path().c_str(), 0444);
        ::chmod(dir.str().c_str(), 0555);
    }
    const test::ChildOutcome outcome = test::RunInChild([&](int out) {
        if (failure == Failure::DiskFull) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        } else if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        const std::optional<std::string> error = writer.write(dir);
        const std::string text = error ? *error : "reported as written";
        (void)!::write(out, text.data(), text.size());
    });
    ASSERT_TRUE(outcome.exitedZero);
    EXPECT_EQ(outcome.output, std::strerror(failure == Failure::DiskFull ? EFBIG : EACCES));
    EXPECT_EQ(FolderContent(dir), before);
}

INSTANTIATE_TEST_SUITE_P(, FailedWrite,
                         ::testing::Combine(::testing::ValuesIn(Writers),
                                            ::testing::Values(Failure::DiskFull, Failure::ReadOnlyFolder)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Failure::DiskFull ? "OnFullDisk" : "InReadOnlyFolder");
                         });

} // namespace
} // namespace zg
