// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Dialogs.h"

#include "base/ProgramFiles.h"
#include "base/State.h"
#include "ui/FilePaths.h"
#include "ui/PolishTexts.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include <sys/stat.h>

namespace zg {

namespace {

// Test-mode state. Everything runs on the user-interface thread, so plain statics suffice.
struct TestState {
    bool on = false;
    QQueue<Dialogs::Answer> answers;
    QQueue<QString> fileNames;
    QQueue<QDate> dates;
    QList<Dialogs::Shown> history;
};

TestState& State() {
    static TestState state;
    return state;
}

// Captions of the file dialogs as the Polish system shows them.
const QString& SaveCaption() {
    static const QString caption = QStringLiteral("Zapisz jako");
    return caption;
}

const QString& OpenCaption() {
    static const QString caption = QStringLiteral("Otwórz");
    return caption;
}

QMessageBox::Icon ToQtIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Error:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The file dialog appends the default suffix to a name typed without one; the test side does
// the same to the queued name so that callers see what production would hand them.
QString WithDefaultSuffix(const QString& path, const QString& defaultSuffix) {
    if (path.isEmpty() || defaultSuffix.isEmpty())
        return path;
    if (QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + defaultSuffix;
}

// The question the file dialog asks before replacing an existing file, in its own words.
QString OverwriteQuestionText(const QString& path) {
    return QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName());
}

// The refusal of a chosen name that is one of the program's own files (the database, a backup, ...);
// empty for any other name.
QString ProgramFileRefusal(const QString& path) {
    if (path.isEmpty())
        return QString();
    const auto refusal = RefuseProgramFileTarget(PathBytes(path), AppDir);
    return refusal ? QString::fromStdString(*refusal) : QString();
}

void ShowProgramFileRefusal(QWidget* parent, const QString& refusal) {
    Dialogs::Message(parent, QStringLiteral("ZENTAGRAFO"), refusal, Dialogs::Icon::Warning);
}

// The save dialog that turns down one of the program's own files when the user presses "Zapisz",
// before the question about replacing it, and stays open for another name.
class SaveFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QString refusal = ProgramFileRefusal(QFileInfo(files.first()).absoluteFilePath());
            if (!refusal.isEmpty()) {
                ShowProgramFileRefusal(this, refusal);
                return;
            }
        }
        QFileDialog::accept();
    }
};

QString NextFileName() {
    TestState& state = State();
    return state.fileNames.isEmpty() ? QString() : state.fileNames.dequeue();
}

} // namespace

Dialogs::Answer Dialogs::Message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                                 Buttons buttons, Answer defaultAnswer) {
    TestState& state = State();
    if (state.on) {
        Shown shown;
        shown.kind = Shown::Kind::Message;
        shown.caption = caption;
        shown.text = text;
        shown.icon = icon;
        shown.buttons = buttons;
        shown.defaultAnswer = defaultAnswer;
        state.history.append(shown);
        // Every box takes the next queued answer, so a test's queue follows the order in which
        // the boxes appear. An Ok box can only be answered with Ok.
        const Answer answer = state.answers.isEmpty() ? Answer::No : state.answers.dequeue();
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answer == Answer::Yes ? Answer::Yes : Answer::No;
    }

    const QMessageBox::StandardButtons standard =
        buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    QMessageBox box(ToQtIcon(icon), caption, text, standard, parent);
    // A file name or a server's answer in the text must never turn into markup.
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo) {
        box.setDefaultButton(defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    // Closing the box without choosing is an escape, which counts as No.
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

void Dialogs::SystemError(QWidget* parent, const QString& text) {
    Message(parent, QStringLiteral("ZENTAGRAFO"), WindowErrorText(text), Icon::Error, Buttons::Ok);
}

QString Dialogs::SaveFileName(QWidget* parent, const QString& directory, const QString& proposedName,
                              const QString& filter, const QString& defaultSuffix) {
    TestState& state = State();
    if (state.on) {
        Shown shown;
        shown.kind = Shown::Kind::SaveFile;
        shown.caption = SaveCaption();
        shown.text = proposedName;
        shown.directory = directory;
        shown.filter = filter;
        state.history.append(shown);
        // As the real dialog does: an existing file is replaced only after a Yes; after a No the
        // dialog stays open for another choice.
        for (;;) {
            const QString path = WithDefaultSuffix(NextFileName(), defaultSuffix);
            const QString refusal = ProgramFileRefusal(path);
            if (!refusal.isEmpty()) {
                ShowProgramFileRefusal(parent, refusal);
                continue;
            }
            struct stat st;
            if (path.isEmpty() || ::stat(PathBytes(path).c_str(), &st) != 0)
                return path;
            Shown question;
            question.kind = Shown::Kind::OverwriteQuestion;
            question.caption = SaveCaption();
            question.text = OverwriteQuestionText(path);
            question.icon = Icon::Warning;
            question.buttons = Buttons::YesNo;
            state.history.append(question);
            if (!state.answers.isEmpty() && state.answers.dequeue() == Answer::Yes)
                return path;
        }
    }

    SaveFileDialog dialog(parent, SaveCaption(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(defaultSuffix);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    // A platform's own dialog never calls accept(): its choice is checked here, and a refused one
    // opens the dialog again.
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        const QStringList files = dialog.selectedFiles();
        const QString path = files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
        const QString refusal = ProgramFileRefusal(path);
        if (refusal.isEmpty())
            return path;
        ShowProgramFileRefusal(parent, refusal);
    }
}

QString Dialogs::OpenFileName(QWidget* parent, const QString& directory, const QString& filter) {
    TestState& state = State();
    if (state.on) {
        Shown shown;
        shown.kind = Shown::Kind::OpenFile;
        shown.caption = OpenCaption();
        shown.directory = directory;
        shown.filter = filter;
        state.history.append(shown);
        return NextFileName();
    }

    QFileDialog dialog(parent, OpenCaption(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

QDate Dialogs::AskDate(QWidget* parent, const QString& caption, const QString& text, const QDate& initial,
                       const QDate& minimum, const QDate& maximum) {
    TestState& state = State();
    if (state.on) {
        Shown shown;
        shown.kind = Shown::Kind::DateQuestion;
        shown.caption = caption;
        shown.text = text;
        shown.icon = Icon::Question;
        shown.date = initial;
        state.history.append(shown);
        const QDate chosen = state.dates.isEmpty() ? QDate() : state.dates.dequeue();
        if (!chosen.isValid())
            return QDate();
        return std::clamp(chosen, minimum, maximum);
    }

    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(text, &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* field = new QDateEdit(&dialog);
    field->setObjectName(QStringLiteral("dateField"));
    field->setAccessibleName(text);
    field->setLocale(QLocale(QLocale::Polish, QLocale::Poland)); // the calendar pop-up's month and day names
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    field->setCalendarPopup(true);
    field->setDateRange(minimum, maximum);
    field->setDate(initial);
    label->setBuddy(field);
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return QDate();
    return field->date();
}

void Dialogs::SetTestMode(bool on) {
    State().on = on;
}

bool Dialogs::TestMode() {
    return State().on;
}

void Dialogs::QueueAnswer(Answer answer) {
    State().answers.enqueue(answer);
}

void Dialogs::QueueFileName(const QString& path) {
    State().fileNames.enqueue(path);
}

void Dialogs::QueueDate(const QDate& date) {
    State().dates.enqueue(date);
}

const QList<Dialogs::Shown>& Dialogs::History() {
    return State().history;
}

void Dialogs::ClearHistory() {
    State().history.clear();
}

} // namespace zg
