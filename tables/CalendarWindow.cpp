#include "tables/CalendarWindow.h"

#include "analysis/DateRoutines.h"
#include "analysis/ReportSaving.h"
#include "analysis/MainWindow.h"
#include "app/State.h"
#include "ui/QtText.h"
#include "ui/SpinField.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

namespace zg {

namespace {

const QColor Teal(0, 128, 128);
const QColor CellColour(20, 107, 70);
const QColor HeadingColour(0, 64, 0);
const QColor Aqua(0, 255, 255);

// Cell sizes of the grid, each with its one-pixel grid line: column 0 is 28 pixels wide, the
// others 20; rows are 17 pixels high.
constexpr int HeadingColumnWidth = 28 + 1;
constexpr int DayColumnWidth = 20 + 1;
constexpr int RowHeight = 17 + 1;

QFont Font(const char* family, int points, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

// Fills the cell with its background and draws its text 3 pixels from the left edge and 1 pixel
// below the top edge.
class CalendarCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

// The year field: a spin field whose box keeps its text when clicked into, and in which Enter
// does nothing (the window has no default button).
class YearField final : public SpinField {
public:
    using SpinField::SpinField;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit()) {
            if (event->type() == QEvent::MouseButtonPress)
                return QWidget::eventFilter(watched, event);
            if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter)
                    return true;
            }
        }
        return SpinField::eventFilter(watched, event);
    }
};

} // namespace

// ---- the grid's model ----

int CalendarModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 13;
}

int CalendarModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 32;
}

QVariant CalendarModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row(), column = index.column();
    const bool heading = row == 0 || column == 0;
    const std::string* cell =
        heading ? nullptr : &cells_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)];
    const bool noDraw = cell != nullptr && *cell == NoDrawCell;
    switch (role) {
    case Qt::DisplayRole:
        if (row == 0)
            return Q(CalendarDayHeading(column));
        if (column == 0)
            return Q(CalendarMonthHeading(row));
        return Q(*cell);
    case Qt::BackgroundRole:
        return heading ? HeadingColour : noDraw ? Teal : CellColour;
    case Qt::ForegroundRole:
        return noDraw ? Teal : QColor(Qt::white);
    default:
        return {};
    }
}

void CalendarModel::setCells(const CalendarCells& cells) {
    cells_ = cells;
    emit dataChanged(index(1, 1), index(12, 31));
}

// ---- the window ----

CalendarWindow::CalendarWindow(MainWindow* main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName(QStringLiteral("Tabelka11"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(713, 354);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 713, 354);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(5);
    panel->setAutoFillBackground(true);
    QPalette pp = panel->palette();
    pp.setColor(QPalette::Window, Teal);
    pp.setColor(QPalette::Button, Teal);
    panel->setPalette(pp);

    model_ = new CalendarModel(this);
    StringGrid1 = new QTableView(panel);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Mapa rozkładu losowań"));
    StringGrid1->setGeometry(16, 16, 680, 235);
    StringGrid1->setModel(model_);
    StringGrid1->setItemDelegate(new CalendarCellDelegate(StringGrid1));
    StringGrid1->setFont(Font("Arial", 9, true));
    StringGrid1->setFrameShape(QFrame::NoFrame);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setStyleSheet(
        QStringLiteral("QTableView { background-color: rgb(0,128,128); gridline-color: black; }"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(DayColumnWidth);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->setColumnWidth(0, HeadingColumnWidth);
    ClearGridSelection(StringGrid1);
    StringGrid1->setEnabled(false); // no clicks, no selection

    Label4 = new QLabel(panel);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(Font("Verdana", 13, false));
    SetTextColour(Label4, Qt::white);
    Label4->setGeometry(168, 256, 530, 24);

    Label1 = new QLabel(QStringLiteral("ROK:"), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Font("Verdana", 13, false));
    SetTextColour(Label1, Qt::white);
    Label1->adjustSize();
    Label1->move(168, 300);

    UpDown1 = new YearField(panel, QStringLiteral("Edit1"), QStringLiteral("UpDown1"), 4);
    UpDown1->setGeometry(224, 296, 57 + 15, 28);
    UpDown1->setRange(CalendarFirstYear, CalendarLastYear);
    UpDown1->setPosition(CalendarInitialYear);
    {
        QLineEdit* e = UpDown1->edit();
        e->setAccessibleName(QStringLiteral("Rok"));
        e->setMaxLength(4);
        QPalette p = e->palette();
        p.setColor(QPalette::Base, Aqua);
        p.setColor(QPalette::Text, Qt::black);
        e->setPalette(p);
        e->setFont(Font("Verdana", 10, true));
    }

    Bevel1 = new QFrame(panel);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(360, 290, 185, 41);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->hide();

    CheckBox1 = new QCheckBox(panel);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(QStringLiteral("Pokaż wszystkie"));
    CheckBox1->move(376, 302);
    CheckBox1->adjustSize();

    Label2 = new QLabel(QStringLiteral("Pokaż wszystkie"), panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(Font("Arial", 12, true));
    SetTextColour(Label2, Qt::yellow);
    Label2->adjustSize();
    Label2->move(400, 301);
    Label2->setBuddy(CheckBox1);
    Label2->hide();

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), panel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(592, 292, 102, 35);
    BitBtn1->setFont(Font("Verdana", 10, true));
    BitBtn1->setCursor(Qt::PointingHandCursor);
    // No default button: Enter in the year field or on the box must not close the window.
    BitBtn1->setAutoDefault(false);
    BitBtn1->setDefault(false);

    dyskietka = new QToolButton(panel);
    dyskietka->setObjectName(QStringLiteral("dyskietka"));
    dyskietka->setGeometry(80, 278, 25, 25);
    dyskietka->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    dyskietka->setToolTip(QStringLiteral("Zapisz tabelkę do pliku"));
    dyskietka->setAccessibleName(QStringLiteral("Zapisz tabelkę do pliku"));
    dyskietka->setCursor(Qt::PointingHandCursor);

    connect(UpDown1, &SpinField::arrowClicked, this, &CalendarWindow::FillCalendar);
    connect(CheckBox1, &QCheckBox::toggled, this, &CalendarWindow::CheckBox1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(dyskietka, &QToolButton::clicked, this, &CalendarWindow::dyskietkaClick);

    FillCalendar();
    RefreshLegend();
}

void CalendarWindow::SetYear(std::int32_t year) {
    UpDown1->setPosition(year);
}

std::int32_t CalendarWindow::Year() const {
    return UpDown1->position();
}

void CalendarWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Centred on the desktop.
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void CalendarWindow::FormShow() {
    Label2->show();
    Bevel1->show();
    FillCalendar();
    // The legend follows the current set and bounds, whichever mode is on.
    RefreshLegend();
}

void CalendarWindow::CheckBox1Click() {
    RefreshLegend();
    FillCalendar();
}

void CalendarWindow::RefreshLegend() {
    const QString from = main_ != nullptr ? main_->HitsFromText() : QString();
    const QString to = main_ != nullptr ? main_->HitsToText() : QString();
    Label4->setText(Q(CalendarLegend(CheckBox1->isChecked(), NumberSet.Count, from.toStdString(), to.toStdString())));
}

void CalendarWindow::FillCalendar() {
    CalendarQuery q;
    if (main_ != nullptr) {
        q.rangeFrom = main_->RangeFrom();
        q.rangeTo = main_->RangeTo();
        q.hitsFrom = main_->HitsFrom();
        q.hitsTo = main_->HitsTo();
    }
    q.year = Year();
    q.showAll = CheckBox1->isChecked();
    model_->setCells(zg::FillCalendar(AllDraws(), NumberSet, q));
    filledYear_ = q.year;
    filledShowAll_ = q.showAll;
}

void CalendarWindow::dyskietkaClick() {
    const QString path = RunSaveDialog1(this);
    if (!path.isEmpty()) {
        CalendarReportInput in;
        if (main_ != nullptr) {
            in.rangeFrom = main_->RangeFrom();
            in.rangeTo = main_->RangeTo();
            in.hitsFromText = main_->HitsFromText().toStdString();
            in.hitsToText = main_->HitsToText().toStdString();
        }
        in.rangeFromDate = DrawDateText(AllDraws(), in.rangeFrom);
        in.rangeToDate = DrawDateText(AllDraws(), in.rangeTo);
        in.caption = windowTitle().toStdString();
        // The year and mode of the grid as filled, not a year still being typed.
        in.year = filledYear_;
        in.showAll = filledShowAll_;
        in.cells = &model_->cells();
        in.setSize = NumberSet.Count;
        if (WriteReport(this, path, CalendarReportBytes(in)))
            ShowReportSaved(this, path);
    }
    BitBtn1->setFocus();
}

void CalendarWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the focused push button and nothing else: the window has no default
        // button, so Enter on the year field or the box does nothing.
        QWidget* focus = focusWidget();
        if (focus != nullptr && focus->isEnabled() &&
            (qobject_cast<QPushButton*>(focus) != nullptr || qobject_cast<QToolButton*>(focus) != nullptr))
            static_cast<QAbstractButton*>(focus)->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zg
