#include "app/cli/Commands.h"

#include <locale.h>

int main(int argc, char** argv) {
    setlocale(LC_ALL, "");
    return zg::cli::RunCli(zg::cli::Args(argv + 1, argv + argc));
}
