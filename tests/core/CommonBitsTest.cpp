#include "base/CommonBits.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

using namespace zg;

// Every length up to and past the largest the wide count takes, on random words and on full ones
// (each byte lane then gains the most a step can give), against one popcount a word.
TEST(CommonBits, AgreesWithCountingWordByWord) {
    std::mt19937_64 random(7);
    for (const bool full : {false, true}) {
        std::vector<std::uint64_t> a(CommonBitsMostWords + 9), b(a.size());
        for (std::size_t w = 0; w < a.size(); ++w) {
            a[w] = full ? ~std::uint64_t{0} : random();
            b[w] = full ? ~std::uint64_t{0} : random();
        }
        for (std::size_t words = 0; words <= a.size(); ++words) {
            std::int64_t expected = 0;
            for (std::size_t w = 0; w < words; ++w)
                expected += std::popcount(a[w] & b[w]);
            ASSERT_EQ(CountCommonBits(a.data(), b.data(), words), expected) << words << (full ? " full" : "");
        }
        // Starts that are not 32-byte aligned, as the column blocks of a table give them.
        std::int64_t shifted = 0;
        for (std::size_t w = 0; w < 40; ++w)
            shifted += std::popcount(a[w + 3] & b[w + 1]);
        EXPECT_EQ(CountCommonBits(a.data() + 3, b.data() + 1, 40), shifted);
    }
}
