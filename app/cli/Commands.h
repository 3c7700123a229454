#pragma once
// Subcommands of zentagrafo-cli. Each takes the arguments after its name and returns the
// process exit status.
#include <string>
#include <vector>

namespace zg::cli {

using Args = std::vector<std::string>;

int CmdInfo(const Args& args);
int CmdExport(const Args& args);
int CmdAnalysis(const Args& args);

// update DIR --latest|--all [--host H] [--port P]
struct UpdateOptions {
    std::string dir;
    bool latest = false; // false: the complete results file
    std::string host;    // empty: the built-in results host
    int port = 80;
};
int CmdUpdate(const UpdateOptions& options);

} // namespace zg::cli
