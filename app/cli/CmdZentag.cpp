// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli zentag DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--offset N] [--select 5,17]
//                          [--decimal ,|.] OUT
//
// Runs the set-hit search over the database of a program folder, then the ZENTAG table over the
// draws at the distance --offset (1 when not given) from the found draws, complete or restricted
// to the --select numbers, and writes the same report bytes the ZENTAG window's save button
// writes. The report holds the grid only, so the two ranked lists go to standard output as the
// window shows them: the single lines, an empty line, the pair lines (UTF-8, LF line ends).
//
// Exit status: 0 report written; 1 the database cannot be loaded, the range lies outside it, the
// search is refused, nothing qualifies or the report cannot be written (no file is written); 2 the
// arguments are malformed (an offset outside -99..99 among them), or OUT is one of the program's own
// files.
#include "analysis/AnalysisReport.h"
#include "analysis/SetHitSearch.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/DateRoutines.h"
#include "base/ReportWriter.h"
#include "tables/Zentag.h"
#include "tables/ZentagReport.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zg::cli {

namespace {

struct ZentagOptions {
    std::string dir;
    std::string out;
    SearchOptions search;
    std::int32_t offset = 1;
    std::string select;
    std::string decimal;
};

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
}

int RunZentag(const ZentagOptions& opt) {
    if (RefuseProgramFileOutput(opt.dir, opt.out))
        return ExitUsage;
    RemoveStaleTempFilesFor(opt.dir, opt.out);
    const auto in = CheckSearchOptions("zentag", opt.search);
    if (!in)
        return ExitUsage;
    std::vector<std::int32_t> selection;
    if (!opt.select.empty()) {
        const auto selected = ParseNumberSet(opt.select);
        if (!selected)
            return UsageError("zentag", "malformed --select");
        selection = SetNumbersOf(*selected);
    }

    // The table needs the found draws' ordinals only, not the search's rows.
    const auto searched = LoadAndSearch(opt.dir, *in, SearchRows::OrdinalsOnly);
    if (!searched)
        return ExitRefused;
    const DrawsView draws = searched->db.View();
    const FoundSearch& found = searched->found;

    ZentagInput zentag{QueryFromOptions(*in, searched->db)};
    zentag.foundDraws = found.foundDraws.get();
    zentag.foundCount = found.foundCount;
    zentag.offset = opt.offset;
    zentag.decimalSeparator = DecimalSeparator(opt.decimal);
    const ZentagResult table =
        selection.empty() ? ComputeZentagTable(zentag, nullptr) : ComputeZentagTableFor(zentag, selection);

    const ZentagReportInput report{MakeSearchHeading(*in, draws, in->set), opt.offset, &table};
    const auto pieces = [&report](const ReportPieceSink& sink) { return WriteZentagReport(report, sink); };
    if (const auto error = WriteReportFileInPieces(opt.out, pieces, opt.dir))
        return Failure(opt.out + ": " + *error);

    PrintLines(table.singleLines);
    std::fputc('\n', stdout);
    PrintLines(table.pairLines);
    return std::fflush(stdout) == 0 ? ExitDone : ExitRefused;
}

} // namespace

void AddZentagCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand(
        "zentag", "Runs the set-hit search, then the ZENTAG table of the draws at --offset from the found draws; "
                  "writes the table's report to OUT and prints the ranked numbers and pairs");
    auto opt = std::make_shared<ZentagOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file")->required()->type_name("FILE");
    AddSearchOptions(*command, opt->search);
    AddIntegerOption(*command, "--offset", opt->offset,
                     "distance of the table's draws from the found draws (default 1)", ZentagOffsetMin, ZentagOffsetMax)
        ->type_name("N");
    command->add_option("--select", opt->select, "show only these numbers (1..80, each once), separated by commas")
        ->type_name("N,N,...")
        ->check(NumberSetValidator());
    AddDecimalOption(*command, opt->decimal);
    command->callback([opt, &context] { context.status = RunZentag(*opt); });
}

} // namespace zg::cli
