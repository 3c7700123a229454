// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Types shared by every part of the program: one draw, the draw table as the computations
// see it, and the number set. Pure standard C++.
#include <cstdint>

namespace zg {

// Capacity of the draw table (99,999 draws, entries 1..MaxDraws).
inline constexpr std::int32_t MaxDraws = 99999;

// One draw: 24 signed 32-bit values in the database's field order.
// Numbers[0..19] hold the 1st to the 20th drawn number.
struct DrawRecord {
    std::int32_t Number = 0;
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t Day = 0;
    std::int32_t Numbers[20] = {};
};

// Read-only view of a 1-based draw table: entries 1..count are valid, entry 0 is never read.
// Computations take their draws as one of these, so they run on any table, not just the
// process-wide one.
struct DrawsView {
    const DrawRecord* table = nullptr; // table[0] exists but is unused
    std::int32_t count = 0;

    const DrawRecord& operator[](std::int32_t ordinal) const { return table[ordinal]; }
};

// True when n can stand for a lottery number (and so be used as an index of a 1..80 array).
inline constexpr bool IsLotteryNumber(std::int32_t n) {
    return n >= 1 && n <= 80;
}

// The number set the analyses run against. Arrays are 1-based like the numbers themselves:
// Numbers[1..Count] ascending, Member[n] true exactly when n is in the set.
struct NumberSetData {
    std::int32_t Count = 0;
    std::uint8_t Numbers[81] = {};
    bool Member[81] = {};
};

// Fills Count and Numbers[1..Count] (ascending; the entries after Count become 0) from the
// Member flags, which are the one truth of a set being built.
inline void CompleteNumberSet(NumberSetData& set) {
    set.Count = 0;
    for (std::int32_t n = 1; n <= 80; ++n) {
        set.Numbers[n] = 0;
        if (set.Member[n])
            set.Numbers[++set.Count] = static_cast<std::uint8_t>(n);
    }
    set.Member[0] = false;
    set.Numbers[0] = 0;
}

} // namespace zg
