#include "database/ShiftedData.h"

#include "base/DateRoutines.h"

#include <tuple>

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
        // Counted in 64 bits, so that a stored Number of INT32_MAX does not overflow.
        if (static_cast<std::int64_t>(d.Number) != static_cast<std::int64_t>(p.Number) + 1 ||
            std::tie(d.Year, d.Month, d.Day) < std::tie(p.Year, p.Month, p.Day))
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
