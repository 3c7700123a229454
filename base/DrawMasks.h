// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each draw's numbers as an 80-bit set, so that counting how many numbers of a set a draw holds is
// one AND and one popcount instead of 20 lookups, and each draw's date beside it, so that a search
// that lists many draws reads a small dense table instead of the whole records. Built once from a
// table and then read by every search over that table. Pure standard C++.
#include "base/DrawTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zg {

struct DrawMask {
    std::uint64_t low = 0;  // bit n - 1 for each drawn number n of 1..64
    std::uint64_t high = 0; // bit n - 65 for each drawn number n of 65..80; bit 63: see CountFromDraw
};

// Set in DrawMask::high for a draw that holds one of its numbers more than once. The search counts
// every occurrence of a set number, which a bit set cannot tell, so such a draw is counted from its
// record. Numbers outside 1..80 need no mark: they never count and are simply left out of the mask.
inline constexpr std::uint64_t CountFromDraw = std::uint64_t{1} << 63;

struct DrawDate {
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
};

// The 80-bit set of one number set, in the same bit positions.
DrawMask SetMask(const NumberSetData& set);

// The mask of one draw.
DrawMask MaskOfDraw(const DrawRecord& draw);

// The masks of draws from..from + count - 1 of a view, into masks[0..count-1].
void MasksOfRange(const DrawsView& draws, std::int32_t from, std::size_t count, DrawMask* masks);

// The builds of MaskOfDraw this processor runs, the one in use first, so that a test can hold each
// against the definition.
struct DrawMaskBuild {
    const char* name;
    DrawMask (*maskOf)(const DrawRecord&);
};
std::vector<DrawMaskBuild> DrawMaskBuilds();

// The masks of the draws of a view at ordinals[0..count-1], into masks[0..count-1]: one call for
// many draws keeps the routine's constants in registers, at half the cost a draw of single calls.
void MasksOfDraws(const DrawsView& draws, const std::int32_t* ordinals, std::size_t count, DrawMask* masks);

// The masks and dates of draws 1..count of a view, 1-based like the view. A table changed after the
// build needs a new build; count() tells which view size the masks were built for.
class DrawMasks {
public:
    DrawMasks() = default;
    explicit DrawMasks(const DrawsView& draws);

    std::int32_t count() const { return static_cast<std::int32_t>(masks_.size()) - 1; }
    const DrawMask& operator[](std::int32_t ordinal) const { return masks_[static_cast<std::size_t>(ordinal)]; }
    const DrawMask* masks() const { return masks_.data(); }
    const DrawDate* dates() const { return dates_.data(); }

private:
    std::vector<DrawMask> masks_ = std::vector<DrawMask>(1); // entry 0 unused
    std::vector<DrawDate> dates_ = std::vector<DrawDate>(1);
};

} // namespace zg
