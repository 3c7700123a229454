// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli analysis DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] OUT
//
// Runs the set-hit search over the database of a program folder and writes the analysis report,
// the same bytes the main window's save button writes for the same search.
//
// Exit status: 0 report written; 1 the database cannot be loaded, the range lies outside it, the
// search is refused (range first, then hit bounds, as the window does), nothing qualifies or the
// report cannot be written; 2 the arguments are malformed, or OUT is one of the program's own files.
#include "analysis/AnalysisReport.h"
#include "analysis/SetHitSearch.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct AnalysisOptions {
    std::string dir;
    std::string out;
    SearchOptions search;
    std::string decimal;
};

int RunAnalysis(const AnalysisOptions& opt) {
    if (RefuseProgramFileOutput(opt.dir, opt.out))
        return ExitUsage;
    RemoveStaleTempFilesFor(opt.dir, opt.out);
    const auto in = CheckSearchOptions("analysis", opt.search);
    if (!in)
        return ExitUsage;
    const NumberSetData& set = in->set;
    const char separator = DecimalSeparator(opt.decimal);

    const auto searched = LoadAndSearch(opt.dir, *in);
    if (!searched)
        return ExitRefused;
    const DrawsView draws = searched->db.View();
    const FoundSearch& found = searched->found;

    const AnalysisReportInput input{MakeSearchHeading(*in, draws, set), found.result.rows,
                                    SearchStatisticsTexts(found.result, set.Count, draws, separator)};

    if (const auto error = WriteReportFile(opt.out, AnalysisReportBytes(input), opt.dir))
        return Failure(opt.out + ": " + *error);
    std::printf("Wyniki analizy zostały umieszczone w pliku \"%s\"\n", opt.out.c_str());
    return ExitDone;
}

} // namespace

void AddAnalysisCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("analysis", "Runs the set-hit search and writes the analysis report to OUT");
    auto opt = std::make_shared<AnalysisOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file")->required()->type_name("FILE");
    AddSearchOptions(*command, opt->search);
    AddDecimalOption(*command, opt->decimal);
    command->callback([opt, &context] { context.status = RunAnalysis(*opt); });
}

} // namespace zg::cli
