// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's windows on a synthetic sample database into PNG files:
//   QT_QPA_PLATFORM=offscreen zentag-screenshots OUTDIR [dark]
// ("dark": under a dark desktop palette, to check that every window stays readable).
// Offscreen unless QT_QPA_PLATFORM names another platform (under xvfb-run, "xcb" shows the fonts
// an X server gives). The windows are real: the tool clicks their buttons as a user would, and a
// modal window is grabbed while its own event loop runs. Message boxes are answered by the dialog
// seam's test side, so nothing waits for a person.
#include "analysis/ChartsWindow.h"
#include "analysis/NumbersWindow.h"
#include "analysis/PatternsWindow.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/State.h"
#include "database/DrawManager.h"
#include "sets/SetEditor.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "tools/sample/SampleGenerator.h"
#include "ui/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/HelpWindow.h"
#include "ui/PolishTexts.h"
#include "ui/ProgramStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <utility>

namespace {

// Window pictures hold few colours: a palette of 256 keeps the files small. A window that shows
// photographs (the About window) keeps its true colours.
enum class Colours { Palette, True };

bool Save(QWidget* w, const QString& file, Colours colours = Colours::Palette) {
    // Twice: the focus frame takes its colours once the events of the window's showing are done.
    QApplication::processEvents();
    QApplication::processEvents();
    // Strongest compression: the pictures are kept in the repository.
    QImage picture = w->grab().toImage();
    if (colours == Colours::Palette)
        picture = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const bool ok = picture.save(file, "PNG", 0);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

// Shows a dialog without blocking, grabs it in true colours, hides it again.
void GrabDialog(QWidget* w, const QString& file) {
    w->show();
    QApplication::processEvents();
    Save(w, file, Colours::True);
    w->hide();
}

// Clicks `button`, which opens the modal window `dialog`; `inside` runs once the window shows
// (inside its event loop), then the window is closed and the click returns.
void WhileOpen(QAbstractButton* button, QWidget* dialog, const std::function<void()>& inside) {
    auto* poll = new QTimer(dialog);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, dialog, [=] {
        if (!dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        inside();
        dialog->close();
    });
    poll->start();
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `inside` on the import summary once it shows, inside its own event loop.
void WhileSummaryOpen(const std::function<void(QWidget*)>& inside) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, inside] {
        QWidget* summary = QApplication::activeModalWidget();
        if (summary == nullptr || summary->objectName() != QLatin1String("importDialog"))
            return;
        poll->stop();
        poll->deleteLater();
        inside(summary);
    });
    poll->start(10);
}

// A results file as a lottery site publishes it, continuing the sample database: a heading, the
// database's last 30 draws and 24 new ones (two a day), each "ordinal;date;20 numbers", a bonus
// number on some lines, one line repeated and two bad lines.
std::string SampleResultsFile() {
    std::string file = "Nr;Data;L1;L2;L3;L4;L5;L6;L7;L8;L9;L10;L11;L12;L13;L14;L15;L16;L17;L18;L19;L20\r\n";
    const auto line = [&file](std::int32_t ordinal, const std::string& date, const std::int32_t* numbers, int count) {
        file += std::to_string(ordinal) + ";" + date;
        for (int i = 0; i < count; ++i)
            file += ";" + std::to_string(numbers[i]);
        file += "\r\n";
    };
    const auto dateText = [](const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")).toStdString(); };
    for (std::int32_t k = zg::DrawCount - 29; k <= zg::DrawCount; ++k) {
        const zg::DrawRecord& d = zg::DrawTable[k];
        line(k, dateText(QDate(d.Year, d.Month, d.Day)), d.Numbers, 20);
    }
    const zg::DrawRecord& last = zg::DrawTable[zg::DrawCount];
    const QDate lastDate(last.Year, last.Month, last.Day);
    std::uint32_t seed = 20230519;
    for (int i = 1; i <= 24; ++i) {
        std::int32_t numbers[21];
        bool used[81] = {};
        for (int n = 0; n < 21;) {
            seed = seed * 1103515245u + 12345u;
            const std::int32_t x = static_cast<std::int32_t>((seed >> 16) % 80) + 1;
            if (!used[x]) {
                used[x] = true;
                numbers[n++] = x;
            }
        }
        const std::string date = dateText(lastDate.addDays((i + 1) / 2));
        line(zg::DrawCount + i, date, numbers, i % 5 == 0 ? 21 : 20);
        if (i == 7)
            line(zg::DrawCount + i, date, numbers, 20); // published twice
        if (i == 12)
            line(zg::DrawCount + i, date, numbers, 18); // cut short
        if (i == 18)
            file += std::to_string(zg::DrawCount + i) + ";" + date +
                    ";3;8;13;88;21;34;55;1;2;4;5;6;7;9;10;11;12;14;15;"
                    "16\r\n";
    }
    return file;
}

void TickZentagFilter(QWidget* w, int n) {
    if (auto* b = Child<QAbstractButton>(w, qPrintable(QStringLiteral("filterBox%1").arg(n))))
        b->setChecked(true);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zg::InstallQtPolishTranslation(); // as the program does
    zg::InstallProgramStyle(app);
    if (argc > 2 && QByteArray(argv[2]) == "dark") {
        QPalette dark;
        for (auto [role, rgb] : {std::pair{QPalette::Window, 0x2b2b2b},
                                 {QPalette::WindowText, 0xeeeeee},
                                 {QPalette::Base, 0x1e1e1e},
                                 {QPalette::Text, 0xeeeeee},
                                 {QPalette::Button, 0x3c3c3c},
                                 {QPalette::ButtonText, 0xeeeeee}})
            dark.setColor(role, QColor(rgb));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7f7f7f));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7f7f7f));
        QApplication::setPalette(dark);
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("TXT"));
    QDir(dir.path()).mkpath(QStringLiteral("ZESTAWY LICZB"));
    zg::AppDir = dir.path().toStdString();
    {
        std::ofstream f(zg::AppPath("zentag.wyn"), std::ios::binary);
        f << zg::GenerateSampleDatabase(20000, 1996, zg::SampleLayout::YearFirst).bytes;
    }
    zg::Dialogs::SetTestMode(true);

    zg::ProgramWindows windows = zg::CreateProgramWindows();
    zg::MainWindow* main = windows.main.get();
    main->show();
    Save(main, out + QStringLiteral("/main-window.png"));

    // The set editor with a set chosen, then confirmed.
    QWidget* editor = windows.setEditor.get();
    editor->show();
    for (int n : {3, 7, 15, 22, 41, 58, 64, 77})
        if (auto* b = Child<QAbstractButton>(editor, qPrintable(QStringLiteral("numberButton%1").arg(n))))
            QTest::mouseClick(b, Qt::LeftButton);
    Save(editor, out + QStringLiteral("/set-editor.png"));
    if (auto* ok = Child<QAbstractButton>(editor, "confirmButton"))
        QTest::mouseClick(ok, Qt::LeftButton);
    editor->hide();

    // A search over the default range with 3 to 5 hits.
    if (auto* e = Child<QWidget>(main, "hitsFromEdit")) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClicks(e, QStringLiteral("3"));
    }
    if (auto* e = Child<QWidget>(main, "hitsToEdit")) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClicks(e, QStringLiteral("5"));
    }
    if (auto* b = Child<QAbstractButton>(main, "searchButton"))
        QTest::mouseClick(b, Qt::LeftButton);
    Save(main, out + QStringLiteral("/main-window-results.png"));

    // The ZENTAG table of that search, complete and then restricted to two ticked numbers.
    QWidget* zentag = windows.zentag.get();
    if (auto* b = Child<QAbstractButton>(main, "zentagButton"))
        WhileOpen(b, zentag, [&] {
            Save(zentag, out + QStringLiteral("/zentag.png"));
            TickZentagFilter(zentag, 7);
            TickZentagFilter(zentag, 41);
            Save(zentag, out + QStringLiteral("/zentag-filtered.png"));
        });

    // The calendar map of the range's last year, with the marks and then with every hit count.
    if (auto* b = Child<QAbstractButton>(main, "calendarButton")) {
        QWidget* map = windows.calendar.get();
        WhileOpen(b, map, [&] {
            Save(map, out + QStringLiteral("/calendar.png"));
            if (auto* all = Child<QAbstractButton>(map, "showAllBox"))
                QTest::mouseClick(all, Qt::LeftButton);
            Save(map, out + QStringLiteral("/calendar-all.png"));
        });
    }

    // The draw management window: the last draw selected (its numbers lit in the map), the
    // summary of a results file to import, then the last draw in edit mode with its 20 numbers
    // ticked.
    QWidget* draws = windows.drawManager.get();
    if (auto* b = Child<QAbstractButton>(main, "manageDrawsButton"))
        WhileOpen(b, draws, [&] {
            Save(draws, out + QStringLiteral("/draw-management.png"));
            if (auto* import = Child<QAbstractButton>(draws, "importButton")) {
                const std::string results = dir.filePath(QStringLiteral("wyniki.csv")).toStdString();
                std::ofstream(results, std::ios::binary) << SampleResultsFile();
                zg::Dialogs::QueueFileName(QString::fromStdString(results));
                WhileSummaryOpen([&](QWidget* summary) {
                    Save(summary, out + QStringLiteral("/import-summary.png"));
                    if (auto* cancel = Child<QAbstractButton>(summary, "cancelButton"))
                        QTest::mouseClick(cancel, Qt::LeftButton);
                });
                QTest::mouseClick(import, Qt::LeftButton);
            }
            if (auto* edit = Child<QAbstractButton>(draws, "editButton"))
                QTest::mouseClick(edit, Qt::LeftButton);
            Save(draws, out + QStringLiteral("/draw-management-edit.png"));
        });

    GrabDialog(windows.about.get(), out + QStringLiteral("/about.png"));

    // The charts window's four tabs for the same search as above: the set, the range 2049..the
    // last draw and 3 to 5 hits.
    {
        zg::ChartInputs in;
        in.draws = zg::AllDraws();
        in.masks = &zg::AllDrawMasks();
        in.set = main->numberSet();
        in.rangeFrom = 2049;
        in.rangeTo = zg::DrawCount;
        in.hitsFrom = 3;
        in.hitsTo = 5;
        std::int32_t found = 0;
        const zg::SearchResult result = zg::SetHitSearch(in.draws, *in.masks, in.set, in.rangeFrom, in.rangeTo,
                                                         in.hitsFrom, in.hitsTo, nullptr, found, nullptr);
        in.rows = result.rows;
        zg::ChartsWindow charts;
        charts.setDecimalSeparator(',');
        charts.show();
        charts.showStatistics(in);
        const char* files[] = {"charts-hits", "charts-distribution", "charts-gaps", "charts-numbers"};
        for (int t = 0; t < zg::ChartsWindow::TabCount; ++t) {
            charts.tabs()->setCurrentIndex(t);
            QApplication::processEvents();
            // Antialiased charts need more than a palette of 256 colours.
            Save(&charts, out + QStringLiteral("/%1.png").arg(QString::fromLatin1(files[t])), Colours::True);
        }
    }

    // The numbers table on the same range and set, opened with the main window's "Tabela liczb".
    if (auto* b = Child<QAbstractButton>(main, "numbersButton")) {
        zg::NumbersWindow* numbers = windows.numbers.get();
        numbers->setDecimalSeparator(',');
        QTest::mouseClick(b, Qt::LeftButton);
        Save(numbers, out + QStringLiteral("/numbers-table.png"));
    }

    // The patterns of the same range, opened with the main window's "Wzorce losowań", on the sum.
    if (auto* b = Child<QAbstractButton>(main, "patternsButton")) {
        zg::PatternsWindow* patterns = windows.patterns.get();
        patterns->setDecimalSeparator(',');
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
        Save(patterns, out + QStringLiteral("/patterns.png"), Colours::True);
    }

    // The help window, opened with F1 in the main window at the main window's section.
    {
        main->activateWindow();
        QTest::keyClick(main, Qt::Key_F1);
        zg::HelpWindow* help = windows.help.get();
        help->resize(1000, 700);
        help->showSection(QStringLiteral("Okno główne"));
        Save(help, out + QStringLiteral("/help.png"));
    }
    return 0;
}
