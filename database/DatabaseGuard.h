#pragma once
// Protection of the database file against two writers: the program and the command-line tool may
// run at the same time. Every write holds an exclusive lock (flock) on the file, and the program
// refuses to write over a file that changed since it last loaded or wrote it (its size,
// modification time or identity differ from what it remembered), because it never reads the file
// again during a run.
#include <cstdint>
#include <string>
#include <string_view>

namespace zg {

inline constexpr std::string_view ChangedOutsideCaption = "Pouczenie...";
inline constexpr std::string_view ChangedOutsideText =
    "Plik zentag.wyn został zmieniony poza programem. Uruchom program ponownie, aby wczytać aktualną bazę "
    "wyników.";

// The reason a lock fails when another writer holds the file too long (the command-line tool's
// text; the windows show it in Polish).
inline constexpr std::string_view LockedByAnotherWriterText = "the file is being written by another program";

// What identifies one state of the file.
struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now (following a link); a missing file has exists == false.
FileStamp ReadFileStamp(const std::string& path);

// An exclusive lock on the database file for the lifetime of the object. Locks the file that is at
// the path once the lock is held (a writer that replaced it meanwhile is noticed and the new file
// locked). A missing file or one that is not a regular file is not locked (there is nothing to
// lock; the writers refuse such a file themselves) and counts as success. Waits up
// to `waitMs` for another writer, then fails.
class DatabaseLock {
public:
    explicit DatabaseLock(const std::string& path, int waitMs = 5000);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; } // the reason when !ok()

private:
    int fd_ = -1;
    bool ok_ = false;
    std::string error_;
};

// One guarded write of the program: locks the file and compares it with the stamp the program
// remembered. When status() is Ready the caller writes and then calls Written() to get the stamp to
// remember; the lock is released when the guard goes.
class DatabaseWriteGuard {
public:
    enum class Status { Ready, ChangedOutside, Failed };

    DatabaseWriteGuard(const std::string& path, const FileStamp& remembered);

    Status status() const { return status_; }
    const std::string& error() const { return lock_.error(); }
    FileStamp Written() const { return ReadFileStamp(path_); }

private:
    std::string path_;
    DatabaseLock lock_;
    Status status_ = Status::Failed;
};

} // namespace zg
