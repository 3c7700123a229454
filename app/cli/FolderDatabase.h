// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The database of a program folder, loaded by the command-line tool into a table of its own.
#include "base/DrawTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace zg::cli {

struct FolderDatabase {
    std::string path;              // DIR/zentag.wyn
    std::vector<DrawRecord> table; // 1-based, MaxDraws + 1 entries
    std::int32_t count = 0;
    std::int32_t layoutProbe = 0;
    int shortGroupValues = 0; // values of an incomplete last group, which is not counted

    DrawsView View() const { return DrawsView{table.data(), count}; }
};

// Loads DIR/zentag.wyn. On failure prints the program's load message and the reason to standard
// error and returns nothing; a file with more draws than fit gets a warning and loads the first
// MaxDraws.
std::optional<FolderDatabase> LoadFolderDatabase(const std::string& dir);

} // namespace zg::cli
