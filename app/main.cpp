#include "analysis/TAnaliza11.h"
#include "app/HintBehaviour.h"
#include "app/Startup.h"
#include "app/State.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENTAGRAFO"));
    zg::AppDir = zg::ComputeAppDir();

    // The main window's creation merges a waiting download and loads the database; the other
    // windows follow. Closing the main window ends the program at once.
    zg::ProgramWindows windows = zg::CreateProgramWindows();
    zg::ApplyHintBehaviour(app);

    windows.main->show();
    return app.exec();
}
