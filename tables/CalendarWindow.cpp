// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/CalendarWindow.h"

#include "analysis/AnalysisReport.h"
#include "base/DateRoutines.h"
#include "ui/GridSelection.h"
#include "ui/KeyboardButtons.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"
#include "ui/SpinField.h"
#include "ui/WindowParts.h"

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

const QColor CellColour(20, 107, 70);
const QColor HeadingColour(0, 64, 0);

// Cell sizes of the grid, each with its one-pixel grid line: column 0 is 28 pixels wide, the
// others 20; rows are 17 pixels high.
constexpr int HeadingColumnWidth = 28 + 1;
constexpr int DayColumnWidth = 20 + 1;
constexpr int RowHeight = 17 + 1;

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

// The year field: a spin field whose box keeps its text when clicked into. Enter in it reads the
// typed year (the spin field's own handling) and goes no further: the window has no default
// button.
class YearField final : public SpinField {
public:
    using SpinField::SpinField;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit() && event->type() == QEvent::MouseButtonPress)
            return QWidget::eventFilter(watched, event);
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

CalendarWindow::CalendarWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("calendarWindow"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(713, 354);

    QFrame* panel = MakePanel(this, QRect(0, 0, 713, 354), Teal, Qt::white, Teal);

    model_ = new CalendarModel(this);
    calendarGrid = new QTableView(panel);
    calendarGrid->setObjectName(QStringLiteral("calendarGrid"));
    calendarGrid->setAccessibleName(QStringLiteral("Mapa rozkładu losowań"));
    calendarGrid->setGeometry(16, 16, 680, 235);
    calendarGrid->setModel(model_);
    calendarGrid->setItemDelegate(new CalendarCellDelegate(calendarGrid));
    calendarGrid->setFont(PointFont("Arial", 9, true));
    calendarGrid->setFrameShape(QFrame::NoFrame);
    calendarGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendarGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendarGrid->setSelectionMode(QAbstractItemView::NoSelection);
    SetUpFixedRowGrid(calendarGrid, RowHeight);
    calendarGrid->setFocusPolicy(Qt::NoFocus);
    calendarGrid->setStyleSheet(
        QStringLiteral("QTableView { background-color: rgb(0,128,128); gridline-color: black; }"));
    calendarGrid->horizontalHeader()->hide();
    calendarGrid->horizontalHeader()->setMinimumSectionSize(1);
    calendarGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    calendarGrid->horizontalHeader()->setDefaultSectionSize(DayColumnWidth);
    calendarGrid->setColumnWidth(0, HeadingColumnWidth);
    ClearGridSelection(calendarGrid);
    calendarGrid->setEnabled(false); // no clicks, no selection

    legendLabel = new QLabel(panel);
    legendLabel->setObjectName(QStringLiteral("legendLabel"));
    legendLabel->setFont(PointFont("Verdana", 13, false));
    SetTextColour(legendLabel, Qt::white);
    legendLabel->setGeometry(168, 256, 530, 24);

    yearCaption =
        MakeCaption(panel, "yearCaption", QStringLiteral("ROK:"), PointFont("Verdana", 13, false), QPoint(168, 300));
    SetTextColour(yearCaption, Qt::white);

    yearField = new YearField(panel, QStringLiteral("yearEdit"), QStringLiteral("yearArrows"), 4);
    yearField->setGeometry(224, 296, 57 + 15, 28);
    yearField->setRange(CalendarFirstYear, CalendarLastYear);
    yearField->setPosition(CalendarInitialYear);
    yearField->setAccessibleCaption(QStringLiteral("Rok"));
    {
        QLineEdit* e = yearField->edit();
        e->setMaxLength(4);
        SetFieldColours(e, Aqua, Qt::black);
        e->setFont(PointFont("Verdana", 10, true));
    }

    yearFrame = new QFrame(panel);
    yearFrame->setObjectName(QStringLiteral("yearFrame"));
    yearFrame->setGeometry(360, 290, 185, 41);
    yearFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    yearFrame->hide();

    showAllBox = new QCheckBox(panel);
    showAllBox->setObjectName(QStringLiteral("showAllBox"));
    showAllBox->setAccessibleName(QStringLiteral("Pokaż wszystkie"));
    showAllBox->move(376, 302);
    showAllBox->adjustSize();
    SetFieldColours(showAllBox, Qt::white, Qt::black); // the box and its tick on the teal

    rangeLabel = MakeCaption(panel, "rangeLabel", QStringLiteral("Pokaż wszystkie"), PointFont("Arial", 12, true),
                             QPoint(400, 301));
    SetTextColour(rangeLabel, TealYellow);
    rangeLabel->setBuddy(showAllBox);
    rangeLabel->hide();

    closeButton = MakeCloseButton(panel, QRect(592, 292, 102, 35));
    closeButton->setFont(PointFont("Verdana", 10, true));
    // No default button: Enter in the year field or on the box must not close the window.
    closeButton->setAutoDefault(false);
    closeButton->setDefault(false);

    saveButton =
        MakeIconButton(panel, "saveButton", QRect(80, 278, 25, 25), style()->standardIcon(QStyle::SP_DialogSaveButton),
                       QStringLiteral("Zapisz tabelkę do pliku"));
    saveButton->setCursor(Qt::PointingHandCursor);
    // Tab in reading order: the save button at the left, the year, the box, "Zamknij".
    setTabOrder(saveButton, yearField->edit());
    setTabOrder(yearField->edit(), showAllBox);
    setTabOrder(showAllBox, closeButton);

    connect(yearField, &SpinField::arrowClicked, this, &CalendarWindow::fillCalendar);
    // Enter applies the typed year (clamped into the arrow's limits) as an arrow click does.
    connect(yearField, &SpinField::enterPressed, this, &CalendarWindow::fillCalendar);
    connect(showAllBox, &QCheckBox::toggled, this, &CalendarWindow::showAllToggled);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(saveButton, &QToolButton::clicked, this, &CalendarWindow::saveReport);

    fillCalendar();
    refreshLegend();
}

void CalendarWindow::setYear(std::int32_t year) {
    yearField->setPosition(year);
}

void CalendarWindow::setParameters(const AnalysisParameters& parameters) {
    parameters_ = parameters;
}

std::int32_t CalendarWindow::year() const {
    return yearField->position();
}

void CalendarWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Centred on the desktop.
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    prepareOnShow();
}

void CalendarWindow::prepareOnShow() {
    rangeLabel->show();
    yearFrame->show();
    fillCalendar();
    // The legend follows the current set and bounds, whichever mode is on.
    refreshLegend();
}

void CalendarWindow::showAllToggled() {
    refreshLegend();
    fillCalendar();
}

void CalendarWindow::refreshLegend() {
    legendLabel->setText(Q(CalendarLegend(showAllBox->isChecked(), parameters_.set.Count, parameters_.hitsFromText,
                                          parameters_.hitsToText)));
}

void CalendarWindow::fillCalendar() {
    const CalendarQuery q{parameters_, year(), showAllBox->isChecked()};
    model_->setCells(zg::FillCalendar(q));
    filledYear_ = q.year;
    filledShowAll_ = q.showAll;
}

void CalendarWindow::saveReport() {
    const QString path = AskReportFileName(this, ReportFileStem);
    if (!path.isEmpty()) {
        // The year and mode of the grid as filled, not a year still being typed.
        const CalendarReportInput in{MakeSearchHeading(parameters_, parameters_.draws, parameters_.set),
                                     windowTitle().toStdString(),
                                     filledYear_,
                                     &model_->cells(),
                                     filledShowAll_,
                                     parameters_.set.Count};
        if (WriteReport(this, path, CalendarReportBytes(in)))
            ShowReportSaved(this, path);
    }
    closeButton->setFocus();
}

void CalendarWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused push button and nothing else: the window has no default button,
    // so Enter on the year field or the box does nothing.
    if (PressFocusedButtonOnEnter(this, event, EnterElsewhere::Swallow))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace zg
