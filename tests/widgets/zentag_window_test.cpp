// SPDX-License-Identifier: GPL-3.0-or-later
// The ZENTAG table window driven through the main window's "ZENTAG +1" button and its arrows, the
// filter's tick boxes, the save button and the keyboard.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tables/ZentagWindow.h"
#include "ui/LineListView.h"
#include "ui/ProgressGauge.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

using namespace zg;
using namespace zg::test;

namespace {

// Draws 10, 12 and 20 hit one number of {1, 2, 3}; the draws after them hold {5, 17, 63..80},
// {5, 62..80} and {61..80}. The main window has searched draws 1..30 for exactly one hit.
struct Program {
    ProgramFolder folder;
    bool seeded = Seed(); // before the main window exists, as at start-up
    MainWindow main;
    ZentagWindow* zentag;

    static bool Seed() {
        FillDraws(30);
        SetDrawNumbers(10, {1});
        SetDrawNumbers(12, {2});
        SetDrawNumbers(20, {3});
        SetDrawNumbers(11, {5, 17});
        SetDrawNumbers(13, {5});
        return true;
    }
    Program() : zentag(new ZentagWindow(&main)) {
        ConnectZentagWindow(main, *zentag);
        main.setDecimalSeparator(',');
        zentag->setDecimalSeparator(',');
        main.show();
        main.applyConfirmedSet(MakeSet({1, 2, 3}));
        for (auto [field, value] :
             {std::pair{"rangeFromEdit", "1"}, {"rangeToEdit", "30"}, {"hitsFromEdit", "1"}, {"hitsToEdit", "1"}})
            Type(&main, field, QString::fromLatin1(value));
        Click(&main, "searchButton");
    }

    // Clicks "ZENTAG +1"; while the window is open, `act` runs, then the window is closed with
    // its "Zamknij" button (unless `act` closed it).
    void Open(const std::function<void()>& act = {}) {
        QTimer::singleShot(0, zentag, [this, act] {
            if (act)
                act();
            if (zentag->isVisible())
                Click(zentag, "closeButton");
        });
        Click(&main, "zentagButton");
    }

    void Tick(int n) { QTest::mouseClick(zentag->checkBox(n), Qt::LeftButton); }
    QString Memo(const char* name) const { return Find<LineListView>(zentag, name)->Text(); }
    QString Cell(int row, int column) const { return zentag->gridModel()->cellText(row, column); }
    int Columns() const { return zentag->gridModel()->columnCount(); }
    int OwnGaugeRepaints() const { return Find<ProgressGauge>(zentag, "progressGauge")->repaintCount(); }
};

} // namespace

class ZentagWindowTest : public QObject {
    Q_OBJECT

private slots:
    void openShowsTheCompleteTable() {
        Program p;
        p.Open();
        QVERIFY(p.main.zentagTableValid());
        QCOMPARE(p.main.gauge()->value(), 3);
        QCOMPARE(p.zentag->gridModel()->rowCount(), 3);
        QCOMPARE(p.Columns(), 81);
        QCOMPARE(p.Cell(0, 0), QStringLiteral("06.01.08"));
        QCOMPARE(p.Cell(0, 5), QStringLiteral("05"));
        const QModelIndex drawn = p.zentag->gridModel()->index(0, 17);
        QCOMPARE(drawn.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 0));
        QCOMPARE(p.zentag->gridModel()->index(0, 18).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(20, 107, 70));
        QCOMPARE(p.Memo("numbersList").section(QLatin1Char('\n'), 0, 0), QStringLiteral("63 --> 3 = 100,0%"));
    }

    // Distance +11: draws 21 and 23 lie in the range, 31 does not. Binomial(2, 1/4): P(X <= 1) =
    // 15/16, P(X <= 2) = 1, so 0..2 of 3 found draws; Binomial(2, 380/6320): P(X <= 1) = 0.996.
    void baselinesUnderTheLists() {
        Program p;
        for (int i = 0; i < 10; ++i)
            Click(&p.main, "zentagOffsetUp");
        p.Open([&] {
            QCOMPARE(Text(p.zentag, "numbersBaseline"),
                     QStringLiteral("Sam przypadek: liczba w 25% losowań; przy 2 losowaniach 95% wyników mieści się "
                                    "między 0,0% a 66,7% (2 z 3 znalezionych losowań ma losowanie w tej odległości)."));
            QCOMPARE(Text(p.zentag, "pairsBaseline"),
                     QStringLiteral("Sam przypadek: para w 6,01% losowań (380 z 6320); przy 2 losowaniach 95%: "
                                    "0,0%–33,3% (2 z 3 znalezionych losowań ma losowanie w tej odległości)."));
            for (const char* name : {"numbersBaseline", "pairsBaseline"}) {
                const auto* l = Find<QLabel>(p.zentag, name);
                QVERIFY(l->heightForWidth(l->width()) <= l->height()); // two rows fit
                QVERIFY(p.zentag->rect().contains(l->geometry()));
            }
        });
    }

    // The request hands the window the search's found draws, the distance, the range and the set;
    // the found draws it handed over stay as they were when a new search finds others.
    void theRequestCarriesTheFoundDraws() {
        Program p;
        QSignalSpy requests(&p.main, &MainWindow::zentagTableRequested);
        Click(&p.main, "zentagOffsetUp");
        p.Open();
        QCOMPARE(requests.count(), 1);
        const auto request = requests.at(0).at(0).value<ZentagRequest>();
        QVERIFY(requests.at(0).at(1).toBool()); // computed anew
        QCOMPARE(request.foundCount, 3);
        QVERIFY(*request.foundDraws == (std::vector<std::int32_t>{0, 10, 12, 20}));
        QCOMPARE(request.offset, 2);
        QCOMPARE(request.parameters.rangeFrom, 1);
        QCOMPARE(request.parameters.rangeTo, 30);
        QCOMPARE(request.parameters.set.Count, 3);
        QCOMPARE(p.Cell(0, 2), QStringLiteral("02")); // draw 12

        SetDrawNumbers(30, {2});
        Click(&p.main, "searchButton");
        p.Open();
        QCOMPARE(requests.count(), 2);
        QCOMPARE(requests.at(1).at(0).value<ZentagRequest>().foundDraws->back(), 30);
        QCOMPARE(p.main.foundCount(), 4);
        QCOMPARE(request.foundDraws->size(), std::size_t{4});
    }

    void filterIsKeptOnReopeningAndClearingRecomputes() {
        Program p;
        p.Open([&] {
            p.Tick(17);
            p.Tick(5);
            QCOMPARE(p.Columns(), 3);
            QCOMPARE(p.Memo("numbersList"), QStringLiteral("05 --> 2 = 66,7%\n17 --> 1 = 33,3%"));
            QCOMPARE(p.Memo("pairsList"), QStringLiteral("05,17 --> 1 = 33,3%"));
        });
        const int repaints = p.main.gauge()->repaintCount();
        int ownRepaints = 0;
        p.Open([&] {
            QCOMPARE(p.Columns(), 3);
            ownRepaints = p.OwnGaugeRepaints();
            p.Tick(5);
            p.Tick(17);
        });
        QCOMPARE(p.main.gauge()->repaintCount(), repaints); // reopening computes nothing
        QCOMPARE(p.Columns(), 81);
        QVERIFY(p.OwnGaugeRepaints() > ownRepaints);
    }

    void offsetArrows_data() {
        QTest::addColumn<int>("ups");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("caption");
        QTest::newRow("+2") << 1 << 0 << "ZENTAG +2";
        QTest::newRow("-1") << 0 << 2 << "ZENTAG -1";
        QTest::newRow("stops at 99") << 100 << 0 << "ZENTAG +99";
        QTest::newRow("stops at -99") << 0 << 102 << "ZENTAG -99";
    }
    void offsetArrows() {
        QFETCH(int, ups);
        QFETCH(int, downs);
        Program p;
        p.Open();
        for (int i = 0; i < ups; ++i)
            Click(&p.main, "zentagOffsetUp");
        for (int i = 0; i < downs; ++i)
            Click(&p.main, "zentagOffsetDown");
        QTEST(Text(&p.main, "zentagButton"), "caption");
        QVERIFY(!p.main.zentagTableValid());
    }

    void offsetChangeClearsFilterAndRecomputes() {
        Program p;
        p.Open([&] { p.Tick(5); });
        Click(&p.main, "zentagOffsetDown"); // 0: the found draws themselves
        const int ownRepaints = p.OwnGaugeRepaints();
        p.Open();
        QCOMPARE(p.OwnGaugeRepaints(), ownRepaints); // the program's own unticking computes nothing
        QVERIFY(!p.zentag->checkBox(5)->isChecked());
        QCOMPARE(p.Columns(), 81);
        QCOMPARE(p.Cell(0, 0), QStringLiteral("05.01.08"));
    }

    void aNewSearchClearsTheCache() {
        Program p;
        p.Open();
        SetDrawNumbers(11, {5, 18}); // the draw after the first found draw is corrected
        Click(&p.main, "searchButton");
        QVERIFY(!p.main.zentagTableValid());
        p.Open();
        QCOMPARE(p.Cell(0, 17), QString());
        QCOMPARE(p.Cell(0, 18), QStringLiteral("18"));
        for (int k : {10, 12, 20})
            SetDrawNumbers(k, {61});
        Click(&p.main, "searchButton"); // finds nothing
        QVERIFY(!Enabled(&p.main, "zentagButton"));
    }

    void reportOfAFilteredTable() {
        Program p;
        const QString path = p.folder.file(QStringLiteral("TXT/zentag.txt"));
        p.Open([&] {
            p.Tick(5);
            p.Tick(17);
            Dialogs::QueueFileName(path);
            Click(p.zentag, "saveButton");
        });
        // The window's own inputs: the hit fields' texts, the distance, the filter (the layout of
        // the report is checked in the core).
        const std::string bytes = ReadBytes(path.toStdString());
        QVERIFY(bytes.find(" wylosowano od 1 do 1 liczb z zestawu liczb: 1,2,3\r\n\r\n\t\t\t\t\t\tTABELKA ZENTAG "
                           "+1\r\n\r\n\t\t\t\t\t\t  ** 01 = 05 **\r\n\t\t\t\t\t\t  ** 02 = 17 **\r\n\r\n\t\t  01-10") !=
                std::string::npos);
        QVERIFY(bytes.find("\r\n\r\n06.01.08\t57\r\n07.01.08\t5-\r\n11.01.08\t--\r\n\r\n ----") != std::string::npos);
        QCOMPARE(Dialogs::History().last().caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
    }

    void enterPressesOnlyAFocusedButton() {
        Program p;
        bool openAfterEnterOnBox = false;
        bool closedByEnter = false;
        p.Open([&] {
            QCheckBox* box = p.zentag->checkBox(9);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            openAfterEnterOnBox = p.zentag->isVisible() && !box->isChecked();
            auto* close = Find<QWidget>(p.zentag, "closeButton");
            close->setFocus();
            QTest::keyClick(close, Qt::Key_Return);
            closedByEnter = !p.zentag->isVisible();
        });
        QVERIFY(openAfterEnterOnBox);
        QVERIFY(closedByEnter);
    }

    // Scrolled to the last number column and the last row, the grid still shows each row's date
    // at its left edge, over the number columns that scrolled away beneath it.
    void datesStayWhileTheGridScrolls() {
        Program p;
        Type(&p.main, "hitsFromEdit", QStringLiteral("0")); // every draw of the range: more rows than fit
        Click(&p.main, "searchButton");
        int column = 0, row = 0;
        QString shownDate;
        p.Open([&] {
            auto* grid = Find<QTableView>(p.zentag, "zentagGrid");
            QTest::keyClick(grid->horizontalScrollBar(), Qt::Key_End);
            QTest::keyClick(grid->verticalScrollBar(), Qt::Key_End);
            const QPoint dateCell(5, 5); // in the viewport, below the heading row
            column = grid->columnAt(dateCell.x());
            row = grid->rowAt(dateCell.y());
            QWidget* shown = grid->childAt(grid->viewport()->geometry().topLeft() + dateCell);
            if (auto* frozen = qobject_cast<QTableView*>(shown != nullptr ? shown->parentWidget() : nullptr))
                shownDate = frozen->indexAt(dateCell).data().toString();
        });
        QVERIFY(column > 0 && row > 0);
        QCOMPARE(shownDate, p.Cell(row, 0));
    }
};

QTEST_MAIN(ZentagWindowTest)
#include "zentag_window_test.moc"
