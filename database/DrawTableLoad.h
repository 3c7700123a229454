// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading the database file into the process-wide draw table, as start-up and a reload after a
// whole replacement do.
#include "database/DrawDatabase.h"

#include <cstdint>
#include <optional>

namespace zg {

class DatabaseGuard;

// Loads the database file into DrawTable, through `guard` when it holds the writers' lock (else
// directly: the stamp then still is that of the bytes read), and sets DrawCount, LayoutProbe,
// DatabaseStamp and DatabaseWhole from what was read. Returns the load and, for a table whose draws
// look shifted, the ordinal where the shift starts, and whether the load failed only because there
// is no file at all (a first start).
struct DrawTableLoad {
    LoadResult loaded;
    std::optional<std::int32_t> shiftedFrom;
    bool missing = false;
};
DrawTableLoad LoadDrawTable(DatabaseGuard& guard);

} // namespace zg
