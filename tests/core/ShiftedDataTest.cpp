// SPDX-License-Identifier: GPL-3.0-or-later
// Where a loaded table stops looking like consecutive draws.
#include "database/ShiftedData.h"
#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zg {
namespace {

// Draws 1..6 of 1..6 January 2008; the last gets a Number, Day, Month, Year (0: unchanged) and a
// 20th number; then the draw the check stops at (0: none).
class ShiftedData : public testing::TestWithParam<std::tuple<int, int, int, int, int, int>> {};

TEST_P(ShiftedData, FirstDrawThatBreaksTheSequence) {
    const auto [number, day, month, year, drawn, expected] = GetParam();
    auto table = zg::test::MakeTable(6);
    zg::DrawRecord& d = table[6];
    for (auto [field, value] : {std::pair{&d.Number, number}, {&d.Day, day}, {&d.Month, month}, {&d.Year, year}})
        *field = value != 0 ? value : *field;
    d.Numbers[19] = drawn;
    EXPECT_EQ(zg::FindShiftedData(zg::test::View(table)).value_or(0), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShiftedData,
                         testing::Values(std::tuple{0, 0, 0, 0, 60, 0},    // sound
                                         std::tuple{0, 0, 0, 0, 0, 0},     // a number outside 1..80: no shift
                                         std::tuple{0, 0, 0, 0, 41, 0},    // a repeated number: no shift
                                         std::tuple{0, 5, 0, 0, 60, 0},    // two draws on one day
                                         std::tuple{8, 0, 0, 0, 60, 6},    // a gap in the numbers
                                         std::tuple{0, 4, 0, 0, 60, 0},    // earlier than draw 5: no shift
                                         std::tuple{0, 1, 0, 2007, 60, 0}, // a year earlier: no shift
                                         std::tuple{0, 31, 4, 0, 60, 6},   // 31 April
                                         std::tuple{0, 0, 13, 0, 60, 6})); // month 13

} // namespace
} // namespace zg
