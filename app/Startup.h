#pragma once
// Start-up of the program: the database work of the main window's creation and the creation of
// every window, in the program's fixed order.
#include <memory>

class QWidget;

namespace zg {

class MainWindow;
class DrawManager;

struct ProgramWindows {
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<DrawManager> drawManager;
    std::unique_ptr<QWidget> zentag;
    std::unique_ptr<QWidget> setEditor;
    std::unique_ptr<QWidget> about;
    std::unique_ptr<QWidget> numbers; // not modal: it follows the main window's range and set

    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
};

// Merges a waiting full download (asking when it is smaller than the database), loads the
// database into the process-wide draw table (with the load message on failure). AppDir must be
// set. Returns whether the database loaded.
bool LoadProgramDatabase(QWidget* messageParent);

// Creates the main window (merging and loading the database on the way) and the other windows,
// and wires them together. The draw management window's creation shows the main window.
ProgramWindows CreateProgramWindows();

} // namespace zg
