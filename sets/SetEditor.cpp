#include "sets/SetEditor.h"

#include "app/State.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/KeyboardButtons.h"
#include "ui/SpinField.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace zg {

namespace {

const QString SetFileFilter = QStringLiteral("Zestawy liczb dla programu ZENTAGRAFO (*.txt)");

// Geometry of the number grid: 8 rows of 10, between the heading and the controls at the bottom.
constexpr int GridLeft = 22;
constexpr int GridTop = 54;
constexpr int CellWidth = 52;
constexpr int CellHeight = 40;
constexpr int CellGap = 4;

// Colours of the window: light yellow and white texts, bold, on the grey background.
const char* const StyleSheet = R"(
QDialog#SetEditor { background-color: rgb(128, 128, 128); }
QLabel#Label3 { color: rgb(255, 255, 160); font-size: 13pt; font-weight: bold; }
QLabel#Label14 { color: rgb(255, 255, 160); font-size: 11pt; font-weight: bold; }
QLabel#Label83 { color: white; font-size: 11pt; font-weight: bold; }
QLabel#Label2 { color: white; font-size: 10pt; font-weight: bold; }
QLineEdit#Edit1 { background-color: aqua; color: black; font-size: 10pt; font-weight: bold; }
QLineEdit#Edit1:disabled { background-color: rgb(150, 190, 190); color: rgb(90, 90, 90); }
QToolButton[numberButton="true"] {
    color: navy; font-size: 11pt; font-weight: bold;
    background-color: rgb(212, 208, 200); border: 1px solid rgb(96, 96, 96); border-radius: 3px;
}
QToolButton[numberButton="true"]:hover { border: 1px solid white; }
QToolButton[numberButton="true"]:checked {
    background-color: rgb(255, 230, 120); border: 2px solid navy;
}
)";

} // namespace

SetEditor::SetEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetEditor"));
    setWindowTitle(QStringLiteral(" ZESTAW  LICZB  DO  ANALIZY"));
    // Caption and close box only; the editor stays above the main window while it is open.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(601, 545);
    setStyleSheet(QString::fromLatin1(StyleSheet));

    Label3 = new QLabel(QStringLiteral("Wybierz liczbę lub zestaw liczb do analizy"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setGeometry(0, 0, 601, 44);

    for (int n = 1; n <= 80; ++n) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(n));
        b->setText(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
        b->setProperty("numberButton", true);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        const int row = (n - 1) / 10;
        const int column = (n - 1) % 10;
        b->setGeometry(GridLeft + column * (CellWidth + CellGap), GridTop + row * (CellHeight + CellGap), CellWidth,
                       CellHeight);
        // Any change of state counts, whoever made it: mouse, keyboard, an assistive tool or the program.
        connect(b, &QToolButton::toggled, this, &SetEditor::RefreshSetCount);
        SpeedButtons[static_cast<std::size_t>(n)] = b;
    }

    Label14 = new QLabel(QStringLiteral("Ilość liczb : "), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->move(GridLeft, 426);
    Label14->adjustSize();
    Label83 = new QLabel(QStringLiteral("0"), this);
    Label83->setObjectName(QStringLiteral("Label83"));
    Label83->setGeometry(Label14->geometry().right() + 1, 426, 60, Label14->height());

    dyskietka = new QPushButton(this);
    dyskietka->setObjectName(QStringLiteral("dyskietka"));
    dyskietka->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    dyskietka->setIconSize(QSize(22, 22));
    dyskietka->setToolTip(QStringLiteral("Zapisz zestaw do pliku"));
    dyskietka->setAccessibleName(dyskietka->toolTip());
    dyskietka->setAutoDefault(false);
    dyskietka->setEnabled(false);
    dyskietka->setGeometry(505, 420, 34, 34);

    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    BitBtn3->setIconSize(QSize(22, 22));
    BitBtn3->setToolTip(QStringLiteral("Wczytaj zestaw z pliku"));
    BitBtn3->setAccessibleName(BitBtn3->toolTip());
    BitBtn3->setAutoDefault(false);
    BitBtn3->setGeometry(545, 420, 34, 34);

    Button1 = new QPushButton(QStringLiteral("Wczytaj losowanie nr"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setGeometry(GridLeft, 470, 180, 34);

    UpDown1 = new SpinField(this, QStringLiteral("Edit1"), QStringLiteral("UpDown1"), 5);
    UpDown1->setGeometry(210, 470, 90, 34);
    UpDown1->arrows()->setFixedWidth(18);
    UpDown1->setRange(1, 1);
    UpDown1->setPosition(1);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter); // centred under the draw field
    Label2->setGeometry(190, 508, 130, 24);

    QFont bold = font();
    bold.setBold(true);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Zatwierdź"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFont(bold);
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(340, 468, 116, 40);

    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogResetButton), QStringLiteral("Resetuj"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setFont(bold);
    BitBtn2->setAutoDefault(false);
    BitBtn2->setGeometry(463, 468, 116, 40);

    connect(BitBtn1, &QPushButton::clicked, this, &SetEditor::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &SetEditor::BitBtn2Click);
    connect(Button1, &QPushButton::clicked, this, &SetEditor::Button1Click);
    connect(dyskietka, &QPushButton::clicked, this, &SetEditor::dyskietkaClick);
    connect(BitBtn3, &QPushButton::clicked, this, &SetEditor::BitBtn3Click);
    connect(UpDown1, &SpinField::arrowClicked, this, &SetEditor::RefreshDrawDate);
    connect(UpDown1, &SpinField::enterPressed, this, &SetEditor::RefreshDrawDate);

    // Centred on the desktop once; a place the user drags it to is kept between showings.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

QToolButton* SetEditor::button(int n) const {
    return IsLotteryNumber(n) ? SpeedButtons[static_cast<std::size_t>(n)] : nullptr;
}

SetMembers SetEditor::Selection() const {
    SetMembers members{};
    for (std::size_t n = 1; n <= 80; ++n)
        members[n] = SpeedButtons[n]->isChecked();
    return members;
}

void SetEditor::SetSelection(const SetMembers& members) {
    for (std::size_t n = 1; n <= 80; ++n)
        SpeedButtons[n]->setChecked(members[n]);
}

void SetEditor::RefreshSetCount() {
    int count = 0;
    for (std::size_t n = 1; n <= 80; ++n)
        count += SpeedButtons[n]->isChecked() ? 1 : 0;
    Label83->setText(QString::number(count));
    dyskietka->setEnabled(count > 0);
}

void SetEditor::RefreshDrawDate() {
    if (DrawCount <= 0) {
        Label2->clear();
        return;
    }
    DrawDateLabel(UpDown1, Label2);
}

QString SetEditor::SetDirectory() const {
    return PathText(AppDir + "/ZESTAWY LICZB");
}

void SetEditor::showEvent(QShowEvent* event) {
    // Each showing starts the draw chooser at the latest draw; the selection stays as it was.
    const bool haveDraws = DrawCount > 0;
    UpDown1->setRange(1, std::max<std::int32_t>(DrawCount, 1));
    UpDown1->setPosition(std::max<std::int32_t>(DrawCount, 1));
    Button1->setEnabled(haveDraws);
    UpDown1->setEnabled(haveDraws);
    RefreshDrawDate();
    QDialog::showEvent(event);
}

void SetEditor::keyPressEvent(QKeyEvent* event) {
    // Enter on a focused button ("Resetuj", "Wczytaj losowanie nr", save, load) presses that
    // button, not the default "Zatwierdź".
    if (PressFocusedButtonOnEnter(this, event)) {
        event->accept();
        return;
    }
    // Enter in the draw field only shows the chosen draw's date (the field reads itself and
    // reports it); should the key reach the window, it must not confirm the set through the
    // default button as well.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == UpDown1->edit()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SetEditor::BitBtn1Click() {
    NumberSetData chosen{};
    for (int n = 1; n <= 80; ++n)
        chosen.Member[n] = SpeedButtons[static_cast<std::size_t>(n)]->isChecked();
    CompleteNumberSet(chosen);
    // An empty confirmation is refused and changes nothing: the set confirmed before stays, and
    // with it the main window's result.
    if (chosen.Count == 0) {
        Dialogs::Message(this, QStringLiteral("Pouczenie!"), QStringLiteral("Musisz zaznaczyć jakieś liczby !!!"),
                         Dialogs::Icon::Information);
        return;
    }
    NumberSet = chosen;
    emit setConfirmed();
    accept();
}

void SetEditor::BitBtn2Click() {
    SetSelection(SetMembers{});
    RefreshSetCount();
}

void SetEditor::Button1Click() {
    if (DrawCount <= 0)
        return;
    const std::int32_t ordinal = UpDown1->value();
    if (ordinal < 1 || ordinal > DrawCount)
        return;
    // A draw read from the database may hold values outside 1..80; they have no button.
    SetMembers members{};
    for (const std::int32_t n : DrawTable[ordinal].Numbers)
        if (IsLotteryNumber(n))
            members[static_cast<std::size_t>(n)] = true;
    SetSelection(members);
    RefreshSetCount();
    // The label then names the date of the draw whose numbers are shown, also when the number
    // was typed without Enter.
    DrawDateLabel(UpDown1, Label2);
}

void SetEditor::dyskietkaClick() {
    BitBtn1->setFocus();
    const QString path = Dialogs::SaveFileName(this, SetDirectory(), QString::fromStdString(NextSetFileName(AppDir)),
                                               SetFileFilter, QString());
    if (path.isEmpty())
        return;
    if (const auto error = WriteSetFile(PathBytes(path), Selection())) {
        Dialogs::SystemError(this, QString::fromStdString(*error));
        return;
    }
    Dialogs::Message(this, QStringLiteral(" Zapis do pliku zakończony pomyślnie"),
                     QStringLiteral("Zestaw liczb został umieszczony w pliku ") + QLatin1Char('"') + path +
                         QLatin1Char('"'),
                     Dialogs::Icon::Information);
}

void SetEditor::BitBtn3Click() {
    BitBtn1->setFocus();
    const QString path = Dialogs::OpenFileName(this, SetDirectory(), SetFileFilter);
    if (path.isEmpty())
        return;
    // The whole file is checked before any button changes.
    const SetFileContent content = ReadSetFile(PathBytes(path));
    switch (content.status) {
    case SetFileContent::Status::Refused:
        Dialogs::Message(this, QStringLiteral("Błąd!"), QString::fromStdString(content.error), Dialogs::Icon::Error);
        return;
    case SetFileContent::Status::Unreadable:
        Dialogs::SystemError(this, QString::fromStdString(content.error));
        return;
    case SetFileContent::Status::Ok:
        break;
    }
    SetSelection(content.members);
    RefreshSetCount();
    Dialogs::Message(this, QStringLiteral("Odczyt pliku zakończony pomyślnie"),
                     QStringLiteral("Plik został wczytany pomyślnie :-)"), Dialogs::Icon::Information);
}

} // namespace zg
