// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DrawMasks.h"

#include "base/PopcountClones.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZG_MASKS_AVX2 1
#endif

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
// in would be taken at random), in portable vector code. u = y - 1 in unsigned arithmetic is 0..79
// for the numbers of the game; anything else, a value below 1 among them, lies above and sets no
// bit.
inline DrawMask PortableMask(const DrawRecord& draw) {
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

#ifdef ZG_MASKS_AVX2
// The same with AVX2's shifts by a different count in each 64-bit lane, which give 0 for a count
// of 64 or more: 1 << u is number u + 1's bit of the low word, 1 << (u - 64) its bit of the high
// word, and a value outside the game sets no bit (or one above bit 15 of the high word, cut off).
__attribute__((target("avx2,popcnt"), always_inline)) inline DrawMask Avx2Mask(const DrawRecord& draw) {
    const __m128i one32 = _mm_set1_epi32(1);
    const __m128i last = _mm_set1_epi32(79);
    const __m256i one = _mm256_set1_epi64x(1);
    const __m256i sixtyFour = _mm256_set1_epi64x(64);
    __m256i low = _mm256_setzero_si256();
    __m256i high = _mm256_setzero_si256();
    __m128i inGame = _mm_setzero_si128();
    for (std::size_t i = 0; i < 20; i += 4) {
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(draw.Numbers + i));
        const __m128i u = _mm_sub_epi32(y, one32);
        inGame = _mm_sub_epi32(inGame, _mm_cmpeq_epi32(_mm_min_epu32(u, last), u)); // u <= 79: minus -1
        const __m256i wide = _mm256_cvtepu32_epi64(u);
        low = _mm256_or_si256(low, _mm256_sllv_epi64(one, wide));
        high = _mm256_or_si256(high, _mm256_sllv_epi64(one, _mm256_sub_epi64(wide, sixtyFour)));
    }
    const __m128i low2 = _mm_or_si128(_mm256_castsi256_si128(low), _mm256_extracti128_si256(low, 1));
    const __m128i high2 = _mm_or_si128(_mm256_castsi256_si128(high), _mm256_extracti128_si256(high, 1));
    const __m128i both = _mm_or_si128(_mm_unpacklo_epi64(low2, high2), _mm_unpackhi_epi64(low2, high2));
    __m128i counted = _mm_add_epi32(inGame, _mm_shuffle_epi32(inGame, 0x4E));
    counted = _mm_add_epi32(counted, _mm_shuffle_epi32(counted, 0xB1));
    DrawMask m;
    m.low = static_cast<std::uint64_t>(_mm_cvtsi128_si64(both));
    m.high = static_cast<std::uint64_t>(_mm_extract_epi64(both, 1)) & 0xFFFFu;
    if (std::popcount(m.low) + std::popcount(m.high) != _mm_cvtsi128_si32(counted))
        m.high |= CountFromDraw;
    return m;
}
#endif

// Draws picked by ordinals are read from a table of megabytes that a search has just swept out of
// the cache: the draw six places ahead (both cache lines of its 96 bytes) is asked for while this
// one is worked on, which saves about a tenth of the time of gathering 99,999 draws this way.
inline void PrefetchAhead(const DrawsView& draws, const std::int32_t* ordinals, std::size_t count, std::size_t i) {
    constexpr std::size_t Ahead = 6;
    if (i + Ahead < count) {
        const char* next = reinterpret_cast<const char*>(&draws[ordinals[i + Ahead]]);
        __builtin_prefetch(next);
        __builtin_prefetch(next + sizeof(DrawRecord) - 1);
    }
}

// The loops over many draws, each built once with the portable mask (with the popcount
// instruction where there is one) and once with the AVX2 mask; the AVX2 build runs wherever the
// processor has AVX2.
ZG_POPCOUNT_CLONES DrawMask PortableMaskOfDraw(const DrawRecord& draw) {
    return PortableMask(draw);
}

ZG_POPCOUNT_CLONES void PortableBuildMasks(const DrawRecord* draws, std::int32_t count, DrawMask* masks,
                                           DrawDate* dates) {
    for (std::int32_t i = 0; i < count; ++i) {
        const DrawRecord& d = draws[i];
        masks[i] = PortableMask(d);
        dates[i] = DrawDate{d.Day, d.Month, d.Year};
    }
}

ZG_POPCOUNT_CLONES void PortableMasksOfDraws(const DrawsView& draws, const std::int32_t* ordinals, std::size_t count,
                                             DrawMask* masks) {
    for (std::size_t i = 0; i < count; ++i) {
        PrefetchAhead(draws, ordinals, count, i);
        masks[i] = PortableMask(draws[ordinals[i]]);
    }
}

ZG_POPCOUNT_CLONES void PortableMasksOfRange(const DrawsView& draws, std::int32_t from, std::size_t count,
                                             DrawMask* masks) {
    for (std::size_t i = 0; i < count; ++i)
        masks[i] = PortableMask(draws[from + static_cast<std::int32_t>(i)]);
}

#ifdef ZG_MASKS_AVX2
__attribute__((target("avx2,popcnt"))) DrawMask Avx2MaskOfDraw(const DrawRecord& draw) {
    return Avx2Mask(draw);
}

__attribute__((target("avx2,popcnt"))) void Avx2BuildMasks(const DrawRecord* draws, std::int32_t count, DrawMask* masks,
                                                           DrawDate* dates) {
    for (std::int32_t i = 0; i < count; ++i) {
        const DrawRecord& d = draws[i];
        masks[i] = Avx2Mask(d);
        dates[i] = DrawDate{d.Day, d.Month, d.Year};
    }
}

__attribute__((target("avx2,popcnt"))) void Avx2MasksOfDraws(const DrawsView& draws, const std::int32_t* ordinals,
                                                             std::size_t count, DrawMask* masks) {
    for (std::size_t i = 0; i < count; ++i) {
        PrefetchAhead(draws, ordinals, count, i);
        masks[i] = Avx2Mask(draws[ordinals[i]]);
    }
}

__attribute__((target("avx2,popcnt"))) void Avx2MasksOfRange(const DrawsView& draws, std::int32_t from,
                                                             std::size_t count, DrawMask* masks) {
    for (std::size_t i = 0; i < count; ++i)
        masks[i] = Avx2Mask(draws[from + static_cast<std::int32_t>(i)]);
}
#endif

// The loops of one build.
struct MaskBuild {
    const char* name;
    DrawMask (*maskOf)(const DrawRecord&);
    void (*build)(const DrawRecord*, std::int32_t, DrawMask*, DrawDate*);
    void (*ofDraws)(const DrawsView&, const std::int32_t*, std::size_t, DrawMask*);
    void (*ofRange)(const DrawsView&, std::int32_t, std::size_t, DrawMask*);
};

const MaskBuild Portable{"portable", PortableMaskOfDraw, PortableBuildMasks, PortableMasksOfDraws,
                         PortableMasksOfRange};
#ifdef ZG_MASKS_AVX2
const MaskBuild WithAvx2{"avx2", Avx2MaskOfDraw, Avx2BuildMasks, Avx2MasksOfDraws, Avx2MasksOfRange};
#endif

// The builds this processor runs, the best first.
std::vector<MaskBuild> RunnableBuilds() {
    std::vector<MaskBuild> builds;
#ifdef ZG_MASKS_AVX2
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"))
        builds.push_back(WithAvx2);
#endif
    builds.push_back(Portable);
    return builds;
}

const MaskBuild& Chosen() {
    static const MaskBuild build = RunnableBuilds().front();
    return build;
}

} // namespace

std::vector<DrawMaskBuild> DrawMaskBuilds() {
    std::vector<DrawMaskBuild> builds;
    for (const MaskBuild& build : RunnableBuilds())
        builds.push_back({build.name, build.maskOf});
    return builds;
}

DrawMask MaskOfDraw(const DrawRecord& draw) {
    return Chosen().maskOf(draw);
}

void MasksOfDraws(const DrawsView& draws, const std::int32_t* ordinals, std::size_t count, DrawMask* masks) {
    Chosen().ofDraws(draws, ordinals, count, masks);
}

void MasksOfRange(const DrawsView& draws, std::int32_t from, std::size_t count, DrawMask* masks) {
    Chosen().ofRange(draws, from, count, masks);
}

DrawMasks::DrawMasks(const DrawsView& draws) {
    const std::int32_t count = draws.table != nullptr && draws.count > 0 ? draws.count : 0;
    masks_.resize(static_cast<std::size_t>(count) + 1);
    dates_.resize(static_cast<std::size_t>(count) + 1);
    if (count > 0)
        Chosen().build(&draws[1], count, &masks_[1], &dates_[1]);
}

} // namespace zg
