// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli calendar DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH --year Y [--show-all] OUT
//
// Lays the draws of the range that fall in year Y out as the calendar map and writes the calendar
// report, the same bytes the map window's save button writes for that year. A year outside
// 1996..2999 is clamped into it, as the window's year arrow does, and the report names the
// clamped year.
//
// Exit status: 0 report written; 1 the database cannot be loaded, the range lies outside it, the
// range or the hit bounds are refused (range first, as the main window does) or the report cannot
// be written; 2 the arguments are malformed, or OUT is one of the program's own files.
#include "analysis/AnalysisReport.h"
#include "analysis/SetHitSearch.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/DateRoutines.h"
#include "base/ReportWriter.h"
#include "tables/Calendar.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct CalendarOptions {
    std::string dir;
    std::string out;
    SearchOptions search;
    std::int32_t year = CalendarInitialYear;
    bool showAll = false;
};

int RunCalendar(const CalendarOptions& opt) {
    if (RefuseProgramFileOutput(opt.dir, opt.out))
        return ExitUsage;
    RemoveStaleTempFilesFor(opt.dir, opt.out);
    const auto in = CheckSearchOptions("calendar", opt.search);
    if (!in)
        return ExitUsage;

    const auto db = LoadDatabaseForSearch(opt.dir, *in);
    if (!db)
        return ExitRefused;
    const DrawsView draws = db->View();

    const CalendarQuery query{QueryFromOptions(*in, *db), std::clamp(opt.year, CalendarFirstYear, CalendarLastYear),
                              opt.showAll};
    const CalendarCells cells = FillCalendar(query);

    const CalendarReportInput report{
        MakeSearchHeading(*in, draws, in->set), MapCaption(in->set), query.year, &cells, query.showAll, in->set.Count};

    if (const auto error = WriteReportFile(opt.out, CalendarReportBytes(report), opt.dir))
        return Failure(opt.out + ": " + *error);
    std::printf("Wyniki analizy zostały umieszczone w pliku \"%s\"\n", opt.out.c_str());
    return ExitDone;
}

} // namespace

void AddCalendarCommand(CLI::App& app, CommandContext& context) {
    auto* command =
        app.add_subcommand("calendar", "Lays the range's draws of one year out by month and day and writes the "
                                       "calendar report to OUT");
    auto opt = std::make_shared<CalendarOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file")->required()->type_name("FILE");
    AddSearchOptions(*command, opt->search);
    AddIntegerOption(*command, "--year", opt->year, "the year laid out (clamped into 1996..2999)",
                     std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())
        ->required()
        ->type_name("YEAR");
    command->add_flag("--show-all", opt->showAll,
                      "show every draw's number of hits instead of marking those within "
                      "the bounds");
    command->callback([opt, &context] { context.status = RunCalendar(*opt); });
}

} // namespace zg::cli
