// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the subcommands of zentagrafo-cli share: the way each adds itself to the application, the
// option values they take (a number set, "A:B" pairs, a decimal separator) with their CLI11
// validators, the folder database checked against a search and the search itself, and the way a
// command reports that it refused (exit 1) or was called wrongly after parsing (exit 2).
// CLI11 itself is included only by the .cpp files that build commands, not through this header.
#include "analysis/AnalysisParameters.h"
#include "analysis/DrawQuery.h"
#include "analysis/SetHitSearch.h"
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
#include "base/DrawTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace CLI {
class App;
class Option;
class Validator;
} // namespace CLI

namespace zg::cli {

// Exit statuses of every command.
inline constexpr int ExitDone = 0;    // done
inline constexpr int ExitRefused = 1; // refused or nothing found, with the program's message
inline constexpr int ExitUsage = 2;   // the arguments are malformed

// What a command gets when it adds itself to the application: the caller's settings, read when
// the command runs, and where its exit status goes. Each command file defines one function
//     void Add<Name>Command(CLI::App& app, CommandContext& context);
// that adds its subcommand with its options and, as the subcommand's callback, the work it runs;
// app/cli/Cli.cpp lists these functions in the order --help shows the commands.
struct CommandContext {
    RunSettings settings;
    int status = ExitDone;
};

// A whole text as a 32-bit integer: optional minus sign and decimal digits, nothing else ("010"
// is 10, "0x10" and "+1" are refused). Every integer the commands take is read by it.
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
// The draws are not known yet: QueryFromOptions adds them once the database is loaded.
using SearchInputs = AnalysisParameters;
std::optional<SearchInputs> CheckSearchOptions(const std::string& command, const SearchOptions& options);

// The query every command asks of the loaded database: its draws (without masks, as a command
// runs one analysis), with the set, the range and the hit bounds of `in`.
DrawQuery QueryFromOptions(const SearchInputs& in, const FolderDatabase& db);

// Loads DIR's database and checks the search against it in the main window's order: the range,
// then the hit bounds (the window's messages), then that the range lies within the database's
// draws. On any failure prints why to standard error and returns nothing (exit ExitRefused).
std::optional<FolderDatabase> LoadDatabaseForSearch(const std::string& dir, const SearchInputs& in);

// A set-hit search with the ordinals of the draws it found (foundDraws[1..foundCount], 1-based as
// the search writes them).
struct FoundSearch {
    SearchResult result;
    std::unique_ptr<std::int32_t[]> foundDraws;
    std::int32_t foundCount = 0;
};

// Whether a search keeps its result's rows and statistics, or only the ordinals of the draws it
// found (what a command that reports on the found draws alone needs: no row table is built).
enum class SearchRows { Kept, OrdinalsOnly };

// Runs the set-hit search of `in` over the draws. When no draw qualifies prints the program's
// message to standard error and returns nothing (exit ExitRefused). With SearchRows::OrdinalsOnly
// the result stays empty and only foundDraws and foundCount are filled, the same as the full
// search fills them.
std::optional<FoundSearch> RunSearch(const DrawsView& draws, const SearchInputs& in,
                                     SearchRows rows = SearchRows::Kept);

// LoadDatabaseForSearch, then RunSearch over its draws: the database (which the search's draws
// view reads) and what the search found. Returns nothing when either refused (exit ExitRefused).
struct SearchedDatabase {
    FolderDatabase db;
    FoundSearch found;
};
std::optional<SearchedDatabase> LoadAndSearch(const std::string& dir, const SearchInputs& in,
                                              SearchRows rows = SearchRows::Kept);

// Adds an integer option read by ParseInt and refused outside min..max (exit ExitUsage). CLI11's
// own conversion would read a leading 0 or 0x as octal or hexadecimal.
CLI::Option* AddIntegerOption(CLI::App& command, const std::string& name, std::int32_t& value,
                              const std::string& description, std::int32_t min, std::int32_t max);

// Adds --decimal (',' or '.'); the separator is the locale's when the option is not given.
void AddDecimalOption(CLI::App& command, std::string& decimal);
char DecimalSeparator(const std::string& decimal);

// The clean-up every command that writes runs first: the temporary files that killed writers left
// in the program folder's write folders (RemoveStaleProgramTempFiles) and beside the output file.
void RemoveStaleTempFilesFor(const std::string& dir, const std::string& out);

// Whether OUT is one of the own files of the program folder DIR (the database, its lock, a waiting
// download, the settings, a backup, the program itself: ProgramFileAt). When it is, prints
// "OUT: " and the program's refusal to standard error; the command then writes nothing and exits
// with ExitUsage.
bool RefuseProgramFileOutput(const std::string& dir, const std::string& out);

// Prints the program's message of a refusal to standard error; returns ExitRefused.
int Failure(std::string_view text);

// Prints "COMMAND: WHY" and a pointer to --help to standard error; returns ExitUsage.
int UsageError(const std::string& command, const std::string& why);

} // namespace zg::cli
