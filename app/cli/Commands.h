// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running zentagrafo-cli: what its main and the tests call. Each command lives in its own file
// (app/cli/Cmd<Name>.cpp) and is reached only through RunCli with its name as the first argument,
// so that this header never changes when a command is added or changed.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace zg::cli {

using Args = std::vector<std::string>;

// What the caller sets beside the arguments: nothing a user can type.
struct RunSettings {
    // The overall deadline of a download; 0 keeps the request's own (ResultsDeadline). Tests
    // shorten it.
    std::chrono::milliseconds downloadDeadline{0};
};

// Runs zentagrafo-cli with the arguments after the program's name (the command's name, then its
// arguments) and returns the exit status: 0 done, 1 refused or nothing found (with the program's
// message), 2 usage error. A command that runs out of memory stops there with OutOfMemoryText
// and status 1: every file is written whole or not at all, so nothing is left half-written.
int RunCli(const Args& args, const RunSettings& settings = {});

inline constexpr std::string_view OutOfMemoryText =
    "out of memory: the command was stopped, and no file was left half-written";

} // namespace zg::cli
