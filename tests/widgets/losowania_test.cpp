// The draw management window driven through its real controls: the ticks, "Dopisz", "Edytuj" and
// "OK", the number map and the export, with the database file checked byte for byte. Write
// failures are real: a file-size limit makes the kernel refuse the write (the tests may run as
// root, so permissions would not stop them).
#include "analysis/ResultGridModel.h"
#include "analysis/TAnaliza11.h"
#include "app/Startup.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "database/TLosowania.h"
#include "support/FileSizeLimit.h"
#include "support/ReportBytes.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "ui/QtText.h"
#include "ui/SpinField.h"
#include "ui/TGauge.h"

#include <QCheckBox>
#include <QDate>
#include <QGroupBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstring>

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

// Writes the file and loads it as start-up does.
void StartWith(const ProgramFolder& folder, const std::string& bytes) {
    WriteBytes(folder.file("zentag.wyn").toStdString(), bytes);
    LoadProgramDatabase(nullptr);
    Dialogs::ClearHistory();
}

std::string DatabaseBytes(const ProgramFolder& folder) {
    return ReadBytes(folder.file("zentag.wyn").toStdString());
}

void ClickBoxes(TLosowania& w, int from, int to) {
    for (int n = from; n <= to; ++n)
        QTest::mouseClick(Find<QCheckBox>(&w, qPrintable(QStringLiteral("CheckBox%1").arg(n))), Qt::LeftButton);
}

void SelectRow(TLosowania& w, int row) {
    auto* grid = Find<QTableView>(&w, "StringGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 5)).center());
}

QString Prompt(TLosowania& w) {
    return Find<QGroupBox>(&w, "GroupBox1")->title();
}

void ExpectMessage(const QString& caption, const QString& text, Dialogs::Icon icon) {
    QVERIFY(!Dialogs::History().isEmpty());
    QCOMPARE(Dialogs::History().back().caption, caption);
    QCOMPARE(Dialogs::History().back().text, text);
    QCOMPARE(Dialogs::History().back().icon, icon);
}

const QString Refusal = QStringLiteral("Pouczenie...");

} // namespace

class LosowaniaTest : public QObject {
    Q_OBJECT

private slots:
    void ticksAndReset();
    void appendNeedsTwentyTicks_data();
    void appendNeedsTwentyTicks();
    void appendDates_data();
    void appendDates();
    void editRowNineThenConfirmWithAnotherRowSelected();
    void editOfABadDrawTicksOnlyRealBoxes();
    void numberMapShowsTheSelectedDraw();
    void exportOfTwoDraws();
    void failedAppendChangesNothing();
    void failedConfirmPutsTheOldNumbersBack();
    void appendToAMissingFile();
    void notLoadedWholeRefusesChanges_data();
    void notLoadedWholeRefusesChanges();
    void fullTableRefusesAppend();
    void startUpWiresTheMainWindow();
    void searchAfterAnEditCountsTheNewNumbers();
};

void LosowaniaTest::ticksAndReset() {
    ProgramFolder folder;
    TLosowania w;
    for (int n : {33, 5, 17})
        QTest::mouseClick(Find<QCheckBox>(&w, qPrintable(QStringLiteral("CheckBox%1").arg(n))), Qt::LeftButton);
    QCOMPARE(Text(&w, "Edit1"), QStringLiteral(" 05,17,33,"));
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("03/20"));
    Click(&w, "BitBtn2");
    QCOMPARE(Text(&w, "Edit1"), QStringLiteral(" "));
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("00/20"));
    // Ticks from code react like clicks; no box outside 1..80 exists.
    for (int n = 1; n <= 21; ++n)
        QVERIFY(w.tickNumber(n));
    QVERIFY(!w.tickNumber(0));
    QVERIFY(!w.tickNumber(81));
    QCOMPARE(Text(&w, "Edit1"), QStringLiteral(" 01,02,03,04,05,06,07,08,09,10,11,12,13,14,15,16,17,18,19,20"));
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("21/20"));
}

void LosowaniaTest::appendNeedsTwentyTicks_data() {
    QTest::addColumn<int>("ticks");
    QTest::newRow("19") << 19;
    QTest::newRow("21") << 21;
}

void LosowaniaTest::appendNeedsTwentyTicks() {
    QFETCH(int, ticks);
    ProgramFolder folder;
    const std::string db = Group(1, 2004, 1, 1, 1);
    StartWith(folder, db);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 1, ticks);
    Click(&w, "button4");
    ExpectMessage(Refusal, QStringLiteral("Najpierw musisz zaznaczyć 20 wylosowanych liczb !!!"), Dialogs::Icon::Error);
    QCOMPARE(DrawCount, 1);
    QCOMPARE(w.gridModel()->rowCount(), 1);
    QCOMPARE(DatabaseBytes(folder), db);
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("%1/20").arg(ticks));
}

void LosowaniaTest::appendDates_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("appended");
    QTest::newRow("28.02.2003") << 28 << 2 << 2003 << " 3 2003 3 1";
    QTest::newRow("28.02.2004") << 28 << 2 << 2004 << " 3 2004 2 29";
    QTest::newRow("31.12.2004") << 31 << 12 << 2004 << " 3 2005 1 1";
}

void LosowaniaTest::appendDates() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, appended);
    ProgramFolder folder;
    // The second draw is stored as number 7: the appended draw still gets its ordinal, 3.
    const std::string db = Group(1, year, month, day - 1, 1) + Group(7, year, month, day, 1);
    StartWith(folder, db);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 41, 60);
    Click(&w, "button4");

    ExpectMessage(QStringLiteral("Dopisano nowe wyniki..."),
                  QStringLiteral("Operacja dopisywania wyników zakończona pomyślnie :-)"), Dialogs::Icon::Information);
    QCOMPARE(DatabaseBytes(folder),
             db + appended.toStdString() + " 41 42 43 44 45 46 47 48 49 50 51 52 53 54 55 56 57 58 59 60 ");
    QCOMPARE(DrawCount, 3);
    QCOMPARE(w.gridModel()->rowCount(), 3);
    QCOMPARE(w.gridModel()->cellText(2, 0), QStringLiteral(" 0003"));
    QCOMPARE(w.gridModel()->cellText(2, 23), QStringLiteral(" 60"));
    QCOMPARE(Find<QTableView>(&w, "StringGrid1")->selectionModel()->selectedRows().value(0).row(), 2);
    for (int n = 1; n <= 80; ++n)
        QVERIFY(!w.isTicked(n));
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("00/20"));
    QCOMPARE(Prompt(w), QStringLiteral("Zaznacz wylosowane liczby w losowaniu nr 4 i naciśnij \"Dopisz\""));
}

void LosowaniaTest::editRowNineThenConfirmWithAnotherRowSelected() {
    ProgramFolder folder;
    // Day-first file of 12 draws (probe 1): the rewrite writes it year-first.
    std::string db, expected;
    for (int k = 1; k <= 12; ++k) {
        db += std::to_string(k) + " " + std::to_string(k) + " 3 2004";
        for (int i = 0; i < 20; ++i)
            db += " " + std::to_string(k + i);
        db += "\r\n";
        expected += Group(k, 2004, 3, k, k == 10 ? 11 : k);
    }
    StartWith(folder, db);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    w.show();
    SelectRow(w, 9);
    Click(&w, "BitBtn1");
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("20/20"));
    QVERIFY(w.isTicked(10) && w.isTicked(29) && !w.isTicked(30));
    QCOMPARE(Prompt(w), QStringLiteral("Edycja losowania nr 10...zaznacz 20 liczb i naciśnij \"OK\""));
    QVERIFY(Enabled(&w, "button3"));
    QVERIFY(!Enabled(&w, "button4") && !Enabled(&w, "button1") && !Enabled(&w, "BitBtn4"));

    SelectRow(w, 2);
    ClickBoxes(w, 10, 10); // untick 10
    Click(&w, "button3");
    ExpectMessage(Refusal, QStringLiteral("Musisz zaznaczyć 20 wylosowanych liczb !!!"), Dialogs::Icon::Error);
    QVERIFY(w.editMode());
    ClickBoxes(w, 30, 30);
    Click(&w, "button3");
    ExpectMessage(QStringLiteral("Zmiana bazy wyników..."),
                  QStringLiteral("Operacja edycji wyników zakończona pomyślnie :-)"), Dialogs::Icon::Information);
    QCOMPARE(DatabaseBytes(folder), expected);
    QCOMPARE(LayoutProbe, 2004);
    QCOMPARE(DrawTable[10].Numbers[19], 30);
    QCOMPARE(w.gridModel()->cellText(9, 4), QStringLiteral(" 11"));
    QCOMPARE(Find<QTableView>(&w, "StringGrid1")->selectionModel()->selectedRows().value(0).row(), 2);
    QVERIFY(!w.editMode());
    QVERIFY(Enabled(&w, "button4") && Enabled(&w, "button1") && Enabled(&w, "BitBtn4"));
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("00/20"));
    QCOMPARE(Prompt(w), QStringLiteral("Zaznacz wylosowane liczby w losowaniu nr 13 i naciśnij \"Dopisz\""));
}

void LosowaniaTest::editOfABadDrawTicksOnlyRealBoxes() {
    ProgramFolder folder;
    StartWith(folder, "1 2004 1 1 0 81 5 5 -3 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    Click(&w, "BitBtn1"); // no row selected: nothing happens
    QVERIFY(!w.editMode());
    w.show();
    Click(&w, "BitBtn1");
    QVERIFY(w.editMode());
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("16/20"));
}

void LosowaniaTest::numberMapShowsTheSelectedDraw() {
    ProgramFolder folder;
    StartWith(folder, Group(1, 2004, 1, 1, 1) + Group(2, 2004, 1, 2, 41));
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    NumberMapModel* map = w.mapModel();
    QCOMPARE(map->index(0, 0).data().toString(), QString()); // empty until a row is selected
    w.show();                                                // selects the last draw: 41..60
    QCOMPARE(map->index(0, 0).data().toString(), QStringLiteral("01"));
    QCOMPARE(map->index(15, 4).data().toString(), QStringLiteral("80"));
    int marked = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 5; ++c) {
            const int n = r * 5 + c + 1;
            const QColor colour = map->index(r, c).data(Qt::BackgroundRole).value<QBrush>().color();
            QCOMPARE(colour, n >= 41 && n <= 60 ? QColor(255, 255, 0) : QColor(0, 128, 255));
            marked += map->cellMarked(r, c) ? 1 : 0;
        }
    QCOMPARE(marked, 20);
    SelectRow(w, 0);
    QVERIFY(map->cellMarked(0, 0));
    QVERIFY(!map->cellMarked(8, 0));
}

void LosowaniaTest::exportOfTwoDraws() {
    ProgramFolder folder;
    StartWith(folder, Group(42, 2004, 3, 7, 1) + Group(43, 2004, 3, 8, 61));
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    const QString path = folder.file("TXT/baza.txt");
    Dialogs::QueueFileName(path);
    Click(&w, "dyskietka");
    QCOMPARE(Dialogs::History()[0].text, QStringLiteral("ZENTAG.0001.txt"));
    ExpectMessage(QStringLiteral(" Zapis do pliku zakończony pomyślnie"),
                  QStringLiteral("Baza wyników losowań została umieszczona w pliku \"") + path + QStringLiteral("\""),
                  Dialogs::Icon::Information);
    const std::string expected = ReportHeaderBytes + "\t\tBaza losowa\xF1 Multi Lotka w programie ZENTAGRAFO\r\n\r\n" +
                                 "0042;07;03;2004;01;02;03;04;05;06;07;08;09;10;11;12;13;14;15;16;17;18;19;20;\r\n" +
                                 "0043;08;03;2004;61;62;63;64;65;66;67;68;69;70;71;72;73;74;75;76;77;78;79;80;\r\n" +
                                 "\r\n" + ReportFooterBytes;
    QCOMPARE(ReadBytes(path.toStdString()), expected);
}

void LosowaniaTest::failedAppendChangesNothing() {
    ProgramFolder folder;
    const std::string db = Group(1, 2004, 1, 1, 1);
    StartWith(folder, db);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 1, 20);
    {
        FileSizeLimit limit(db.size() + 10);
        Click(&w, "button4");
    }
    ExpectMessage(QStringLiteral("ZENTAGRAFO"), QString::fromUtf8(std::strerror(EFBIG)), Dialogs::Icon::Error);
    QCOMPARE(DatabaseBytes(folder), db);
    QCOMPARE(DrawCount, 1);
    QCOMPARE(w.gridModel()->rowCount(), 1);
    QCOMPARE(Text(&w, "Label13"), QStringLiteral("20/20"));
    QCOMPARE(Prompt(w), QStringLiteral("Zaznacz wylosowane liczby w losowaniu nr 2 i naciśnij \"Dopisz\""));
    // The retry writes the draw as the file's second group.
    Click(&w, "button4");
    QCOMPARE(DrawCount, 2);
    QCOMPARE(DatabaseBytes(folder), db + " 2 2004 1 2 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
}

void LosowaniaTest::failedConfirmPutsTheOldNumbersBack() {
    ProgramFolder folder;
    const std::string db = Group(1, 2004, 1, 1, 1);
    StartWith(folder, db);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    w.show();
    Click(&w, "BitBtn1");
    ClickBoxes(w, 20, 21); // 20 out, 21 in
    {
        FileSizeLimit limit(10);
        Click(&w, "button3");
    }
    ExpectMessage(QStringLiteral("ZENTAGRAFO"), QString::fromUtf8(std::strerror(EFBIG)), Dialogs::Icon::Error);
    QCOMPARE(DatabaseBytes(folder), db);
    QCOMPARE(DrawTable[1].Numbers[19], 20);
    QCOMPARE(w.gridModel()->cellText(0, 23), QStringLiteral(" 20"));
    QVERIFY(w.editMode());
    QVERIFY(w.isTicked(21) && !w.isTicked(20));
}

void LosowaniaTest::appendToAMissingFile() {
    ProgramFolder folder;
    // Draws in the table but the file is gone: the append fails instead of starting a new file
    // (the file is not the one the program loaded any more).
    StartWith(folder, Group(1, 2004, 1, 1, 1));
    QFile::remove(folder.file("zentag.wyn"));
    {
        TLosowania w;
        w.FormCreate(nullptr, nullptr);
        ClickBoxes(w, 1, 20);
        Click(&w, "button4");
        ExpectMessage(Refusal, Q(ChangedOutsideText), Dialogs::Icon::Error);
        QVERIFY(!QFile::exists(folder.file("zentag.wyn")));
        QCOMPARE(DrawCount, 1);
    }
    // No file and no draws: the first draw starts the file, dated today.
    LoadProgramDatabase(nullptr);
    QCOMPARE(DrawCount, 0);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 1, 20);
    const QDate today = QDate::currentDate();
    Click(&w, "button4");
    QCOMPARE(DrawCount, 1);
    QCOMPARE(DatabaseBytes(folder), QStringLiteral(" 1 %1 %2 %3 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ")
                                        .arg(today.day())
                                        .arg(today.month())
                                        .arg(today.year())
                                        .toStdString());
}

void LosowaniaTest::notLoadedWholeRefusesChanges_data() {
    QTest::addColumn<QString>("content");
    QTest::newRow("short last group") << QString::fromStdString(Group(1, 2004, 1, 1, 1) + "2 2004 1 2 5 ");
    QTest::newRow("failed load") << QString::fromStdString(Group(1, 2004, 1, 1, 1) + "x ");
}

void LosowaniaTest::notLoadedWholeRefusesChanges() {
    QFETCH(QString, content);
    ProgramFolder folder;
    StartWith(folder, content.toStdString());
    QVERIFY(!DatabaseWhole);
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 1, 20);
    Click(&w, "button4");
    const QString text = QStringLiteral("Baza wyników nie została wczytana w całości, dlatego nie można jej teraz "
                                        "zmieniać. Popraw plik zentag.wyn albo pobierz wszystkie wyniki i uruchom "
                                        "program ponownie.");
    ExpectMessage(Refusal, text, Dialogs::Icon::Error);
    QCOMPARE(DatabaseBytes(folder), content.toStdString());
    QVERIFY(Enabled(&w, "button1")); // "Pobierz wszystkie" stays the way out
    if (DrawCount > 0) {
        w.show();
        Click(&w, "BitBtn1");
        Click(&w, "button3");
        ExpectMessage(Refusal, text, Dialogs::Icon::Error);
        QCOMPARE(DatabaseBytes(folder), content.toStdString());
    }
}

void LosowaniaTest::fullTableRefusesAppend() {
    ProgramFolder folder;
    FillDraws(MaxDraws);
    DatabaseWhole = true;
    TLosowania w;
    w.FormCreate(nullptr, nullptr);
    ClickBoxes(w, 1, 20);
    Click(&w, "button4");
    ExpectMessage(Refusal, QStringLiteral("Baza wyników jest pełna: program przechowuje najwyżej 99999 losowań."),
                  Dialogs::Icon::Error);
    QCOMPARE(DrawCount, MaxDraws);
    QVERIFY(!QFile::exists(folder.file("zentag.wyn")));
}

void LosowaniaTest::startUpWiresTheMainWindow() {
    ProgramFolder folder;
    std::string db;
    for (int k = 1; k <= 30; ++k)
        db += Group(k, 2004, 1, k, 1);
    WriteBytes(folder.file("zentag.wyn").toStdString(), db);
    ProgramWindows windows = CreateProgramWindows();
    TAnaliza11& main = *windows.main;
    TLosowania& w = *windows.drawManager;
    QVERIFY(main.isVisible());
    QCOMPARE(main.gauge()->MaxValue(), 30);
    QCOMPARE(main.gauge()->Progress(), 30);
    QCOMPARE(w.gridModel()->rowCount(), 30);

    // "ZARZĄDZAJ" opens the window modally.
    bool opened = false;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, &w, [&] {
        if (!w.isVisible())
            return;
        opened = true;
        closer.stop();
        Click(&w, "BitBtn3");
    });
    closer.start();
    Click(&main, "Button3");
    closer.stop();
    QVERIFY(opened);
    QVERIFY(!w.isVisible());

    // An append raises the range bounds; a confirmed edit empties the shown result.
    SetNumberSet({1, 2});
    main.SetConfirmed();
    Click(&main, "button1");
    QVERIFY(Enabled(&main, "dyskietka"));
    ClickBoxes(w, 1, 20);
    Click(&w, "button4");
    SpinField* rangeTo = nullptr;
    for (SpinField* f : main.findChildren<SpinField*>())
        if (f->edit()->objectName() == QStringLiteral("Edit7"))
            rangeTo = f;
    QCOMPARE(rangeTo->maximum(), 31);
    QVERIFY(Enabled(&main, "dyskietka"));
    w.show();
    Click(&w, "BitBtn1");
    Click(&w, "button3");
    QVERIFY(!Enabled(&main, "dyskietka"));
}

void LosowaniaTest::searchAfterAnEditCountsTheNewNumbers() {
    ProgramFolder folder;
    std::string db;
    for (int k = 1; k <= 30; ++k)
        db += Group(k, 2004, 1, k, 1);
    WriteBytes(folder.file("zentag.wyn").toStdString(), db);
    ProgramWindows windows = CreateProgramWindows();
    TAnaliza11& main = *windows.main;
    TLosowania& w = *windows.drawManager;
    SetNumberSet({21});
    main.SetConfirmed();
    Type(&main, "Edit6", QStringLiteral("1")); // range 1..30
    Click(&main, "button1");
    QCOMPARE(main.resultModel()->rowCount(), 1); // the one empty row: no draw holds 21
    QVERIFY(!Enabled(&main, "dyskietka"));

    w.show();
    SelectRow(w, 4);
    Click(&w, "BitBtn1");
    ClickBoxes(w, 1, 1);   // untick 1
    ClickBoxes(w, 21, 21); // tick 21
    Click(&w, "button3");
    Click(&main, "button1");
    QCOMPARE(main.resultModel()->rowCount(), 1);
    QCOMPARE(main.resultModel()->cellText(0, 1), QStringLiteral("            5"));
    QVERIFY(Enabled(&main, "dyskietka"));
}

QTEST_MAIN(LosowaniaTest)
#include "losowania_test.moc"
