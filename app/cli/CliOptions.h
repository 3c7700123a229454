#pragma once
// What the subcommands of zentagrafo-cli share: the option values they take (a number set, "A:B"
// pairs, a decimal separator) with their CLI11 validators, and the way a command reports that it
// refused (exit 1) or was called wrongly after parsing (exit 2).
#include "app/DrawTypes.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zg::cli {

// Exit statuses of every command.
inline constexpr int ExitDone = 0;    // done
inline constexpr int ExitRefused = 1; // refused or nothing found, with the program's message
inline constexpr int ExitUsage = 2;   // the arguments are malformed

// A whole text as a 32-bit integer: optional minus sign and digits, nothing else.
std::optional<std::int32_t> ParseInt(std::string_view text);

// "A:B" as two integers.
std::optional<std::pair<std::int32_t, std::int32_t>> ParsePair(std::string_view text);

// "3,7,15": lottery numbers separated by commas, each at most once. A repeated number is refused
// rather than dropped, so that a typing mistake is not silently analysed as a smaller set. On
// failure returns nothing and says why in `why`.
std::optional<NumberSetData> ParseNumberSet(std::string_view text, std::string* why = nullptr);

// Validators of those option values, for CLI11 options.
CLI::Validator NumberSetValidator();
CLI::Validator PairValidator(const std::string& shape); // shape names the parts: "FROM:TO"

// Adds the --set, --range and --hits options of the commands that run the set-hit search.
struct SearchOptions {
    std::string set;
    std::string range;
    std::string hits;
};
void AddSearchOptions(CLI::App& command, SearchOptions& options);

// The search inputs, checked as the main window checks them before a search can be refused: the
// hit bounds lie in 0..min(size of the set, 20). On a usage error prints it and returns nothing.
struct SearchInputs {
    NumberSetData set;
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::int32_t hitsFrom = 0;
    std::int32_t hitsTo = 0;
};
std::optional<SearchInputs> CheckSearchOptions(const std::string& command, const SearchOptions& options);

// Adds --decimal (',' or '.'); the separator is the locale's when the option is not given.
void AddDecimalOption(CLI::App& command, std::string& decimal);
char DecimalSeparator(const std::string& decimal);

// Prints the program's message of a refusal to standard error; returns ExitRefused.
int Failure(std::string_view text);

// Prints "COMMAND: WHY" and a pointer to --help to standard error; returns ExitUsage.
int UsageError(const std::string& command, const std::string& why);

} // namespace zg::cli
