// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli export DIR OUT
//
// Loads DIR/zentag.wyn and writes the database export report to OUT, the same bytes the draw
// management window's export writes.
//
// Exit status: 0 report written; 1 the database cannot be loaded or the report cannot be written;
// 2 the arguments are malformed, or OUT is one of the program's own files.
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
#include "base/DrawTypes.h"
#include "base/ReportWriter.h"
#include "database/DatabaseExport.h"
#include "database/DrawDatabase.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zg::cli {

namespace {

struct ExportOptions {
    std::string dir;
    std::string out; // the report file
};

int RunExport(const ExportOptions& opt) {
    if (RefuseProgramFileOutput(opt.dir, opt.out))
        return ExitUsage;
    RemoveStaleTempFilesFor(opt.dir, opt.out);
    const auto db = LoadFolderDatabase(opt.dir);
    if (!db)
        return ExitRefused;
    const DrawsView draws = db->View();
    if (const auto error = WriteReportFile(opt.out, DatabaseExportBytes(draws), opt.dir)) {
        std::fprintf(stderr, "%s: %s\n", opt.out.c_str(), error->c_str());
        return ExitRefused;
    }
    std::printf("%s: %d draws written\n", opt.out.c_str(), draws.count);
    return ExitDone;
}

} // namespace

void AddExportCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("export", "Writes the database export report to OUT");
    auto opt = std::make_shared<ExportOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file")->required()->type_name("FILE");
    command->callback([opt, &context] { context.status = RunExport(*opt); });
}

} // namespace zg::cli
