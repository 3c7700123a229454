// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/ZentagWindow.h"

#include "analysis/AnalysisReport.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "tables/ZentagReport.h"
#include "ui/ButtonGrid.h"
#include "ui/FrozenColumnTableView.h"
#include "ui/GridSelection.h"
#include "ui/KeyboardButtons.h"
#include "ui/LineListView.h"
#include "ui/ProgramLook.h"
#include "ui/ProgressGauge.h"
#include "ui/ReportSaving.h"
#include "ui/WindowParts.h"

#include <QBrush>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

namespace zg {

namespace {

const QColor CellColour(20, 107, 70);
const QColor HeadingColour(0, 64, 0);
const QColor WindowColour(0, 128, 64);
// Two lines of two rows each under the ranked lists.
constexpr int BaselinesHeight = 64;

// "01".."80" once, for the cells being painted.
const std::array<QString, 81>& TwoDigitTexts() {
    static const std::array<QString, 81> texts = [] {
        std::array<QString, 81> t;
        for (int x = 1; x <= 80; ++x)
            t[static_cast<std::size_t>(x)] = QStringLiteral("%1").arg(x, 2, 10, QLatin1Char('0'));
        return t;
    }();
    return texts;
}

// Paints a grid cell as its colours and its text say, without the style's general drawing of an
// item (focus frame, icon, check box, a text layout for every cell), which this grid has no use
// for: it has no selection and no focus frame, and each text is one short line. The text stands
// where the style puts it: at the top left, inside the style's text margin.
class PlainCellDelegate final : public QStyledItemDelegate {
public:
    explicit PlainCellDelegate(QWidget* view)
        : QStyledItemDelegate(view),
          margin_(view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>())
            painter->fillRect(option.rect, background.value<QBrush>());
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty())
            return;
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->save();
        painter->setPen(foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                        : option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(margin_, 0, -margin_, 0), Qt::AlignLeft | Qt::AlignTop, text);
        painter->restore();
    }

private:
    int margin_;
};

// Drives a gauge from the table's computation: the number of found draws once, then each step.
class GaugeProgress final : public SearchProgress {
public:
    explicit GaugeProgress(ProgressGauge* gauge) : gauge_(gauge) {}
    void total(std::int32_t n) override {
        if (gauge_ == nullptr)
            return;
        gauge_->setValue(0);
        gauge_->setMaximum(n);
    }
    void step(std::int32_t i) override {
        if (gauge_ != nullptr)
            gauge_->setValue(i);
    }

private:
    ProgressGauge* gauge_;
};

} // namespace

// ---- the grid ----

ZentagGridModel::ZentagGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int ZentagGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || result_ == nullptr)
        return 0;
    return static_cast<int>(result_->rows.size());
}

int ZentagGridModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return result_ == nullptr ? 81 : result_->ColumnCount();
}

QString ZentagGridModel::cellText(int row, int column) const {
    if (result_ == nullptr || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    const ZentagRow& r = result_->rows[static_cast<std::size_t>(row)];
    if (column == 0)
        return QString::fromStdString(r.DateText());
    const std::int32_t x = result_->columns[static_cast<std::size_t>(column - 1)];
    return r.Drawn(x) ? TwoDigitTexts()[static_cast<std::size_t>(x)] : QString();
}

bool ZentagGridModel::drawnCell(int row, int column) const {
    if (result_ == nullptr || row < 0 || column < 1 || row >= rowCount() || column >= columnCount())
        return false;
    return result_->rows[static_cast<std::size_t>(row)].Drawn(result_->columns[static_cast<std::size_t>(column - 1)]);
}

QVariant ZentagGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // A cell of a number column that holds its number is yellow with black text.
    const auto drawn = [&] { return drawnCell(index.row(), index.column()); };
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
        if (index.column() == 0)
            return QBrush(HeadingColour);
        return QBrush(drawn() ? QColor(255, 255, 0) : CellColour);
    case Qt::ForegroundRole:
        return QBrush(drawn() ? Qt::black : Qt::white);
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant ZentagGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole) {
        if (section == 0)
            return QString();
        if (result_ == nullptr)
            return TwoDigitTexts()[static_cast<std::size_t>(section)];
        return QString::fromStdString(result_->headings[static_cast<std::size_t>(section)]);
    }
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ZentagGridModel::setResult(const ZentagResult* result) {
    beginResetModel();
    result_ = result;
    endResetModel();
}

// ---- the window ----

ZentagWindow::ZentagWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("zentagWindow"));
    setWindowTitle(QStringLiteral(" Tabelka ZENTAG"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    // Below the 541 pixels of the table, the lists and the filter: the two lines of what chance
    // alone gives.
    setFixedSize(773, 541 + BaselinesHeight);
    setAutoFillBackground(true);
    QPalette wp = palette();
    wp.setColor(QPalette::Window, WindowColour);
    setPalette(wp);
    decimalSeparator_ = LocaleDecimalSeparator();

    model_ = new ZentagGridModel(this);
    zentagGrid = new QTableView(this);
    zentagGrid->setObjectName(QStringLiteral("zentagGrid"));
    zentagGrid->setAccessibleName(QStringLiteral("Tabelka ZENTAG"));
    zentagGrid->setGeometry(0, 0, 772, 337);
    zentagGrid->setModel(model_);
    zentagGrid->setItemDelegate(new PlainCellDelegate(zentagGrid));
    zentagGrid->setFont(Verdana(8));
    zentagGrid->setSelectionMode(QAbstractItemView::NoSelection);
    SetUpFixedRowGrid(zentagGrid, 14); // the arrow keys move in it, Tab leaves it
    zentagGrid->setFocusPolicy(Qt::StrongFocus);
    zentagGrid->setWordWrap(false);
    zentagGrid->setTextElideMode(Qt::ElideNone);
    zentagGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    zentagGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    {
        QHeaderView* h = zentagGrid->horizontalHeader();
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(20);
        h->setDefaultSectionSize(20);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->setFixedHeight(14);
        h->setHighlightSections(false);
        h->setSectionsClickable(false);
        h->setFont(Verdana(8));
        // Beyond the last column (a filtered table) the heading row shows the grid's colour.
        h->setStyleSheet(QStringLiteral("QHeaderView { background-color: rgb(20,107,70); } "
                                        "QHeaderView::section { background-color: rgb(0,64,0); color: white; "
                                        "border: 0px; border-right: 1px solid black; border-bottom: 1px solid black; "
                                        "padding: 0px 0px 0px 3px; }"));
    }
    zentagGrid->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(20,107,70); gridline-color: black; "
                                             "color: white; }"));
    zentagGrid->setColumnWidth(0, 56);
    ClearGridSelection(zentagGrid);
    new FrozenColumnTableView(zentagGrid); // the dates stay while the number columns scroll

    const auto whiteLabel = [this](const char* name, const QString& text, int x, int y) {
        QLabel* l = MakeCaption(this, name, text, Verdana(8), QPoint(x, y));
        SetTextColour(l, Qt::white);
        return l;
    };
    const auto memo = [this](const char* name, QRect geometry, const QString& accessibleName) {
        // The ranked lists can hold thousands of lines (3,160 pairs): a list that makes only the
        // lines in view into texts, not a text document of them all.
        auto* m = new LineListView(this);
        m->setObjectName(QString::fromLatin1(name));
        m->setAccessibleName(accessibleName);
        m->setGeometry(geometry);
        // Only a vertical scroll bar.
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setFont(Verdana(7, true));
        SetFieldColours(m, Aqua, Qt::black);
        return m;
    };
    numbersCaption = whiteLabel("numbersCaption", QStringLiteral("Wystąpienia liczb"), 16, 338);
    numbersList = memo("numbersList", QRect(4, 352, 125, 186), numbersCaption->text());
    pairsCaption = whiteLabel("pairsCaption", QStringLiteral("Wystąpienia par liczb"), 144, 338);
    pairsList = memo("pairsList", QRect(134, 352, 140, 186), pairsCaption->text());

    // Under the lists, what chance alone gives for one number and for one pair, as wide as the window.
    const auto baseline = [&whiteLabel](const char* name, int y) {
        QLabel* l = whiteLabel(name, QString(), 4, y);
        l->setGeometry(4, y, 765, 30);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    numbersBaseline = baseline("numbersBaseline", 541);
    pairsBaseline = baseline("pairsBaseline", 541 + BaselinesHeight / 2);

    saveButton =
        MakeIconButton(this, "saveButton", QRect(315, 406, 25, 25), style()->standardIcon(QStyle::SP_DialogSaveButton),
                       QStringLiteral("Zapisz wynik analizy do pliku"));
    saveButton->setCursor(Qt::PointingHandCursor);

    closeButton = MakeCloseButton(this, QRect(282, 480, 90, 33));
    closeButton->setFont(Verdana(8, true));
    // No default button in this window: Enter in the filter presses nothing.
    closeButton->setAutoDefault(false);

    progressGauge = new ProgressGauge(this);
    progressGauge->setObjectName(QStringLiteral("progressGauge"));
    progressGauge->setGeometry(282, 518, 90, 17); // the gauge's own colours: black on white

    auto* group = new QGroupBox(QStringLiteral("Pokaż tylko wybrane liczby"), this);
    group->setObjectName(QStringLiteral("filterGroup"));
    group->setGeometry(378, 344, 393, 191);
    group->setFont(Verdana(8));
    group->setStyleSheet(QStringLiteral("QGroupBox#filterGroup { background-color: rgb(0,64,0); margin-top: 0px; }"
                                        "QGroupBox#filterGroup::title { color: rgb(255,255,192); left: 6px; }"));
    // The tick boxes are grey.
    QPalette boxPalette = palette();
    FixColourPair(boxPalette, QPalette::Base, Silver, QPalette::Text, Qt::black);
    FixColourPair(boxPalette, QPalette::Button, Silver, QPalette::ButtonText, Qt::black);
    QFont numberFont = Verdana(6, true);
    for (int n = 1; n <= 80; ++n) {
        const int row = (n - 1) / 16;
        const int column = (n - 1) % 16;
        auto* label = new QLabel(TwoDigitTexts()[static_cast<std::size_t>(n)], group);
        label->setFont(numberFont);
        SetColours(label, Qt::yellow, Qt::black);
        label->setGeometry(8 + 24 * column, 16 + 34 * row, 15, 13);
        auto* box = new QCheckBox(group);
        box->setObjectName(QStringLiteral("filterBox%1").arg(n));
        box->setAccessibleName(label->text());
        box->setGeometry(8 + 24 * column, 29 + 34 * row, 17, 17);
        box->setPalette(boxPalette);
        box->setCursor(Qt::PointingHandCursor);
        connect(box, &QCheckBox::toggled, this, &ZentagWindow::applyFilter);
        filterBoxes[static_cast<std::size_t>(n)] = box;
    }
    // The 80 filter boxes are one Tab stop: the arrow keys move in their 5 rows of 16, Space ticks.
    MakeButtonGridOneTabStop(std::vector<QAbstractButton*>(filterBoxes.begin() + 1, filterBoxes.end()), 16);

    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    connect(saveButton, &QToolButton::clicked, this, &ZentagWindow::saveReport);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

ZentagWindow::~ZentagWindow() = default;

QCheckBox* ZentagWindow::checkBox(int n) const {
    return IsLotteryNumber(n) ? filterBoxes[static_cast<std::size_t>(n)] : nullptr;
}

void ZentagWindow::clearFilter() {
    // Unticking here changes what the boxes show only; the caller's complete computation follows.
    clearingFilter_ = true;
    for (int n = 1; n <= 80; ++n)
        filterBoxes[static_cast<std::size_t>(n)]->setChecked(false);
    clearingFilter_ = false;
    selection_.clear();
}

std::int32_t ZentagWindow::foundCount() const {
    if (!request_.foundDraws || request_.foundDraws->empty())
        return 0;
    const auto listed = static_cast<std::int32_t>(
        std::min<std::size_t>(request_.foundDraws->size() - 1, static_cast<std::size_t>(MaxDraws)));
    return std::clamp(request_.foundCount, 0, listed);
}

ZentagInput ZentagWindow::tableInput() const {
    ZentagInput in{request_.parameters};
    in.foundDraws = request_.foundDraws ? request_.foundDraws->data() : nullptr;
    in.foundCount = foundCount();
    in.offset = request_.offset;
    in.decimalSeparator = decimalSeparator_;
    return in;
}

void ZentagWindow::computeTable(ProgressGauge* gauge) {
    emit rangeShown();
    // The grid and the lists let go of the old table before it is replaced.
    model_->setResult(nullptr);
    numbersList->SetLines(nullptr);
    pairsList->SetLines(nullptr);
    GaugeProgress progress(gauge);
    result_ = zg::ComputeZentagTable(tableInput(), &progress);
    showResult();
}

void ZentagWindow::computeTableForSelection() {
    model_->setResult(nullptr);
    numbersList->SetLines(nullptr);
    pairsList->SetLines(nullptr);
    result_ = zg::ComputeZentagTableFor(tableInput(), selection_);
    showResult();
}

void ZentagWindow::showResult() {
    model_->setResult(&result_);
    zentagGrid->setColumnWidth(0, 56);
    numbersList->SetLines(&result_.singleLines);
    pairsList->SetLines(&result_.pairLines);
    // The rows are the found draws with a draw at the distance inside the range; the lists'
    // percentages are of all found draws.
    const auto rows = static_cast<std::int64_t>(result_.rows.size());
    numbersBaseline->setText(QString::fromStdString(ZentagNumbersBaseline(rows, foundCount(), decimalSeparator_)));
    pairsBaseline->setText(QString::fromStdString(ZentagPairsBaseline(rows, foundCount(), decimalSeparator_)));
    for (QLabel* l : {numbersBaseline, pairsBaseline})
        l->setAccessibleName(l->text());
}

void ZentagWindow::applyFilter() {
    if (clearingFilter_)
        return;
    selection_.clear();
    for (int n = 1; n <= 80; ++n)
        if (filterBoxes[static_cast<std::size_t>(n)]->isChecked())
            selection_.push_back(n);
    if (selection_.empty())
        computeTable(progressGauge);
    else
        computeTableForSelection();
}

void ZentagWindow::saveReport() {
    const QString path = AskReportFileName(this, ReportFileStem);
    if (!path.isEmpty()) {
        const AnalysisParameters& parameters = request_.parameters;
        const ZentagReportInput in{MakeSearchHeading(parameters, parameters.draws, parameters.set), request_.offset,
                                   &result_};
        const auto pieces = [&in](const ReportPieceSink& sink) { return WriteZentagReport(in, sink); };
        if (WriteReport(this, path, pieces))
            ShowReportSaved(this, path);
    }
    closeButton->setFocus();
}

void ZentagWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses the push button that has the focus and nothing else: the window has no
    // default button, so Enter on a tick box or in a list does nothing.
    if (PressFocusedButtonOnEnter(this, event, EnterElsewhere::Swallow))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace zg
