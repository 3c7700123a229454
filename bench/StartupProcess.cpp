// zg_startup_process DIR: the program's start-up over the program folder DIR (its zentag.wyn),
// offscreen: the windows are created as the program creates them, the main window is shown, the
// event loop runs and ends on its first pass. Timed as a whole process by process_bench (an empty
// database against a full one); /usr/bin/time -v gives its peak memory. Any message box that
// start-up would have shown makes it end with status 1 instead of waiting for an answer.
#include "analysis/TAnaliza11.h"
#include "app/HintBehaviour.h"
#include "app/Startup.h"
#include "app/State.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: zg_startup_process DIR\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENTAGRAFO"));
    zg::AppDir = argv[1];
    zg::Dialogs::SetTestMode(true);

    zg::ProgramWindows windows = zg::CreateProgramWindows();
    zg::ApplyHintBehaviour(app);
    windows.main->show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    const int status = app.exec();
    if (!zg::Dialogs::History().isEmpty()) {
        std::fprintf(stderr, "start-up showed a message: %s\n",
                     zg::Dialogs::History().front().text.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d\n", zg::DrawCount);
    return status;
}
