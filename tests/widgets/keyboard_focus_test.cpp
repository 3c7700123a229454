// The keyboard in the windows: the Tab order, and a focus frame that stands out (WCAG 1.4.11:
// 3:1 against what the same pixels show without the focus) under the default and a dark palette.
#include "app/MainWindow.h"
#include "support/WidgetSupport.h"
#include "ui/ProgramLook.h"
#include "ui/ProgramStyle.h"

#include <QApplication>
#include <QImage>

using namespace zg;
using namespace zg::test;

namespace {

// The main window after a search that found draws, with every button enabled.
bool ShowSearched(MainWindow& w) {
    FillDraws(300);
    SetDrawNumbers(290, {1, 2, 3});
    SetNumberSet({1, 2, 3});
    QObject::connect(&w, &MainWindow::calendarRequested, &w, [] {});
    QObject::connect(&w, &MainWindow::chartsRequested, &w, [] {});
    QObject::connect(&w, &MainWindow::zentagTableRequested, &w, [] {});
    w.show();
    w.applyConfirmedSet();
    Click(&w, "searchButton");
    return QTest::qWaitForWindowActive(&w);
}

} // namespace

class KeyboardFocusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallProgramStyle(*qApp); }

    void mainWindowTabOrder() {
        ProgramFolder folder;
        MainWindow w;
        QVERIFY(ShowSearched(w));
        QStringList order;
        for (int i = 0; i < 19; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order.join(QLatin1Char(' ')),
                 QStringLiteral("searchButton rangePresetsButton rangeFromEdit rangeToEdit manageDrawsButton "
                                "setEditorButton zentagButton zentagOffsetUp zentagOffsetDown calendarButton "
                                "hitsFromEdit hitsToEdit saveButton chartsButton numbersButton resultGrid "
                                "aboutButton closeButton searchButton"));
    }

    void focusFrameStandsOut_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("control");
        for (bool dark : {false, true})
            for (const char* control : {"searchButton", "rangePresetsButton", "rangeFromEdit", "resultGrid"})
                QTest::addRow("%s %s", dark ? "dark" : "default", control) << dark << QString::fromLatin1(control);
    }

    void focusFrameStandsOut() {
        QFETCH(bool, dark);
        QFETCH(QString, control);
        const QPalette before = QApplication::palette();
        if (dark) {
            QPalette p(QColor(0x3c3c3c), QColor(0x2b2b2b));
            p.setColor(QPalette::Base, QColor(0x1e1e1e));
            QApplication::setPalette(p);
        }
        ProgramFolder folder;
        MainWindow w;
        QVERIFY(ShowSearched(w));
        QWidget* target = Find<QWidget>(&w, qPrintable(control));
        Find<QWidget>(&w, "closeButton")->setFocus(Qt::TabFocusReason);
        const QImage plain = w.grab().toImage();
        for (int i = 0; i < 30 && QApplication::focusWidget() != target; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), target);
        QApplication::processEvents();
        const QImage focused = w.grab().toImage();
        const QRect r(target->mapTo(&w, QPoint(0, 0)), target->size());
        int ring = 0, standing = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (!r.adjusted(FocusFrameWidth, FocusFrameWidth, -FocusFrameWidth, -FocusFrameWidth).contains(x, y)) {
                    ++ring;
                    standing += ContrastRatio(plain.pixelColor(x, y), focused.pixelColor(x, y)) >= 3.0;
                }
        QApplication::setPalette(before);
        QVERIFY2(standing * 10 >= ring * 9, qPrintable(QStringLiteral("%1 of %2").arg(standing).arg(ring)));
    }
};

QTEST_MAIN(KeyboardFocusTest)
#include "keyboard_focus_test.moc"
