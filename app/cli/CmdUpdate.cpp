// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli update DIR --latest|--all [--host H] [--port P]
//
// Brings the database of a program folder up to date from the results server, as the draw
// management window's two download buttons do: the latest draw is appended at once when it is the
// next one, dated as the window dates it; the complete file is stored as the waiting download for
// the program's next start.
//
// Exit status: 0 appended or stored; 1 the setting, the download, the answer or the append is
// refused (with the window's message); 2 the arguments are malformed.
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "database/PendingDownloadCheck.h"
#include "database/ProgramFolder.h"
#include "database/ShiftedData.h"
#include "download/HttpTransfer.h"
#include "download/ResultsServerSetting.h"
#include "download/ResultsUpdate.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zg::cli {

namespace {

struct UpdateOptions {
    std::string dir;
    bool latest = false;                   // false: the complete results file
    std::string host;                      // empty: the host of DIR/zentagrafo.ini, else the built-in results host
    int port = 0;                          // 0: the port of DIR/zentagrafo.ini, else 80
    std::chrono::milliseconds deadline{0}; // 0: the request's own deadline (ResultsDeadline)
};

void Tell(std::string_view text) {
    std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
}

// Downloads one of the two results as the window does: the latest draw into this run's own
// memory, the complete file into `target`. Returns the report of a successful download that
// brought something, or nothing after printing the failure.
std::optional<TransferReport> Download(const UpdateOptions& options, bool latestOnly, const std::string& target) {
    // The folder's setting, read at each download as the window does; --host and --port each
    // replace their own part of it.
    const ResultsServerSetting setting = ReadResultsServerSetting(options.dir);
    if (!setting.ok) {
        Failure(setting.error);
        return std::nullopt;
    }
    if (options.host.empty() && options.port <= 0 && NoResultsServer(setting)) {
        Failure(NoServerCommandLineText);
        return std::nullopt;
    }
    TransferSettings settings;
    settings.url = ResultsUrl(latestOnly, options.host.empty() ? setting.server.host : options.host);
    settings.fileName = target;
    settings.port = options.port > 0 ? options.port : setting.server.port;
    settings.deadline = options.deadline.count() > 0 ? options.deadline : ResultsDeadline(latestOnly);
    settings.bodyInMemory = latestOnly;
    // The complete file must pass the check the merge of the next start makes of it.
    if (!latestOnly)
        settings.acceptBody = [](std::string_view body) { return ConvertedDownloadIsSound(body); };
    TransferFlags flags;
    TransferReport report = RunTransfer(settings, flags, {});
    if (!DeliverTransfer(report, target, flags.result)) {
        Failure(FailedDownloadText(report.fault));
        if (!report.error.empty())
            std::fprintf(stderr, "%s\n", report.error.c_str());
        return std::nullopt;
    }
    if (report.fileSize == 0) {
        Failure(NoConnectionText);
        return std::nullopt;
    }
    return report;
}

int UpdateLatest(const UpdateOptions& options) {
    const auto downloaded = Download(options, true, options.dir + "/" + std::string(LatestDrawFileName));
    if (!downloaded)
        return ExitRefused;

    // From here on this is a writer of the database: one guard holds the lock from the load to the
    // append, so that the program or another run cannot write in between.
    DatabaseGuard guard(options.dir + "/" + std::string(DatabaseFileName));
    if (guard.status() != DatabaseGuard::Status::Ready) {
        std::fprintf(stderr, "%s: %s\n", guard.path().c_str(), guard.error().c_str());
        return ExitRefused;
    }
    std::vector<DrawRecord> table(static_cast<std::size_t>(MaxDraws) + 1);
    const LoadResult load = guard.Load(table.data());
    if (!load.ok) {
        Failure(LoadErrorText);
        std::fprintf(stderr, "%s: %s\n", guard.path().c_str(), load.error.c_str());
        return ExitRefused;
    }
    const auto latest = ParseLatestDraw(downloaded->body);
    if (!latest)
        return Failure(MalformedAnswerText);
    if (latest->number != load.drawCount + 1)
        return Failure(NotNextDrawText(latest->number));

    // As the window does: the 20 numbers tick their boxes (a repeated one ticks one box twice) and
    // the append takes the ticked boxes, with its own checks.
    TickBoxes ticked{};
    for (std::int32_t n : latest->numbers)
        ticked[static_cast<std::size_t>(n)] = true;
    // As at the program's start: a database cut short or shifted in the middle is not written.
    const bool whole =
        !load.truncated && load.shortGroupValues == 0 && !FindShiftedData(DrawsView{table.data(), load.drawCount});
    switch (CheckAppend(TickCount(ticked), load.drawCount, whole)) {
    case EntryRefusal::None:
        break;
    case EntryRefusal::NotTwentyTicked:
        return Failure(AppendNotTwentyText);
    case EntryRefusal::NotLoadedWhole:
        return Failure(NotLoadedWholeText);
    case EntryRefusal::TableFull:
        return Failure(TableFullText);
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The server's date when it is a real one not before the last draw's; else the date "Dopisz"
    // would offer.
    const DrawsView stored{table.data(), load.drawCount};
    const CalendarDate date = LatestDrawDate(stored, ServerDrawDate(*latest),
                                             CalendarDate{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900});
    const DrawRecord draw = NextDrawRecord(stored, TickedNumbers(ticked), date);
    const FileWriteResult written = guard.Append(draw, load.layoutProbe, load.drawCount == 0);
    if (!written.ok) {
        std::fprintf(stderr, "%s: %s\n", guard.path().c_str(), written.error.c_str());
        return ExitRefused;
    }
    Tell(AppendedText);
    return ExitDone;
}

int UpdateAll(const UpdateOptions& options) {
    if (!Download(options, false, options.dir + "/" + std::string(PendingDownloadFileName)))
        return ExitRefused;
    Tell(FullDownloadDoneText);
    return ExitDone;
}

int RunUpdate(const UpdateOptions& options) {
    RemoveStaleProgramTempFiles(options.dir);
    return options.latest ? UpdateLatest(options) : UpdateAll(options);
}

} // namespace

void AddUpdateCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("update", "Brings the database up to date from the results server: "
                                                 "--latest appends the next draw, --all fetches the whole file "
                                                 "for the program's next start");
    struct Values {
        UpdateOptions options;
        bool all = false;
        std::string port;
    };
    auto v = std::make_shared<Values>();
    command->add_option("DIR", v->options.dir, "the program folder")->required()->type_name("DIR");
    auto* latest =
        command->add_flag("--latest", v->options.latest, "append the server's latest draw when it is the next one");
    auto* all = command->add_flag("--all", v->all, "store the complete results file as the waiting download");
    latest->excludes(all);
    command
        ->add_option("--host", v->options.host,
                     "the results server (default: serwer= of [wyniki] in DIR/zentagrafo.ini, else " +
                         std::string(ResultsHost()) + ")")
        ->type_name("H");
    command->add_option("--port", v->port, "its port (default: the one of zentagrafo.ini, else 80)")->type_name("P");
    command->callback([v, &context] {
        if (!v->options.latest && !v->all) {
            context.status = UsageError("update", "one of --latest and --all is required");
            return;
        }
        // Both are checked as "serwer=" is, before any request: a path, a query or credentials
        // slipped into the host would otherwise change the request.
        if (!v->options.host.empty() && !IsResultsHost(v->options.host)) {
            std::fprintf(stderr, "Niepoprawna wartość --host: „%s”. Podaj HOST albo [adres IPv6].\n",
                         v->options.host.c_str());
            context.status = ExitUsage;
            return;
        }
        if (!v->port.empty()) {
            const auto port = ParseInt(v->port);
            if (!port || *port < 1 || *port > 65535) {
                std::fprintf(stderr, "Niepoprawna wartość --port: %s (od 1 do 65535).\n", v->port.c_str());
                context.status = ExitUsage;
                return;
            }
            v->options.port = *port;
        }
        v->options.deadline = context.settings.downloadDeadline;
        context.status = RunUpdate(v->options);
    });
}

} // namespace zg::cli
