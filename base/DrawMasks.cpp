#include "base/DrawMasks.h"

#include "base/PopcountClones.h"

#include <bit>
#include <cstring>

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

namespace {

// Four numbers at a time in vector lanes, without a branch (a branch on which half a number falls
// in would be taken at random). u = y - 1 in unsigned arithmetic is 0..79 for the numbers of the
// game; anything else, a value below 1 among them, lies above and sets no bit.
inline DrawMask Mask(const DrawRecord& draw) {
    using Lanes = std::uint64_t __attribute__((vector_size(32)));
    using Numbers = std::int32_t __attribute__((vector_size(16)));
    const Lanes one = {1, 1, 1, 1};
    Lanes low = {}, high = {}, inGame = {};
    for (std::size_t i = 0; i < 20; i += 4) {
        Numbers y;
        std::memcpy(&y, draw.Numbers + i, sizeof y);
        const Lanes u = __builtin_convertvector(y, Lanes) - one;
        const Lanes bit = one << (u & 63u);
        low |= bit & reinterpret_cast<Lanes>(u < 64u);
        high |= bit & reinterpret_cast<Lanes>(u - 64u < 16u);
        inGame -= reinterpret_cast<Lanes>(u < 80u); // a true lane is all ones: minus one
    }
    DrawMask m;
    m.low = low[0] | low[1] | low[2] | low[3];
    m.high = high[0] | high[1] | high[2] | high[3];
    const std::uint64_t counted = inGame[0] + inGame[1] + inGame[2] + inGame[3];
    if (static_cast<std::uint64_t>(std::popcount(m.low) + std::popcount(m.high)) != counted)
        m.high |= CountFromDraw;
    return m;
}

// The build loop, compiled also for processors with AVX2 (variable shifts of 64-bit lanes) and with
// the popcount instruction; the best one the processor runs is chosen once at load time.
ZG_VECTOR_CLONES void BuildMasks(const DrawRecord* draws, std::int32_t count, DrawMask* masks, DrawDate* dates) {
    for (std::int32_t i = 0; i < count; ++i) {
        const DrawRecord& d = draws[i];
        masks[i] = Mask(d);
        dates[i] = DrawDate{d.Day, d.Month, d.Year};
    }
}

} // namespace

ZG_VECTOR_CLONES DrawMask MaskOfDraw(const DrawRecord& draw) {
    return Mask(draw);
}

DrawMasks::DrawMasks(const DrawsView& draws) {
    const std::int32_t count = draws.table != nullptr && draws.count > 0 ? draws.count : 0;
    masks_.resize(static_cast<std::size_t>(count) + 1);
    dates_.resize(static_cast<std::size_t>(count) + 1);
    if (count > 0)
        BuildMasks(&draws[1], count, &masks_[1], &dates_[1]);
}

} // namespace zg
