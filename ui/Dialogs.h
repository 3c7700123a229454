// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program shows message boxes, file dialogs and date questions. Production shows
// QMessageBox, QFileDialog and a small dialog with a QDateEdit; tests switch on the test mode, in
// which nothing is shown, every box is recorded and answers come from a queue the test filled
// beforehand.
#include <QDate>
#include <QList>
#include <QString>

class QWidget;

namespace zg {

class Dialogs {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    // What a shown box or dialog was, as the test side records it.
    struct Shown {
        // OverwriteQuestion: the save dialog's question before replacing an existing file.
        enum class Kind { Message, SaveFile, OpenFile, OverwriteQuestion, DateQuestion } kind = Kind::Message;
        QString caption;
        QString text; // message text (also of a date question); for file dialogs the proposed file name
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString directory;                  // file dialogs: the folder they start in
        QString filter;                     // file dialogs: the Qt filter text
        Answer defaultAnswer = Answer::Yes; // Yes/No boxes: the button Enter presses
        QDate date;                         // date questions: the date the field starts at
    };

    // A modal message box; its text is plain text, never markup. Returns the button pressed (Ok for
    // an Ok box; closing a Yes/No box without choosing counts as No). `defaultAnswer` is the button
    // of a Yes/No box that Enter presses.
    static Answer Message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                          Buttons buttons = Buttons::Ok, Answer defaultAnswer = Answer::Yes);

    // The application's general error box: the system's description of a failed file operation,
    // titled with the application's name, with the error icon. The program's own descriptions,
    // English in the core, are shown in Polish (WindowErrorText).
    static void SystemError(QWidget* parent, const QString& text);

    // Save dialog starting in `directory` with `proposedName` filled in. `filter` is a Qt filter
    // ("Pliki tekstowe (*.txt)"). A non-empty `defaultSuffix` ("txt") is added to a name typed
    // without extension. A name that is one of the program's own files (ProgramFileAt: the
    // database, a backup, ...) is refused with a warning and the dialog stays open. Choosing an
    // existing file asks whether to replace it (the file dialog's standard question); No goes
    // back to the dialog. Returns the chosen absolute path, or an empty string when the user
    // cancelled.
    static QString SaveFileName(QWidget* parent, const QString& directory, const QString& proposedName,
                                const QString& filter, const QString& defaultSuffix);

    // Open dialog starting in `directory`. Returns the chosen path or empty when cancelled.
    static QString OpenFileName(QWidget* parent, const QString& directory, const QString& filter);

    // A modal date question: `text` above a date field (DD.MM.YYYY, with the Polish calendar
    // pop-up) that starts at `initial` and takes the dates `minimum`..`maximum`, with "OK" and
    // "Anuluj". Returns the chosen date, or an invalid date when the user cancelled.
    static QDate AskDate(QWidget* parent, const QString& caption, const QString& text, const QDate& initial,
                         const QDate& minimum, const QDate& maximum);

    // ---- test side ----
    static void SetTestMode(bool on);
    static bool TestMode();
    // Answer of the next message box (default when the queue is empty: Ok, or No for Yes/No).
    static void QueueAnswer(Answer answer);
    // Path returned by the next file dialog; an empty string cancels. With an empty queue file
    // dialogs are cancelled. A save dialog given an existing file records an OverwriteQuestion
    // (its text names the file) and takes the next queued answer: Yes returns the path, No (also
    // the default) takes the next queued path as the user's next choice. A queued path that is
    // one of the program's own files records the refusal's warning and takes the next one.
    static void QueueFileName(const QString& path);
    // Date chosen in the next date question, kept within its dates as the field keeps it; an
    // invalid date cancels. With an empty queue date questions are cancelled.
    static void QueueDate(const QDate& date);
    static const QList<Shown>& History();
    static void ClearHistory();
};

} // namespace zg
