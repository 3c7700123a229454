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
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
#include "database/DrawDatabase.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zg::cli {

namespace {

constexpr const char* AnalysisUsage =
    "Usage: zentagrafo-cli analysis DIR --set 3,7,15 --range FROM:TO --hits LOW:HIGH [--decimal ,|.] OUT\n"
    "  --set      the numbers of the set (1..80, each once), separated by commas\n"
    "  --range    ordinals of the first and the last draw analysed\n"
    "  --hits     least and greatest number of set numbers a draw must hit (0..min(size of set, 20))\n"
    "  --decimal  decimal separator of the average (default: the locale's)\n";

int UsageError(const std::string& why) {
    if (!why.empty())
        std::fprintf(stderr, "analysis: %s\n", why.c_str());
    std::fputs(AnalysisUsage, stderr);
    return 2;
}

int Failure(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    return 1;
}

// A whole argument as a 32-bit integer: optional minus sign and digits, nothing else.
std::optional<std::int32_t> ParseInt(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    if (text.empty())
        return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

// "A:B" as two integers.
std::optional<std::pair<std::int32_t, std::int32_t>> ParsePair(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto a = ParseInt(text.substr(0, colon));
    const auto b = ParseInt(text.substr(colon + 1));
    if (!a || !b)
        return std::nullopt;
    return std::pair{*a, *b};
}

struct Options {
    std::string dir;
    std::string out;
    std::string set;
    std::string range;
    std::string hits;
    std::string decimal;
};

} // namespace

int CmdAnalysis(const Args& args) {
    Options opt;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string* target = a == "--set"       ? &opt.set
                              : a == "--range"   ? &opt.range
                              : a == "--hits"    ? &opt.hits
                              : a == "--decimal" ? &opt.decimal
                                                 : nullptr;
        if (target != nullptr) {
            if (i + 1 >= args.size())
                return UsageError(a + " needs a value");
            *target = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return UsageError("unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2)
        return UsageError("expected the program folder and the report file");
    if (opt.set.empty() || opt.range.empty() || opt.hits.empty())
        return UsageError("--set, --range and --hits are required");
    opt.dir = positional[0];
    opt.out = positional[1];

    // The set: numbers 1..80, each once. A repeated number is refused rather than dropped, so that
    // a typing mistake is not silently analysed as a smaller set.
    NumberSetData set;
    std::string_view rest = opt.set;
    for (;;) {
        const auto comma = rest.find(',');
        const auto n = ParseInt(rest.substr(0, comma));
        if (!n)
            return UsageError("--set takes numbers separated by commas: " + opt.set);
        if (!IsLotteryNumber(*n))
            return UsageError("set number out of 1..80: " + std::to_string(*n));
        if (set.Member[*n])
            return UsageError("set number given twice: " + std::to_string(*n));
        set.Member[*n] = true;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    CompleteNumberSet(set);

    const auto range = ParsePair(opt.range);
    if (!range)
        return UsageError("--range takes FROM:TO");
    const auto hits = ParsePair(opt.hits);
    if (!hits)
        return UsageError("--hits takes LOW:HIGH");
    // The window's hit fields cannot go beyond 0..min(k, 20); neither can these.
    const std::int32_t maxHits = std::min<std::int32_t>(set.Count, 20);
    for (std::int32_t h : {hits->first, hits->second})
        if (h < 0 || h > maxHits)
            return UsageError("hit bound out of 0.." + std::to_string(maxHits) + ": " + std::to_string(h));

    char separator = LocaleDecimalSeparator();
    if (!opt.decimal.empty()) {
        if (opt.decimal != "," && opt.decimal != ".")
            return UsageError("--decimal takes , or .");
        separator = opt.decimal[0];
    }

    // The table is large (99,999 draws); it lives on the heap for the length of the command.
    const auto db = LoadFolderDatabase(opt.dir);
    if (!db)
        return 1;
    const DrawsView draws = db->View();

    const auto [rangeFrom, rangeTo] = *range;
    const auto [hitsFrom, hitsTo] = *hits;
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

} // namespace zg::cli
