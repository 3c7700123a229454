#include "analysis/TAnaliza11.h"
#include "app/HintBehaviour.h"
#include "app/Startup.h"
#include "app/State.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENTAGRAFO"));
    zg::AppDir = zg::ComputeAppDir();
    zg::ApplyHintBehaviour(app);

    zg::ProgramWindows windows = zg::CreateProgramWindows();
    windows.main->setAttribute(Qt::WA_DeleteOnClose, false);
    windows.main->show();
    // Closing the main window ends the program at once, whatever else is open.
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return app.exec();
}
