#include "app/cli/Commands.h"

#include <csignal>
#include <locale.h>

int main(int argc, char** argv) {
    // A write past a file-size limit fails with "File too large" (exit 1, no temporary file left)
    // instead of the signal killing the command; output into a closed pipe fails quietly, and the
    // exit status stays that of the command's own work.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    setlocale(LC_ALL, "");
    return zg::cli::RunCli(zg::cli::Args(argv + 1, argv + argc));
}
