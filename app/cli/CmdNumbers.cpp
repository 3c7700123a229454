// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli numbers DIR --range FROM:TO [--last N] [--set 3,7,15] [--decimal ,|.] [--json] [OUT]
//
// The table of the 80 numbers over a range of draws, as the window " Tabela liczb" shows it: how
// often each number came, when last, how long it has been away and what chance alone gives for
// that, and how often it came in the last N draws against the 95% band. A readable table by
// default; --json prints one JSON object instead; OUT writes the window's report (LICZBY.NNNN.txt)
// for the same inputs.
//
// Exit status: 0 printed (and written); 1 the database cannot be loaded, the range is refused or
// lies outside it, or the report cannot be written; 2 malformed arguments (also --json with OUT), or
// OUT is one of the program's own files.
#include "analysis/NumberTableReport.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/ReportWriter.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct NumbersOptions {
    std::string dir;
    std::string out;
    std::string range;
    std::int32_t last = 100;
    std::string set;
    std::string decimal;
    bool json = false;
};

std::string CellText(const NumberTable& t, const NumberRow& row, int column, char separator) {
    std::string text;
    AppendNumberCell(text, row, t.draws, column, separator);
    return text;
}

nlohmann::ordered_json NumbersJson(const NumberTable& t, const NumberSetData& set) {
    using Json = nlohmann::ordered_json;
    Json setNumbers = Json::array();
    for (std::int32_t x = 1; x <= 80; ++x)
        if (set.Member[x])
            setNumbers.push_back(x);
    Json numbers = Json::array();
    for (const NumberRow& r : t.rows) {
        const std::optional<double> mean = r.meanGap();
        numbers.push_back(
            Json{{"number", r.number},
                 {"count", r.count},
                 {"share_percent", r.sharePercent},
                 {"last_draw", r.lastDraw > 0 ? Json(r.lastDraw) : Json(nullptr)},
                 {"last_date", r.lastDraw > 0 ? Json(CellText(t, r, NumberColumnLastDate, '.')) : Json(nullptr)},
                 {"current_gap", r.currentGap},
                 {"mean_gap", mean ? Json(*mean) : Json(nullptr)},
                 {"longest_gap", r.longestGap},
                 {"p_current_gap", r.pCurrentGap},
                 {"count_last", r.countLast},
                 {"status", r.status == NumberStatus::Hot    ? "hot"
                            : r.status == NumberStatus::Cold ? "cold"
                                                             : "normal"},
                 {"in_set", r.inSet}});
    }
    return Json{{"range", Json{{"from", t.rangeFrom},
                               {"to", t.rangeTo},
                               {"draws", t.draws},
                               {"first_date", t.firstDateLong},
                               {"last_date", t.lastDateLong}}},
                {"last", t.last},
                {"set", setNumbers},
                {"numbers", numbers},
                {"band_last", Json{{"expected", t.last / 4.0}, {"low", t.bandLast.low}, {"high", t.bandLast.high}}},
                {"longest_current_gap",
                 Json{{"gap", t.longestCurrentGap}, {"numbers", t.longestGapNumbers}, {"p_any", t.pAny}}},
                {"outside_band", Json{{"count", t.outsideCount}, {"expected", t.outsideExpected}}}};
}

void PrintTable(const NumberTable& t, char separator) {
    std::printf("draws %d..%d: %d (%s - %s)\n", t.rangeFrom, t.rangeTo, t.draws, t.firstDateLong.c_str(),
                t.lastDateLong.c_str());
    std::printf("last %d draws, 95%% band %lld..%lld (* marks a number of the set)\n\n", t.last,
                static_cast<long long>(t.bandLast.low), static_cast<long long>(t.bandLast.high));
    std::printf("%-7s %6s %7s %9s %11s %6s %9s %8s %10s %7s %s\n", "number", "count", "%", "last draw", "date", "gap",
                "mean gap", "longest", "chance", "last N", "status");
    for (const NumberRow& r : t.rows) {
        const auto cell = [&](int column) { return CellText(t, r, column, separator); };
        const char* status = r.status == NumberStatus::Hot ? "hot" : r.status == NumberStatus::Cold ? "cold" : "";
        std::printf("%-7s %6s %7s %9s %11s %6s %9s %8s %10s %7s %s\n",
                    (cell(NumberColumnNumber) + (r.inSet ? "*" : "")).c_str(), cell(NumberColumnCount).c_str(),
                    cell(NumberColumnShare).c_str(), cell(NumberColumnLastDraw).c_str(),
                    cell(NumberColumnLastDate).c_str(), cell(NumberColumnCurrentGap).c_str(),
                    cell(NumberColumnMeanGap).c_str(), cell(NumberColumnLongestGap).c_str(),
                    cell(NumberColumnChance).c_str(), cell(NumberColumnCountLast).c_str(), status);
    }
    std::printf("\n%s\n%s\n", LongestGapSentence(t, separator).c_str(), OutsideBandSentence(t, separator).c_str());
}

int RunNumbers(const NumbersOptions& opt) {
    if (opt.json && !opt.out.empty())
        return UsageError("numbers", "--json prints the table and writes no report: give either --json or OUT");
    if (!opt.out.empty()) {
        if (RefuseProgramFileOutput(opt.dir, opt.out))
            return ExitUsage;
        RemoveStaleTempFilesFor(opt.dir, opt.out);
    }
    const auto range = ParsePair(opt.range);
    std::optional<NumberSetData> set = opt.set.empty() ? NumberSetData{} : ParseNumberSet(opt.set);
    if (!range || !set) // the validators have let nothing else through
        return UsageError("numbers", "malformed --range or --set");

    // The range is checked as the analysis checks it: its order first, then the database's draws.
    SearchInputs in;
    std::tie(in.rangeFrom, in.rangeTo) = *range;
    in.set = *set;
    const auto db = LoadDatabaseForSearch(opt.dir, in);
    if (!db)
        return ExitRefused;
    const auto table = ComputeNumberTable(NumberTableInput{QueryFromOptions(in, *db), opt.last});
    if (!table) // LoadDatabaseForSearch has refused every range the table refuses
        return Failure(RefusalText(SearchRefusal::Range));

    const char separator = DecimalSeparator(opt.decimal);
    if (opt.json) {
        std::printf("%s\n", NumbersJson(*table, *set).dump().c_str());
        return ExitDone;
    }
    PrintTable(*table, separator);
    if (opt.out.empty())
        return ExitDone;
    if (const auto error = WriteReportFile(opt.out, NumbersReportBytes(*table, separator), opt.dir))
        return Failure(opt.out + ": " + *error);
    std::printf("Wyniki analizy zostały umieszczone w pliku \"%s\"\n", opt.out.c_str());
    return ExitDone;
}

} // namespace

void AddNumbersCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand(
        "numbers", "Shows how often, how lately and how long ago each number came, beside what chance alone gives");
    auto opt = std::make_shared<NumbersOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file (the window's LICZBY.NNNN.txt)")->type_name("FILE");
    command->add_option("--range", opt->range, "ordinals of the first and the last draw of the table")
        ->required()
        ->type_name("FROM:TO")
        ->check(PairValidator("FROM:TO"));
    AddIntegerOption(*command, "--last", opt->last, "the last draws of the range whose counts are judged (default 100)",
                     1, MaxDraws)
        ->type_name("N");
    command->add_option("--set", opt->set, "the numbers of the set, marked in the table")
        ->type_name("N,N,...")
        ->check(NumberSetValidator());
    AddDecimalOption(*command, opt->decimal);
    command->add_flag("--json", opt->json, "print one JSON object instead of the table");
    command->callback([opt, &context] { context.status = RunNumbers(*opt); });
}

} // namespace zg::cli
