// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "analysis/ChartsWindow.h"
#include "analysis/NumbersWindow.h"
#include "analysis/PatternsWindow.h"
#include "app/HelpKey.h"
#include "app/MainWindow.h"
#include "base/State.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawManager.h"
#include "database/DrawTableLoad.h"
#include "database/PendingDownloadCheck.h"
#include "database/ProgramFolder.h"
#include "database/ShiftedData.h"
#include "sets/SetEditor.h"
#include "tables/Calendar.h"
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "ui/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/HelpWindow.h"
#include "ui/QtText.h"

#include <QDialog>
#include <QScreen>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <optional>

namespace zg {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::~ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;

bool LoadProgramDatabase(QWidget* messageParent) {
    const std::string dbPath = AppPath(std::string(DatabaseFileName));
    const std::string pendingPath = AppPath(std::string(PendingDownloadFileName));

    // Temporary files left by a process killed while replacing a file (a merge, a save, a report,
    // a download), in every folder the program and the command-line tool write to.
    RemoveStaleProgramTempFiles(AppDir);

    // The merge and the load under the writers' lock: the command-line tool may be writing the
    // database just now, and the stamp must be that of the file this load read. The messages
    // come after the lock is let go, so that a waiting writer does not wait for the user.
    std::optional<DatabaseGuard> guard(std::in_place, dbPath);
    std::error_code ec;
    std::optional<MergeResult> merged;
    if (std::filesystem::exists(pendingPath, ec))
        merged = guard->Merge(pendingPath, [messageParent] {
            return Dialogs::Message(messageParent, Q(MergeQuestionCaption), Q(MergeQuestionText),
                                    Dialogs::Icon::Question, Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes;
        });
    // Without the lock (another program holds it too long, or the folder is read-only) the file is
    // still loaded; its stamp then makes a later write compare with what was really read.
    const DrawTableLoad load = LoadDrawTable(*guard);
    const LoadResult& loaded = load.loaded;
    guard.reset();
    if (merged && merged->damaged)
        Dialogs::Message(messageParent, Q(DamagedDownloadCaption), Q(DamagedDownloadText), Dialogs::Icon::Error);
    // A "zentag" that is not a regular file is no download: nothing to say about it.
    else if (merged && !merged->ok && !merged->skipped)
        Dialogs::SystemError(messageParent, QString::fromStdString(merged->error));

    if (!loaded.ok) {
        // No file at all is a first start: the "Pusta baza wyników" question follows, and the
        // error would only frighten. A file that cannot be read or is damaged keeps its error.
        if (!load.missing)
            Dialogs::Message(messageParent, Q(LoadErrorCaption), Q(LoadErrorText), Dialogs::Icon::Error);
        return false;
    }
    if (loaded.truncated)
        Dialogs::Message(messageParent, QStringLiteral("Pouczenie..."),
                         QStringLiteral("Plik z wynikami losowań zawiera więcej niż %1 losowań. Program wczytał "
                                        "pierwsze %1 z nich; dalszych nie będzie uwzględniał.")
                             .arg(MaxDraws),
                         Dialogs::Icon::Warning);
    // A value lost or added in the middle of the file shifts every later draw: the analyses would
    // run on garbage, and a write would carry the shift on. Said once; writes are refused until
    // the whole database is replaced.
    if (load.shiftedFrom)
        Dialogs::Message(messageParent, Q(ShiftedDataCaption), Q(ShiftedDataText(*load.shiftedFrom)),
                         Dialogs::Icon::Warning);
    return true;
}

void OpenOnRequest(MainWindow& main, void (MainWindow::*request)(), QWidget& window) {
    QObject::connect(&main, request, &window, [&window] {
        if (auto* dialog = qobject_cast<QDialog*>(&window))
            dialog->exec();
        else
            window.show();
    });
}

void ConnectDrawManager(MainWindow& main, DrawManager& draws) {
    OpenOnRequest(main, &MainWindow::drawManagerRequested, draws);
    QObject::connect(&draws, &DrawManager::drawAppended, &main, [&main] { main.drawsAppended(false); });
    QObject::connect(&draws, &DrawManager::drawEdited, &main, &MainWindow::resetResults);
    // A table replaced as a whole takes the start-up range; new draws imported after the stored
    // ones move the range's end as an appended draw does, and the result goes in any case, as the
    // import may have corrected stored dates. (The start-up merge comes before the main window's
    // first showing, which sets the start-up range.)
    QObject::connect(&draws, &DrawManager::drawsImported, &main, [&main](bool wholeTable) {
        if (wholeTable)
            main.drawsReplaced();
        else
            main.drawsAppended(true);
    });
}

void ConnectSetEditor(MainWindow& main, SetEditor& editor) {
    QObject::connect(&main, &MainWindow::setEditorRequested, &editor, [&main, &editor] {
        editor.setCurrentSet(main.numberSet());
        editor.exec();
    });
    QObject::connect(&editor, &SetEditor::setConfirmed, &main, &MainWindow::applyConfirmedSet);
}

void ConnectZentagWindow(MainWindow& main, ZentagWindow& zentag) {
    QObject::connect(&main, &MainWindow::zentagTableRequested, &zentag,
                     [&main, &zentag](const ZentagRequest& request, bool recompute) {
                         zentag.setRequest(request);
                         if (recompute) {
                             zentag.clearFilter();
                             zentag.computeTable(main.gauge());
                         }
                         zentag.exec();
                     });
    QObject::connect(&zentag, &ZentagWindow::rangeShown, &main, &MainWindow::refreshRangeInfo);
}

void ConnectCalendarWindow(MainWindow& main, CalendarWindow& map) {
    QObject::connect(&main, &MainWindow::calendarRequested, &map,
                     [&map](const AnalysisParameters& parameters, std::optional<std::int32_t> year) {
                         map.setParameters(parameters);
                         if (year)
                             map.setYear(*year);
                         map.setWindowTitle(Q(MapCaption(parameters.set)));
                         map.exec();
                     });
}

void ConnectChartsWindow(MainWindow& main, ChartsWindow& charts) {
    QObject::connect(&main, &MainWindow::chartsRequested, &charts, [&charts](const ChartInputs& inputs) {
        charts.showStatistics(inputs);
        charts.show();
        charts.raise();
        charts.activateWindow();
    });
    // Not modal: an open charts window follows every search, and empties with the result.
    QObject::connect(&main, &MainWindow::searched, &charts, [&charts](const ChartInputs& inputs) {
        if (charts.isVisible())
            charts.showStatistics(inputs);
    });
    QObject::connect(&main, &MainWindow::resultsCleared, &charts, &ChartsWindow::clear);
}

namespace {

// A window that is not modal: `request` fills it (showRange) and opens or raises it. While open it
// follows every change of the range, the set and the draws, each of which clears the main window's
// result or runs a search (one signal each: an arrow click fills it once).
template <typename ShowRange>
void OpenAndFollow(MainWindow& main, void (MainWindow::*request)(), QWidget& window, ShowRange showRange) {
    QObject::connect(&main, request, &window, [&window, showRange] {
        showRange();
        window.show();
        window.raise();
        window.activateWindow();
    });
    const auto follow = [&window, showRange] {
        if (window.isVisible())
            showRange();
    };
    QObject::connect(&main, &MainWindow::resultsCleared, &window, follow);
    QObject::connect(&main, &MainWindow::searched, &window, follow);
}

} // namespace

void ConnectNumbersWindow(MainWindow& main, NumbersWindow& numbers) {
    OpenAndFollow(main, &MainWindow::numbersTableRequested, numbers,
                  [&main, &numbers] { numbers.showRange(main.rangeFrom(), main.rangeTo(), main.numberSet()); });
}

void ConnectPatternsWindow(MainWindow& main, PatternsWindow& patterns) {
    OpenAndFollow(main, &MainWindow::patternsRequested, patterns, [&main, &patterns] {
        patterns.showQuery(DrawQuery{AllDraws(), &AllDrawMasks(), main.numberSet(), main.rangeFrom(), main.rangeTo()});
    });
}

ProgramWindows CreateProgramWindows() {
    ProgramWindows w;
    w.main = std::make_unique<MainWindow>();
    LoadProgramDatabase(w.main.get());

    MainWindow& main = *w.main;
    // The draw management window shows the main window, centred, and fills its grid on the main
    // window's gauge.
    if (const QScreen* screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    w.drawManager = std::make_unique<DrawManager>(&main);
    w.drawManager->fillDrawGrid(&main, main.gauge());
    ConnectDrawManager(main, *w.drawManager);

    w.zentag = std::make_unique<ZentagWindow>(&main);
    ConnectZentagWindow(main, *w.zentag);
    w.calendar = std::make_unique<CalendarWindow>(&main);
    ConnectCalendarWindow(main, *w.calendar);
    w.charts = std::make_unique<ChartsWindow>(&main);
    ConnectChartsWindow(main, *w.charts);
    w.numbers = std::make_unique<NumbersWindow>(&main);
    ConnectNumbersWindow(main, *w.numbers);
    w.patterns = std::make_unique<PatternsWindow>(&main);
    ConnectPatternsWindow(main, *w.patterns);

    w.setEditor = std::make_unique<SetEditor>(&main);
    ConnectSetEditor(main, *w.setEditor);
    w.about = std::make_unique<AboutWindow>(&main);
    OpenOnRequest(main, &MainWindow::aboutRequested, *w.about);
    ConnectHelpWindow(w);
    return w;
}

void OfferImportIntoEmptyDatabase(ProgramWindows& windows) {
    DrawManager* drawManager = windows.drawManager.get();
    if (drawManager == nullptr || DrawCount > 0)
        return;
    // A missing file, or one of no bytes at all: a database that cannot be read is no empty one.
    std::error_code ec;
    const std::filesystem::path dbPath(AppPath(std::string(DatabaseFileName)));
    const auto status = std::filesystem::status(dbPath, ec);
    const bool missing = status.type() == std::filesystem::file_type::not_found;
    const bool empty = std::filesystem::is_regular_file(status) && std::filesystem::file_size(dbPath, ec) == 0 && !ec;
    if (!missing && !empty)
        return;
    if (Dialogs::Message(windows.main.get(), QStringLiteral("Pusta baza wyników"),
                         QStringLiteral("Baza wyników jest pusta. Wczytać losowania z pliku wyników?"),
                         Dialogs::Icon::Question, Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
        return;
    // The file dialog opens once the window is up, in front of it.
    QTimer::singleShot(0, drawManager, [drawManager] { drawManager->importFromFile(); });
    drawManager->exec();
}

} // namespace zg
