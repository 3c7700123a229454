#pragma once
// The About window: product name and version, two pictures and three contact links. It reads
// and changes no data.
#include <QDialog>
#include <QLabel>
#include <QUrl>

#include <functional>

class QPushButton;

namespace zg {

// A label that acts as a link: hand cursor, bold underlined text, reachable with Tab, activated
// by a mouse click or by Enter/Space when it has the focus.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);

signals:
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // Opens a URL through the desktop's shell (QDesktopServices). Tests replace it to see the
    // URL instead of starting a browser or mail program.
    static std::function<void(const QUrl&)> UrlOpener;

    static const QString WebAddress;      // the maker's web address, without scheme
    static const QString MailAddress;     // the maker's e-mail address
    static const QString PhoneNumber;     // the maker's phone number, after "tel. (+48) "
    static const QString OperatorAddress; // web page of the phone number's mobile operator

    QLabel* Label1 = nullptr;      // heading
    QLabel* Label5 = nullptr;      // credit line
    QLabel* Label4 = nullptr;      // "Kontakt ze mną: "
    LinkLabel* Label10 = nullptr; // web page
    LinkLabel* Label11 = nullptr; // e-mail
    LinkLabel* Label12 = nullptr; // phone, opens the operator's page
    QLabel* Image1 = nullptr;
    QLabel* Image3 = nullptr;
    QPushButton* button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Label10Click();
    void Label11Click();
    void Label12Click();
};

} // namespace zg
