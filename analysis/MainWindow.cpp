#include "analysis/MainWindow.h"

#include "analysis/AnalysisReport.h"
#include "analysis/DateRoutines.h"
#include "analysis/NumberFormat.h"
#include "analysis/ReportSaving.h"
#include "analysis/ResultGridModel.h"
#include "analysis/SetHitSearch.h"
#include "app/State.h"
#include "tables/Calendar.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "tables/Zentag.h"
#include "ui/Dialogs.h"
#include "ui/KeyboardButtons.h"
#include "ui/QtText.h"
#include "ui/SpinField.h"
#include "ui/ProgressGauge.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

namespace zg {

namespace {

const QColor Silver(192, 192, 192);
const QColor Aqua(0, 255, 255);
const QColor Maroon(128, 0, 0);
const QColor Teal(0, 128, 128);
const QColor Navy(0, 0, 128);

QFont Verdana(int points, bool bold = false) {
    QFont f(QStringLiteral("Verdana"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(Verdana(10));
    l->adjustSize();
    l->move(x, y);
    return l;
}

// A statistics value label: maroon bold Verdana 10 pt; wide enough for its longest text.
QLabel* MakeValueLabel(QWidget* parent, const char* name, int x, int y) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(Verdana(10, true));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Maroon);
    l->setPalette(p);
    l->setGeometry(x, y, 470, 16);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry, int points, bool bold) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFont(Verdana(points, bold));
    b->setFocusPolicy(Qt::ClickFocus);
    b->setAutoDefault(false);
    return b;
}

// Shows a statistics value either as a link-looking value (maroon, underlined, not bold, hand
// cursor) with a hint, or as a plain value (neither bold nor underlined, ordinary cursor).
void SetValueLook(QLabel* label, bool link, const QString& hint) {
    QFont f = Verdana(10, !link);
    if (link)
        f.setUnderline(true);
    else
        f.setBold(false);
    label->setFont(f);
    label->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label->setToolTip(hint);
}

QPixmap DiskGlyph() {
    // A small floppy-disk picture: body, shutter and label.
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(4, 1, 7, 5);
    p.setBrush(Qt::white);
    p.drawRect(3, 8, 9, 6);
    return pm;
}

QPixmap CalculatorGlyph() {
    // The glyph of "Oblicz": a small green tick.
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0, 128, 0), 3);
    p.setPen(pen);
    p.drawLine(3, 9, 7, 14);
    p.drawLine(7, 14, 15, 4);
    return pm;
}

} // namespace

void ClearGridSelection(QAbstractItemView* grid) {
    grid->clearSelection();
    grid->setCurrentIndex(QModelIndex());
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Analiza11"));
    setWindowTitle(QStringLiteral(" ZENTAGRAFO v. 1.6 ML"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(745, 556);
    decimalSeparator_ = LocaleDecimalSeparator();
    buildControls();

    // Window set-up before the database load: the numbers strip shows no selected cell and the
    // result grid has its headings (the model provides them).
    ClearGridSelection(StringGrid2);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    setFont(Verdana(10));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 745, 556);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(5);
    panel->setAutoFillBackground(true);
    QPalette pp = panel->palette();
    pp.setColor(QPalette::Window, Silver);
    pp.setColor(QPalette::WindowText, Qt::black);
    pp.setColor(QPalette::Button, Silver);
    panel->setPalette(pp);

    // The three groups have no caption; assistive technology names them after what they hold.
    auto group = [panel](const char* name, int x0, int x1, const QString& accessibleName) {
        auto* g = new QGroupBox(panel);
        g->setObjectName(QString::fromLatin1(name));
        g->setGeometry(x0, 8, x1 - x0, 113);
        g->setAccessibleName(accessibleName);
        return g;
    };
    group("GroupBox1", 64, 313, QStringLiteral("Zakres losowań"));
    group("GroupBox2", 312, 553, QStringLiteral("Zestaw liczb"));
    group("GroupBox3", 552, 689, QStringLiteral("Tabelki"));

    Label81 = MakeLabel(panel, "Label81", QStringLiteral("Zakres losowań:"), 99, 16);
    Label96 = MakeLabel(panel, "Label96", QString(), 212, 18);
    Label96->setFont(Verdana(8));
    Label96->setGeometry(212, 18, 100, 16);

    auto makeField = [panel](const char* edit, const char* arrows, int maxLength, QRect editRect, int arrowsWidth,
                             int points) {
        auto* f = new SpinField(panel, QString::fromLatin1(edit), QString::fromLatin1(arrows), maxLength);
        f->setGeometry(editRect.x(), editRect.y(), editRect.width() + arrowsWidth, editRect.height());
        QLineEdit* e = f->edit();
        QPalette p = e->palette();
        p.setColor(QPalette::Base, Aqua);
        p.setColor(QPalette::Text, Qt::black);
        e->setPalette(p);
        e->setFont(Verdana(points, true));
        e->setFocusPolicy(Qt::ClickFocus);
        f->upButton()->setFocusPolicy(Qt::NoFocus);
        f->downButton()->setFocusPolicy(Qt::NoFocus);
        return f;
    };
    RangeFromField = makeField("Edit6", "UpDown3", 6, QRect(114, 38, 52, 24), 15, 10);
    RangeFromField->edit()->setAccessibleName(QStringLiteral("Pierwsze losowanie zakresu"));
    Label82 = MakeLabel(panel, "Label82", QStringLiteral("--"), 184, 42);
    Label82->setFont(Verdana(10, true));
    RangeToField = makeField("Edit7", "UpDown4", 6, QRect(200, 38, 52, 24), 15, 10);
    RangeToField->edit()->setAccessibleName(QStringLiteral("Ostatnie losowanie zakresu"));
    Label86 = MakeLabel(panel, "Label86", QString(), 108, 62);
    Label86->setGeometry(108, 62, 90, 16);
    Label9 = MakeLabel(panel, "Label9", QString(), 195, 62);
    Label9->setGeometry(195, 62, 90, 16);

    Button3 = MakeButton(panel, "Button3", QStringLiteral("ZARZĄDZAJ"), QRect(138, 85, 89, 25), 10, false);
    BitBtn1 = MakeButton(panel, "BitBtn1", QStringLiteral("LICZBA / ZESTAW LICZB"), QRect(344, 21, 177, 41), 10, true);
    BitBtn1->setMouseTracking(true);
    BitBtn1->installEventFilter(this);
    button1 = MakeButton(panel, "button1", QStringLiteral("Oblicz"), QRect(376, 72, 113, 33), 12, true);
    button1->setIcon(QIcon(CalculatorGlyph()));
    button1->setFocusPolicy(Qt::StrongFocus); // the one Tab stop of the window
    button1->setDefault(true);
    rozklad2 = MakeButton(panel, "rozklad2", QStringLiteral("ZENTAG +1"), QRect(562, 24, 102, 34), 10, true);
    rozklad2->setCursor(Qt::PointingHandCursor);

    // The ZENTAG distance arrows (-99..99, 1 at start), beside the button that shows the distance.
    UpDown5 = new QWidget(panel);
    UpDown5->setObjectName(QStringLiteral("UpDown5"));
    UpDown5->setGeometry(664, 24, 17, 34);
    {
        auto* up = new QToolButton(UpDown5);
        up->setObjectName(QStringLiteral("UpDown5Up"));
        up->setArrowType(Qt::UpArrow);
        up->setGeometry(0, 0, 17, 17);
        up->setAccessibleName(QStringLiteral("Zwiększ odstęp tabeli ZENTAG"));
        auto* down = new QToolButton(UpDown5);
        down->setObjectName(QStringLiteral("UpDown5Down"));
        down->setArrowType(Qt::DownArrow);
        down->setGeometry(0, 17, 17, 17);
        down->setAccessibleName(QStringLiteral("Zmniejsz odstęp tabeli ZENTAG"));
        for (QToolButton* arrow : {up, down})
            arrow->setFocusPolicy(Qt::NoFocus);
        connect(up, &QToolButton::clicked, this, [this] { UpDown5Click(1); });
        connect(down, &QToolButton::clicked, this, [this] { UpDown5Click(-1); });
    }
    rozklad = MakeButton(panel, "rozklad", QStringLiteral("MAPA"), QRect(576, 72, 85, 34), 10, true);

    Label2 = MakeLabel(panel, "Label2", QStringLiteral("Szukaj losowań w których wylosowano od"), 86, 130);
    HitsFromField = makeField("Edit1", "UpDown1", 2, QRect(376, 128, 25, 21), 15, 8);
    HitsFromField->edit()->setAccessibleName(QStringLiteral("Najmniejsza liczba trafień"));
    Label4 = MakeLabel(panel, "Label4", QStringLiteral("do"), 424, 130);
    HitsToField = makeField("Edit2", "UpDown2", 2, QRect(448, 128, 25, 21), 15, 8);
    HitsToField->edit()->setAccessibleName(QStringLiteral("Największa liczba trafień"));
    Label3 = MakeLabel(panel, "Label3", QStringLiteral("liczb"), 496, 130);

    dyskietka = new QToolButton(panel);
    dyskietka->setObjectName(QStringLiteral("dyskietka"));
    dyskietka->setGeometry(608, 126, 25, 25);
    dyskietka->setIcon(QIcon(DiskGlyph()));
    dyskietka->setToolTip(QStringLiteral("Zapisz wynik analizy do pliku"));
    dyskietka->setAccessibleName(QStringLiteral("Zapisz wynik analizy do pliku"));
    dyskietka->setFocusPolicy(Qt::NoFocus);

    Gauge1 = new ProgressGauge(panel);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(32, 157, 682, 15);
    Gauge1->SetForeColor(Navy);
    Gauge1->SetBackColor(Qt::white);
    QFont gaugeFont(QStringLiteral("MS Sans Serif"));
    gaugeFont.setPointSize(8);
    Gauge1->setFont(gaugeFont);

    resultModel_ = new ResultGridModel(this);
    StringGrid1 = new QTableView(panel);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Znalezione losowania"));
    StringGrid1->setGeometry(32, 172, 681, 260);
    StringGrid1->setModel(resultModel_);
    StringGrid1->setFont(Verdana(8));
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setFocusPolicy(Qt::ClickFocus);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(16);
    StringGrid1->verticalHeader()->setMinimumSectionSize(16);
    {
        QHeaderView* h = StringGrid1->horizontalHeader();
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->setFixedHeight(17);
        h->setHighlightSections(false);
        h->setSectionsClickable(false);
        QFont hf = Verdana(8);
        h->setFont(hf);
        h->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(0,64,0); color: white; "
                                        "border: 0px; border-right: 1px solid black; border-bottom: 1px solid black; "
                                        "padding: 0px; }"));
        const int widths[] = {97, 130, 125, 151, 152};
        for (int c = 0; c < 5; ++c)
            StringGrid1->setColumnWidth(c, widths[c]);
    }
    StringGrid1->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(0,128,128); gridline-color: black; "
                                              "color: white; }"));
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { StringGrid1Click(); });
    connect(StringGrid1, &QTableView::clicked, this, [this](const QModelIndex&) { StringGrid1Click(); });

    stripModel_ = new NumbersStripModel(this);
    StringGrid2 = new QTableView(panel);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setAccessibleName(QStringLiteral("Liczby wybranego losowania"));
    StringGrid2->setGeometry(41, 432, 663, 22);
    StringGrid2->setModel(stripModel_);
    StringGrid2->setFont(Verdana(10));
    StringGrid2->horizontalHeader()->hide();
    StringGrid2->verticalHeader()->hide();
    StringGrid2->horizontalHeader()->setMinimumSectionSize(32);
    StringGrid2->horizontalHeader()->setDefaultSectionSize(32);
    StringGrid2->verticalHeader()->setMinimumSectionSize(20);
    StringGrid2->verticalHeader()->setDefaultSectionSize(20);
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid2->setFocusPolicy(Qt::NoFocus);
    StringGrid2->setStyleSheet(QStringLiteral("QTableView { background-color: rgb(0,128,64); gridline-color: black; "
                                              "color: white; }"));

    Label5 = MakeLabel(panel, "Label5", Q(TotalCaption), 26, 464);
    Label6 = MakeValueLabel(panel, "Label6", 240, 464);
    Label7 = MakeLabel(panel, "Label7", Q(AverageCaption), 22, 480);
    Label8 = MakeValueLabel(panel, "Label8", 240, 480);
    Label10 = MakeLabel(panel, "Label10", Q(MaxGapCaption), 136, 496);
    Label12 = MakeValueLabel(panel, "Label12", 240, 496);
    Label11 = MakeLabel(panel, "Label11", Q(CurrentGapCaption), 109, 512);
    Label13 = MakeValueLabel(panel, "Label13", 240, 513);
    Label14 = MakeLabel(panel, "Label14", Q(MaxSeriesCaption), 80, 528);
    Label15 = MakeValueLabel(panel, "Label15", 240, 528);
    Label6->setGeometry(240, 464, 240, 16);
    Label8->setGeometry(240, 480, 240, 16);
    Label12->setGeometry(240, 496, 240, 16);
    Label13->setGeometry(240, 513, 240, 16);
    Label15->setGeometry(240, 528, 240, 16);

    BitBtn4 = MakeButton(panel, "BitBtn4", QStringLiteral("Autor"), QRect(488, 508, 105, 33), 10, true);
    BitBtn4->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    BitBtn2 = MakeButton(panel, "BitBtn2", QStringLiteral("Zamknij"), QRect(608, 508, 105, 33), 10, true);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    // Hit fields wait for a set.
    HitsFromField->setEnabled(false);
    HitsToField->setEnabled(false);

    // ---- events ----
    for (SpinField* f : {RangeFromField, RangeToField, HitsFromField, HitsToField})
        connect(f, &SpinField::clicked, this, &MainWindow::ResetResults);
    for (SpinField* f : {RangeFromField, RangeToField}) {
        connect(f, &SpinField::arrowClicked, this, [this] {
            RefreshRangeInfo();
            ResetResults();
        });
        connect(f, &SpinField::enterPressed, this, [this] { enterInField(true); });
    }
    for (SpinField* f : {HitsFromField, HitsToField}) {
        connect(f, &SpinField::arrowClicked, this, &MainWindow::ResetResults);
        connect(f, &SpinField::enterPressed, this, [this] { enterInField(false); });
    }
    connect(BitBtn1, &QPushButton::clicked, this, [this] { showDialog(setEditor_); });
    connect(Button3, &QPushButton::clicked, this, [this] { showDialog(drawManager_); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { showDialog(aboutWindow_); });
    connect(rozklad, &QPushButton::clicked, this, &MainWindow::rozkladClick);
    connect(rozklad2, &QPushButton::clicked, this, &MainWindow::rozklad2Click);
    connect(button1, &QPushButton::clicked, this, &MainWindow::button1Click);
    connect(dyskietka, &QToolButton::clicked, this, &MainWindow::dyskietkaClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once: no question, nothing is saved.
    QWidget::closeEvent(event);
    QCoreApplication::quit();
}

void MainWindow::FormShow() {
    ResetResults();
    RangeToField->setRange(1, DrawCount);
    RangeFromField->setRange(1, DrawCount);
    konfiguracja();
    button1->setEnabled(false);
    rozklad->setEnabled(false);
    rozklad2->setEnabled(false);
    RangeFromField->setPosition(std::min<std::int32_t>(2049, DrawCount));
    RangeToField->setPosition(DrawCount);
    // With no draws there is nothing to choose: the range fields stay empty and inactive.
    RangeFromField->setEnabled(DrawCount > 0);
    RangeToField->setEnabled(DrawCount > 0);
    RefreshRangeInfo();
}

void MainWindow::konfiguracja() {
    const std::int32_t m = std::min<std::int32_t>(NumberSet.Count, 20);
    HitsFromField->setRange(0, m);
    HitsToField->setRange(0, m);
    HitsToField->setPosition(m);
    HitsFromField->setPosition(m);
}

void MainWindow::ResetResults() {
    highlightActive_ = false;
    ZentagTableValid = false;
    resultModel_->clear();
    stripModel_->clear();
    stripModel_->setHighlight(false, nullptr);
    for (QLabel* l : {Label6, Label8, Label12, Label13, Label15}) {
        l->clear();
        l->setToolTip(QString());
    }
    rozklad2->setEnabled(false);
    rozklad->setEnabled(false);
    dyskietka->setEnabled(false);
}

void MainWindow::RefreshRangeInfo() {
    if (DrawCount <= 0) {
        RangeFromField->edit()->clear();
        RangeToField->edit()->clear();
        Label86->clear();
        Label9->clear();
        Label96->setText(QStringLiteral("0 losowań"));
        return;
    }
    DrawDateLabel(RangeFromField, Label86);
    DrawDateLabel(RangeToField, Label9);
    const std::int64_t count = static_cast<std::int64_t>(RangeToField->position()) - RangeFromField->position() + 1;
    Label96->setText(QString::number(count) + QStringLiteral(" losowań"));
}

void MainWindow::DrawCountChanged() {
    RangeToField->setRange(1, DrawCount);
    RangeFromField->setRange(1, DrawCount);
    if (DrawCount > 0 && !RangeToField->isEnabled()) {
        // The first draw of an empty table: the range fields come to life on it.
        RangeFromField->setEnabled(true);
        RangeToField->setEnabled(true);
        RangeFromField->setPosition(DrawCount);
        RangeToField->setPosition(DrawCount);
        RefreshRangeInfo();
    }
}

void MainWindow::SetConfirmed() {
    HitsFromField->setPosition(0);
    button1->setEnabled(true);
    HitsFromField->setEnabled(true);
    HitsToField->setEnabled(true);
    ZentagTableValid = false;
    konfiguracja();
    ResetResults();
}

std::int32_t MainWindow::RangeFrom() const {
    return RangeFromField->position();
}
std::int32_t MainWindow::RangeTo() const {
    return RangeToField->position();
}
std::int32_t MainWindow::HitsFrom() const {
    return HitsFromField->position();
}
std::int32_t MainWindow::HitsTo() const {
    return HitsToField->position();
}
QString MainWindow::HitsFromText() const {
    return HitsFromField->edit()->text();
}
QString MainWindow::HitsToText() const {
    return HitsToField->edit()->text();
}

void MainWindow::enterInField(bool rangeField) {
    if (button1->isEnabled())
        button1Click();
    else if (rangeField)
        RefreshRangeInfo();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Enter on a focused button presses it; elsewhere it runs "Oblicz" while that is enabled.
    if (PressFocusedButtonOnEnter(this, event))
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (button1->isEnabled()) {
            button1Click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == BitBtn1 &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter || event->type() == QEvent::HoverMove))
        RefreshBitBtn1Hint();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::RefreshBitBtn1Hint() {
    if (NumberSet.Count <= 0)
        return; // an empty set leaves the hint as it was
    QString hint = QStringLiteral(" ");
    for (int n = 1; n <= 80; ++n)
        if (NumberSet.Member[n])
            hint += QString::fromStdString(ZeroPad(n, 2)) + QLatin1Char(' ');
    BitBtn1->setToolTip(hint);
}

void MainWindow::showDialog(QWidget* w) {
    if (w == nullptr)
        return;
    if (auto* d = qobject_cast<QDialog*>(w))
        d->exec();
    else
        w->show();
}

namespace {

// Drives the gauge from the search: the total once, then every step.
class GaugeProgress final : public SearchProgress {
public:
    explicit GaugeProgress(ProgressGauge* gauge) : gauge_(gauge) {}
    void total(std::int32_t n) override {
        gauge_->SetProgress(0);
        gauge_->SetMaxValue(n);
    }
    void step(std::int32_t i) override { gauge_->SetProgress(i); }

private:
    ProgressGauge* gauge_;
};

} // namespace

void MainWindow::button1Click() {
    // Reading the four fields makes typed text take effect.
    RangeFromField->value();
    RangeToField->value();
    HitsFromField->value();
    HitsToField->value();
    RefreshRangeInfo();
    resultModel_->clear();
    FoundCount = 0;
    // Every search makes the ZENTAG table stale (the draws may have changed since, even with the
    // same parameters), and the table opens again only after a search that finds something.
    ZentagTableValid = false;
    rozklad2->setEnabled(false);

    const std::int32_t from = RangeFrom(), to = RangeTo(), low = HitsFrom(), high = HitsTo();
    const std::int32_t count = DrawCount;
    switch (ValidateSearch(from, to, low, high)) {
    case SearchRefusal::Range:
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(RangeRefusalText), Dialogs::Icon::Error);
        return;
    case SearchRefusal::Hits:
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(HitsRefusalText), Dialogs::Icon::Error);
        return;
    case SearchRefusal::None:
        break;
    }
    if (count <= 0 || NumberSet.Count <= 0) {
        // Nothing to search: no database, or no set confirmed.
        Dialogs::Message(this, QStringLiteral("Błąd!"), Q(RangeRefusalText), Dialogs::Icon::Error);
        return;
    }

    GaugeProgress progress(Gauge1);
    SearchResult result = SetHitSearch(AllDraws(), AllDrawMasks(), NumberSet, from, to, low, high, FoundDraws, FoundCount, &progress);

    const SearchStatistics stats = SearchStatisticsTexts(result, NumberSet.Count, AllDraws(), decimalSeparator_);
    Label6->setText(QString::fromStdString(stats.total));
    if (result.rows.empty()) {
        Dialogs::Message(this, Q(NothingFoundTitle), Q(NothingFoundText), Dialogs::Icon::None);
        return;
    }
    Label8->setText(QString::fromStdString(stats.average));
    Label13->setText(QString::fromStdString(stats.currentGap));
    Label15->setText(QString::fromStdString(stats.maxSeries));
    SetValueLook(Label15, true, QString::fromStdString(stats.maxSeriesHint));
    Label12->setText(QString::fromStdString(stats.maxGap));
    SetValueLook(Label12, stats.maxGapIsLink, QString::fromStdString(stats.maxGapHint));

    resultModel_->setRows(std::move(result.rows));
    dyskietka->setEnabled(true);
    // The map and the ZENTAG table open only once their windows exist.
    rozklad->setEnabled(mapWindow_ != nullptr);
    rozklad2->setEnabled(zentagWindow_ != nullptr);

    const int last = resultModel_->rowCount() - 1;
    StringGrid1->selectRow(last);
    StringGrid1->scrollToBottom();
    StringGrid1Click();
}

void MainWindow::rozkladClick() {
    auto* map = qobject_cast<CalendarWindow*>(mapWindow_);
    if (map == nullptr)
        return;
    const std::int32_t last = RangeTo();
    if (last >= 1 && last <= DrawCount)
        map->SetYear(DrawTable[last].Year);
    map->setWindowTitle(Q(MapCaption(NumberSet)));
    showDialog(map);
}

void MainWindow::StringGrid1Click() {
    const QModelIndex current = StringGrid1->selectionModel()->currentIndex();
    if (!current.isValid())
        return;
    const QString ordinalText = resultModel_->cellText(current.row(), 1).trimmed();
    if (ordinalText.isEmpty())
        return;
    bool ok = false;
    const std::int32_t q = ordinalText.toInt(&ok);
    if (!ok || q < 1 || q > DrawCount)
        return;
    highlightActive_ = true;
    stripModel_->setNumbers(DrawTable[q].Numbers);
    stripModel_->setHighlight(true, &NumberSet.Member);
}

void MainWindow::dyskietkaClick() {
    button1->setFocus();
    const QString path = RunSaveDialog1(this);
    if (path.isEmpty())
        return;

    AnalysisReportInput in;
    in.rangeFrom = RangeFrom();
    in.rangeTo = RangeTo();
    in.rangeFromDate = DrawDateText(AllDraws(), in.rangeFrom);
    in.rangeToDate = DrawDateText(AllDraws(), in.rangeTo);
    in.hitsFromText = HitsFromText().toStdString();
    in.hitsToText = HitsToText().toStdString();
    in.setNumbers = SetNumbersOf(NumberSet);
    in.rows = resultModel_->rows();
    in.statistics.total = Label6->text().toStdString();
    in.statistics.average = Label8->text().toStdString();
    in.statistics.maxGap = Label12->text().toStdString();
    in.statistics.currentGap = Label13->text().toStdString();
    in.statistics.maxSeries = Label15->text().toStdString();
    if (WriteReport(this, path, AnalysisReportBytes(in)))
        ShowReportSaved(this, path);
}

void MainWindow::rozklad2Click() {
    if (zentagWindow_ == nullptr)
        return;
    if (!ZentagTableValid) {
        zentagWindow_->ClearFilter();
        zentagWindow_->ComputeZentagTable(Gauge1);
    }
    ZentagTableValid = true;
    zentagWindow_->exec();
}

void MainWindow::UpDown5Click(int direction) {
    const std::int32_t offset = ZentagOffset + direction;
    if (offset < ZentagOffsetMin || offset > ZentagOffsetMax)
        return;
    ZentagOffset = offset;
    rozklad2->setText(QString::fromStdString(ZentagCaption(offset)));
    ZentagTableValid = false;
}

} // namespace zg
