// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QVBoxLayout>

#include <algorithm>

// The manual lives in a resource of a static library; nothing else refers to its object file,
// so the resource is registered explicitly (outside any namespace, as Qt requires).
static void InitHelpResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace zg {

namespace {

// Where the manual and its pictures are built in.
const QString ManualFolder = QStringLiteral(":/podrecznik");
const QString ManualFile = QStringLiteral(":/podrecznik/podrecznik.md");
// The width of the window's text at its first showing: the pictures of the windows at their size.
constexpr int TextWidth = 800;
// The table of contents at least this wide, wider when its headings need it.
constexpr int ContentsWidth = 280;

bool IsSectionHeading(const QTextBlock& block) {
    return block.blockFormat().headingLevel() == 2;
}

} // namespace

QString HeadingLinkName(const QString& heading) {
    QString name;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            name += c;
        else if (c == QLatin1Char(' '))
            name += QLatin1Char('-');
    }
    return name;
}

HelpWindow::HelpWindow(QWidget* home) : QWidget(home, Qt::Window), home_(home) {
    InitHelpResources();
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral(" Pomoc – ZENTAGRAFO"));

    backButton = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Wstecz"), this);
    backButton->setObjectName(QStringLiteral("backButton"));
    backButton->setToolTip(QStringLiteral("Wstecz (Alt+Strzałka w lewo)"));
    forwardButton = new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Dalej"), this);
    forwardButton->setObjectName(QStringLiteral("forwardButton"));
    forwardButton->setToolTip(QStringLiteral("Dalej (Alt+Strzałka w prawo)"));
    auto* findButton = new QPushButton(QStringLiteral("Znajdź…"), this);
    findButton->setObjectName(QStringLiteral("findButton"));
    findButton->setToolTip(QStringLiteral("Znajdź w podręczniku (Ctrl+F)"));

    auto* contentsCaption = new QLabel(QStringLiteral("Spis treści"), this);
    contentsList = new QListWidget(this);
    contentsList->setObjectName(QStringLiteral("contentsList"));
    contentsList->setAccessibleName(contentsCaption->text());
    contentsCaption->setBuddy(contentsList);

    textView_ = new QTextBrowser(this);
    textView_->setObjectName(QStringLiteral("helpText"));
    textView_->setAccessibleName(QStringLiteral("Podręcznik"));
    // Links are followed here, by heading; nothing opens a browser.
    textView_->setOpenLinks(false);
    textView_->setOpenExternalLinks(false);
    textView_->setSearchPaths({ManualFolder});
    // Always there, so that the width of the text, and with it the pictures', stays put.
    textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textView_->viewport()->installEventFilter(this);

    findBar = new QWidget(this);
    findBar->setObjectName(QStringLiteral("findBar"));
    auto* findCaption = new QLabel(QStringLiteral("Znajdź:"), findBar);
    findField = new QLineEdit(findBar);
    findField->setObjectName(QStringLiteral("findField"));
    findField->setAccessibleName(QStringLiteral("Znajdź"));
    findCaption->setBuddy(findField);
    findNextButton = new QPushButton(QStringLiteral("Następne"), findBar);
    findNextButton->setObjectName(QStringLiteral("findNextButton"));
    findNextButton->setToolTip(QStringLiteral("Następne miejsce (Enter, F3; poprzednie: Shift+F3)"));
    findStatus = new QLabel(findBar);
    findStatus->setObjectName(QStringLiteral("findStatus"));
    auto* findLayout = new QHBoxLayout(findBar);
    findLayout->setContentsMargins(0, 0, 0, 0);
    findLayout->addWidget(findCaption);
    findLayout->addWidget(findField, 1);
    findLayout->addWidget(findNextButton);
    findLayout->addWidget(findStatus);
    findBar->hide();

    closeButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(backButton);
    top->addWidget(forwardButton);
    top->addStretch(1);
    top->addWidget(findButton);
    auto* contents = new QVBoxLayout;
    contents->addWidget(contentsCaption);
    contents->addWidget(contentsList, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(contents);
    middle->addWidget(textView_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(findBar, 1);
    bottom->addStretch(0);
    bottom->addWidget(closeButton, 0, Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(backButton, &QPushButton::clicked, this, &HelpWindow::goBack);
    connect(forwardButton, &QPushButton::clicked, this, &HelpWindow::goForward);
    connect(findButton, &QPushButton::clicked, this, &HelpWindow::showFindBar);
    connect(findNextButton, &QPushButton::clicked, this, [this] { findNext(); });
    connect(findField, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(textView_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    const auto openItem = [this](QListWidgetItem* item) { showSection(item->text()); };
    connect(contentsList, &QListWidget::itemClicked, this, openItem);
    connect(contentsList, &QListWidget::itemActivated, this, openItem);
    connect(textView_->verticalScrollBar(), &QScrollBar::valueChanged, this, &HelpWindow::markSectionShown);

    const auto shortcut = [this](const QKeySequence& keys, auto&& action) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence::Find, [this] { showFindBar(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { findNext(); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findNext(true); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { goBack(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { goForward(); });

    // A size that shows a picture beside the contents, within the screen.
    QSize size(ContentsWidth + TextWidth, 720);
    if (const QScreen* screen = home != nullptr ? home->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    refreshHistoryButtons();
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::loadManual() {
    // Read once, when first needed: the start of the program does not wait for the pictures.
    if (loaded_)
        return;
    loaded_ = true;
    QFile file(ManualFile);
    if (file.open(QIODevice::ReadOnly))
        textView_->document()->setMarkdown(QString::fromUtf8(file.readAll()), QTextDocument::MarkdownDialectGitHub);
    QTextDocument* document = textView_->document();
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        if (IsSectionHeading(b))
            sections_ << b.text().trimmed();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            const QVariant data =
                document->resource(QTextDocument::ImageResource, QUrl(fragment.charFormat().toImageFormat().name()));
            const QImage image =
                data.canConvert<QImage>() ? data.value<QImage>() : QImage::fromData(data.toByteArray());
            if (!image.isNull())
                pictures_.emplace_back(fragment.position(), image.size());
        }
    }
    contentsList->addItems(sections_);
    contentsList->setFixedWidth(std::max(ContentsWidth, contentsList->sizeHintForColumn(0) +
                                                            2 * contentsList->frameWidth() +
                                                            contentsList->verticalScrollBar()->sizeHint().width() + 8));
    fitToView(textView_->viewport()->size());
}

void HelpWindow::fitPictures(int width) {
    width = std::max(width, 100);
    QTextDocument* document = textView_->document();
    for (const auto& [position, size] : pictures_) {
        QTextCursor c(document);
        c.setPosition(position);
        c.setPosition(position + 1, QTextCursor::KeepAnchor);
        QTextImageFormat picture = c.charFormat().toImageFormat();
        const int shown = std::min(width, size.width());
        if (picture.width() == shown)
            continue;
        picture.setWidth(shown);
        picture.setHeight(static_cast<double>(size.height()) * shown / size.width());
        c.setCharFormat(picture);
    }
}

QTextBlock HelpWindow::sectionBlock(const QString& heading) const {
    for (QTextBlock b = textView_->document()->begin(); b.isValid(); b = b.next())
        if (IsSectionHeading(b) && b.text().trimmed() == heading)
            return b;
    return {};
}

void HelpWindow::showOver(QWidget* owner, const QString& heading) {
    loadManual();
    QWidget* target = owner != nullptr ? owner->window() : home_.data();
    if (target == this)
        target = home_;
    if (target != parentWidget()) {
        const QRect placed = geometry();
        if (owner_ != nullptr)
            owner_->removeEventFilter(this);
        setParent(target, windowFlags());
        owner_ = target != home_ ? target : nullptr;
        if (owner_ != nullptr)
            owner_->installEventFilter(this);
        if (placed_)
            setGeometry(placed);
    }
    if (!placed_) {
        // The first showing: in the middle of the screen of the window it is shown over.
        if (const QScreen* screen = target != nullptr ? target->screen() : QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
    // The text takes the keys: the arrows and Page Down read on at once.
    textView_->setFocus();
    if (heading.isEmpty() || !showSection(heading))
        showStart();
}

bool HelpWindow::showSection(const QString& heading) {
    loadManual();
    const QTextBlock block = sectionBlock(heading);
    if (!block.isValid())
        return false;
    moveTo(block.position());
    return true;
}

void HelpWindow::showStart() {
    loadManual();
    moveTo(0);
}

QStringList HelpWindow::sections() {
    loadManual();
    return sections_;
}

QTextBrowser* HelpWindow::textView() {
    loadManual();
    return textView_;
}

QString HelpWindow::sectionShown() const {
    QTextBlock b = textView_->document()->findBlock(positionShown());
    while (b.isValid() && !IsSectionHeading(b))
        b = b.previous();
    return b.isValid() ? b.text().trimmed() : QString();
}

bool HelpWindow::followLink(const QUrl& link) {
    loadManual();
    if (!link.scheme().isEmpty() || !link.path().isEmpty() || !link.hasFragment())
        return false;
    const QString name = link.fragment(QUrl::FullyDecoded);
    for (const QString& heading : std::as_const(sections_))
        if (HeadingLinkName(heading) == name)
            return showSection(heading);
    return false;
}

int HelpWindow::positionShown() const {
    return textView_->cursorForPosition(QPoint(2, 2)).position();
}

void HelpWindow::scrollToPosition(int position) {
    QTextDocument* document = textView_->document();
    QTextCursor cursor(document);
    cursor.setPosition(std::clamp(position, 0, std::max(0, document->characterCount() - 1)));
    textView_->setTextCursor(cursor);
    // The whole document laid out first, so that the scroll bar reaches every place.
    document->documentLayout()->documentSize();
    // The start from the very top, margin and all; any other block at the top edge.
    const QRectF block = document->documentLayout()->blockBoundingRect(cursor.block());
    textView_->verticalScrollBar()->setValue(cursor.block() == document->firstBlock() ? 0
                                                                                      : static_cast<int>(block.top()));
    markSectionShown();
}

void HelpWindow::moveTo(int position) {
    back_.push_back(positionShown());
    forward_.clear();
    scrollToPosition(position);
    refreshHistoryButtons();
}

void HelpWindow::goBack() {
    if (back_.empty())
        return;
    forward_.push_back(positionShown());
    const int position = back_.back();
    back_.pop_back();
    scrollToPosition(position);
    refreshHistoryButtons();
}

void HelpWindow::goForward() {
    if (forward_.empty())
        return;
    back_.push_back(positionShown());
    const int position = forward_.back();
    forward_.pop_back();
    scrollToPosition(position);
    refreshHistoryButtons();
}

void HelpWindow::refreshHistoryButtons() {
    backButton->setEnabled(!back_.empty());
    forwardButton->setEnabled(!forward_.empty());
}

void HelpWindow::markSectionShown() {
    const int row = static_cast<int>(sections_.indexOf(sectionShown()));
    const QSignalBlocker quiet(contentsList);
    contentsList->setCurrentRow(row);
}

void HelpWindow::showFindBar() {
    findBar->show();
    findField->setFocus();
    findField->selectAll();
}

void HelpWindow::hideFindBar() {
    findBar->hide();
    findStatus->clear();
    textView_->setFocus();
}

bool HelpWindow::findNext(bool backwards) {
    if (!findBar->isVisible())
        showFindBar();
    const QString text = findField->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = textView_->find(text, flags);
    if (!found) {
        // Round the end (or the start) of the manual.
        const QTextCursor kept = textView_->textCursor();
        QTextCursor edge(textView_->document());
        edge.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        textView_->setTextCursor(edge);
        found = textView_->find(text, flags);
        if (!found)
            textView_->setTextCursor(kept);
    }
    findStatus->setText(found ? QString() : QStringLiteral("Nie znaleziono."));
    return found;
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Esc in the find field puts the field away; anywhere else it closes the window.
        if (findBar->isVisible() && findField->hasFocus())
            hideFindBar();
        else
            close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::fitToView(const QSize& viewport) {
    // A picture wider than the text is shown as wide as the text, so that nothing needs side
    // scrolling; the place shown stays at the top.
    if (pictures_.empty() || viewport.isEmpty())
        return;
    QTextDocument* document = textView_->document();
    const int top = positionShown();
    const QRectF before = document->documentLayout()->blockBoundingRect(document->findBlock(top));
    const int offset = textView_->verticalScrollBar()->value() - static_cast<int>(before.top());
    fitPictures(viewport.width() - 2 * static_cast<int>(document->documentMargin()) - 2);
    // Room after the end, so that the heading of the last section, too, can stand at the top.
    QTextFrameFormat root = document->rootFrame()->frameFormat();
    if (root.bottomMargin() != viewport.height()) {
        root.setBottomMargin(viewport.height());
        document->rootFrame()->setFrameFormat(root);
    }
    const QRectF after = document->documentLayout()->blockBoundingRect(document->findBlock(top));
    textView_->verticalScrollBar()->setValue(static_cast<int>(after.top()) + offset);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textView_->viewport() && event->type() == QEvent::Resize)
        fitToView(static_cast<QResizeEvent*>(event)->size());
    // The window it was shown over goes (a dialog closes): the window returns to its home, and
    // stays open there if it was open.
    if (watched == owner_ && event->type() == QEvent::Hide && !event->spontaneous())
        returnHome();
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::returnHome() {
    const bool shown = isVisible();
    const QRect placed = geometry();
    if (owner_ != nullptr)
        owner_->removeEventFilter(this);
    owner_ = nullptr;
    setParent(home_, windowFlags());
    setGeometry(placed);
    if (shown)
        show();
}

} // namespace zg
