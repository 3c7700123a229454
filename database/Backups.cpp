#include "database/Backups.h"

#include "base/DateRoutines.h"
#include "base/NumberFormat.h"
#include "database/DatabaseGuard.h"
#include "database/DrawDatabase.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

std::int32_t Value(std::string_view digits) {
    std::int32_t v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

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
    n.year = Value(y);
    n.month = Value(mo);
    n.day = Value(d);
    n.hour = Value(t.substr(0, 2));
    n.minute = Value(t.substr(2, 2));
    n.second = Value(t.substr(4, 2));
    if (n.month < 1 || n.month > 12 || n.day < 1 || n.day > DaysInMonth(n.month, n.year) || n.hour > 23 ||
        n.minute > 59 || n.second > 60)
        return std::nullopt;
    std::string_view rest = s.substr(18);
    const std::size_t dash = rest.find('-');
    const std::string_view tag = rest.substr(0, dash);
    if (dash != std::string_view::npos) {
        const std::string_view sequence = rest.substr(dash + 1);
        if (!AllDigits(sequence) || sequence.size() > 6 || sequence.front() == '0' || Value(sequence) < 2)
            return std::nullopt;
        n.sequence = Value(sequence);
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
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder_.c_str()), &::closedir);
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr)
        if (const auto other = ParseBackupFileName(entry->d_name))
            if (std::tie(other->year, other->month, other->day, other->hour, other->minute, other->second) ==
                std::tie(n.year, n.month, n.day, n.hour, n.minute, n.second))
                n.sequence = std::max(n.sequence, other->sequence + 1);
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
    if (::rename(source.c_str(), path.c_str()) != 0) {
        error_ = SystemErrorText(errno);
        return;
    }
    name_ = name;
    movedFrom_ = source;
    moved_ = true;
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
        PruneBackups(folder_);
}

int PruneBackups(const std::string& backupFolder, int keep) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(backupFolder.c_str()), &::closedir);
    if (!dir)
        return 0;
    std::vector<std::pair<BackupName, std::string>> found;
    while (const dirent* entry = ::readdir(dir.get()))
        if (const auto name = ParseBackupFileName(entry->d_name))
            found.emplace_back(*name, entry->d_name);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first.NewerThan(b.first); });
    int removed = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max(keep, 0)); i < found.size(); ++i) {
        struct stat st;
        if (::fstatat(::dirfd(dir.get()), found[i].second.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && ::unlinkat(::dirfd(dir.get()), found[i].second.c_str(), 0) == 0)
            ++removed;
    }
    return removed;
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
    // Zeroed memory the system hands out untouched: only the pages a load fills cost anything.
    const std::unique_ptr<DrawRecord[], decltype(&std::free)> table(
        static_cast<DrawRecord*>(std::calloc(static_cast<std::size_t>(MaxDraws) + 1, sizeof(DrawRecord))), &std::free);
    if (!table)
        return list;
    for (BackupEntry& e : list) {
        const LoadResult load = LoadDatabase(backupFolder + "/" + e.fileName, table.get());
        e.readable = load.ok;
        e.drawCount = load.ok ? load.drawCount : 0;
        if (e.drawCount > 0)
            e.last = table[static_cast<std::size_t>(e.drawCount)];
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
    const std::string backupPath = BackupFolderOf(dbPath) + "/" + fileName;
    const OpenedFile file = OpenRegularFileForReading(backupPath);
    if (file.status == OpenedFile::Status::Missing) {
        r.status = RestoreResult::Status::NotFound;
        return r;
    }
    // The copy is made from these bytes: the backup itself never becomes the database.
    std::string bytes;
    const int readError = file.ok() ? ReadToEnd(file.fd.get(), bytes, WholeFileReadCap) : EINVAL;
    const std::unique_ptr<DrawRecord[], decltype(&std::free)> table(
        static_cast<DrawRecord*>(std::calloc(static_cast<std::size_t>(MaxDraws) + 1, sizeof(DrawRecord))), &std::free);
    if (!table) {
        r.error = SystemErrorText(ENOMEM);
        return r;
    }
    const LoadResult parsed = readError == 0 ? ParseDatabase(bytes, table.get()) : LoadResult{};
    if (!parsed.ok) {
        r.status = RestoreResult::Status::Unreadable;
        r.error = readError != 0 && file.ok() ? SystemErrorText(readError) : file.error;
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
    r.drawCount = parsed.drawCount;
    r.layoutProbe = parsed.layoutProbe;
    r.stamp = guard.stamp();
    return r;
}

} // namespace zg
