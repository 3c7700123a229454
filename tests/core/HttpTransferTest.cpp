// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP transfer against a real server on 127.0.0.1: the request, the chunks and progress
// reports, what counts as complete, what is left on disk, and the stop flag.
#include "download/HttpTransfer.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

namespace zg {
namespace {

using test::HttpTestServer;
using test::ReadBytes;
using test::TempDir;

std::string Body(std::size_t size) {
    std::string body(size, ' ');
    for (std::size_t i = 0; i < size; ++i)
        body[i] = static_cast<char>('0' + i % 10);
    return body;
}

struct Outcome {
    TransferReport report;
    bool result = false;
    bool delivered = false;
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;
};

TransferSettings Settings(const std::string& url, const std::string& fileName, int port) {
    TransferSettings s;
    s.url = url;
    s.fileName = fileName;
    s.port = port;
    return s;
}

Outcome Download(const TempDir& dir, int port, const std::string& url = "http://127.0.0.1/a/b.php?x=1",
                 const std::function<void(TransferFlags&)>& onProgress = {}) {
    const TransferSettings s = Settings(url, dir.file("zentag"), port);
    TransferFlags flags;
    Outcome run;
    run.report = RunTransfer(s, flags, [&](std::int32_t total, std::int32_t bytesRead) {
        run.progress.emplace_back(total, bytesRead);
        if (onProgress)
            onProgress(flags);
    });
    run.result = flags.result;
    run.delivered = DeliverTransfer(run.report, s.fileName, run.result);
    return run;
}

std::size_t FilesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

TEST(HttpTransfer, ChunksWithProgressBecomeTheTarget) {
    const std::string body = Body(3000);
    HttpTestServer server([&](HttpTestServer&, int fd) {
        // In pieces larger than a chunk, so that splitting them is needed.
        HttpTestServer::Send(fd, HttpTestServer::Answer("200 OK", "", "3000"));
        HttpTestServer::Send(fd, body.substr(0, 2500));
        HttpTestServer::Send(fd, body.substr(2500));
    });
    TempDir dir;
    const Outcome run = Download(dir, server.port());

    EXPECT_TRUE(run.result);
    EXPECT_TRUE(run.delivered);
    EXPECT_EQ(run.report.fileSize, 3000);
    ASSERT_GE(run.progress.size(), 3u);
    std::int32_t previous = 0;
    for (const auto& [total, bytesRead] : run.progress) {
        EXPECT_EQ(total, 3000);
        EXPECT_GT(bytesRead, previous);
        EXPECT_LE(bytesRead - previous, 1025);
        previous = bytesRead;
    }
    EXPECT_EQ(previous, 3000);
    EXPECT_EQ(ReadBytes(dir.file("zentag")), body);
    EXPECT_EQ(FilesIn(dir), 1u); // no temporary file left

    const std::string request = server.request();
    EXPECT_EQ(request.rfind("GET /a/b.php?x=1 HTTP/1.0\r\n", 0), 0u) << request;
    for (const char* header :
         {"User-Agent: Orvanel HTTPGet\r\n", "Accept: */*\r\n", "Cache-Control: no-cache\r\n", "Pragma: no-cache\r\n"})
        EXPECT_NE(request.find(header), std::string::npos) << header;
}

struct FailingAnswer {
    const char* name;
    std::string answer;
    bool closeEarly; // the answer is cut off: the server closes after it
};

class HttpTransferFails : public testing::TestWithParam<FailingAnswer> {};

TEST_P(HttpTransferFails, LeavesNoFile) {
    HttpTestServer server([](HttpTestServer&, int fd) { HttpTestServer::Send(fd, GetParam().answer); });
    TempDir dir;
    const Outcome run = Download(dir, server.port());
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(run.delivered);
    EXPECT_EQ(FilesIn(dir), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    , HttpTransferFails,
    testing::Values(FailingAnswer{"EarlyClose", HttpTestServer::Answer("200 OK", Body(3000), "4000"), true},
                    FailingAnswer{"NoContentLength", HttpTestServer::Answer("200 OK", Body(3000), ""), false},
                    FailingAnswer{"NotFoundPage", HttpTestServer::Answer("404 Not Found", "<html>404</html>", "16"),
                                  false},
                    FailingAnswer{"ContentLengthNotANumber", HttpTestServer::Answer("200 OK", "12", "1e3"), false},
                    FailingAnswer{"ContentLengthAboveLimit", HttpTestServer::Answer("200 OK", "12", "67108865"), false},
                    FailingAnswer{"Redirect", HttpTestServer::Answer("302 Found", "", "0"), false}),
    [](const testing::TestParamInfo<FailingAnswer>& info) { return std::string(info.param.name); });

TEST(HttpTransfer, BodyBeyondTheLimitIsStopped) {
    HttpTestServer server([](HttpTestServer&, int fd) {
        HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\n\r\n");
        const std::string block(1 << 20, '7');
        for (int i = 0; i <= 64; ++i)
            HttpTestServer::Send(fd, block);
    });
    TempDir dir;
    const Outcome run = Download(dir, server.port());
    EXPECT_FALSE(run.result);
    EXPECT_GT(run.progress.back().second, TransferBodyLimit - 1025);
    EXPECT_LE(run.progress.back().second, TransferBodyLimit);
    EXPECT_EQ(FilesIn(dir), 0u);
}

// No server and an empty body both count as delivered with size 0 and leave no file.
TEST(HttpTransfer, NoServerOrEmptyBodyGivesSizeZero) {
    HttpTestServer server([](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer("")); });
    for (const int port : {test::ClosedPort(), server.port()}) {
        TempDir dir;
        const Outcome run = Download(dir, port);
        EXPECT_TRUE(run.result && run.delivered) << port;
        EXPECT_EQ(run.report.fileSize, 0) << port;
        EXPECT_EQ(run.report.responded, port == server.port());
        EXPECT_EQ(FilesIn(dir), 0u) << port;
    }
}

TEST(HttpTransfer, StopInTheMiddleFails) {
    HttpTestServer server([](HttpTestServer& s, int fd) {
        HttpTestServer::Send(fd, HttpTestServer::Answer("200 OK", Body(2000), "4000"));
        s.WaitForClose(fd);
    });
    TempDir dir;
    const Outcome run = Download(dir, server.port(), "http://127.0.0.1/x", [](TransferFlags& f) { f.stop = true; });
    EXPECT_FALSE(run.result);
    EXPECT_EQ(run.progress.size(), 1u); // nothing is written after the stop
    EXPECT_EQ(FilesIn(dir), 0u);
}

TEST(HttpTransfer, StopEndsAServerThatStaysSilent) {
    HttpTestServer server([](HttpTestServer& s, int fd) { s.WaitForClose(fd); });
    TempDir dir;
    TransferFlags flags;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        flags.stop = true;
    });
    const TransferReport report = RunTransfer(Settings("http://127.0.0.1/x", dir.file("ml"), server.port()), flags, {});
    stopper.join();
    EXPECT_FALSE(flags.result);
    EXPECT_FALSE(report.responded);
}

TEST(HttpTransfer, TargetThatCannotBeCreatedFails) {
    HttpTestServer server([](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer("12")); });
    TempDir dir;
    TransferFlags flags;
    RunTransfer(Settings("http://127.0.0.1/x", dir.file("missing/zentag"), server.port()), flags, {});
    EXPECT_FALSE(flags.result);
}

struct UrlCase {
    const char* url;
    const char* host;
    const char* path;
};

class SplitUrlTest : public testing::TestWithParam<UrlCase> {};

TEST_P(SplitUrlTest, GivesHostAndPath) {
    const UrlParts parts = SplitUrl(GetParam().url);
    EXPECT_EQ(parts.host, GetParam().host);
    EXPECT_EQ(parts.path, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Urls, SplitUrlTest,
                         testing::Values(UrlCase{"http://host/a/b.php?x=1", "host", "/a/b.php?x=1"},
                                         UrlCase{"HTTP://Host/", "Host", "/"}, UrlCase{"host/p", "host", "/p"},
                                         UrlCase{"http://hostonly", "", "hostonly"}));

} // namespace
} // namespace zg
