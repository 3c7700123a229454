// SPDX-License-Identifier: GPL-3.0-or-later
// The decisions of the draw management window that its window tests do not reach: the order of the
// checks before a change, at the capacity boundary, the date a new draw is offered and the
// checks of an entered date.
#include "database/DrawEntry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zg {
namespace {

struct CheckCase {
    int ticks;
    std::int32_t drawCount;
    bool whole;
    EntryRefusal append;
    EntryRefusal edit;
};

class EntryChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(EntryChecks, RefusalInOrder) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(CheckAppend(c.ticks, c.drawCount, c.whole), c.append);
    EXPECT_EQ(CheckEditConfirm(c.ticks, c.whole), c.edit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryChecks,
    ::testing::Values(CheckCase{20, 10, true, EntryRefusal::None, EntryRefusal::None},
                      CheckCase{19, 10, true, EntryRefusal::NotTwentyTicked, EntryRefusal::NotTwentyTicked},
                      CheckCase{21, 10, true, EntryRefusal::NotTwentyTicked, EntryRefusal::NotTwentyTicked},
                      CheckCase{20, 10, false, EntryRefusal::NotLoadedWhole, EntryRefusal::NotLoadedWhole},
                      CheckCase{20, MaxDraws - 1, true, EntryRefusal::None, EntryRefusal::None},
                      CheckCase{20, MaxDraws, true, EntryRefusal::TableFull, EntryRefusal::None},
                      CheckCase{20, MaxDraws, false, EntryRefusal::NotLoadedWhole, EntryRefusal::NotLoadedWhole}));

TEST(NextDrawRecord, FirstDrawTakesTheDateGiven) {
    TickBoxes ticked{};
    for (int n = 1; n <= 20; ++n)
        ticked[static_cast<std::size_t>(n)] = true;
    std::vector<DrawRecord> table(1);
    const DrawRecord next = NextDrawRecord(DrawsView{table.data(), 0}, TickedNumbers(ticked), CalendarDate{5, 3, 2024});
    EXPECT_EQ(next.Number, 1);
    EXPECT_EQ(next.Day, 5);
    EXPECT_EQ(next.Month, 3);
    EXPECT_EQ(next.Year, 2024);
}

// The date "Dopisz" offers after draws dated as given (DD.MM.YYYY), and the date a downloaded
// draw takes when the server sends `server` (none: {}).
struct DateCase {
    const char* name;
    std::vector<CalendarDate> stored;
    std::optional<CalendarDate> server;
    CalendarDate expected;
};

class NewDrawDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(NewDrawDate, OfferedAndDownloaded) {
    const DateCase& c = GetParam();
    std::vector<DrawRecord> table(c.stored.size() + 1);
    for (std::size_t k = 0; k < c.stored.size(); ++k)
        table[k + 1] = DrawRecord{0, c.stored[k].year, c.stored[k].month, c.stored[k].day, {}};
    const DrawsView draws{table.data(), static_cast<std::int32_t>(c.stored.size())};
    EXPECT_EQ(LatestDrawDate(draws, c.server, CalendarDate{5, 3, 2024}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewDrawDate,
    ::testing::Values(DateCase{"NoDrawsToday", {}, {}, {5, 3, 2024}},
                      DateCase{"OneOnTheLastDay", {{1, 3, 2004}, {2, 3, 2004}}, {}, {2, 3, 2004}},
                      DateCase{"TwoOnTheLastDay", {{2, 3, 2004}, {2, 3, 2004}}, {}, {3, 3, 2004}},
                      DateCase{"TwoOn28Feb2100", {{28, 2, 2100}, {28, 2, 2100}}, {}, {1, 3, 2100}},
                      DateCase{"LastNoRealDate", {{30, 2, 2004}}, {}, {5, 3, 2024}},
                      DateCase{"ServerDate", {{2, 3, 2004}}, CalendarDate{2, 3, 2004}, {2, 3, 2004}},
                      DateCase{
                          "ServerBeforeLast", {{1, 3, 2004}, {2, 3, 2004}}, CalendarDate{1, 3, 2004}, {2, 3, 2004}}),
    [](const auto& info) { return std::string(info.param.name); });

// Draws 1..4 dated 01.03, 03.03, 05.03 and 04.03.2004: the date of draw `ordinal` (5 appends)
// must lie between its neighbours' and be a real date from 1900 on, unless it is the one stored.
struct RefusalCase {
    const char* name;
    std::int32_t ordinal;
    CalendarDate date;
    std::string text; // empty: taken
};

class DateRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DateRefusals, Texts) {
    const RefusalCase& c = GetParam();
    const std::vector<DrawRecord> table{
        {}, {1, 2004, 3, 1, {}}, {2, 2004, 3, 3, {}}, {3, 2004, 3, 5, {}}, {4, 2004, 3, 4, {}}};
    const DrawsView draws{table.data(), 4};
    EXPECT_EQ(DateRefusalText(draws, c.ordinal, c.date, CheckDrawDate(draws, c.ordinal, c.date)), c.text);
}

const std::string Unchanged = " Baza wyników nie została zmieniona.";
const std::string NoRealDate = "Data losowania musi być prawdziwą datą od 01.01.1900 do 31.12.9999." + Unchanged;

INSTANTIATE_TEST_SUITE_P(
    Cases, DateRefusals,
    ::testing::Values(
        RefusalCase{"AppendOnLastDay", 5, {4, 3, 2004}, ""},
        RefusalCase{"AppendBeforeLast",
                    5,
                    {3, 3, 2004},
                    "Data losowania 03.03.2004 jest wcześniejsza niż data poprzedniego losowania (nr 4 z "
                    "04.03.2004)." +
                        Unchanged},
        RefusalCase{"EditKeepsItsDate", 3, {5, 3, 2004}, ""}, RefusalCase{"EditBetween", 2, {5, 3, 2004}, ""},
        RefusalCase{"EditAfterNext",
                    2,
                    {6, 3, 2004},
                    "Data losowania 06.03.2004 jest późniejsza niż data następnego losowania (nr 3 z 05.03.2004)." +
                        Unchanged},
        RefusalCase{"Feb29In1900", 1, {29, 2, 1900}, NoRealDate},
        RefusalCase{"Year1899", 1, {31, 12, 1899}, NoRealDate}, RefusalCase{"Feb29In2000", 1, {29, 2, 2000}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A stored draw with a value outside 1..80 or a repeated number ticks only the boxes that exist.
TEST(DrawTicks, OnlyNumbersThatHaveABox) {
    DrawRecord draw;
    for (int i = 0; i < 20; ++i)
        draw.Numbers[i] = i + 1;
    draw.Numbers[3] = 0;
    draw.Numbers[7] = 81;
    draw.Numbers[9] = 2; // repeats 2
    const TickBoxes ticks = DrawTicks(draw);
    EXPECT_EQ(TickCount(ticks), 17);
    EXPECT_FALSE(ticks[0]);
    EXPECT_TRUE(ticks[2]);
    EXPECT_EQ(TickCountText(ticks), "17/20");
}

} // namespace
} // namespace zg
