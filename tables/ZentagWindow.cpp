#include "tables/ZentagWindow.h"

#include "analysis/AnalysisReport.h"
#include "analysis/DateRoutines.h"
#include "analysis/NumberFormat.h"
#include "analysis/ReportSaving.h"
#include "analysis/MainWindow.h"
#include "app/State.h"
#include "tables/ZentagReport.h"
#include "ui/FrozenColumnTableView.h"
#include "ui/ProgressGauge.h"

#include <QBrush>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace zg {

namespace {

const QColor CellColour(20, 107, 70);
const QColor HeadingColour(0, 64, 0);
const QColor WindowColour(0, 128, 64);

QFont Verdana(int points, bool bold = false) {
    QFont f(QStringLiteral("Verdana"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

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

QString JoinLines(const std::vector<std::string>& lines) {
    std::string all;
    std::size_t size = 0;
    for (const std::string& l : lines)
        size += l.size() + 1;
    all.reserve(size);
    for (const std::string& l : lines) {
        if (!all.empty())
            all += '\n';
        all += l;
    }
    return QString::fromStdString(all);
}

// Drives a gauge from the table's computation: the number of found draws once, then each step.
class GaugeProgress final : public SearchProgress {
public:
    explicit GaugeProgress(ProgressGauge* gauge) : gauge_(gauge) {}
    void total(std::int32_t n) override {
        if (gauge_ == nullptr)
            return;
        gauge_->SetProgress(0);
        gauge_->SetMaxValue(n);
    }
    void step(std::int32_t i) override {
        if (gauge_ != nullptr)
            gauge_->SetProgress(i);
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
        return QString::fromStdString(r.date);
    const std::int32_t x = result_->columns[static_cast<std::size_t>(column - 1)];
    return r.Drawn(x) ? TwoDigitTexts()[static_cast<std::size_t>(x)] : QString();
}

QVariant ZentagGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // A cell of a number column that holds its number is yellow with black text.
    const auto drawn = [&] { return index.column() > 0 && !cellText(index.row(), index.column()).isEmpty(); };
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

ZentagWindow::ZentagWindow(MainWindow* main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName(QStringLiteral("Tabelka2"));
    setWindowTitle(QStringLiteral(" Tabelka ZENTAG"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(773, 541);
    setAutoFillBackground(true);
    QPalette wp = palette();
    wp.setColor(QPalette::Window, WindowColour);
    setPalette(wp);
    decimalSeparator_ = LocaleDecimalSeparator();

    model_ = new ZentagGridModel(this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Tabelka ZENTAG"));
    StringGrid1->setGeometry(0, 0, 772, 337);
    StringGrid1->setModel(model_);
    StringGrid1->setFont(Verdana(8));
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(14);
    StringGrid1->verticalHeader()->setDefaultSectionSize(14);
    {
        QHeaderView* h = StringGrid1->horizontalHeader();
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
    StringGrid1->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(20,107,70); gridline-color: black; "
                                              "color: white; }"));
    StringGrid1->setColumnWidth(0, 56);
    ClearGridSelection(StringGrid1);
    new FrozenColumnTableView(StringGrid1); // the dates stay while the number columns scroll

    const auto whiteLabel = [this](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(Verdana(8));
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
        l->adjustSize();
        l->move(x, y);
        return l;
    };
    const auto memo = [this](const char* name, QRect geometry, const QString& accessibleName) {
        auto* m = new QPlainTextEdit(this);
        m->setObjectName(QString::fromLatin1(name));
        m->setAccessibleName(accessibleName);
        m->setGeometry(geometry);
        m->setReadOnly(true);
        m->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Only a vertical scroll bar.
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m->setFont(Verdana(7, true));
        QPalette p = m->palette();
        p.setColor(QPalette::Base, QColor(0, 255, 255));
        p.setColor(QPalette::Text, Qt::black);
        m->setPalette(p);
        return m;
    };
    Label1 = whiteLabel("Label1", QStringLiteral("Wystąpienia liczb"), 16, 338);
    Memo1 = memo("Memo1", QRect(4, 352, 125, 186), Label1->text());
    Label2 = whiteLabel("Label2", QStringLiteral("Wystąpienia par liczb"), 144, 338);
    Memo2 = memo("Memo2", QRect(134, 352, 140, 186), Label2->text());

    dyskietka = new QToolButton(this);
    dyskietka->setObjectName(QStringLiteral("dyskietka"));
    dyskietka->setGeometry(315, 406, 25, 25);
    dyskietka->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    dyskietka->setToolTip(QStringLiteral("Zapisz wynik analizy do pliku"));
    dyskietka->setAccessibleName(dyskietka->toolTip());
    dyskietka->setCursor(Qt::PointingHandCursor);

    BitBtn3 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(282, 480, 90, 33);
    BitBtn3->setFont(Verdana(8, true));
    BitBtn3->setCursor(Qt::PointingHandCursor);
    // No default button in this window: Enter in the filter presses nothing.
    BitBtn3->setAutoDefault(false);

    Gauge1 = new ProgressGauge(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(282, 518, 90, 17); // the gauge's own colours: black on white

    auto* group = new QGroupBox(QStringLiteral("Pokaż tylko wybrane liczby"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(378, 344, 393, 191);
    group->setFont(Verdana(8));
    group->setStyleSheet(QStringLiteral("QGroupBox#GroupBox1 { background-color: rgb(0,64,0); margin-top: 0px; }"
                                        "QGroupBox#GroupBox1::title { color: rgb(255,255,192); left: 6px; }"));
    // The tick boxes are grey.
    QPalette boxPalette = palette();
    boxPalette.setColor(QPalette::Base, QColor(192, 192, 192));
    boxPalette.setColor(QPalette::Button, QColor(192, 192, 192));
    QFont numberFont = Verdana(6, true);
    for (int n = 1; n <= 80; ++n) {
        const int row = (n - 1) / 16;
        const int column = (n - 1) % 16;
        auto* label = new QLabel(TwoDigitTexts()[static_cast<std::size_t>(n)], group);
        label->setFont(numberFont);
        label->setStyleSheet(QStringLiteral("background-color: yellow; color: black;"));
        label->setGeometry(8 + 24 * column, 16 + 34 * row, 15, 13);
        auto* box = new QCheckBox(group);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        box->setAccessibleName(label->text());
        box->setGeometry(8 + 24 * column, 29 + 34 * row, 17, 17);
        box->setPalette(boxPalette);
        box->setCursor(Qt::PointingHandCursor);
        connect(box, &QCheckBox::toggled, this, &ZentagWindow::CheckBox1Click);
        CheckBoxes[static_cast<std::size_t>(n)] = box;
    }

    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::close);
    connect(dyskietka, &QToolButton::clicked, this, &ZentagWindow::dyskietkaClick);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

ZentagWindow::~ZentagWindow() = default;

QCheckBox* ZentagWindow::checkBox(int n) const {
    return IsLotteryNumber(n) ? CheckBoxes[static_cast<std::size_t>(n)] : nullptr;
}

void ZentagWindow::ClearFilter() {
    // Unticking here changes what the boxes show only; the caller's complete computation follows.
    clearingFilter_ = true;
    for (int n = 1; n <= 80; ++n)
        CheckBoxes[static_cast<std::size_t>(n)]->setChecked(false);
    clearingFilter_ = false;
    ZentagSelection.clear();
}

ZentagInput ZentagWindow::Input() const {
    ZentagInput in;
    in.draws = AllDraws();
    in.foundDraws = FoundDraws;
    in.foundCount = FoundCount;
    in.rangeFrom = main_->RangeFrom();
    in.rangeTo = main_->RangeTo();
    in.offset = ZentagOffset;
    in.decimalSeparator = decimalSeparator_;
    return in;
}

void ZentagWindow::ComputeZentagTable(ProgressGauge* gauge) {
    main_->RefreshRangeInfo();
    // The grid lets go of the old table before it is replaced.
    model_->setResult(nullptr);
    GaugeProgress progress(gauge);
    result_ = zg::ComputeZentagTable(Input(), &progress);
    ShowResult();
}

void ZentagWindow::ComputeZentagTableFor() {
    model_->setResult(nullptr);
    result_ = zg::ComputeZentagTableFor(Input(), ZentagSelection);
    ShowResult();
}

void ZentagWindow::ShowResult() {
    model_->setResult(&result_);
    StringGrid1->setColumnWidth(0, 56);
    Memo1->setPlainText(JoinLines(result_.singleLines));
    Memo2->setPlainText(JoinLines(result_.pairLines));
}

void ZentagWindow::CheckBox1Click() {
    if (clearingFilter_)
        return;
    ZentagSelection.clear();
    for (int n = 1; n <= 80; ++n)
        if (CheckBoxes[static_cast<std::size_t>(n)]->isChecked())
            ZentagSelection.push_back(n);
    if (ZentagSelection.empty())
        ComputeZentagTable(Gauge1);
    else
        ComputeZentagTableFor();
}

void ZentagWindow::dyskietkaClick() {
    const QString path = RunSaveDialog1(this);
    if (!path.isEmpty()) {
        ZentagReportInput in;
        in.rangeFrom = main_->RangeFrom();
        in.rangeTo = main_->RangeTo();
        in.rangeFromDate = DrawDateText(AllDraws(), in.rangeFrom);
        in.rangeToDate = DrawDateText(AllDraws(), in.rangeTo);
        in.hitsFromText = main_->HitsFromText().toStdString();
        in.hitsToText = main_->HitsToText().toStdString();
        in.setNumbers = SetNumbersOf(NumberSet);
        in.offset = ZentagOffset;
        in.table = &result_;
        if (WriteReport(this, path, ZentagReportBytes(in)))
            ShowReportSaved(this, path);
    }
    BitBtn3->setFocus();
}

void ZentagWindow::keyPressEvent(QKeyEvent* event) {
    // Enter presses the push button that has the focus and nothing else: the window has no
    // default button, so Enter on a tick box or in a list does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* focus = focusWidget();
        if (focus == BitBtn3 || focus == dyskietka)
            static_cast<QAbstractButton*>(focus)->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zg
