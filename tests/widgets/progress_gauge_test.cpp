// SPDX-License-Identifier: GPL-3.0-or-later
// The progress gauge: percentage rules, refused limits, synchronous repaints only on a changed
// percentage, and the drawn picture (frame, bar extent, inverted text).
#include "ui/Dialogs.h"
#include "ui/ProgressGauge.h"

#include <QImage>
#include <QTest>

#include <limits>
#include <memory>

using zg::Dialogs;
using zg::ProgressGauge;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QColor Red(200, 0, 0);
const QColor Inverted(55, 255, 255); // Red with every channel inverted

} // namespace

class ProgressGaugeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProgressGauge> gauge_;

    // A shown 102 x 17 gauge: a 100 x 15 drawing area inside the frame.
    void makeGauge(bool showText) {
        gauge_ = std::make_unique<ProgressGauge>();
        gauge_->resize(102, 17);
        gauge_->setBarColor(Red);
        gauge_->setTextVisible(showText);
        gauge_->show();
        QVERIFY(QTest::qWaitForWindowExposed(gauge_.get()));
    }

    QImage picture() const { return gauge_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    static int countColour(const QImage& image, const QRect& area, const QColor& colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }

private slots:
    void init() {
        Dialogs::SetTestMode(true);
        Dialogs::ClearHistory();
    }
    void cleanup() {
        gauge_.reset();
        Dialogs::SetTestMode(false);
    }

    void defaults() {
        ProgressGauge gauge;
        QCOMPARE(gauge.minimum(), 0);
        QCOMPARE(gauge.maximum(), 100);
        QCOMPARE(gauge.value(), 0);
        QCOMPARE(gauge.kind(), zg::GaugeKind::HorizontalBar);
        QVERIFY(gauge.isTextVisible());
        QVERIFY(gauge.hasFrame());
        QCOMPARE(gauge.barColor(), QColor(Qt::black));
        QCOMPARE(gauge.backgroundColor(), QColor(Qt::white));
        QCOMPARE(gauge.text(), QStringLiteral("0%"));
        QCOMPARE(gauge.accessibleName(), QStringLiteral("Postęp"));
    }

    void percentages() {
        ProgressGauge gauge;
        // Maximum equal to the minimum (a download of unknown size): 0 %.
        QVERIFY(gauge.setMaximum(0));
        gauge.setValue(5);
        QCOMPARE(gauge.value(), 0);
        QCOMPARE(gauge.text(), QStringLiteral("0%"));

        QVERIFY(gauge.setMaximum(3));
        gauge.setValue(1);
        QCOMPARE(gauge.text(), QStringLiteral("33%"));
        gauge.setValue(2);
        QCOMPARE(gauge.text(), QStringLiteral("66%"));
        gauge.setValue(3);
        QCOMPARE(gauge.text(), QStringLiteral("100%"));
        // Clamped into the limits.
        gauge.setValue(1000);
        QCOMPARE(gauge.value(), 3);
        QCOMPARE(gauge.percent(), 100);
        gauge.setValue(-1000);
        QCOMPARE(gauge.value(), 0);
        QCOMPARE(gauge.text(), QStringLiteral("0%"));

        // Lowering the maximum lowers the progress; raising the minimum raises it.
        QVERIFY(gauge.setMaximum(100));
        gauge.setValue(80);
        QVERIFY(gauge.setMaximum(50));
        QCOMPARE(gauge.value(), 50);
        QVERIFY(gauge.setMinimum(10));
        gauge.setValue(0);
        QCOMPARE(gauge.value(), 10);
        QCOMPARE(gauge.percent(), 0);
        gauge.setValue(30); // (30 - 10) * 100 / 40
        QCOMPARE(gauge.percent(), 50);
        QCOMPARE(gauge.accessibleDescription(), QStringLiteral("50%"));

        // The whole 32-bit range without overflow.
        QVERIFY(gauge.setMinimum(std::numeric_limits<std::int32_t>::min()));
        QVERIFY(gauge.setMaximum(std::numeric_limits<std::int32_t>::max()));
        gauge.setValue(0);
        QCOMPARE(gauge.percent(), 50);
        gauge.setValue(std::numeric_limits<std::int32_t>::max() - 1);
        QCOMPARE(gauge.percent(), 99);
        gauge.setValue(std::numeric_limits<std::int32_t>::max());
        QCOMPARE(gauge.percent(), 100);
        QVERIFY(Dialogs::History().isEmpty());
    }

    void refusedLimitsChangeNothing() {
        ProgressGauge gauge;
        gauge.setValue(40);
        const int repaints = gauge.repaintCount();
        QVERIFY(!gauge.setMaximum(-1));
        QVERIFY(!gauge.setMinimum(101));
        QCOMPARE(gauge.minimum(), 0);
        QCOMPARE(gauge.maximum(), 100);
        QCOMPARE(gauge.value(), 40);
        QCOMPARE(gauge.repaintCount(), repaints);

        QCOMPARE(Dialogs::History().size(), 2);
        QCOMPARE(Dialogs::History().at(0).caption, QStringLiteral("ZENTAGRAFO"));
        QCOMPARE(Dialogs::History().at(0).icon, Dialogs::Icon::Error);
        QCOMPARE(Dialogs::History().at(0).text, QStringLiteral("Value must be between 1 and 2147483647"));
        QCOMPARE(Dialogs::History().at(1).text, QStringLiteral("Value must be between -2147483647 and 99"));

        // The limits themselves are allowed: maximum at the minimum and the reverse.
        QVERIFY(gauge.setMinimum(100));
        QCOMPARE(gauge.value(), 100);
        QVERIFY(!gauge.setMaximum(99));
        QCOMPARE(Dialogs::History().at(2).text, QStringLiteral("Value must be between 101 and 2147483647"));
        QVERIFY(gauge.setMaximum(100)); // unchanged: accepted, nothing happens
        QCOMPARE(Dialogs::History().size(), 3);
    }

    void repaintsOnlyOnChangedPercentage() {
        makeGauge(true);
        PaintCounter counter;
        gauge_->installEventFilter(&counter);
        QVERIFY(gauge_->setMaximum(1000));
        const int base = gauge_->repaintCount();
        QCOMPARE(counter.paints, 1); // painted at once, no event loop in between

        gauge_->setValue(5); // still 0 %
        QCOMPARE(gauge_->repaintCount(), base);
        gauge_->setValue(10); // 1 %
        QCOMPARE(gauge_->repaintCount(), base + 1);
        QCOMPARE(counter.paints, 2);
        gauge_->setValue(19); // still 1 %
        gauge_->setValue(19);
        QCOMPARE(gauge_->repaintCount(), base + 1);

        // Look properties redraw only when they change.
        gauge_->setBarColor(Red);
        gauge_->setTextVisible(true);
        gauge_->setFrame(true);
        QCOMPARE(gauge_->repaintCount(), base + 1);
        gauge_->setBackgroundColor(Qt::yellow);
        gauge_->setTextVisible(false);
        gauge_->setFrame(false);
        gauge_->setKind(zg::GaugeKind::VerticalBar);
        QCOMPARE(gauge_->repaintCount(), base + 5);
        QCOMPARE(counter.paints, 6);
    }

    void barGeometry() {
        makeGauge(false);
        const int mid = 8;
        QImage image = picture();
        // Frame black on all four sides; an empty bar at 0 %.
        for (QPoint p :
             {QPoint(0, 0), QPoint(101, 16), QPoint(0, mid), QPoint(101, mid), QPoint(50, 0), QPoint(50, 16)})
            QCOMPARE(image.pixelColor(p), QColor(Qt::black));
        QCOMPARE(countColour(image, QRect(1, 1, 100, 15), Red), 0);

        gauge_->setValue(50);
        image = picture();
        QCOMPARE(image.pixelColor(1, mid), Red);
        QCOMPARE(image.pixelColor(1, 1), Red);
        QCOMPARE(image.pixelColor(1, 15), Red);
        QCOMPARE(image.pixelColor(49, mid), Red);
        QCOMPARE(image.pixelColor(50, mid), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, mid), QColor(Qt::white));

        // Below 100 % the bar stops one pixel short of its share of the area.
        gauge_->setValue(99);
        image = picture();
        QCOMPARE(image.pixelColor(98, mid), Red);
        QCOMPARE(image.pixelColor(99, mid), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, mid), QColor(Qt::white));

        // Progress past the maximum: 100 % and a bar filling the whole area.
        gauge_->setValue(500);
        image = picture();
        QCOMPARE(countColour(image, QRect(1, 1, 100, 15), Red), 100 * 15);
        QCOMPARE(image.pixelColor(101, mid), QColor(Qt::black));

        // Minimum and maximum 0: empty bar.
        QVERIFY(gauge_->setMaximum(0));
        image = picture();
        QCOMPARE(countColour(image, QRect(1, 1, 100, 15), Red), 0);

        // Without a frame the area is the whole control and the bar its exact share: 51 of 102.
        QVERIFY(gauge_->setMaximum(100));
        gauge_->setFrame(false);
        gauge_->setValue(50);
        image = picture();
        QCOMPARE(image.pixelColor(0, 0), Red);
        QCOMPARE(image.pixelColor(50, 16), Red);
        QCOMPARE(image.pixelColor(51, mid), QColor(Qt::white));
    }

    void textIsInverted() {
        makeGauge(true);
        gauge_->setValue(50);
        const QImage image = picture();
        const QRect area(1, 1, 100, 15);
        // The text "50%" straddles the end of the bar: glyph pixels over the bar take the inverse
        // of the bar colour, those over the empty part the inverse of white.
        const int overBar = countColour(image, area, Inverted);
        const int overBack = countColour(image, QRect(50, 1, 51, 15), QColor(Qt::black));
        QVERIFY(overBar > 0);
        QVERIFY(overBack > 0);
        // Nothing but the two colours and their inverses inside the area.
        const int total = countColour(image, area, Red) + countColour(image, area, QColor(Qt::white)) + overBar +
                          countColour(image, area, QColor(Qt::black));
        QCOMPARE(total, 100 * 15);
        // Without text there are no inverted pixels.
        gauge_->setTextVisible(false);
        QCOMPARE(countColour(picture(), area, Inverted), 0);
    }
};

QTEST_MAIN(ProgressGaugeTest)
#include "progress_gauge_test.moc"
