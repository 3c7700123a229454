// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CommonBits.h"

#include "base/PopcountClones.h"

#include <bit>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZG_COMMON_BITS_WIDE 1
#endif

namespace zg {

namespace {

ZG_POPCOUNT_CLONES void AddCommonBitsByWord(const std::uint64_t* a, const std::uint64_t* const* others,
                                            std::size_t count, std::size_t words, std::int64_t* sums) {
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint64_t* b = others[k];
        std::int64_t sum = 0;
        for (std::size_t w = 0; w < words; ++w)
            sum += std::popcount(a[w] & b[w]);
        sums[k] += sum;
    }
}

#ifdef ZG_COMMON_BITS_WIDE
// Eight words at a time with the popcount of 64-bit lanes; the last words, fewer than eight, are
// loaded under a mask (the lanes beyond them read as zero and touch no memory).
__attribute__((target("avx512f,avx512vpopcntdq"))) void AddCommonBitsAvx512(const std::uint64_t* a,
                                                                            const std::uint64_t* const* others,
                                                                            std::size_t count, std::size_t words,
                                                                            std::int64_t* sums) {
    const std::size_t whole = words / 8 * 8;
    const auto tail = static_cast<__mmask8>((1u << (words % 8)) - 1u);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint64_t* b = others[k];
        __m512i lanes = _mm512_setzero_si512();
        for (std::size_t w = 0; w < whole; w += 8)
            lanes = _mm512_add_epi64(
                lanes, _mm512_popcnt_epi64(_mm512_and_si512(_mm512_loadu_si512(a + w), _mm512_loadu_si512(b + w))));
        if (tail != 0)
            lanes = _mm512_add_epi64(lanes,
                                     _mm512_popcnt_epi64(_mm512_and_si512(_mm512_maskz_loadu_epi64(tail, a + whole),
                                                                          _mm512_maskz_loadu_epi64(tail, b + whole))));
        // Through memory: GCC 12's reduction intrinsic warns about its own undefined half.
        alignas(64) std::int64_t lane[8];
        _mm512_store_si512(lane, lanes);
        sums[k] += lane[0] + lane[1] + lane[2] + lane[3] + lane[4] + lane[5] + lane[6] + lane[7];
    }
}

// Four words at a time: each byte's two halves are looked up in a table of the counts of 0..15
// (vpshufb), and the byte counts add up in byte lanes. A lane gains at most 8 a step, so 16 steps
// (64 words) stay below 256; then the lanes are summed (vpsadbw).
__attribute__((target("avx2,popcnt"))) void AddCommonBitsAvx2(const std::uint64_t* a,
                                                              const std::uint64_t* const* others, std::size_t count,
                                                              std::size_t words, std::int64_t* sums) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2, 1, 2, 2, 3, 1, 2,
                                           2, 3, 2, 3, 3, 4);
    const __m256i lowHalf = _mm256_set1_epi8(0x0f);
    const std::size_t whole = words / 4 * 4;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint64_t* b = others[k];
        __m256i bytes = _mm256_setzero_si256();
        for (std::size_t w = 0; w < whole; w += 4) {
            const __m256i both = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + w)),
                                                  _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + w)));
            const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(both, lowHalf));
            const __m256i high = _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(both, 4), lowHalf));
            bytes = _mm256_add_epi8(bytes, _mm256_add_epi8(low, high));
        }
        const __m256i sums4 = _mm256_sad_epu8(bytes, _mm256_setzero_si256());
        std::int64_t sum = _mm256_extract_epi64(sums4, 0) + _mm256_extract_epi64(sums4, 1) +
                           _mm256_extract_epi64(sums4, 2) + _mm256_extract_epi64(sums4, 3);
        for (std::size_t w = whole; w < words; ++w)
            sum += std::popcount(a[w] & b[w]);
        sums[k] += sum;
    }
}
#endif

} // namespace

std::vector<CommonBitsBuild> CommonBitsBuilds() {
    std::vector<CommonBitsBuild> builds;
#ifdef ZG_COMMON_BITS_WIDE
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vpopcntdq"))
        builds.push_back({"avx512", AddCommonBitsAvx512});
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"))
        builds.push_back({"avx2", AddCommonBitsAvx2});
#endif
    builds.push_back({"word", AddCommonBitsByWord});
    return builds;
}

void AddCommonBits(const std::uint64_t* a, const std::uint64_t* const* others, std::size_t count, std::size_t words,
                   std::int64_t* sums) {
    static const AddCommonBitsFunction add = CommonBitsBuilds().front().add;
    if (words > CommonBitsMostWords) {
        AddCommonBitsByWord(a, others, count, words, sums);
        return;
    }
    add(a, others, count, words, sums);
}

} // namespace zg
