// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/FolderDatabase.h"

#include "database/DrawDatabase.h"

#include <cstdio>

namespace zg::cli {

std::optional<FolderDatabase> LoadFolderDatabase(const std::string& dir) {
    FolderDatabase db;
    db.path = dir + "/" + std::string(DatabaseFileName);
    db.table.resize(static_cast<std::size_t>(MaxDraws) + 1);
    const LoadResult load = LoadDatabase(db.path, db.table.data());
    if (!load.ok) {
        std::fprintf(stderr, "%s\n%s: %s\n", std::string(LoadErrorText).c_str(), db.path.c_str(), load.error.c_str());
        return std::nullopt;
    }
    if (load.truncated)
        std::fprintf(stderr, "warning: %s holds more than %d draws; the rest was not read\n", db.path.c_str(),
                     static_cast<int>(MaxDraws));
    db.count = load.drawCount;
    db.layoutProbe = load.layoutProbe;
    db.shortGroupValues = load.shortGroupValues;
    return db;
}

} // namespace zg::cli
