// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CommonBits.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

namespace zg {
namespace {

// Every build the processor runs, on every length up to the largest a call takes, on random words
// and on full ones (each byte lane of the AVX2 build then gains the most a step can give), against
// one popcount a word; sums are added to, not overwritten; starts need no alignment.
TEST(CommonBits, EveryBuildAgreesWithCountingWordByWord) {
    std::mt19937_64 random(7);
    for (const CommonBitsBuild& build : CommonBitsBuilds()) {
        for (const bool full : {false, true}) {
            std::vector<std::uint64_t> a(CommonBitsMostWords + 3), b(a.size()), c(a.size());
            for (std::size_t w = 0; w < a.size(); ++w) {
                a[w] = full ? ~std::uint64_t{0} : random();
                b[w] = full ? ~std::uint64_t{0} : random();
                c[w] = full ? ~std::uint64_t{0} : random();
            }
            // a from word 3 on, against b from word 1 and c from word 0: no two starts aligned alike.
            const std::uint64_t* others[] = {b.data() + 1, c.data()};
            for (std::size_t words = 0; words <= CommonBitsMostWords; ++words) {
                std::int64_t expected[2] = {5, 7};
                for (std::size_t w = 0; w < words; ++w) {
                    expected[0] += std::popcount(a[w + 3] & b[w + 1]);
                    expected[1] += std::popcount(a[w + 3] & c[w]);
                }
                std::int64_t sums[2] = {5, 7};
                build.add(a.data() + 3, others, 2, words, sums);
                ASSERT_EQ(sums[0], expected[0]) << build.name << ' ' << words << (full ? " full" : "");
                ASSERT_EQ(sums[1], expected[1]) << build.name << ' ' << words << (full ? " full" : "");
            }
        }
    }
}

} // namespace
} // namespace zg
