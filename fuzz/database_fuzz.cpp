// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a database file: loading must never crash, read or write outside the table, or
// count draws it did not read.
#include "database/DrawDatabase.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto table = std::make_unique<zg::DrawRecord[]>(zg::MaxDraws + 1);
    const zg::LoadResult r =
        zg::ParseDatabase(std::string_view(reinterpret_cast<const char*>(data), size), table.get());
    if (r.drawCount < 0 || r.drawCount > zg::MaxDraws || (!r.ok && r.drawCount != 0))
        std::abort();
    // Every counted draw took 24 integers of at least one byte each.
    if (static_cast<std::size_t>(r.drawCount) * 24 > size)
        std::abort();
    return 0;
}
