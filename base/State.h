#pragma once
// The process-wide state of the running program. Only windows, the start-up code and the
// command-line tool touch it; every computation takes what it reads as parameters.
#include "base/DrawTypes.h"
#include "base/SafeFile.h"

#include <string>

namespace zg {

class DrawMasks;

extern DrawRecord DrawTable[MaxDraws + 1];    // 1-based; allocated once with the process
extern std::int32_t DrawCount;                // valid entries 1..DrawCount
extern std::int32_t LayoutProbe;              // second integer of the database file
extern NumberSetData NumberSet;               // changed only by confirming a set in the editor
extern std::string AppDir;                    // folder of the executable, no trailing slash
extern std::int32_t FoundDraws[MaxDraws + 1]; // ordinals found by the last search, 1-based
extern std::int32_t FoundCount;
extern std::int32_t ZentagOffset; // signed distance of the ZENTAG table, -99..99
extern bool ZentagTableValid;     // the ZENTAG window holds a table for the current result
extern FileStamp DatabaseStamp;   // the database file as the program last loaded or wrote it

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

// Path of a file in AppDir.
std::string AppPath(const std::string& name);

// The folder of the running executable, from /proc/self/exe, without a trailing slash.
std::string ComputeAppDir();

} // namespace zg
