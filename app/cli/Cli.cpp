#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"

#include <cstdio>

namespace zg::cli {

namespace {

int RunNamed(const char* name, const Args& args) {
    Args all{name};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all);
}

} // namespace

int RunCli(const Args& args) {
    CLI::App app{"Works on a program folder of ZENTAGRAFO (the folder that holds zentag.wyn) without any window.",
                 "zentagrafo-cli"};
    app.set_version_flag("--version", std::string("zentagrafo-cli ") + ZG_VERSION);
    int status = ExitDone;
    AddInfoCommand(app, status);
    AddExportCommand(app, status);
    AddAnalysisCommand(app, status);
    AddCalendarCommand(app, status);
    AddZentagCommand(app, status);
    AddUpdateCommand(app, status);
    AddImportCommand(app, status);
    AddStatsCommand(app, status);
    AddBackupsCommand(app, status);
    AddRestoreCommand(app, status);

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
    return status;
}

int CmdInfo(const Args& args) {
    return RunNamed("info", args);
}

int CmdExport(const Args& args) {
    return RunNamed("export", args);
}

int CmdAnalysis(const Args& args) {
    return RunNamed("analysis", args);
}

int CmdCalendar(const Args& args) {
    return RunNamed("calendar", args);
}

int CmdZentag(const Args& args) {
    return RunNamed("zentag", args);
}

int CmdStats(const Args& args) {
    return RunNamed("stats", args);
}

int CmdBackups(const Args& args) {
    return RunNamed("backups", args);
}

int CmdRestore(const Args& args) {
    return RunNamed("restore", args);
}

} // namespace zg::cli
