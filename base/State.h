// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide state of the running program: the draw table with the state of its file, and
// the program folder. Only windows, the start-up code and the command-line tool touch it; every
// computation takes what it reads as parameters. What a search found, the set and the ZENTAG
// distance belong to the main window, which hands them on as values.
#include "base/DrawTypes.h"
#include "base/SafeFile.h"

#include <string>

namespace zg {

class DrawMasks;

extern DrawRecord DrawTable[MaxDraws + 1]; // 1-based; allocated once with the process
extern std::int32_t DrawCount;             // valid entries 1..DrawCount
extern std::int32_t LayoutProbe;           // second integer of the database file
extern std::string AppDir;                 // folder of the executable, no trailing slash
extern FileStamp DatabaseStamp;            // the database file as the program last loaded or wrote it

// The table holds everything the database file holds, in its right places. False after a failed
// load of an existing file, a load that ended inside a group, one cut at MaxDraws, or one whose
// draws look shifted (FindShiftedData): writing the file then would lose draws or carry the
// damage on, so the program refuses to change the database. Whoever replaces the whole database
// file with sound draws reloads the table (LoadDrawTable), which sets it true again.
extern bool DatabaseWhole;

// The whole draw table as the computations take it.
inline DrawsView AllDraws() {
    return DrawsView{DrawTable, DrawCount};
}

// The masks of draws 1..DrawCount for the searches, built at the first call after the table changed.
// A new DrawCount is noticed by itself; whoever rewrites entries of DrawTable in place (a load, an
// edit of a draw) calls DrawTableChanged(), or the searches keep counting the old numbers.
const DrawMasks& AllDrawMasks();
void DrawTableChanged();

// Everything above as at the start of the process: no draws (the table emptied), no layout read,
// a whole database, no stamp, no program folder, and no masks kept. For tests that start afresh.
void ResetProgramState();

// Path of a file in AppDir.
std::string AppPath(const std::string& name);

// The folder of the running executable, from /proc/self/exe, without a trailing slash.
std::string ComputeAppDir();

} // namespace zg
