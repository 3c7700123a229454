#pragma once
// Copies of the database kept in the folder KOPIE beside the program. Every write that changes or
// removes stored draws (a corrected draw, an import, the merge of a waiting full download, a
// restore) first copies the database there; plain appends of one draw make none. A restore
// writes a copy of one of them back as the database. Pure standard C++ with POSIX calls; nothing
// here shows a message: callers get the texts.
//
// A backup is a whole-or-nothing copy of the database's real file (a link is followed to its
// target; never a hard link, since appends write into the live file in place), named
// "zentag-YYYY-MM-DD-HHMMSS-<reason>.wyn" in local time, with "-2", "-3", ... before ".wyn" for a
// second backup in the same second. The newest KeptBackupCount are kept; older ones are removed
// only once the write succeeded, and only files named in this form are ever looked at.
#include "base/DrawTypes.h"
#include "base/SafeFile.h"
#include "database/ProgramFolder.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

inline constexpr int KeptBackupCount = 20;

enum class BackupReason {
    Correction,  // "OK" stored a corrected draw
    Import,      // an import in the append mode
    Replacement, // an import in the replace mode
    Merge,       // the start-up merge of a waiting full download
    Restore,     // a restore from another backup
};

// The reason as the name carries it: "poprawka", "import", "zastapienie", "scalenie", "przywrocenie".
std::string_view BackupReasonTag(BackupReason reason);
// The reason in words: "przed poprawką", "przed importem", "przed zastąpieniem", "przed scaleniem",
// "przed przywróceniem".
std::string_view BackupReasonWords(BackupReason reason);

// What a backup's file name says.
struct BackupName {
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    BackupReason reason = BackupReason::Import;
    std::int32_t sequence = 1; // 1 without a suffix

    // Older < newer: by the time, then by the sequence within the second.
    bool NewerThan(const BackupName& other) const;
};

// "zentag-2024-05-18-143005-import.wyn"; sequence 2 and up adds "-N" before ".wyn".
std::string BackupFileName(const BackupName& name);
// The name for `now` in local time.
BackupName BackupNameAt(std::time_t now, BackupReason reason, std::int32_t sequence = 1);
// A name of exactly that form (a real date, a known reason, a sequence of 2 or more after a
// dash); anything else gives nothing.
std::optional<BackupName> ParseBackupFileName(std::string_view fileName);

// KOPIE beside the database at `dbPath` (the program folder's zentag.wyn, not a link's target).
std::string BackupFolderOf(const std::string& dbPath);

// The refusal of a write whose backup could not be made, with the system's reason.
std::string BackupFailedText(const std::string& reason);
// The refusal of a restore from a backup that does not load as a database.
inline constexpr std::string_view UnreadableBackupText =
    "Kopia bazy jest nieczytelna: nie zawiera poprawnej bazy wyników. Baza wyników nie została zmieniona.";

// The backup made before one write. Construct it under the database lock, right before the write:
//     DatabaseBackup backup(dbPath, BackupReason::Import, true);
//     if (!backup.ok()) refuse with BackupFailedText(backup.error());
//     if (write succeeded) backup.Keep();
// A missing or empty database needs none (ok, name empty). A database that cannot be read is moved
// into KOPIE under the backup's name when `replacing` (the write replaces the whole file); otherwise
// that is a failure. Without Keep the destructor removes the backup again (a moved database goes
// back where it was), so a failed write leaves no backup behind.
class DatabaseBackup {
public:
    DatabaseBackup(const std::string& dbPath, BackupReason reason, bool replacing,
                   std::time_t now = std::time(nullptr));
    ~DatabaseBackup();
    DatabaseBackup(const DatabaseBackup&) = delete;
    DatabaseBackup& operator=(const DatabaseBackup&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; } // the system's reason when !ok()
    const std::string& name() const { return name_; }   // the file name in KOPIE; empty when none was made
    bool moved() const { return moved_; }               // the unreadable database itself went to KOPIE

    // The write succeeded: the backup stays, and the backups beyond the newest KeptBackupCount go.
    void Keep();

private:
    std::string folder_;
    std::string name_;
    std::string movedFrom_;
    std::string error_;
    bool moved_ = false;
    bool kept_ = false;
};

// Removes the backups of `backupFolder` beyond the newest `keep`. Returns how many were removed.
int PruneBackups(const std::string& backupFolder, int keep = KeptBackupCount);

// One backup as the list shows it.
struct BackupEntry {
    std::string fileName;
    BackupName name;
    bool readable = false;      // it loads as a database
    std::int32_t drawCount = 0; // when readable
    DrawRecord last{};          // when readable and drawCount > 0: its last draw
};

// The backups in `backupFolder`, newest first; each is loaded to count its draws. A missing
// folder has none.
std::vector<BackupEntry> ListBackups(const std::string& backupFolder);

struct RestoreResult {
    enum class Status {
        Restored,       // the database now holds a copy of the backup
        NotFound,       // no backup of that name in KOPIE
        Unreadable,     // the backup does not load as a database: nothing changed
        ChangedOutside, // the database is not the one loaded (ChangedOutsideText)
        Failed,         // the lock, the new backup or the write failed (`error`)
    };
    Status status = Status::Failed;
    std::string error;
    std::string backupName; // the backup of the database as it was before
    std::int32_t drawCount = 0;
    std::int32_t layoutProbe = 0;
    FileStamp stamp; // Restored: the new database
};

// Writes a copy of the backup `fileName` of KOPIE as the database at `dbPath`, under the database
// lock and, with `remembered`, the check that the file is still the one loaded; the database as it
// was goes to its own backup first.
RestoreResult RestoreBackup(const std::string& dbPath, const std::string& fileName,
                            const std::optional<FileStamp>& remembered = std::nullopt);

} // namespace zg
