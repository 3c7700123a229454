#include "base/CommonBits.h"

#include "base/PopcountClones.h"

#include <bit>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZG_COMMON_BITS_AVX2 1
#endif

namespace zg {

namespace {

ZG_POPCOUNT_CLONES std::int64_t CountCommonBitsByWord(const std::uint64_t* a, const std::uint64_t* b,
                                                      std::size_t words) {
    std::int64_t sum = 0;
    for (std::size_t w = 0; w < words; ++w)
        sum += std::popcount(a[w] & b[w]);
    return sum;
}

#ifdef ZG_COMMON_BITS_AVX2
// Four words at a time: each byte's two halves are looked up in a table of the counts of 0..15
// (vpshufb), and the byte counts add up in byte lanes. A lane gains at most 8 a step, so 16 steps
// (64 words) stay below 256; then the lanes are summed (vpsadbw).
__attribute__((target("avx2"))) std::int64_t CountCommonBitsWide(const std::uint64_t* a, const std::uint64_t* b,
                                                                 std::size_t words) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1, 2, 1, 2, 2, 3, 1, 2,
                                           2, 3, 2, 3, 3, 4);
    const __m256i lowHalf = _mm256_set1_epi8(0x0f);
    __m256i bytes = _mm256_setzero_si256();
    std::size_t w = 0;
    for (; w + 4 <= words; w += 4) {
        const __m256i both = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + w)),
                                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + w)));
        const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(both, lowHalf));
        const __m256i high = _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(both, 4), lowHalf));
        bytes = _mm256_add_epi8(bytes, _mm256_add_epi8(low, high));
    }
    const __m256i sums = _mm256_sad_epu8(bytes, _mm256_setzero_si256());
    std::int64_t sum = _mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) + _mm256_extract_epi64(sums, 2) +
                       _mm256_extract_epi64(sums, 3);
    for (; w < words; ++w)
        sum += std::popcount(a[w] & b[w]);
    return sum;
}
#endif

using CountFunction = std::int64_t (*)(const std::uint64_t*, const std::uint64_t*, std::size_t);

CountFunction ChooseCount() {
#ifdef ZG_COMMON_BITS_AVX2
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return CountCommonBitsWide;
#endif
    return CountCommonBitsByWord;
}

} // namespace

std::int64_t CountCommonBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t words) {
    static const CountFunction count = ChooseCount();
    if (words > CommonBitsMostWords)
        return CountCommonBitsByWord(a, b, words);
    return count(a, b, words);
}

} // namespace zg
