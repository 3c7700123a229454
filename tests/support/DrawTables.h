// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small draw tables and number sets for the core tests.
#include "base/DrawTypes.h"

#include <initializer_list>
#include <vector>

namespace zg::test {

// A 1-based table of `count` draws: draw q is numbered q, dated day (q - 1) % 28 + 1 of month
// ((q - 1) / 28) % 12 + 1 of 2008 + (q - 1) / 336 (so draw 101 is 17.04.2008), and holds the
// numbers 41..60, which no test set uses: it hits nothing until a test puts set numbers into it.
inline std::vector<DrawRecord> MakeTable(std::int32_t count) {
    std::vector<DrawRecord> table(static_cast<std::size_t>(count) + 1);
    for (std::int32_t q = 1; q <= count; ++q) {
        DrawRecord& d = table[static_cast<std::size_t>(q)];
        d.Number = q;
        d.Day = (q - 1) % 28 + 1;
        d.Month = ((q - 1) / 28) % 12 + 1;
        d.Year = 2008 + (q - 1) / 336;
        for (int j = 0; j < 20; ++j)
            d.Numbers[j] = 41 + j;
    }
    return table;
}

inline DrawsView View(const std::vector<DrawRecord>& table) {
    return DrawsView{table.data(), static_cast<std::int32_t>(table.size()) - 1};
}

// The set of the given numbers (1..80), in any order.
inline NumberSetData MakeSet(std::initializer_list<std::int32_t> numbers) {
    NumberSetData set;
    for (std::int32_t n : numbers)
        set.Member[n] = true;
    CompleteNumberSet(set);
    return set;
}

} // namespace zg::test
