#include "ui/AboutWindow.h"

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

const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);
const QColor LinkBlue(0, 0, 255);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
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
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral(" ZENTAGRAFO v. 1.5 ML"));
    setFixedSize(617, 281);
    setModal(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(rect());
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(5);
    panel->setAutoFillBackground(true);
    QPalette panelPalette = panel->palette();
    panelPalette.setColor(QPalette::Window, Silver);
    panelPalette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(panelPalette);

    Image1 = MakePicture(panel, "Image1", QStringLiteral(":/pictures/about1.jpg"), QRect(8, 8, 153, 169));
    Image3 = MakePicture(panel, "Image3", QStringLiteral(":/pictures/about3.jpg"), QRect(429, 62, 180, 153));

    // The heading spans the room right of the left picture, above the right one.
    Label1 = MakeLabel(panel, "Label1", QStringLiteral("ZENTAGRAFO v. 1.6"), QRect(172, 14, 437, 36));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPixelSize(24);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignCenter);
    SetTextColour(Label1, Navy);

    Label5 = MakeLabel(panel, "Label5", QStringLiteral("Program do analizy wyników losowań Multi Lotka"),
                       QRect(172, 66, 245, 36));
    QFont credit = Label5->font();
    credit.setBold(true);
    credit.setPointSize(8);
    Label5->setFont(credit);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5->setWordWrap(true);

    Label4 = MakeLabel(panel, "Label4", QStringLiteral("Kontakt ze mną: "), QRect(172, 130, 245, 18));
    QFont contact = Label4->font();
    contact.setBold(true);
    contact.setPointSize(10);
    Label4->setFont(contact);
    SetTextColour(Label4, Navy);

    Label10 = new LinkLabel(WebAddress, panel);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setAccessibleDescription(QStringLiteral("Otwiera stronę internetową autora"));
    Label11 = new LinkLabel(MailAddress, panel);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setAccessibleDescription(QStringLiteral("Otwiera nową wiadomość e-mail do autora"));
    Label12 = new LinkLabel(QStringLiteral("tel. (+48) ") + PhoneNumber, panel);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setAccessibleDescription(QStringLiteral("Otwiera stronę operatora sieci komórkowej"));
    int y = 154;
    for (LinkLabel* link : {Label10, Label11, Label12}) {
        link->adjustSize();
        link->move(172, y);
        y += 24;
    }

    button1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Zamknij"), panel);
    button1->setObjectName(QStringLiteral("button1"));
    button1->setGeometry(504, 234, 105, 33);
    QFont buttonFont = button1->font();
    buttonFont.setBold(true);
    button1->setFont(buttonFont);
    button1->setCursor(Qt::PointingHandCursor);

    connect(Label10, &LinkLabel::activated, this, &AboutWindow::Label10Click);
    connect(Label11, &LinkLabel::activated, this, &AboutWindow::Label11Click);
    connect(Label12, &LinkLabel::activated, this, &AboutWindow::Label12Click);
    connect(button1, &QPushButton::clicked, this, &QDialog::close);
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

void AboutWindow::Label10Click() {
    UrlOpener(QUrl(QStringLiteral("http://") + WebAddress));
}

void AboutWindow::Label11Click() {
    UrlOpener(QUrl(QStringLiteral("mailto:") + MailAddress + QStringLiteral("?subject=ZENTAGRAFO")));
}

void AboutWindow::Label12Click() {
    UrlOpener(QUrl(QStringLiteral("http://") + OperatorAddress));
}

} // namespace zg
