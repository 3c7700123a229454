// SPDX-License-Identifier: GPL-3.0-or-later
// The download component against a real server on 127.0.0.1: progress and completion on the
// user-interface thread, one download at a time, STOP, and destruction while a download runs.
#include "download/HttpDownload.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <filesystem>
#include <memory>

using zg::HttpDownload;
using zg::test::HttpTestServer;
using zg::test::TempDir;

class HttpDownloadTest : public QObject {
    Q_OBJECT

private:
    static std::unique_ptr<HttpDownload> component(int port, const TempDir& dir) {
        auto get = std::make_unique<HttpDownload>();
        zg::TransferSettings settings;
        settings.url = "http://127.0.0.1/kolumbarix_wyniki.php?start=0";
        settings.fileName = dir.file("zentag");
        settings.port = port;
        get->setSettings(settings);
        return get;
    }

private slots:
    void progressAndCompletionRunOnTheUserInterfaceThread() {
        const std::string body(3000, '5');
        HttpTestServer server([&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer(body)); });
        TempDir dir;
        auto get = component(server.port(), dir);
        QList<int> bytesRead;
        bool offThread = false;
        connect(get.get(), &HttpDownload::progressed, this, [&](QObject*, int total, int r) {
            offThread = offThread || QThread::currentThread() != thread() || total != 3000;
            bytesRead << r;
        });
        QSignalSpy done(get.get(), &HttpDownload::finished);
        get->start();
        QVERIFY(get->isRunning());
        QVERIFY(done.wait(10000));
        QVERIFY(!offThread);
        QVERIFY(bytesRead.size() >= 3);
        QCOMPARE(bytesRead.last(), 3000);
        QCOMPARE(done.first().at(1).toByteArray(), QByteArray::fromStdString(get->settings().fileName));
        QCOMPARE(done.first().at(2).toInt(), 3000);
        QVERIFY(!get->isRunning());
        QCOMPARE(zg::test::ReadBytes(dir.file("zentag")), body);
    }

    void secondStartWhileBusyDoesNothingAndStopEndsWithOneError() {
        HttpTestServer server([](HttpTestServer& s, int fd) { s.WaitForClose(fd); });
        TempDir dir;
        auto get = component(server.port(), dir);
        QSignalSpy error(get.get(), &HttpDownload::failed);
        QSignalSpy done(get.get(), &HttpDownload::finished);
        get->start();
        get->start();
        QTest::qWait(200);
        get->cancel();
        QVERIFY(error.wait(10000));
        QTest::qWait(200);
        QCOMPARE(error.size(), 1);
        QCOMPARE(done.size(), 0);
        QVERIFY(std::filesystem::is_empty(dir.path()));
        get->cancel(); // idle: nothing happens
    }

    void destroyingTheComponentDuringADownloadNeitherHangsNorLeavesAFile() {
        HttpTestServer server([](HttpTestServer& s, int fd) {
            HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 60000000\r\n\r\n");
            const std::string block(4096, '1');
            while (!s.stopping() && ::send(fd, block.data(), block.size(), MSG_NOSIGNAL) > 0) {
            }
        });
        TempDir dir;
        auto get = component(server.port(), dir);
        bool destroyed = false;
        connect(get.get(), &HttpDownload::progressed, this, [&] {
            if (!destroyed) {
                destroyed = true;
                get.reset(); // the worker waits for this very report
            }
        });
        get->start();
        QTRY_VERIFY_WITH_TIMEOUT(destroyed, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::is_empty(dir.path()), 10000);
    }
};

QTEST_MAIN(HttpDownloadTest)
#include "http_download_test.moc"
