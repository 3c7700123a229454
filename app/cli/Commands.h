#pragma once
// The subcommands of zentagrafo-cli, each a subcommand of one CLI11 application.
#include <chrono>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zg::cli {

using Args = std::vector<std::string>;

// Runs zentagrafo-cli with the arguments after the program's name and returns the exit status:
// 0 done, 1 refused or nothing found (with the program's message), 2 usage error.
int RunCli(const Args& args);

// One command with the arguments after its name, as RunCli({name, args...}) runs it.
int CmdInfo(const Args& args);
int CmdExport(const Args& args);
int CmdAnalysis(const Args& args);
int CmdCalendar(const Args& args);
int CmdZentag(const Args& args);
int CmdStats(const Args& args);
int CmdBackups(const Args& args);
int CmdRestore(const Args& args);

// Each command adds itself to the application; when it runs, its exit status goes to `status`.
void AddInfoCommand(CLI::App& app, int& status);
void AddExportCommand(CLI::App& app, int& status);
void AddAnalysisCommand(CLI::App& app, int& status);
void AddCalendarCommand(CLI::App& app, int& status);
void AddZentagCommand(CLI::App& app, int& status);
void AddUpdateCommand(CLI::App& app, int& status);
void AddImportCommand(CLI::App& app, int& status);
void AddStatsCommand(CLI::App& app, int& status);
void AddBackupsCommand(CLI::App& app, int& status);
void AddRestoreCommand(CLI::App& app, int& status);

// update DIR --latest|--all [--host H] [--port P]
struct UpdateOptions {
    std::string dir;
    bool latest = false;                   // false: the complete results file
    std::string host;                      // empty: the host of DIR/zentagrafo.ini, else the built-in results host
    int port = 0;                          // 0: the port of DIR/zentagrafo.ini, else 80
    std::chrono::milliseconds deadline{0}; // 0: the request's own deadline (ResultsDeadline); tests shorten it
};
int CmdUpdate(const UpdateOptions& options);

// import DIR FILE [--replace] [--skip-bad] [--dry-run]
struct ImportOptions {
    std::string dir;
    std::string file;
    bool replace = false; // "Zastąp całą bazę"; otherwise "Dopisz nowe losowania"
    bool skipBad = false; // import the valid draws of a file with bad lines
    bool dryRun = false;  // do everything but write
};
int CmdImport(const ImportOptions& options);

} // namespace zg::cli
