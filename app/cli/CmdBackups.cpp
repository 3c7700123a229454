#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "base/DateRoutines.h"
#include "database/Backups.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace zg::cli {

namespace {

std::string DateText(const DrawRecord& d) {
    return ZeroPad(d.Day, 2) + "." + ZeroPad(d.Month, 2) + "." + ZeroPad(d.Year, 4);
}

std::string NotFoundText(const std::string& name) {
    return "Nie ma kopii bazy „" + name + "” w folderze KOPIE.";
}

// The backups of DIR/KOPIE, newest first: "NAME<TAB>N<TAB>DD.MM.YYYY" (the last draw's date), or
// "NAME<TAB>nieczytelna" for one that does not load.
int RunBackups(const std::string& dir) {
    const std::string dbPath = dir + "/" + std::string(DatabaseFileName);
    for (const BackupEntry& e : ListBackups(BackupFolderOf(dbPath))) {
        if (!e.readable)
            std::printf("%s\tnieczytelna\n", e.fileName.c_str());
        else if (e.drawCount == 0)
            std::printf("%s\t0\n", e.fileName.c_str());
        else
            std::printf("%s\t%d\t%s\n", e.fileName.c_str(), e.drawCount, DateText(e.last).c_str());
    }
    return ExitDone;
}

// Writes a copy of the backup NAME as DIR's database, as the window's "Przywróć" does; the
// database as it was goes to a backup of its own first.
int RunRestore(const std::string& dir, const std::string& name) {
    if (name.find('/') != std::string::npos)
        return UsageError("restore", "NAME is a file name in KOPIE, without a folder");
    const std::string dbPath = dir + "/" + std::string(DatabaseFileName);
    if (DatabaseIsSpecialFile(dbPath)) {
        std::fprintf(stderr, "%s: %.*s\n", dbPath.c_str(), static_cast<int>(NotRegularFileText.size()),
                     NotRegularFileText.data());
        return ExitRefused;
    }
    const auto list = ListBackups(BackupFolderOf(dbPath));
    if (std::none_of(list.begin(), list.end(), [&name](const BackupEntry& e) { return e.fileName == name; }))
        return Failure(NotFoundText(name));
    RemoveStaleProgramTempFiles(dir);
    const RestoreResult r = RestoreBackup(dbPath, name);
    switch (r.status) {
    case RestoreResult::Status::Restored:
        break;
    case RestoreResult::Status::NotFound:
        return Failure(NotFoundText(name));
    case RestoreResult::Status::Unreadable:
        Failure(UnreadableBackupText);
        if (!r.error.empty())
            std::fprintf(stderr, "%s/%s: %s\n", std::string(BackupFolderName).c_str(), name.c_str(), r.error.c_str());
        return ExitRefused;
    case RestoreResult::Status::ChangedOutside:
        return Failure(ChangedOutsideText);
    case RestoreResult::Status::Failed:
        std::fprintf(stderr, "%s: %s\n", dbPath.c_str(), r.error.c_str());
        return ExitRefused;
    }
    if (!r.backupName.empty())
        std::printf("backup: %s/%s\n", std::string(BackupFolderName).c_str(), r.backupName.c_str());
    std::printf("draws: %d\n", r.drawCount);
    return ExitDone;
}

} // namespace

void AddBackupsCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("backups", "Lists the database's backups in DIR/KOPIE, newest first: "
                                                  "name, draws and the last draw's date");
    auto dir = std::make_shared<std::string>();
    command->add_option("DIR", *dir, "the program folder")->required()->type_name("DIR");
    command->callback([dir, &status] { status = RunBackups(*dir); });
}

void AddRestoreCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("restore", "Writes a copy of the backup NAME of DIR/KOPIE as the database; "
                                                  "the database as it was is backed up first");
    auto dir = std::make_shared<std::string>();
    auto name = std::make_shared<std::string>();
    command->add_option("DIR", *dir, "the program folder")->required()->type_name("DIR");
    command->add_option("NAME", *name, "the backup's file name, as `backups` lists it")->required()->type_name("NAME");
    command->callback([dir, name, &status] { status = RunRestore(*dir, *name); });
}

} // namespace zg::cli
