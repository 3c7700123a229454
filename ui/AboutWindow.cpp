// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutWindow.h"

#include "base/Version.h"
#include "ui/ProgramLook.h"
#include "ui/QtText.h"
#include "ui/WindowParts.h"

#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>

// The pictures live in a resource of a static library; nothing else refers to its object
// file, so the resource is registered explicitly (outside any namespace, as Qt requires).
static void InitAboutResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(about);
        return true;
    }();
    (void)registered;
}

namespace zg {

namespace {

const QColor LinkBlue(0, 0, 255);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QString& resource, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setPixmap(QPixmap(resource));
    return label;
}

} // namespace

// ---- LinkLabel ----

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    setFont(f);
    SetTextColour(this, LinkBlue);
    setAccessibleName(text);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Like a button: the link acts when the press and the release both land on it.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit activated();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit activated();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Keyboard users see which link Enter would open.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

// ---- AboutWindow ----

std::function<void(const QUrl&)> AboutWindow::UrlOpener = [](const QUrl& url) { QDesktopServices::openUrl(url); };

const QString AboutWindow::WebAddress = QStringLiteral("www.zentagrafo.example.com");
const QString AboutWindow::MailAddress = QStringLiteral("autor@zentagrafo.example.com");
const QString AboutWindow::PhoneNumber = QStringLiteral("000 000 000");
const QString AboutWindow::OperatorAddress = QStringLiteral("www.operator.example.org");

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    InitAboutResources();
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral(" ZENTAGRAFO v. 1.5 ML"));
    setFixedSize(617, 281);
    setModal(true);

    QFrame* panel = MakePanel(this, rect(), Silver, Qt::black);

    portraitImage = MakePicture(panel, "portraitImage", QStringLiteral(":/pictures/about1.jpg"), QRect(8, 8, 153, 169));
    lotteryImage =
        MakePicture(panel, "lotteryImage", QStringLiteral(":/pictures/about3.jpg"), QRect(429, 62, 180, 153));

    // The heading spans the room right of the left picture, above the right one.
    headingLabel =
        MakeLabel(panel, "headingLabel", QStringLiteral("ZENTAGRAFO v. ") + Q(ProgramVersion), QRect(172, 14, 437, 36));
    QFont heading = headingLabel->font();
    heading.setBold(true);
    heading.setPixelSize(24);
    headingLabel->setFont(heading);
    headingLabel->setAlignment(Qt::AlignCenter);
    SetTextColour(headingLabel, Navy);

    creditLabel = MakeLabel(panel, "creditLabel", QStringLiteral("Program do analizy wyników losowań Multi Lotka"),
                            QRect(172, 66, 245, 36));
    QFont credit = creditLabel->font();
    credit.setBold(true);
    credit.setPointSize(8);
    creditLabel->setFont(credit);
    creditLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    creditLabel->setWordWrap(true);

    contactLabel = MakeLabel(panel, "contactLabel", QStringLiteral("Kontakt ze mną: "), QRect(172, 130, 245, 18));
    QFont contact = contactLabel->font();
    contact.setBold(true);
    contact.setPointSize(10);
    contactLabel->setFont(contact);
    SetTextColour(contactLabel, Navy);

    webLink = new LinkLabel(WebAddress, panel);
    webLink->setObjectName(QStringLiteral("webLink"));
    webLink->setAccessibleDescription(QStringLiteral("Otwiera stronę internetową autora"));
    mailLink = new LinkLabel(MailAddress, panel);
    mailLink->setObjectName(QStringLiteral("mailLink"));
    mailLink->setAccessibleDescription(QStringLiteral("Otwiera nową wiadomość e-mail do autora"));
    phoneLink = new LinkLabel(QStringLiteral("tel. (+48) ") + PhoneNumber, panel);
    phoneLink->setObjectName(QStringLiteral("phoneLink"));
    phoneLink->setAccessibleDescription(QStringLiteral("Otwiera stronę operatora sieci komórkowej"));
    int y = 154;
    for (LinkLabel* link : {webLink, mailLink, phoneLink}) {
        link->adjustSize();
        link->move(172, y);
        y += 24;
    }

    // "Pomoc" left of "Zamknij", under the right picture, where the links leave room.
    helpButton = new QPushButton(style()->standardIcon(QStyle::SP_MessageBoxQuestion), QStringLiteral("Pomoc"), panel);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setGeometry(392, 234, 105, 33);
    helpButton->setCursor(Qt::PointingHandCursor);
    helpButton->setAutoDefault(false);
    closeButton = MakeCloseButton(panel, QRect(504, 234, 105, 33));
    QFont buttonFont = closeButton->font();
    buttonFont.setBold(true);
    closeButton->setFont(buttonFont);
    helpButton->setFont(buttonFont);

    connect(webLink, &LinkLabel::activated, this, &AboutWindow::openWebPage);
    connect(mailLink, &LinkLabel::activated, this, &AboutWindow::writeMail);
    connect(phoneLink, &LinkLabel::activated, this, &AboutWindow::callPhone);
    connect(helpButton, &QPushButton::clicked, this, &AboutWindow::helpRequested);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

void AboutWindow::showEvent(QShowEvent* event) {
    // Centred on the desktop, whichever window opened it.
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void AboutWindow::openWebPage() {
    UrlOpener(QUrl(QStringLiteral("http://") + WebAddress));
}

void AboutWindow::writeMail() {
    UrlOpener(QUrl(QStringLiteral("mailto:") + MailAddress + QStringLiteral("?subject=ZENTAGRAFO")));
}

void AboutWindow::callPhone() {
    UrlOpener(QUrl(QStringLiteral("http://") + OperatorAddress));
}

} // namespace zg
