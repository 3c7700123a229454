// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every analysis of the draws is asked: which draws (the table and, when built for it, their
// masks), which range of them, which set and which hit bounds. The windows get it from the main
// window, the commands build it from their options; each computation reads the fields it needs.
#include "base/DrawTypes.h"

#include <cstdint>

namespace zg {

class DrawMasks;

struct DrawQuery {
    DrawsView draws;
    const DrawMasks* masks = nullptr; // the draws' masks when built for this view, else null
    NumberSetData set;
    std::int32_t rangeFrom = 0; // draw ordinals, both inclusive
    std::int32_t rangeTo = 0;
    std::int32_t hitsFrom = 0; // hit bounds, both inclusive
    std::int32_t hitsTo = 0;
};

} // namespace zg
