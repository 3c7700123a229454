// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the server's answer to the latest-draw request: reading must never crash, and an
// answer it accepts holds 20 lottery numbers and reads exactly as the database reader reads the
// same bytes' first group (the draw number first, the 20 numbers last, in either layout).
#include "database/DrawDatabase.h"
#include "download/ResultsUpdate.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const std::optional<zg::LatestDraw> latest = zg::ParseLatestDraw(answer);
    if (!latest)
        return 0;
    if (!std::all_of(std::begin(latest->numbers), std::end(latest->numbers), zg::IsLotteryNumber))
        std::abort();
    static auto table = std::make_unique<zg::DrawRecord[]>(zg::MaxDraws + 1);
    table[1] = zg::DrawRecord{};
    zg::ParseDatabase(answer, table.get()); // later bytes may fail it; the first group is read by then
    if (table[1].Number != latest->number ||
        !std::equal(std::begin(latest->numbers), std::end(latest->numbers), std::begin(table[1].Numbers)))
        std::abort();
    return 0;
}
