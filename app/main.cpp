// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "app/ProgramApplication.h"
#include "app/Startup.h"
#include "base/State.h"
#include "ui/PolishTexts.h"
#include "ui/ProgramStyle.h"

#include <QIcon>
#include <QTimer>

#include <csignal>
#include <new>

int main(int argc, char** argv) {
    // Under a file-size limit a write fails with "File too large" and gets the operation's usual
    // message, instead of the signal ending the program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Running out of memory in a window ends the program with a message (ProgramApplication).
    zg::ProgramApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENTAGRAFO"));
    // The interface is Polish whatever the user's locale, Qt's standard dialogs included.
    zg::InstallQtPolishTranslation();
    // A focus frame that shows on every control, disabled texts readable on any palette, and the
    // hints' behaviour.
    zg::InstallProgramStyle(app);
    // Every window carries the program's icon; the desktop entry written by scripts/install.sh is
    // zentagrafo.desktop, which lets the desktop match the running windows to it.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zentagrafo.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("zentagrafo"));
    zg::AppDir = zg::ComputeAppDir();

    // Start-up (loading the database among others) runs before the event loop, outside notify().
    try {
        // The main window's creation merges a waiting download and loads the database; the other
        // windows follow. Closing the main window ends the program at once.
        zg::ProgramWindows windows = zg::CreateProgramWindows();

        windows.main->show();
        // Once the start-up has finished: an empty database leads to the import.
        QTimer::singleShot(0, windows.main.get(), [&windows] { zg::OfferImportIntoEmptyDatabase(windows); });
        return app.exec();
    } catch (const std::bad_alloc&) {
        zg::EndOutOfMemory();
    }
}
