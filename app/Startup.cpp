#include "app/Startup.h"

#include "analysis/NumbersWindow.h"
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
#include "tables/CalendarWindow.h"
#include "tables/ZentagWindow.h"
#include "ui/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

#include <QScreen>
#include <QString>

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

ProgramWindows CreateProgramWindows() {
    ProgramWindows w;
    w.main = std::make_unique<MainWindow>();
    LoadProgramDatabase(w.main.get());
    ZentagOffset = 1;

    auto* main = w.main.get();
    // The draw management window shows the main window, centred, and fills its grid on the main
    // window's gauge.
    if (const QScreen* screen = main->screen())
        main->move(screen->availableGeometry().center() - main->rect().center());
    w.drawManager = std::make_unique<DrawManager>(main);
    DrawManager* draws = w.drawManager.get();
    draws->fillDrawGrid(main, main->gauge());
    QObject::connect(draws, &DrawManager::drawAppended, main, &MainWindow::drawCountChanged);
    QObject::connect(draws, &DrawManager::drawEdited, main, &MainWindow::resetResults);
    // An imported table may be shorter and holds other draws: the range follows, the results go.
    QObject::connect(draws, &DrawManager::drawsImported, main, &MainWindow::drawCountChanged);
    QObject::connect(draws, &DrawManager::drawsImported, main, &MainWindow::resetResults);
    main->setDrawManager(draws);

    auto zentag = std::make_unique<ZentagWindow>(main);
    main->setZentagWindow(zentag.get());
    w.zentag = std::move(zentag);

    // The calendar map lives as long as the main window, which owns it.
    main->setMapWindow(new CalendarWindow(main));

    auto editor = std::make_unique<SetEditor>(main);
    QObject::connect(editor.get(), &SetEditor::setConfirmed, main, &MainWindow::applyConfirmedSet);
    main->setSetEditor(editor.get());
    auto about = std::make_unique<AboutWindow>(main);
    main->setAboutWindow(about.get());
    w.setEditor = std::move(editor);
    w.about = std::move(about);

    // The numbers table opens on the range in force and the set, and follows every later change of
    // them and of the draws while it is shown.
    auto numbers = std::make_unique<NumbersWindow>(main);
    NumbersWindow* table = numbers.get();
    const auto handRange = [main, table] { table->showRange(main->rangeFrom(), main->rangeTo(), NumberSet); };
    QObject::connect(main, &MainWindow::numbersTableRequested, table, [table, handRange] {
        handRange();
        table->show();
        table->raise();
        table->activateWindow();
    });
    QObject::connect(main, &MainWindow::analysisInputsChanged, table, [table, handRange] {
        if (table->isVisible())
            handRange();
    });
    w.numbers = std::move(numbers);
    return w;
}

} // namespace zg
