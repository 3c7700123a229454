// SPDX-License-Identifier: GPL-3.0-or-later
// The number set editor driven through its real controls: number buttons, the draw chooser,
// saving and loading set files, confirming and closing.
#include "base/State.h"
#include "sets/SetEditor.h"
#include "support/DrawTables.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "ui/Dialogs.h"
#include "ui/SpinField.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

using zg::Dialogs;
using zg::SetEditor;

namespace {

constexpr std::int32_t TestDrawCount = 40000; // beyond the 16-bit positions of the old control

void FillDraws() {
    for (std::int32_t i = 1; i <= TestDrawCount; ++i) {
        zg::DrawRecord& d = zg::DrawTable[i];
        d.Number = i;
        d.Day = (i - 1) % 28 + 1;
        d.Month = (i - 1) / 28 % 12 + 1;
        d.Year = 2000 + (i - 1) / 336;
        for (int k = 0; k < 20; ++k)
            d.Numbers[k] = (i + 4 * k) % 80 + 1;
    }
    // A damaged draw: values that are no lottery numbers must not press (or index) anything.
    zg::DrawTable[2].Numbers[0] = 0;
    zg::DrawTable[2].Numbers[1] = 81;
    zg::DrawCount = TestDrawCount;
}

QString DateOf(std::int32_t i) {
    const zg::DrawRecord& d = zg::DrawTable[i];
    return QString::asprintf("%02d.%02d.%04d", d.Day, d.Month, d.Year);
}

QList<int> Pressed(const SetEditor& w) {
    QList<int> numbers;
    for (int n = 1; n <= 80; ++n)
        if (w.button(n)->isChecked())
            numbers.append(n);
    return numbers;
}

const Dialogs::Shown& Last() {
    return Dialogs::History().back();
}

} // namespace

class SetEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<zg::test::TempDir> app_;
    QString setDir_;

    std::unique_ptr<SetEditor> Open() {
        auto w = std::make_unique<SetEditor>();
        w->show();
        return w;
    }
    template <typename T> static T* Child(const SetEditor& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qFatal("missing control %s", name);
        return c;
    }
    static QLabel* Count(const SetEditor& w) { return Child<QLabel>(w, "countValue"); }
    static QPushButton* Save(const SetEditor& w) { return Child<QPushButton>(w, "saveSetButton"); }
    static void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void ClickNumbers(const SetEditor& w, std::initializer_list<int> numbers) {
        for (int n : numbers)
            Click(w.button(n));
    }
    QString SetPath(const QString& name) const { return setDir_ + QLatin1Char('/') + name; }

private slots:
    void initTestCase() {
        Dialogs::SetTestMode(true);
        zg::ResetProgramState();
        FillDraws();
    }

    void init() {
        app_ = std::make_unique<zg::test::TempDir>();
        std::filesystem::create_directory(app_->path() / "ZESTAWY LICZB");
        zg::AppDir = app_->str();
        setDir_ = QString::fromStdString(app_->str()) + QStringLiteral("/ZESTAWY LICZB");
        zg::DrawCount = TestDrawCount;
        Dialogs::ClearHistory();
    }

    void windowAndGrid() {
        auto w = Open();
        QCOMPARE(w->windowTitle(), QStringLiteral(" ZESTAW  LICZB  DO  ANALIZY"));
        QCOMPARE(w->size(), QSize(601, 545));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(Child<QLabel>(*w, "promptLabel")->text(),
                 QStringLiteral("Wybierz liczbę lub zestaw liczb do analizy"));
        QCOMPARE(Child<QLabel>(*w, "countCaption")->text(), QStringLiteral("Ilość liczb : "));
        QCOMPARE(Child<QPushButton>(*w, "confirmButton")->text(), QStringLiteral("Zatwierdź"));
        QVERIFY(Child<QPushButton>(*w, "confirmButton")->isDefault());
        QCOMPARE(Child<QPushButton>(*w, "resetButton")->text(), QStringLiteral("Resetuj"));
        QCOMPARE(Child<QPushButton>(*w, "loadDrawButton")->text(), QStringLiteral("Wczytaj losowanie nr"));
        QCOMPARE(Save(*w)->toolTip(), QStringLiteral("Zapisz zestaw do pliku"));
        QCOMPARE(Save(*w)->accessibleName(), QStringLiteral("Zapisz zestaw do pliku"));
        QCOMPARE(Child<QPushButton>(*w, "loadSetButton")->toolTip(), QStringLiteral("Wczytaj zestaw z pliku"));
        QCOMPARE(Child<QPushButton>(*w, "loadSetButton")->accessibleName(), QStringLiteral("Wczytaj zestaw z pliku"));

        // 8 rows of 10, number n in row (n-1)/10 and column (n-1)%10, all inside the window.
        for (int n = 1; n <= 80; ++n) {
            QToolButton* b = w->button(n);
            QCOMPARE(b->objectName(), QStringLiteral("numberButton%1").arg(n));
            QCOMPARE(b->text(), QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
            QVERIFY(w->rect().contains(b->geometry()));
            QToolButton* first = w->button((n - 1) / 10 * 10 + 1);
            QToolButton* top = w->button((n - 1) % 10 + 1);
            QCOMPARE(b->y(), first->y());
            QCOMPARE(b->x(), top->x());
            if (n % 10 != 1)
                QVERIFY(b->x() > w->button(n - 1)->x());
            if (n > 10)
                QVERIFY(b->y() > w->button(n - 10)->y());
        }
        QVERIFY(w->button(0) == nullptr && w->button(81) == nullptr);
    }

    void buttonsToggleOnTheirOwnAndCount() {
        auto w = Open();
        QCOMPARE(Count(*w)->text(), QStringLiteral("0"));
        QVERIFY(!Save(*w)->isEnabled());

        ClickNumbers(*w, {5, 17});
        QCOMPARE(Pressed(*w), (QList<int>{5, 17}));
        QCOMPARE(Count(*w)->text(), QStringLiteral("2"));
        QVERIFY(Save(*w)->isEnabled());

        Click(w->button(5));
        QCOMPARE(Pressed(*w), (QList<int>{17}));
        QCOMPARE(Count(*w)->text(), QStringLiteral("1"));
        Click(w->button(17));
        QCOMPARE(Count(*w)->text(), QStringLiteral("0"));
        QVERIFY(!Save(*w)->isEnabled());
    }

    // A name typed without an extension gets ".txt", so that the open dialog's filter shows it.
    void saveWritesExactBytesAddingTheTxtExtension() {
        auto w = Open();
        ClickNumbers(*w, {80, 2, 1});
        w->setCurrentSet(zg::test::MakeSet({44})); // saving must leave the confirmed set alone

        Dialogs::QueueFileName(SetPath(QStringLiteral("moj zestaw"))); // typed without ".txt"
        Click(Save(*w));
        const QString path = SetPath(QStringLiteral("moj zestaw.txt"));

        QCOMPARE(QString::fromStdString(zg::test::ReadBytes(path.toStdString())), QStringLiteral(" 1 2 80"));
        QCOMPARE(std::filesystem::file_size(path.toStdString()), std::uintmax_t{7});
        QCOMPARE(Dialogs::History().size(), 2);
        const Dialogs::Shown& dialog = Dialogs::History().front();
        QCOMPARE(dialog.kind, Dialogs::Shown::Kind::SaveFile);
        QCOMPARE(dialog.text, QStringLiteral("ZESTAW.0001.txt"));
        QCOMPARE(dialog.directory, setDir_);
        QCOMPARE(dialog.filter, QStringLiteral("Zestawy liczb dla programu ZENTAGRAFO (*.txt)"));
        QCOMPARE(Last().kind, Dialogs::Shown::Kind::Message);
        QCOMPARE(Last().caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
        QCOMPARE(Last().text,
                 QStringLiteral("Zestaw liczb został umieszczony w pliku \"") + path + QStringLiteral("\""));
        QCOMPARE(Last().icon, Dialogs::Icon::Information);
        QCOMPARE(w->currentSet().Count, 1);
        QCOMPARE(int(w->currentSet().Numbers[1]), 44);
    }

    void saveProposesFirstFreeNameAndCancelWritesNothing() {
        auto w = Open();
        zg::test::WriteBytes(SetPath(QStringLiteral("ZESTAW.0001.txt")).toStdString(), " 1");
        zg::test::WriteBytes(SetPath(QStringLiteral("ZESTAW.0003.txt")).toStdString(), " 3");
        Click(w->button(9));
        Click(Save(*w)); // nothing queued: the dialog is cancelled
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Last().kind, Dialogs::Shown::Kind::SaveFile);
        QCOMPARE(Last().text, QStringLiteral("ZESTAW.0002.txt"));
        QVERIFY(!std::filesystem::exists(SetPath(QStringLiteral("ZESTAW.0002.txt")).toStdString()));
    }

    void saveFailureIsReportedNotConfirmed() {
        auto w = Open();
        Click(w->button(9));
        Dialogs::QueueFileName(setDir_ + QStringLiteral("/brak/ZESTAW.0001.txt"));
        Click(Save(*w));
        QCOMPARE(Dialogs::History().size(), 2);
        QCOMPARE(Last().icon, Dialogs::Icon::Error);
        QCOMPARE(Last().text, QString::fromLocal8Bit(std::strerror(ENOENT)));
    }

    // Replacing a set file on a full disk: the system's error, no confirmation, the old file intact.
    void saveOnAFullDiskKeepsTheOldFile() {
        auto w = Open();
        Click(w->button(9));
        const QString path = SetPath(QStringLiteral("ZESTAW.0001.txt"));
        zg::test::WriteBytes(path.toStdString(), " 1 2");
        Dialogs::QueueFileName(path);
        Dialogs::QueueAnswer(Dialogs::Answer::Yes); // replace the existing file
        {
            zg::test::FileSizeLimit limit(1); // the new file " 9" needs 2 bytes
            Click(Save(*w));
        }
        QCOMPARE(Dialogs::History().size(), 3);
        QCOMPARE(Last().icon, Dialogs::Icon::Error);
        QCOMPARE(Last().text, QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(zg::test::ReadBytes(path.toStdString()), std::string(" 1 2"));
        QCOMPARE(QDir(setDir_).entryList(QDir::Files), QStringList{QStringLiteral("ZESTAW.0001.txt")});
    }

    void loadTakesAnySeparatorsAndReplacesTheSelection() {
        auto w = Open();
        ClickNumbers(*w, {1, 60});
        const QString path = SetPath(QStringLiteral("mieszany.txt"));
        zg::test::WriteBytes(path.toStdString(), "80\n5  5\t12\n");
        Dialogs::QueueFileName(path);
        Click(Child<QPushButton>(*w, "loadSetButton"));

        QCOMPARE(Pressed(*w), (QList<int>{5, 12, 80}));
        QCOMPARE(Count(*w)->text(), QStringLiteral("3"));
        QVERIFY(Save(*w)->isEnabled());
        QCOMPARE(Dialogs::History().size(), 2);
        QCOMPARE(Dialogs::History().front().kind, Dialogs::Shown::Kind::OpenFile);
        QCOMPARE(Dialogs::History().front().directory, setDir_);
        QCOMPARE(Dialogs::History().front().filter, QStringLiteral("Zestawy liczb dla programu ZENTAGRAFO (*.txt)"));
        QCOMPARE(Last().caption, QStringLiteral("Odczyt pliku zakończony pomyślnie"));
        QCOMPARE(Last().text, QStringLiteral("Plik został wczytany pomyślnie :-)"));
        QCOMPARE(Last().icon, Dialogs::Icon::Information);
        QCOMPARE(w->currentSet().Count, 0); // loading only fills the buttons
    }

    void refusedOrUnreadableFilesChangeNothing() {
        auto w = Open();
        ClickNumbers(*w, {7, 9});
        const QString path = SetPath(QStringLiteral("zly.txt"));
        for (const char* bad : {" 1 2 81", " 0 5", "5 x", "12abc", " 3 2147483648", "-3"}) {
            zg::test::WriteBytes(path.toStdString(), bad);
            Dialogs::ClearHistory();
            Dialogs::QueueFileName(path);
            Click(Child<QPushButton>(*w, "loadSetButton"));
            QCOMPARE(Dialogs::History().size(), 2);
            QCOMPARE(Last().caption, QStringLiteral("Błąd!"));
            QCOMPARE(Last().icon, Dialogs::Icon::Error);
            QVERIFY2(Last().text.startsWith(QStringLiteral("Plik \"") + path + QStringLiteral("\" zawiera ")),
                     qPrintable(Last().text));
            QCOMPARE(Pressed(*w), (QList<int>{7, 9}));
            QCOMPARE(Count(*w)->text(), QStringLiteral("2"));
        }
        QCOMPARE(Last().text, QStringLiteral("Plik \"") + path +
                                  QStringLiteral("\" zawiera niedozwoloną wartość \"-3\" — dozwolone są tylko liczby "
                                                 "od 1 do 80. Plik nie został wczytany."));

        Dialogs::QueueFileName(setDir_); // a folder opens but cannot be read
        Click(Child<QPushButton>(*w, "loadSetButton"));
        QCOMPARE(Last().icon, Dialogs::Icon::Error);
        QCOMPARE(Last().text, QString::fromLocal8Bit(std::strerror(EISDIR)));
        Dialogs::QueueFileName(SetPath(QStringLiteral("nie ma.txt")));
        Click(Child<QPushButton>(*w, "loadSetButton"));
        QCOMPARE(Last().text, QString::fromLocal8Bit(std::strerror(ENOENT)));
        QCOMPARE(Pressed(*w), (QList<int>{7, 9}));
    }

    void drawChooserAndLoadDraw() {
        auto w = Open();
        zg::SpinField* field = w->drawField();
        QLineEdit* edit = Child<QLineEdit>(*w, "drawNumberEdit");
        QLabel* date = Child<QLabel>(*w, "drawDateValue");
        QSignalSpy confirmed(w.get(), &SetEditor::setConfirmed);
        // Shown: the latest draw, beyond 32,767.
        QCOMPARE(field->minimum(), 1);
        QCOMPARE(field->maximum(), TestDrawCount);
        QCOMPARE(edit->text(), QString::number(TestDrawCount));
        QCOMPARE(date->text(), DateOf(TestDrawCount));

        // Typing alone does not refresh the date; Enter does, and does not confirm the set.
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, QStringLiteral("3x"));
        QCOMPARE(edit->text(), QStringLiteral("3"));
        QCOMPARE(date->text(), DateOf(TestDrawCount));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(date->text(), DateOf(3));
        QVERIFY(w->isVisible());
        QCOMPARE(confirmed.count(), 0);
        QVERIFY(Dialogs::History().isEmpty());

        Click(Child<QPushButton>(*w, "loadDrawButton"));
        QList<int> expected;
        for (int k = 0; k < 20; ++k)
            expected.append(zg::DrawTable[3].Numbers[k]);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(Pressed(*w), expected);
        QCOMPARE(Count(*w)->text(), QStringLiteral("20"));
        QVERIFY(Save(*w)->isEnabled());
        QCOMPARE(w->currentSet().Count, 0);

        // An arrow reads the field and refreshes the date; a draw past 32,767 can be typed.
        Click(field->upButton());
        QCOMPARE(edit->text(), QStringLiteral("4"));
        QCOMPARE(date->text(), DateOf(4));
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("35000"));
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(date->text(), DateOf(35000));

        // The damaged draw presses only its real numbers.
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("2"));
        Click(Child<QPushButton>(*w, "loadDrawButton"));
        QCOMPARE(Pressed(*w).size(), 18);
        QCOMPARE(Count(*w)->text(), QStringLiteral("18"));
        QCOMPARE(date->text(), DateOf(2));

        Click(Child<QPushButton>(*w, "resetButton"));
        QVERIFY(Pressed(*w).isEmpty());
        QCOMPARE(Count(*w)->text(), QStringLiteral("0"));
        QVERIFY(!Save(*w)->isEnabled());
    }

    void confirmingNothingIsRefusedAndKeepsTheSet() {
        auto w = Open();
        QSignalSpy confirmed(w.get(), &SetEditor::setConfirmed);
        w->setCurrentSet(zg::test::MakeSet({3, 4}));
        const zg::NumberSetData before = w->currentSet();

        Click(Child<QPushButton>(*w, "confirmButton"));
        QCOMPARE(Dialogs::History().size(), 1);
        QCOMPARE(Last().caption, QStringLiteral("Pouczenie!"));
        QCOMPARE(Last().text, QStringLiteral("Musisz zaznaczyć jakieś liczby !!!"));
        QCOMPARE(Last().icon, Dialogs::Icon::Information);
        QCOMPARE(w->currentSet().Count, 2);
        for (int n = 0; n <= 80; ++n) {
            QCOMPARE(int(w->currentSet().Numbers[n]), int(before.Numbers[n]));
            QCOMPARE(w->currentSet().Member[n], before.Member[n]);
        }
        QCOMPARE(confirmed.count(), 0);
        QVERIFY(w->isVisible());
    }

    void confirmingCopiesTheSelectionAscending() {
        auto w = Open();
        QSignalSpy confirmed(w.get(), &SetEditor::setConfirmed);
        zg::NumberSetData stale;
        stale.Numbers[30] = 77; // stale entries past Count must be cleared
        w->setCurrentSet(stale);
        QList<int> chosen;
        for (int n = 80; n >= 8; n -= 3) // 80, 77, ..., 8: 25 numbers, clicked from the top
            chosen.prepend(n);
        QCOMPARE(chosen.size(), 25);
        for (int n : chosen)
            Click(w->button(n));
        QCOMPARE(Count(*w)->text(), QStringLiteral("25"));

        Click(Child<QPushButton>(*w, "confirmButton"));
        QCOMPARE(w->currentSet().Count, 25);
        for (int i = 1; i <= 25; ++i)
            QCOMPARE(int(w->currentSet().Numbers[i]), chosen[i - 1]);
        for (int i = 26; i <= 80; ++i)
            QCOMPARE(int(w->currentSet().Numbers[i]), 0);
        for (int n = 1; n <= 80; ++n)
            QCOMPARE(w->currentSet().Member[n], chosen.contains(n));
        QCOMPARE(confirmed.count(), 1);
        QCOMPARE(int(confirmed.at(0).at(0).value<zg::NumberSetData>().Numbers[25]), 80); // the set rides on it
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(Dialogs::History().isEmpty());
    }

    void closeBoxKeepsTheSetAndTheSelection() {
        auto w = Open();
        ClickNumbers(*w, {10, 20});
        Click(Child<QPushButton>(*w, "confirmButton"));
        QCOMPARE(w->currentSet().Count, 2);

        w->show();
        Click(w->button(50));
        Click(w->button(10));
        QTest::mouseClick(Child<QLineEdit>(*w, "drawNumberEdit"), Qt::LeftButton);
        QTest::keyClicks(Child<QLineEdit>(*w, "drawNumberEdit"), QStringLiteral("7"));
        QTest::keyClick(Child<QLineEdit>(*w, "drawNumberEdit"), Qt::Key_Return);
        w->close();
        QVERIFY(!w->isVisible());
        QCOMPARE(w->currentSet().Count, 2);
        QCOMPARE(int(w->currentSet().Numbers[1]), 10);
        QCOMPARE(int(w->currentSet().Numbers[2]), 20);
        QVERIFY(!w->currentSet().Member[50]);

        // Showing again keeps the buttons but puts the chooser back on the latest draw.
        w->show();
        QCOMPARE(Pressed(*w), (QList<int>{20, 50}));
        QCOMPARE(Count(*w)->text(), QStringLiteral("2"));
        QCOMPARE(Child<QLineEdit>(*w, "drawNumberEdit")->text(), QString::number(TestDrawCount));
        QCOMPARE(Child<QLabel>(*w, "drawDateValue")->text(), DateOf(TestDrawCount));
    }

    void withoutDrawsTheDrawChooserIsOff() {
        zg::DrawCount = 0;
        auto w = Open();
        QVERIFY(!Child<QPushButton>(*w, "loadDrawButton")->isEnabled());
        QVERIFY(!Child<QLineEdit>(*w, "drawNumberEdit")->isEnabled());
        QVERIFY(Child<QLabel>(*w, "drawDateValue")->text().isEmpty());
        QVERIFY(Pressed(*w).isEmpty());

        // Draws arriving later (the draw management window) bring the chooser back.
        w->hide();
        zg::DrawCount = 5;
        w->show();
        QVERIFY(Child<QPushButton>(*w, "loadDrawButton")->isEnabled());
        QVERIFY(Child<QLineEdit>(*w, "drawNumberEdit")->isEnabled());
        QCOMPARE(Child<QLabel>(*w, "drawDateValue")->text(), DateOf(5));
        zg::DrawCount = TestDrawCount;
    }

    // The count, the save button and the confirmed set follow a number button however it changed.
    void numberButtonsFollowEveryChangeOfState_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("mouse") << 0;
        QTest::newRow("setChecked") << 1;
        QTest::newRow("accessible toggle") << 2;
    }
    void numberButtonsFollowEveryChangeOfState() {
        QFETCH(int, way);
        auto w = Open();
        const auto toggle = [way](QToolButton* b) {
            if (way == 0)
                Click(b);
            else if (way == 1)
                b->setChecked(!b->isChecked());
            else
                QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
        };
        for (int n : {5, 9, 33})
            toggle(w->button(n));
        toggle(w->button(33));
        QCOMPARE(Count(*w)->text(), QStringLiteral("2"));
        QVERIFY(Save(*w)->isEnabled());
        Click(Child<QPushButton>(*w, "confirmButton"));
        QCOMPARE(w->currentSet().Count, 2);
        QCOMPARE(int(w->currentSet().Numbers[1]), 5);
        QCOMPARE(int(w->currentSet().Numbers[2]), 9);
    }

    // Enter on a focused button presses that button, never "Zatwierdź".
    void enterOnAFocusedButtonPressesIt_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("dialogKind"); // -1: no dialog
        QTest::newRow("Resetuj") << "resetButton"
                                 << "0" << -1;
        QTest::newRow("Wczytaj losowanie nr") << "loadDrawButton"
                                              << "20" << -1;
        QTest::newRow("save") << "saveSetButton"
                              << "2" << int(Dialogs::Shown::Kind::SaveFile);
        QTest::newRow("load") << "loadSetButton"
                              << "2" << int(Dialogs::Shown::Kind::OpenFile);
    }
    void enterOnAFocusedButtonPressesIt() {
        QFETCH(QString, button);
        QFETCH(QString, count);
        QFETCH(int, dialogKind);
        auto w = Open();
        QSignalSpy confirmed(w.get(), &SetEditor::setConfirmed);
        ClickNumbers(*w, {3, 4});
        auto* b = Child<QPushButton>(*w, qPrintable(button));
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(confirmed.count(), 0);
        QVERIFY(w->isVisible());
        QCOMPARE(Count(*w)->text(), count);
        QCOMPARE(Dialogs::History().size(), dialogKind < 0 ? 0 : 1);
        if (dialogKind >= 0)
            QCOMPARE(int(Last().kind), dialogKind);
    }

    // A FIFO or an endless device picked as a set file is refused at once with the system-error box.
    void specialFilesAreNeitherReadNorWritten_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("link to /dev/zero") << false;
    }
    void specialFilesAreNeitherReadNorWritten() {
        QFETCH(bool, fifo);
        auto w = Open();
        ClickNumbers(*w, {7, 9});
        const QString path = SetPath(QStringLiteral("specjalny.txt"));
        if (fifo)
            QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        else
            std::filesystem::create_symlink("/dev/zero", path.toStdString());
        for (const char* button : {"loadSetButton", "saveSetButton"}) {
            Dialogs::ClearHistory();
            Dialogs::QueueFileName(path);
            Dialogs::QueueAnswer(Dialogs::Answer::Yes); // replace the "existing file"
            Click(Child<QPushButton>(*w, button));
            QCOMPARE(Last().caption, QStringLiteral("ZENTAGRAFO"));
            QCOMPARE(Last().text, QStringLiteral("Nie jest zwykłym plikiem"));
            QCOMPARE(Pressed(*w), (QList<int>{7, 9}));
        }
        QCOMPARE(std::filesystem::is_fifo(path.toStdString()), fifo);
    }

    // Saving over an existing file asks first; only a Yes replaces it.
    void saveAsksBeforeReplacing_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void saveAsksBeforeReplacing() {
        QFETCH(bool, yes);
        auto w = Open();
        const QString path = SetPath(QStringLiteral("ZESTAW.0001.txt"));
        zg::test::WriteBytes(path.toStdString(), " 1 2 3");
        ClickNumbers(*w, {80});
        Dialogs::QueueFileName(path);
        Dialogs::QueueAnswer(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        Click(Save(*w));
        QCOMPARE(Dialogs::History().size(), yes ? 3 : 2);
        QCOMPARE(Dialogs::History()[1].kind, Dialogs::Shown::Kind::OverwriteQuestion);
        QCOMPARE(Dialogs::History()[1].text, QStringLiteral("ZESTAW.0001.txt już istnieje.\nCzy chcesz go zastąpić?"));
        QCOMPARE(zg::test::ReadBytes(path.toStdString()), std::string(yes ? " 80" : " 1 2 3"));
    }

    // The real save dialog, Qt's own, reads Polish whatever the locale (the tests run in C.UTF-8).
    void saveDialogReadsPolish() {
        auto w = Open();
        ClickNumbers(*w, {5});
        Dialogs::SetTestMode(false);
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                qFatal("no save dialog");
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            texts << buttons->button(QDialogButtonBox::Save)->text()
                  << buttons->button(QDialogButtonBox::Cancel)->text()
                  << dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
            Click(buttons->button(QDialogButtonBox::Cancel));
        });
        Click(Save(*w));
        Dialogs::SetTestMode(true);
        QCOMPARE(texts,
                 (QStringList{QStringLiteral("&Zachowaj"), QStringLiteral("Anuluj"), QStringLiteral("Szukaj w:")}));
        QVERIFY(QDir(setDir_).isEmpty());
    }

    void cleanupTestCase() { app_.reset(); }
};

QTEST_MAIN(SetEditorTest)
#include "set_editor_test.moc"
