// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sample/SampleGenerator.h"

#include "base/DateRoutines.h"

#include <algorithm>
#include <charconv>
#include <random>

namespace zg {

namespace {

// A number in 0..bound-1 from the engine. Rejection keeps it unbiased, and unlike
// std::uniform_int_distribution it gives the same sequence with every standard library.
std::uint32_t Below(std::mt19937& engine, std::uint32_t bound) {
    const std::uint32_t limit = static_cast<std::uint32_t>((std::uint64_t{1} << 32) / bound * bound - 1);
    for (;;) {
        const std::uint32_t x = engine();
        if (x <= limit)
            return x % bound;
    }
}

void PutValue(std::string& out, std::int32_t value) {
    char text[16];
    const auto res = std::to_chars(text, text + sizeof text, value);
    out.append(text, res.ptr);
}

} // namespace

SampleDatabase GenerateSampleDatabase(std::int32_t count, std::uint32_t seed, SampleLayout layout) {
    SampleDatabase db;
    count = std::max(count, 0);
    db.draws.resize(static_cast<std::size_t>(count) + 1);
    std::mt19937 engine(seed);
    std::int32_t day = 1, month = 1, year = 1996;
    std::int32_t pool[80];
    for (std::int32_t k = 1; k <= count; ++k) {
        DrawRecord& d = db.draws[static_cast<std::size_t>(k)];
        d.Number = k;
        d.Year = year;
        d.Month = month;
        d.Day = day;
        // The first 20 places of a partial Fisher-Yates shuffle are 20 different numbers.
        for (int i = 0; i < 80; ++i)
            pool[i] = i + 1;
        for (int i = 0; i < 20; ++i)
            std::swap(pool[i], pool[i + static_cast<int>(Below(engine, static_cast<std::uint32_t>(80 - i)))]);
        std::sort(pool, pool + 20);
        std::copy(pool, pool + 20, d.Numbers);
        if (k % 2 == 0)
            NextCalendarDay(day, month, year);
    }
    db.bytes = SampleFileBytes(db.View(), layout);
    return db;
}

std::string SampleFileBytes(DrawsView draws, SampleLayout layout) {
    std::string out;
    if (draws.count <= 0)
        return out;
    out.reserve(static_cast<std::size_t>(draws.count) * 80);
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& d = draws[k];
        PutValue(out, d.Number);
        const bool dayFirst = layout == SampleLayout::DayFirst;
        for (std::int32_t value : {dayFirst ? d.Day : d.Year, d.Month, dayFirst ? d.Year : d.Day}) {
            out += ' ';
            PutValue(out, value);
        }
        for (std::int32_t n : d.Numbers) {
            out += ' ';
            PutValue(out, n);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace zg
