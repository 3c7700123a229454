#include "analysis/DrawMasks.h"

#include <bit>

namespace zg {

DrawMask SetMask(const NumberSetData& set) {
    DrawMask m;
    for (std::int32_t n = 1; n <= 64; ++n)
        if (set.Member[n])
            m.low |= std::uint64_t{1} << (n - 1);
    for (std::int32_t n = 65; n <= 80; ++n)
        if (set.Member[n])
            m.high |= std::uint64_t{1} << (n - 65);
    return m;
}

DrawMask MaskOfDraw(const DrawRecord& draw) {
    DrawMask m;
    int inGame = 0;
    for (std::int32_t y : draw.Numbers) {
        // u = y - 1 in unsigned arithmetic: 0..79 for the numbers of the game, anything else above.
        const std::uint32_t u = static_cast<std::uint32_t>(y) - 1u;
        if (u < 64u) {
            m.low |= std::uint64_t{1} << u;
            ++inGame;
        } else if (u < 80u) {
            m.high |= std::uint64_t{1} << (u - 64u);
            ++inGame;
        }
    }
    if (std::popcount(m.low) + std::popcount(m.high) != inGame)
        m.high |= CountFromDraw;
    return m;
}

DrawMasks::DrawMasks(const DrawsView& draws) {
    const std::int32_t count = draws.table != nullptr && draws.count > 0 ? draws.count : 0;
    masks_.resize(static_cast<std::size_t>(count) + 1);
    dates_.resize(static_cast<std::size_t>(count) + 1);
    for (std::int32_t q = 1; q <= count; ++q) {
        const DrawRecord& d = draws[q];
        masks_[static_cast<std::size_t>(q)] = MaskOfDraw(d);
        dates_[static_cast<std::size_t>(q)] = DrawDate{d.Day, d.Month, d.Year};
    }
}

} // namespace zg
