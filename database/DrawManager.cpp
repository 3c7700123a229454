#include "database/DrawManager.h"

#include "analysis/ReportSaving.h"
#include "app/State.h"
#include "database/DatabaseExport.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawGridModel.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"
#include "ui/ProgressGauge.h"

#include <QCheckBox>
#include <QDate>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

namespace zg {

namespace {

const QColor Teal(0, 128, 128);
const QColor DarkGreen(0, 64, 0);
const QColor Pink(255, 128, 192);
const QColor Aqua(0, 255, 255);
const QColor Grey(192, 192, 192);
const QColor MapBlue(0, 128, 255);

QFont PixelFont(const char* family, int pixels, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void SetColours(QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

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

} // namespace

DrawManager::DrawManager(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Losowania"));
    setWindowTitle(QStringLiteral("ZARZĄDZANIE  LOSOWANIAMI"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(775, 535);
    buildControls();
    TickChanged();
    SetNormalMode(true);
    SetPromptLine();
}

DrawManager::~DrawManager() = default;

void DrawManager::buildControls() {
    SetColours(this, Teal, Qt::yellow);
    setFont(PixelFont("Verdana", 13, true));

    gridModel_ = new DrawGridModel(this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Losowania"));
    StringGrid1->setGeometry(3, 0, 769, 260);
    StringGrid1->setModel(gridModel_);
    StringGrid1->setItemDelegate(new CellDelegate(1, StringGrid1));
    StringGrid1->setFont(PixelFont("Verdana", 13, false));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(16);
    StringGrid1->verticalHeader()->setDefaultSectionSize(16);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(20);
    SetColumnWidths();
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    StringGrid1->setShowGrid(true);
    StringGrid1->setStyleSheet(
        QStringLiteral("QTableView { background-color: rgb(20,107,70); gridline-color: black; }"));
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection&, const QItemSelection&) { StringGrid1SelectCell(); });

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(160, 268, 489, 193);
    SetColours(GroupBox1, DarkGreen, Pink);
    {
        // The grey of the tick boxes, inherited by all 80 of them.
        QPalette p = GroupBox1->palette();
        p.setColor(QPalette::Base, Grey);
        p.setColor(QPalette::Button, Grey);
        GroupBox1->setPalette(p);
    }
    GroupBox1->installEventFilter(this);
    const QFont labelFont = PixelFont("Verdana", 9, true);
    QPalette labelPalette = GroupBox1->palette();
    labelPalette.setColor(QPalette::Window, Qt::yellow);
    labelPalette.setColor(QPalette::WindowText, Qt::black);
    for (int n = 1; n <= 80; ++n) {
        const int row = (n - 1) / 20, column = (n - 1) % 20;
        const int x = 8 + 24 * column, labelTop = 22 + 42 * row;
        const QString text = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        auto* label = new QLabel(text, GroupBox1);
        label->setObjectName(QStringLiteral("NumberLabel%1").arg(n));
        label->setGeometry(x, labelTop, 15, 13);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignCenter);
        label->setPalette(labelPalette);
        label->setAutoFillBackground(true);
        auto* box = new QCheckBox(GroupBox1);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        box->setAccessibleName(text);
        box->setGeometry(x, labelTop + 17, 17, 17);
        connect(box, &QCheckBox::toggled, this, [this](bool) { TickChanged(); });
        CheckBoxes[n] = box;
    }

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("Zaznaczone liczby"));
    Edit1->setGeometry(160, 464, 455, 22);
    Edit1->setReadOnly(true);
    {
        QPalette p = Edit1->palette();
        p.setColor(QPalette::Base, Aqua);
        p.setColor(QPalette::Text, Qt::black);
        Edit1->setPalette(p);
    }

    Label13 = new QLabel(this);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->setGeometry(626, 461, 64, 27);
    Label13->setFont(PixelFont("Verdana", 19, true));
    Label13->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label13->setAlignment(Qt::AlignCenter);
    {
        QPalette p = Label13->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        Label13->setPalette(p);
    }

    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("RESET"), QRect(695, 462, 78, 26));

    mapModel_ = new NumberMapModel(this);
    StringGrid3 = new QTableView(this);
    StringGrid3->setObjectName(QStringLiteral("StringGrid3"));
    StringGrid3->setAccessibleName(QStringLiteral("Mapa liczb losowania"));
    StringGrid3->setGeometry(652, 277, 120, 181);
    StringGrid3->setModel(mapModel_);
    StringGrid3->setItemDelegate(new CellDelegate(10, StringGrid3));
    StringGrid3->setFont(PixelFont("Arial", 9, true));
    StringGrid3->horizontalHeader()->hide();
    StringGrid3->verticalHeader()->hide();
    for (QHeaderView* h : {StringGrid3->horizontalHeader(), StringGrid3->verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(10);
    }
    StringGrid3->horizontalHeader()->setDefaultSectionSize(22);
    StringGrid3->verticalHeader()->setDefaultSectionSize(10);
    StringGrid3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The map never shows a selected cell.
    StringGrid3->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid3->setFocusPolicy(Qt::NoFocus);
    StringGrid3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid3->setStyleSheet(
        QStringLiteral("QTableView { background-color: rgb(0,128,255); gridline-color: black; }"));

    button4 = MakeButton(this, "button4", QStringLiteral("Dopisz"), QRect(32, 288, 97, 33));
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Edytuj"), QRect(10, 333, 87, 32));
    button3 = MakeButton(this, "button3", QStringLiteral("OK"), QRect(97, 333, 58, 32));
    button3->setDefault(true); // Enter confirms an edit
    BitBtn4 = MakeButton(this, "BitBtn4", QStringLiteral("Pobierz ostatnie"), QRect(10, 376, 145, 33));
    button1 = MakeButton(this, "button1", QStringLiteral("Pobierz wszystkie"), QRect(10, 416, 146, 34));
    BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("Zamknij"), QRect(26, 480, 113, 33));

    // The download controls: idle until a download runs.
    stopbutton = MakeButton(this, "stopbutton", QStringLiteral("STOP"), QRect(256, 492, 78, 25));
    stopbutton->hide();
    Gauge1 = new ProgressGauge(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(338, 492, 231, 17);
    Gauge1->hide();
    Label14 = new QLabel(this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setGeometry(392, 512, 240, 18);
    Label14->hide();

    dyskietka = new QToolButton(this);
    dyskietka->setObjectName(QStringLiteral("dyskietka"));
    dyskietka->setGeometry(640, 498, 25, 25);
    dyskietka->setToolTip(QStringLiteral("Zapisz bazę wyników do pliku"));
    dyskietka->setAccessibleName(QStringLiteral("Zapisz bazę wyników do pliku"));

    connect(BitBtn2, &QPushButton::clicked, this, &DrawManager::BitBtn2Click);
    connect(button4, &QPushButton::clicked, this, &DrawManager::button4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &DrawManager::BitBtn1Click);
    connect(button3, &QPushButton::clicked, this, &DrawManager::button3Click);
    connect(BitBtn3, &QPushButton::clicked, this, &QWidget::close);
    connect(dyskietka, &QToolButton::clicked, this, &DrawManager::dyskietkaClick);
    connect(button1, &QPushButton::clicked, this, &DrawManager::Button1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &DrawManager::BitBtn4Click);
    connect(stopbutton, &QPushButton::clicked, this, &DrawManager::stopbuttonClick);
}

void DrawManager::FormCreate(QWidget* mainWindow, ProgressGauge* gauge) {
    if (gauge != nullptr) {
        gauge->SetProgress(0);
        gauge->SetMaxValue(DrawCount);
    }
    // The grid builds its texts when it paints them: one row per draw costs nothing here, so the
    // gauge reaches its end at once, and the main window shows it full without a paint of its own
    // in between.
    gridModel_->setRowCount(DrawCount);
    SetColumnWidths(); // a reset of the model gives the columns their default width back
    if (gauge != nullptr)
        gauge->SetProgress(DrawCount);
    if (mainWindow != nullptr)
        mainWindow->show();
    SetPromptLine();
}

void DrawManager::SetColumnWidths() {
    StringGrid1->horizontalHeader()->setDefaultSectionSize(29);
    StringGrid1->setColumnWidth(0, 47);
    StringGrid1->setColumnWidth(3, 42);
}

void DrawManager::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!glyphsSet_) {
        // The pictures are decoded at the first opening, not during start-up.
        glyphsSet_ = true;
        BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
        stopbutton->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
        dyskietka->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    }
    if (DrawCount <= 0)
        return;
    StringGrid1->selectRow(DrawCount - 1);
    StringGrid1->scrollTo(gridModel_->index(DrawCount - 1, 0));
}

bool DrawManager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GroupBox1 && event->type() == QEvent::MouseButtonPress)
        TickChanged();
    return QDialog::eventFilter(watched, event);
}

TickBoxes DrawManager::Ticks() const {
    TickBoxes ticked{};
    for (int n = 1; n <= 80; ++n)
        ticked[static_cast<std::size_t>(n)] = CheckBoxes[n]->isChecked();
    return ticked;
}

bool DrawManager::tickNumber(int n, bool ticked) {
    if (!IsLotteryNumber(n))
        return false;
    CheckBoxes[n]->setChecked(ticked);
    return true;
}

bool DrawManager::isTicked(int n) const {
    return IsLotteryNumber(n) && CheckBoxes[n]->isChecked();
}

void DrawManager::Untick(const DrawNumbers& numbers) {
    for (std::int32_t n : numbers)
        tickNumber(n, false);
}

void DrawManager::TickChanged() {
    const TickBoxes ticked = Ticks();
    Edit1->setText(Q(TickedLineText(ticked)));
    Edit1->setCursorPosition(0); // a line wider than the field shows its beginning
    Label13->setText(Q(TickCountText(ticked)));
}

void DrawManager::BitBtn2Click() {
    Edit1->setText(QStringLiteral(" "));
    for (int n = 1; n <= 80; ++n)
        CheckBoxes[n]->setChecked(false);
}

void DrawManager::StringGrid1SelectCell() {
    const std::int32_t row = SelectedRow();
    if (row >= 0)
        mapModel_->showDraw(row + 1);
}

std::int32_t DrawManager::SelectedRow() const {
    const QModelIndexList rows = StringGrid1->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    return rows.first().row();
}

bool DrawManager::editMode() const {
    return editMode_;
}

void DrawManager::SetPromptLine() {
    GroupBox1->setTitle(Q(editMode() ? EditPromptText(EditedDrawIndex) : AppendPromptText(DrawCount)));
}

void DrawManager::SetNormalMode(bool normal) {
    editMode_ = !normal;
    UpdateButtons();
}

bool DrawManager::MayWriteDatabase(std::unique_ptr<DatabaseGuard>& guard) {
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

bool DrawManager::button4Click() {
    const TickBoxes ticked = Ticks();
    if (Refused(this, CheckAppend(TickCount(ticked), DrawCount, DatabaseWhole), AppendNotTwentyText))
        return false;

    // The file first: the table, the grid and the ticks change only once the draw is on disk, so
    // a failed write leaves everything as it was and the user can try again.
    const DrawNumbers numbers = TickedNumbers(ticked);
    const QDate today = QDate::currentDate();
    const DrawRecord next = NextDrawRecord(AllDraws(), numbers, CalendarDate{today.day(), today.month(), today.year()});
    // Only an empty table may start a new file: with draws in the table, a missing file means
    // the draws would be lost at the next start.
    std::unique_ptr<DatabaseGuard> guard;
    if (!MayWriteDatabase(guard))
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
    Untick(numbers);
    StringGrid1->selectRow(DrawCount - 1);
    StringGrid1->scrollTo(gridModel_->index(DrawCount - 1, 0));
    Dialogs::Message(this, Q(AppendedCaption), Q(AppendedText), Dialogs::Icon::Information);
    SetPromptLine();
    return true;
}

void DrawManager::BitBtn1Click() {
    const std::int32_t row = SelectedRow();
    if (DrawCount <= 0 || row < 0 || row >= DrawCount)
        return;
    EditedDrawIndex = row + 1;
    const TickBoxes ticked = DrawTicks(DrawTable[EditedDrawIndex]);
    for (int n = 1; n <= 80; ++n)
        CheckBoxes[n]->setChecked(ticked[static_cast<std::size_t>(n)]);
    SetNormalMode(false);
    SetPromptLine();
}

bool DrawManager::button3Click() {
    if (!editMode() || EditedDrawIndex < 1 || EditedDrawIndex > DrawCount)
        return false;
    const TickBoxes ticked = Ticks();
    if (Refused(this, CheckEditConfirm(TickCount(ticked), DatabaseWhole), EditNotTwentyText))
        return false;

    // The changed table goes to the file first; if that fails the draw gets its old numbers back
    // and the window stays in edit mode with the ticks, so nothing differs from the file.
    const DrawNumbers numbers = TickedNumbers(ticked);
    std::unique_ptr<DatabaseGuard> guard;
    if (!MayWriteDatabase(guard))
        return false;
    const DrawRecord old = DrawTable[EditedDrawIndex];
    DrawTable[EditedDrawIndex] = WithNumbers(old, numbers);
    const RewriteResult written = guard->Rewrite(AllDraws());
    DatabaseStamp = guard->stamp();
    guard.reset();
    if (!written.ok) {
        DrawTable[EditedDrawIndex] = old;
        Dialogs::SystemError(this, QString::fromStdString(written.error));
        return false;
    }
    LayoutProbe = written.layoutProbe;
    DrawTableChanged(); // the searches count the new numbers

    gridModel_->drawChanged(EditedDrawIndex);
    mapModel_->refresh();
    Untick(numbers);
    emit drawEdited();
    Dialogs::Message(this, Q(EditedCaption), Q(EditedText), Dialogs::Icon::Information);
    SetNormalMode(true);
    SetPromptLine();
    return true;
}

void DrawManager::dyskietkaClick() {
    const QString path = RunSaveDialog1(this);
    if (!path.isEmpty() && WriteReport(this, path, DatabaseExportBytes(AllDraws())))
        Dialogs::Message(this, Q(ExportSavedCaption),
                         Q(ExportSavedTextStart) + QLatin1Char('"') + path + QLatin1Char('"'),
                         Dialogs::Icon::Information);
    BitBtn3->setFocus();
}

} // namespace zg
