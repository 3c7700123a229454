// zentagrafo-cli analysis DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] OUT
//
// Runs the set-hit search over the database of a program folder and writes the analysis report,
// the same bytes the main window's save button writes for the same search.
//
// Exit status: 0 report written; 1 the database cannot be loaded, the range lies outside it, the
// search is refused (range first, then hit bounds, as the window does), nothing qualifies or the
// report cannot be written; 2 the arguments are malformed.
#include "analysis/AnalysisReport.h"
#include "analysis/DateRoutines.h"
#include "analysis/NumberFormat.h"
#include "analysis/ReportWriter.h"
#include "analysis/SetHitSearch.h"
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
#include "database/DrawDatabase.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zg::cli {

namespace {

struct AnalysisOptions {
    std::string dir;
    std::string out;
    SearchOptions search;
    std::string decimal;
};

int RunAnalysis(const AnalysisOptions& opt) {
    const auto in = CheckSearchOptions("analysis", opt.search);
    if (!in)
        return ExitUsage;
    const NumberSetData& set = in->set;
    const char separator = DecimalSeparator(opt.decimal);

    // The table is large (99,999 draws); it lives on the heap for the length of the command.
    const auto db = LoadFolderDatabase(opt.dir);
    if (!db)
        return 1;
    const DrawsView draws = db->View();

    const std::int32_t rangeFrom = in->rangeFrom;
    const std::int32_t rangeTo = in->rangeTo;
    const std::int32_t hitsFrom = in->hitsFrom;
    const std::int32_t hitsTo = in->hitsTo;
    const SearchRefusal refusal = ValidateSearch(rangeFrom, rangeTo, hitsFrom, hitsTo);
    if (refusal != SearchRefusal::None)
        return Failure(RefusalText(refusal));
    if (rangeFrom < 1 || rangeTo > draws.count)
        return Failure("range " + std::to_string(rangeFrom) + ":" + std::to_string(rangeTo) +
                       " lies outside the draws of the database (1.." + std::to_string(draws.count) + ")");

    auto foundDraws = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(MaxDraws) + 1);
    std::int32_t foundCount = 0;
    const SearchResult result =
        SetHitSearch(draws, set, rangeFrom, rangeTo, hitsFrom, hitsTo, foundDraws.get(), foundCount, nullptr);
    if (result.rows.empty())
        return Failure(NothingFoundText);

    AnalysisReportInput input;
    input.rangeFrom = rangeFrom;
    input.rangeTo = rangeTo;
    input.rangeFromDate = DrawDateText(draws, rangeFrom);
    input.rangeToDate = DrawDateText(draws, rangeTo);
    input.hitsFromText = std::to_string(hitsFrom);
    input.hitsToText = std::to_string(hitsTo);
    input.setNumbers = SetNumbersOf(set);
    input.rows = result.rows;
    input.statistics = SearchStatisticsTexts(result, set.Count, draws, separator);

    if (const auto error = WriteReportFile(opt.out, AnalysisReportBytes(input)))
        return Failure(opt.out + ": " + *error);
    std::printf("Wyniki analizy zostały umieszczone w pliku \"%s\"\n", opt.out.c_str());
    return 0;
}

} // namespace

void AddAnalysisCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("analysis", "Runs the set-hit search and writes the analysis report to OUT");
    auto opt = std::make_shared<AnalysisOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("OUT", opt->out, "the report file")->required()->type_name("FILE");
    AddSearchOptions(*command, opt->search);
    AddDecimalOption(*command, opt->decimal);
    command->callback([opt, &status] { status = RunAnalysis(*opt); });
}

} // namespace zg::cli
