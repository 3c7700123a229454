#include "database/ImportDialog.h"

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

// A caption and its value in one row of `grid`; the value, named `name`, is returned.
QLabel* AddRow(QGridLayout* grid, const QString& caption, const QString& value, const char* name) {
    const int row = grid->rowCount();
    auto* label = new QLabel(caption);
    auto* shown = new QLabel(value);
    shown->setObjectName(QString::fromLatin1(name));
    shown->setTextFormat(Qt::PlainText);
    shown->setAccessibleName(caption);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setBuddy(shown);
    grid->addWidget(label, row, 0);
    grid->addWidget(shown, row, 1);
    return shown;
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
    : QDialog(parent), results_(results), pendingDownloadWaiting_(pendingDownloadWaiting) {
    for (ImportMode mode : {ImportMode::AppendNew, ImportMode::ReplaceAll})
        plans_[static_cast<std::size_t>(mode)] = PlanImport(results, database, databaseWhole, mode);

    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("IMPORT  WYNIKÓW  Z  PLIKU"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    SetColours(this, Teal, Qt::yellow);
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
    {
        QPalette p = fileValue->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        fileValue->setPalette(p);
    }
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
    AddRow(summary, QStringLiteral("Wczytane losowania:"),
           CountWithDates(results, 0, static_cast<std::int32_t>(results.draws.size())), "drawsReadValue");
    AddRow(summary, QStringLiteral("Pominięte powtórzenia:"), QString::number(results.repeats), "repeatsValue");
    AddRow(summary, QStringLiteral("Wiersze z więcej niż 20 liczbami:"), QString::number(results.linesWithExtraNumbers),
           "extraNumbersValue");
    AddRow(summary, QStringLiteral("Błędne wiersze:"), QString::number(results.problemCount), "badLinesValue");
    layout->addLayout(summary);

    // The modes, and what the chosen one would bring, in the colours of the window's number boxes.
    auto* modes = new QGroupBox(QStringLiteral("Sposób wczytania"), this);
    modes->setObjectName(QStringLiteral("modeGroup"));
    modes->setAccessibleName(modes->title());
    SetColours(modes, DarkGreen, Pink);
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
    newDrawsValue = AddRow(planGrid, QStringLiteral("Nowe losowania:"), QString(), "newDrawsValue");
    drawCountAfterValue =
        AddRow(planGrid, QStringLiteral("Losowania w bazie po imporcie:"), QString(), "drawCountAfterValue");
    correctedDatesValue = AddRow(planGrid, QStringLiteral("Poprawione daty:"), QString(), "correctedDatesValue");
    for (QLabel* l : modes->findChildren<QLabel*>()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
    }
    modesLayout->addLayout(planGrid);
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
    auto* problemsHeading = new QLabel(QStringLiteral("Błędne wiersze (numer wiersza: przyczyna):"), this);
    problemsList = new QListView(this);
    problemsList->setObjectName(QStringLiteral("problemsList"));
    problemsList->setAccessibleName(QStringLiteral("Błędne wiersze"));
    problemsList->setModel(new ImportProblemsModel(results.problems, results.problemCount, problemsList));
    problemsList->setUniformItemSizes(true);
    problemsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    problemsList->setFont(PixelFont("Verdana", 13, false));
    problemsList->setFixedSize(DialogWidth, 150);
    {
        QPalette p = problemsList->palette();
        p.setColor(QPalette::Base, Aqua);
        p.setColor(QPalette::Text, Qt::black);
        problemsList->setPalette(p);
    }
    problemsHeading->setBuddy(problemsList);
    const bool anyProblem = results.problemCount > 0;
    problemsHeading->setVisible(anyProblem);
    problemsList->setVisible(anyProblem);
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

    appendModeButton->setChecked(true); // the default mode; shows its plan
}

ImportMode ImportDialog::mode() const {
    return replaceModeButton->isChecked() ? ImportMode::ReplaceAll : ImportMode::AppendNew;
}

const ImportPlan& ImportDialog::plan() const {
    return plans_[static_cast<std::size_t>(mode())];
}

void ImportDialog::showPlan() {
    const ImportPlan& p = plan();
    newDrawsValue->setText(CountWithDates(results_, p.firstNew, p.newCount));
    drawCountAfterValue->setText(p.writes() ? QString::number(p.drawCountAfter) : QStringLiteral("bez zmian"));
    correctedDatesValue->setText(QString::number(p.corrections.size()));
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
    if (results_.problemCount > 0 &&
        Dialogs::Message(this, Q(ImportCaption), Q(SkipBadLinesQuestion(results_.problemCount)),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    // A replacement that would remove stored draws says so first; No is the safe default.
    if (p.mode == ImportMode::ReplaceAll && p.removedCount > 0 &&
        Dialogs::Message(this, Q(ImportCaption), Q(RemovedDrawsQuestion(p.lastRemovedOrdinal, p.lastRemoved)),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    accept();
}

} // namespace zg
