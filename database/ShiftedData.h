// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signature of a database file that lost or gained a value in the middle: from that place on
// every group of 24 integers starts at the wrong value, so the stored numbers stop counting up
// and the dates stop being dates. Pure standard C++.
#include "base/DrawTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// The ordinal of the first draw at which the loaded table stops looking like consecutive draws:
// its stored Number is not the previous draw's plus one, or its date does not exist in the
// program's calendar (IsProgramDate). A date earlier than the previous draw's is not looked at:
// the computed dates of appended draws make such dates. Nothing when every draw passes. The drawn numbers are not
// looked at: a number outside 1..80 or a repeat within a draw is a fault of that draw alone, not a shift. One pass, no
// allocation.
std::optional<std::int32_t> FindShiftedData(DrawsView draws);

// The warning shown once after a load in which FindShiftedData found draw `ordinal`.
inline constexpr std::string_view ShiftedDataCaption = "Uwaga!";
std::string ShiftedDataText(std::int32_t ordinal);

} // namespace zg
