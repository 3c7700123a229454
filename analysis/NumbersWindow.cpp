// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/NumbersWindow.h"

#include "analysis/NumberTableReport.h"
#include "analysis/SetHitSearch.h"
#include "base/NumberFormat.h"
#include "base/State.h"
#include "ui/KeyboardButtons.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/ReportSaving.h"
#include "ui/WindowParts.h"

#include <QBrush>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zg {

namespace {

// The widest text each column can show besides its caption.
const char* const WidestCell[NumberColumnTotal] = {"00",      "99999", "100,00",    "99999", "00.00.0000", "99999",
                                                   "9999,99", "99999", "< 0,0001%", "99999", "gorąca"};

// Under the table's own figures: what every number's chance in the next draw is, whatever the
// table says of its past.
// clang-format off
const char* const EqualChanceText = "W każdym losowaniu każda liczba ma tę samą szansę: 25% (20 z 80), niezależnie od zaległości i dotychczasowej częstości.";
// clang-format on

QVariant SortValue(const NumberRow& r, int column) {
    switch (column) {
    case NumberColumnNumber:
        return r.number;
    case NumberColumnCount:
        return r.count;
    case NumberColumnShare:
        return r.sharePercent;
    case NumberColumnLastDraw:
        return r.lastDraw > 0 ? QVariant(r.lastDraw) : QVariant();
    case NumberColumnLastDate:
        return r.lastDraw > 0
                   ? QVariant(static_cast<qint64>(r.lastDate.year) * 10000 + r.lastDate.month * 100 + r.lastDate.day)
                   : QVariant();
    case NumberColumnCurrentGap:
        return r.currentGap;
    case NumberColumnMeanGap:
        return r.count > 0 ? QVariant(*r.meanGap()) : QVariant();
    case NumberColumnLongestGap:
        return r.longestGap;
    case NumberColumnChance:
        return r.pCurrentGap;
    case NumberColumnCountLast:
        return r.countLast;
    case NumberColumnStatus:
        return r.status == NumberStatus::Hot ? QVariant(2) : r.status == NumberStatus::Cold ? QVariant(1) : QVariant();
    default:
        return {};
    }
}

} // namespace

int NumberTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || table_ == nullptr ? 0 : static_cast<int>(table_->rows.size());
}

int NumberTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumberColumnTotal;
}

QVariant NumberTableModel::data(const QModelIndex& index, int role) const {
    if (table_ == nullptr || !index.isValid() || index.row() >= rowCount())
        return {};
    const NumberRow& row = table_->rows[static_cast<std::size_t>(index.row())];
    const bool highlighted = row.inSet && index.column() == NumberColumnNumber;
    switch (role) {
    case Qt::DisplayRole: {
        std::string text;
        AppendNumberCell(text, row, table_->draws, index.column(), separator_);
        return Q(text);
    }
    case Qt::UserRole:
        return SortValue(row, index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>((index.column() == NumberColumnStatus ? Qt::AlignLeft : Qt::AlignRight) |
                                Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // The set's numbers are yellow with black text, as in the main window's numbers strip.
        return highlighted ? QVariant(QBrush(Qt::yellow)) : QVariant();
    case Qt::ForegroundRole:
        return highlighted ? QVariant(QBrush(Qt::black)) : QVariant();
    default:
        return {};
    }
}

QVariant NumberTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= NumberColumnTotal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return Q(NumberColumnCaption(section, table_ != nullptr ? table_->last : 0));
    // The first click on a column of counts and gaps puts the largest first; on the chance of the
    // gap (and the other columns) the smallest.
    if (role == Qt::InitialSortOrderRole)
        return static_cast<int>(section == NumberColumnCount || section == NumberColumnCurrentGap ||
                                        section == NumberColumnMeanGap || section == NumberColumnLongestGap ||
                                        section == NumberColumnCountLast
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder);
    if (role == Qt::ToolTipRole && section == NumberColumnLongestGap)
        return QStringLiteral("Najdłuższa przerwa między wystąpieniami liczby w zakresie, licząc także bieżącą "
                              "zaległość (inaczej niż „Max przerwa” w oknie głównym).");
    if (role == Qt::ToolTipRole && section == NumberColumnChance)
        return QStringLiteral("Szansa, że jedna liczba nie padnie w tylu kolejnych losowaniach: 0,75 do potęgi "
                              "zaległości (60 z 80 liczb nie pada w każdym losowaniu).");
    return QAbstractTableModel::headerData(section, orientation, role);
}

void NumberTableModel::setTable(const NumberTable* table, char separator) {
    beginResetModel();
    table_ = table;
    separator_ = separator;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, NumberColumnTotal - 1);
}

bool NumberSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole()), b = right.data(sortRole());
    // Qt sorts descending by asking lessThan(right, left): answering by the order keeps empty cells
    // last and ties in number order (the source rows are in number order) both ways.
    const bool ascending = sortOrder() == Qt::AscendingOrder;
    if (a.isValid() != b.isValid())
        return a.isValid() == ascending;
    if (a.isValid()) {
        const double x = a.toDouble(), y = b.toDouble();
        if (x != y)
            return x < y;
    }
    return ascending ? left.row() < right.row() : left.row() > right.row();
}

NumbersWindow::NumbersWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("numbersWindow"));
    setWindowTitle(QStringLiteral(" Tabela liczb"));
    setModal(false);
    decimalSeparator_ = LocaleDecimalSeparator();
    buildControls();
    // Wide enough for every column beside the scroll bar, tall enough for about 25 rows.
    int columns = 0;
    for (int c = 0; c < NumberColumnTotal; ++c)
        columns += numbersGrid->columnWidth(c);
    resize(columns + numbersGrid->verticalScrollBar()->sizeHint().width() + 2 * numbersGrid->frameWidth() + 24, 640);
}

NumbersWindow::~NumbersWindow() = default;

void NumbersWindow::buildControls() {
    setFont(Verdana(10));

    headingLabel = new QLabel(this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    headingLabel->setFont(Verdana(10, true));
    headingLabel->setWordWrap(true);

    // The layouts place the captions, the grid and the buttons.
    lastDrawsCaption = MakeCaption(this, "lastDrawsCaption", QStringLiteral("Ostatnich losowań:"), Verdana(10), {});
    lastDrawsField = new QSpinBox(this);
    lastDrawsField->setObjectName(QStringLiteral("lastDrawsField"));
    lastDrawsField->setAccessibleName(QStringLiteral("Ostatnich losowań"));
    lastDrawsField->setRange(1, MaxDraws);
    lastDrawsField->setValue(askedLast_);
    lastDrawsCaption->setBuddy(lastDrawsField);
    // Only the user changes the value with its signal on: what is typed or stepped to is the N asked.
    connect(lastDrawsField, &QSpinBox::valueChanged, this, [this](int value) {
        askedLast_ = value;
        computeTable();
    });

    model_ = new NumberTableModel(this);
    proxy_ = new NumberSortProxy(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);
    numbersGrid = new QTableView(this);
    numbersGrid->setObjectName(QStringLiteral("numbersGrid"));
    numbersGrid->setAccessibleName(QStringLiteral("Tabela liczb"));
    numbersGrid->setModel(proxy_);
    numbersGrid->setFont(Verdana(8));
    SetUpFixedRowGrid(numbersGrid, QFontMetrics(numbersGrid->font()).height() + 4);
    numbersGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    numbersGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    numbersGrid->setWordWrap(false);
    numbersGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    numbersGrid->horizontalHeader()->setSectionsClickable(true);
    numbersGrid->setSortingEnabled(true);
    numbersGrid->sortByColumn(NumberColumnNumber, Qt::AscendingOrder);

    longestGapSentence = new QLabel(this);
    longestGapSentence->setObjectName(QStringLiteral("longestGapSentence"));
    longestGapSentence->setWordWrap(true);
    outsideBandSentence = new QLabel(this);
    outsideBandSentence->setObjectName(QStringLiteral("outsideBandSentence"));
    outsideBandSentence->setWordWrap(true);
    equalChanceSentence = new QLabel(QString::fromUtf8(EqualChanceText), this);
    equalChanceSentence->setObjectName(QStringLiteral("equalChanceSentence"));
    equalChanceSentence->setAccessibleName(equalChanceSentence->text());
    equalChanceSentence->setWordWrap(true);
    for (QLabel* l : {headingLabel, longestGapSentence, outsideBandSentence, equalChanceSentence})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    saveButton = MakeButton(this, "saveButton", QStringLiteral("Zapisz"), {}, Verdana(10), Qt::StrongFocus);
    saveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    closeButton = MakeCloseButton(this, {});
    // No default button in this window: Enter presses only the focused button.
    closeButton->setAutoDefault(false);
    for (QPushButton* b : {saveButton, closeButton})
        b->setAccessibleName(b->text());
    connect(saveButton, &QPushButton::clicked, this, &NumbersWindow::saveReport);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* lastRow = new QHBoxLayout;
    lastRow->addWidget(lastDrawsCaption);
    lastRow->addWidget(lastDrawsField);
    lastRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addLayout(lastRow);
    layout->addWidget(numbersGrid, 1);
    layout->addWidget(longestGapSentence);
    layout->addWidget(outsideBandSentence);
    layout->addWidget(equalChanceSentence);
    layout->addLayout(buttons);
    fitColumns();
}

void NumbersWindow::fitColumns() {
    // Widths from the captions and the widest cells once, not from every cell at each change.
    const QFontMetrics cells(numbersGrid->font());
    const QFontMetrics captions(numbersGrid->horizontalHeader()->font());
    for (int c = 0; c < NumberColumnTotal; ++c) {
        const int caption = captions.horizontalAdvance(Q(NumberColumnCaption(c, MaxDraws)));
        const int cell = cells.horizontalAdvance(QString::fromUtf8(WidestCell[c]));
        numbersGrid->setColumnWidth(c, std::max(caption + 24, cell + 12)); // room for the sort arrow
    }
}

void NumbersWindow::showRange(std::int32_t rangeFrom, std::int32_t rangeTo, const NumberSetData& set) {
    rangeFrom_ = rangeFrom;
    rangeTo_ = rangeTo;
    set_ = set;
    computeTable();
}

void NumbersWindow::setDecimalSeparator(char c) {
    decimalSeparator_ = c;
    computeTable();
}

void NumbersWindow::computeTable() {
    const bool valid = rangeFrom_ >= 1 && rangeFrom_ <= rangeTo_ && rangeTo_ <= DrawCount;
    if (valid) {
        // The field shows min(N, n) for the N asked, which a shorter range does not lower, as the
        // command line clamps its --last; no signal, so nothing is computed twice.
        const QSignalBlocker quiet(lastDrawsField);
        lastDrawsField->setMaximum(rangeTo_ - rangeFrom_ + 1);
        lastDrawsField->setValue(std::min(askedLast_, rangeTo_ - rangeFrom_ + 1));
    }
    lastDrawsField->setEnabled(valid);
    model_->setTable(nullptr, decimalSeparator_);
    table_.reset();
    if (valid)
        table_ =
            ComputeNumberTable(NumberTableInput{{AllDraws(), &AllDrawMasks(), set_, rangeFrom_, rangeTo_}, askedLast_});
    if (table_) {
        model_->setTable(&*table_, decimalSeparator_);
        headingLabel->setText(Q(NumberTableHeading(*table_)));
        longestGapSentence->setText(Q(LongestGapSentence(*table_, decimalSeparator_)));
        outsideBandSentence->setText(Q(OutsideBandSentence(*table_, decimalSeparator_)));
    } else {
        headingLabel->setText(Q(RangeRefusalText));
        longestGapSentence->clear();
        outsideBandSentence->clear();
    }
    // The labels say what they show: their accessible names follow their texts.
    for (QLabel* l : {headingLabel, longestGapSentence, outsideBandSentence})
        l->setAccessibleName(l->text());
    saveButton->setEnabled(table_.has_value());
}

void NumbersWindow::saveReport() {
    if (!table_)
        return;
    // LICZBY.NNNN.txt, numbered on its own beside the ZENTAG.NNNN.txt of the other reports.
    const QString path = AskReportFileName(this, "LICZBY");
    if (path.isEmpty())
        return;
    if (WriteReport(this, path, NumbersReportBytes(*table_, decimalSeparator_)))
        ShowReportSaved(this, path);
}

void NumbersWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses a focused button and nothing else (the window has no default button); Esc
    // closes the window as the dialog does.
    if (PressFocusedButtonOnEnter(this, event, EnterElsewhere::Swallow))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace zg
