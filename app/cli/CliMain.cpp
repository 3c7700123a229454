#include "app/cli/Commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

void Usage() {
    std::fputs("Usage:\n"
               "  zentagrafo-cli info DIR\n"
               "  zentagrafo-cli export DIR OUT\n"
               "  zentagrafo-cli analysis DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] OUT\n"
               "  zentagrafo-cli update DIR --latest|--all [--host H] [--port P]\n"
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
    if (std::strcmp(cmd, "update") == 0) {
        zg::cli::UpdateOptions options;
        int modes = 0;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--latest" || args[i] == "--all") {
                options.latest = args[i] == "--latest";
                ++modes;
            } else if (args[i] == "--host" && i + 1 < args.size()) {
                options.host = args[++i];
            } else if (args[i] == "--port" && i + 1 < args.size()) {
                options.port = std::atoi(args[++i].c_str());
            } else if (options.dir.empty()) {
                options.dir = args[i];
            } else {
                modes = 0;
                break;
            }
        }
        if (modes == 1 && !options.dir.empty() && options.port > 0 && options.port < 65536)
            return zg::cli::CmdUpdate(options);
    }
    Usage();
    return 2;
}
