// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the program: the database work of the main window's creation and the creation of
// every window, in the program's fixed order.
#include <memory>

class QWidget;

namespace zg {

class AboutWindow;
class CalendarWindow;
class ChartsWindow;
class DrawManager;
class HelpKey;
class HelpWindow;
class MainWindow;
class NumbersWindow;
class PatternsWindow;
class SetEditor;
class ZentagWindow;

// Every window of the program, owned here. The main window asks for the others by its signals;
// the Connect… functions below answer each request with its window and hand it what it reads.
struct ProgramWindows {
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<DrawManager> drawManager;
    std::unique_ptr<ZentagWindow> zentag;
    std::unique_ptr<CalendarWindow> calendar;
    std::unique_ptr<ChartsWindow> charts;
    std::unique_ptr<SetEditor> setEditor;
    std::unique_ptr<AboutWindow> about;
    std::unique_ptr<NumbersWindow> numbers;
    std::unique_ptr<PatternsWindow> patterns;
    // Last, so destroyed first: the help window may be the child of any window above while it
    // shows over it, and F1 (helpKey) opens it.
    std::unique_ptr<HelpWindow> help;
    std::unique_ptr<HelpKey> helpKey;

    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
};

// Shows `window` whenever the main window sends `request`: modally when it is a dialog.
void OpenOnRequest(MainWindow& main, void (MainWindow::*request)(), QWidget& window);

// "ZARZĄDZAJ" opens the draw management window; appended draws move the range's end when it stood
// on the last draw, a replaced table (an import, a restore) takes the start-up range, and every
// change of the range or of stored draws empties the result.
void ConnectDrawManager(MainWindow& main, DrawManager& draws);
// "LICZBA / ZESTAW LICZB" opens the set editor on the main window's set; a confirmed set reaches
// the main window, which keeps it.
void ConnectSetEditor(MainWindow& main, SetEditor& editor);
// "ZENTAG +1" opens the table on the main window's parameters, computed on its gauge when stale;
// a complete table computed there shows the range again in the main window.
void ConnectZentagWindow(MainWindow& main, ZentagWindow& zentag);
// "MAPA" opens the map on the main window's parameters, at the year of the range's last draw,
// captioned with the set.
void ConnectCalendarWindow(MainWindow& main, CalendarWindow& map);
// "Wykresy" opens (or raises) the charts on the shown result; while open they follow every search
// and empty when the result goes.
void ConnectChartsWindow(MainWindow& main, ChartsWindow& charts);
// "Tabela liczb" opens (or raises) the numbers table on the range in force and the set; while open
// it follows every change of them and of the draws.
void ConnectNumbersWindow(MainWindow& main, NumbersWindow& numbers);
// "Wzorce losowań" opens (or raises) the patterns of the range in force; while open they follow every
// change of the range and of the draws, as the numbers table does.
void ConnectPatternsWindow(MainWindow& main, PatternsWindow& patterns);

// Merges a waiting full download (asking when it is smaller than the database), loads the
// database into the process-wide draw table (with the load message on failure; a missing file is a
// first start and fails without one). AppDir must be set. Returns whether the database loaded.
bool LoadProgramDatabase(QWidget* messageParent);

// Creates the main window (merging and loading the database on the way) and the other windows,
// and connects each to the main window; the help window answers F1 in all of them. The draw management window's
// creation shows the main window.
ProgramWindows CreateProgramWindows();

// After the start-up: when the program folder has no zentag.wyn, or an empty one, asks once over
// the main window, "Pusta baza wyników", whether to read draws from a results file. Tak opens the
// draw management window (modal, as "ZARZĄDZAJ" does) with its import's file dialog in front;
// cancelling that dialog leaves the window open. AppDir must be set.
void OfferImportIntoEmptyDatabase(ProgramWindows& windows);

} // namespace zg
