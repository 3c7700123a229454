// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile results servers on 127.0.0.1: whatever a server answers, the local database stays as it
// was and the expected message is given. Each request goes through zentagrafo-cli update as a
// scheduled job would run it.
#include "app/cli/Commands.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "download/HttpTransfer.h"
#include "download/ResultsUpdate.h"
#include "support/CliRun.h"
#include "support/DrawTables.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace zg {
namespace {

using test::HttpTestServer;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

std::string Garbage(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Sends a head without Content-Length and then blocks of digits until the client goes.
void Endless(HttpTestServer& server, int fd) {
    HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\n\r\n");
    const std::string block(65536, '7');
    while (!server.stopping() && ::send(fd, block.data(), block.size(), MSG_NOSIGNAL) > 0) {
    }
}

// Sends a status line and then header lines without end until the client goes.
void EndlessHead(HttpTestServer& server, int fd) {
    HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\n");
    const std::string line = "X-Padding: " + std::string(1000, 'a') + "\r\n";
    while (!server.stopping() && ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) > 0) {
    }
}

struct Hostile {
    const char* name;
    bool latest;
    std::function<void(HttpTestServer&, int)> answer;
    std::string message; // the first line the command prints
};

std::function<void(HttpTestServer&, int)> Sends(std::string bytes) {
    return [bytes](HttpTestServer&, int fd) { HttpTestServer::Send(fd, bytes); };
}

class HostileServer : public testing::TestWithParam<Hostile> {};

TEST_P(HostileServer, ChangesNothing) {
    const Hostile& h = GetParam();
    TempDir dir;
    const std::string database = DatabaseFileBytes(test::View(test::MakeTable(4000)));
    WriteBytes(dir.file("zentag.wyn"), database);
    HttpTestServer server(h.answer);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli::RunCli(test::UpdateArgs(dir.str(), h.latest, server.port()));
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.substr(0, out.find('\n')), h.message);
    EXPECT_TRUE(ReadBytes(dir.file("zentag.wyn")) == database);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_TRUE(entry.path().filename() == "zentag.wyn" || entry.path().filename() == "zentag.wyn.lock")
            << entry.path() << " stays";
}

const std::string SoundFile = "1;01.12.1996;" + Twenty + "\r\n";

// A complete file the merge of the next start would refuse is not stored: it fails at once.
INSTANTIATE_TEST_SUITE_P(
    , HostileServer,
    testing::Values(
        Hostile{"EndlessPastTheCap", false, Endless, std::string(InterruptedText)},
        Hostile{"LongerLengthThanBody", false, Sends(HttpTestServer::Answer("200 OK", std::string(3000, '5'), "5000")),
                std::string(InterruptedText)},
        Hostile{"ShorterLengthThanBody", true, Sends(HttpTestServer::Answer("200 OK", "4001 1 2 2020 " + Twenty, "30")),
                std::string(MalformedAnswerText)},
        Hostile{"GarbageAsLatest", true, Sends(HttpTestServer::Answer(Garbage(3000))),
                std::string(MalformedAnswerText)},
        Hostile{"GarbageAsAll", false, Sends(HttpTestServer::Answer(Garbage(3000))), std::string(NotResultsFileText)},
        Hostile{"HtmlPageAsAll", false,
                Sends(HttpTestServer::Answer("<html><body><h1>Przerwa techniczna</h1> 2020</body></html>\r\n")),
                std::string(NotResultsFileText)},
        Hostile{"GzipAsAll", false, Sends(HttpTestServer::Answer("\x1f\x8b\x08\x00" + Garbage(3000))),
                std::string(NotResultsFileText)},
        Hostile{"ThreeBytesAsAll", false, Sends(HttpTestServer::Answer("1 2")), std::string(NotResultsFileText)},
        Hostile{"PartialContentAsAll", false,
                Sends(HttpTestServer::Answer("206 Partial Content", SoundFile, std::to_string(SoundFile.size()))),
                std::string(NotResultsFileText)},
        Hostile{"NegativeLength", false,
                Sends(HttpTestServer::Answer("200 OK", SoundFile, "-" + std::to_string(SoundFile.size()))),
                std::string(BadAnswerText)},
        Hostile{"JunkWithoutHead", false, Sends(Garbage(3000)), std::string(BadAnswerText)},
        Hostile{"EndlessHead", true, EndlessHead, std::string(BadAnswerText)},
        Hostile{"ClosedMidHeader", true, Sends("HTTP/1.0 200 OK\r\nContent-Le"), std::string(NoConnectionText)}),
    [](const testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zg
