// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Synthetic draw databases for tests, benchmarks and trying the program out: draws numbered from 1,
// two draws a day from 1 January 1996, 20 different numbers 1..80 each in ascending order. The same
// seed gives the same draws and bytes on every platform.
#include "base/DrawTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zg {

enum class SampleLayout { YearFirst, DayFirst };

struct SampleDatabase {
    std::vector<DrawRecord> draws; // 1-based: draws[0] is unused, draws[1..count] are the draws
    std::string bytes;             // the database file: one draw per line, values split by single spaces, CR LF

    DrawsView View() const { return DrawsView{draws.data(), static_cast<std::int32_t>(draws.size()) - 1}; }
};

// `count` draws (0 or more) from `seed`, with their file bytes in the given layout.
SampleDatabase GenerateSampleDatabase(std::int32_t count, std::uint32_t seed, SampleLayout layout);

// The file bytes of draws 1..count as the generator writes them.
std::string SampleFileBytes(DrawsView draws, SampleLayout layout);

} // namespace zg
