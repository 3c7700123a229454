// The decisions of the draw management window: the ticked line and count, the checks before a
// change, the next draw's record and the boxes an edited draw ticks.
#include "database/DrawEntry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace zg {
namespace {

TickBoxes Ticked(std::initializer_list<int> numbers) {
    TickBoxes t{};
    for (int n : numbers)
        t[static_cast<std::size_t>(n)] = true;
    return t;
}

TickBoxes FirstTicked(int count) {
    TickBoxes t{};
    for (int n = 1; n <= count; ++n)
        t[static_cast<std::size_t>(n)] = true;
    return t;
}

TEST(TickedLine, ThreeTicks) {
    const TickBoxes t = Ticked({33, 5, 17});
    EXPECT_EQ(TickedLineText(t), " 05,17,33,");
    EXPECT_EQ(TickCountText(t), "03/20");
}

TEST(TickedLine, TwentyOneTicksShowTheFirstTwentyWithoutTheLastComma) {
    const TickBoxes t = FirstTicked(21);
    EXPECT_EQ(TickedLineText(t), " 01,02,03,04,05,06,07,08,09,10,11,12,13,14,15,16,17,18,19,20");
    EXPECT_EQ(TickCountText(t), "21/20");
    EXPECT_EQ(TickCountText(TickBoxes{}), "00/20");
    EXPECT_EQ(TickedLineText(TickBoxes{}), " ");
}

TEST(PromptLines, NameTheNextDrawOrTheEditedOne) {
    EXPECT_EQ(AppendPromptText(4000), "Zaznacz wylosowane liczby w losowaniu nr 4001 i naciśnij \"Dopisz\"");
    EXPECT_EQ(EditPromptText(10), "Edycja losowania nr 10...zaznacz 20 liczb i naciśnij \"OK\"");
}

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

struct NextDateCase {
    CalendarDate last;
    CalendarDate next;
};

class NextDrawDate : public ::testing::TestWithParam<NextDateCase> {};

TEST_P(NextDrawDate, IsTheCalendarDayAfterTheLastDraw) {
    std::vector<DrawRecord> table(3);
    table[2].Number = 7; // a stored number other than the ordinal: the new draw still gets its ordinal
    table[2].Day = GetParam().last.day;
    table[2].Month = GetParam().last.month;
    table[2].Year = GetParam().last.year;
    const DrawNumbers numbers = TickedNumbers(FirstTicked(20));
    const DrawRecord next = NextDrawRecord(DrawsView{table.data(), 2}, numbers, CalendarDate{9, 9, 2099});
    EXPECT_EQ(next.Number, 3);
    EXPECT_EQ(next.Day, GetParam().next.day);
    EXPECT_EQ(next.Month, GetParam().next.month);
    EXPECT_EQ(next.Year, GetParam().next.year);
    EXPECT_EQ(next.Numbers[0], 1);
    EXPECT_EQ(next.Numbers[19], 20);
}

INSTANTIATE_TEST_SUITE_P(Dates, NextDrawDate,
                         ::testing::Values(NextDateCase{{28, 2, 2003}, {1, 3, 2003}},
                                           NextDateCase{{28, 2, 2004}, {29, 2, 2004}},
                                           NextDateCase{{31, 12, 2004}, {1, 1, 2005}},
                                           NextDateCase{{30, 4, 2004}, {1, 5, 2004}}));

TEST(NextDrawRecord, EmptyTableIsDatedToday) {
    std::vector<DrawRecord> table(1);
    const DrawRecord next =
        NextDrawRecord(DrawsView{table.data(), 0}, TickedNumbers(FirstTicked(20)), CalendarDate{5, 3, 2024});
    EXPECT_EQ(next.Number, 1);
    EXPECT_EQ(next.Day, 5);
    EXPECT_EQ(next.Month, 3);
    EXPECT_EQ(next.Year, 2024);
}

TEST(DrawTicks, OnlyNumbersOfTheGameAreTicked) {
    DrawRecord d;
    for (int i = 0; i < 20; ++i)
        d.Numbers[i] = i + 1;
    d.Numbers[3] = 0;   // outside 1..80
    d.Numbers[4] = 81;  // outside 1..80
    d.Numbers[5] = 1;   // a repeat
    d.Numbers[6] = -40; // negative
    const TickBoxes t = DrawTicks(d);
    EXPECT_EQ(TickCount(t), 16);
    EXPECT_FALSE(t[4]);
    EXPECT_TRUE(t[1]);
    EXPECT_TRUE(t[20]);
}

TEST(WithNumbers, KeepsNumberAndDate) {
    DrawRecord d;
    d.Number = 9;
    d.Day = 7;
    d.Month = 3;
    d.Year = 2004;
    const DrawRecord changed = WithNumbers(d, TickedNumbers(FirstTicked(20)));
    EXPECT_EQ(changed.Number, 9);
    EXPECT_EQ(changed.Day, 7);
    EXPECT_EQ(changed.Month, 3);
    EXPECT_EQ(changed.Year, 2004);
    EXPECT_EQ(changed.Numbers[19], 20);
}

} // namespace
} // namespace zg
