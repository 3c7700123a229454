// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The summary of a results file before its draws go into the database: the draws read with their
// first and last date, the repeats dropped, the lines whose numbers past the 20th were ignored,
// the two modes as radio buttons with the new draws each would bring (and the stored draws a
// replacement removes, in colours that stand out), and the bad lines in a
// scrollable list. The first three and the last three draws show as read (date and 20 numbers),
// so that a misread layout is seen before anything is written; when lines hold more than 20
// numbers, "Liczby losowania: pierwsze 20 / ostatnie 20" chooses which make the draw, and reads
// the file again. Each value's accessible name is its caption and the value. "Importuj" checks the chosen mode's plan
// (a refusal says why and leaves the dialog open for the other mode; bad lines are skipped only after a Yes) and closes
// the dialog accepted when there is something to write; "Anuluj" closes it. The caller carries out plan().
#include "database/ResultsImport.h"

#include <QAbstractListModel>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QListView;
class QPushButton;
class QRadioButton;

namespace zg {

// The bad lines of a results file, one row each: "wiersz 12: za mało liczb (19)"; the texts are
// built when a row is painted. Of millions only the first ones are kept: a last row "… oraz dalsze
// błędne wiersze: N" counts the others.
class ImportProblemsModel final : public QAbstractListModel {
    Q_OBJECT
public:
    ImportProblemsModel(const std::vector<ImportProblem>& problems, std::size_t problemCount, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const std::vector<ImportProblem>& problems_;
    std::size_t notKept_ = 0;
};

class ImportDialog final : public QDialog {
    Q_OBJECT
public:
    // `results` must outlive the dialog. `fileName` is the file's name as shown; `database` and
    // `databaseWhole` are the database the draws would go into (see PlanImport).
    // `pendingDownloadWaiting`: a full download waits beside the program, and a write deletes it.
    ImportDialog(const ImportedResults& results, const QString& fileName, DrawsView database, bool databaseWhole,
                 bool pendingDownloadWaiting, QWidget* parent = nullptr);

    // Reads the file again with the other choice of numbers; nothing when it cannot (the reader
    // has said why). Without a reader the choice is not offered.
    using Reread = std::function<std::optional<ImportedResults>(TakeNumbers)>;
    void setReread(Reread reread);

    ImportMode mode() const;
    // The plan of the chosen mode; once the dialog is accepted, one that writes.
    const ImportPlan& plan() const;
    // The draws as last read: those the plan refers to.
    const ImportedResults& results() const { return *results_; }
    TakeNumbers take() const { return take_; }

private:
    void showResults();
    void showPlan();
    void takeChosen(TakeNumbers take);
    void confirm();

    const ImportedResults* results_;
    std::optional<ImportedResults> reread_; // the file read again, once the choice changed
    DrawsView database_;
    bool databaseWhole_ = false;
    std::array<ImportPlan, 2> plans_; // by ImportMode
    bool pendingDownloadWaiting_ = false;
    Reread rereader_;
    TakeNumbers take_ = TakeNumbers::First;

    QLabel* drawsReadValue = nullptr;
    QLabel* previewValue = nullptr;
    QLabel* repeatsValue = nullptr;
    QLabel* extraNumbersValue = nullptr;
    QLabel* badLinesValue = nullptr;
    QWidget* takeChoice = nullptr;
    QRadioButton* takeFirstButton = nullptr;
    QRadioButton* takeLastButton = nullptr;
    QLabel* problemsHeading = nullptr;
    QRadioButton* appendModeButton = nullptr;
    QRadioButton* replaceModeButton = nullptr;
    QLabel* newDrawsValue = nullptr;
    QLabel* drawCountAfterValue = nullptr;
    QLabel* correctedDatesValue = nullptr;
    QLabel* removedDrawsCaption = nullptr; // "Usunięte losowania:", shown for a replacement that removes draws
    QLabel* removedDrawsValue = nullptr;
    QLabel* planNote = nullptr;
    QListView* problemsList = nullptr;
    QPushButton* confirmButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

} // namespace zg
