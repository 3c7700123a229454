#pragma once
// The check a waiting full download must pass before it may replace the database: the download
// converted as the merge converts it (digits kept, every other byte a blank) must load as a
// database holding at least one complete draw, and every draw must have a month 1..12, a day
// 1..31 and 20 numbers 1..80. An HTML error page, a truncated answer or a file holding one huge
// number fails, and the old database stays.
#include <string>
#include <string_view>

namespace zg {

struct DrawRecord;

inline constexpr std::string_view DamagedDownloadCaption = "Błąd!";
inline constexpr std::string_view DamagedDownloadText =
    "Pobrany plik z wynikami jest uszkodzony i nie został użyty. Dotychczasowa baza wyników pozostała bez zmian.";

// True when the converted bytes make a usable database. Loads them into `scratchTable`, a table of
// MaxDraws + 1 records whose content is overwritten; without one (nullptr) into a table of its own.
// A caller that checks many downloads hands in one table and spares the allocation each time.
bool ConvertedDownloadIsSound(std::string_view downloadBytes, DrawRecord* scratchTable = nullptr);

// The same for the file at `path`; a file that cannot be read, is not a regular file or is larger
// than any download may be is not sound.
bool PendingDownloadIsSound(const std::string& path, DrawRecord* scratchTable = nullptr);

} // namespace zg
