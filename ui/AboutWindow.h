// SPDX-License-Identifier: GPL-3.0-or-later
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

    QLabel* headingLabel = nullptr;
    QLabel* creditLabel = nullptr;
    QLabel* contactLabel = nullptr; // "Kontakt ze mną: "
    LinkLabel* webLink = nullptr;
    LinkLabel* mailLink = nullptr;
    LinkLabel* phoneLink = nullptr; // phone, opens the operator's page
    QLabel* portraitImage = nullptr;
    QLabel* lotteryImage = nullptr;
    QPushButton* helpButton = nullptr; // "Pomoc": the manual, from its start
    QPushButton* closeButton = nullptr;

signals:
    // "Pomoc": the owner opens the manual at its start.
    void helpRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openWebPage();
    void writeMail();
    void callPhone();
};

} // namespace zg
