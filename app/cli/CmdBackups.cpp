// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli backups DIR
// zentagrafo-cli restore DIR NAME
//
// `backups` lists the database's backups in DIR/KOPIE, newest first, one line each:
// "NAME<TAB>N<TAB>DD.MM.YYYY" (its draws and the last draw's date), "NAME<TAB>nieczytelna" for one
// that a restore refuses or "NAME<TAB>za duża" for one larger than a database may be; standard
// error gives the reason of each such backup ("KOPIE/NAME: <the window's tooltip>").
// `restore` writes a copy of the backup NAME as DIR's database, as the draw management window's
// "Przywróć" does, after backing up the database as it was; it prints "backup: KOPIE/<name>",
// "draws: N" and, when it deleted a waiting full download, a line that says so.
//
// Exit status: 0 listed (also an empty list) or restored; 1 the backup is not in the list or is
// refused (the window's Polish refusal), the database changed meanwhile or cannot be written;
// 2 malformed arguments (also a NAME with a folder).
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/NumberFormat.h"
#include "database/Backups.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ProgramFolder.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

struct BackupsOptions {
    std::string dir;
};

struct RestoreOptions {
    std::string dir;
    std::string name; // a file name in DIR/KOPIE, as `backups` lists it
};

std::string DateText(const DrawRecord& d) {
    return ZeroPad(d.Day, 2) + "." + ZeroPad(d.Month, 2) + "." + ZeroPad(d.Year, 4);
}

std::string NotFoundText(const std::string& name) {
    return "Nie ma kopii bazy „" + name + "” w folderze KOPIE.";
}

// The backups of DIR/KOPIE, newest first: "NAME<TAB>N<TAB>DD.MM.YYYY" (the last draw's date), or
// "NAME<TAB>nieczytelna" / "NAME<TAB>za duża" for one a restore refuses, its reason on standard error.
int RunBackups(const BackupsOptions& opt) {
    const std::string dbPath = opt.dir + "/" + std::string(DatabaseFileName);
    for (const BackupEntry& e : ListBackups(BackupFolderOf(dbPath))) {
        if (!e.readable) {
            const std::string_view word = e.tooLarge ? TooLargeBackupWord : UnreadableBackupWord;
            std::printf("%s\t%.*s\n", e.fileName.c_str(), static_cast<int>(word.size()), word.data());
            std::fflush(stdout);
            std::fprintf(stderr, "%s/%s: %s\n", std::string(BackupFolderName).c_str(), e.fileName.c_str(),
                         e.problem.c_str());
        } else if (e.drawCount == 0)
            std::printf("%s\t0\n", e.fileName.c_str());
        else
            std::printf("%s\t%d\t%s\n", e.fileName.c_str(), e.drawCount, DateText(e.last).c_str());
    }
    return ExitDone;
}

// Writes a copy of the backup NAME as DIR's database, as the window's "Przywróć" does; the
// database as it was goes to a backup of its own first.
int RunRestore(const RestoreOptions& opt) {
    const std::string& dir = opt.dir;
    const std::string& name = opt.name;
    if (name.find('/') != std::string::npos)
        return UsageError("restore", "NAME is a file name in KOPIE, without a folder");
    const std::string dbPath = dir + "/" + std::string(DatabaseFileName);
    if (DatabaseIsSpecialFile(dbPath)) {
        std::fprintf(stderr, "%s: %.*s\n", dbPath.c_str(), static_cast<int>(NotRegularFileText.size()),
                     NotRegularFileText.data());
        return ExitRefused;
    }
    RemoveStaleProgramTempFiles(dir);
    const RestoreResult r = RestoreBackup(dbPath, name);
    switch (r.status) {
    case RestoreResult::Status::Restored:
        break;
    case RestoreResult::Status::NotFound:
        return Failure(NotFoundText(name));
    case RestoreResult::Status::Unreadable:
        return Failure(r.error);
    case RestoreResult::Status::ChangedOutside:
        return Failure(ChangedOutsideText);
    case RestoreResult::Status::Failed:
        std::fprintf(stderr, "%s: %s\n", dbPath.c_str(), r.error.c_str());
        return ExitRefused;
    }
    if (!r.backupName.empty())
        std::printf("backup: %s/%s\n", std::string(BackupFolderName).c_str(), r.backupName.c_str());
    std::printf("draws: %d\n", r.drawCount);
    if (r.pendingDownloadDeleted)
        std::printf("deleted the waiting full download %s, which would have replaced the database at the next "
                    "start\n",
                    std::string(PendingDownloadFileName).c_str());
    return ExitDone;
}

} // namespace

void AddBackupsCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("backups", "Lists the database's backups in DIR/KOPIE, newest first: "
                                                  "name, draws and the last draw's date");
    auto opt = std::make_shared<BackupsOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->callback([opt, &context] { context.status = RunBackups(*opt); });
}

void AddRestoreCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("restore", "Writes a copy of the backup NAME of DIR/KOPIE as the database; "
                                                  "the database as it was is backed up first");
    auto opt = std::make_shared<RestoreOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->add_option("NAME", opt->name, "the backup's file name, as `backups` lists it")
        ->required()
        ->type_name("NAME");
    command->callback([opt, &context] { context.status = RunRestore(*opt); });
}

} // namespace zg::cli
