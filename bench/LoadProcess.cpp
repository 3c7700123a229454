// SPDX-License-Identifier: GPL-3.0-or-later
// zg_load_process FILE: loads a database file into a draw table the size of the program's, as
// start-up does, prints the number of draws and ends. Timed as a whole process by process_bench
// beside `wc -w` on the same file.
#include "database/DrawDatabase.h"

#include <cstdio>

namespace {
zg::DrawRecord Table[zg::MaxDraws + 1]; // like the program's table: allocated with the process
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: zg_load_process FILE\n", stderr);
        return 2;
    }
    const zg::LoadResult r = zg::LoadDatabase(argv[1], Table);
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.error.c_str());
        return 1;
    }
    std::printf("%d\n", r.drawCount);
    return 0;
}
