// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check a waiting full download must pass before it may replace the database: the download
// converted as the merge converts it (digits kept, every other byte a blank) must load as a
// database holding at least one draw and nothing cut short, and every draw must be one the game can have
// drawn: the draws numbered 1, 2, ... in file order, a date that exists by the program's calendar
// (every year divisible by 4 is a leap year) in a year 1951..2999, and 20 different numbers
// 1..80. An HTML error page, a truncated answer, a file holding one huge number or a file of one
// draw repeated fails, and the old database stays.
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

} // namespace zg
