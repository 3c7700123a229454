// SPDX-License-Identifier: GPL-3.0-or-later
// The download component against a server that sends one byte per second: the user-interface
// thread keeps running while the download crawls, and STOP ends it with the error event, leaving
// no file and the database as it was.
#include "download/HttpDownload.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <thread>

using zg::HttpDownload;
using zg::test::HttpTestServer;
using zg::test::TempDir;

class HostileDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void oneBytePerSecondUntilStop() {
        HttpTestServer server([](HttpTestServer& s, int fd) {
            HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n");
            while (!s.stopping() && ::send(fd, "5", 1, MSG_NOSIGNAL) == 1)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        });
        TempDir dir;
        zg::test::WriteBytes(dir.file("zentag.wyn"), "1 2 3 ");
        HttpDownload get;
        zg::TransferSettings settings;
        settings.url = "http://127.0.0.1/kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=0";
        settings.fileName = dir.file("zentag");
        settings.port = server.port();
        get.setSettings(settings);

        // The user-interface thread's own work: a timer that must keep firing between progress reports.
        int ticks = 0;
        QList<int> ticksAtProgress;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        connect(&get, &HttpDownload::progressed, this, [&] { ticksAtProgress << ticks; });
        QSignalSpy error(&get, &HttpDownload::failed);
        QSignalSpy done(&get, &HttpDownload::finished);
        timer.start(20);
        get.start();
        QTRY_VERIFY_WITH_TIMEOUT(ticksAtProgress.size() >= 3, 20000);
        QVERIFY(ticksAtProgress[2] > ticksAtProgress[1] && ticksAtProgress[1] > ticksAtProgress[0]);

        get.cancel(); // STOP
        QVERIFY(error.wait(10000));
        QCOMPARE(done.size(), 0);
        QVERIFY(!get.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(dir.file("zentag")), 10000);
        QCOMPARE(zg::test::ReadBytes(dir.file("zentag.wyn")), std::string("1 2 3 "));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
};

QTEST_MAIN(HostileDownloadTest)
#include "hostile_download_test.moc"
