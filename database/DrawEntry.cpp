// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DrawEntry.h"

#include "base/DateRoutines.h"
#include "base/NumberFormat.h"

namespace zg {

int TickCount(const TickBoxes& ticked) {
    int count = 0;
    for (int n = 1; n <= 80; ++n)
        count += ticked[static_cast<std::size_t>(n)] ? 1 : 0;
    return count;
}

std::string TickedLineText(const TickBoxes& ticked) {
    std::string line = " ";
    int count = 0;
    for (int n = 1; n <= 80; ++n) {
        if (!ticked[static_cast<std::size_t>(n)])
            continue;
        ++count;
        if (count < 20)
            line += ZeroPad(n, 2) + ",";
        else if (count == 20)
            line += ZeroPad(n, 2);
    }
    return line;
}

std::string TickCountText(const TickBoxes& ticked) {
    return ZeroPad(TickCount(ticked), 2) + "/20";
}

DrawNumbers TickedNumbers(const TickBoxes& ticked) {
    DrawNumbers numbers{};
    std::size_t i = 0;
    for (int n = 1; n <= 80 && i < numbers.size(); ++n)
        if (ticked[static_cast<std::size_t>(n)])
            numbers[i++] = n;
    return numbers;
}

std::string AppendPromptText(std::int32_t drawCount) {
    // A full table has no next draw to invite: "Dopisz" would refuse it.
    if (drawCount >= MaxDraws)
        return std::string(TableFullText);
    return "Zaznacz wylosowane liczby w losowaniu nr " + std::to_string(static_cast<std::int64_t>(drawCount) + 1) +
           " i naciśnij \"Dopisz\"";
}

std::string EditPromptText(std::int32_t editedDrawIndex) {
    return "Edycja losowania nr " + std::to_string(editedDrawIndex) + "...zaznacz 20 liczb i naciśnij \"OK\"";
}

EntryRefusal CheckAppend(int tickCount, std::int32_t drawCount, bool databaseWhole) {
    if (tickCount != 20)
        return EntryRefusal::NotTwentyTicked;
    if (!databaseWhole)
        return EntryRefusal::NotLoadedWhole;
    if (drawCount >= MaxDraws)
        return EntryRefusal::TableFull;
    return EntryRefusal::None;
}

EntryRefusal CheckEditConfirm(int tickCount, bool databaseWhole) {
    if (tickCount != 20)
        return EntryRefusal::NotTwentyTicked;
    if (!databaseWhole)
        return EntryRefusal::NotLoadedWhole;
    return EntryRefusal::None;
}

CalendarDate DefaultAppendDate(DrawsView draws, CalendarDate today) {
    if (draws.count < 1)
        return today;
    const CalendarDate last = CalendarDateOf(draws[draws.count]);
    if (!IsEnteredDate(last))
        return today;
    std::int32_t sameDay = 0;
    for (std::int32_t k = draws.count; k >= 1 && sameDay < 2; --k)
        if (CalendarDateOf(draws[k]) == last)
            ++sameDay;
    if (sameDay == 1)
        return last;
    const CalendarDate next = NextGregorianDay(last);
    return IsEnteredDate(next) ? next : last;
}

CalendarDate LatestDrawDate(DrawsView draws, const std::optional<CalendarDate>& server, CalendarDate today) {
    if (server && IsEnteredDate(*server) &&
        (draws.count < 1 || CompareDates(*server, CalendarDateOf(draws[draws.count])) >= 0))
        return *server;
    return DefaultAppendDate(draws, today);
}

DateRefusal CheckDrawDate(DrawsView draws, std::int32_t ordinal, CalendarDate date) {
    if (ordinal >= 1 && ordinal <= draws.count && date == CalendarDateOf(draws[ordinal]))
        return DateRefusal::None;
    if (!IsEnteredDate(date))
        return DateRefusal::NotRealDate;
    if (ordinal > 1 && ordinal - 1 <= draws.count && CompareDates(date, CalendarDateOf(draws[ordinal - 1])) < 0)
        return DateRefusal::BeforePrevious;
    if (ordinal >= 0 && ordinal < draws.count && CompareDates(date, CalendarDateOf(draws[ordinal + 1])) > 0)
        return DateRefusal::AfterNext;
    return DateRefusal::None;
}

std::string DateRefusalText(DrawsView draws, std::int32_t ordinal, CalendarDate date, DateRefusal refusal) {
    const auto neighbour = [&](std::int32_t k) {
        return " (nr " + std::to_string(k) + " z " + DateLongText(CalendarDateOf(draws[k])) + "). ";
    };
    switch (refusal) {
    case DateRefusal::None:
        return {};
    case DateRefusal::NotRealDate:
        return "Data losowania musi być prawdziwą datą od 01.01.1900 do 31.12.9999. Baza wyników nie została "
               "zmieniona.";
    case DateRefusal::BeforePrevious:
        return "Data losowania " + DateLongText(date) + " jest wcześniejsza niż data poprzedniego losowania" +
               neighbour(ordinal - 1) + "Baza wyników nie została zmieniona.";
    case DateRefusal::AfterNext:
        return "Data losowania " + DateLongText(date) + " jest późniejsza niż data następnego losowania" +
               neighbour(ordinal + 1) + "Baza wyników nie została zmieniona.";
    }
    return {};
}

DrawRecord NextDrawRecord(DrawsView draws, const DrawNumbers& numbers, CalendarDate date) {
    DrawRecord next;
    next.Number = draws.count + 1;
    next.Day = date.day;
    next.Month = date.month;
    next.Year = date.year;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        next.Numbers[i] = numbers[i];
    return next;
}

TickBoxes DrawTicks(const DrawRecord& draw) {
    TickBoxes ticked{};
    for (std::int32_t n : draw.Numbers)
        if (IsLotteryNumber(n))
            ticked[static_cast<std::size_t>(n)] = true;
    return ticked;
}

DrawRecord Corrected(const DrawRecord& draw, const DrawNumbers& numbers, CalendarDate date) {
    DrawRecord changed = draw;
    changed.Day = date.day;
    changed.Month = date.month;
    changed.Year = date.year;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        changed.Numbers[i] = numbers[i];
    return changed;
}

} // namespace zg
