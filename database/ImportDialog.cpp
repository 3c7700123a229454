// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ImportDialog.h"

#include "base/PolishPlural.h"
#include "database/DrawEntry.h"
#include "ui/Dialogs.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zg {

namespace {

// The colours and fonts of the draw management window, which opens this dialog.

constexpr int DialogWidth = 560;

// "1234, od 01.10.1996 do 18.05.2023"; just "0" for no draws.
QString CountWithDates(const ImportedResults& results, std::size_t first, std::int32_t count) {
    if (count <= 0)
        return QStringLiteral("0");
    const std::size_t last = first + static_cast<std::size_t>(count) - 1;
    return QStringLiteral("%1, od %2 do %3")
        .arg(count)
        .arg(Q(ImportedDateText(results.draws[first])), Q(ImportedDateText(results.draws[last])));
}

// Shows a value; its accessible name is its caption and the value ("Nowe losowania: 100, od ..."),
// so that assistive technology reads the number and not the caption twice.
void SetValue(QLabel* value, const QString& text) {
    value->setText(text);
    value->setAccessibleName(value->property("caption").toString() + QLatin1Char(' ') + text);
}

// A caption and its value in one row of `grid`; the value, named `name`, is returned.
QLabel* AddRow(QGridLayout* grid, const QString& caption, const char* name) {
    const int row = grid->rowCount();
    auto* label = new QLabel(caption);
    auto* shown = new QLabel;
    shown->setObjectName(QString::fromLatin1(name));
    shown->setProperty("caption", caption);
    shown->setTextFormat(Qt::PlainText);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetValue(shown, QString());
    label->setBuddy(shown);
    grid->addWidget(label, row, 0);
    grid->addWidget(shown, row, 1);
    return shown;
}

// "10.04.1996  03 07 12 … 78": a draw as read, its numbers in the file's order.
QString DrawAsRead(const ImportedDraw& draw) {
    QString line = Q(ImportedDateText(draw)) + QLatin1Char(' ');
    for (std::uint8_t n : draw.numbers)
        line += QStringLiteral(" %1").arg(n, 2, 10, QLatin1Char('0'));
    return line;
}

// The first three and the last three draws as read, one a line, or each draw once for 6 or fewer;
// between the two ends the number of draws left out ("… 1228 losowań …").
QString Preview(const ImportedResults& results) {
    constexpr std::size_t Shown = 3;
    const std::size_t count = results.draws.size();
    if (count == 0)
        return QStringLiteral("brak");
    QStringList lines;
    for (std::size_t i = 0; i < count; ++i) {
        if (count > 2 * Shown && i == Shown) {
            lines << QStringLiteral("… ") + Q(CountOfDraws(static_cast<std::int64_t>(count - 2 * Shown))) +
                         QStringLiteral(" …");
            i = count - Shown;
        }
        lines << DrawAsRead(results.draws[i]);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ImportProblemsModel::ImportProblemsModel(const std::vector<ImportProblem>& problems, std::size_t problemCount,
                                         QObject* parent)
    : QAbstractListModel(parent), problems_(problems),
      notKept_(problemCount > problems.size() ? problemCount - problems.size() : 0) {}

int ImportProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(problems_.size()) + (notKept_ > 0 ? 1 : 0);
}

QVariant ImportProblemsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    if (static_cast<std::size_t>(index.row()) == problems_.size())
        return QStringLiteral("… oraz dalsze błędne wiersze: %1").arg(notKept_);
    const ImportProblem& problem = problems_[static_cast<std::size_t>(index.row())];
    return QStringLiteral("wiersz %1: %2").arg(problem.line).arg(Q(problem.Reason()));
}

ImportDialog::ImportDialog(const ImportedResults& results, const QString& fileName, DrawsView database,
                           bool databaseWhole, bool pendingDownloadWaiting, QWidget* parent)
    : QDialog(parent), results_(&results), database_(database), databaseWhole_(databaseWhole),
      pendingDownloadWaiting_(pendingDownloadWaiting) {
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("IMPORT  WYNIKÓW  Z  PLIKU"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    SetColours(this, Teal, TealYellow);
    setFont(PixelFont("Verdana", 13, true));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);

    auto* fileValue = new QLabel(QStringLiteral("Plik: ") + fileName, this);
    fileValue->setObjectName(QStringLiteral("fileValue"));
    fileValue->setTextFormat(Qt::PlainText); // a file name is never markup
    fileValue->setFont(PixelFont("Verdana", 15, true));
    fileValue->setFixedWidth(DialogWidth);
    fileValue->setWordWrap(true);
    SetTextColour(fileValue, Qt::white);
    layout->addWidget(fileValue);

    // The captions of both grids, above and inside the modes' frame, take one column width, so
    // that every value starts at the same place.
    const int captionWidth = fontMetrics().horizontalAdvance(QStringLiteral("Wiersze z więcej niż 20 liczbami:"));
    constexpr int FrameInset = 10;
    auto* summary = new QGridLayout;
    summary->setColumnStretch(1, 1);
    summary->setHorizontalSpacing(12);
    summary->setColumnMinimumWidth(0, captionWidth + FrameInset);
    summary->setContentsMargins(0, 0, 0, 0);
    drawsReadValue = AddRow(summary, QStringLiteral("Wczytane losowania:"), "drawsReadValue");
    repeatsValue = AddRow(summary, QStringLiteral("Pominięte powtórzenia:"), "repeatsValue");
    extraNumbersValue = AddRow(summary, QStringLiteral("Wiersze z więcej niż 20 liczbami:"), "extraNumbersValue");
    badLinesValue = AddRow(summary, QStringLiteral("Błędne wiersze:"), "badLinesValue");
    layout->addLayout(summary);

    // Which 20 numbers of a longer line make the draw; offered once a reader is set.
    takeChoice = new QWidget(this);
    takeChoice->setObjectName(QStringLiteral("takeChoice"));
    {
        auto* row = new QHBoxLayout(takeChoice);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(12);
        auto* caption = new QLabel(QStringLiteral("Liczby losowania:"), takeChoice);
        caption->setFixedWidth(captionWidth + FrameInset);
        takeFirstButton = new QRadioButton(QStringLiteral("pierwsze 20"), takeChoice);
        takeFirstButton->setObjectName(QStringLiteral("takeFirstButton"));
        takeLastButton = new QRadioButton(QStringLiteral("ostatnie 20"), takeChoice);
        takeLastButton->setObjectName(QStringLiteral("takeLastButton"));
        SetFieldColours(takeChoice, Qt::white, Qt::black); // the circles, white with a black dot
        row->addWidget(caption);
        for (QRadioButton* b : {takeFirstButton, takeLastButton}) {
            b->setAccessibleName(QStringLiteral("Liczby losowania: ") + b->text());
            row->addWidget(b);
        }
        row->addStretch(1);
        takeFirstButton->setChecked(true);
        connect(takeFirstButton, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                takeChosen(TakeNumbers::First);
        });
        connect(takeLastButton, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                takeChosen(TakeNumbers::Last);
        });
    }
    takeChoice->hide();
    layout->addWidget(takeChoice);

    // The draws as read, in a monospaced font so that the numbers stand in columns.
    auto* previewCaption = new QLabel(QStringLiteral("Odczytane losowania:"), this);
    layout->addWidget(previewCaption);
    previewValue = new QLabel(this);
    previewValue->setObjectName(QStringLiteral("previewValue"));
    previewValue->setProperty("caption", previewCaption->text());
    previewValue->setTextFormat(Qt::PlainText);
    previewValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont previewFont(QStringLiteral("Monospace"));
    previewFont.setStyleHint(QFont::TypeWriter);
    previewFont.setPixelSize(12);
    previewFont.setBold(false);
    previewValue->setFont(previewFont);
    previewValue->setFixedWidth(DialogWidth);
    previewValue->setContentsMargins(6, 3, 6, 3);
    SetColours(previewValue, Aqua, Qt::black);
    previewCaption->setBuddy(previewValue);
    layout->addWidget(previewValue);

    // The modes, and what the chosen one would bring, in the colours of the window's number boxes.
    auto* modes = new QGroupBox(QStringLiteral("Sposób wczytania"), this);
    modes->setObjectName(QStringLiteral("modeGroup"));
    modes->setAccessibleName(modes->title());
    SetColours(modes, DarkGreen, Pink);
    // The radio buttons' circles: white with a black dot on the dark green.
    SetFieldColours(modes, Qt::white, Qt::black);
    auto* modesLayout = new QVBoxLayout(modes);
    modesLayout->setContentsMargins(FrameInset, 20, FrameInset, 6);
    modes->setFixedWidth(DialogWidth);
    appendModeButton = new QRadioButton(Q(AppendModeText), modes);
    appendModeButton->setObjectName(QStringLiteral("appendModeButton"));
    replaceModeButton = new QRadioButton(Q(ReplaceModeText), modes);
    replaceModeButton->setObjectName(QStringLiteral("replaceModeButton"));
    for (QRadioButton* b : {appendModeButton, replaceModeButton}) {
        b->setAccessibleName(b->text());
        modesLayout->addWidget(b, 0, Qt::AlignLeft); // the click area ends with the caption
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showPlan();
        });
    }
    auto* planGrid = new QGridLayout;
    planGrid->setColumnStretch(1, 1);
    planGrid->setHorizontalSpacing(12);
    planGrid->setColumnMinimumWidth(0, captionWidth);
    newDrawsValue = AddRow(planGrid, QStringLiteral("Nowe losowania:"), "newDrawsValue");
    drawCountAfterValue = AddRow(planGrid, QStringLiteral("Losowania w bazie po imporcie:"), "drawCountAfterValue");
    correctedDatesValue = AddRow(planGrid, QStringLiteral("Poprawione daty:"), "correctedDatesValue");
    removedDrawsValue = AddRow(planGrid, QStringLiteral("Usunięte losowania:"), "removedDrawsValue");
    removedDrawsCaption = qobject_cast<QLabel*>(planGrid->itemAtPosition(planGrid->rowCount() - 1, 0)->widget());
    for (QLabel* l : modes->findChildren<QLabel*>())
        SetTextColour(l, Qt::white);
    modesLayout->addLayout(planGrid);
    // The removed draws' row: black on yellow, both fixed, so that it stands out on the dark green
    // under any palette; its room stays when it is hidden, so the dialog keeps its size.
    for (QLabel* l : {removedDrawsCaption, removedDrawsValue}) {
        SetColours(l, Qt::yellow, Qt::black);
        QSizePolicy policy = l->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        l->setSizePolicy(policy);
    }
    planNote = new QLabel(modes);
    planNote->setObjectName(QStringLiteral("planNote"));
    planNote->setTextFormat(Qt::PlainText);
    planNote->setWordWrap(true);
    planNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for the longest message (a file that does not continue the database), so that the
    // dialog keeps its size when the mode changes.
    planNote->setFixedSize(DialogWidth - 2 * FrameInset - 2, 4 * planNote->fontMetrics().lineSpacing());
    modesLayout->addWidget(planNote);
    layout->addWidget(modes);

    // The bad lines; a file may have millions, so the list is a model whose rows are one line high.
    problemsHeading = new QLabel(QStringLiteral("Błędne wiersze (numer wiersza: przyczyna):"), this);
    problemsList = new QListView(this);
    problemsList->setObjectName(QStringLiteral("problemsList"));
    problemsList->setAccessibleName(QStringLiteral("Błędne wiersze"));
    problemsList->setUniformItemSizes(true);
    problemsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    problemsList->setFont(PixelFont("Verdana", 13, false));
    problemsList->setFixedSize(DialogWidth, 150);
    SetFieldColours(problemsList, Aqua, Qt::black);
    problemsHeading->setBuddy(problemsList);
    layout->addWidget(problemsHeading);
    layout->addWidget(problemsList);

    confirmButton = new QPushButton(QStringLiteral("Importuj"), this);
    confirmButton->setObjectName(QStringLiteral("confirmButton"));
    confirmButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Anuluj"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {confirmButton, cancelButton}) {
        b->setMinimumSize(113, 33);
        b->setAccessibleName(b->text());
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(confirmButton, &QPushButton::clicked, this, &ImportDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    showResults();
    appendModeButton->setChecked(true); // the default mode; shows its plan
}

void ImportDialog::setReread(Reread reread) {
    rereader_ = std::move(reread);
    takeChoice->setVisible(rereader_ && results_->linesWithExtraNumbers > 0);
}

void ImportDialog::showResults() {
    const ImportedResults& results = *results_;
    for (ImportMode mode : {ImportMode::AppendNew, ImportMode::ReplaceAll})
        plans_[static_cast<std::size_t>(mode)] = PlanImport(results, database_, databaseWhole_, mode);
    SetValue(drawsReadValue, CountWithDates(results, 0, static_cast<std::int32_t>(results.draws.size())));
    SetValue(previewValue, Preview(results));
    SetValue(repeatsValue, QString::number(results.repeats));
    SetValue(extraNumbersValue, results.linesWithExtraNumbers > 0 ? QString::number(results.linesWithExtraNumbers) +
                                                                        QStringLiteral(" (nadmiarowe liczby pominięto)")
                                                                  : QStringLiteral("0"));
    SetValue(badLinesValue, QString::number(results.problemCount));
    // The list reads the problems it is given: a new model for the problems of a new reading.
    QAbstractItemModel* old = problemsList->model();
    problemsList->setModel(new ImportProblemsModel(results.problems, results.problemCount, problemsList));
    delete old;
    const bool anyProblem = results.problemCount > 0;
    problemsHeading->setVisible(anyProblem);
    problemsList->setVisible(anyProblem);
}

void ImportDialog::takeChosen(TakeNumbers take) {
    if (take == take_ || !rereader_)
        return;
    std::optional<ImportedResults> read = rereader_(take);
    if (!read) {
        // The file could not be read again: the choice stays what the shown draws were read with.
        const QSignalBlocker first(takeFirstButton), last(takeLastButton);
        (take_ == TakeNumbers::First ? takeFirstButton : takeLastButton)->setChecked(true);
        return;
    }
    take_ = take;
    reread_ = std::move(*read);
    results_ = &*reread_;
    showResults();
    showPlan();
}

ImportMode ImportDialog::mode() const {
    return replaceModeButton->isChecked() ? ImportMode::ReplaceAll : ImportMode::AppendNew;
}

const ImportPlan& ImportDialog::plan() const {
    return plans_[static_cast<std::size_t>(mode())];
}

void ImportDialog::showPlan() {
    const ImportPlan& p = plan();
    SetValue(newDrawsValue, CountWithDates(*results_, p.firstNew, p.newCount));
    SetValue(drawCountAfterValue, p.writes() ? QString::number(p.drawCountAfter) : QStringLiteral("bez zmian"));
    SetValue(correctedDatesValue, QString::number(p.corrections.size()));
    // The draws a replacement removes, shown only when there are any.
    const bool removes = p.mode == ImportMode::ReplaceAll && p.writes() && p.removedCount > 0;
    SetValue(removedDrawsValue, QString::number(p.removedCount));
    removedDrawsCaption->setVisible(removes);
    removedDrawsValue->setVisible(removes);
    QString note;
    if (!p.writes())
        note = Q(p.message);
    else if (pendingDownloadWaiting_)
        note = QStringLiteral("Czekające pobranie wszystkich wyników (plik zentag) zostanie usunięte, aby przy "
                              "następnym uruchomieniu nie zastąpiło wczytanej bazy.");
    planNote->setText(note);
}

void ImportDialog::confirm() {
    const ImportPlan& p = plan();
    if (p.outcome == ImportPlan::Outcome::NothingNew) {
        Dialogs::Message(this, Q(ImportCaption), Q(p.message), Dialogs::Icon::Information);
        reject();
        return;
    }
    // A refusal leaves the dialog open: the other mode may take the file.
    if (p.refused()) {
        Dialogs::Message(this, Q(RefusalCaption), Q(p.message), Dialogs::Icon::Error);
        return;
    }
    if (results_->problemCount > 0 &&
        Dialogs::Message(this, Q(ImportCaption), Q(SkipBadLinesQuestion(results_->problemCount)),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    // A replacement that would remove stored draws says so first; No is the safe default.
    if (p.mode == ImportMode::ReplaceAll && p.removedCount > 0 &&
        Dialogs::Message(this, Q(ImportCaption),
                         Q(RemovedDrawsQuestion(p.removedCount, p.lastRemovedOrdinal, p.lastRemoved)),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    accept();
}

} // namespace zg
