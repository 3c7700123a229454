// SPDX-License-Identifier: GPL-3.0-or-later
// zg_startup_process DIR [--open]: the program's start-up over the program folder DIR (its
// zentag.wyn), offscreen: the windows are created as the program creates them, the main window is
// shown, the event loop runs and ends on its first pass. Timed as a whole process by process_bench
// (an empty database against a full one); /usr/bin/time -v gives its peak memory. With --open,
// before the event loop: the set 1..10 is confirmed, "Oblicz" finds draws 1..40,000 (hits 0..10),
// the draw management window is shown and the complete ZENTAG table of those draws is computed
// and shown, as a user would have them open. Any message box that start-up would have shown makes
// it end with status 1 instead of waiting for an answer.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/State.h"
#include "database/DrawManager.h"
#include "tables/ZentagWindow.h"
#include "ui/Dialogs.h"
#include "ui/PolishTexts.h"
#include "ui/ProgramStyle.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void SetField(QWidget* w, const char* name, const char* text) {
    if (auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name)))
        e->setText(QString::fromLatin1(text));
}

// A search over draws 1..40,000 that all qualify, the management window and the ZENTAG table shown.
void OpenWindows(zg::ProgramWindows& windows) {
    zg::NumberSetData set;
    for (int n = 1; n <= 10; ++n)
        set.Member[n] = true;
    zg::CompleteNumberSet(set);
    zg::MainWindow& main = *windows.main;
    main.applyConfirmedSet(set);
    SetField(&main, "rangeFromEdit", "1");
    SetField(&main, "rangeToEdit", "40000");
    SetField(&main, "hitsFromEdit", "0");
    SetField(&main, "hitsToEdit", "10");
    main.search();
    windows.drawManager->show();
    if (auto* zentag = qobject_cast<zg::ZentagWindow*>(windows.zentag.get())) {
        zentag->setRequest(main.zentagRequest());
        zentag->computeTable(main.gauge());
        zentag->show();
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool open = argc == 3 && std::strcmp(argv[2], "--open") == 0;
    if (argc != 2 && !open) {
        std::fputs("Usage: zg_startup_process DIR [--open]\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENTAGRAFO"));
    zg::InstallQtPolishTranslation(); // as the program does
    zg::InstallProgramStyle(app);
    zg::AppDir = argv[1];
    zg::Dialogs::SetTestMode(true);

    zg::ProgramWindows windows = zg::CreateProgramWindows();
    windows.main->show();
    if (open)
        OpenWindows(windows);
    QTimer::singleShot(0, &app, &QApplication::quit);
    const int status = app.exec();
    if (!zg::Dialogs::History().isEmpty()) {
        std::fprintf(stderr, "start-up showed a message: %s\n",
                     zg::Dialogs::History().front().text.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d draws, %d found\n", zg::DrawCount, windows.main->foundCount());
    return status;
}
