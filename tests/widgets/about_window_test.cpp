// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: caption, texts and look, the pictures, the three links (mouse and keyboard)
// and closing.
#include "ui/AboutWindow.h"

#include <QImageReader>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

using zg::AboutWindow;

class AboutWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AboutWindow> about_;
    QStringList opened_;

private slots:
    void init() {
        opened_.clear();
        AboutWindow::UrlOpener = [this](const QUrl& url) { opened_.append(url.toString()); };
        about_ = std::make_unique<AboutWindow>();
        about_->show();
        QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    }
    void cleanup() { about_.reset(); }

    void windowAndTexts() {
        QCOMPARE(about_->windowTitle(), QStringLiteral(" ZENTAGRAFO v. 1.5 ML"));
        QCOMPARE(about_->size(), QSize(617, 281));
        QCOMPARE(about_->minimumSize(), QSize(617, 281));
        QCOMPARE(about_->maximumSize(), QSize(617, 281));
        const Qt::WindowFlags flags = about_->windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
        const QRect desktop = about_->screen()->availableGeometry();
        QVERIFY((about_->frameGeometry().center() - desktop.center()).manhattanLength() <= 2);

        QCOMPARE(about_->headingLabel->text(), QStringLiteral("ZENTAGRAFO v. 1.6"));
        QCOMPARE(about_->headingLabel->font().pixelSize(), 24);
        QVERIFY(about_->headingLabel->font().bold());
        QCOMPARE(about_->headingLabel->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(!about_->creditLabel->text().isEmpty());
        QVERIFY(about_->creditLabel->font().bold());
        QCOMPARE(about_->contactLabel->text(), QStringLiteral("Kontakt ze mną: "));
        QCOMPARE(about_->contactLabel->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(about_->webLink->text(), AboutWindow::WebAddress);
        QCOMPARE(about_->mailLink->text(), AboutWindow::MailAddress);
        QCOMPARE(about_->phoneLink->text(), QStringLiteral("tel. (+48) ") + AboutWindow::PhoneNumber);
        for (QLabel* link : {about_->webLink, about_->mailLink, about_->phoneLink}) {
            QVERIFY(link->font().bold());
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(link->focusPolicy(), Qt::StrongFocus);
            QVERIFY(!link->accessibleName().isEmpty());
        }
        QCOMPARE(about_->closeButton->text(), QStringLiteral("Zamknij"));
        QVERIFY(!about_->closeButton->icon().isNull());
        QCOMPARE(about_->closeButton->cursor().shape(), Qt::PointingHandCursor);

        // Every control lies within the client area and no two overlap.
        const QList<QWidget*> controls = {
            about_->headingLabel, about_->creditLabel,   about_->contactLabel, about_->webLink,    about_->mailLink,
            about_->phoneLink,    about_->portraitImage, about_->lotteryImage, about_->helpButton, about_->closeButton};
        for (int i = 0; i < controls.size(); ++i) {
            const QRect r(controls[i]->mapTo(about_.get(), QPoint(0, 0)), controls[i]->size());
            QVERIFY2(QRect(5, 5, 607, 271).contains(r), qPrintable(controls[i]->objectName()));
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + QLatin1Char('/') + controls[j]->objectName()));
        }
    }

    void picturesAreJpegs() {
        QCOMPARE(QImageReader(QStringLiteral(":/pictures/about1.jpg")).format(), QByteArray("jpeg"));
        QCOMPARE(QImageReader(QStringLiteral(":/pictures/about3.jpg")).format(), QByteArray("jpeg"));
        QVERIFY(!about_->portraitImage->pixmap().isNull());
        QCOMPARE(about_->portraitImage->pixmap().size(), QSize(153, 169));
        QCOMPARE(about_->portraitImage->size(), QSize(153, 169));
        QCOMPARE(about_->portraitImage->pos(), QPoint(8, 8));
        QVERIFY(!about_->lotteryImage->pixmap().isNull());
        QCOMPARE(about_->lotteryImage->pixmap().size(), QSize(180, 153));
        // The second picture stands at the right edge, beside the text column.
        QVERIFY(about_->lotteryImage->geometry().right() >= 600);
        QVERIFY(about_->lotteryImage->x() > about_->mailLink->geometry().right());
    }

    void linksOpenTheirUrls() {
        QTest::mouseClick(about_->webLink, Qt::LeftButton);
        QTest::mouseClick(about_->mailLink, Qt::LeftButton);
        QTest::mouseClick(about_->phoneLink, Qt::LeftButton);
        QCOMPARE(opened_, QStringList({QStringLiteral("http://www.zentagrafo.example.com"),
                                       QStringLiteral("mailto:autor@zentagrafo.example.com?subject=ZENTAGRAFO"),
                                       QStringLiteral("http://www.operator.example.org")}));

        // A press that is released off the link opens nothing.
        opened_.clear();
        QTest::mousePress(about_->webLink, Qt::LeftButton);
        QTest::mouseRelease(about_->webLink, Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(opened_.isEmpty());

        // From the keyboard: Space and Enter on the focused link.
        about_->activateWindow();
        about_->mailLink->setFocus();
        QTest::keyClick(about_->mailLink, Qt::Key_Space);
        about_->phoneLink->setFocus();
        QTest::keyClick(about_->phoneLink, Qt::Key_Return);
        QCOMPARE(opened_, QStringList({QStringLiteral("mailto:autor@zentagrafo.example.com?subject=ZENTAGRAFO"),
                                       QStringLiteral("http://www.operator.example.org")}));
    }

    void closeButtonCloses() {
        QVERIFY(about_->isVisible());
        QTest::mouseClick(about_->closeButton, Qt::LeftButton);
        QVERIFY(!about_->isVisible());
        QVERIFY(opened_.isEmpty());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
