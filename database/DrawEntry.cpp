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

DrawRecord NextDrawRecord(DrawsView draws, const DrawNumbers& numbers, CalendarDate today) {
    DrawRecord next;
    next.Number = draws.count + 1;
    if (draws.count >= 1) {
        const DrawRecord& last = draws[draws.count];
        next.Day = last.Day;
        next.Month = last.Month;
        next.Year = last.Year;
        NextCalendarDay(next.Day, next.Month, next.Year);
    } else {
        next.Day = today.day;
        next.Month = today.month;
        next.Year = today.year;
    }
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

DrawRecord WithNumbers(const DrawRecord& draw, const DrawNumbers& numbers) {
    DrawRecord changed = draw;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        changed.Numbers[i] = numbers[i];
    return changed;
}

} // namespace zg
