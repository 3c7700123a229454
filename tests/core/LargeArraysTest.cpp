// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LargeArrays.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zg {
namespace {

// Small room from the heap and large room mapped on its own: every element written and read back,
// large room starting on a 2 MB boundary, and the arrays copied and grown like any vector.
TEST(LargeArrays, RoomOfEverySizeHoldsItsElements) {
    using Words = std::vector<std::uint64_t, LargeArrayAllocator<std::uint64_t>>;
    for (const std::size_t count : {std::size_t{1}, std::size_t{1000}, (std::size_t{512} << 10) / 8 - 1,
                                    (std::size_t{512} << 10) / 8, (std::size_t{3} << 20) / 8 + 5}) {
        Words words(count);
        for (std::size_t i = 0; i < count; ++i)
            words[i] = i * 0x9E3779B97F4A7C15ull;
        if (count * 8 >= (std::size_t{512} << 10)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(words.data()) % (std::uintptr_t{2} << 20), 0u) << count;
        }
        Words copy = words;
        copy.resize(count * 2 + 1); // a new room, the old one given back
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(copy[i], i * 0x9E3779B97F4A7C15ull) << count << ' ' << i;
        EXPECT_EQ(copy[count * 2], 0u);
    }
}

} // namespace
} // namespace zg
