// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decisions of the draw management window, apart from the window itself: the line of ticked
// numbers and their count, the prompt lines, the checks before "Dopisz" and "OK", the date a new
// draw is offered and the checks of an entered date, the record of the next draw, the boxes an
// edited draw ticks and the correction of a draw, and the texts of the window's messages. Pure
// standard C++.
#include "base/DateRoutines.h"
#include "base/DrawTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// The state of the 80 tick boxes: ticked[n] for the numbers 1..80; ticked[0] is unused.
using TickBoxes = std::array<bool, 81>;

// The 20 numbers of a draw in the order they are stored.
using DrawNumbers = std::array<std::int32_t, 20>;

// ---- captions and texts of the window's messages (UTF-8) ----
inline constexpr std::string_view RefusalCaption = "Pouczenie...";
inline constexpr std::string_view AppendNotTwentyText = "Najpierw musisz zaznaczyć 20 wylosowanych liczb !!!";
inline constexpr std::string_view EditNotTwentyText = "Musisz zaznaczyć 20 wylosowanych liczb !!!";
inline constexpr std::string_view TableFullText =
    "Baza wyników jest pełna: program przechowuje najwyżej 99999 losowań.";
inline constexpr std::string_view NotLoadedWholeText =
    "Baza wyników nie została wczytana w całości, dlatego nie można jej teraz zmieniać. Popraw plik zentag.wyn albo "
    "pobierz wszystkie wyniki i uruchom program ponownie.";
inline constexpr std::string_view AppendedCaption = "Dopisano nowe wyniki...";
inline constexpr std::string_view AppendedText = "Operacja dopisywania wyników zakończona pomyślnie :-)";
inline constexpr std::string_view EditedCaption = "Zmiana bazy wyników...";
inline constexpr std::string_view EditedText = "Operacja edycji wyników zakończona pomyślnie :-)";
inline constexpr std::string_view ExportSavedCaption = " Zapis do pliku zakończony pomyślnie";
inline constexpr std::string_view ExportSavedTextStart = "Baza wyników losowań została umieszczona w pliku ";

// How many boxes are ticked.
int TickCount(const TickBoxes& ticked);

// The line of ticked numbers: a space, then the 1st to 19th ticked number (ascending) each as two
// digits and a comma, the 20th without the comma; further ticked numbers add nothing.
// Ticks 5, 17, 33 give " 05,17,33,".
std::string TickedLineText(const TickBoxes& ticked);

// The count of ticked boxes with at least two digits and "/20": "03/20", "21/20".
std::string TickCountText(const TickBoxes& ticked);

// The ticked numbers in ascending order. Only meaningful with exactly 20 ticked (the first 20 are
// taken; missing ones are 0).
DrawNumbers TickedNumbers(const TickBoxes& ticked);

// The prompt line of normal mode, for the draw that "Dopisz" would add (drawCount + 1), or
// TableFullText when the table already holds MaxDraws draws; and that of edit mode for the edited
// draw.
std::string AppendPromptText(std::int32_t drawCount);
std::string EditPromptText(std::int32_t editedDrawIndex);

// Why "Dopisz" or "OK" must not change the database (checked in this order).
enum class EntryRefusal {
    None,
    NotTwentyTicked, // not exactly 20 boxes ticked
    NotLoadedWhole,  // the database file holds more than the table does: writing would lose or shift draws
    TableFull,       // the table already holds MaxDraws draws (append only)
};
EntryRefusal CheckAppend(int tickCount, std::int32_t drawCount, bool databaseWhole);
EntryRefusal CheckEditConfirm(int tickCount, bool databaseWhole);

// ---- the date of a new or corrected draw ----

// The date "Dopisz" offers for the draw after draws 1..count. This game draws twice a day: when
// exactly one draw of the table bears the last draw's date, the new draw is that day's second
// one and gets the same date; otherwise (two or more draws on it) the next calendar day. With no
// draws, or a last date that is no real date from 1900 on, `today`.
CalendarDate DefaultAppendDate(DrawsView draws, CalendarDate today);

// The date of the latest draw sent by the results server: `server` when it is given and not
// earlier than the last draw's date, else DefaultAppendDate.
CalendarDate LatestDrawDate(DrawsView draws, const std::optional<CalendarDate>& server, CalendarDate today);

// Why a date cannot be stored for draw `ordinal` (count + 1 for a new draw). A correction that
// keeps the draw's stored date is never refused: in a table whose dates already run out of order
// (computed dates of earlier appends) the numbers of any draw can still be corrected.
enum class DateRefusal {
    None,
    NotRealDate,    // not a real Gregorian date of the years 1900..9999
    BeforePrevious, // earlier than the date of draw ordinal - 1
    AfterNext,      // later than the date of draw ordinal + 1 (a correction)
};
DateRefusal CheckDrawDate(DrawsView draws, std::int32_t ordinal, CalendarDate date);

// The message of a refusal, naming the neighbouring draw by its ordinal and stored date; empty
// for DateRefusal::None.
std::string DateRefusalText(DrawsView draws, std::int32_t ordinal, CalendarDate date, DateRefusal refusal);

// The record of the draw that follows draws 1..count: its Number is its ordinal (count + 1), its
// date `date`. The numbers are taken as given (ascending from TickedNumbers).
DrawRecord NextDrawRecord(DrawsView draws, const DrawNumbers& numbers, CalendarDate date);

// The boxes that show a stored draw for editing: each of its numbers that lies in 1..80. A draw
// holding a repeated number or one outside 1..80 ticks fewer than 20 boxes.
TickBoxes DrawTicks(const DrawRecord& draw);

// The draw with its 20 numbers and its date replaced; its Number stays.
DrawRecord Corrected(const DrawRecord& draw, const DrawNumbers& numbers, CalendarDate date);

} // namespace zg
