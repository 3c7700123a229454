// SPDX-License-Identifier: GPL-3.0-or-later
#include "sets/SetEditor.h"

#include "base/State.h"
#include "ui/ButtonGrid.h"
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

// Colours of the window: light yellow and white texts, bold, on the grey background (dark enough
// for both to read at 4.5:1); a disabled text is dimmed, never left to the desktop's palette.
const char* const StyleSheet = R"(
QDialog#SetEditor { background-color: rgb(112, 112, 112); }
QLabel#promptLabel { color: rgb(255, 255, 160); font-size: 13pt; font-weight: bold; }
QLabel#countCaption { color: rgb(255, 255, 160); font-size: 11pt; font-weight: bold; }
QLabel#countValue { color: white; font-size: 11pt; font-weight: bold; }
QLabel#drawDateValue { color: white; font-size: 10pt; font-weight: bold; }
QLabel#promptLabel:disabled, QLabel#countCaption:disabled, QLabel#countValue:disabled,
QLabel#drawDateValue:disabled { color: rgb(215, 215, 215); }
QLineEdit#drawNumberEdit { background-color: aqua; color: black; font-size: 10pt; font-weight: bold; }
QLineEdit#drawNumberEdit:disabled { background-color: rgb(150, 190, 190); color: rgb(90, 90, 90); }
QToolButton[numberButton="true"] {
    color: navy; font-size: 11pt; font-weight: bold;
    background-color: rgb(212, 208, 200); border: 1px solid rgb(96, 96, 96); border-radius: 3px;
}
QToolButton[numberButton="true"]:disabled { color: rgb(100, 100, 130); }
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

    promptLabel = new QLabel(QStringLiteral("Wybierz liczbę lub zestaw liczb do analizy"), this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->setAlignment(Qt::AlignCenter);
    promptLabel->setGeometry(0, 0, 601, 44);

    for (int n = 1; n <= 80; ++n) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("numberButton%1").arg(n));
        b->setText(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
        b->setProperty("numberButton", true);
        b->setCheckable(true);
        b->setAutoRaise(true);
        const int row = (n - 1) / 10;
        const int column = (n - 1) % 10;
        b->setGeometry(GridLeft + column * (CellWidth + CellGap), GridTop + row * (CellHeight + CellGap), CellWidth,
                       CellHeight);
        // Any change of state counts, whoever made it: mouse, keyboard, an assistive tool or the program.
        connect(b, &QToolButton::toggled, this, &SetEditor::refreshSetCount);
        numberButtons[static_cast<std::size_t>(n)] = b;
    }
    // The 80 numbers are one Tab stop: the arrow keys move in the grid, Space toggles.
    MakeButtonGridOneTabStop(std::vector<QAbstractButton*>(numberButtons.begin() + 1, numberButtons.end()), 10);

    countCaption = new QLabel(QStringLiteral("Ilość liczb : "), this);
    countCaption->setObjectName(QStringLiteral("countCaption"));
    countCaption->move(GridLeft, 426);
    countCaption->adjustSize();
    countValue = new QLabel(QStringLiteral("0"), this);
    countValue->setObjectName(QStringLiteral("countValue"));
    countValue->setGeometry(countCaption->geometry().right() + 1, 426, 60, countCaption->height());

    saveSetButton = new QPushButton(this);
    saveSetButton->setObjectName(QStringLiteral("saveSetButton"));
    saveSetButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveSetButton->setIconSize(QSize(22, 22));
    saveSetButton->setToolTip(QStringLiteral("Zapisz zestaw do pliku"));
    saveSetButton->setAccessibleName(saveSetButton->toolTip());
    saveSetButton->setAutoDefault(false);
    saveSetButton->setEnabled(false);
    saveSetButton->setGeometry(505, 420, 34, 34);

    loadSetButton = new QPushButton(this);
    loadSetButton->setObjectName(QStringLiteral("loadSetButton"));
    loadSetButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    loadSetButton->setIconSize(QSize(22, 22));
    loadSetButton->setToolTip(QStringLiteral("Wczytaj zestaw z pliku"));
    loadSetButton->setAccessibleName(loadSetButton->toolTip());
    loadSetButton->setAutoDefault(false);
    loadSetButton->setGeometry(545, 420, 34, 34);

    loadDrawButton = new QPushButton(QStringLiteral("Wczytaj losowanie nr"), this);
    loadDrawButton->setObjectName(QStringLiteral("loadDrawButton"));
    loadDrawButton->setAutoDefault(false);
    loadDrawButton->setGeometry(GridLeft, 470, 180, 34);

    drawField_ = new SpinField(this, QStringLiteral("drawNumberEdit"), QStringLiteral("drawNumberArrows"), 5);
    drawField_->setAccessibleCaption(QStringLiteral("Numer losowania do wczytania"));
    drawField_->setGeometry(210, 470, 90, 34);
    drawField_->arrows()->setFixedWidth(18);
    drawField_->setRange(1, 1);
    drawField_->setPosition(1);

    drawDateValue = new QLabel(this);
    drawDateValue->setObjectName(QStringLiteral("drawDateValue"));
    drawDateValue->setAlignment(Qt::AlignCenter); // centred under the draw field
    drawDateValue->setGeometry(190, 508, 130, 24);

    QFont bold = font();
    bold.setBold(true);
    confirmButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Zatwierdź"), this);
    confirmButton->setObjectName(QStringLiteral("confirmButton"));
    confirmButton->setFont(bold);
    confirmButton->setDefault(true);
    confirmButton->setGeometry(340, 468, 116, 40);

    resetButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogResetButton), QStringLiteral("Resetuj"), this);
    resetButton->setObjectName(QStringLiteral("resetButton"));
    resetButton->setFont(bold);
    resetButton->setAutoDefault(false);
    resetButton->setGeometry(463, 468, 116, 40);

    connect(confirmButton, &QPushButton::clicked, this, &SetEditor::confirmSet);
    connect(resetButton, &QPushButton::clicked, this, &SetEditor::resetSelection);
    connect(loadDrawButton, &QPushButton::clicked, this, &SetEditor::loadDrawNumbers);
    connect(saveSetButton, &QPushButton::clicked, this, &SetEditor::saveSetFile);
    connect(loadSetButton, &QPushButton::clicked, this, &SetEditor::loadSetFile);
    connect(drawField_, &SpinField::arrowClicked, this, &SetEditor::refreshDrawDate);
    connect(drawField_, &SpinField::enterPressed, this, &SetEditor::refreshDrawDate);

    // Centred on the desktop once; a place the user drags it to is kept between showings.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

QToolButton* SetEditor::button(int n) const {
    return IsLotteryNumber(n) ? numberButtons[static_cast<std::size_t>(n)] : nullptr;
}

SetMembers SetEditor::selection() const {
    SetMembers members{};
    for (std::size_t n = 1; n <= 80; ++n)
        members[n] = numberButtons[n]->isChecked();
    return members;
}

void SetEditor::setSelection(const SetMembers& members) {
    for (std::size_t n = 1; n <= 80; ++n)
        numberButtons[n]->setChecked(members[n]);
}

void SetEditor::refreshSetCount() {
    int count = 0;
    for (std::size_t n = 1; n <= 80; ++n)
        count += numberButtons[n]->isChecked() ? 1 : 0;
    countValue->setText(QString::number(count));
    saveSetButton->setEnabled(count > 0);
}

void SetEditor::refreshDrawDate() {
    if (DrawCount <= 0) {
        drawDateValue->clear();
        return;
    }
    DrawDateLabel(drawField_, drawDateValue);
}

QString SetEditor::setDirectory() const {
    return PathText(AppDir + "/ZESTAWY LICZB");
}

void SetEditor::showEvent(QShowEvent* event) {
    // Each showing starts the draw chooser at the latest draw; the selection stays as it was.
    const bool haveDraws = DrawCount > 0;
    drawField_->setRange(1, std::max<std::int32_t>(DrawCount, 1));
    drawField_->setPosition(std::max<std::int32_t>(DrawCount, 1));
    loadDrawButton->setEnabled(haveDraws);
    drawField_->setEnabled(haveDraws);
    refreshDrawDate();
    QDialog::showEvent(event);
}

void SetEditor::keyPressEvent(QKeyEvent* event) {
    // Enter on a focused button ("Resetuj", "Wczytaj losowanie nr", save, load) presses that
    // button, not the default "Zatwierdź".
    if (PressFocusedButtonOnEnter(this, event))
        return;
    // Enter in the draw field only shows the chosen draw's date (the field reads itself and
    // reports it); should the key reach the window, it must not confirm the set through the
    // default button as well.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == drawField_->edit()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SetEditor::confirmSet() {
    NumberSetData chosen{};
    for (int n = 1; n <= 80; ++n)
        chosen.Member[n] = numberButtons[static_cast<std::size_t>(n)]->isChecked();
    CompleteNumberSet(chosen);
    // An empty confirmation is refused and changes nothing: the set confirmed before stays, and
    // with it the main window's result.
    if (chosen.Count == 0) {
        Dialogs::Message(this, QStringLiteral("Pouczenie!"), QStringLiteral("Musisz zaznaczyć jakieś liczby !!!"),
                         Dialogs::Icon::Information);
        return;
    }
    currentSet_ = chosen;
    emit setConfirmed(currentSet_);
    accept();
}

void SetEditor::resetSelection() {
    setSelection(SetMembers{});
    refreshSetCount();
}

void SetEditor::loadDrawNumbers() {
    if (DrawCount <= 0)
        return;
    const std::int32_t ordinal = drawField_->value();
    if (ordinal < 1 || ordinal > DrawCount)
        return;
    // A draw read from the database may hold values outside 1..80; they have no button.
    SetMembers members{};
    for (const std::int32_t n : DrawTable[ordinal].Numbers)
        if (IsLotteryNumber(n))
            members[static_cast<std::size_t>(n)] = true;
    setSelection(members);
    refreshSetCount();
    // The label then names the date of the draw whose numbers are shown, also when the number
    // was typed without Enter.
    DrawDateLabel(drawField_, drawDateValue);
}

void SetEditor::saveSetFile() {
    confirmButton->setFocus();
    const QString path = Dialogs::SaveFileName(this, setDirectory(), QString::fromStdString(NextSetFileName(AppDir)),
                                               SetFileFilter, QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (const auto error = WriteSetFile(PathBytes(path), selection(), AppDir)) {
        Dialogs::SystemError(this, QString::fromStdString(*error));
        return;
    }
    Dialogs::Message(this, QStringLiteral(" Zapis do pliku zakończony pomyślnie"),
                     QStringLiteral("Zestaw liczb został umieszczony w pliku ") + QLatin1Char('"') + path +
                         QLatin1Char('"'),
                     Dialogs::Icon::Information);
}

void SetEditor::loadSetFile() {
    confirmButton->setFocus();
    const QString path = Dialogs::OpenFileName(this, setDirectory(), SetFileFilter);
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
    setSelection(content.members);
    refreshSetCount();
    Dialogs::Message(this, QStringLiteral("Odczyt pliku zakończony pomyślnie"),
                     QStringLiteral("Plik został wczytany pomyślnie :-)"), Dialogs::Icon::Information);
}

} // namespace zg
