// The ZENTAG table window driven through the main window's "ZENTAG +1" button and its arrows, the
// filter's tick boxes, the save button and the keyboard.
#include "analysis/ReportWriter.h"
#include "analysis/TAnaliza11.h"
#include "app/Startup.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tables/TTabelka2.h"
#include "ui/TGauge.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace zg;
using namespace zg::test;

namespace {

// Draws 10, 12 and 20 hit one number of {1, 2, 3}; the draws after them hold {5, 17, 63..80},
// {5, 62..80} and {61..80}.
void Draws() {
    FillDraws(30);
    SetDrawNumbers(10, {1});
    SetDrawNumbers(12, {2});
    SetDrawNumbers(20, {3});
    SetDrawNumbers(11, {5, 17});
    SetDrawNumbers(13, {5});
    SetNumberSet({1, 2, 3});
}

struct Program {
    TAnaliza11 main;
    TTabelka2* zentag;
    Program() : zentag(new TTabelka2(&main, &main)) {
        ZentagOffset = 1;
        ZentagTableValid = false;
        main.setZentagWindow(zentag);
        main.setDecimalSeparator(',');
        zentag->setDecimalSeparator(',');
        main.show();
        main.SetConfirmed();
        Type(&main, "Edit6", QStringLiteral("1"));
        Type(&main, "Edit7", QStringLiteral("30"));
        Type(&main, "Edit1", QStringLiteral("1"));
        Type(&main, "Edit2", QStringLiteral("1"));
        Click(&main, "button1");
    }

    // Clicks "ZENTAG +1"; while the window is open, `act` runs, then the window is closed with
    // its "Zamknij" button (unless `act` closed it).
    void Open(const std::function<void()>& act = {}) {
        QTimer::singleShot(0, zentag, [this, act] {
            if (act)
                act();
            if (zentag->isVisible())
                Click(zentag, "BitBtn3");
        });
        Click(&main, "rozklad2");
    }

    QString Memo(const char* name) const { return Find<QPlainTextEdit>(zentag, name)->toPlainText(); }
    QString Cell(int row, int column) const { return zentag->gridModel()->cellText(row, column); }
    int Rows() const { return zentag->gridModel()->rowCount(); }
    int Columns() const { return zentag->gridModel()->columnCount(); }
};

void Tick(TTabelka2* window, int n) {
    QTest::mouseClick(window->checkBox(n), Qt::LeftButton);
}

} // namespace

class ZentagTest : public QObject {
    Q_OBJECT

private slots:
    void openShowsTheCompleteTable();
    void reopeningKeepsTheFilterWithoutRecomputing();
    void filterSelectsColumnsAndClearingRecomputesWithOwnGauge();
    void offsetArrows_data();
    void offsetArrows();
    void offsetChangeClearsFilterAndRecomputes();
    void secondSearchClearsTheCache();
    void searchFindingNothingDisablesTheButton();
    void reportOfAFilteredTable();
    void enterPressesOnlyAFocusedButton();
    void startupCreatesTheWindow();
};

void ZentagTest::openShowsTheCompleteTable() {
    ProgramFolder folder;
    Draws();
    Program p;
    QVERIFY(Enabled(&p.main, "rozklad2"));
    const int repaints = p.main.gauge()->repaintCount();
    p.Open();
    QVERIFY(ZentagTableValid);
    QVERIFY(p.main.gauge()->repaintCount() > repaints);
    QCOMPARE(p.main.gauge()->Progress(), 3);
    QCOMPARE(p.Rows(), 3);
    QCOMPARE(p.Columns(), 81);
    QCOMPARE(p.zentag->gridModel()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("05"));
    QCOMPARE(p.Cell(0, 0), QStringLiteral("06.01.08"));
    QCOMPARE(p.Cell(0, 5), QStringLiteral("05"));
    QCOMPARE(p.Cell(2, 0), QStringLiteral("11.01.08"));
    const QModelIndex drawn = p.zentag->gridModel()->index(0, 17);
    const QModelIndex empty = p.zentag->gridModel()->index(0, 18);
    QCOMPARE(drawn.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 0));
    QCOMPARE(drawn.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
    QCOMPARE(empty.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(20, 107, 70));
    QCOMPARE(empty.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white));

    const QStringList singles = p.Memo("Memo1").split(QLatin1Char('\n'));
    QCOMPARE(singles.size(), 80);
    QCOMPARE(singles[0], QStringLiteral("63 --> 3 = 100,0%"));
    QCOMPARE(singles[18], QStringLiteral("05 --> 2 = 66,7%"));
    QCOMPARE(p.Memo("Memo2").split(QLatin1Char('\n')).size(), 3160);
}

void ZentagTest::reopeningKeepsTheFilterWithoutRecomputing() {
    ProgramFolder folder;
    Draws();
    Program p;
    p.Open([&] { Tick(p.zentag, 17); });
    QCOMPARE(p.Columns(), 2);
    const int repaints = p.main.gauge()->repaintCount();
    p.Open();
    QCOMPARE(p.main.gauge()->repaintCount(), repaints);
    QVERIFY(p.zentag->checkBox(17)->isChecked());
    QCOMPARE(p.Columns(), 2);
    QCOMPARE(p.Memo("Memo1"), QStringLiteral("17 --> 1 = 33,3%"));
    QCOMPARE(p.Memo("Memo2"), QString());
}

void ZentagTest::filterSelectsColumnsAndClearingRecomputesWithOwnGauge() {
    ProgramFolder folder;
    Draws();
    Program p;
    int ownGaugeRepaints = 0;
    p.Open([&] {
        Tick(p.zentag, 17);
        Tick(p.zentag, 5);
        QCOMPARE(p.Columns(), 3);
        QCOMPARE(p.Rows(), 3);
        QCOMPARE(p.Cell(1, 1), QStringLiteral("05"));
        QCOMPARE(p.Cell(1, 2), QString());
        QCOMPARE(p.Memo("Memo1"), QStringLiteral("05 --> 2 = 66,7%\n17 --> 1 = 33,3%"));
        QCOMPARE(p.Memo("Memo2"), QStringLiteral("05,17 --> 1 = 33,3%"));
        ownGaugeRepaints = Find<TGauge>(p.zentag, "Gauge1")->repaintCount();
        Tick(p.zentag, 5);
        Tick(p.zentag, 17);
    });
    QCOMPARE(p.Columns(), 81);
    QVERIFY(p.zentag->selection().empty());
    QVERIFY(Find<TGauge>(p.zentag, "Gauge1")->repaintCount() > ownGaugeRepaints);
    QCOMPARE(Find<TGauge>(p.zentag, "Gauge1")->Progress(), 3);
}

void ZentagTest::offsetArrows_data() {
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("offset");
    QTest::newRow("+2") << 1 << 0 << "ZENTAG +2" << 2;
    QTest::newRow("0") << 0 << 1 << "ZENTAG 0" << 0;
    QTest::newRow("-1") << 0 << 2 << "ZENTAG -1" << -1;
    QTest::newRow("stops at 99") << 100 << 0 << "ZENTAG +99" << 99;
    QTest::newRow("stops at -99") << 0 << 102 << "ZENTAG -99" << -99;
}

void ZentagTest::offsetArrows() {
    QFETCH(int, ups);
    QFETCH(int, downs);
    QFETCH(QString, caption);
    QFETCH(int, offset);
    ProgramFolder folder;
    Draws();
    Program p;
    p.Open();
    for (int i = 0; i < ups; ++i)
        Click(&p.main, "UpDown5Up");
    for (int i = 0; i < downs; ++i)
        Click(&p.main, "UpDown5Down");
    QCOMPARE(Text(&p.main, "rozklad2"), caption);
    QCOMPARE(ZentagOffset, offset);
    QVERIFY(!ZentagTableValid);
}

void ZentagTest::offsetChangeClearsFilterAndRecomputes() {
    ProgramFolder folder;
    Draws();
    Program p;
    p.Open([&] { Tick(p.zentag, 5); });
    Click(&p.main, "UpDown5Down"); // 0: the found draws themselves
    // The program's own unticking computes nothing: the window's gauge stays still.
    auto* ownGauge = Find<TGauge>(p.zentag, "Gauge1");
    const int ownRepaints = ownGauge->repaintCount();
    p.Open();
    QCOMPARE(ownGauge->repaintCount(), ownRepaints);
    QVERIFY(!p.zentag->checkBox(5)->isChecked());
    QCOMPARE(p.Columns(), 81);
    QCOMPARE(p.Rows(), 3);
    QCOMPARE(p.Cell(0, 0), QStringLiteral("05.01.08"));
    QCOMPARE(p.Cell(0, 1), QStringLiteral("01"));
}

void ZentagTest::secondSearchClearsTheCache() {
    ProgramFolder folder;
    Draws();
    Program p;
    p.Open();
    QCOMPARE(p.Cell(0, 17), QStringLiteral("17"));
    // The draw after the first found draw is corrected; the same search runs again.
    SetDrawNumbers(11, {5, 18});
    Click(&p.main, "button1");
    QVERIFY(!ZentagTableValid);
    p.Open();
    QCOMPARE(p.Cell(0, 17), QString());
    QCOMPARE(p.Cell(0, 18), QStringLiteral("18"));
}

void ZentagTest::searchFindingNothingDisablesTheButton() {
    ProgramFolder folder;
    Draws();
    Program p;
    QVERIFY(Enabled(&p.main, "rozklad2"));
    for (int k : {10, 12, 20})
        SetDrawNumbers(k, {61});
    Click(&p.main, "button1");
    QCOMPARE(FoundCount, 0);
    QVERIFY(!Enabled(&p.main, "rozklad2"));
}

void ZentagTest::reportOfAFilteredTable() {
    ProgramFolder folder;
    Draws();
    Program p;
    const QString path = folder.file(QStringLiteral("TXT/zentag.txt"));
    QWidget* focusAfterSave = nullptr;
    p.Open([&] {
        Tick(p.zentag, 5);
        Tick(p.zentag, 17);
        Dialogs::QueueFileName(path);
        Click(p.zentag, "dyskietka");
        focusAfterSave = p.zentag->focusWidget();
    });
    QCOMPARE(focusAfterSave, Find<QWidget>(p.zentag, "BitBtn3"));
    // The window's own inputs: the hit fields' texts, the distance, the filter (the layout of the
    // report is checked in the core).
    const std::string bytes = ReadBytes(path.toStdString());
    QVERIFY(bytes.find(" wylosowano od 1 do 1 liczb z zestawu liczb: 1,2,3\r\n\r\n\t\t\t\t\t\tTABELKA ZENTAG +1\r\n\r\n"
                       "\t\t\t\t\t\t  ** 01 = 05 **\r\n\t\t\t\t\t\t  ** 02 = 17 **\r\n\r\n\t\t  01-10") !=
            std::string::npos);
    QVERIFY(bytes.find("\r\n\r\n06.01.08\t57\r\n07.01.08\t5-\r\n11.01.08\t--\r\n\r\n ----") != std::string::npos);
    const auto& shown = Dialogs::History();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QStringLiteral("ZENTAG.0001.txt"));
    QCOMPARE(shown[1].caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
}

void ZentagTest::enterPressesOnlyAFocusedButton() {
    ProgramFolder folder;
    Draws();
    Program p;
    bool openAfterEnterOnBox = false;
    bool closedByEnter = false;
    p.Open([&] {
        QCheckBox* box = p.zentag->checkBox(9);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        openAfterEnterOnBox = p.zentag->isVisible() && !box->isChecked();
        auto* close = Find<QWidget>(p.zentag, "BitBtn3");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        closedByEnter = !p.zentag->isVisible();
    });
    QVERIFY(openAfterEnterOnBox);
    QVERIFY(closedByEnter);
    QCOMPARE(Dialogs::History().size(), 0);
}

void ZentagTest::startupCreatesTheWindow() {
    ProgramFolder folder;
    ProgramWindows windows = CreateProgramWindows();
    QVERIFY(windows.zentag != nullptr);
    QCOMPARE(windows.zentag->windowTitle(), QStringLiteral(" Tabelka ZENTAG"));
    QCOMPARE(ZentagOffset, 1);
}

QTEST_MAIN(ZentagTest)
#include "zentag_test.moc"
