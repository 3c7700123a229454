// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DrawTableLoad.h"

#include "base/State.h"
#include "database/DatabaseGuard.h"
#include "database/ShiftedData.h"

#include <filesystem>

namespace zg {

DrawTableLoad LoadDrawTable(DatabaseGuard& guard) {
    DrawTableLoad r;
    DrawCount = 0;
    r.loaded =
        guard.status() == DatabaseGuard::Status::Ready ? guard.Load(DrawTable) : LoadDatabase(guard.path(), DrawTable);
    DrawTableChanged();
    // Known also after a failed load, so that a later append writes the file's own layout.
    LayoutProbe = r.loaded.layoutProbe;
    DatabaseStamp = r.loaded.stamp;
    if (!r.loaded.ok) {
        // Only a missing file leaves nothing unread behind.
        std::error_code ec;
        r.missing = std::filesystem::status(guard.path(), ec).type() == std::filesystem::file_type::not_found;
        DatabaseWhole = r.missing;
        return r;
    }
    DrawCount = r.loaded.drawCount;
    r.shiftedFrom = FindShiftedData(AllDraws());
    DatabaseWhole = !r.loaded.truncated && r.loaded.shortGroupValues == 0 && !r.shiftedFrom;
    return r;
}

} // namespace zg
