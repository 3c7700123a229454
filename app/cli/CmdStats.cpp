// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli stats DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] [--json]
//
// Runs the set-hit search over the database of a program folder and tells what chance alone would
// give beside what the draws gave: the hits per draw against a fair draw with the chi-squared
// test, the chance that a draw qualifies, the gaps of the found draws and the count of every
// number with its 95% band. Readable tables by default; --json prints one JSON object instead.
//
// Exit status: 0 printed (also when no draw qualifies: the gaps are then empty); 1 the database
// cannot be loaded, the range lies outside it or the search is refused; 2 malformed arguments.
#include "analysis/ChanceStatistics.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/NumberFormat.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct StatsOptions {
    std::string dir;
    SearchOptions search;
    std::string decimal;
    bool json = false;
};

nlohmann::ordered_json OptionalNumber(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json StatisticsJson(const ChanceStatistics& s, const SearchInputs& in) {
    using Json = nlohmann::ordered_json;
    Json set = Json::array();
    for (std::int32_t x = 1; x <= 80; ++x)
        if (in.set.Member[x])
            set.push_back(x);

    Json hits = Json::array();
    for (const HitFrequency& h : s.hitDistribution)
        hits.push_back(Json{{"hits", h.hits}, {"observed", h.observed}, {"expected", h.expected}});

    Json chi = nullptr;
    if (s.chiSquare) {
        Json bins = Json::array();
        for (const HitBin& b : s.chiSquare->bins)
            bins.push_back(Json::array({b.from, b.to}));
        chi = Json{{"statistic", s.chiSquare->statistic},
                   {"df", s.chiSquare->degreesOfFreedom},
                   {"p_value", s.chiSquare->pValue},
                   {"bins", bins}};
    }

    Json histogram = Json::array();
    for (const GapFrequency& g : s.gapHistogram)
        histogram.push_back(Json{{"gap", g.gap}, {"observed", g.observed}, {"expected", g.expected}});

    Json numbers = Json::array();
    for (const NumberFrequency& n : s.numbers)
        numbers.push_back(Json{{"number", n.number},
                               {"count", n.count},
                               {"expected", n.expected},
                               {"low", n.low},
                               {"high", n.high},
                               {"outside", n.outside}});

    return Json{{"draws", s.draws},
                {"set", set},
                {"range", Json::array({in.rangeFrom, in.rangeTo})},
                {"hits", Json::array({in.hitsFrom, in.hitsTo})},
                {"p_qualify", s.qualifyProbability},
                {"hit_distribution", hits},
                {"chi_square", chi},
                {"gaps", Json{{"count", s.gapCount},
                              {"observed_mean", OptionalNumber(s.observedMeanGap)},
                              {"expected_mean", OptionalNumber(s.expectedMeanGap)},
                              {"histogram", histogram}}},
                {"numbers", numbers}};
}

void PrintTables(const ChanceStatistics& s, const SearchInputs& in, char separator) {
    const auto fixed = [separator](double value, int decimals) { return FormatDecimal(value, 1, decimals, separator); };
    std::string set;
    for (std::int32_t x = 1; x <= 80; ++x)
        if (in.set.Member[x])
            set += (set.empty() ? "" : ",") + std::to_string(x);
    std::printf("draws %d..%d: %d\n", in.rangeFrom, in.rangeTo, s.draws);
    std::printf("set (%d numbers): %s\n", s.setSize, set.c_str());
    std::printf("hits: %d..%d\n", in.hitsFrom, in.hitsTo);
    std::printf("chance that a fair draw qualifies: %s\n", fixed(s.qualifyProbability, 6).c_str());

    std::printf("\nhit distribution\n%6s %10s %14s\n", "hits", "observed", "expected");
    for (const HitFrequency& h : s.hitDistribution)
        std::printf("%6d %10lld %14s\n", h.hits, static_cast<long long>(h.observed), fixed(h.expected, 3).c_str());
    if (s.chiSquare) {
        std::string bins;
        for (const HitBin& b : s.chiSquare->bins)
            bins += (bins.empty() ? "" : ", ") + std::to_string(b.from) + ".." + std::to_string(b.to);
        std::printf("chi-squared %s, %d degrees of freedom, classes %s\n", fixed(s.chiSquare->statistic, 4).c_str(),
                    s.chiSquare->degreesOfFreedom, bins.c_str());
    }
    std::printf("%s\n", ChiSquareSentence(s.chiSquare, separator).c_str());

    std::printf("\ngaps of the %lld draws found: mean %s, expected %s\n", static_cast<long long>(s.gapCount),
                s.observedMeanGap ? fixed(*s.observedMeanGap, 3).c_str() : "-",
                s.expectedMeanGap ? fixed(*s.expectedMeanGap, 3).c_str() : "-");
    if (!s.gapHistogram.empty()) {
        std::printf("%6s %10s %14s\n", "gap", "observed", "expected");
        for (const GapFrequency& g : s.gapHistogram)
            std::printf("%6d %10lld %14s\n", g.gap, static_cast<long long>(g.observed), fixed(g.expected, 3).c_str());
    }

    std::printf("\nnumbers (* outside the 95%% band)\n%6s %8s %12s %15s\n", "number", "count", "expected", "95% band");
    for (const NumberFrequency& n : s.numbers) {
        const std::string band = std::to_string(n.low) + ".." + std::to_string(n.high);
        std::printf("%6d %8lld %12s %15s%s\n", n.number, static_cast<long long>(n.count), fixed(n.expected, 2).c_str(),
                    band.c_str(), n.outside ? " *" : "");
    }
}

int RunStats(const StatsOptions& opt) {
    const auto in = CheckSearchOptions("stats", opt.search);
    if (!in)
        return ExitUsage;
    const auto db = LoadDatabaseForSearch(opt.dir, *in);
    if (!db)
        return ExitRefused;

    const ChanceStatistics stats = ComputeChanceStatistics(QueryFromOptions(*in, *db));

    if (opt.json)
        std::printf("%s\n", StatisticsJson(stats, *in).dump().c_str());
    else
        PrintTables(stats, *in, DecimalSeparator(opt.decimal));
    return ExitDone;
}

} // namespace

void AddStatsCommand(CLI::App& app, CommandContext& context) {
    auto* command =
        app.add_subcommand("stats", "Runs the set-hit search and compares the draws with what chance alone would give");
    auto opt = std::make_shared<StatsOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    AddSearchOptions(*command, opt->search);
    AddDecimalOption(*command, opt->decimal);
    command->add_flag("--json", opt->json, "print one JSON object instead of the tables");
    command->callback([opt, &context] { context.status = RunStats(*opt); });
}

} // namespace zg::cli
