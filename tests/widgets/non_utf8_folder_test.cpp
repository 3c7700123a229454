// SPDX-License-Identifier: GPL-3.0-or-later
// A program folder whose path is not valid UTF-8 (a Latin-2 "ąę" in a parent folder): both
// downloads of the draw management window land in the folder itself, and a set file picked in the
// save dialog (which shows the folder's name as text) is written there and read back.
#include "app/Startup.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "database/DrawManager.h"
#include "download/ResultsUpdate.h"
#include "sets/SetEditor.h"
#include "support/HttpTestServer.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/FilePaths.h"
#include "ui/QtText.h"

#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace zg;
using namespace zg::test;

class NonUtf8FolderTest : public QObject {
    Q_OBJECT

private slots:
    void downloadsAndSetFilesLandInTheFolder() {
        const std::string twenty = "3 7 11 15 19 23 27 31 35 39 43 47 51 55 59 63 67 71 75 80";
        const std::string full = "1 2004 1 1 " + twenty + "\r\n";
        HttpTestServer server([&](HttpTestServer& s, int fd) {
            const bool latest = s.request().find("start=-1") != std::string::npos;
            HttpTestServer::Send(fd, HttpTestServer::Answer(latest ? "4001 1 1 2030 " + twenty + "\r\n" : full));
        });
        ProgramFolder program; // the test's state; the folder itself lies where only bytes name it
        TempDir base;
        const std::string folder = base.str() + "/zentagrafo \xb1\xea";
        for (const char* sub : {"", "/TXT", "/ZESTAWY LICZB"})
            std::filesystem::create_directory(folder + sub);
        AppDir = folder;
        FillDraws(4000);
        WriteBytes(folder + "/zentag.wyn", DatabaseFileBytes(AllDraws()));
        LoadProgramDatabase(nullptr);
        DrawManager window;
        window.fillDrawGrid(nullptr, nullptr);
        window.setResultsServer(QStringLiteral("127.0.0.1"), server.port());

        const auto downloaded = [&](const char* button, std::string_view message) {
            Dialogs::ClearHistory();
            QTest::mouseClick(Find<QPushButton>(&window, button), Qt::LeftButton);
            return QTest::qWaitFor([] { return !Dialogs::History().isEmpty(); }, 20000) &&
                   Dialogs::History().last().text == Q(message);
        };
        QVERIFY(downloaded("downloadLatestButton", AppendedText));
        QCOMPARE(DrawCount, 4001);
        QVERIFY(downloaded("downloadAllButton", FullDownloadDoneText));
        QVERIFY(ReadBytes(folder + "/zentag") == full);

        // The dialog hands back the path as text, in which the folder's bytes read as U+FFFD.
        SetEditor editor;
        QVERIFY(PathBytes(PathText(folder)) == folder);
        Click(&editor, "numberButton7");
        Dialogs::QueueFileName(PathText(folder + "/ZESTAWY LICZB/ZESTAW.0001.txt"));
        Click(&editor, "saveSetButton");
        QVERIFY(ReadBytes(folder + "/ZESTAWY LICZB/ZESTAW.0001.txt") == " 7");
        Dialogs::QueueFileName(PathText(folder + "/ZESTAWY LICZB/ZESTAW.0001.txt"));
        Click(&editor, "loadSetButton");
        QCOMPARE(Dialogs::History().last().text, QStringLiteral("Plik został wczytany pomyślnie :-)"));
    }
};

QTEST_MAIN(NonUtf8FolderTest)
#include "non_utf8_folder_test.moc"
