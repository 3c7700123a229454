// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CliOptions.h"

#include "base/NumberFormat.h"
#include "base/ProgramFiles.h"
#include "base/SafeFile.h"
#include "database/ProgramFolder.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace zg::cli {

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

std::optional<NumberSetData> ParseNumberSet(std::string_view text, std::string* why) {
    const auto refuse = [why](std::string reason) -> std::optional<NumberSetData> {
        if (why != nullptr)
            *why = std::move(reason);
        return std::nullopt;
    };
    NumberSetData set;
    std::string_view rest = text;
    for (;;) {
        const auto comma = rest.find(',');
        const auto n = ParseInt(rest.substr(0, comma));
        if (!n)
            return refuse("numbers separated by commas expected: " + std::string(text));
        if (!IsLotteryNumber(*n))
            return refuse("set number out of 1..80: " + std::to_string(*n));
        if (set.Member[*n])
            return refuse("set number given twice: " + std::to_string(*n));
        set.Member[*n] = true;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    CompleteNumberSet(set);
    return set;
}

CLI::Validator NumberSetValidator() {
    return CLI::Validator(
        [](std::string& value) {
            std::string why;
            return ParseNumberSet(value, &why) ? std::string() : why;
        },
        "");
}

CLI::Validator PairValidator(const std::string& shape) {
    return CLI::Validator(
        [shape](std::string& value) { return ParsePair(value) ? std::string() : "expected " + shape + ": " + value; },
        "");
}

void AddSearchOptions(CLI::App& command, SearchOptions& options) {
    command.add_option("--set", options.set, "the numbers of the set (1..80, each once), separated by commas")
        ->required()
        ->type_name("N,N,...")
        ->check(NumberSetValidator());
    command.add_option("--range", options.range, "ordinals of the first and the last draw analysed")
        ->required()
        ->type_name("FROM:TO")
        ->check(PairValidator("FROM:TO"));
    command
        .add_option("--hits", options.hits,
                    "least and greatest number of set numbers a draw must hit (0..min(size of set, 20))")
        ->required()
        ->type_name("LOW:HIGH")
        ->check(PairValidator("LOW:HIGH"));
}

std::optional<SearchInputs> CheckSearchOptions(const std::string& command, const SearchOptions& options) {
    SearchInputs in;
    const auto set = ParseNumberSet(options.set);
    const auto range = ParsePair(options.range);
    const auto hits = ParsePair(options.hits);
    if (!set || !range || !hits) { // the validators have let nothing else through
        UsageError(command, "malformed --set, --range or --hits");
        return std::nullopt;
    }
    in.set = *set;
    std::tie(in.rangeFrom, in.rangeTo) = *range;
    std::tie(in.hitsFrom, in.hitsTo) = *hits;
    const auto colon = options.hits.find(':');
    in.hitsFromText = options.hits.substr(0, colon);
    in.hitsToText = options.hits.substr(colon + 1);
    // The window's hit fields cannot go beyond 0..min(k, 20); neither can these.
    const std::int32_t maxHits = std::min<std::int32_t>(in.set.Count, 20);
    for (std::int32_t h : {in.hitsFrom, in.hitsTo})
        if (h < 0 || h > maxHits) {
            UsageError(command, "hit bound out of 0.." + std::to_string(maxHits) + ": " + std::to_string(h));
            return std::nullopt;
        }
    return in;
}

DrawQuery QueryFromOptions(const SearchInputs& in, const FolderDatabase& db) {
    DrawQuery query = in;
    query.draws = db.View();
    query.masks = nullptr;
    return query;
}

std::optional<FolderDatabase> LoadDatabaseForSearch(const std::string& dir, const SearchInputs& in) {
    auto db = LoadFolderDatabase(dir);
    if (!db)
        return std::nullopt;
    const SearchRefusal refusal = ValidateSearch(in.rangeFrom, in.rangeTo, in.hitsFrom, in.hitsTo);
    if (refusal != SearchRefusal::None) {
        Failure(RefusalText(refusal));
        return std::nullopt;
    }
    if (in.rangeFrom < 1 || in.rangeTo > db->count) {
        Failure("range " + std::to_string(in.rangeFrom) + ":" + std::to_string(in.rangeTo) +
                " lies outside the draws of the database (1.." + std::to_string(db->count) + ")");
        return std::nullopt;
    }
    return db;
}

std::optional<FoundSearch> RunSearch(const DrawsView& draws, const SearchInputs& in, SearchRows rows) {
    FoundSearch found;
    // Room for every draw the table can hold (99,999), on the heap for the length of the command.
    found.foundDraws = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(MaxDraws) + 1);
    if (rows == SearchRows::Kept) {
        found.result = SetHitSearch(draws, in.set, in.rangeFrom, in.rangeTo, in.hitsFrom, in.hitsTo,
                                    found.foundDraws.get(), found.foundCount, nullptr);
    } else {
        // The hits the search counts, entry i for draw from + i of the range cut as it cuts it;
        // a draw qualifies by the same bounds, and the list holds at most MaxDraws ordinals.
        const std::int32_t from = std::max(in.rangeFrom, 1);
        const std::vector<std::uint8_t> hits = SetHitsOfRange(draws, nullptr, in.set, in.rangeFrom, in.rangeTo);
        std::int32_t* ordinals = found.foundDraws.get();
        std::int32_t count = 0;
        for (std::size_t i = 0; i < hits.size() && count < MaxDraws; ++i)
            if (hits[i] >= in.hitsFrom && hits[i] <= in.hitsTo)
                ordinals[++count] = from + static_cast<std::int32_t>(i);
        found.foundCount = count;
    }
    if (found.foundCount == 0) {
        Failure(NothingFoundText);
        return std::nullopt;
    }
    return found;
}

std::optional<SearchedDatabase> LoadAndSearch(const std::string& dir, const SearchInputs& in, SearchRows rows) {
    auto db = LoadDatabaseForSearch(dir, in);
    if (!db)
        return std::nullopt;
    auto found = RunSearch(db->View(), in, rows);
    if (!found)
        return std::nullopt;
    return SearchedDatabase{std::move(*db), std::move(*found)};
}

CLI::Option* AddIntegerOption(CLI::App& command, const std::string& name, std::int32_t& value,
                              const std::string& description, std::int32_t min, std::int32_t max) {
    const CLI::Validator decimal(
        [min, max](std::string& text) {
            const auto v = ParseInt(text);
            if (!v)
                return "decimal digits expected: " + text;
            if (*v < min || *v > max)
                return "out of " + std::to_string(min) + ".." + std::to_string(max) + ": " + text;
            return std::string();
        },
        "");
    return command
        .add_option_function<std::string>(
            name, [&value](const std::string& text) { value = ParseInt(text).value_or(value); }, description)
        ->check(decimal);
}

void AddDecimalOption(CLI::App& command, std::string& decimal) {
    command.add_option("--decimal", decimal, "decimal separator of the percentages (default: the locale's)")
        ->type_name(",|.")
        ->check(CLI::IsMember({",", "."}).description(""));
}

char DecimalSeparator(const std::string& decimal) {
    return decimal.empty() ? LocaleDecimalSeparator() : decimal[0];
}

void RemoveStaleTempFilesFor(const std::string& dir, const std::string& out) {
    RemoveStaleProgramTempFiles(dir, {out});
}

bool RefuseProgramFileOutput(const std::string& dir, const std::string& out) {
    const auto refusal = RefuseProgramFileTarget(out, dir);
    if (refusal)
        std::fprintf(stderr, "%s: %s\n", out.c_str(), refusal->c_str());
    return refusal.has_value();
}

int Failure(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    return ExitRefused;
}

int UsageError(const std::string& command, const std::string& why) {
    std::fprintf(stderr, "%s: %s\nRun with --help for more information.\n", command.c_str(), why.c_str());
    return ExitUsage;
}

} // namespace zg::cli
