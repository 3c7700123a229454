// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the core benchmarks measure on: the full sample table of 99,999 draws (made once), its
// draw masks, and sets spread over 1..80.
#include "base/DrawMasks.h"
#include "base/DrawTypes.h"
#include "tools/sample/SampleGenerator.h"

namespace zg::bench {

inline const SampleDatabase& FullTable() {
    static const SampleDatabase db = GenerateSampleDatabase(MaxDraws, 20240601u, SampleLayout::YearFirst);
    return db;
}

inline const DrawMasks& FullMasks() {
    static const DrawMasks masks(FullTable().View());
    return masks;
}

// k numbers spread over 1..80: (3 + 7i) mod 80 + 1 for i = 0..k-1, all different since 7 and 80
// are coprime.
inline NumberSetData SpreadSet(std::int32_t k) {
    NumberSetData set;
    for (std::int32_t i = 0; i < k; ++i)
        set.Member[(3 + 7 * i) % 80 + 1] = true;
    CompleteNumberSet(set);
    return set;
}

} // namespace zg::bench
