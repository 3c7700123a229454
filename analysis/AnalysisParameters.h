#pragma once
// The analysis parameters as the main window holds them when a table is opened: the range of
// draws (ordinals), the hit bounds as numbers, and the hit bounds as the user typed them (the
// reports and the calendar legend print them as typed).
#include <cstdint>
#include <string>

namespace zg {

struct AnalysisParameters {
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::int32_t hitsFrom = 0;
    std::int32_t hitsTo = 0;
    std::string hitsFromText;
    std::string hitsToText;
};

} // namespace zg
