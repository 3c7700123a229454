// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ShiftedData.h"

#include "base/DateRoutines.h"

namespace zg {

std::optional<std::int32_t> FindShiftedData(DrawsView draws) {
    if (draws.table == nullptr)
        return std::nullopt;
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& d = draws[k];
        if (!IsProgramDate(d.Day, d.Month, d.Year))
            return k;
        if (k == 1)
            continue;
        const DrawRecord& p = draws[k - 1];
        // Counted in 64 bits, so that a stored Number of INT32_MAX does not overflow. A date earlier
        // than the previous draw's is no shift: appended draws take computed dates, which a later
        // import of real dates may undercut.
        if (static_cast<std::int64_t>(d.Number) != static_cast<std::int64_t>(p.Number) + 1)
            return k;
    }
    return std::nullopt;
}

std::string ShiftedDataText(std::int32_t ordinal) {
    return "Baza wyników wygląda na uszkodzoną od losowania nr " + std::to_string(ordinal) +
           ". Wyniki analiz mogą być błędne. Sprawdź plik zentag.wyn (zentagrafo-cli info) albo zastąp bazę wynikami "
           "z pliku.";
}

} // namespace zg
