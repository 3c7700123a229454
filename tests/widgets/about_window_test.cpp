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

        QCOMPARE(about_->Label1->text(), QStringLiteral("ZENTAGRAFO v. 1.6"));
        QCOMPARE(about_->Label1->font().pixelSize(), 24);
        QVERIFY(about_->Label1->font().bold());
        QCOMPARE(about_->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(!about_->Label5->text().isEmpty());
        QVERIFY(about_->Label5->font().bold());
        QCOMPARE(about_->Label4->text(), QStringLiteral("Kontakt ze mną: "));
        QCOMPARE(about_->Label4->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(about_->Label10->text(), AboutWindow::WebAddress);
        QCOMPARE(about_->Label11->text(), AboutWindow::MailAddress);
        QCOMPARE(about_->Label12->text(), QStringLiteral("tel. (+48) ") + AboutWindow::PhoneNumber);
        for (QLabel* link : {about_->Label10, about_->Label11, about_->Label12}) {
            QVERIFY(link->font().bold());
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(link->focusPolicy(), Qt::StrongFocus);
            QVERIFY(!link->accessibleName().isEmpty());
        }
        QCOMPARE(about_->button1->text(), QStringLiteral("Zamknij"));
        QVERIFY(!about_->button1->icon().isNull());
        QCOMPARE(about_->button1->cursor().shape(), Qt::PointingHandCursor);

        // Every control lies within the client area and no two overlap.
        const QList<QWidget*> controls = {about_->Label1,  about_->Label5,  about_->Label4,
                                          about_->Label10, about_->Label11, about_->Label12,
                                          about_->Image1,  about_->Image3,  about_->button1};
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
        QVERIFY(!about_->Image1->pixmap().isNull());
        QCOMPARE(about_->Image1->pixmap().size(), QSize(153, 169));
        QCOMPARE(about_->Image1->size(), QSize(153, 169));
        QCOMPARE(about_->Image1->pos(), QPoint(8, 8));
        QVERIFY(!about_->Image3->pixmap().isNull());
        QCOMPARE(about_->Image3->pixmap().size(), QSize(180, 153));
        // The second picture stands at the right edge, beside the text column.
        QVERIFY(about_->Image3->geometry().right() >= 600);
        QVERIFY(about_->Image3->x() > about_->Label11->geometry().right());
    }

    void linksOpenTheirUrls() {
        QTest::mouseClick(about_->Label10, Qt::LeftButton);
        QTest::mouseClick(about_->Label11, Qt::LeftButton);
        QTest::mouseClick(about_->Label12, Qt::LeftButton);
        QCOMPARE(opened_, QStringList({QStringLiteral("http://www.zentagrafo.example.com"),
                                       QStringLiteral("mailto:autor@zentagrafo.example.com?subject=ZENTAGRAFO"),
                                       QStringLiteral("http://www.operator.example.org")}));

        // A press that is released off the link opens nothing.
        opened_.clear();
        QTest::mousePress(about_->Label10, Qt::LeftButton);
        QTest::mouseRelease(about_->Label10, Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(opened_.isEmpty());

        // From the keyboard: Space and Enter on the focused link.
        about_->activateWindow();
        about_->Label11->setFocus();
        QTest::keyClick(about_->Label11, Qt::Key_Space);
        about_->Label12->setFocus();
        QTest::keyClick(about_->Label12, Qt::Key_Return);
        QCOMPARE(opened_, QStringList({QStringLiteral("mailto:autor@zentagrafo.example.com?subject=ZENTAGRAFO"),
                                       QStringLiteral("http://www.operator.example.org")}));
    }

    void closeButtonCloses() {
        QVERIFY(about_->isVisible());
        QTest::mouseClick(about_->button1, Qt::LeftButton);
        QVERIFY(!about_->isVisible());
        QVERIFY(opened_.isEmpty());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
