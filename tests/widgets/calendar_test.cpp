// The calendar map on real widgets: "MAPA" opening it, the year arrow and field, show-all and its
// legend, the keys, and the report its save button writes.
#include "analysis/TAnaliza11.h"
#include "app/Startup.h"
#include "support/TempDir.h"
#include "support/WidgetSupport.h"
#include "tables/TTabelka11.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
        main.setMapWindow(&map);
        main.show();
        Confirm({1, 2, 3, 4, 5, 6, 7});
    }

    // Confirms a set and searches draws 700..760 with the bounds 3..5.
    void Confirm(std::initializer_list<std::int32_t> set) {
        SetNumberSet(set);
        main.SetConfirmed();
        for (auto [field, value] : {std::pair{"Edit6", "700"}, {"Edit7", "760"}, {"Edit1", "3"}, {"Edit2", "5"}})
            Type(&main, field, QString::fromLatin1(value));
        Click(&main, "button1");
    }

    // "MAPA": the map opens modally; it is closed again once seen.
    void OpenMap() {
        QTimer::singleShot(0, &map, [this] {
            shownModal = map.isVisible() && QApplication::activeModalWidget() == &map;
            map.close();
        });
        Click(&main, "rozklad");
    }

    QString Cell(int day, int month) const { return map.model()->index(month, day).data().toString(); }

    ProgramFolder folder;
    TAnaliza11 main;
    TTabelka11 map;
    bool shownModal = false;
};

std::vector<std::string> ReportLines(const QString& path) {
    std::vector<std::string> lines;
    const std::string bytes = ReadBytes(path.toStdString());
    for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    return lines;
}

void Arrow(TTabelka11& map, bool up) {
    auto buttons = Find<QWidget>(&map, "UpDown1")->findChildren<QToolButton*>();
    QTest::mouseClick(buttons[up ? 0 : 1], Qt::LeftButton);
}

} // namespace

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void mapOpensOnTheYearOfTheRangesLastDraw();
    void typedYearWaitsForTheArrow();
    void yearFieldAndArrowLimits();
    void showAllAndItsLegend();
    void enterPressesOnlyAFocusedButton();
    void startUpCreatesTheMap();
};

void CalendarTest::mapOpensOnTheYearOfTheRangesLastDraw() {
    Fixture f;
    f.OpenMap();
    QVERIFY(f.shownModal);
    QCOMPARE(f.map.Year(), 2009);
    QCOMPARE(Text(&f.map, "Edit1"), QStringLiteral("2009"));
    QCOMPARE(f.map.windowTitle(),
             QStringLiteral(" Mapa rozkładu zestawu liczb : 01,02,03,04,05,06,07 - w zadanym przedziale losowań"));
    QCOMPARE(f.Cell(1, 1), QStringLiteral(" X")); // draw 733 qualifies, 734 on the same day does not
    QCOMPARE(f.Cell(2, 1), QString());            // draw 735: 6 hits
    QCOMPARE(f.Cell(14, 1), QString());
    QCOMPARE(f.Cell(15, 1), QStringLiteral(" N")); // draws 761, 762 lie past the range
    QCOMPARE(f.Cell(31, 4), QStringLiteral(" N"));
    const QModelIndex none = f.map.model()->index(1, 16);
    QCOMPARE(none.data(Qt::BackgroundRole).value<QColor>(), QColor(0, 128, 128));
    QCOMPARE(none.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 128));
    QCOMPARE(f.map.model()->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(20, 107, 70));
    QCOMPARE(f.map.model()->index(8, 0).data().toString(), QStringLiteral(" VIII"));
    QCOMPARE(f.map.model()->index(0, 31).data().toString(), QStringLiteral("31"));
    QCOMPARE(Text(&f.map, "Label4"), QStringLiteral("X - Dni w których wylosowano od 3 do 5 liczb"));
}

void CalendarTest::typedYearWaitsForTheArrow() {
    Fixture f;
    f.OpenMap();
    f.map.show();
    auto* year = Find<QLineEdit>(&f.map, "Edit1");
    QTest::mouseClick(year, Qt::LeftButton);
    QCOMPARE(year->text(), QStringLiteral("2009")); // clicking does not empty the year
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("2007"));
    QCOMPARE(f.Cell(1, 1), QStringLiteral(" X")); // still 2009

    // The report describes the grid it holds: the year it was filled for, not the typed one.
    const QString path = f.folder.file(QStringLiteral("TXT/map.txt"));
    Dialogs::QueueFileName(path);
    Click(&f.map, "dyskietka");
    const auto lines = ReportLines(path);
    QCOMPARE(lines.at(7), " Mapa rozk\xB3"
                          "adu zestawu liczb : 01,02,03,04,05,06,07 - w zadanym przedziale losowa\xF1 w roku 2009:");
    QCOMPARE(lines.at(12), "    Stycze\xF1 X--------- ----       " + std::string(11, ' '));
    QCOMPARE(Dialogs::History().last().text, "Wyniki analizy zostały umieszczone w pliku \"" + path + "\"");
    QCOMPARE(QApplication::focusWidget(), Find<QWidget>(&f.map, "BitBtn1"));

    // The arrow reads the typed year and steps it: 2008, whose draws 700.. fill 15..31 December.
    Arrow(f.map, true);
    QCOMPARE(year->text(), QStringLiteral("2008"));
    QCOMPARE(f.Cell(14, 12), QStringLiteral(" N"));
    QCOMPARE(f.Cell(15, 12), QString());
    QCOMPARE(f.Cell(1, 1), QStringLiteral(" N"));
}

void CalendarTest::yearFieldAndArrowLimits() {
    Fixture f;
    f.map.show();
    QCOMPARE(Text(&f.map, "Edit1"), QStringLiteral("2001"));
    auto* year = Find<QLineEdit>(&f.map, "Edit1");
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("2x9.9 99"));
    QCOMPARE(year->text(), QStringLiteral("2999")); // digits only, at most four
    Arrow(f.map, true);
    QCOMPARE(f.map.Year(), 2999);
    f.map.SetYear(1996);
    Arrow(f.map, false);
    QCOMPARE(f.map.Year(), 1996);
    QCOMPARE(year->text(), QStringLiteral("1996")); // no digit grouping
}

void CalendarTest::showAllAndItsLegend() {
    Fixture f;
    f.OpenMap();
    f.map.show();
    Click(&f.map, "CheckBox1");
    QCOMPARE(Text(&f.map, "Label4"), QStringLiteral("(0..7) - Ilość wylosowanych liczb"));
    QCOMPARE(f.Cell(1, 1), QStringLiteral(" 6")); // the later draw of the day stands
    QCOMPARE(f.Cell(3, 1), QStringLiteral(" 0"));
    f.map.close();

    // A new set of 15 numbers: the next showing rebuilds the legend for it.
    f.Confirm({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    f.OpenMap();
    QCOMPARE(Text(&f.map, "Label4"), QStringLiteral("(0..15) - Ilość wylosowanych liczb"));
    f.map.show();
    QTest::keyClick(Find<QWidget>(&f.map, "CheckBox1"), Qt::Key_Space); // the box reacts to any toggle
    QCOMPARE(Text(&f.map, "Label4"), QStringLiteral("X - Dni w których wylosowano od 3 do 5 liczb"));
    QCOMPARE(f.Cell(1, 1), QStringLiteral(" X"));
}

void CalendarTest::enterPressesOnlyAFocusedButton() {
    Fixture f;
    f.map.show();
    QVERIFY(!Find<QPushButton>(&f.map, "BitBtn1")->isDefault());
    for (const char* name : {"Edit1", "CheckBox1"}) {
        QWidget* w = Find<QWidget>(&f.map, name);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(f.map.isVisible());
    }
    QVERIFY(!Find<QCheckBox>(&f.map, "CheckBox1")->isChecked());
    QCOMPARE(Dialogs::History().size(), 0);

    Find<QWidget>(&f.map, "dyskietka")->setFocus();
    QTest::keyClick(Find<QWidget>(&f.map, "dyskietka"), Qt::Key_Return);
    QCOMPARE(Dialogs::History().size(), 1); // the save dialog, cancelled
    QTest::keyClick(Find<QWidget>(&f.map, "BitBtn1"), Qt::Key_Return);
    QVERIFY(!f.map.isVisible());
}

void CalendarTest::startUpCreatesTheMap() {
    ProgramFolder folder;
    ProgramWindows windows = CreateProgramWindows();
    QVERIFY(windows.main->findChild<TTabelka11*>() != nullptr);
}

QTEST_MAIN(CalendarTest)
#include "calendar_test.moc"
