// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way to load and write the database file while the program and the command-line tool
// may run at the same time.
//
// Every load at start-up and every write (append, rewrite, merge, and any writer added later)
// goes through a DatabaseGuard. The guard holds one exclusive lock for its whole life: a lock on
// the lock file "zentag.wyn.lock" beside the database, which no writer ever replaces, so the lock
// survives the renames that replace the database itself. Within one guard the caller compares the
// file with the stamp it remembered, writes, and takes the new stamp; the new stamp comes from the
// descriptor that was written (or read), never from the path afterwards, so a second writer can
// never slip its change into a stamp it did not make.
//
// The program never reads the file again during a run: it refuses to write over a file that
// changed since it last loaded or wrote it (ChangedOutside).
#include "base/ProgramFiles.h"
#include "base/SafeFile.h"
#include "database/DrawDatabase.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

inline constexpr std::string_view ChangedOutsideCaption = "Pouczenie...";
inline constexpr std::string_view ChangedOutsideText =
    "Plik zentag.wyn został zmieniony poza programem. Uruchom program ponownie, aby wczytać aktualną bazę "
    "wyników.";

// How long a writer waits for another one before it gives up.
inline constexpr int DatabaseLockWaitMs = 5000;

// Whether the database at `dbPath` (a link followed) is a device, a FIFO or a socket.
bool DatabaseIsSpecialFile(const std::string& dbPath);

// The exclusive lock of the database at `dbPath` for the lifetime of the object (flock on the
// lock file, which is created when missing and never removed). Waits up to `waitMs` for another
// holder, then fails. Fails too when the lock file cannot be created (a read-only folder: then no
// writer can replace the database there either) or is not a regular file; such a reason starts
// with the lock file's name ("zentag.wyn.lock: Is a directory"). A database that is or links to a
// device or another special file (DatabaseIsSpecialFile) is refused before any lock file is made,
// with NotRegularFileText.
class DatabaseLock {
public:
    explicit DatabaseLock(const std::string& dbPath, int waitMs = DatabaseLockWaitMs);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    bool ok() const { return fd_ >= 0; }
    const std::string& error() const { return error_; } // the reason when !ok()

private:
    int fd_ = -1;
    std::string error_;
};

// One locked session on the database: its loads and writes all happen under the one lock.
//     DatabaseGuard guard(path, rememberedStamp);
//     if (guard.status() == DatabaseGuard::Status::Ready) { auto r = guard.Append(...); }
//     rememberedStamp = guard.stamp();
class DatabaseGuard {
public:
    enum class Status {
        Ready,          // locked, and the file is as remembered (or nothing was remembered)
        ChangedOutside, // locked, but another writer changed the file since `remembered`
        Failed,         // the lock could not be had: error() says why
    };

    // Takes the lock and, with `remembered`, compares the file now with it. Without a remembered
    // stamp (a loader, or the command-line tool, which loads under this same guard) it is Ready
    // once locked.
    explicit DatabaseGuard(std::string dbPath, std::optional<FileStamp> remembered = std::nullopt,
                           int waitMs = DatabaseLockWaitMs);

    Status status() const { return status_; }
    const std::string& error() const { return lock_.error(); }
    const std::string& path() const { return path_; }

    // The file as this guard last saw it: first as it was when the guard was made, then as each
    // load read it and each write left it. The stamp to remember for the next guard.
    const FileStamp& stamp() const { return stamp_; }

    // The operations of DrawDatabase.h on this guard's file, under its lock; each takes the new
    // stamp from its own descriptor. Unless status() is Ready they do nothing and fail (with the
    // lock's error, or ChangedOutsideText).
    LoadResult Load(DrawRecord* table);
    FileWriteResult Append(const DrawRecord& draw, std::int32_t layoutProbe, bool createIfMissing);
    RewriteResult Rewrite(DrawsView draws);
    FileWriteResult Replace(std::string_view bytes); // the whole file becomes `bytes`
    MergeResult Merge(const std::string& pendingPath, const std::function<bool()>& askReplaceSmaller);

private:
    std::string Refusal() const;

    std::string path_;
    DatabaseLock lock_;
    Status status_ = Status::Failed;
    FileStamp stamp_;
};

} // namespace zg
