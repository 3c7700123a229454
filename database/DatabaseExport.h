// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the draw grid and the database export report built from them. Pure standard C++.
#include "base/DrawTypes.h"

#include <string>
#include <string_view>

namespace zg {

// The draw grid has one row per draw and these columns: Number, Day, Month, Year, then the
// 20 numbers.
inline constexpr int DrawGridColumnCount = 24;

// The heading line of the export, after two TABs.
inline constexpr std::string_view DatabaseExportTitle = "Baza losowań Multi Lotka w programie ZENTAGRAFO";

// The text of one cell of the draw grid: column 0 is a space and the number with at least 4 digits
// (" 0042"), column 3 a space and the year with at least 4 digits, the others a space and at least
// 2 digits (" 07"). Any other column gives an empty text.
std::string DrawGridCellText(const DrawRecord& draw, int column);

// The whole export report in Windows-1250 with CR LF line ends: the common header, two TABs and the
// title, an empty line, one line per draw holding each cell text without its blanks followed by
// ";", an empty line and the common footer.
std::string DatabaseExportBytes(DrawsView draws);

} // namespace zg
