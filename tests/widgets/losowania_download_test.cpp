// The two results downloads of the draw management window against a results server on
// 127.0.0.1: the latest draw appended or refused, the full download stored for the next start,
// STOP, a missing server, the button states, a second writer of the database and a damaged
// download at the next start.
#include "analysis/DateRoutines.h"
#include "app/Startup.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "database/PendingDownloadCheck.h"
#include "database/TLosowania.h"
#include "download/ResultsUpdate.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/QtText.h"
#include "ui/TGauge.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

const std::string Twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";

// A program folder whose database holds 4,000 draws, loaded as start-up loads it; draw 4000 is
// dated 28.10.2013.
struct Program {
    ProgramFolder folder;
    std::string database;
    std::unique_ptr<TLosowania> window;

    Program() {
        FillDraws(4000);
        database = DatabaseFileBytes(AllDraws());
        WriteBytes(path("zentag.wyn"), database);
        LoadProgramDatabase(nullptr);
        window = std::make_unique<TLosowania>();
        window->FormCreate(nullptr, nullptr);
        Dialogs::ClearHistory();
    }
    std::string path(const char* name) const { return folder.file(QString::fromLatin1(name)).toStdString(); }
    void serve(const HttpTestServer& server) { window->SetResultsServer(QStringLiteral("127.0.0.1"), server.port()); }
    void click(const char* name) { QTest::mouseClick(Find<QPushButton>(window.get(), name), Qt::LeftButton); }
    bool enabled(const char* name) const { return Find<QPushButton>(window.get(), name)->isEnabled(); }
    // Waits for the completion's last message and returns it.
    Dialogs::Shown lastMessage() {
        if (!QTest::qWaitFor([] { return !Dialogs::History().isEmpty(); }, 20000))
            return {};
        QTest::qWait(50);
        return Dialogs::History().last();
    }
};

} // namespace

class LosowaniaDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void latestDrawThatIsTheNextOneIsAppended() {
        Program p;
        HttpTestServer server([](HttpTestServer&, int fd) {
            HttpTestServer::Send(fd, HttpTestServer::Answer("4001 29 10 2013 " + Twenty + "\r\n"));
        });
        p.serve(server);
        p.click("BitBtn4");
        // While it runs: no second download, and nothing that its completion uses.
        for (const char* name : {"BitBtn4", "button1", "button4", "BitBtn1", "button3"})
            QVERIFY2(!p.enabled(name), name);
        QVERIFY(!Find<QPushButton>(p.window.get(), "stopbutton")->isHidden());

        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.caption, Q(AppendedCaption));
        QCOMPARE(DrawCount, 4001);
        const DrawRecord& d = DrawTable[4001];
        const DrawRecord& last = DrawTable[4000];
        std::int32_t day = last.Day, month = last.Month, year = last.Year;
        NextCalendarDay(day, month, year);
        QCOMPARE(d.Day, day);
        QCOMPARE(d.Month, month);
        QCOMPARE(d.Numbers[19], 80);
        QVERIFY(!std::filesystem::exists(p.path("ml")));
        QVERIFY(ReadBytes(p.path("zentag.wyn")).size() > p.database.size());
        QVERIFY(server.request().find("start=-1 HTTP/1.0") != std::string::npos);
        for (const char* name : {"BitBtn4", "button1", "button4", "BitBtn1"})
            QVERIFY2(p.enabled(name), name);
        QVERIFY(!p.enabled("button3"));
        QVERIFY(Find<QPushButton>(p.window.get(), "stopbutton")->isHidden());
    }

    void latestDrawRefused_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        const auto info = static_cast<int>(Dialogs::Icon::Information);
        const auto error = static_cast<int>(Dialogs::Icon::Error);
        QTest::newRow("equal") << QByteArray::fromStdString("4000 1 1 2020 " + Twenty) << Q(NotNextDrawText(4000))
                               << info;
        QTest::newRow("ahead") << QByteArray::fromStdString("4005 1 1 2020 " + Twenty) << Q(NotNextDrawText(4005))
                               << info;
        QTest::newRow("error page") << QByteArray("<html>Przerwa</html>") << Q(MalformedAnswerText) << error;
    }
    void latestDrawRefused() {
        QFETCH(QByteArray, answer);
        Program p;
        HttpTestServer server(
            [&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer(answer.toStdString())); });
        p.serve(server);
        p.click("BitBtn4");
        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.caption, Q(UpdateFailedCaption));
        QTEST(shown.text, "text");
        QTEST(static_cast<int>(shown.icon), "icon");
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(DrawCount, 4000);
        QVERIFY(ReadBytes(p.path("zentag.wyn")) == p.database);
        QVERIFY(!std::filesystem::exists(p.path("ml")));
    }

    void fullDownloadIsStoredForTheNextStart() {
        Program p;
        std::string body;
        while (body.size() < 20480)
            body += "1 2004 1 1 " + Twenty + "\r\n";
        body.resize(20480);
        HttpTestServer server([&](HttpTestServer&, int fd) { HttpTestServer::Send(fd, HttpTestServer::Answer(body)); });
        p.serve(server);
        p.click("button1");
        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.caption, Q(UpdateSucceededCaption));
        QCOMPARE(shown.text, Q(FullDownloadDoneText));
        QCOMPARE(Find<QLabel>(p.window.get(), "Label14")->text(), QStringLiteral("20.00 / 20.00 kB"));
        auto* gauge = Find<TGauge>(p.window.get(), "Gauge1");
        QCOMPARE(gauge->Progress(), 20480);
        QCOMPARE(gauge->MaxValue(), 20480);
        QVERIFY(ReadBytes(p.path("zentag")) == body);
        QVERIFY(ReadBytes(p.path("zentag.wyn")) == p.database);
        QTRY_VERIFY(gauge->isHidden());
        QVERIFY(Find<QLabel>(p.window.get(), "Label14")->isHidden());
    }

    void noServerShowsTheConnectionMessageAndLeavesNoDownload() {
        Program p;
        p.window->SetResultsServer(QStringLiteral("127.0.0.1"), ClosedPort());
        p.click("button1");
        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.caption, Q(UpdateFailedCaption));
        QCOMPARE(shown.text, Q(NoConnectionText));
        QVERIFY(!std::filesystem::exists(p.path("zentag")));
    }

    void stopEndsADownloadThatHangs() {
        Program p;
        HttpTestServer server([](HttpTestServer& s, int fd) {
            HttpTestServer::Send(fd, "HTTP/1.0 200 OK\r\nContent-Length: 20480\r\n\r\n12345");
            s.WaitForClose(fd);
        });
        p.serve(server);
        p.click("button1");
        QTRY_COMPARE(Find<QLabel>(p.window.get(), "Label14")->text(), QStringLiteral("0.00 / 20.00 kB"));
        p.click("stopbutton");
        const Dialogs::Shown shown = p.lastMessage();
        QCOMPARE(shown.text, Q(InterruptedText));
        QCOMPARE(shown.icon, Dialogs::Icon::Error);
        QVERIFY(Find<QPushButton>(p.window.get(), "stopbutton")->isHidden());
        QVERIFY(Find<QLabel>(p.window.get(), "Label14")->isHidden());
        QVERIFY(Find<TGauge>(p.window.get(), "Gauge1")->isHidden());
        QVERIFY(!std::filesystem::exists(p.path("zentag")));
        QVERIFY(p.enabled("button1"));
    }

    void editModeAndARunningDownloadEachKeepWhatTheyDisabled() {
        Program p;
        HttpTestServer server([](HttpTestServer& s, int fd) { s.WaitForClose(fd); });
        p.serve(server);
        p.window->show();
        p.click("button1");
        p.click("BitBtn1"); // edit the selected last draw while the full download runs
        QVERIFY(p.enabled("button3"));
        p.click("stopbutton");
        QCOMPARE(p.lastMessage().text, Q(InterruptedText));
        // The download's end leaves edit mode's disabled buttons alone.
        for (const char* name : {"button1", "BitBtn4", "button4"})
            QVERIFY2(!p.enabled(name), name);
        Dialogs::ClearHistory();
        p.click("button3");
        QCOMPARE(p.lastMessage().caption, Q(EditedCaption));
        for (const char* name : {"button1", "BitBtn4", "button4"})
            QVERIFY2(p.enabled(name), name);
    }

    void aDatabaseChangedByAnotherWriterIsNotWritten() {
        Program p;
        WriteBytes(p.path("zentag.wyn"), p.database + "4001 2013 10 29 " + Twenty + " ");
        const std::string changed = ReadBytes(p.path("zentag.wyn"));
        for (int n = 1; n <= 20; ++n)
            p.window->tickNumber(n);
        p.click("button4");
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Dialogs::History().last().caption, Q(ChangedOutsideCaption));
        QCOMPARE(Dialogs::History().last().text, Q(ChangedOutsideText));
        QCOMPARE(Dialogs::History().last().icon, Dialogs::Icon::Error);
        QCOMPARE(DrawCount, 4000);
        QVERIFY(ReadBytes(p.path("zentag.wyn")) == changed);
    }

    void aDamagedDownloadIsNotMergedAtTheNextStart() {
        ProgramFolder folder;
        const std::string database = "1 2004 1 1 " + Twenty + " ";
        WriteBytes(folder.file(QStringLiteral("zentag.wyn")).toStdString(), database);
        WriteBytes(folder.file(QStringLiteral("zentag")).toStdString(), "<html>" + std::string(100, 'x') + "</html>");
        LoadProgramDatabase(nullptr);
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Dialogs::History().first().caption, Q(DamagedDownloadCaption));
        QCOMPARE(Dialogs::History().first().text, Q(DamagedDownloadText));
        QCOMPARE(DrawCount, 1);
        QVERIFY(!std::filesystem::exists(folder.file(QStringLiteral("zentag")).toStdString()));
    }
};

QTEST_MAIN(LosowaniaDownloadTest)
#include "losowania_download_test.moc"
