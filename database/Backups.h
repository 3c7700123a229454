// SPDX-License-Identifier: GPL-3.0-or-later
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
// second backup in the same second. Once the write succeeded the backup just made stays, and of
// the others the newest KeptBackupCount - 1 by modification time; only files named in this form
// are ever looked at.
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
// A name of exactly that form (a real date, a known reason, a sequence of 2..2147483647 after a
// dash, without leading zeros); anything else gives nothing.
std::optional<BackupName> ParseBackupFileName(std::string_view fileName);

// KOPIE beside the database at `dbPath` (the program folder's zentag.wyn, not a link's target).
std::string BackupFolderOf(const std::string& dbPath);

// The refusal of a write whose backup could not be made, with the system's reason.
std::string BackupFailedText(const std::string& reason);
// The list's word for a backup that a restore refuses, and for one larger than a database may be.
inline constexpr std::string_view UnreadableBackupWord = "nieczytelna";
inline constexpr std::string_view TooLargeBackupWord = "za duża";

// The backup made before one write. Construct it under the database lock, right before the write:
//     DatabaseBackup backup(dbPath, BackupReason::Import, true);
//     if (!backup.ok()) refuse with BackupFailedText(backup.error());
//     if (write succeeded) backup.Keep();
// A missing or empty database needs none (ok, name empty). A database that cannot be read is moved
// into KOPIE under the backup's name when `replacing` (the write replaces the whole file); otherwise
// that is a failure. A linked database on another file system cannot be moved there: what can be
// read of it is copied instead (readError() says why it could not be read whole), and only when not
// even that copy can be made is the write refused. Without Keep the destructor removes the backup
// again (a moved database goes back where it was), so a failed write leaves no backup behind.
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
    // The backup holds what could be read of an unreadable database that could not be moved: why it
    // could not be read (the system's text; empty otherwise) and how many bytes were copied.
    const std::string& readError() const { return readError_; }
    std::int64_t copiedBytes() const { return copiedBytes_; }

    // The write succeeded: the backup stays, and the backups beyond the newest KeptBackupCount go.
    void Keep();

private:
    std::string folder_;
    std::string name_;
    std::string movedFrom_;
    std::string error_;
    std::string readError_;
    std::int64_t copiedBytes_ = 0;
    bool moved_ = false;
    bool kept_ = false;
};

// Removes the backups of `backupFolder` beyond the newest `keep`; the backup `justMade` (a file name)
// is always one of those kept. The others are ordered by their modification time, the time in the
// name breaking ties, so that names made under a clock that was set back cannot push out every new
// backup. Only regular files are removed. Returns how many were removed.
int PruneBackups(const std::string& backupFolder, int keep = KeptBackupCount, std::string_view justMade = {});

// One backup as the list shows it.
struct BackupEntry {
    std::string fileName;
    BackupName name;
    bool readable = false;      // it passes the restore's check (see RestoreBackup)
    bool tooLarge = false;      // it is larger than a database may be (WholeFileReadCap)
    std::string problem;        // when not readable, why: "Kopia bazy jest nieczytelna: …" or "… za duża: …"
    std::int32_t drawCount = 0; // when readable
    DrawRecord last{};          // when readable and drawCount > 0: its last draw
};

// The refusal of a restore from the backup `e`, which is not readable: its problem, then
// "Baza wyników nie została zmieniona."
std::string RestoreRefusalText(const BackupEntry& e);

// The backups in `backupFolder`, newest first by the name's time; each is read and checked as a
// restore checks it, and counted. A missing folder has none.
std::vector<BackupEntry> ListBackups(const std::string& backupFolder);

struct RestoreResult {
    enum class Status {
        Restored,       // the database now holds a copy of the backup
        NotFound,       // no backup of that name in KOPIE
        Unreadable,     // the backup fails the check: nothing changed (`error` says why)
        ChangedOutside, // the database is not the one loaded (ChangedOutsideText)
        Failed,         // the lock, the new backup or the write failed (`error`)
    };
    Status status = Status::Failed;
    std::string error;      // Unreadable: the Polish refusal; Failed: the system's reason
    std::string backupName; // the backup of the database as it was before
    std::int32_t drawCount = 0;
    std::int32_t layoutProbe = 0;
    FileStamp stamp;                     // Restored: the new database
    bool pendingDownloadDeleted = false; // Restored: a waiting full download "zentag" was deleted
};

// Writes a copy of the backup `fileName` of KOPIE as the database at `dbPath`, under the database
// lock and, with `remembered`, the check that the file is still the one loaded; the database as it
// was goes to its own backup first, and a waiting full download, which the next start would merge
// over the restored database, is deleted afterwards (as an import does).
// The backup is refused, and nothing changes, when it is not a regular file (a dangling link
// included), is larger than WholeFileReadCap ("za duża"), does not load whole, holds a drawn number
// outside 1..80 or looks shifted (FindShiftedData); the refusal names the reason and the first bad
// draw. A draw holding a number twice, or a Number unlike its ordinal, is what the program itself
// stores and backs up, and is restored.
RestoreResult RestoreBackup(const std::string& dbPath, const std::string& fileName,
                            const std::optional<FileStamp>& remembered = std::nullopt);

} // namespace zg
