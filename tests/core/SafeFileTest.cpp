// SPDX-License-Identifier: GPL-3.0-or-later
// Special files in every role, and files replaced completely or not at all, through the real
// readers and writers of the database, the set files, the reports and the command-line tool.
#include "app/cli/Commands.h"
#include "base/ReportWriter.h"
#include "database/DrawDatabase.h"
#include "sets/SetFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace zg {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string Group = "1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ";

std::vector<DrawRecord> OneDraw() {
    std::vector<DrawRecord> table(static_cast<std::size_t>(MaxDraws) + 1);
    EXPECT_EQ(ParseDatabase(Group, table.data()).drawCount, 1);
    return table;
}

// ---- Special files: refused at once, never read, never replaced ----

enum class Special { Fifo, Folder, DevZeroLink };

// One role of an outside file: `name` is the special file's name in the folder; the action
// returns whether the operation refused it, and must not ask anything.
struct Role {
    const char* title;
    const char* name;
    std::function<bool(const TempDir&, bool& asked)> refuses;
};

const std::vector<Role>& Roles() {
    static const std::vector<Role> roles = {
        {"DatabaseLoad", "zentag.wyn",
         [](const TempDir& d, bool&) { return !LoadDatabase(d.file("zentag.wyn"), OneDraw().data()).ok; }},
        {"SetFileRead", "set.txt", [](const TempDir& d, bool&) { return !ReadSetFile(d.file("set.txt")).ok(); }},
        {"WaitingDownload", "zentag",
         [](const TempDir& d, bool& asked) {
             WriteBytes(d.file("zentag.wyn"), Group + Group);
             const MergeResult r =
                 MergePendingDownload(d.file("zentag"), d.file("zentag.wyn"), [&] { return asked = true; });
             return r.skipped && !r.replaced && ReadBytes(d.file("zentag.wyn")) == Group + Group;
         }},
        {"DatabaseUnderMerge", "zentag.wyn",
         [](const TempDir& d, bool& asked) {
             WriteBytes(d.file("zentag"), Group);
             const MergeResult r =
                 MergePendingDownload(d.file("zentag"), d.file("zentag.wyn"), [&] { return asked = true; });
             return r.skipped && fs::exists(d.file("zentag"));
         }},
        {"ReportTarget", "report.txt",
         [](const TempDir& d, bool&) { return WriteReportFile(d.file("report.txt"), "x\r\n", d.str()).has_value(); }},
        {"SetFileTarget", "set.txt",
         [](const TempDir& d, bool&) {
             return WriteSetFile(d.file("set.txt"), SetMembers{false, true}, d.str()).has_value();
         }},
        {"DatabaseRewrite", "zentag.wyn",
         [](const TempDir& d, bool&) {
             const auto table = OneDraw();
             return !RewriteDatabase(d.file("zentag.wyn"), DrawsView{table.data(), 1}).ok;
         }},
        {"DatabaseAppend", "zentag.wyn",
         [](const TempDir& d, bool&) { return !AppendDrawRecord(d.file("zentag.wyn"), OneDraw()[1], 2004, false).ok; }},
        {"CliInfo", "zentag.wyn",
         [](const TempDir& d, bool&) {
             testing::internal::CaptureStderr();
             const int status = cli::RunCli({"info", d.str()});
             const std::string err = testing::internal::GetCapturedStderr();
             return status == 1 && err.find(LoadErrorText) == 0;
         }},
    };
    return roles;
}

class SpecialFiles : public ::testing::TestWithParam<std::tuple<Special, std::size_t>> {};

TEST_P(SpecialFiles, AreRefused) {
    const auto [kind, index] = GetParam();
    const Role& role = Roles()[index];
    TempDir dir;
    const std::string path = dir.file(role.name);
    if (kind == Special::Fifo)
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    else if (kind == Special::Folder)
        fs::create_directory(path);
    else
        fs::create_symlink("/dev/zero", path);
    const auto before = fs::symlink_status(path).type();

    bool asked = false;
    EXPECT_TRUE(role.refuses(dir, asked));
    EXPECT_FALSE(asked);
    EXPECT_EQ(fs::symlink_status(path).type(), before);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(TempFileMarker), std::string::npos) << entry.path();
}

std::string SpecialName(const ::testing::TestParamInfo<std::tuple<Special, std::size_t>>& info) {
    static const char* const kinds[] = {"Fifo", "Folder", "DevZeroLink"};
    return std::string(kinds[static_cast<int>(std::get<0>(info.param))]) + Roles()[std::get<1>(info.param)].title;
}

INSTANTIATE_TEST_SUITE_P(, SpecialFiles,
                         ::testing::Combine(::testing::Values(Special::Fifo, Special::Folder, Special::DevZeroLink),
                                            ::testing::Range<std::size_t>(0, 9)),
                         SpecialName);

// ---- Replacing a file: completely or not at all, and through a link at the link's target ----

// A writer of a whole file: `prepare` puts its input into `dir`, `write` writes into `path` and
// returns whether it succeeded; `bytes` is what the file then holds (empty: checked elsewhere).
struct Writer {
    const char* title;
    std::function<void(const TempDir&)> prepare;
    std::function<bool(const TempDir&, const std::string& path)> write;
    std::string bytes;
};

const std::string LongReport(3000, 'r');
const std::string Download = "1;2004;1;1;1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20\r\n";

SetMembers AllNumbers() {
    SetMembers all;
    all.fill(true);
    return all;
}

const std::vector<Writer>& Writers() {
    static const std::vector<Writer> writers = {
        {"Report", [](const TempDir&) {},
         [](const TempDir& d, const std::string& p) { return !WriteReportFile(p, LongReport, d.str()); }, LongReport},
        {"SetFile", [](const TempDir&) {},
         [](const TempDir& d, const std::string& p) { return !WriteSetFile(p, AllNumbers(), d.str()); },
         SetFileBytes(AllNumbers())},
        {"Rewrite", [](const TempDir&) {},
         [](const TempDir&, const std::string& p) {
             const auto table = OneDraw();
             return RewriteDatabase(p, DrawsView{table.data(), 1}).ok;
         },
         Group},
        {"Merge", [](const TempDir& d) { WriteBytes(d.file("zentag"), Download); },
         [](const TempDir& d, const std::string& p) {
             return MergePendingDownload(d.file("zentag"), p, [] { return true; }).ok;
         },
         "1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20  "},
        {"CliExport", [](const TempDir& d) { WriteBytes(d.file("zentag.wyn"), Group); },
         [](const TempDir& d, const std::string& p) {
             testing::internal::CaptureStdout();
             testing::internal::CaptureStderr();
             const int status = cli::RunCli({"export", d.str(), p});
             testing::internal::GetCapturedStdout();
             testing::internal::GetCapturedStderr();
             return status == 0;
         },
         ""},
    };
    return writers;
}

class FileReplacement : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FileReplacement, FailureKeepsTheOldFile) {
    const Writer& w = Writers()[GetParam()];
    TempDir dir;
    const std::string path = dir.file("out.txt");
    WriteBytes(path, "old content");
    w.prepare(dir);
    {
        test::FileSizeLimit limit(30);
        EXPECT_FALSE(w.write(dir, path));
    }
    EXPECT_EQ(ReadBytes(path), "old content");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(TempFileMarker), std::string::npos) << entry.path();
}

TEST_P(FileReplacement, LinkStaysALink) {
    const Writer& w = Writers()[GetParam()];
    for (const bool dangling : {false, true}) {
        TempDir dir;
        fs::create_directory(dir.path() / "real");
        if (!dangling)
            WriteBytes(dir.file("real/data.txt"), "old content");
        const std::string link = dir.file("out.txt");
        fs::create_symlink("real/data.txt", link);
        w.prepare(dir);
        ASSERT_TRUE(w.write(dir, link)) << dangling;
        EXPECT_TRUE(fs::is_symlink(link)) << dangling;
        if (!w.bytes.empty())
            EXPECT_EQ(ReadBytes(dir.file("real/data.txt")), w.bytes) << dangling;
        else
            EXPECT_NE(ReadBytes(dir.file("real/data.txt")), "old content") << dangling;
    }
}

std::string WriterName(const ::testing::TestParamInfo<std::size_t>& info) {
    return Writers()[info.param].title;
}

INSTANTIATE_TEST_SUITE_P(Writers, FileReplacement, ::testing::Range<std::size_t>(0, 5), WriterName);

} // namespace
} // namespace zg
