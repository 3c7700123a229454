// SPDX-License-Identifier: GPL-3.0-or-later
// The draw management window driven through its real controls, with the database file checked
// byte for byte. Write failures are real: a file-size limit makes the kernel refuse the write
// (the tests may run as root, so permissions would not stop them).
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "database/Backups.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "database/DrawManager.h"
#include "database/ResultsImport.h"
#include "support/FileSizeLimit.h"
#include "support/ReportBytes.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/QtText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMimeData>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <functional>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

// One draw group as the year-first file holds it (every value followed by a space).
std::string Group(int number, int year, int month, int day, int first) {
    std::string s = std::to_string(number) + " " + std::to_string(year) + " " + std::to_string(month) + " " +
                    std::to_string(day) + " ";
    for (int i = 0; i < 20; ++i)
        s += std::to_string(first + i) + " ";
    return s;
}

// Writes the database, loads it as start-up does and opens the window.
std::unique_ptr<DrawManager> StartWith(const ProgramFolder& folder, const std::string& bytes) {
    WriteBytes(folder.file("zentag.wyn").toStdString(), bytes);
    LoadProgramDatabase(nullptr);
    Dialogs::ClearHistory();
    auto w = std::make_unique<DrawManager>();
    w->fillDrawGrid(nullptr, nullptr);
    return w;
}

std::string DatabaseBytes(const ProgramFolder& folder) {
    return ReadBytes(folder.file("zentag.wyn").toStdString());
}

void ClickBoxes(DrawManager& w, int from, int to) {
    for (int n = from; n <= to; ++n)
        QTest::mouseClick(Find<QCheckBox>(&w, qPrintable(QStringLiteral("numberBox%1").arg(n))), Qt::LeftButton);
}

void SelectRow(DrawManager& w, int row) {
    auto* grid = Find<QTableView>(&w, "drawGrid");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 5)).center());
}

void ExpectMessage(const QString& caption, const QString& text) {
    QVERIFY(!Dialogs::History().isEmpty());
    QCOMPARE(Dialogs::History().back().caption, caption);
    QCOMPARE(Dialogs::History().back().text, text);
}

const QString Refusal = QStringLiteral("Pouczenie...");

// A results file's line: `start`, then `count` numbers from `first`, each after a comma.
std::string ResultsLine(std::string s, int first, int count) {
    for (int i = 0; i < count; ++i)
        s += "," + std::to_string(first + i);
    return s + "\r\n";
}

// Runs `act` on the import summary once it shows, inside its own event loop.
void OnImportSummary(const std::function<void(QWidget*)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        QWidget* summary = QApplication::activeModalWidget();
        if (summary != nullptr && summary->objectName() == QLatin1String("importDialog")) {
            poll->stop();
            poll->deleteLater();
            act(summary);
        }
    });
    poll->start(10);
}

// 30 draws of 1..20 in January 2004, the windows wired as start-up wires them, and a search for
// the number 1 that finds every draw of the range (the whole table).
ProgramWindows StartWithSearch(const ProgramFolder& folder, std::string& db) {
    for (int k = 1; k <= 30; ++k)
        db += Group(k, 2004, 1, k, 1);
    WriteBytes(folder.file("zentag.wyn").toStdString(), db);
    ProgramWindows windows = CreateProgramWindows();
    windows.main->applyConfirmedSet(MakeSet({1}));
    Click(windows.main.get(), "searchButton");
    Dialogs::ClearHistory();
    return windows;
}

} // namespace

class DrawManagerTest : public QObject {
    Q_OBJECT

private slots:
    // The date field offers the last draw's date when that day holds one draw, else the next day.
    void append_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("firstDay"); // of the first draw; the second is dated `day`
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("appended"); // empty: refused
        QTest::newRow("19 ticks") << 19 << 9 << 10 << 5 << 2004 << QString();
        QTest::newRow("21 ticks") << 21 << 9 << 10 << 5 << 2004 << QString();
        QTest::newRow("one on 10.05.2004") << 20 << 9 << 10 << 5 << 2004 << " 3 2004 5 10";
        QTest::newRow("two on 28.02.2003") << 20 << 28 << 28 << 2 << 2003 << " 3 2003 3 1";
        QTest::newRow("two on 28.02.2004") << 20 << 28 << 28 << 2 << 2004 << " 3 2004 2 29";
        QTest::newRow("two on 31.12.2004") << 20 << 31 << 31 << 12 << 2004 << " 3 2005 1 1";
    }
    void append() {
        QFETCH(int, ticks);
        QFETCH(int, firstDay);
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QString, appended);
        ProgramFolder folder;
        // The draws are stored as numbers 6 and 7: the appended draw still gets its ordinal, 3.
        const std::string db = Group(6, year, month, firstDay, 1) + Group(7, year, month, day, 1);
        auto w = StartWith(folder, db);
        ClickBoxes(*w, 41, 40 + ticks);
        Click(w.get(), "appendButton");
        if (appended.isEmpty()) {
            ExpectMessage(Refusal, QStringLiteral("Najpierw musisz zaznaczyć 20 wylosowanych liczb !!!"));
            QCOMPARE(DatabaseBytes(folder), db);
            QCOMPARE(w->gridModel()->rowCount(), 2);
            return;
        }
        ExpectMessage(QStringLiteral("Dopisano nowe wyniki..."),
                      QStringLiteral("Operacja dopisywania wyników zakończona pomyślnie :-)"));
        QCOMPARE(DatabaseBytes(folder),
                 db + appended.toStdString() + " 41 42 43 44 45 46 47 48 49 50 51 52 53 54 55 56 57 58 59 60 ");
        QCOMPARE(w->gridModel()->cellText(2, 0), QStringLiteral(" 0003"));
        QCOMPARE(Text(w.get(), "tickedCountValue"), QStringLiteral("00/20"));
        QCOMPARE(Find<QGroupBox>(w.get(), "numberBoxesGroup")->title(),
                 QStringLiteral("Zaznacz wylosowane liczby w losowaniu nr 4 i naciśnij \"Dopisz\""));
    }

    void editRowNineThenConfirmWithAnotherRowSelected() {
        ProgramFolder folder;
        // Day-first file of 12 draws: the rewrite writes it year-first.
        std::string db, expected;
        for (int k = 1; k <= 12; ++k) {
            db += std::to_string(k) + " " + std::to_string(k) + " 3 2004";
            for (int i = 0; i < 20; ++i)
                db += " " + std::to_string(k + i);
            db += "\r\n";
            expected += Group(k, 2004, 3, k, k == 10 ? 11 : k);
        }
        auto w = StartWith(folder, db);
        w->show();
        SelectRow(*w, 9);
        Click(w.get(), "editButton");
        QCOMPARE(Find<QGroupBox>(w.get(), "numberBoxesGroup")->title(),
                 QStringLiteral("Edycja losowania nr 10...zaznacz 20 liczb i naciśnij \"OK\""));
        QVERIFY(!Enabled(w.get(), "appendButton") && !Enabled(w.get(), "downloadAllButton") &&
                !Enabled(w.get(), "downloadLatestButton"));
        SelectRow(*w, 2);
        ClickBoxes(*w, 10, 10); // untick 10
        Click(w.get(), "okButton");
        ExpectMessage(Refusal, QStringLiteral("Musisz zaznaczyć 20 wylosowanych liczb !!!"));
        ClickBoxes(*w, 30, 30);
        Click(w.get(), "okButton");
        ExpectMessage(QStringLiteral("Zmiana bazy wyników..."),
                      QStringLiteral("Operacja edycji wyników zakończona pomyślnie :-)"));
        QCOMPARE(DatabaseBytes(folder), expected);
        QCOMPARE(w->gridModel()->cellText(9, 4), QStringLiteral(" 11"));
        QVERIFY(!w->editMode() && Enabled(w.get(), "appendButton"));
    }

    void numberMapShowsTheSelectedDraw() {
        ProgramFolder folder;
        auto w = StartWith(folder, Group(1, 2004, 1, 1, 1) + Group(2, 2004, 1, 2, 41));
        NumberMapModel* map = w->mapModel();
        w->show(); // selects the last draw: 41..60
        QCOMPARE(map->index(8, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 0));
        QCOMPARE(map->index(7, 4).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 128, 255));
        SelectRow(*w, 0);
        QVERIFY(map->cellMarked(0, 0) && !map->cellMarked(8, 0));
    }

    void exportOfTwoDraws() {
        ProgramFolder folder;
        auto w = StartWith(folder, Group(42, 2004, 3, 7, 1) + Group(43, 2004, 3, 8, 61));
        const QString path = folder.file("TXT/baza.txt");
        Dialogs::QueueFileName(path);
        Click(w.get(), "exportButton");
        QCOMPARE(Dialogs::History()[0].text, QStringLiteral("ZENTAG.0001.txt"));
        ExpectMessage(QStringLiteral(" Zapis do pliku zakończony pomyślnie"),
                      QStringLiteral("Baza wyników losowań została umieszczona w pliku \"") + path +
                          QStringLiteral("\""));
        QCOMPARE(ReadBytes(path.toStdString()),
                 ReportHeaderBytes + "\t\tBaza losowa\xF1 Multi Lotka w programie ZENTAGRAFO\r\n\r\n" +
                     "0042;07;03;2004;01;02;03;04;05;06;07;08;09;10;11;12;13;14;15;16;17;18;19;20;\r\n" +
                     "0043;08;03;2004;61;62;63;64;65;66;67;68;69;70;71;72;73;74;75;76;77;78;79;80;\r\n" + "\r\n" +
                     ReportFooterBytes);
    }

    // The save dialog turns down the program's own files before any question about replacing them
    // and stays open; the next name is written.
    void exportRefusesTheProgramsOwnFiles() {
        ProgramFolder folder;
        const std::string db = Group(42, 2004, 3, 7, 1);
        auto w = StartWith(folder, db);
        QVERIFY(QDir().mkpath(folder.file("KOPIE")));
        QVERIFY(QFile::link(folder.file("zentag.wyn.lock"), folder.file("TXT/lock.txt")));
        const QString refused[] = {folder.file("TXT/../zentag.wyn"), folder.file("./TXT/lock.txt"),
                                   folder.file("KOPIE/nowa.txt")};
        for (const QString& path : refused)
            Dialogs::QueueFileName(path);
        Dialogs::QueueFileName(folder.file("TXT/baza.txt"));
        Click(w.get(), "exportButton");
        const QStringList kinds = {QStringLiteral("plik bazy wyników programu"),
                                   QStringLiteral("plik blokady bazy wyników programu"),
                                   QStringLiteral("plik kopii bazy wyników programu")};
        QCOMPARE(Dialogs::History().size(), 5); // the dialog, three refusals, the confirmation
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Dialogs::History()[i + 1].icon, Dialogs::Icon::Warning);
            QCOMPARE(Dialogs::History()[i + 1].text, QStringLiteral("Tego pliku nie można zastąpić raportem: to ") +
                                                         kinds[i] + QStringLiteral(". Wybierz inną nazwę."));
        }
        QCOMPARE(DatabaseBytes(folder), db);
        QVERIFY(!QFile::exists(folder.file("KOPIE/nowa.txt")));
        QVERIFY(QFile::exists(folder.file("TXT/baza.txt")));
    }

    void failedAppendChangesNothingAndTheRetryWorks() {
        ProgramFolder folder;
        const std::string db = Group(1, 2004, 1, 1, 1);
        auto w = StartWith(folder, db);
        ClickBoxes(*w, 1, 20);
        {
            FileSizeLimit limit(db.size() + 10);
            Click(w.get(), "appendButton");
        }
        ExpectMessage(QStringLiteral("ZENTAGRAFO"), QString::fromUtf8(std::strerror(EFBIG)));
        QCOMPARE(DatabaseBytes(folder), db);
        QCOMPARE(w->gridModel()->rowCount(), 1);
        Click(w.get(), "appendButton");
        QCOMPARE(DatabaseBytes(folder), db + " 2 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
    }

    // "Dopisz" refuses a date before the last draw's and writes nothing; "Edytuj" shows the draw's
    // date and "OK" stores the field's.
    void entryDateIsCheckedAndStored() {
        ProgramFolder folder;
        const std::string db = Group(1, 2004, 3, 1, 1) + Group(2, 2004, 3, 3, 1) + Group(3, 2004, 3, 5, 1);
        auto w = StartWith(folder, db);
        w->show();
        auto* field = Find<QDateEdit>(w.get(), "drawDateField");
        QCOMPARE(field->text(), QStringLiteral("05.03.2004"));
        ClickBoxes(*w, 41, 60);
        w->setEntryDate({4, 3, 2004});
        Click(w.get(), "appendButton");
        ExpectMessage(Refusal, QStringLiteral("Data losowania 04.03.2004 jest wcześniejsza niż data poprzedniego "
                                              "losowania (nr 3 z 05.03.2004). Baza wyników nie została zmieniona."));
        SelectRow(*w, 1);
        Click(w.get(), "editButton");
        QCOMPARE(field->text(), QStringLiteral("03.03.2004"));
        QCOMPARE(DatabaseBytes(folder), db);
        w->setEntryDate({4, 3, 2004});
        Click(w.get(), "okButton");
        QCOMPARE(DatabaseBytes(folder), Group(1, 2004, 3, 1, 1) + Group(2, 2004, 3, 4, 1) + Group(3, 2004, 3, 5, 1));
        QCOMPARE(w->gridModel()->cellText(1, 1), QStringLiteral(" 04"));
        QCOMPARE(field->text(), QStringLiteral("05.03.2004")); // the "Dopisz" default again
    }

    // The limit stops the backup already: the write is refused with the system's reason and no
    // backup stays.
    void failedConfirmPutsTheOldNumbersBack() {
        ProgramFolder folder;
        const std::string db = Group(1, 2004, 1, 1, 1);
        auto w = StartWith(folder, db);
        w->show();
        Click(w.get(), "editButton");
        ClickBoxes(*w, 20, 21); // 20 out, 21 in
        {
            FileSizeLimit limit(10);
            Click(w.get(), "okButton");
        }
        ExpectMessage(QStringLiteral("ZENTAGRAFO"), Q(BackupFailedText(std::strerror(EFBIG))));
        QCOMPARE(DatabaseBytes(folder), db);
        QVERIFY(QDir(folder.file("KOPIE")).entryList(QDir::Files).isEmpty());
        QCOMPARE(DrawTable[1].Numbers[19], 20);
        QCOMPARE(w->gridModel()->cellText(0, 23), QStringLiteral(" 20"));
        QVERIFY(w->editMode() && w->isTicked(21));
    }

    void appendToAMissingFileIsRefused() {
        ProgramFolder folder;
        // The file the program loaded is gone: the append does not start a new one.
        auto w = StartWith(folder, Group(1, 2004, 1, 1, 1));
        QFile::remove(folder.file("zentag.wyn"));
        ClickBoxes(*w, 1, 20);
        Click(w.get(), "appendButton");
        ExpectMessage(Refusal, Q(ChangedOutsideText));
        QVERIFY(!QFile::exists(folder.file("zentag.wyn")));
    }

    void notLoadedWholeRefusesChanges_data() {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("loadMessage"); // caption and text of the one message of the load
        QTest::newRow("short last group")
            << QString::fromStdString(Group(1, 2004, 1, 1, 1) + "2 2004 1 2 5 ") << QString();
        QTest::newRow("failed load") << QString::fromStdString(Group(1, 2004, 1, 1, 1) + "x ")
                                     << QStringLiteral("Błąd!") + Q(LoadErrorText);
        // A value lost in the middle (the Number of draw 2) shifts every later draw.
        std::string shifted = Group(1, 2004, 1, 1, 1) + Group(2, 2004, 1, 2, 1) + Group(3, 2004, 1, 3, 1) + "7";
        shifted.erase(shifted.find(" 2 2004 ") + 1, 2);
        QTest::newRow("shifted") << QString::fromStdString(shifted)
                                 << "Uwaga!Baza wyników wygląda na uszkodzoną od losowania nr 2. Wyniki analiz mogą "
                                    "być błędne. Sprawdź plik zentag.wyn (zentagrafo-cli info) albo zastąp bazę "
                                    "wynikami z pliku.";
    }
    void notLoadedWholeRefusesChanges() {
        QFETCH(QString, content);
        QFETCH(QString, loadMessage);
        ProgramFolder folder;
        WriteBytes(folder.file("zentag.wyn").toStdString(), content.toStdString());
        LoadProgramDatabase(nullptr);
        QStringList shown;
        for (const auto& m : Dialogs::History())
            shown << m.caption + m.text;
        QCOMPARE(shown.join(QLatin1Char('\n')), loadMessage);
        if (loadMessage.startsWith(QStringLiteral("Uwaga!")))
            QCOMPARE(Dialogs::History()[0].icon, Dialogs::Icon::Warning);
        auto w = std::make_unique<DrawManager>();
        ClickBoxes(*w, 1, 20);
        Click(w.get(), "appendButton");
        ExpectMessage(Refusal, QStringLiteral("Baza wyników nie została wczytana w całości, dlatego nie można jej "
                                              "teraz zmieniać. Popraw plik zentag.wyn albo pobierz wszystkie wyniki "
                                              "i uruchom program ponownie."));
        QCOMPARE(DatabaseBytes(folder), content.toStdString());
        QVERIFY(Enabled(w.get(), "downloadAllButton")); // "Pobierz wszystkie" stays the way out
    }

    // Tab leaves the grid, whose rows the arrows move, and reaches every button of the window.
    void tabLeavesTheGridAndReachesEveryButton() {
        ProgramFolder folder;
        FillDraws(30);
        DrawManager w;
        w.fillDrawGrid(nullptr, nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* grid = Find<QTableView>(&w, "drawGrid");
        QTest::keyClick(grid, Qt::Key_Up);
        QSet<QWidget*> reached;
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        } while (QApplication::focusWidget() != grid && reached.size() < 200);
        QCOMPARE(grid->selectionModel()->selectedRows().value(0).row(), 28);
        QVERIFY(reached.contains(Find<QDateEdit>(&w, "drawDateField")));
        // The 80 boxes are one Tab stop (their arrow keys: keyboard_focus_test).
        for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
            QVERIFY2(reached.contains(b) || !b->isEnabled() || !b->isVisible() ||
                         (b->objectName().startsWith(QLatin1String("numberBox")) && b->objectName() != "numberBox1"),
                     qPrintable(b->objectName()));
    }

    // The prompt and the line of 20 ticked numbers are read whole, also at their longest.
    // A full database says so in the prompt.
    void longTextsShowWhole() {
        ProgramFolder folder;
        FillDraws(MaxDraws);
        DrawManager w;
        w.fillDrawGrid(nullptr, nullptr);
        auto* group = Find<QGroupBox>(&w, "numberBoxesGroup");
        QCOMPARE(group->title(),
                 QStringLiteral("Baza wyników jest pełna: program przechowuje najwyżej 99999 losowań."));
        QVERIFY(QFontMetrics(group->font()).horizontalAdvance(group->title()) <= group->width() - 16); // indents
        ClickBoxes(w, 61, 80);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* line = Find<QLineEdit>(&w, "tickedNumbersField");
        line->end(false); // with the cursor after ",80" the line still starts at the left edge
        line->repaint();
        QCOMPARE(line->cursorPositionAt(QPoint(0, line->height() / 2)), 0);
    }

    void anEditReachesTheMainWindowsSearch() {
        ProgramFolder folder;
        std::string db;
        for (int k = 1; k <= 30; ++k)
            db += Group(k, 2004, 1, k, 1);
        WriteBytes(folder.file("zentag.wyn").toStdString(), db);
        ProgramWindows windows = CreateProgramWindows();
        MainWindow& main = *windows.main;
        DrawManager& w = *windows.drawManager;
        main.applyConfirmedSet(MakeSet({21}));
        Type(&main, "rangeFromEdit", QStringLiteral("1"));
        Click(&main, "searchButton");
        QVERIFY(!Enabled(&main, "saveButton")); // no draw holds 21
        w.show();
        SelectRow(w, 4);
        Click(&w, "editButton");
        ClickBoxes(w, 1, 1);   // untick 1
        ClickBoxes(w, 21, 21); // tick 21
        Click(&w, "okButton");
        Click(&main, "searchButton");
        QCOMPARE(main.resultModel()->cellText(0, 1), QStringLiteral("            5"));
    }

    // Line 3 has a bonus number, line 4 repeats it, line 5 is bad. The first draw is the
    // database's last, so "Dopisz" would bring two draws; "Zastąp" brings three.
    void importReplacingTheDatabase() {
        ProgramFolder folder;
        std::string db;
        ProgramWindows windows = StartWithSearch(folder, db);
        WriteBytes(folder.file("wyniki.csv").toStdString(),
                   "Nr;Data;Liczby\r\n" + ResultsLine("1;01.10.1996", 1, 20) + ResultsLine("2;02.10.1996", 21, 21) +
                       ResultsLine("2;02.10.1996", 21, 20) + ResultsLine("3;03.10.1996", 1, 19) +
                       ResultsLine("4;04.10.1996", 41, 20));
        Dialogs::QueueFileName(folder.file("wyniki.csv"));
        Dialogs::QueueAnswer(Dialogs::Answer::Yes); // skip the bad line
        QStringList shown;
        OnImportSummary([&shown](QWidget* summary) {
            for (const char* name : {"drawsReadValue", "repeatsValue", "extraNumbersValue", "newDrawsValue"})
                shown << Text(summary, name);
            Click(summary, "replaceModeButton");
            shown << Text(summary, "newDrawsValue")
                  << Find<QAbstractItemView>(summary, "problemsList")->model()->index(0, 0).data().toString();
            Click(summary, "confirmButton");
        });
        QVERIFY(Enabled(windows.main.get(), "saveButton"));
        DrawManager& w = *windows.drawManager;
        Click(&w, "importButton");
        QCOMPARE(shown, QStringList({"3, od 01.10.1996 do 04.10.1996", "1", "1 (nadmiarowe liczby pominięto)",
                                     "2, od 02.10.1996 do 04.10.1996", "3, od 01.10.1996 do 04.10.1996",
                                     "wiersz 5: za mało liczb (19)"}));
        const auto& history = Dialogs::History();
        QCOMPARE(history.first().filter, QStringLiteral("Pliki tekstowe (*.txt *.csv *.tsv);;Wszystkie pliki (*)"));
        QCOMPARE(history.at(1).text, QStringLiteral("Błędne wiersze: 1. Pominąć je i wczytać pozostałe losowania?"));
        ExpectMessage(QStringLiteral("Import wyników..."), QStringLiteral("Wczytano losowania: 3."));
        QCOMPARE(DatabaseBytes(folder),
                 Group(1, 1996, 10, 1, 1) + Group(2, 1996, 10, 2, 21) + Group(3, 1996, 10, 4, 41));
        QCOMPARE(Find<QTableView>(&w, "drawGrid")->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(w.gridModel()->cellText(2, 1), QStringLiteral(" 04"));
        // The main window takes the start-up range of the 3 draws, the whole table, and its result
        // is gone.
        QCOMPARE(Text(windows.main.get(), "rangeFromEdit") + Text(windows.main.get(), "rangeToEdit"), "13");
        QCOMPARE(Text(windows.main.get(), "rangeToDate"), QStringLiteral("04.10.1996"));
        QVERIFY(!Enabled(windows.main.get(), "saveButton"));
    }

    // A layout with a draw-of-day index after the date: the summary shows the draws as read, and
    // "ostatnie 20" reads the file again without the index. Each value is heard with its caption.
    void importPreviewAndTheLastTwentyNumbers() {
        ProgramFolder folder;
        std::string db;
        ProgramWindows windows = StartWithSearch(folder, db);
        std::string file;
        for (int k = 1; k <= 8; ++k)
            file += ResultsLine("0" + std::to_string(k) + ".02.2005;1", 21 + k, 20);
        WriteBytes(folder.file("wyniki.csv").toStdString(), file);
        const auto preview = [](int index) {
            QStringList lines;
            for (int k : {1, 2, 3, 0, 6, 7, 8}) {
                QString line = QStringLiteral("0%1.02.2005 ").arg(k);
                for (int n = 21 + k - index; n < 41 + k - index; ++n)
                    line += QStringLiteral(" %1").arg(n == 21 + k - 1 ? 1 : n, 2, 10, QLatin1Char('0'));
                lines << (k == 0 ? QStringLiteral("… 2 losowania …") : line);
            }
            return lines.join(QLatin1Char('\n'));
        };
        QStringList shown;
        OnImportSummary([&](QWidget* summary) {
            const auto heard = [&](const char* name) { shown << Find<QWidget>(summary, name)->accessibleName(); };
            shown << Text(summary, "previewValue");
            heard("drawsReadValue");
            heard("extraNumbersValue");
            heard("drawCountAfterValue");
            Click(summary, "replaceModeButton");
            heard("drawCountAfterValue");
            Click(summary, "appendModeButton");
            Click(summary, "takeLastButton");
            shown << Text(summary, "previewValue");
            heard("newDrawsValue");
            Click(summary, "confirmButton");
        });
        Dialogs::QueueFileName(folder.file("wyniki.csv"));
        Click(windows.drawManager.get(), "importButton");
        QCOMPARE(shown, QStringList({preview(1), "Wczytane losowania: 8, od 01.02.2005 do 08.02.2005",
                                     "Wiersze z więcej niż 20 liczbami: 8 (nadmiarowe liczby pominięto)",
                                     "Losowania w bazie po imporcie: 38", "Losowania w bazie po imporcie: 8",
                                     preview(0), "Nowe losowania: 8, od 01.02.2005 do 08.02.2005"}));
        QCOMPARE(DrawCount, 38);
        QCOMPARE(windows.main->rangeTo(), 38); // the range ended on the last draw: it follows
        QCOMPARE(DrawTable[31].Numbers[0], 22);
        QCOMPARE(DrawTable[38].Numbers[19], 48);
    }

    // A dropped file dated before the database's last draw without holding it: "Dopisz" refuses
    // and the summary stays open; "Anuluj" leaves everything as it was.
    void importRefusedWritesNothing() {
        ProgramFolder folder;
        std::string db;
        ProgramWindows windows = StartWithSearch(folder, db);
        WriteBytes(folder.file("wyniki.txt").toStdString(), ResultsLine("05.01.2004", 21, 20));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder.file("wyniki.txt"))});
        bool stayedOpen = false;
        OnImportSummary([&stayedOpen](QWidget* summary) {
            Click(summary, "confirmButton");
            stayedOpen = summary->isVisible();
            Click(summary, "cancelButton");
        });
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(windows.drawManager.get(), &enter);
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(windows.drawManager.get(), &drop);
        QTRY_VERIFY(stayedOpen);
        ExpectMessage(Refusal, Q(NoMatchText(30, DrawTable[30])));
        QCOMPARE(DatabaseBytes(folder), db);
        QCOMPARE(DrawCount, 30);
    }
};

QTEST_MAIN(DrawManagerTest)
#include "draw_manager_test.moc"
