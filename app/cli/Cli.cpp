// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/Version.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <new>

namespace zg::cli {

// The commands, each defined in its own file (CmdInfo.cpp, CmdExport.cpp, ...). This list is the
// only other place that names them: adding a command compiles its file and this one, and nothing
// that the other commands or the tests include changes.
void AddInfoCommand(CLI::App& app, CommandContext& context);
void AddExportCommand(CLI::App& app, CommandContext& context);
void AddAnalysisCommand(CLI::App& app, CommandContext& context);
void AddCalendarCommand(CLI::App& app, CommandContext& context);
void AddZentagCommand(CLI::App& app, CommandContext& context);
void AddUpdateCommand(CLI::App& app, CommandContext& context);
void AddImportCommand(CLI::App& app, CommandContext& context);
void AddStatsCommand(CLI::App& app, CommandContext& context);
void AddNumbersCommand(CLI::App& app, CommandContext& context);
void AddPatternsCommand(CLI::App& app, CommandContext& context);
void AddBackupsCommand(CLI::App& app, CommandContext& context);
void AddRestoreCommand(CLI::App& app, CommandContext& context);

namespace {

int RunCommand(const Args& args, const RunSettings& settings) {
    CLI::App app{"Works on a program folder of ZENTAGRAFO (the folder that holds zentag.wyn) without any window.",
                 "zentagrafo-cli"};
    app.set_version_flag("--version", "zentagrafo-cli " + std::string(ProgramVersion));
    // In the order --help lists them.
    CommandContext context{settings};
    AddInfoCommand(app, context);
    AddExportCommand(app, context);
    AddAnalysisCommand(app, context);
    AddCalendarCommand(app, context);
    AddZentagCommand(app, context);
    AddUpdateCommand(app, context);
    AddImportCommand(app, context);
    AddStatsCommand(app, context);
    AddNumbersCommand(app, context);
    AddPatternsCommand(app, context);
    AddBackupsCommand(app, context);
    AddRestoreCommand(app, context);

    // CLI11 takes the arguments last first.
    Args reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? ExitDone : ExitUsage;
    }
    if (app.get_subcommands().empty()) {
        std::fputs("A command is required\n", stderr);
        std::fputs(app.help().c_str(), stderr);
        return ExitUsage;
    }
    return context.status;
}

} // namespace

int RunCli(const Args& args, const RunSettings& settings) {
    try {
        return RunCommand(args, settings);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(OutOfMemoryText.size()), OutOfMemoryText.data());
        return ExitRefused;
    }
}

} // namespace zg::cli
