// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on real widgets: range defaults, the range fields' typing and reading rules,
// the date and count labels, the range following the database and its presets, the set-changed
// reaction, the hint of the set button, and the start-up with no database or with a waiting
// download.
#include "analysis/ResultGridModel.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/DrawMasks.h"
#include "base/PolishPlural.h"
#include "database/DrawManager.h"
#include "sets/SetEditor.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/ProgramStyle.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace zg;
using namespace zg::test;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void rangeDefaults_data();
    void rangeDefaults();
    void countLabelFollowsTypedRange();
    void typingKeepsOnlyDigitsAndValuesAreClamped();
    void clickEmptiesFieldButKeepsValueAndDates();
    void arrowsStepTheRangeAndRefreshTheLabels();
    void rangeBeyond16Bits();
    void rangeFollowsTheDatabase_data();
    void rangeFollowsTheDatabase();
    void rangePresets_data();
    void rangePresets();
    void stateOfButtonsBeforeAndAfterASet();
    void setOfMoreThan20NumbersLimitsTheHitFields();
    void hintOfTheSetButton();
    void hintsShowAtOnceInBlue18Point();
    void setEditorConfirmationReachesTheMainWindow();
    void programFolderStartsFromAResetState();
    void startUpWithoutDatabase();
    void startUpWithSmallerDownloadAnsweredNo();
    void startUpWithLargerDownloadMergesWithoutAsking();
    void startUpWithMoreDrawsThanFit();
    void emptyDatabaseLeadsToTheImport_data();
    void emptyDatabaseLeadsToTheImport();
    void enterOnAFocusedButtonPressesIt_data();
    void enterOnAFocusedButtonPressesIt();
    void startUpWithUnusualFiles_data();
    void startUpWithUnusualFiles();
    void startUpRemovesOnlyStaleTemporaryFiles_data();
    void startUpRemovesOnlyStaleTemporaryFiles();
};

void MainWindowTest::rangeDefaults_data() {
    QTest::addColumn<int>("draws");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("count");
    QTest::newRow("1 draw") << 1 << "1"
                            << "1"
                            << "1 losowanie";
    QTest::newRow("2048 draws") << 2048 << "1"
                                << "2048"
                                << "2048 losowań";
    QTest::newRow("2049 draws") << 2049 << "2049"
                                << "2049"
                                << "1 losowanie";
    QTest::newRow("3000 draws") << 3000 << "2049"
                                << "3000"
                                << "952 losowania";
}

void MainWindowTest::rangeDefaults() {
    QFETCH(int, draws);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, count);
    ProgramFolder folder;
    FillDraws(draws);
    MainWindow w;
    w.show();
    QCOMPARE(Text(&w, "rangeFromEdit"), from);
    QCOMPARE(Text(&w, "rangeToEdit"), to);
    QCOMPARE(Text(&w, "rangeSizeValue"), count);
    QCOMPARE(w.rangeFrom(), from.toInt());
    QCOMPARE(w.rangeTo(), to.toInt());
}

void MainWindowTest::countLabelFollowsTypedRange() {
    ProgramFolder folder;
    FillDraws(30);
    MainWindow w;
    w.show();
    Type(&w, "rangeFromEdit", QStringLiteral("10"));
    Type(&w, "rangeToEdit", QStringLiteral("8"));
    Enter(&w, "rangeToEdit"); // "Oblicz" is disabled: Enter in a range field refreshes the labels
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("-1 losowań"));
    Type(&w, "rangeFromEdit", QStringLiteral("8"));
    Enter(&w, "rangeFromEdit");
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("1 losowanie"));
    // Draws 7 and 8 share 4 January 2008 (two draws a day from 1 January).
    QCOMPARE(Text(&w, "rangeFromDate"), QStringLiteral("04.01.2008"));
    QCOMPARE(Text(&w, "rangeToDate"), QStringLiteral("04.01.2008"));
    // "losowania" after 2..4, but not after 12..14; "losowań" after the rest.
    Type(&w, "rangeFromEdit", QStringLiteral("1"));
    for (const char* count : {"3 losowania", "12 losowań", "22 losowania", "25 losowań"}) {
        Type(&w, "rangeToEdit", QString::fromUtf8(count).section(QLatin1Char(' '), 0, 0));
        Enter(&w, "rangeToEdit");
        QCOMPARE(Text(&w, "rangeSizeValue"), QString::fromUtf8(count));
    }
}

void MainWindowTest::typingKeepsOnlyDigitsAndValuesAreClamped() {
    ProgramFolder folder;
    FillDraws(3000);
    MainWindow w;
    w.show();
    Type(&w, "rangeFromEdit", QStringLiteral("1a2-b.3 "));
    QCOMPARE(Text(&w, "rangeFromEdit"), QStringLiteral("123"));
    Enter(&w, "rangeFromEdit");
    QCOMPARE(w.rangeFrom(), 123);

    Type(&w, "rangeToEdit", QStringLiteral("99999"));
    Enter(&w, "rangeToEdit");
    QCOMPARE(w.rangeTo(), 3000); // above the maximum: the field shows the maximum
    QCOMPARE(Text(&w, "rangeToEdit"), QStringLiteral("3000"));

    Type(&w, "rangeFromEdit", QStringLiteral("0"));
    Enter(&w, "rangeFromEdit");
    QCOMPARE(w.rangeFrom(), 1);
    QCOMPARE(Text(&w, "rangeFromEdit"), QStringLiteral("1"));
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("3000 losowań"));
}

void MainWindowTest::clickEmptiesFieldButKeepsValueAndDates() {
    ProgramFolder folder;
    FillDraws(3000);
    MainWindow w;
    w.show();
    const QString dateBefore = Text(&w, "rangeFromDate");
    Type(&w, "rangeFromEdit", QStringLiteral("5"));
    QCOMPARE(Text(&w, "rangeFromEdit"), QStringLiteral("5"));
    QCOMPARE(w.rangeFrom(), 2049);
    QCOMPARE(Text(&w, "rangeFromDate"), dateBefore);
    Enter(&w, "rangeFromEdit");
    QCOMPARE(w.rangeFrom(), 5);
    QCOMPARE(Text(&w, "rangeFromDate"), QStringLiteral("03.01.2008"));

    // An emptied field keeps its value when read.
    QTest::mouseClick(Find<QWidget>(&w, "rangeFromEdit"), Qt::LeftButton);
    QCOMPARE(Text(&w, "rangeFromEdit"), QString());
    Enter(&w, "rangeFromEdit");
    QCOMPARE(Text(&w, "rangeFromEdit"), QStringLiteral("5"));
}

void MainWindowTest::arrowsStepTheRangeAndRefreshTheLabels() {
    ProgramFolder folder;
    FillDraws(3000);
    MainWindow w;
    w.show();
    auto* arrows = Find<QWidget>(&w, "rangeFromArrows");
    auto buttons = arrows->findChildren<QToolButton*>();
    QCOMPARE(buttons.size(), 2);
    QToolButton* up = buttons[0]->y() < buttons[1]->y() ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(Text(&w, "rangeFromEdit"), QStringLiteral("2050"));
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("951 losowań"));
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(w.rangeFrom(), 2048);
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("953 losowania"));

    // At the top the arrows stop at the maximum.
    auto* toArrows = Find<QWidget>(&w, "rangeToArrows");
    auto toButtons = toArrows->findChildren<QToolButton*>();
    QToolButton* toUp = toButtons[0]->y() < toButtons[1]->y() ? toButtons[0] : toButtons[1];
    QTest::mouseClick(toUp, Qt::LeftButton);
    QCOMPARE(w.rangeTo(), 3000);
    QCOMPARE(Text(&w, "rangeToEdit"), QStringLiteral("3000"));
}

void MainWindowTest::rangeBeyond16Bits() {
    ProgramFolder folder;
    FillDraws(40000);
    MainWindow w;
    w.show();
    QCOMPARE(w.rangeTo(), 40000);
    Type(&w, "rangeFromEdit", QStringLiteral("39999"));
    Enter(&w, "rangeFromEdit");
    QCOMPARE(w.rangeFrom(), 39999);
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("2 losowania"));
    // 40,000 draws, two a day from 1 January 2008: draw 40,000 is 19,999 days after the first.
    QCOMPARE(Text(&w, "rangeToDate"), QStringLiteral("03.10.2062"));
}

// A search has a result; the table changes (to `after` draws) and the draw management window says
// how. The range (2049..3000, or ending at 2500) follows, and the result goes with one signal.
void MainWindowTest::rangeFollowsTheDatabase_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("end");     // 0: the range ends on the last draw
    QTest::addColumn<QString>("how"); // "append", "import" (new draws after the stored ones), "replace"
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("append, end on the last") << 3000 << 0 << "append" << 3001 << 2049 << 3001 << true;
    QTest::newRow("append, end elsewhere") << 3000 << 2500 << "append" << 3001 << 2049 << 2500 << false;
    QTest::newRow("import, end on the last") << 3000 << 0 << "import" << 3010 << 2049 << 3010 << true;
    QTest::newRow("import, end elsewhere") << 3000 << 2500 << "import" << 3010 << 2049 << 2500 << true;
    QTest::newRow("replace or restore") << 3000 << 2500 << "replace" << 1500 << 1 << 1500 << true;
    QTest::newRow("import into an empty table") << 0 << 0 << "replace" << 2980 << 2049 << 2980 << true;
}

void MainWindowTest::rangeFollowsTheDatabase() {
    QFETCH(int, before);
    QFETCH(int, end);
    QFETCH(QString, how);
    QFETCH(int, after);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, cleared);
    ProgramFolder folder;
    FillDraws(before);
    MainWindow w;
    DrawManager draws;
    ConnectDrawManager(w, draws);
    w.show();
    w.applyConfirmedSet(MakeSet({61})); // every draw holds 61
    if (end != 0)
        Type(&w, "rangeToEdit", QString::number(end));
    Click(&w, "searchButton");
    FillDraws(after);
    QSignalSpy clears(&w, &MainWindow::resultsCleared);
    if (how == QStringLiteral("append"))
        emit draws.drawAppended();
    else
        emit draws.drawsImported(how == QStringLiteral("replace"));
    QCOMPARE(w.rangeFrom(), from);
    QCOMPARE(Text(&w, "rangeToEdit") + Text(&w, "rangeSizeValue"),
             QString::number(to) + QString::fromStdString(CountOfDraws(to - from + 1)));
    QCOMPARE(clears.count(), cleared ? 1 : 0);
    QCOMPARE(Enabled(&w, "saveButton"), !cleared);
}

void MainWindowTest::rangePresets_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("draws");
    QTest::addColumn<QDate>("date"); // "Od daty…": the date chosen
    QTest::addColumn<int>("from");   // 0: the range stays, with a message
    QTest::newRow("whole") << "Cały zakres" << 3000 << QDate() << 1;
    QTest::newRow("100") << "Ostatnie 100" << 3000 << QDate() << 2901;
    QTest::newRow("500") << "Ostatnie 500" << 3000 << QDate() << 2501;
    QTest::newRow("1000") << "Ostatnie 1000" << 3000 << QDate() << 2001;
    QTest::newRow("1000 of 700") << "Ostatnie 1000" << 700 << QDate() << 1;
    QTest::newRow("date of a draw") << "Od daty…" << 3000 << QDate(2008, 1, 2) << 3;
    QTest::newRow("date after the last") << "Od daty…" << 3000 << QDate(2012, 2, 9) << 0;
}

// Each item chosen by keyboard: Shift+Tab from the range reaches "Zakres", Enter opens its menu.
void MainWindowTest::rangePresets() {
    QFETCH(QString, item);
    QFETCH(int, draws);
    QFETCH(QDate, date);
    QFETCH(int, from);
    ProgramFolder folder;
    FillDraws(draws); // draw 3000 is of 8 February 2012
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Type(&w, "rangeToEdit", QStringLiteral("2")); // typed, not yet read: the preset overwrites it
    const int before = w.rangeFrom();
    QSignalSpy clears(&w, &MainWindow::resultsCleared);
    if (date.isValid())
        Dialogs::QueueDate(date);
    // "Oblicz", the Tab stop before "Zakres", is disabled without a set: Shift+Tab comes back.
    Find<QWidget>(&w, "rangeFromEdit")->setFocus();
    QTest::keyClick(&w, Qt::Key_Backtab);
    QMenu* menu = Find<QToolButton>(&w, "rangePresetsButton")->menu();
    QTimer::singleShot(50, menu, [menu, item] {
        for (QAction* a : menu->actions())
            if (a->text() == item && QApplication::activePopupWidget() == menu) {
                menu->close();
                a->trigger();
            }
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(w.rangeFrom(), from == 0 ? before : from);
    QCOMPARE(Text(&w, "rangeFromEdit") + Text(&w, "rangeToEdit"),
             QString::number(w.rangeFrom()) + (from == 0 ? QStringLiteral("2") : QString::number(draws)));
    QCOMPARE(clears.count(), from == 0 ? 0 : 1);
    QCOMPARE(Dialogs::History().size(), date.isValid() ? 1 + (from == 0) : 0);
    if (!date.isValid())
        return;
    const Dialogs::Shown& question = Dialogs::History().value(0);
    QCOMPARE(question.caption + question.text,
             QStringLiteral("Od datyZakres od pierwszego losowania z tego dnia lub późniejszego do ostatniego:"));
    QCOMPARE(question.date, QDate(2008, 1, 1).addDays((before - 1) / 2)); // the date of the range's first draw
    if (from == 0)
        QCOMPARE(Dialogs::History().back().text,
                 QStringLiteral("Baza nie zawiera losowań z dnia 09.02.2012 ani późniejszych (ostatnie: nr 3000 z "
                                "08.02.2012). Zakres losowań nie został zmieniony."));
}

void MainWindowTest::stateOfButtonsBeforeAndAfterASet() {
    ProgramFolder folder;
    FillDraws(100);
    MainWindow w;
    w.show();
    // No set: only the range fields and the window buttons.
    QVERIFY(!Enabled(&w, "searchButton"));
    QVERIFY(!Enabled(&w, "calendarButton"));
    QVERIFY(!Enabled(&w, "zentagButton"));
    QVERIFY(!Enabled(&w, "saveButton"));
    QVERIFY(!Enabled(&w, "hitsFromEdit"));
    QVERIFY(!Enabled(&w, "hitsToEdit"));
    QVERIFY(Enabled(&w, "rangeFromEdit"));
    QVERIFY(Enabled(&w, "setEditorButton"));
    QVERIFY(Enabled(&w, "manageDrawsButton"));

    w.applyConfirmedSet(MakeSet({3, 17, 45}));
    QVERIFY(Enabled(&w, "searchButton"));
    QVERIFY(Enabled(&w, "hitsFromEdit"));
    QVERIFY(Enabled(&w, "hitsToEdit"));
    QVERIFY(!Enabled(&w, "calendarButton"));
    QVERIFY(!Enabled(&w, "zentagButton"));
    QVERIFY(!Enabled(&w, "saveButton"));
    QCOMPARE(Text(&w, "hitsFromEdit"), QStringLiteral("3"));
    QCOMPARE(Text(&w, "hitsToEdit"), QStringLiteral("3"));

    // Hit fields are bounded by the set's size: Enter runs the search, which reads the field.
    Type(&w, "hitsToEdit", QStringLiteral("9"));
    Enter(&w, "hitsToEdit");
    QCOMPARE(w.hitsTo(), 3);
    QCOMPARE(Text(&w, "hitsToEdit"), QStringLiteral("3"));
}

void MainWindowTest::setOfMoreThan20NumbersLimitsTheHitFields() {
    ProgramFolder folder;
    FillDraws(100);
    MainWindow w;
    w.show();
    NumberSetData set;
    for (int n = 1; n <= 25; ++n) {
        set.Member[n] = true;
        set.Numbers[n] = static_cast<std::uint8_t>(n);
    }
    set.Count = 25;
    w.applyConfirmedSet(set);
    QCOMPARE(w.hitsFrom(), 20);
    QCOMPARE(w.hitsTo(), 20);
    Type(&w, "hitsFromEdit", QStringLiteral("25"));
    Enter(&w, "hitsFromEdit"); // "Oblicz" is enabled now: Enter runs the search, reading the field first
    QCOMPARE(w.hitsFrom(), 20);
    QCOMPARE(Text(&w, "hitsFromEdit"), QStringLiteral("20"));
}

void MainWindowTest::hintOfTheSetButton() {
    ProgramFolder folder;
    FillDraws(10);
    MainWindow w;
    w.show();
    auto* button = Find<QPushButton>(&w, "setEditorButton");
    QTest::mouseMove(button);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    QCOMPARE(button->toolTip(), QString()); // no set: no hint

    w.applyConfirmedSet(MakeSet({3, 17, 45}));
    QApplication::sendEvent(button, &move);
    QCOMPARE(button->toolTip(), QStringLiteral(" 03 17 45 "));

    w.applyConfirmedSet(MakeSet({5, 40}));
    QApplication::sendEvent(button, &move);
    QCOMPARE(button->toolTip(), QStringLiteral(" 05 40 "));

    // An empty set leaves the hint as it was.
    w.applyConfirmedSet(NumberSetData{});
    QApplication::sendEvent(button, &move);
    QCOMPARE(button->toolTip(), QStringLiteral(" 05 40 "));
}

void MainWindowTest::hintsShowAtOnceInBlue18Point() {
    InstallProgramStyle(*qApp);
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 0);
    QCOMPARE(QToolTip::font().pointSize(), 18);
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipText), QColor(Qt::blue));

    // A hint event shows the widget's hint.
    ProgramFolder folder;
    FillDraws(10);
    MainWindow w;
    w.show();
    auto* save = Find<QWidget>(&w, "saveButton");
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), save->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(save, &help);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("Zapisz wynik analizy do pliku"));
    QToolTip::hideText();
}

void MainWindowTest::setEditorConfirmationReachesTheMainWindow() {
    ProgramFolder folder;
    WriteBytes(folder.file("zentag.wyn").toStdString(), GenerateSampleDatabase(2100, 5, SampleLayout::DayFirst).bytes);
    ProgramWindows windows = CreateProgramWindows();
    QCOMPARE(DrawCount, 2100);
    MainWindow& w = *windows.main;
    w.show();
    QWidget* editor = windows.setEditor.get();
    editor->show();
    for (int n = 1; n <= 25; ++n)
        Click(editor, qPrintable(QStringLiteral("numberButton%1").arg(n)));
    Click(editor, "confirmButton"); // "Zatwierdź"
    QVERIFY(!editor->isVisible());
    QCOMPARE(w.numberSet().Count, 25);
    QVERIFY(Enabled(&w, "searchButton"));
    QVERIFY(Enabled(&w, "hitsFromEdit"));
    QCOMPARE(Text(&w, "hitsFromEdit"), QStringLiteral("20"));
    QCOMPARE(Text(&w, "hitsToEdit"), QStringLiteral("20"));
    QVERIFY(!Enabled(&w, "saveButton"));

    // A search, then a smaller set: the result is emptied and the bounds follow the new set.
    Click(&w, "searchButton");
    editor->show();
    Click(editor, "resetButton"); // "Resetuj"
    Click(editor, "numberButton7");
    Click(editor, "numberButton9");
    Click(editor, "confirmButton");
    QCOMPARE(w.numberSet().Count, 2);
    QCOMPARE(Text(&w, "hitsFromEdit"), QStringLiteral("2"));
    QCOMPARE(Text(&w, "hitsToEdit"), QStringLiteral("2"));
    QCOMPARE(w.resultModel()->rowCount(), 1);
    QVERIFY(!Enabled(&w, "saveButton"));
}

// Every window test's folder starts from the process state of a fresh start, whatever the test
// before it left: no draws (nor masks of them), no layout, a whole database, no stamp.
void MainWindowTest::programFolderStartsFromAResetState() {
    FillDraws(5);
    QCOMPARE(AllDrawMasks().count(), 5);
    LayoutProbe = 7;
    DatabaseWhole = false;
    DatabaseStamp.exists = true;
    AppDir = "/elsewhere";
    ProgramFolder folder;
    QCOMPARE(DrawCount, 0);
    QCOMPARE(DrawTable[5].Number, 0);
    QCOMPARE(AllDrawMasks().count(), 0);
    QCOMPARE(LayoutProbe, 0);
    QVERIFY(DatabaseWhole);
    QVERIFY(DatabaseStamp == FileStamp{});
    QCOMPARE(QString::fromStdString(AppDir), folder.path());
}

void MainWindowTest::startUpWithoutDatabase() {
    ProgramFolder folder;
    DrawCount = 7; // whatever was there, a failed load leaves 0
    ProgramWindows windows = CreateProgramWindows();
    QCOMPARE(DrawCount, 0);
    // A first start: no error, only the question of OfferImportIntoEmptyDatabase follows.
    QVERIFY(Dialogs::History().isEmpty());

    MainWindow& w = *windows.main;
    w.show();
    QCOMPARE(Text(&w, "rangeFromDate"), QString());
    QCOMPARE(Text(&w, "rangeToDate"), QString());
    QCOMPARE(Text(&w, "rangeSizeValue"), QStringLiteral("0 losowań"));
    QVERIFY(!Enabled(&w, "rangeFromEdit"));
    // A set can still be chosen, and a search refuses instead of crashing.
    w.applyConfirmedSet(MakeSet({1, 2}));
    Click(&w, "searchButton");
    QCOMPARE(Dialogs::History().size(), 1);
    QCOMPARE(Dialogs::History().back().caption, QStringLiteral("Błąd!"));
    QCOMPARE(w.foundCount(), 0);
    // The About window opens.
    QVERIFY(windows.about != nullptr);
}

void MainWindowTest::startUpWithSmallerDownloadAnsweredNo() {
    ProgramFolder folder;
    const std::string db = " 1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 "
                           "2 2004 1 2 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ";
    WriteBytes(folder.file("zentag.wyn").toStdString(), db);
    WriteBytes(folder.file("zentag").toStdString(),
               "1;2004;1;1;1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20\r\n");
    Dialogs::QueueAnswer(Dialogs::Answer::No);
    QVERIFY(LoadProgramDatabase(nullptr));
    QCOMPARE(Dialogs::History().size(), 1);
    const auto& q = Dialogs::History()[0];
    QCOMPARE(q.caption, QStringLiteral("Znaleziono nowsze wyniki losowań..."));
    QCOMPARE(
        q.text,
        QStringLiteral("UWAGA! Plik z nowymi wynikami jest mniejszy niż ten z poprzednimi !!! Czy zamienić mimo to ?"));
    QCOMPARE(q.icon, Dialogs::Icon::Question);
    QCOMPARE(q.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(ReadBytes(folder.file("zentag.wyn").toStdString()), db);
    QVERIFY(!QFile::exists(folder.file("zentag")));
    QCOMPARE(DrawCount, 2);
}

void MainWindowTest::startUpWithLargerDownloadMergesWithoutAsking() {
    ProgramFolder folder;
    WriteBytes(folder.file("zentag.wyn").toStdString(), "");
    WriteBytes(folder.file("zentag").toStdString(),
               "1;01.12.1996;1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n");
    QVERIFY(LoadProgramDatabase(nullptr));
    QCOMPARE(Dialogs::History().size(), 0);
    QCOMPARE(DrawCount, 1);
    QCOMPARE(DrawTable[1].Day, 1);
    QCOMPARE(DrawTable[1].Month, 12);
    QCOMPARE(DrawTable[1].Year, 1996);
    QCOMPARE(DrawTable[1].Numbers[19], 20);
    QVERIFY(!QFile::exists(folder.file("zentag")));
}

void MainWindowTest::startUpWithMoreDrawsThanFit() {
    ProgramFolder folder;
    WriteBytes(folder.file("zentag.wyn").toStdString(),
               GenerateSampleDatabase(MaxDraws, 3, SampleLayout::YearFirst).bytes +
                   " 100000 2133 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
    QVERIFY(LoadProgramDatabase(nullptr));
    QCOMPARE(DrawCount, MaxDraws);
    QVERIFY(!DatabaseWhole); // the draws past MaxDraws must not be written over
    QCOMPARE(Dialogs::History().size(), 1);
    QCOMPARE(Dialogs::History()[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(Dialogs::History()[0].text,
             QStringLiteral("Plik z wynikami losowań zawiera więcej niż 99999 losowań. Program wczytał pierwsze "
                            "99999 z nich; dalszych nie będzie uwzględniał."));
}

void MainWindowTest::emptyDatabaseLeadsToTheImport_data() {
    QTest::addColumn<QString>("database"); // the bytes of zentag.wyn; "-" for no file
    QTest::addColumn<bool>("asked");
    QTest::newRow("no file") << "-" << true;
    QTest::newRow("empty file") << "" << true;
    QTest::newRow("one draw") << " 1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 " << false;
}

void MainWindowTest::emptyDatabaseLeadsToTheImport() {
    QFETCH(QString, database);
    QFETCH(bool, asked);
    ProgramFolder folder;
    if (database != QStringLiteral("-"))
        WriteBytes(folder.file("zentag.wyn").toStdString(), database.toStdString());
    ProgramWindows windows = CreateProgramWindows();
    const qsizetype before = Dialogs::History().size();
    Dialogs::QueueAnswer(Dialogs::Answer::Yes); // Tak; the file dialog is then cancelled
    bool openAfterTheCancel = false;
    QTimer::singleShot(100, windows.drawManager.get(), [&] {
        openAfterTheCancel = windows.drawManager->isVisible();
        windows.drawManager->close();
    });
    OfferImportIntoEmptyDatabase(windows);
    if (!asked) {
        QCOMPARE(Dialogs::History().size(), before);
        return;
    }
    QCOMPARE(before, 0); // the question alone, without an error before it
    QCOMPARE(Dialogs::History().size(), before + 2);
    const Dialogs::Shown& question = Dialogs::History()[before];
    QCOMPARE(question.caption, QStringLiteral("Pusta baza wyników"));
    QCOMPARE(question.text, QStringLiteral("Baza wyników jest pusta. Wczytać losowania z pliku wyników?"));
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
    const Dialogs::Shown& fileDialog = Dialogs::History()[before + 1];
    QCOMPARE(fileDialog.kind, Dialogs::Shown::Kind::OpenFile);
    QCOMPARE(fileDialog.filter, QStringLiteral("Pliki tekstowe (*.txt *.csv *.tsv);;Wszystkie pliki (*)"));
    QVERIFY(openAfterTheCancel);
}

void MainWindowTest::enterOnAFocusedButtonPressesIt_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("Autor") << "aboutButton";
    QTest::newRow("LICZBA / ZESTAW LICZB") << "setEditorButton";
}

void MainWindowTest::enterOnAFocusedButtonPressesIt() {
    QFETCH(QString, button);
    ProgramFolder folder;
    FillDraws(100);
    MainWindow w;
    QWidget about, editor;
    OpenOnRequest(w, &MainWindow::aboutRequested, about);
    OpenOnRequest(w, &MainWindow::setEditorRequested, editor);
    w.show();
    w.applyConfirmedSet(MakeSet({61})); // "Oblicz" is enabled, and a search would find every draw
    auto* b = Find<QPushButton>(&w, qPrintable(button));
    b->setFocus();
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(about.isVisible(), button == QStringLiteral("aboutButton"));
    QCOMPARE(editor.isVisible(), button == QStringLiteral("setEditorButton"));
    QCOMPARE(w.foundCount(), 0);
}

// A special "zentag" is no download; a database that is not a regular file fails the load like a
// missing one, without a question; the layout is known from the second integer whatever fails.
void MainWindowTest::startUpWithUnusualFiles_data() {
    QTest::addColumn<QString>("download"); // "", "fifo", "zero" (a link to /dev/zero) or the bytes
    QTest::addColumn<QString>("database"); // "fifo", "folder" or the bytes
    QTest::addColumn<bool>("loadError");
    QTest::addColumn<int>("drawCount");
    QTest::addColumn<int>("probe");
    const QString db = QStringLiteral("1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20");
    QTest::newRow("FIFO download") << "fifo" << db << false << 1 << 2004;
    QTest::newRow("download linked to /dev/zero") << "zero" << db << false << 1 << 2004;
    QTest::newRow("folder database with a download") << "1 2004"
                                                     << "folder" << true << 0 << 0;
    QTest::newRow("FIFO database") << ""
                                   << "fifo" << true << 0 << 0;
    QTest::newRow("bad token after the probe") << ""
                                               << "7 5 3 2004 x" << true << 0 << 5;
}

void MainWindowTest::startUpWithUnusualFiles() {
    QFETCH(QString, download);
    QFETCH(QString, database);
    QFETCH(bool, loadError);
    QFETCH(int, drawCount);
    QFETCH(int, probe);
    ProgramFolder folder;
    LayoutProbe = -1;
    const auto make = [](const QString& path, const QString& what) {
        if (what == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        else if (what == QStringLiteral("zero"))
            std::filesystem::create_symlink("/dev/zero", path.toStdString());
        else if (what == QStringLiteral("folder"))
            std::filesystem::create_directory(path.toStdString());
        else if (!what.isEmpty())
            WriteBytes(path.toStdString(), what.toStdString());
    };
    make(folder.file("zentag"), download);
    make(folder.file("zentag.wyn"), database);

    QCOMPARE(LoadProgramDatabase(nullptr), !loadError);
    QCOMPARE(Dialogs::History().size(), loadError ? 1 : 0);
    if (loadError)
        QCOMPARE(Dialogs::History()[0].caption, QStringLiteral("Błąd!"));
    QCOMPARE(DrawCount, drawCount);
    QCOMPARE(LayoutProbe, probe);
    // Nothing was merged or removed.
    QCOMPARE(std::filesystem::exists(std::filesystem::symlink_status(folder.file("zentag").toStdString())),
             !download.isEmpty());
}

void MainWindowTest::startUpRemovesOnlyStaleTemporaryFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    const QString gone = QStringLiteral("2147483646"); // above any pid the system hands out
    const QString self = QString::number(::getpid());
    QTest::newRow("database of a gone process") << "zentag.wyn.tmp." + gone + ".0" << true;
    QTest::newRow("download of a gone process") << "zentag.tmp." + gone + ".12" << true;
    QTest::newRow("latest draw of a gone process") << "ml.tmp." + gone + ".3" << true;
    QTest::newRow("this process") << "zentag.wyn.tmp." + self + ".0" << false;
    QTest::newRow("running process") << QStringLiteral("zentag.wyn.tmp.1.0") << false;
    QTest::newRow("not a counter") << "zentag.wyn.tmp." + gone + ".x" << false;
    QTest::newRow("no counter") << "zentag.wyn.tmp." + gone << false;
    QTest::newRow("no name before") << ".tmp." + gone + ".0" << false;
    QTest::newRow("other name") << QStringLiteral("notes.tmp.txt") << false;
    QTest::newRow("report of a gone process") << "ZENTAG.0001.txt.zentagrafo-tmp." + gone + ".0" << true;
    QTest::newRow("old name of a report") << "ZENTAG.0001.txt.tmp." + gone + ".0" << false;
    QTest::newRow("a user's file") << QStringLiteral("thesis.tmp.2024.05") << false;
}

void MainWindowTest::startUpRemovesOnlyStaleTemporaryFiles() {
    QFETCH(QString, name);
    QFETCH(bool, removed);
    ProgramFolder folder;
    WriteBytes(folder.file(name).toStdString(), "partial");
    const QString folderNamedLikeATemp = folder.file(QStringLiteral("x.tmp.2147483646.0"));
    std::filesystem::create_directory(folderNamedLikeATemp.toStdString());
    LoadProgramDatabase(nullptr);
    QCOMPARE(QFile::exists(folder.file(name)), !removed);
    QVERIFY(QFileInfo(folderNamedLikeATemp).isDir());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
