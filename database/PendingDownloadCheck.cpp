// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/PendingDownloadCheck.h"

#include "base/DateRoutines.h"
#include "base/DrawTypes.h"
#include "database/DrawDatabase.h"

#include <string>
#include <vector>

namespace zg {

namespace {

bool IsSoundDraw(const DrawRecord& d, std::int32_t ordinal) {
    if (d.Number != ordinal || d.Year < FirstDrawYear || d.Year > LastDrawYear ||
        !IsProgramDate(d.Day, d.Month, d.Year))
        return false;
    bool seen[81] = {};
    for (std::int32_t n : d.Numbers) {
        if (!IsLotteryNumber(n) || seen[n])
            return false;
        seen[n] = true;
    }
    return true;
}

} // namespace

bool ConvertedDownloadIsSound(std::string_view downloadBytes, DrawRecord* scratchTable) {
    std::string converted(downloadBytes);
    for (char& c : converted)
        if (c < '0' || c > '9')
            c = ' ';
    std::vector<DrawRecord> own;
    if (scratchTable == nullptr) {
        own.resize(static_cast<std::size_t>(MaxDraws) + 1);
        scratchTable = own.data();
    }
    const LoadResult load = ParseDatabase(converted, scratchTable);
    // Nothing cut short either: a last group missing values, or draws beyond the table's capacity.
    if (!load.ok || load.drawCount < 1 || load.shortGroupValues != 0 || load.truncated)
        return false;
    for (std::int32_t k = 1; k <= load.drawCount; ++k)
        if (!IsSoundDraw(scratchTable[k], k))
            return false;
    return true;
}

} // namespace zg
