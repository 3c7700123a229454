// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/Backups.h"

#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"
#include "database/ShiftedData.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <memory>
#include <tuple>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zg {

namespace {

constexpr BackupReason AllReasons[] = {BackupReason::Correction, BackupReason::Import, BackupReason::Replacement,
                                       BackupReason::Merge, BackupReason::Restore};

constexpr std::string_view NamePrefix = "zentag-";
constexpr std::string_view NameSuffix = ".wyn";

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of at most 10 decimal digits.
std::int64_t Value(std::string_view digits) {
    std::int64_t v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

constexpr std::int64_t MaxSequence = std::numeric_limits<std::int32_t>::max();

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The folder KOPIE, made when missing.
int EnsureFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST)
        return 0;
    return errno;
}

// Copies the regular file at `from` into the new file `to` as a whole (through a temporary file).
// Returns the system's reason of a failure (empty when copied); `readFailed` says whether reading
// `from` was what failed.
std::string CopyWhole(const std::string& from, const std::string& to, bool& readFailed) {
    readFailed = true;
    const OpenedFile source = OpenRegularFileForReading(from);
    if (!source.ok()) {
        readFailed = source.status != OpenedFile::Status::NotRegular;
        return source.error;
    }
    AtomicFileWriter out(to);
    CappedFileReader reader(source.fd.get(), WholeFileReadCap);
    std::unique_ptr<char[]> buffer(new char[65536]);
    while (out.ok()) {
        const std::ptrdiff_t n = reader.Read(buffer.get(), 65536);
        if (n < 0)
            return SystemErrorText(reader.error());
        if (n == 0)
            break;
        out.Write(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
    }
    readFailed = false;
    return out.Commit() ? std::string() : out.error();
}

// Copies what can be read of the regular file at `from` into the new file `to`: up to the first
// read error, and no further than its size or WholeFileReadCap, whichever is larger (a file under
// /proc claims to be empty and never ends). Returns the failure that left no copy (empty when `to`
// was written); `readError` gets the read error that ended the copy early, `copied` the bytes.
std::string CopyReadable(const std::string& from, const std::string& to, std::string& readError, std::int64_t& copied) {
    const OpenedFile source = OpenRegularFileForReading(from);
    if (!source.ok())
        return source.error;
    AtomicFileWriter out(to);
    CappedFileReader reader(source.fd.get(), std::max(source.size, WholeFileReadCap));
    std::unique_ptr<char[]> buffer(new char[65536]);
    copied = 0;
    while (out.ok()) {
        const std::ptrdiff_t n = reader.Read(buffer.get(), 65536);
        if (n < 0 && copied == 0)
            return SystemErrorText(reader.error());
        if (n < 0)
            readError = SystemErrorText(reader.error());
        if (n <= 0)
            break;
        out.Write(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
        copied += n;
    }
    return out.Commit() ? std::string() : out.error();
}

std::string UnreadableBackup(const std::string& why) {
    return "Kopia bazy jest nieczytelna: " + why + ".";
}

std::string AtDraw(const std::string& why, std::int64_t ordinal) {
    return why + " (pierwsze błędne losowanie: nr " + std::to_string(ordinal) + ")";
}

// Why the loaded draws cannot be restored, at their first bad draw: a drawn number outside 1..80,
// or a Number or date that says the data has shifted. Empty when they can.
std::string DrawsProblem(DrawsView draws) {
    const std::optional<std::int32_t> shifted = FindShiftedData(draws);
    const std::int32_t last = shifted.value_or(draws.count);
    for (std::int32_t k = 1; k <= last; ++k)
        for (const std::int32_t n : draws[k].Numbers)
            if (!IsLotteryNumber(n))
                return AtDraw("zawiera liczbę spoza zakresu 1..80: " + std::to_string(n), k);
    if (shifted)
        return AtDraw("numery lub daty losowań się nie zgadzają, dane wyglądają na przesunięte", *shifted);
    return {};
}

// Reads the backup at `path` into `bytes` and `table` and checks it as a restore does, filling the
// entry's readable, tooLarge, problem, drawCount and last. False when nothing of that name exists
// (not even a dangling link).
bool ExamineBackup(const std::string& path, DrawRecord* table, std::string& bytes, BackupEntry& e,
                   std::int32_t& layoutProbe) {
    const OpenedFile file = OpenRegularFileForReading(path);
    if (file.status == OpenedFile::Status::Missing) {
        if (!Exists(path))
            return false;
        e.problem = UnreadableBackup("to dowiązanie do pliku, którego nie ma");
        return true;
    }
    if (file.status == OpenedFile::Status::NotRegular) {
        e.problem = UnreadableBackup("to nie jest zwykły plik");
        return true;
    }
    if (!file.ok()) {
        e.problem = UnreadableBackup(file.error);
        return true;
    }
    const int readError =
        file.size > WholeFileReadCap ? EFBIG : ReadToEnd(file.fd.get(), bytes, WholeFileReadCap, file.size);
    if (readError == EFBIG) {
        e.tooLarge = true;
        e.problem = "Kopia bazy jest " + std::string(TooLargeBackupWord) + ": ma więcej niż 64 MiB.";
        return true;
    }
    if (readError != 0) {
        e.problem = UnreadableBackup(SystemErrorText(readError));
        return true;
    }
    const LoadResult load = ParseDatabase(bytes, table);
    std::string why;
    if (!load.ok)
        why = AtDraw("zawiera wartość, której nie można odczytać jako liczby", load.failedDraw);
    else if (load.truncated)
        why = AtDraw("zawiera więcej niż " + std::to_string(MaxDraws) + " losowań", std::int64_t{MaxDraws} + 1);
    else if (load.shortGroupValues > 0)
        why = AtDraw("ostatnie losowanie jest niepełne", std::int64_t{load.drawCount} + 1);
    else
        why = DrawsProblem(DrawsView{table, load.drawCount});
    if (!why.empty()) {
        e.problem = UnreadableBackup(why);
        return true;
    }
    e.readable = true;
    e.drawCount = load.drawCount;
    if (e.drawCount > 0)
        e.last = table[e.drawCount];
    layoutProbe = load.layoutProbe;
    return true;
}

using DrawTableMemory = std::unique_ptr<DrawRecord[], decltype(&std::free)>;

// Zeroed memory the system hands out untouched: only the pages a load fills cost anything.
DrawTableMemory NewDrawTable() {
    return DrawTableMemory(
        static_cast<DrawRecord*>(std::calloc(static_cast<std::size_t>(MaxDraws) + 1, sizeof(DrawRecord))), &std::free);
}

} // namespace

std::string_view BackupReasonTag(BackupReason reason) {
    switch (reason) {
    case BackupReason::Correction:
        return "poprawka";
    case BackupReason::Import:
        return "import";
    case BackupReason::Replacement:
        return "zastapienie";
    case BackupReason::Merge:
        return "scalenie";
    case BackupReason::Restore:
        return "przywrocenie";
    }
    return {};
}

std::string_view BackupReasonWords(BackupReason reason) {
    switch (reason) {
    case BackupReason::Correction:
        return "przed poprawką";
    case BackupReason::Import:
        return "przed importem";
    case BackupReason::Replacement:
        return "przed zastąpieniem";
    case BackupReason::Merge:
        return "przed scaleniem";
    case BackupReason::Restore:
        return "przed przywróceniem";
    }
    return {};
}

bool BackupName::NewerThan(const BackupName& other) const {
    return std::tie(year, month, day, hour, minute, second, sequence) >
           std::tie(other.year, other.month, other.day, other.hour, other.minute, other.second, other.sequence);
}

std::string BackupFileName(const BackupName& n) {
    std::string name = std::string(NamePrefix) + ZeroPad(n.year, 4) + "-" + ZeroPad(n.month, 2) + "-" +
                       ZeroPad(n.day, 2) + "-" + ZeroPad(n.hour, 2) + ZeroPad(n.minute, 2) + ZeroPad(n.second, 2) +
                       "-" + std::string(BackupReasonTag(n.reason));
    if (n.sequence >= 2)
        name += "-" + std::to_string(n.sequence);
    return name + std::string(NameSuffix);
}

BackupName BackupNameAt(std::time_t now, BackupReason reason, std::int32_t sequence) {
    std::tm local{};
    localtime_r(&now, &local);
    BackupName n;
    n.year = local.tm_year + 1900;
    n.month = local.tm_mon + 1;
    n.day = local.tm_mday;
    n.hour = local.tm_hour;
    n.minute = local.tm_min;
    n.second = local.tm_sec;
    n.reason = reason;
    n.sequence = sequence;
    return n;
}

std::optional<BackupName> ParseBackupFileName(std::string_view name) {
    // zentag-YYYY-MM-DD-HHMMSS-reason[-N].wyn
    if (name.size() < NamePrefix.size() + 18 + NameSuffix.size() || name.substr(0, NamePrefix.size()) != NamePrefix ||
        name.substr(name.size() - NameSuffix.size()) != NameSuffix)
        return std::nullopt;
    std::string_view s = name.substr(NamePrefix.size(), name.size() - NamePrefix.size() - NameSuffix.size());
    if (s.size() < 18 || s[4] != '-' || s[7] != '-' || s[10] != '-' || s[17] != '-')
        return std::nullopt;
    const std::string_view y = s.substr(0, 4), mo = s.substr(5, 2), d = s.substr(8, 2), t = s.substr(11, 6);
    if (!AllDigits(y) || !AllDigits(mo) || !AllDigits(d) || !AllDigits(t))
        return std::nullopt;
    BackupName n;
    n.year = static_cast<std::int32_t>(Value(y));
    n.month = static_cast<std::int32_t>(Value(mo));
    n.day = static_cast<std::int32_t>(Value(d));
    n.hour = static_cast<std::int32_t>(Value(t.substr(0, 2)));
    n.minute = static_cast<std::int32_t>(Value(t.substr(2, 2)));
    n.second = static_cast<std::int32_t>(Value(t.substr(4, 2)));
    if (n.month < 1 || n.month > 12 || n.day < 1 || n.day > DaysInMonth(n.month, n.year) || n.hour > 23 ||
        n.minute > 59 || n.second > 60)
        return std::nullopt;
    std::string_view rest = s.substr(18);
    const std::size_t dash = rest.find('-');
    const std::string_view tag = rest.substr(0, dash);
    if (dash != std::string_view::npos) {
        const std::string_view sequence = rest.substr(dash + 1);
        if (!AllDigits(sequence) || sequence.size() > 10 || sequence.front() == '0' || Value(sequence) < 2 ||
            Value(sequence) > MaxSequence)
            return std::nullopt;
        n.sequence = static_cast<std::int32_t>(Value(sequence));
    }
    const auto* reason = std::find_if(std::begin(AllReasons), std::end(AllReasons),
                                      [tag](BackupReason r) { return BackupReasonTag(r) == tag; });
    if (reason == std::end(AllReasons))
        return std::nullopt;
    n.reason = *reason;
    return n;
}

std::string BackupFolderOf(const std::string& dbPath) {
    return FolderOfPath(dbPath) + "/" + std::string(BackupFolderName);
}

std::string BackupFailedText(const std::string& reason) {
    return "Nie udało się zapisać kopii bazy w folderze KOPIE (" + reason + "). Baza wyników nie została zmieniona.";
}

DatabaseBackup::DatabaseBackup(const std::string& dbPath, BackupReason reason, bool replacing, std::time_t now)
    : folder_(BackupFolderOf(dbPath)) {
    const std::string source = ResolveWriteTarget(dbPath);
    struct stat st;
    if (::stat(source.c_str(), &st) != 0 && errno == ENOENT)
        return; // nothing stored, nothing to keep
    if (::stat(source.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0)
        return;
    if (const int error = EnsureFolder(folder_); error != 0) {
        error_ = SystemErrorText(error);
        return;
    }
    // A second backup in the same second comes after every backup of that second, whatever its
    // reason, so that the order of the names stays the order of the writes.
    BackupName n = BackupNameAt(now, reason);
    std::int64_t sequence = 1;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder_.c_str()), &::closedir);
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr)
        if (const auto other = ParseBackupFileName(entry->d_name))
            if (std::tie(other->year, other->month, other->day, other->hour, other->minute, other->second) ==
                std::tie(n.year, n.month, n.day, n.hour, n.minute, n.second))
                sequence = std::max(sequence, std::int64_t{other->sequence} + 1);
    if (sequence > MaxSequence) { // that second has no name left
        error_ = SystemErrorText(EEXIST);
        return;
    }
    n.sequence = static_cast<std::int32_t>(sequence);
    const std::string name = BackupFileName(n);
    const std::string path = folder_ + "/" + name;
    bool readFailed = false;
    const std::string error = CopyWhole(source, path, readFailed);
    if (error.empty()) {
        name_ = name;
        return;
    }
    if (!readFailed || !replacing) {
        error_ = error;
        return;
    }
    // The database cannot be read and is about to be replaced: it is kept as it is, under the
    // backup's name.
    if (::rename(source.c_str(), path.c_str()) == 0) {
        name_ = name;
        movedFrom_ = source;
        moved_ = true;
        return;
    }
    if (errno != EXDEV) {
        error_ = SystemErrorText(errno);
        return;
    }
    // A linked database on another file system: what can be read of it is kept instead.
    std::string readError;
    if (const std::string failed = CopyReadable(source, path, readError, copiedBytes_); !failed.empty()) {
        error_ = failed;
        return;
    }
    name_ = name;
    readError_ = readError.empty() ? error : readError;
}

DatabaseBackup::~DatabaseBackup() {
    if (kept_ || name_.empty())
        return;
    const std::string path = folder_ + "/" + name_;
    if (moved_) {
        // Back where it was, unless the failed write left a new file there after all.
        if (!Exists(movedFrom_))
            (void)::rename(path.c_str(), movedFrom_.c_str());
        return;
    }
    (void)::unlink(path.c_str());
}

void DatabaseBackup::Keep() {
    kept_ = true;
    if (!name_.empty())
        PruneBackups(folder_, KeptBackupCount, name_);
}

int PruneBackups(const std::string& backupFolder, int keep, std::string_view justMade) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(backupFolder.c_str()), &::closedir);
    if (!dir)
        return 0;
    struct Found {
        BackupName name;
        std::string fileName;
        std::tuple<std::int64_t, std::int64_t> modified; // seconds, nanoseconds
        bool regular = false;
    };
    std::vector<Found> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto name = ParseBackupFileName(entry->d_name);
        if (!name)
            continue;
        if (!justMade.empty() && entry->d_name == justMade) {
            --keep;
            continue;
        }
        Found f{*name, entry->d_name, {}, false};
        struct stat st;
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            f.modified = {st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
            f.regular = S_ISREG(st.st_mode);
        }
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.modified != b.modified)
            return a.modified > b.modified;
        return a.name.NewerThan(b.name) || (!b.name.NewerThan(a.name) && a.fileName < b.fileName);
    });
    int removed = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max(keep, 0)); i < found.size(); ++i)
        if (found[i].regular && ::unlinkat(::dirfd(dir.get()), found[i].fileName.c_str(), 0) == 0)
            ++removed;
    return removed;
}

std::string RestoreRefusalText(const BackupEntry& e) {
    return e.problem + " Baza wyników nie została zmieniona.";
}

std::vector<BackupEntry> ListBackups(const std::string& backupFolder) {
    std::vector<BackupEntry> list;
    {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(backupFolder.c_str()), &::closedir);
        if (!dir)
            return list;
        while (const dirent* entry = ::readdir(dir.get()))
            if (const auto name = ParseBackupFileName(entry->d_name)) {
                BackupEntry e;
                e.fileName = entry->d_name;
                e.name = *name;
                list.push_back(std::move(e));
            }
    }
    std::sort(list.begin(), list.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.name.NewerThan(b.name) || (!b.name.NewerThan(a.name) && a.fileName < b.fileName);
    });
    if (list.empty())
        return list;
    const DrawTableMemory table = NewDrawTable();
    if (!table) {
        for (BackupEntry& e : list)
            e.problem = UnreadableBackup(SystemErrorText(ENOMEM));
        return list;
    }
    std::string bytes;
    for (BackupEntry& e : list) {
        std::int32_t layoutProbe = 0;
        if (!ExamineBackup(backupFolder + "/" + e.fileName, table.get(), bytes, e, layoutProbe))
            e.problem = UnreadableBackup(SystemErrorText(ENOENT)); // gone since the folder was read
    }
    return list;
}

RestoreResult RestoreBackup(const std::string& dbPath, const std::string& fileName,
                            const std::optional<FileStamp>& remembered) {
    RestoreResult r;
    if (fileName.find('/') != std::string::npos || !ParseBackupFileName(fileName)) {
        r.status = RestoreResult::Status::NotFound;
        return r;
    }
    const DrawTableMemory table = NewDrawTable();
    if (!table) {
        r.error = SystemErrorText(ENOMEM);
        return r;
    }
    // The copy is made from these bytes: the backup itself never becomes the database.
    std::string bytes;
    BackupEntry checked;
    std::int32_t layoutProbe = 0;
    if (!ExamineBackup(BackupFolderOf(dbPath) + "/" + fileName, table.get(), bytes, checked, layoutProbe)) {
        r.status = RestoreResult::Status::NotFound;
        return r;
    }
    if (!checked.readable) {
        r.status = RestoreResult::Status::Unreadable;
        r.error = RestoreRefusalText(checked);
        return r;
    }
    DatabaseGuard guard(dbPath, remembered);
    if (guard.status() == DatabaseGuard::Status::ChangedOutside) {
        r.status = RestoreResult::Status::ChangedOutside;
        return r;
    }
    if (guard.status() != DatabaseGuard::Status::Ready) {
        r.error = guard.error();
        return r;
    }
    DatabaseBackup backup(dbPath, BackupReason::Restore, true);
    if (!backup.ok()) {
        r.error = BackupFailedText(backup.error());
        return r;
    }
    const FileWriteResult written = guard.Replace(bytes);
    if (!written.ok) {
        r.error = written.error;
        return r;
    }
    backup.Keep();
    r.status = RestoreResult::Status::Restored;
    r.backupName = backup.name();
    r.drawCount = checked.drawCount;
    r.layoutProbe = layoutProbe;
    r.stamp = guard.stamp();
    // A waiting full download would be merged over the restored database at the next start.
    const std::string pendingPath = FolderOfPath(dbPath) + "/" + std::string(PendingDownloadFileName);
    r.pendingDownloadDeleted = ::unlink(pendingPath.c_str()) == 0;
    return r;
}

} // namespace zg
