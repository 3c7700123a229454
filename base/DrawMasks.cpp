#include "base/DrawMasks.h"

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

namespace {

inline DrawMask Mask(const DrawRecord& draw) {
    DrawMask m;
    std::uint32_t inGame = 0;
    for (std::int32_t y : draw.Numbers) {
        // u = y - 1 in unsigned arithmetic: 0..79 for the numbers of the game, anything else above.
        // Without branches: a number outside a half shifts a zero bit into it.
        const std::uint32_t u = static_cast<std::uint32_t>(y) - 1u;
        m.low |= std::uint64_t{u < 64u} << (u & 63u);
        m.high |= std::uint64_t{u - 64u < 16u} << ((u - 64u) & 63u);
        inGame += u < 80u;
    }
    if (static_cast<std::uint32_t>(std::popcount(m.low) + std::popcount(m.high)) != inGame)
        m.high |= CountFromDraw;
    return m;
}

// The build loop, compiled also for processors with AVX2 (variable shifts of 64-bit lanes) and with
// the popcount instruction; the best one the processor runs is chosen once at load time.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
__attribute__((target_clones("avx2", "popcnt", "default")))
#endif
#endif
void BuildMasks(const DrawRecord* draws, std::int32_t count, DrawMask* masks, DrawDate* dates) {
    for (std::int32_t i = 0; i < count; ++i) {
        const DrawRecord& d = draws[i];
        masks[i] = Mask(d);
        dates[i] = DrawDate{d.Day, d.Month, d.Year};
    }
}

} // namespace

DrawMask MaskOfDraw(const DrawRecord& draw) {
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
