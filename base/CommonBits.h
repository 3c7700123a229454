// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counting the bits two long bit sets have in common, the inner step of the pair counts of the
// ZENTAG table. Standard C++; on x86-64 the words are counted eight at a time with AVX-512's
// popcount where the processor has it, else four at a time with AVX2 and a table of the counts of
// every 4-bit value, each several times as fast as one popcount instruction a word. The build that
// runs is chosen once, at the first call.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zg {

inline constexpr std::size_t CommonBitsMostWords = 64;

// For each k < count: sums[k] += the number of bits set in both a[i] and others[k][i], over
// i = 0..words-1. `words` is at most CommonBitsMostWords (the byte counters of the AVX2 build hold
// the counts of at most 64 words before they are summed). One call for all the sets a is held
// against keeps a's words in registers and the choice of build out of the inner loop.
void AddCommonBits(const std::uint64_t* a, const std::uint64_t* const* others, std::size_t count, std::size_t words,
                   std::int64_t* sums);

// Every build this processor runs, the one AddCommonBits uses first, so that a test can hold each
// against counting word by word.
using AddCommonBitsFunction = void (*)(const std::uint64_t*, const std::uint64_t* const*, std::size_t, std::size_t,
                                       std::int64_t*);
struct CommonBitsBuild {
    const char* name;
    AddCommonBitsFunction add;
};
std::vector<CommonBitsBuild> CommonBitsBuilds();

} // namespace zg
