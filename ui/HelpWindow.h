// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help window " Pomoc – ZENTAGRAFO": the player's manual (docs/podrecznik.md, built into the
// program with the pictures it shows) rendered from its Markdown, with the list of its sections,
// a find field, back and forward. Not modal, resizable; Esc closes it.
//
// Qt's Markdown reader gives headings no anchor names, so a section is found by its heading block:
// a level-2 heading whose text is the section's name. Links between sections ("#kopie-bazy-…")
// name a heading as GitHub does (HeadingLinkName), so that the same manual reads alike there.
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBlock;
class QTextBrowser;

namespace zg {

// The link name GitHub gives a heading: lower case, letters, digits, "-" and "_" kept, each blank
// made "-", anything else left out ("Co mówią liczby, a czego nie" → "co-mówią-liczby-a-czego-nie").
QString HeadingLinkName(const QString& heading);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `home` owns the window; it returns there whenever a window it was shown over hides.
    explicit HelpWindow(QWidget* home = nullptr);
    ~HelpWindow() override;

    // Shows the window over `owner` (its parent while it shows there, so that it takes input while
    // `owner` is modal), raised and active, at the section whose heading is `heading`; an empty or
    // unknown heading shows the manual's start. Null `owner`: over the home window.
    void showOver(QWidget* owner, const QString& heading);

    // Moves to the section whose heading is `heading` (the place left is kept for "Wstecz").
    // Returns false, moving nowhere, when the manual has no such section.
    bool showSection(const QString& heading);
    // Moves to the manual's start.
    void showStart();

    // The headings of the manual's sections, in order: the table of contents.
    QStringList sections();
    // The heading of the section shown at the top of the text; empty before the first section.
    QString sectionShown() const;

    // Follows a link of the manual: "#name" moves to the heading of that link name.
    bool followLink(const QUrl& link);

    // One step back or forward through the places visited.
    void goBack();
    void goForward();

    // The find field shown with its text, and the next (or previous) place holding it, from the
    // cursor on and round the end; false when the manual does not hold it.
    bool findNext(bool backwards = false);

    // The text, the manual in it.
    QTextBrowser* textView();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadManual();
    // Fits the pictures and the room after the end to a text of size `viewport`.
    void fitToView(const QSize& viewport);
    // Shows every picture at most `width` pixels wide.
    void fitPictures(int width);
    QTextBlock sectionBlock(const QString& heading) const;
    // The document position at the top of the text.
    int positionShown() const;
    // Shows the document position `position` at the top of the text, its block under the cursor.
    void scrollToPosition(int position);
    // Moves to `position`, keeping the place left for "Wstecz".
    void moveTo(int position);
    void showFindBar();
    void hideFindBar();
    void refreshHistoryButtons();
    void markSectionShown();
    void returnHome();

    QPointer<QWidget> home_;
    QPointer<QWidget> owner_;
    QStringList sections_;
    std::vector<std::pair<int, QSize>> pictures_; // each picture's place in the text and its size
    bool loaded_ = false;
    bool placed_ = false; // shown once: its place and size are the user's
    std::vector<int> back_;
    std::vector<int> forward_;

    QListWidget* contentsList = nullptr;
    QTextBrowser* textView_ = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* forwardButton = nullptr;
    QWidget* findBar = nullptr;
    QLineEdit* findField = nullptr;
    QPushButton* findNextButton = nullptr;
    QLabel* findStatus = nullptr;
    QPushButton* closeButton = nullptr;
};

} // namespace zg
