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

} // namespace zg::cli
