// The decisions of the draw management window that its window tests do not reach: the order of the
// checks before a change, at the capacity boundary, and the date of a first draw.
#include "database/DrawEntry.h"

#include <gtest/gtest.h>

#include <vector>

namespace zg {
namespace {

TickBoxes FirstTicked(int count) {
    TickBoxes t{};
    for (int n = 1; n <= count; ++n)
        t[static_cast<std::size_t>(n)] = true;
    return t;
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

TEST(NextDrawRecord, EmptyTableIsDatedToday) {
    std::vector<DrawRecord> table(1);
    const DrawRecord next =
        NextDrawRecord(DrawsView{table.data(), 0}, TickedNumbers(FirstTicked(20)), CalendarDate{5, 3, 2024});
    EXPECT_EQ(next.Number, 1);
    EXPECT_EQ(next.Day, 5);
    EXPECT_EQ(next.Month, 3);
    EXPECT_EQ(next.Year, 2024);
}

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
