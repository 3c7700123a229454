// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DrawManager.h"

#include "base/State.h"
#include "database/Backups.h"
#include "database/BackupsController.h"
#include "database/DatabaseExport.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "database/DrawTableLoad.h"
#include "database/ImportController.h"
#include "database/PendingDownloadCheck.h"
#include "download/ResultsDownloadPanel.h"
#include "download/ResultsUpdate.h"
#include "ui/ButtonGrid.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/FittedText.h"
#include "ui/ProgramLook.h"
#include "ui/ProgressGauge.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <initializer_list>
#include <optional>

namespace zg {

namespace {

const QColor Grey(192, 192, 192);

// Room the group box's frame and the title's indents leave for the prompt line.
constexpr int PromptMargins = 24;
// Room the edit box's frame and text margins leave for the ticked numbers.
constexpr int TickedLineMargins = 10;
// The smallest pixel size a shrunk text of the window takes.
constexpr int SmallestPixels = 9;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

// Paints a grid cell as the program's string grids do: the cell's colour (or the system's
// selection colours), the text `leftPadding` pixels from the left edge at the top of the cell.
class CellDelegate final : public QStyledItemDelegate {
public:
    CellDelegate(int leftPadding, QObject* parent) : QStyledItemDelegate(parent), padding_(leftPadding) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        QColor text;
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
            text = option.palette.color(QPalette::HighlightedText);
        } else {
            painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>());
            text = index.data(Qt::ForegroundRole).value<QBrush>().color();
        }
        painter->save();
        painter->setFont(option.font);
        painter->setPen(text);
        painter->drawText(option.rect.adjusted(padding_, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    int padding_;
};

// Shows the refusal of "Dopisz" or "OK"; true when there was one.
bool Refused(QWidget* parent, EntryRefusal refusal, std::string_view notTwentyText) {
    std::string_view text;
    switch (refusal) {
    case EntryRefusal::None:
        return false;
    case EntryRefusal::NotTwentyTicked:
        text = notTwentyText;
        break;
    case EntryRefusal::NotLoadedWhole:
        text = NotLoadedWholeText;
        break;
    case EntryRefusal::TableFull:
        text = TableFullText;
        break;
    }
    Dialogs::Message(parent, Q(RefusalCaption), Q(text), Dialogs::Icon::Error);
    return true;
}

// Shows the refusal of the entered date for draw `ordinal`; true when there was one.
bool DateRefused(QWidget* parent, DrawsView draws, std::int32_t ordinal, CalendarDate date) {
    const DateRefusal refusal = CheckDrawDate(draws, ordinal, date);
    if (refusal == DateRefusal::None)
        return false;
    Dialogs::Message(parent, Q(RefusalCaption), Q(DateRefusalText(draws, ordinal, date, refusal)),
                     Dialogs::Icon::Error);
    return true;
}

} // namespace

DrawManager::DrawManager(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("drawManager"));
    setWindowTitle(QStringLiteral("ZARZĄDZANIE  LOSOWANIAMI"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(775, 535);
    setAcceptDrops(true); // a results file dropped on the window is imported
    buildControls();
    tickChanged();
    setNormalMode(true);
    refreshPromptLine();
}

DrawManager::~DrawManager() = default;

void DrawManager::buildControls() {
    SetColours(this, Teal, Qt::yellow);
    setFont(PixelFont("Verdana", 13, true));

    gridModel_ = new DrawGridModel(this);
    drawGrid = new QTableView(this);
    drawGrid->setObjectName(QStringLiteral("drawGrid"));
    drawGrid->setAccessibleName(QStringLiteral("Losowania"));
    drawGrid->setGeometry(3, 0, 769, 260);
    drawGrid->setModel(gridModel_);
    drawGrid->setItemDelegate(new CellDelegate(1, drawGrid));
    drawGrid->setFont(PixelFont("Verdana", 13, false));
    drawGrid->horizontalHeader()->hide();
    drawGrid->verticalHeader()->hide();
    drawGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    drawGrid->verticalHeader()->setMinimumSectionSize(16);
    drawGrid->verticalHeader()->setDefaultSectionSize(16);
    drawGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    drawGrid->horizontalHeader()->setMinimumSectionSize(20);
    setColumnWidths();
    drawGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    drawGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    drawGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drawGrid->setWordWrap(false);
    drawGrid->setShowGrid(true);
    drawGrid->setTabKeyNavigation(false); // Tab leaves the grid; the arrow keys move the row
    drawGrid->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(20,107,70); gridline-color: black; }"));
    connect(drawGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection&, const QItemSelection&) { showSelectedDraw(); });

    numberBoxesGroup = new QGroupBox(this);
    numberBoxesGroup->setObjectName(QStringLiteral("numberBoxesGroup"));
    numberBoxesGroup->setGeometry(160, 268, 489, 193);
    SetColours(numberBoxesGroup, DarkGreen, Pink);
    // The grey of the tick boxes, inherited by all 80 of them, with a black tick.
    SetFieldColours(numberBoxesGroup, Grey, Qt::black);
    SetButtonColours(numberBoxesGroup, Grey, Qt::black);
    numberBoxesGroup->installEventFilter(this);
    const QFont labelFont = PixelFont("Verdana", 9, true);
    QPalette labelPalette = numberBoxesGroup->palette();
    FixColourPair(labelPalette, QPalette::Window, Qt::yellow, QPalette::WindowText, Qt::black);
    for (int n = 1; n <= 80; ++n) {
        const int row = (n - 1) / 20, column = (n - 1) % 20;
        const int x = 8 + 24 * column, labelTop = 22 + 42 * row;
        const QString text = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        auto* label = new QLabel(text, numberBoxesGroup);
        label->setObjectName(QStringLiteral("NumberLabel%1").arg(n));
        label->setGeometry(x, labelTop, 15, 13);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignCenter);
        label->setPalette(labelPalette);
        label->setAutoFillBackground(true);
        auto* box = new QCheckBox(numberBoxesGroup);
        box->setObjectName(QStringLiteral("numberBox%1").arg(n));
        box->setAccessibleName(text);
        box->setGeometry(x, labelTop + 17, 17, 17);
        connect(box, &QCheckBox::toggled, this, [this](bool) { tickChanged(); });
        numberBoxes[n] = box;
    }

    tickedNumbersField = new QLineEdit(this);
    tickedNumbersField->setObjectName(QStringLiteral("tickedNumbersField"));
    tickedNumbersField->setAccessibleName(QStringLiteral("Zaznaczone liczby"));
    tickedNumbersField->setGeometry(160, 464, 455, 22);
    tickedNumbersField->setReadOnly(true);
    tickedNumbersField->setAcceptDrops(false); // a dropped results file is the window's
    // The widest line of 20 ticked numbers shows whole: the font shrinks until it fits.
    tickedNumbersField->setFont(FitText(font(), QStringLiteral(" 80") + QStringLiteral(",80").repeated(19),
                                        tickedNumbersField->width() - TickedLineMargins, SmallestPixels)
                                    .font);
    SetFieldColours(tickedNumbersField, Aqua, Qt::black);

    tickedCountValue = new QLabel(this);
    tickedCountValue->setObjectName(QStringLiteral("tickedCountValue"));
    tickedCountValue->setGeometry(626, 461, 64, 27);
    tickedCountValue->setFont(PixelFont("Verdana", 19, true));
    tickedCountValue->setFrameStyle(QFrame::Box | QFrame::Plain);
    tickedCountValue->setAlignment(Qt::AlignCenter);
    SetTextColour(tickedCountValue, Qt::white);

    resetButton = MakeButton(this, "resetButton", QStringLiteral("RESET"), QRect(695, 462, 78, 26));

    // "Data losowania:" below the ticked line, left of the download progress: the date "Dopisz"
    // and "OK" store.
    drawDateLabel = new QLabel(QStringLiteral("Data losowania:"), this);
    drawDateLabel->setObjectName(QStringLiteral("drawDateLabel"));
    drawDateLabel->setGeometry(143, 489, 112, 17);
    drawDateLabel->setFont(FitText(font(), drawDateLabel->text(), drawDateLabel->width(), SmallestPixels).font);
    SetTextColour(drawDateLabel, TealYellow); // the window's yellow, just light enough to read on teal
    drawDateField = new QDateEdit(this);
    drawDateField->setObjectName(QStringLiteral("drawDateField"));
    drawDateField->setAccessibleName(QStringLiteral("Data losowania"));
    drawDateField->setGeometry(143, 507, 112, 25);
    drawDateField->setFont(PixelFont("Verdana", 12, false));
    drawDateField->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    drawDateField->setDateRange(QDate(FirstEnteredYear, 1, 1), QDate(LastEnteredYear, 12, 31));
    drawDateField->setCalendarPopup(true);
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    drawDateField->setLocale(polish);
    drawDateField->calendarWidget()->setLocale(polish);
    drawDateField->calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    SetFieldColours(drawDateField, Qt::white, Qt::black);
    SetButtonColours(drawDateField, Grey, Qt::black);
    drawDateLabel->setBuddy(drawDateField);

    mapModel_ = new NumberMapModel(this);
    numberMap = new QTableView(this);
    numberMap->setObjectName(QStringLiteral("numberMap"));
    numberMap->setAccessibleName(QStringLiteral("Mapa liczb losowania"));
    numberMap->setGeometry(652, 277, 120, 181);
    numberMap->setModel(mapModel_);
    numberMap->setItemDelegate(new CellDelegate(10, numberMap));
    numberMap->setFont(PixelFont("Arial", 9, true));
    numberMap->horizontalHeader()->hide();
    numberMap->verticalHeader()->hide();
    for (QHeaderView* h : {numberMap->horizontalHeader(), numberMap->verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(10);
    }
    numberMap->horizontalHeader()->setDefaultSectionSize(22);
    numberMap->verticalHeader()->setDefaultSectionSize(10);
    numberMap->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    numberMap->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The map never shows a selected cell.
    numberMap->setSelectionMode(QAbstractItemView::NoSelection);
    numberMap->setFocusPolicy(Qt::NoFocus);
    numberMap->setTabKeyNavigation(false);
    numberMap->setEditTriggers(QAbstractItemView::NoEditTriggers);
    numberMap->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(0,128,255); gridline-color: black; }"));

    appendButton = MakeButton(this, "appendButton", QStringLiteral("Dopisz"), QRect(32, 288, 97, 33));
    editButton = MakeButton(this, "editButton", QStringLiteral("Edytuj"), QRect(10, 333, 87, 32));
    okButton = MakeButton(this, "okButton", QStringLiteral("OK"), QRect(97, 333, 58, 32));
    okButton->setDefault(true); // Enter confirms an edit
    // "Pobierz ostatnie" and "Pobierz wszystkie" below "Edytuj", STOP and the progress display
    // along the bottom edge.
    // The full download must pass the check the start-up merge will make of it.
    downloads_ = new ResultsDownloadPanel(this, PendingDownloadFileName,
                                          [](std::string_view body) { return ConvertedDownloadIsSound(body); });
    connect(downloads_, &ResultsDownloadPanel::runningChanged, this, &DrawManager::updateButtons);
    connect(downloads_, &ResultsDownloadPanel::latestDrawArrived, this, &DrawManager::appendLatestDraw);
    importButton = MakeButton(this, "importButton", QStringLiteral("Importuj z pliku…"), QRect(10, 453, 146, 25));
    importButton->setAccessibleName(importButton->text());
    // The import and the restore write the database; the table is then loaded anew from it.
    importer_ = new ImportController(this);
    connect(importer_, &ImportController::databaseWritten, this, &DrawManager::showReloadedTable);
    backups_ = new BackupsController(this);
    connect(backups_, &BackupsController::databaseRestored, this, [this] { showReloadedTable(true); });
    closeButton = MakeButton(this, "closeButton", QStringLiteral("Zamknij"), QRect(26, 480, 113, 33));

    exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    exportButton->setGeometry(640, 498, 25, 25);
    exportButton->setToolTip(QStringLiteral("Zapisz bazę wyników do pliku"));
    exportButton->setAccessibleName(QStringLiteral("Zapisz bazę wyników do pliku"));
    backupsButton = MakeButton(this, "backupsButton", QStringLiteral("Kopie bazy…"), QRect(670, 498, 102, 25));
    backupsButton->setAccessibleName(backupsButton->text());

    // Tab from the draw grid goes to the date field, down the buttons on the left, then through
    // the number boxes, the ticked line, RESET, STOP, the export and "Kopie bazy…", and back to
    // the grid.
    QWidget* previous = drawGrid;
    const auto next = [&previous](QWidget* w) {
        setTabOrder(previous, w);
        previous = w;
    };
    for (QWidget* w :
         std::initializer_list<QWidget*>{drawDateField, appendButton, editButton, okButton, downloads_->latestButton(),
                                         downloads_->allButton(), importButton, closeButton})
        next(w);
    for (int n = 1; n <= 80; ++n)
        next(numberBoxes[n]);
    // The 80 boxes are one Tab stop: the arrow keys move in their 4 rows of 20, Space ticks.
    MakeButtonGridOneTabStop(std::vector<QAbstractButton*>(std::begin(numberBoxes) + 1, std::end(numberBoxes)), 20);
    for (QWidget* w : std::initializer_list<QWidget*>{tickedNumbersField, resetButton, downloads_->stopButton(),
                                                      exportButton, backupsButton})
        next(w);

    connect(resetButton, &QPushButton::clicked, this, &DrawManager::resetTicks);
    connect(appendButton, &QPushButton::clicked, this, &DrawManager::appendDraw);
    connect(editButton, &QPushButton::clicked, this, &DrawManager::startEdit);
    connect(okButton, &QPushButton::clicked, this, &DrawManager::confirmEdit);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(exportButton, &QToolButton::clicked, this, &DrawManager::exportDatabase);
    connect(importButton, &QPushButton::clicked, this, &DrawManager::importFromFile);
    connect(backupsButton, &QPushButton::clicked, this, &DrawManager::showBackups);
}

void DrawManager::fillDrawGrid(QWidget* mainWindow, ProgressGauge* gauge) {
    if (gauge != nullptr) {
        gauge->setValue(0);
        gauge->setMaximum(DrawCount);
    }
    // The grid builds its texts when it paints them: one row per draw costs nothing here, so the
    // gauge reaches its end at once, and the main window shows it full without a paint of its own
    // in between.
    gridModel_->setRowCount(DrawCount);
    setColumnWidths(); // a reset of the model gives the columns their default width back
    if (gauge != nullptr)
        gauge->setValue(DrawCount);
    if (mainWindow != nullptr)
        mainWindow->show();
    refreshPromptLine();
}

void DrawManager::setColumnWidths() {
    drawGrid->horizontalHeader()->setDefaultSectionSize(29);
    drawGrid->setColumnWidth(0, 47);
    drawGrid->setColumnWidth(3, 42);
}

void DrawManager::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!glyphsSet_) {
        // The pictures are decoded at the first opening, not during start-up.
        glyphsSet_ = true;
        closeButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        downloads_->stopButton()->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
        exportButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    }
    if (DrawCount <= 0)
        return;
    drawGrid->selectRow(DrawCount - 1);
    drawGrid->scrollTo(gridModel_->index(DrawCount - 1, 0));
}

bool DrawManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == numberBoxesGroup && event->type() == QEvent::MouseButtonPress)
        tickChanged();
    return QDialog::eventFilter(watched, event);
}

TickBoxes DrawManager::ticks() const {
    TickBoxes ticked{};
    for (int n = 1; n <= 80; ++n)
        ticked[static_cast<std::size_t>(n)] = numberBoxes[n]->isChecked();
    return ticked;
}

bool DrawManager::tickNumber(int n, bool ticked) {
    if (!IsLotteryNumber(n))
        return false;
    numberBoxes[n]->setChecked(ticked);
    return true;
}

bool DrawManager::isTicked(int n) const {
    return IsLotteryNumber(n) && numberBoxes[n]->isChecked();
}

void DrawManager::untick(const DrawNumbers& numbers) {
    for (std::int32_t n : numbers)
        tickNumber(n, false);
}

void DrawManager::tickChanged() {
    const TickBoxes ticked = ticks();
    tickedNumbersField->setText(Q(TickedLineText(ticked)));
    tickedNumbersField->setCursorPosition(0); // a line wider than the field shows its beginning
    tickedCountValue->setText(Q(TickCountText(ticked)));
}

void DrawManager::resetTicks() {
    tickedNumbersField->setText(QStringLiteral(" "));
    for (int n = 1; n <= 80; ++n)
        numberBoxes[n]->setChecked(false);
}

void DrawManager::showSelectedDraw() {
    const std::int32_t row = selectedRow();
    if (row >= 0)
        mapModel_->showDraw(row + 1);
}

std::int32_t DrawManager::selectedRow() const {
    const QModelIndexList rows = drawGrid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    return rows.first().row();
}

bool DrawManager::editMode() const {
    return editMode_;
}

void DrawManager::refreshPromptLine() {
    // The prompt is read whole, up to the button it names: a long one takes a smaller font.
    const FittedText prompt =
        FitText(font(), Q(editMode() ? EditPromptText(editedDrawIndex_) : AppendPromptText(DrawCount)),
                numberBoxesGroup->width() - PromptMargins, SmallestPixels);
    numberBoxesGroup->setFont(prompt.font);
    numberBoxesGroup->setTitle(prompt.text);

    const QDate today = QDate::currentDate();
    const CalendarDate todays{today.day(), today.month(), today.year()};
    if (!editMode()) {
        setEntryDate(DefaultAppendDate(AllDraws(), todays));
        return;
    }
    // A stored date the field cannot show (no real date from 1900 on) gives way to the previous
    // draw's, else today's: the correction then fixes it.
    const CalendarDate stored = CalendarDateOf(DrawTable[editedDrawIndex_]);
    if (IsEnteredDate(stored))
        setEntryDate(stored);
    else if (editedDrawIndex_ > 1 && IsEnteredDate(CalendarDateOf(DrawTable[editedDrawIndex_ - 1])))
        setEntryDate(CalendarDateOf(DrawTable[editedDrawIndex_ - 1]));
    else
        setEntryDate(todays);
}

CalendarDate DrawManager::entryDate() const {
    const QDate d = drawDateField->date();
    return CalendarDate{d.day(), d.month(), d.year()};
}

void DrawManager::setEntryDate(CalendarDate date) {
    drawDateField->setDate(QDate(date.year, date.month, date.day));
}

void DrawManager::setNormalMode(bool normal) {
    editMode_ = !normal;
    updateButtons();
}

void DrawManager::updateButtons() {
    // Edit mode disables appending and downloads; a running download disables the downloads, and
    // a latest-draw download also what its completion uses ("Dopisz") or would conflict with it
    // ("Edytuj", "OK"). Neither state's end re-enables what the other one disabled.
    const bool latest = downloads_->latestDrawRunning();
    okButton->setEnabled(editMode_ && !latest);
    editButton->setEnabled(!latest);
    appendButton->setEnabled(!editMode_ && !latest);
    downloads_->setStartAllowed(!editMode_);
    // An import replaces what an edit or a download works on; so does a restore.
    importButton->setEnabled(!editMode_ && !downloads_->isRunning());
    backupsButton->setEnabled(importButton->isEnabled());
    importer_->setAllowed(importButton->isEnabled());
    backups_->setAllowed(backupsButton->isEnabled());
}

void DrawManager::setResultsServer(const QString& host, int port) {
    downloads_->setResultsServer(host, port);
}

bool DrawManager::mayWriteDatabase(std::unique_ptr<DatabaseGuard>& guard) {
    guard = std::make_unique<DatabaseGuard>(AppPath(std::string(DatabaseFileName)), DatabaseStamp);
    switch (guard->status()) {
    case DatabaseGuard::Status::Ready:
        return true;
    case DatabaseGuard::Status::ChangedOutside:
        Dialogs::Message(this, Q(ChangedOutsideCaption), Q(ChangedOutsideText), Dialogs::Icon::Error);
        return false;
    case DatabaseGuard::Status::Failed:
        Dialogs::SystemError(this, QString::fromStdString(guard->error()));
        return false;
    }
    return false;
}

void DrawManager::appendLatestDraw(const LatestDraw& draw) {
    // The server's date when it is a real one not before the last draw's, else the default.
    const QDate today = QDate::currentDate();
    setEntryDate(
        LatestDrawDate(AllDraws(), ServerDrawDate(draw), CalendarDate{today.day(), today.month(), today.year()}));
    resetTicks();
    for (std::int32_t n : draw.numbers)
        tickNumber(n);
    appendDraw(); // refuses with its own message when a number came twice
}

bool DrawManager::appendDraw() {
    const TickBoxes ticked = ticks();
    if (Refused(this, CheckAppend(TickCount(ticked), DrawCount, DatabaseWhole), AppendNotTwentyText))
        return false;
    const CalendarDate date = entryDate();
    if (DateRefused(this, AllDraws(), DrawCount + 1, date))
        return false;

    // The file first: the table, the grid and the ticks change only once the draw is on disk, so
    // a failed write leaves everything as it was and the user can try again.
    const DrawNumbers numbers = TickedNumbers(ticked);
    const DrawRecord next = NextDrawRecord(AllDraws(), numbers, date);
    // Only an empty table may start a new file: with draws in the table, a missing file means
    // the draws would be lost at the next start.
    std::unique_ptr<DatabaseGuard> guard;
    if (!mayWriteDatabase(guard))
        return false;
    const FileWriteResult written = guard->Append(next, LayoutProbe, DrawCount == 0);
    DatabaseStamp = guard->stamp();
    guard.reset();
    if (!written.ok) {
        Dialogs::SystemError(this, QString::fromStdString(written.error));
        return false;
    }

    DrawTable[DrawCount + 1] = next;
    ++DrawCount;
    DrawTableChanged();
    gridModel_->appendRow();
    emit drawAppended();
    untick(numbers);
    drawGrid->selectRow(DrawCount - 1);
    drawGrid->scrollTo(gridModel_->index(DrawCount - 1, 0));
    Dialogs::Message(this, Q(AppendedCaption), Q(AppendedText), Dialogs::Icon::Information);
    refreshPromptLine();
    return true;
}

void DrawManager::startEdit() {
    const std::int32_t row = selectedRow();
    if (DrawCount <= 0 || row < 0 || row >= DrawCount)
        return;
    editedDrawIndex_ = row + 1;
    const TickBoxes ticked = DrawTicks(DrawTable[editedDrawIndex_]);
    for (int n = 1; n <= 80; ++n)
        numberBoxes[n]->setChecked(ticked[static_cast<std::size_t>(n)]);
    setNormalMode(false);
    refreshPromptLine();
}

bool DrawManager::confirmEdit() {
    if (!editMode() || editedDrawIndex_ < 1 || editedDrawIndex_ > DrawCount)
        return false;
    const TickBoxes ticked = ticks();
    if (Refused(this, CheckEditConfirm(TickCount(ticked), DatabaseWhole), EditNotTwentyText))
        return false;
    const CalendarDate date = entryDate();
    if (DateRefused(this, AllDraws(), editedDrawIndex_, date))
        return false;

    // The changed table goes to the file first; if that fails the draw gets its old numbers and
    // date back and the window stays in edit mode with the ticks, so nothing differs from the file.
    const DrawNumbers numbers = TickedNumbers(ticked);
    std::unique_ptr<DatabaseGuard> guard;
    if (!mayWriteDatabase(guard))
        return false;
    // The database as it was goes to KOPIE first; without that copy nothing is written.
    DatabaseBackup backup(AppPath(std::string(DatabaseFileName)), BackupReason::Correction, true);
    if (!backup.ok()) {
        Dialogs::SystemError(this, Q(BackupFailedText(backup.error())));
        return false;
    }
    const DrawRecord old = DrawTable[editedDrawIndex_];
    DrawTable[editedDrawIndex_] = Corrected(old, numbers, date);
    const RewriteResult written = guard->Rewrite(AllDraws());
    DatabaseStamp = guard->stamp();
    guard.reset();
    if (written.ok)
        backup.Keep();
    if (!written.ok) {
        DrawTable[editedDrawIndex_] = old;
        Dialogs::SystemError(this, QString::fromStdString(written.error));
        return false;
    }
    LayoutProbe = written.layoutProbe;
    DrawTableChanged(); // the searches count the new numbers

    gridModel_->drawChanged(editedDrawIndex_);
    mapModel_->refresh();
    untick(numbers);
    emit drawEdited();
    Dialogs::Message(this, Q(EditedCaption), Q(EditedText), Dialogs::Icon::Information);
    setNormalMode(true);
    refreshPromptLine();
    return true;
}

void DrawManager::exportDatabase() {
    const QString path = AskReportFileName(this, ReportFileStem);
    if (!path.isEmpty() && WriteReport(this, path, DatabaseExportBytes(AllDraws())))
        Dialogs::Message(this, Q(ExportSavedCaption),
                         Q(ExportSavedTextStart) + QLatin1Char('"') + path + QLatin1Char('"'),
                         Dialogs::Icon::Information);
    closeButton->setFocus();
}

void DrawManager::importFromFile() {
    importer_->importFromFile();
}

bool DrawManager::importResultsFile(const std::string& path) {
    return importer_->importResultsFile(path);
}

bool DrawManager::showBackups() {
    return backups_->showBackups();
}

void DrawManager::showReloadedTable(bool wholeTable) {
    reloadDrawTable();
    gridModel_->setRowCount(DrawCount);
    setColumnWidths(); // a reset of the model gives the columns their default width back
    if (DrawCount > 0) {
        drawGrid->selectRow(DrawCount - 1);
        drawGrid->scrollTo(gridModel_->index(DrawCount - 1, 0));
    }
    mapModel_->refresh();
    refreshPromptLine();
    emit drawsImported(wholeTable);
}

void DrawManager::reloadDrawTable() {
    // Under the writers' lock when it can be had, as at start-up; the stamp is that of the bytes
    // read, so the next write compares the file with exactly what the table holds.
    const std::string dbPath = AppPath(std::string(DatabaseFileName));
    // The file holds sound draws just written: a database that was not read whole, or looked
    // shifted, is whole again after a replacement.
    std::optional<DatabaseGuard> guard(std::in_place, dbPath);
    const LoadResult loaded = LoadDrawTable(*guard).loaded;
    guard.reset();
    if (!loaded.ok)
        Dialogs::Message(this, Q(LoadErrorCaption), Q(LoadErrorText), Dialogs::Icon::Error);
}

QString DrawManager::droppableFile(const QMimeData* data) const {
    if (data == nullptr || !importButton->isEnabled() || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

void DrawManager::dragEnterEvent(QDragEnterEvent* event) {
    // Entering takes the file exactly as moving over the window does.
    dragMoveEvent(event);
}

void DrawManager::dragMoveEvent(QDragMoveEvent* event) {
    if (droppableFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void DrawManager::dropEvent(QDropEvent* event) {
    const QString file = droppableFile(event->mimeData());
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drop ends first: the program the file came from waits for it while the summary is open.
    const std::string path = PathBytes(file);
    QTimer::singleShot(0, this, [this, path] { importResultsFile(path); });
}

} // namespace zg
