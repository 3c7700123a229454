// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The analysis parameters as the main window holds them when a table is opened: the query (the
// draws, the set, the range of draws as ordinals and the hit bounds as numbers) and the hit bounds
// as the user typed them (the reports and the calendar legend print them as typed).
#include "analysis/DrawQuery.h"

#include <string>

namespace zg {

struct AnalysisParameters : DrawQuery {
    std::string hitsFromText;
    std::string hitsToText;
};

} // namespace zg
