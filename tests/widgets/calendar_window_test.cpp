// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar map on real widgets: "MAPA" opening it, the year arrow and field, show-all and its
// legend, the keys, and the report its save button writes.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tables/CalendarWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

using namespace zg;
using namespace zg::test;

namespace {

// Two draws a day from 1.01.2008: draws 733 and 734 fall on 1.01.2009, 759 and 760 on 14.01.2009.
// With the set 01..07 draw 733 hits 4 numbers, 734 and 735 hit 6, the others none.
class Fixture {
public:
    Fixture() : map(&main) {
        FillDraws(800);
        SetDrawNumbers(733, {1, 2, 3, 4});
        SetDrawNumbers(734, {1, 2, 3, 4, 5, 6});
        SetDrawNumbers(735, {1, 2, 3, 4, 5, 6});
        ConnectCalendarWindow(main, map);
        main.show();
        Confirm({1, 2, 3, 4, 5, 6, 7});
    }

    // Confirms a set and searches draws 700..760 with the bounds 3..5.
    void Confirm(std::initializer_list<std::int32_t> set) {
        main.applyConfirmedSet(MakeSet(set));
        for (auto [field, value] :
             {std::pair{"rangeFromEdit", "700"}, {"rangeToEdit", "760"}, {"hitsFromEdit", "3"}, {"hitsToEdit", "5"}})
            Type(&main, field, QString::fromLatin1(value));
        Click(&main, "searchButton");
    }

    // "MAPA": the map opens modally; it is closed again once seen.
    void OpenMap() {
        QTimer::singleShot(0, &map, [this] {
            shownModal = map.isVisible() && QApplication::activeModalWidget() == &map;
            map.close();
        });
        Click(&main, "calendarButton");
    }

    QString Cell(int day, int month) const { return map.model()->index(month, day).data().toString(); }

    ProgramFolder folder;
    MainWindow main;
    CalendarWindow map;
    bool shownModal = false;
};

void Arrow(CalendarWindow& map, bool up) {
    auto buttons = Find<QWidget>(&map, "yearArrows")->findChildren<QToolButton*>();
    QTest::mouseClick(buttons[up ? 0 : 1], Qt::LeftButton);
}

} // namespace

class CalendarWindowTest : public QObject {
    Q_OBJECT

private slots:
    void mapOpensOnTheRangesLastYearAndTheTypedYearWaitsForTheArrow() {
        Fixture f;
        f.OpenMap();
        QVERIFY(f.shownModal);
        QCOMPARE(f.map.windowTitle(),
                 QStringLiteral(" Mapa rozkładu zestawu liczb : 01,02,03,04,05,06,07 - w zadanym przedziale losowań"));
        QCOMPARE(f.Cell(1, 1), QStringLiteral(" X"));  // draw 733 qualifies, though 734 later that day does not
        QCOMPARE(f.Cell(2, 1), QString());             // draw 735: 6 hits
        QCOMPARE(f.Cell(15, 1), QStringLiteral(" N")); // draws 761, 762 lie past the range
        QCOMPARE(Text(&f.map, "legendLabel"), QStringLiteral("X - Dni w których wylosowano od 3 do 5 liczb"));
        f.map.show();
        auto* year = Find<QLineEdit>(&f.map, "yearEdit");
        QTest::mouseClick(year, Qt::LeftButton);
        QCOMPARE(year->text(), QStringLiteral("2009")); // clicking does not empty the year
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("2007"));

        // The report describes the grid it holds: the year it was filled for, not the typed one.
        const QString path = f.folder.file(QStringLiteral("TXT/map.txt"));
        Dialogs::QueueFileName(path);
        Click(&f.map, "saveButton");
        QVERIFY(
            ReadBytes(path.toStdString())
                .find(" Mapa rozk\xB3"
                      "adu zestawu liczb : 01,02,03,04,05,06,07 - w zadanym przedziale losowa\xF1 w roku 2009:\r\n") !=
            std::string::npos);
        QVERIFY(ReadBytes(path.toStdString())
                    .find("\r\n    Stycze\xF1 X--------- ----       " + std::string(11, ' ') + "\r\n") !=
                std::string::npos);
        QCOMPARE(Dialogs::History().last().text, "Wyniki analizy zostały umieszczone w pliku \"" + path + "\"");

        // The arrow reads the typed year and steps it: 2008, whose draws 700.. fill 15..31 December.
        Arrow(f.map, true);
        QCOMPARE(year->text(), QStringLiteral("2008"));
        QCOMPARE(f.Cell(14, 12), QStringLiteral(" N"));
        QCOMPARE(f.Cell(15, 12), QString());
    }

    void yearFieldAndArrowLimits() {
        Fixture f;
        f.map.show();
        auto* year = Find<QLineEdit>(&f.map, "yearEdit");
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("2x9.9 99"));
        QCOMPARE(year->text(), QStringLiteral("2999")); // digits only, at most four
        Arrow(f.map, true);
        QCOMPARE(f.map.year(), 2999);
        f.map.setYear(1996);
        Arrow(f.map, false);
        QCOMPARE(year->text(), QStringLiteral("1996")); // no digit grouping
    }

    void showAllAndItsLegend() {
        Fixture f;
        f.OpenMap();
        f.map.show();
        Click(&f.map, "showAllBox");
        QCOMPARE(Text(&f.map, "legendLabel"), QStringLiteral("(0..7) - Ilość wylosowanych liczb"));
        QCOMPARE(f.Cell(1, 1), QStringLiteral(" 4")); // the day's qualifying draw 733, as marked
        f.map.close();
        // A new set of 15 numbers: the next showing rebuilds the legend for it.
        f.Confirm({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
        f.OpenMap();
        QCOMPARE(Text(&f.map, "legendLabel"), QStringLiteral("(0..15) - Ilość wylosowanych liczb"));
        f.map.show();
        QTest::keyClick(Find<QWidget>(&f.map, "showAllBox"), Qt::Key_Space); // the box reacts to any toggle
        QCOMPARE(Text(&f.map, "legendLabel"), QStringLiteral("X - Dni w których wylosowano od 3 do 5 liczb"));
    }

    void enterPressesOnlyAFocusedButton() {
        Fixture f;
        f.OpenMap();
        f.map.show();
        for (const char* name : {"yearEdit", "showAllBox"}) {
            QWidget* w = Find<QWidget>(&f.map, name);
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QVERIFY(f.map.isVisible());
        }
        // Enter in the year field applies the typed year as an arrow click does: 2008's draw 700.
        auto* year = Find<QLineEdit>(&f.map, "yearEdit");
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("2008"));
        QTest::keyClick(year, Qt::Key_Return);
        QCOMPARE(f.Cell(15, 12), QString());
        QVERIFY(f.map.isVisible());
        QVERIFY(!Find<QCheckBox>(&f.map, "showAllBox")->isChecked());
        Find<QWidget>(&f.map, "closeButton")->setFocus();
        QTest::keyClick(Find<QWidget>(&f.map, "closeButton"), Qt::Key_Return);
        QVERIFY(!f.map.isVisible());
    }
};

QTEST_MAIN(CalendarWindowTest)
#include "calendar_window_test.moc"
