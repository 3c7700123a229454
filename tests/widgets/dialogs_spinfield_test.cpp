// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog seam's test side and the spin field: typing rules, reading and clamping, arrows,
// Enter, 32-bit ranges and the draw-date label.
#include "base/State.h"
#include "ui/Dialogs.h"
#include "ui/SpinField.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using zg::Dialogs;
using zg::SpinField;

// Counts the key presses that reach a widget.
class KeyCounter : public QObject {
public:
    int keys = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            ++keys;
        return false;
    }
};

class DialogsSpinFieldTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> window_;

    SpinField* makeField(std::int32_t lo, std::int32_t hi, int maxLength = 6) {
        auto* field =
            new SpinField(window_.get(), QStringLiteral("rangeFromEdit"), QStringLiteral("rangeFromArrows"), maxLength);
        field->setGeometry(10, 10, 67, 24);
        field->setRange(lo, hi);
        field->show();
        return field;
    }

    // Clicks into the box (which empties it) and types `keys`.
    static void typeInto(SpinField* field, const QString& keys) {
        QTest::mouseClick(field->edit(), Qt::LeftButton);
        QTest::keyClicks(field->edit(), keys);
    }

private slots:
    void init() {
        window_ = std::make_unique<QWidget>();
        window_->resize(200, 100);
        window_->show();
    }
    void cleanup() { window_.reset(); }

    void namesAndParts() {
        SpinField* field = makeField(1, 10, 6);
        QCOMPARE(field->edit()->objectName(), QStringLiteral("rangeFromEdit"));
        QCOMPARE(field->edit()->accessibleName(), QStringLiteral("rangeFromEdit"));
        QCOMPARE(field->edit()->maxLength(), 6);
        QCOMPARE(field->arrows()->objectName(), QStringLiteral("rangeFromArrows"));
        QCOMPARE(field->upButton()->accessibleName(), QStringLiteral("Zwiększ"));
        QCOMPARE(field->downButton()->accessibleName(), QStringLiteral("Zmniejsz"));
        field->setAccessibleCaption(QStringLiteral("Rok"));
        QCOMPARE(field->edit()->accessibleName(), QStringLiteral("Rok"));
        QCOMPARE(field->arrows()->accessibleName(), QStringLiteral("Zmień: Rok"));
        QVERIFY(field->upButton()->geometry().bottom() < field->downButton()->geometry().top());
        // Created at 0, the field moved into the range 1..10 shows 1.
        QCOMPARE(field->position(), 1);
        QCOMPARE(field->edit()->text(), QStringLiteral("1"));
    }

    void typingKeepsDigitsAndBackspaceOnly() {
        SpinField* field = makeField(0, 99999, 6);
        typeInto(field, QStringLiteral("1a2B-3 ,.4+"));
        // Letters of the Polish keyboard, and digits of other scripts, are dropped too.
        for (const QString& typed : {QStringLiteral("ą"), QStringLiteral("Ź"), QStringLiteral("٣")})
            QTest::sendKeyEvent(QTest::Click, field->edit(), Qt::Key_unknown, typed, Qt::NoModifier);
        QCOMPARE(field->edit()->text(), QStringLiteral("1234"));
        QTest::keyClick(field->edit(), Qt::Key_Backspace);
        QCOMPARE(field->edit()->text(), QStringLiteral("123"));
        QTest::keyClick(field->edit(), Qt::Key_Home);
        QTest::keyClicks(field->edit(), QStringLiteral("9x"));
        QCOMPARE(field->edit()->text(), QStringLiteral("9123"));
        // The edit length limits typing.
        QTest::keyClick(field->edit(), Qt::Key_End);
        QTest::keyClicks(field->edit(), QStringLiteral("45678"));
        QCOMPARE(field->edit()->text(), QStringLiteral("912345"));
        // Typing alone does not change the value in force.
        QCOMPARE(field->position(), 0);

        // A paste holding anything but digits is refused as a whole.
        typeInto(field, QStringLiteral("5"));
        QGuiApplication::clipboard()->setText(QStringLiteral("7x"));
        field->edit()->paste();
        QCOMPARE(field->edit()->text(), QStringLiteral("5"));
        QGuiApplication::clipboard()->setText(QStringLiteral("77"));
        field->edit()->paste();
        QCOMPARE(field->edit()->text(), QStringLiteral("577"));
    }

    void clickEmptiesButKeepsValue() {
        SpinField* field = makeField(1, 500);
        field->setPosition(321);
        QSignalSpy clicked(field, &SpinField::clicked);
        QTest::mouseClick(field->edit(), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(field->edit()->text(), QString());
        QCOMPARE(field->position(), 321);
        // Reading an empty box keeps the previous value and shows it again.
        QCOMPARE(field->value(), 321);
        QCOMPARE(field->edit()->text(), QStringLiteral("321"));
        // Only the left button clicks into the box.
        QTest::mouseClick(field->edit(), Qt::RightButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(field->edit()->text(), QStringLiteral("321"));
    }

    void valueClampsIntoRange() {
        SpinField* field = makeField(1, 500, 30);
        typeInto(field, QStringLiteral("900"));
        QCOMPARE(field->value(), 500);
        QCOMPARE(field->edit()->text(), QStringLiteral("500"));
        typeInto(field, QStringLiteral("0"));
        QCOMPARE(field->value(), 1);
        QCOMPARE(field->edit()->text(), QStringLiteral("1"));
        typeInto(field, QStringLiteral("007"));
        QCOMPARE(field->value(), 7);
        QCOMPARE(field->edit()->text(), QStringLiteral("7"));
        // Far beyond 32 and 64 bits: clamped to the maximum, no wrap-around.
        typeInto(field, QStringLiteral("4294967297"));
        QCOMPARE(field->value(), 500);
        typeInto(field, QStringLiteral("123456789012345678901234567890"));
        QCOMPARE(field->value(), 500);
        // Text the program put there that is not a number keeps the previous value.
        field->setPosition(42);
        field->edit()->setText(QStringLiteral("12x"));
        QCOMPARE(field->value(), 42);
        QCOMPARE(field->edit()->text(), QStringLiteral("42"));
        // setPosition clamps too.
        field->setPosition(-5);
        QCOMPARE(field->position(), 1);
        field->setPosition(100000);
        QCOMPARE(field->position(), 500);
        QCOMPARE(field->edit()->text(), QStringLiteral("500"));
    }

    void arrowsStepWithinRange() {
        SpinField* field = makeField(1, 3);
        field->setPosition(2);
        QSignalSpy arrow(field, &SpinField::arrowClicked);
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 3);
        QCOMPARE(field->edit()->text(), QStringLiteral("3"));
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 3); // no wrap
        QCOMPARE(arrow.count(), 2);
        QTest::mouseClick(field->downButton(), Qt::LeftButton);
        QTest::mouseClick(field->downButton(), Qt::LeftButton);
        QTest::mouseClick(field->downButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 1);
        QCOMPARE(arrow.count(), 5);

        // The arrow reads the typed text first, then steps from it.
        typeInto(field, QStringLiteral("2"));
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 3);
        // An empty box after a click steps from the value in force.
        QTest::mouseClick(field->edit(), Qt::LeftButton);
        QTest::mouseClick(field->downButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 2);
        QCOMPARE(field->edit()->text(), QStringLiteral("2"));

        // Up and Down keys in the box do the same.
        QTest::keyClick(field->edit(), Qt::Key_Up);
        QCOMPARE(field->position(), 3);
        QTest::keyClick(field->edit(), Qt::Key_Down);
        QTest::keyClick(field->edit(), Qt::Key_Down);
        QTest::keyClick(field->edit(), Qt::Key_Down);
        QCOMPARE(field->position(), 1);
        QCOMPARE(arrow.count(), 11);
    }

    void setRangeClamps() {
        SpinField* field = makeField(0, 100);
        field->setPosition(50);
        field->setRange(0, 20);
        QCOMPARE(field->position(), 20);
        QCOMPARE(field->edit()->text(), QStringLiteral("20"));
        field->setRange(30, 40);
        QCOMPARE(field->position(), 30);
        QCOMPARE(field->minimum(), 30);
        // A maximum below the minimum is raised to it.
        field->setRange(5, 3);
        QCOMPARE(field->minimum(), 5);
        QCOMPARE(field->maximum(), 5);
        QCOMPARE(field->position(), 5);
        // setMaximum keeps the minimum; an unchanged value leaves typed text alone.
        field->setRange(1, 10);
        typeInto(field, QStringLiteral("7"));
        field->setMaximum(8);
        QCOMPARE(field->maximum(), 8);
        QCOMPARE(field->minimum(), 1);
        QCOMPARE(field->edit()->text(), QStringLiteral("7"));
    }

    void valuesBeyondSixteenBits() {
        SpinField* field = makeField(1, 99999);
        field->setPosition(32767);
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 32768);
        typeInto(field, QStringLiteral("65536"));
        QCOMPARE(field->value(), 65536);
        typeInto(field, QStringLiteral("99999"));
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 99999);
        // A range wider than the edit length allows still shows (and reads back) whole values.
        field->setRange(1, 2147483647);
        field->setPosition(2147483647);
        QCOMPARE(field->edit()->text(), QStringLiteral("2147483647"));
        QTest::mouseClick(field->upButton(), Qt::LeftButton);
        QCOMPARE(field->position(), 2147483647);
        QCOMPARE(field->edit()->text(), QStringLiteral("2147483647"));
    }

    void enterReadsThenEmits() {
        SpinField* field = makeField(1, 500);
        field->setPosition(10);
        std::int32_t seen = -1;
        QString seenText;
        connect(field, &SpinField::enterPressed, this, [&] {
            seen = field->position();
            seenText = field->edit()->text();
        });
        typeInto(field, QStringLiteral("777"));
        QTest::keyClick(field->edit(), Qt::Key_Return);
        QCOMPARE(seen, 500);
        QCOMPARE(seenText, QStringLiteral("500"));
        typeInto(field, QStringLiteral("12"));
        QTest::keyClick(field->edit(), Qt::Key_Enter);
        QCOMPARE(seen, 12);
        // The field handles Enter itself: the window around it does not see the key a second time.
        KeyCounter counter;
        window_->installEventFilter(&counter);
        QTest::keyClick(field->edit(), Qt::Key_Return);
        QCOMPARE(counter.keys, 0);
    }

    void disabledFieldDisablesArrows() {
        SpinField* field = makeField(1, 10);
        field->setEnabled(false);
        QVERIFY(!field->edit()->isEnabled());
        QVERIFY(!field->upButton()->isEnabled());
        QVERIFY(!field->downButton()->isEnabled());
        field->setEnabled(true);
        QVERIFY(field->upButton()->isEnabled());
        // Disabling only the box takes the arrows along.
        field->edit()->setEnabled(false);
        QVERIFY(!field->upButton()->isEnabled());
        field->edit()->setEnabled(true);
        QVERIFY(field->downButton()->isEnabled());
    }

    void drawDateLabelShowsTheChosenDraw() {
        const std::int32_t savedCount = zg::DrawCount;
        const zg::DrawRecord saved[3] = {zg::DrawTable[1], zg::DrawTable[2], zg::DrawTable[3]};
        zg::DrawTable[1].Year = 2008, zg::DrawTable[1].Month = 3, zg::DrawTable[1].Day = 5;
        zg::DrawTable[2].Year = 2008, zg::DrawTable[2].Month = 3, zg::DrawTable[2].Day = 6;
        zg::DrawTable[3].Year = 2009, zg::DrawTable[3].Month = 12, zg::DrawTable[3].Day = 31;
        zg::DrawCount = 3;

        SpinField* field = makeField(1, 3);
        auto* label = new QLabel(window_.get());
        typeInto(field, QStringLiteral("1"));
        zg::DrawDateLabel(field, label);
        QCOMPARE(label->text(), QStringLiteral("05.03.2008"));
        // Above the maximum: the field shows the maximum and the label its date.
        typeInto(field, QStringLiteral("9"));
        zg::DrawDateLabel(field, label);
        QCOMPARE(field->edit()->text(), QStringLiteral("3"));
        QCOMPARE(label->text(), QStringLiteral("31.12.2009"));

        zg::DrawCount = savedCount;
        for (int i = 0; i < 3; ++i)
            zg::DrawTable[i + 1] = saved[i];
    }

    void dialogsTestModeRecordsAndAnswers() {
        Dialogs::SetTestMode(true);
        Dialogs::ClearHistory();
        QVERIFY(Dialogs::TestMode());

        // Empty queue: Ok boxes answer Ok, Yes/No boxes No.
        QCOMPARE(Dialogs::Message(nullptr, QStringLiteral("Błąd!"), QStringLiteral("tekst"), Dialogs::Icon::Error),
                 Dialogs::Answer::Ok);
        QCOMPARE(Dialogs::Message(nullptr, QStringLiteral("Pytanie"), QStringLiteral("Na pewno?"),
                                  Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
                 Dialogs::Answer::No);
        // Queued answers are taken in the order the boxes appear, Ok boxes included.
        Dialogs::QueueAnswer(Dialogs::Answer::Ok);
        Dialogs::QueueAnswer(Dialogs::Answer::Yes);
        QCOMPARE(Dialogs::Message(nullptr, QString(), QString(), Dialogs::Icon::Information), Dialogs::Answer::Ok);
        QCOMPARE(Dialogs::Message(nullptr, QString(), QString(), Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
                 Dialogs::Answer::Yes);
        Dialogs::SystemError(nullptr, QStringLiteral("Brak dostępu"));

        QCOMPARE(Dialogs::History().size(), 5);
        const Dialogs::Shown& question = Dialogs::History().at(1);
        QCOMPARE(question.kind, Dialogs::Shown::Kind::Message);
        QCOMPARE(question.caption, QStringLiteral("Pytanie"));
        QCOMPARE(question.text, QStringLiteral("Na pewno?"));
        QCOMPARE(question.icon, Dialogs::Icon::Question);
        QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
        const Dialogs::Shown& error = Dialogs::History().at(4);
        QCOMPARE(error.caption, QStringLiteral("ZENTAGRAFO"));
        QCOMPARE(error.text, QStringLiteral("Brak dostępu"));
        QCOMPARE(error.icon, Dialogs::Icon::Error);
        QCOMPARE(error.buttons, Dialogs::Buttons::Ok);

        // File dialogs: cancelled with an empty queue; the default suffix is added to a queued
        // name without extension, as the real dialog does.
        Dialogs::ClearHistory();
        const QString filter = QStringLiteral("Pliki tekstowe (*.txt)");
        QCOMPARE(Dialogs::SaveFileName(nullptr, QStringLiteral("/app/TXT"), QStringLiteral("ZENTAG.0001.txt"), filter,
                                       QStringLiteral("txt")),
                 QString());
        Dialogs::QueueFileName(QStringLiteral("/app/TXT/raport"));
        Dialogs::QueueFileName(QStringLiteral("/app/TXT/raport.dat"));
        Dialogs::QueueFileName(QString());
        QCOMPARE(Dialogs::SaveFileName(nullptr, QString(), QString(), filter, QStringLiteral("txt")),
                 QStringLiteral("/app/TXT/raport.txt"));
        QCOMPARE(Dialogs::SaveFileName(nullptr, QString(), QString(), filter, QStringLiteral("txt")),
                 QStringLiteral("/app/TXT/raport.dat"));
        QCOMPARE(Dialogs::OpenFileName(nullptr, QStringLiteral("/app/ZESTAWY LICZB"), filter), QString());
        Dialogs::QueueFileName(QStringLiteral("/app/ZESTAWY LICZB/ZESTAW.0001.txt"));
        QCOMPARE(Dialogs::OpenFileName(nullptr, QStringLiteral("/app/ZESTAWY LICZB"), filter),
                 QStringLiteral("/app/ZESTAWY LICZB/ZESTAW.0001.txt"));

        QCOMPARE(Dialogs::History().size(), 5);
        const Dialogs::Shown& save = Dialogs::History().at(0);
        QCOMPARE(save.kind, Dialogs::Shown::Kind::SaveFile);
        QCOMPARE(save.directory, QStringLiteral("/app/TXT"));
        QCOMPARE(save.text, QStringLiteral("ZENTAG.0001.txt"));
        QCOMPARE(save.filter, filter);
        const Dialogs::Shown& open = Dialogs::History().at(4);
        QCOMPARE(open.kind, Dialogs::Shown::Kind::OpenFile);
        QCOMPARE(open.directory, QStringLiteral("/app/ZESTAWY LICZB"));

        Dialogs::ClearHistory();
        QVERIFY(Dialogs::History().isEmpty());
        Dialogs::SetTestMode(false);
        QVERIFY(!Dialogs::TestMode());
    }
};

QTEST_MAIN(DialogsSpinFieldTest)
#include "dialogs_spinfield_test.moc"
