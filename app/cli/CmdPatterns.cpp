// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli patterns DIR --range FROM:TO [--decimal ,|.] [--json] [OUT]
//
// The patterns of the draws of a range, as the window " Wzorce losowań" shows them: the sum of the
// numbers, the odd and the low ones, the neighbours, the numbers repeated from the previous draw
// and the decades, each against its exact law under fair draws, with a chi-squared test. A readable
// summary by default; --json prints one JSON object instead; OUT writes the window's report
// (WZORCE.NNNN.txt) for the same range.
//
// Exit status: 0 printed (and written); 1 the database cannot be loaded, the range is refused or
// lies outside it, or the report cannot be written; 2 malformed arguments (also --json with OUT), or
// OUT is one of the program's own files.
#include "analysis/PatternsReport.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/NumberFormat.h"
#include "base/ReportWriter.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

using Json = nlohmann::ordered_json;

struct PatternsOptions {
    std::string dir;
    std::string out;
    std::string range;
    std::string decimal;
    bool json = false;
};

Json OrNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json PatternsJson(const DrawPatterns& p) {
    Json patterns = Json::array();
    for (const PatternResult& r : p.patterns) {
        Json rows = Json::array();
        for (const PatternRow& row : r.rows)
            rows.push_back(
                Json{{"from", row.from}, {"to", row.to}, {"observed", row.observed}, {"expected", row.expected}});
        patterns.push_back(Json{{"name", PatternName(r.kind)},
                                {"draws", r.draws},
                                {"rows", rows},
                                {"mean", OrNull(r.mean)},
                                {"expected_mean", r.expectedMean},
                                {"sd", OrNull(r.sd)},
                                {"expected_sd", r.expectedSd},
                                {"chi2", r.test ? Json(r.test->statistic) : Json(nullptr)},
                                {"df", r.test ? Json(r.test->degreesOfFreedom) : Json(nullptr)},
                                {"p", r.test ? Json(r.test->pValue) : Json(nullptr)}});
    }
    Json decades = Json::array();
    for (const DecadeRow& row : p.decades.rows)
        decades.push_back(Json{{"from", row.from},
                               {"to", row.to},
                               {"observed", row.observed},
                               {"expected", row.expected},
                               {"z", OrNull(row.z)}});
    const auto& test = p.decades.test;
    return Json{{"range", Json{{"from", p.rangeFrom},
                               {"to", p.rangeTo},
                               {"draws", p.draws},
                               {"counted", p.counted},
                               {"skipped", p.skipped}}},
                {"patterns", patterns},
                {"decades", Json{{"rows", decades},
                                 {"chi2", test ? Json(test->statistic) : Json(nullptr)},
                                 {"df", 7},
                                 {"p", test ? Json(test->pValue) : Json(nullptr)}}}};
}

std::string TestText(const std::optional<ChiSquareTest>& test, char separator) {
    if (!test)
        return "no test (too few draws)";
    return "chi2 " + FormatDecimal(test->statistic, 1, 2, separator) + ", df " +
           std::to_string(test->degreesOfFreedom) + ", p " + TwoSignificantDigits(test->pValue, separator);
}

void PrintSummary(const DrawPatterns& p, char separator) {
    std::printf("draws %d..%d: %d (%s - %s), counted %d, skipped %d\n", p.rangeFrom, p.rangeTo, p.draws,
                p.firstDateLong.c_str(), p.lastDateLong.c_str(), p.counted, p.skipped);
    const auto figure = [separator](const std::optional<double>& v) {
        return v ? FormatDecimal(*v, 1, 2, separator) : std::string("-");
    };
    for (const PatternResult& r : p.patterns) {
        std::printf("\n%s over %lld draws: mean %s (chance %s), sd %s (chance %s); %s\n", PatternName(r.kind),
                    static_cast<long long>(r.draws), figure(r.mean).c_str(),
                    FormatDecimal(r.expectedMean, 1, 2, separator).c_str(), figure(r.sd).c_str(),
                    FormatDecimal(r.expectedSd, 1, 2, separator).c_str(), TestText(r.test, separator).c_str());
        std::printf("%6s %6s %9s %10s\n", "from", "to", "observed", "expected");
        for (const PatternRow& row : r.rows)
            std::printf("%6d %6d %9lld %10s\n", row.from, row.to, static_cast<long long>(row.observed),
                        FormatDecimal(row.expected, 1, 2, separator).c_str());
    }
    std::printf("\ndecades: %s\n", TestText(p.decades.test, separator).c_str());
    std::printf("%6s %6s %9s %10s %7s\n", "from", "to", "observed", "expected", "z");
    for (const DecadeRow& row : p.decades.rows)
        std::printf("%6d %6d %9lld %10s %7s\n", row.from, row.to, static_cast<long long>(row.observed),
                    FormatDecimal(row.expected, 1, 2, separator).c_str(), figure(row.z).c_str());
}

int RunPatterns(const PatternsOptions& opt) {
    if (opt.json && !opt.out.empty())
        return UsageError("patterns", "--json prints the patterns and writes no report: give either --json or OUT");
    if (!opt.out.empty()) {
        if (RefuseProgramFileOutput(opt.dir, opt.out))
            return ExitUsage;
        RemoveStaleTempFilesFor(opt.dir, opt.out);
    }
    const auto range = ParsePair(opt.range);
    if (!range) // the validator has let nothing else through
        return UsageError("patterns", "malformed --range");

    // The range is checked as the analysis checks it: its order first, then the database's draws.
    SearchInputs in;
    std::tie(in.rangeFrom, in.rangeTo) = *range;
    const auto db = LoadDatabaseForSearch(opt.dir, in);
    if (!db)
        return ExitRefused;
    const auto patterns = ComputeDrawPatterns(QueryFromOptions(in, *db));
    if (!patterns) // LoadDatabaseForSearch has refused every range the patterns refuse
        return Failure(RefusalText(SearchRefusal::Range));

    const char separator = DecimalSeparator(opt.decimal);
    if (opt.json) {
        std::printf("%s\n", PatternsJson(*patterns).dump().c_str());
        return ExitDone;
    }
    PrintSummary(*patterns, separator);
    if (opt.out.empty())
        return ExitDone;
    if (const auto error = WriteReportFile(opt.out, PatternsReportBytes(*patterns, separator), opt.dir))
        return Failure(opt.out + ": " + *error);
    std::printf("Wyniki analizy zostały umieszczone w pliku \"%s\"\n", opt.out.c_str());
    return ExitDone;
}

} // namespace

void AddPatternsCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand(
        "patterns", "Shows the sums, odd, low, neighbouring and repeated numbers and decades of the draws beside "
                    "what chance alone gives");
    auto opt = std::make_shared<PatternsOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file (the window's WZORCE.NNNN.txt)")->type_name("FILE");
    command->add_option("--range", opt->range, "ordinals of the first and the last draw")
        ->required()
        ->type_name("FROM:TO")
        ->check(PairValidator("FROM:TO"));
    AddDecimalOption(*command, opt->decimal);
    command->add_flag("--json", opt->json, "print one JSON object instead of the summary");
    command->callback([opt, &context] { context.status = RunPatterns(*opt); });
}

} // namespace zg::cli
