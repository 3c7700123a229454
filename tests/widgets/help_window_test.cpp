// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: F1 in a window opens the manual at that window's section, over that window
// (also a modal one), the manual comes with every picture it shows, and a link moves to its section.
#include "app/HelpKey.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "sets/SetEditor.h"
#include "support/WidgetSupport.h"
#include "ui/AboutWindow.h"
#include "ui/HelpWindow.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFragment>

using namespace zg;
using namespace zg::test;

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void f1OpensTheSectionOfTheWindow_data() {
        QTest::addColumn<bool>("editor");
        QTest::addColumn<QString>("heading");
        QTest::newRow("main window") << false << QStringLiteral("Okno główne");
        QTest::newRow("set editor, modal") << true << QStringLiteral("Zestaw liczb i pliki zestawów");
    }
    void f1OpensTheSectionOfTheWindow() {
        QFETCH(bool, editor);
        QFETCH(QString, heading);
        ProgramFolder folder;
        ProgramWindows windows = CreateProgramWindows();
        windows.main->show();
        QWidget* window = editor ? static_cast<QWidget*>(windows.setEditor.get()) : windows.main.get();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_F1);
        HelpWindow* help = windows.help.get();
        QVERIFY(QTest::qWaitForWindowActive(help)); // takes input, over a modal window too
        QCOMPARE(help->parentWidget(), window);
        QCOMPARE(help->windowTitle(), QStringLiteral(" Pomoc – ZENTAGRAFO"));
        // The heading stands at the top of the text, under the cursor.
        QCOMPARE(help->textView()->cursorForPosition(QPoint(2, 2)).block().text(), heading);
        QCOMPARE(help->textView()->textCursor().block().text(), heading);
        // The window it was shown over closes: it goes back to the main window, still open.
        window->hide();
        QCOMPARE(help->parentWidget(), windows.main.get());
        QVERIFY(help->isVisible());
        QTest::keyClick(help->textView(), Qt::Key_Escape);
        QVERIFY(!help->isVisible());
    }

    void aboutHelpOpensTheStart() {
        ProgramFolder folder;
        ProgramWindows windows = CreateProgramWindows();
        windows.about->show();
        Click(windows.about.get(), "helpButton");
        QVERIFY(windows.help->isVisible());
        QCOMPARE(windows.help->parentWidget(), windows.about.get());
        QCOMPARE(windows.help->sectionShown(), QString());
    }

    void manualComesWithItsPicturesAndLinks() {
        HelpWindow help;
        QTextDocument* document = help.textView()->document();
        int pictures = 0;
        for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (const QTextCharFormat f = it.fragment().charFormat(); f.isImageFormat()) {
                    const QString name = f.toImageFormat().name();
                    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(name));
                    const QImage picture =
                        data.canConvert<QImage>() ? data.value<QImage>() : QImage::fromData(data.toByteArray());
                    QVERIFY2(!picture.isNull(), qPrintable(name));
                    ++pictures;
                } else if (f.isAnchor()) { // every link leads to a section
                    QVERIFY2(help.followLink(QUrl(f.anchorHref())), qPrintable(f.anchorHref()));
                }
        QVERIFY(pictures >= 12);
        QCOMPARE(help.sections().size(), 13);
        QCOMPARE(help.sections().last(), QStringLiteral("Co mówią liczby, a czego nie"));
        for (const WindowHelpSection& s : WindowHelpSections())
            QVERIFY2(help.sections().contains(QString::fromUtf8(s.heading)), s.heading);
    }

    void linkMovesToItsSectionAndBack() {
        HelpWindow help;
        help.showOver(nullptr, QString());
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QTextBrowser* text = help.textView();
        // The start's link to the last section, clicked.
        const QTextCursor link = text->document()->find(QStringLiteral("Co mówią liczby, a czego nie"));
        QVERIFY(link.charFormat().isAnchor());
        QTextCursor at(text->document());
        at.setPosition(link.selectionStart() + 2);
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(at).center());
        QCOMPARE(help.sectionShown(), QStringLiteral("Co mówią liczby, a czego nie"));
        QTest::keyClick(text, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(help.sectionShown(), QString());
        QCOMPARE(text->verticalScrollBar()->value(), 0); // the very top
        // Ctrl+F, a word, Enter: the word is found.
        QTest::keyClick(text, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("iconv"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("iconv"));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
