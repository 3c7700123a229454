#include "app/cli/Commands.h"

#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

void Usage() {
    std::fputs("Usage:\n"
               "  zentagrafo-cli info DIR\n"
               "  zentagrafo-cli export DIR OUT\n"
               "  zentagrafo-cli analysis DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] OUT\n"
               "DIR is a program folder: the one that holds zentag.wyn.\n",
               stderr);
}

} // namespace

int main(int argc, char** argv) {
    setlocale(LC_ALL, "");
    if (argc < 2) {
        Usage();
        return 2;
    }
    zg::cli::Args args(argv + 2, argv + argc);
    const char* cmd = argv[1];
    if (std::strcmp(cmd, "info") == 0)
        return zg::cli::CmdInfo(args);
    if (std::strcmp(cmd, "export") == 0)
        return zg::cli::CmdExport(args);
    if (std::strcmp(cmd, "analysis") == 0)
        return zg::cli::CmdAnalysis(args);
    Usage();
    return 2;
}
