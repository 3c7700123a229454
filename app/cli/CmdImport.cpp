// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli import DIR FILE [--replace] [--skip-bad] [--dry-run] [--take first|last]
//
// Reads a results file and brings its draws into the database of a program folder in one of the
// two modes of the draw management window's import, with its checks and messages.
//
// Exit status: 0 imported, or nothing new to import; 1 the file cannot be read, has bad lines
// (without --skip-bad), or the import is refused or cannot be written; 2 the arguments are
// malformed.
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/SafeFile.h"
#include "database/Backups.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ProgramFolder.h"
#include "database/ResultsImport.h"
#include "database/ShiftedData.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct ImportOptions {
    std::string dir;
    std::string file;
    bool replace = false;  // "Zastąp całą bazę"; otherwise "Dopisz nowe losowania"
    bool skipBad = false;  // import the valid draws of a file with bad lines
    bool dryRun = false;   // do everything but write
    bool takeLast = false; // a line with more than 20 numbers gives its last 20 (--take last)
};

// The last line of the summary, whatever the outcome: the draws appended or written.
int NewDraws(std::int32_t count, int status) {
    std::printf("new draws: %d\n", count);
    return status;
}

void PrintRange(const char* label, const ImportedDraw& first, const ImportedDraw& last) {
    std::printf("%s: %s - %s\n", label, ImportedDateText(first).c_str(), ImportedDateText(last).c_str());
}

int RunImport(const ImportOptions& options) {
    const ResultsFileBytes file = ReadResultsFileBytes(options.file);
    if (!file.ok) {
        std::fprintf(stderr, "%s: %s\n", options.file.c_str(), file.error.c_str());
        return ExitRefused;
    }
    const ImportedResults results =
        ReadResultsFile(file.bytes, options.takeLast ? TakeNumbers::Last : TakeNumbers::First);
    // Every bad line, as it is found. Standard error is unbuffered: the lines go out in pieces of
    // about 64 kB. A closed standard error (a pipe whose reader ended) changes nothing here.
    std::string problems;
    ForEachImportProblem(file.bytes, results, [&problems](const ImportProblem& problem) {
        problems += "line " + std::to_string(problem.line) + ": ";
        problems += problem.Reason();
        problems += '\n';
        if (problems.size() >= 65536) {
            std::fwrite(problems.data(), 1, problems.size(), stderr);
            problems.clear();
        }
    });
    std::fwrite(problems.data(), 1, problems.size(), stderr);

    const std::string dbPath = options.dir + "/" + std::string(DatabaseFileName);
    // A database linked to a device or a FIFO is refused before any clean-up or lock touches the
    // folder it points into.
    if (DatabaseIsSpecialFile(dbPath)) {
        std::fprintf(stderr, "%s: %.*s\n", dbPath.c_str(), static_cast<int>(NotRegularFileText.size()),
                     NotRegularFileText.data());
        return NewDraws(0, ExitRefused);
    }
    if (!options.dryRun)
        RemoveStaleProgramTempFiles(options.dir);
    // Zeroed memory that the system hands out untouched: only the pages the load fills cost anything.
    const std::unique_ptr<DrawRecord[], decltype(&std::free)> table(
        static_cast<DrawRecord*>(std::calloc(static_cast<std::size_t>(MaxDraws) + 1, sizeof(DrawRecord))), &std::free);
    if (!table) {
        std::fprintf(stderr, "%s\n", SystemErrorText(ENOMEM).c_str());
        return ExitRefused;
    }
    const LoadResult load = LoadDatabase(dbPath, table.get());
    std::error_code ec;
    // As the program counts it: only a missing file leaves nothing unread behind.
    const bool readWhole =
        load.ok ? !load.truncated && load.shortGroupValues == 0 : !std::filesystem::exists(dbPath, ec) && !ec;
    const DrawsView database{table.get(), load.ok ? load.drawCount : 0};
    // Draws that look shifted by a lost value are no base to append to either; a replacement
    // repairs such a database.
    const bool whole = readWhole && !FindShiftedData(database);
    // The stamp of the bytes loaded, from the descriptor read: the write refuses a file that
    // changed since.
    const FileStamp stamp = load.ok ? load.stamp : ReadFileStamp(dbPath);

    std::printf("file: %s\n", options.file.c_str());
    std::printf("draws read: %zu\n", results.draws.size());
    if (!results.draws.empty())
        PrintRange("dates", results.draws.front(), results.draws.back());
    std::printf("repeats dropped: %d\n", results.repeats);
    std::printf("lines with more than 20 numbers: %d\n", results.linesWithExtraNumbers);
    std::printf("bad lines: %zu\n", results.problemCount);
    std::printf("database: %s, %d draws%s\n", dbPath.c_str(), database.count, whole ? "" : " (not read whole)");
    std::printf("mode: %s\n", options.replace ? "replace the whole database" : "append new draws");

    if (results.problemCount > 0 && !options.skipBad) {
        std::fprintf(stderr, "%zu bad lines: nothing imported (--skip-bad imports the other draws)\n",
                     results.problemCount);
        return NewDraws(0, ExitRefused);
    }
    const ImportPlan plan =
        PlanImport(results, database, whole, options.replace ? ImportMode::ReplaceAll : ImportMode::AppendNew);
    // What the plan does to the stored draws, right before the count of new ones.
    const auto finish = [&plan, &options](std::int32_t count, int status) {
        if (options.replace)
            std::printf("removed draws: %d\n", plan.removedCount);
        else
            std::printf("corrected dates: %zu\n", plan.corrections.size());
        return NewDraws(count, status);
    };
    if (plan.outcome == ImportPlan::Outcome::NothingNew) {
        std::printf("%s\n", plan.message.c_str());
        return finish(0, ExitDone);
    }
    if (plan.refused()) {
        Failure(plan.message);
        return finish(0, ExitRefused);
    }
    const ImportWrite written = ApplyImport(results, plan, options.dir, stamp, load.layoutProbe, options.dryRun);
    switch (written.status) {
    case ImportWrite::Status::Written:
        break;
    case ImportWrite::Status::ChangedOutside:
        Failure(ChangedOutsideText);
        return finish(0, ExitRefused);
    case ImportWrite::Status::Failed:
    case ImportWrite::Status::NothingToWrite:
        std::fprintf(stderr, "%s: %s\n", dbPath.c_str(), written.error.c_str());
        return finish(0, ExitRefused);
    }
    if (plan.newCount > 0) {
        const std::size_t last = plan.firstNew + static_cast<std::size_t>(plan.newCount) - 1;
        std::printf("first new draw: ordinal %d\n", plan.firstOrdinal);
        PrintRange("new draws' dates", results.draws[plan.firstNew], results.draws[last]);
    }
    std::printf("draws in the database: %d\n", plan.drawCountAfter);
    if (options.dryRun)
        std::printf("dry run: nothing written\n");
    if (written.pendingDownloadDeleted)
        std::printf("deleted the waiting full download %s, which would have replaced the database at the next "
                    "start\n",
                    std::string(PendingDownloadFileName).c_str());
    if (!written.backupName.empty())
        std::printf("backup: %s/%s\n", std::string(BackupFolderName).c_str(), written.backupName.c_str());
    if (!written.backupReadError.empty())
        std::printf("unreadable database (%s): %s/%s holds the %lld bytes that could be read\n",
                    written.backupReadError.c_str(), std::string(BackupFolderName).c_str(), written.backupName.c_str(),
                    static_cast<long long>(written.backupBytes));
    return finish(plan.newCount, ExitDone);
}

} // namespace

void AddImportCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand(
        "import", "Brings the draws of a results file (text or CSV: a date and 20 numbers a line) into the database");
    auto opt = std::make_shared<ImportOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("FILE", opt->file, "the results file")->required()->type_name("FILE");
    command->add_flag("--replace", opt->replace,
                      "replace the whole database with the file's draws (default: append the draws after the "
                      "database's last one)");
    command->add_flag("--skip-bad", opt->skipBad, "import the other draws when some lines are bad");
    command->add_flag("--dry-run", opt->dryRun, "check and report everything, but write nothing");
    command
        ->add_option_function<std::string>(
            "--take", [opt](const std::string& take) { opt->takeLast = take == "last"; },
            "which 20 numbers of a line with more make the draw: first (default) or last (a draw-of-day index "
            "after the date)")
        ->check(CLI::IsMember({"first", "last"}))
        ->type_name("first|last");
    command->callback([opt, &context] { context.status = RunImport(*opt); });
}

} // namespace zg::cli
