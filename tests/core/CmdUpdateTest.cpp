// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli update against a results server on 127.0.0.1: the latest draw appended only when
// it is the next one, and the complete file stored for the next start.
#include "app/cli/Commands.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "download/ResultsUpdate.h"
#include "support/CliRun.h"
#include "support/DrawTables.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zg {
namespace {

using test::HttpTestServer;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

struct UpdateRun {
    int status;
    std::string out;
    std::string err;
    std::string request;
};

// A program folder with 4,000 draws; draw 4000 is dated 24.11.2019.
struct Folder {
    TempDir dir;
    std::string database;
    Folder() {
        database = DatabaseFileBytes(test::View(test::MakeTable(4000)));
        WriteBytes(dir.file("zentag.wyn"), database);
    }
    UpdateRun Run(bool latest, const std::string& answer) {
        HttpTestServer server([&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, answer); });
        return Run(latest, server.port(), &server);
    }
    UpdateRun Run(bool latest, int port, HttpTestServer* server = nullptr) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = cli::RunCli(test::UpdateArgs(dir.str(), latest, port));
        std::string out = testing::internal::GetCapturedStdout();
        return UpdateRun{status, out, testing::internal::GetCapturedStderr(), server ? server->request() : ""};
    }
};

// The server's date when it is a real one not before draw 4000's (24.11.2019, the only draw of
// that day), else the date "Dopisz" offers: the same day.
struct DateCase {
    const char* name;
    std::string sent;
    std::string stored;
};

class CmdUpdateLatest : public testing::TestWithParam<DateCase> {};

TEST_P(CmdUpdateLatest, AppendsTheNextDraw) {
    Folder f;
    const UpdateRun run = f.Run(true, HttpTestServer::Answer("4001 " + GetParam().sent + " " + Twenty + "\r\n"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(AppendedText) + "\n");
    EXPECT_EQ(run.request.rfind("GET /kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=-1 HTTP/1.0\r\n", 0), 0u);
    const std::string after = ReadBytes(f.dir.file("zentag.wyn"));
    ASSERT_EQ(after.substr(0, f.database.size()), f.database);
    EXPECT_EQ(after.substr(f.database.size()), " 4001 " + GetParam().stored + " " + Twenty + " ");
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("ml")));
}

INSTANTIATE_TEST_SUITE_P(Dates, CmdUpdateLatest,
                         testing::Values(DateCase{"DayFirst", "1 2 2020", "2020 2 1"},
                                         DateCase{"YearFirst", "2020 2 1", "2020 2 1"},
                                         DateCase{"BeforeLast", "23 11 2019", "2019 11 24"},
                                         DateCase{"NoRealDate", "29 2 2100", "2019 11 24"}),
                         [](const testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    std::string answer;
    std::string message;
};

class CmdUpdateRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(CmdUpdateRefusal, ChangesNothing) {
    Folder f;
    const UpdateRun run = f.Run(true, GetParam().answer);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().message);
    EXPECT_TRUE(ReadBytes(f.dir.file("zentag.wyn")) == f.database);
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
        EXPECT_TRUE(entry.path().filename() == "zentag.wyn" || entry.path().filename() == "zentag.wyn.lock")
            << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CmdUpdateRefusal,
    testing::Values(Refusal{"Equal", HttpTestServer::Answer("4000 1 2 2020 " + Twenty), NotNextDrawText(4000)},
                    Refusal{"Ahead", HttpTestServer::Answer("4005 1 2 2020 " + Twenty), NotNextDrawText(4005)},
                    Refusal{"Malformed", HttpTestServer::Answer("<html>Przerwa techniczna</html>"),
                            std::string(MalformedAnswerText)},
                    Refusal{"Repeat", HttpTestServer::Answer("4001 1 2 2020 3 3 " + Twenty.substr(4)),
                            std::string(AppendNotTwentyText)},
                    Refusal{"NotFound", HttpTestServer::Answer("404 Not Found", "4001", "4"),
                            std::string(InterruptedText)},
                    Refusal{"Empty", HttpTestServer::Answer(""), std::string(NoConnectionText)}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(CmdUpdateAll, StoresTheCompleteFileForTheNextStart) {
    Folder f;
    const std::string body = "1;01.12.1996;" + Twenty + "\r\n";
    const UpdateRun run = f.Run(false, HttpTestServer::Answer(body));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(FullDownloadDoneText) + "\n");
    EXPECT_NE(run.request.find("start=0 HTTP/1.0"), std::string::npos);
    EXPECT_EQ(ReadBytes(f.dir.file("zentag")), body);
    EXPECT_TRUE(ReadBytes(f.dir.file("zentag.wyn")) == f.database);
}

TEST(CmdUpdateAll, NoServerLeavesNoDownload) {
    Folder f;
    const UpdateRun run = f.Run(false, test::ClosedPort());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, std::string(NoConnectionText) + "\n");
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("zentag")));
}

TEST(CmdUpdateServer, NoServerSetPointsToTheImport) {
    if (ResultsHost() != "localhost")
        GTEST_SKIP() << "this build names a results server";
    Folder f;
    const test::CliRun run = test::RunCaptured({"update", f.dir.str(), "--latest"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "Nie ustawiono serwera wyników. Wpisz go w pliku zentagrafo.ini w folderze programu ([wyniki] serwer=…) "
              "albo wczytaj wyniki z pliku (zentagrafo-cli import).\n");
    EXPECT_TRUE(ReadBytes(f.dir.file("zentag.wyn")) == f.database);
}

// The server of zentagrafo.ini and the options that replace a part of it; PORT stands for the
// port of the test's server.
struct IniCase {
    const char* name;
    std::string server; // the value of serwer= in [wyniki]
    cli::Args options;
};

class CmdUpdateIni : public testing::TestWithParam<IniCase> {};

TEST_P(CmdUpdateIni, OptionsReplaceTheirPart) {
    const std::string body = "1;01.12.1996;" + Twenty + "\r\n";
    HttpTestServer server([&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer(body)); });
    const std::string port = std::to_string(server.port());
    const auto withPort = [&port](std::string text) {
        if (const auto at = text.find("PORT"); at != std::string::npos)
            text.replace(at, 4, port);
        return text;
    };
    Folder f;
    WriteBytes(f.dir.file("zentagrafo.ini"), "[wyniki]\nserwer=" + withPort(GetParam().server));
    cli::Args args{"update", f.dir.str(), "--all"};
    for (const std::string& option : GetParam().options)
        args.push_back(withPort(option));
    testing::internal::CaptureStdout();
    EXPECT_EQ(cli::RunCli(args), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ReadBytes(f.dir.file("zentag")) == body);
}

INSTANTIATE_TEST_SUITE_P(Ini, CmdUpdateIni,
                         testing::Values(IniCase{"IniOnly", "127.0.0.1:PORT", {}},
                                         IniCase{"HostOption", "nowhere.invalid:PORT", {"--host", "127.0.0.1"}},
                                         IniCase{"PortOption", "127.0.0.1:1", {"--port", "PORT"}}),
                         [](const testing::TestParamInfo<IniCase>& info) { return std::string(info.param.name); });

TEST(CmdUpdateServer, AMalformedSettingSendsNoRequest) {
    Folder f;
    WriteBytes(f.dir.file("zentagrafo.ini"), "[wyniki]\nserwer=http://127.0.0.1/\n");
    const UpdateRun run = f.Run(false, HttpTestServer::Answer("1"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.err.rfind("Niepoprawne ustawienie serwera wyników w pliku zentagrafo.ini: „serwer=http://127.0.0.1/”.", 0),
        0u)
        << run.err;
    EXPECT_EQ(run.request, "");
}

} // namespace
} // namespace zg
