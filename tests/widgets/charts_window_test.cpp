// SPDX-License-Identifier: GPL-3.0-or-later
// The charts window: each tab opened with a click, the hits thinned to the plot's width, the
// zoom and the draw under the mouse, the test's sentence, "Zapisz obraz…" through the save dialog
// as PNG and SVG, the reset, and the window's frame inside the screen.
#include "analysis/ChartBuilders.h"
#include "analysis/ChartsWindow.h"
#include "base/DateRoutines.h"
#include "support/WidgetSupport.h"

#include <QAccessible>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>

using namespace zg;
using namespace zg::test;

class ChartsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void tabsAndPictures() {
        ProgramFolder folder;
        FillDraws(3000); // more draws than the plot has pixel columns
        for (int k = 1; k <= 3000; k += 3)
            SetDrawNumbers(k, {1, 2});
        QFile(folder.file(QStringLiteral("TXT/WYKRES.0001.png"))).open(QIODevice::WriteOnly);
        ChartInputs in{{AllDraws(), &AllDrawMasks(), MakeSet({1, 2, 3}), 1, 3000, 2, 3}, {}};
        std::int32_t found = 0;
        const SearchResult result = SetHitSearch(in.draws, *in.masks, in.set, 1, 3000, 2, 3, nullptr, found, nullptr);
        in.rows = result.rows;
        ChartsWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showStatistics(in);

        QTabBar* bar = w.tabs()->tabBar();
        for (int t = ChartsWindow::TabCount - 1; t >= 0; --t) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
            QVERIFY(!w.chartView(static_cast<ChartsWindow::Tab>(t))->chart()->series().isEmpty());
        }
        QTest::qWait(1); // the hits chart takes its final width
        QChart* hits = w.chartView(ChartsWindow::HitsTab)->chart();
        auto* line = static_cast<QLineSeries*>(hits->series().at(0));
        QCOMPARE(line->name(), QStringLiteral("Trafienia w losowaniu"));
        QVERIFY2(line->count() <= 2 * hits->plotArea().width(), qPrintable(QString::number(line->count())));
        // A third of the draws hit 2 of 3, where about 14 % would by chance.
        QVERIFY(Text(&w, "chiSquareSentence").startsWith(QStringLiteral("Test chi-kwadrat: p = ")));
        QVERIFY(Text(&w, "chiSquareSentence")
                    .endsWith(QStringLiteral(" sam przypadek daje rzadziej niż raz na 1000 sprawdzeń.")));
        QVERIFY(Text(&w, "numbersOutsideSentence").startsWith(QStringLiteral("Poza przedziałem 95%: ")));
        for (QWidget* c : w.findChildren<QWidget*>())
            if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QChartView*>(c) || qobject_cast<QTabWidget*>(c))
                QVERIFY(!QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty());

        Dialogs::QueueFileName(folder.file(QStringLiteral("TXT/wykres"))); // ".png" is added
        Click(&w, "saveImageButton");
        const QString png = folder.file(QStringLiteral("TXT/wykres.png"));
        const QList<Dialogs::Shown>& shown = Dialogs::History();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("WYKRES.0002.png"));
        QCOMPARE(shown[0].directory, folder.file(QStringLiteral("TXT")));
        QCOMPARE(shown[0].filter, QStringLiteral("Obraz PNG (*.png);;Obraz SVG (*.svg)"));
        QCOMPARE(shown[1].caption, QStringLiteral(" Zapis do pliku zakończony pomyślnie"));
        QCOMPARE(shown[1].text, QStringLiteral("Wyniki analizy zostały umieszczone w pliku \"%1\"").arg(png));
        QCOMPARE(QImage(png).size(), w.tabs()->currentWidget()->size());
        Dialogs::QueueFileName(folder.file(QStringLiteral("TXT/wykres.svg")));
        Click(&w, "saveImageButton");
        QFile svg(folder.file(QStringLiteral("TXT/wykres.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));

        // A drag across the hits chart zooms to whole draws, thinned anew; a right click does
        // nothing; "Cały zakres" shows every draw again.
        w.tabs()->setCurrentIndex(ChartsWindow::HitsTab);
        QWidget* plot = w.chartView(ChartsWindow::HitsTab)->viewport();
        const QRectF area = hits->plotArea();
        const QPoint from(int(area.left() + area.width() / 4), int(area.center().y()));
        const QPoint to(int(area.left() + area.width() / 2), int(area.center().y()));
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        QTest::mouseMove(plot, to);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
        const std::int32_t first = w.hitsViewFirst(), last = w.hitsViewLast();
        QVERIFY2(first > 600 && last < 1700 && first < last, qPrintable(QStringLiteral("%1..%2").arg(first).arg(last)));
        QVERIFY(line->at(0).x() >= first && line->at(line->count() - 1).x() <= last);
        QCOMPARE(hits->title(), QStringLiteral("Trafienia zestawu w losowaniach %1 - %2").arg(first).arg(last));
        QTest::mouseClick(plot, Qt::RightButton, {}, from);
        QCOMPARE(w.hitsViewFirst(), first);
        // The mouse anywhere over a draw's column, not only on its line, names the draw, its date and its hits.
        w.zoomHits(100, 110);
        const QPoint over = w.chartView(ChartsWindow::HitsTab)
                                ->mapFromScene(hits->mapToScene(hits->mapToPosition(QPointF(106, 1), line)));
        QTest::mouseMove(plot, over);
        QVERIFY2(QToolTip::text().startsWith(QStringLiteral("Losowanie nr 106 z dnia %1\nTrafienia: %2\n")
                                                 .arg(QString::fromStdString(DrawDateLongText(AllDraws(), 106)))
                                                 .arg(w.statistics().drawHits[105])),
                 qPrintable(QToolTip::text()));
        Click(&w, "wholeRangeButton");
        QCOMPARE(w.hitsViewFirst(), 1);
        QCOMPARE(w.hitsViewLast(), 3000);
        QCOMPARE(hits->title(), QStringLiteral("Trafienia zestawu w losowaniach 1 - 3000"));
        QVERIFY(!Enabled(&w, "wholeRangeButton"));

        w.clear(); // the main window's reset
        QVERIFY(!Enabled(&w, "saveImageButton") && Text(&w, "chiSquareSentence").isEmpty());
        QVERIFY(w.chartView(ChartsWindow::NumbersTab)->chart()->series().isEmpty());
        QCOMPARE(w.chartView(ChartsWindow::NumbersTab)->chart()->title(),
                 QStringLiteral("Wykresy pokażą wynik następnego wyszukiwania (Oblicz)."));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    // The whole frame opens inside the free area, the window shrunk when it does not fit: at
    // 1280 x 1024 a window placed low once hung a title bar's height below the bottom edge.
    void opensInsideTheScreen_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QRect>("placed"); // with a frame of 4, 30, 4, 4
        QTest::newRow("1280x1024, low") << QRect(0, 0, 1280, 1024) << QRect(200, 440, 860, 600)
                                        << QRect(200, 420, 860, 600);
        QTest::newRow("1280x1024, panel")
            << QRect(0, 24, 1280, 1000) << QRect(0, 0, 860, 600) << QRect(4, 54, 860, 600);
        QTest::newRow("1024x768, tall") << QRect(0, 0, 1024, 768) << QRect(300, 100, 860, 900)
                                        << QRect(160, 30, 860, 734);
    }

    void opensInsideTheScreen() {
        QFETCH(QRect, area);
        QFETCH(QRect, client);
        QFETCH(QRect, placed);
        const QMargins frame(4, 30, 4, 4);
        const QRect result = ClientInsideArea(client, frame, area, QSize(400, 300));
        QCOMPARE(result, placed);
        QVERIFY(area.contains(result.marginsAdded(frame)));
        // The real window on the test's screen (800 x 800): framed, and narrowed to fit.
        ChartsWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
    }

    void numberTooltips_data() {
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("tip");
        QTest::newRow("whole") << 4488.0 << "Liczba 17: 4520 losowań (oczekiwano 4488, przedział 95%: 4375–4602)";
        QTest::newRow("fractional") << 376.25
                                    << "Liczba 17: 4520 losowań (oczekiwano 376,25, przedział 95%: 4375–4602)";
    }

    void numberTooltips() {
        QFETCH(double, expected);
        QFETCH(QString, tip);
        QCOMPARE(NumberTip(NumberFrequency{17, 4520, expected, 4375, 4602, false}, ChartNumbersFor(',')), tip);
    }
};

QTEST_MAIN(ChartsWindowTest)
#include "charts_window_test.moc"
