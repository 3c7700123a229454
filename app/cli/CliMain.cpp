// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/Commands.h"

#include <csignal>
#include <cstdio>
#include <locale.h>
#include <new>

int main(int argc, char** argv) {
    // A write past a file-size limit fails with "File too large" (exit 1, no temporary file left)
    // instead of the signal killing the command; output into a closed pipe fails quietly, and the
    // exit status stays that of the command's own work.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    setlocale(LC_ALL, "");
    // RunCli ends a command that runs out of memory with its message; this also covers the
    // arguments' copy made before it.
    try {
        return zg::cli::RunCli(zg::cli::Args(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        const std::string_view text = zg::cli::OutOfMemoryText;
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
        return 1;
    }
}
