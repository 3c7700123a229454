#pragma once
// Counting the bits two long bit sets have in common, the inner step of the pair counts of the
// ZENTAG table. Standard C++; on x86-64 processors with AVX2 the words are counted four at a time
// with a table of the counts of every 4-bit value, which is about twice as fast as one popcount
// instruction a word. The build that runs is chosen once, at the first call.
#include <cstddef>
#include <cstdint>

namespace zg {

// The number of bits set in both a[i] and b[i], over i = 0..words-1. `words` is at most 64 (the
// byte counters of the wide build hold the counts of at most 64 words before they are summed).
std::int64_t CountCommonBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t words);

inline constexpr std::size_t CommonBitsMostWords = 64;

} // namespace zg
