// SPDX-License-Identifier: GPL-3.0-or-later
// The two results downloads of the draw management window against a results server on
// 127.0.0.1: the latest draw appended (its refusals are checked in the core), the full download stored for the next
// start, STOP, and the button states while a download runs.
#include "app/Startup.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "database/DrawManager.h"
#include "download/HttpDownload.h"
#include "download/ResultsUpdate.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/ProgressGauge.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

// A program folder whose database holds 4,000 draws, loaded as start-up loads it.
struct Program {
    ProgramFolder folder;
    std::string database;
    std::unique_ptr<DrawManager> window;

    Program() {
        FillDraws(4000);
        database = DatabaseFileBytes(AllDraws());
        WriteBytes(path("zentag.wyn"), database);
        LoadProgramDatabase(nullptr);
        window = std::make_unique<DrawManager>();
        window->fillDrawGrid(nullptr, nullptr);
        Dialogs::ClearHistory();
    }
    std::string path(const char* name) const { return folder.file(QString::fromLatin1(name)).toStdString(); }
    void serve(const HttpTestServer& server) { window->setResultsServer(QStringLiteral("127.0.0.1"), server.port()); }
    void click(const char* name) { QTest::mouseClick(Find<QPushButton>(window.get(), name), Qt::LeftButton); }
    bool enabled(const char* name) const { return Find<QPushButton>(window.get(), name)->isEnabled(); }
    bool hidden(const char* name) const { return Find<QWidget>(window.get(), name)->isHidden(); }
    // Waits for the completion's last message and returns it.
    Dialogs::Shown lastMessage() {
        if (!QTest::qWaitFor([] { return !Dialogs::History().isEmpty(); }, 20000))
            return {};
        QTest::qWait(50);
        return Dialogs::History().last();
    }
};

} // namespace

class DrawManagerDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void latestDrawThatIsTheNextOneIsAppended() {
        Program p;
        HttpTestServer server([](HttpTestServer&, int fd) {
            HttpTestServer::Send(fd, HttpTestServer::Answer("4001 29 10 2013 " + Twenty + "\r\n"));
        });
        p.serve(server);
        p.click("downloadLatestButton");
        // While it runs: no second download, and nothing that its completion uses.
        for (const char* name :
             {"downloadLatestButton", "downloadAllButton", "importButton", "appendButton", "editButton", "okButton"})
            QVERIFY2(!p.enabled(name), name);
        QVERIFY(!p.hidden("stopDownloadButton"));
        QCOMPARE(p.lastMessage().caption, Q(AppendedCaption));
        QCOMPARE(DrawCount, 4001);
        QCOMPARE(DrawTable[4001].Numbers[19], 80);
        QVERIFY(CalendarDateOf(DrawTable[4001]) == (CalendarDate{29, 10, 2013})); // the server's date
        QVERIFY(ReadBytes(p.path("zentag.wyn")).size() > p.database.size());
        for (const char* name :
             {"downloadLatestButton", "downloadAllButton", "importButton", "appendButton", "editButton"})
            QVERIFY2(p.enabled(name), name);
        QVERIFY(p.hidden("stopDownloadButton"));
    }

    void fullDownloadIsStoredForTheNextStart() {
        Program p;
        std::string body; // draws 1, 2, ... as the merge of the next start takes them, blanks after them
        for (int k = 1; body.size() < 20000; ++k)
            body += std::to_string(k) + " 2004 1 1 " + Twenty + "\r\n";
        body.resize(20480, ' ');
        HttpTestServer server([&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer(body)); });
        p.serve(server);
        p.click("downloadAllButton");
        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.caption, Q(UpdateSucceededCaption));
        QCOMPARE(shown.text, Q(FullDownloadDoneText));
        QCOMPARE(Find<QLabel>(p.window.get(), "downloadLabel")->text(), QStringLiteral("20.00 / 20.00 kB"));
        QVERIFY(ReadBytes(p.path("zentag")) == body);
        QVERIFY(ReadBytes(p.path("zentag.wyn")) == p.database);
        QTRY_VERIFY(p.hidden("downloadGauge"));
    }

    // A file the merge of the next start would refuse fails at once, and nothing is stored.
    void fullDownloadThatIsNoResultsFileIsNotStored() {
        Program p;
        HttpTestServer server([](HttpTestServer&, int fd) {
            HttpTestServer::Send(fd, HttpTestServer::Answer("<html><body>Przerwa techniczna</body></html>"));
        });
        p.serve(server);
        p.click("downloadAllButton");
        QCOMPARE(p.lastMessage().text, Q(NotResultsFileText));
        QVERIFY(!std::filesystem::exists(p.path("zentag")));
        QVERIFY(ReadBytes(p.path("zentag.wyn")) == p.database);
    }

    // Run by a test entry of its own, with an empty libcurl.so.4 first on the library path: the
    // download fails with a message naming the library, and the database stays as it was.
    void downloadWithoutTheLibrary() {
        if (qEnvironmentVariableIsEmpty("ZG_TEST_NO_DOWNLOAD_LIBRARY"))
            QSKIP("runs only with the download library hidden");
        for (const char* button : {"downloadLatestButton", "downloadAllButton"}) {
            Program p;
            HttpTestServer server([](HttpTestServer& s, int fd) { s.WaitForClose(fd); });
            p.serve(server);
            p.click(button);
            const Dialogs::Shown shown = p.lastMessage();
            QCOMPARE(shown.caption, Q(UpdateFailedCaption));
            QCOMPARE(shown.text, Q(NoDownloadLibraryText));
            QTRY_VERIFY(p.hidden("stopDownloadButton"));
            QVERIFY(p.enabled(button));
            QVERIFY(ReadBytes(p.path("zentag.wyn")) == p.database);
            QVERIFY(!std::filesystem::exists(p.path("zentag")));
        }
    }

    void stopEndsADownloadThatHangs() {
        Program p;
        HttpTestServer server([](HttpTestServer& s, int fd) {
            HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 20480\r\n\r\n12345");
            s.WaitForClose(fd);
        });
        p.serve(server);
        p.click("downloadAllButton");
        QTRY_COMPARE(Find<QLabel>(p.window.get(), "downloadLabel")->text(), QStringLiteral("0.00 / 20.00 kB"));
        p.click("stopDownloadButton");
        QCOMPARE(p.lastMessage().text, Q(InterruptedText));
        QVERIFY(p.hidden("stopDownloadButton") && p.hidden("downloadLabel") && p.hidden("downloadGauge"));
        QVERIFY(!std::filesystem::exists(p.path("zentag")));
        QVERIFY(p.enabled("downloadAllButton"));
    }

    void editModeAndARunningDownloadEachKeepWhatTheyDisabled() {
        Program p;
        HttpTestServer server([](HttpTestServer& s, int fd) { s.WaitForClose(fd); });
        p.serve(server);
        p.window->show();
        p.click("downloadAllButton");
        p.click("editButton"); // edit the selected last draw while the full download runs
        p.click("stopDownloadButton");
        QCOMPARE(p.lastMessage().text, Q(InterruptedText));
        // The download's end leaves edit mode's disabled buttons alone.
        for (const char* name : {"downloadAllButton", "downloadLatestButton", "importButton", "appendButton"})
            QVERIFY2(!p.enabled(name), name);
        Dialogs::ClearHistory();
        p.click("okButton");
        QCOMPARE(p.lastMessage().caption, Q(EditedCaption));
        for (const char* name : {"downloadAllButton", "downloadLatestButton", "importButton", "appendButton"})
            QVERIFY2(p.enabled(name), name);
    }

    // A setting with something after the port must not reach the server it seems to name.
    void malformedServerSettingSendsNoRequest() {
        Program p;
        WriteBytes(p.path("zentagrafo.ini"), "[wyniki]\r\nserwer=127.0.0.1:8080/\r\n");
        p.click("downloadAllButton");
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Dialogs::History().last().caption, Q(UpdateFailedCaption));
        QCOMPARE(
            Dialogs::History().last().text,
            QStringLiteral("Niepoprawne ustawienie serwera wyników w pliku zentagrafo.ini: „serwer=127.0.0.1:8080/”. "
                           "Wpisz w sekcji [wyniki] serwer=HOST albo serwer=HOST:PORT (port od 1 do 65535), np. "
                           "serwer=wyniki.example.pl:8080. Nie wysłano żadnego zapytania."));
        QVERIFY(p.window->findChildren<HttpDownload*>().isEmpty()); // no transfer was started
        QVERIFY(p.hidden("stopDownloadButton") && p.enabled("downloadAllButton"));
    }

    void noServerSetPointsToTheImport() {
        if (ResultsHost() != "localhost")
            QSKIP("this build names a results server");
        for (const char* button : {"downloadLatestButton", "downloadAllButton"}) {
            Program p; // no zentagrafo.ini, no server given
            p.click(button);
            QCOMPARE(Dialogs::History().size(), 1);
            QCOMPARE(Dialogs::History().last().caption, QStringLiteral("Aktualizacja zakończona niepowodzeniem..."));
            QCOMPARE(Dialogs::History().last().text,
                     QStringLiteral("Nie ustawiono serwera wyników. Wpisz go w pliku zentagrafo.ini w folderze "
                                    "programu ([wyniki] serwer=…) albo wczytaj wyniki z pliku (Importuj z pliku…)."));
            QVERIFY(p.window->findChildren<HttpDownload*>().isEmpty());
        }
    }
};

QTEST_MAIN(DrawManagerDownloadTest)
#include "draw_manager_download_test.moc"
