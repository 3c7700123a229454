// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DatabaseGuard.h"

#include "database/Backups.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zg {

bool DatabaseIsSpecialFile(const std::string& dbPath) {
    struct stat db;
    return ::stat(ResolveWriteTarget(dbPath).c_str(), &db) == 0 && !S_ISREG(db.st_mode) && !S_ISDIR(db.st_mode);
}

DatabaseLock::DatabaseLock(const std::string& dbPath, int waitMs) {
    // A database linked to a device or another special file is refused before any lock file is
    // made beside it.
    if (DatabaseIsSpecialFile(dbPath)) {
        error_ = std::string(NotRegularFileText);
        return;
    }
    const std::string lockPath = DatabaseLockPath(dbPath);
    // A lock file that cannot be used is named in the reason: the database itself is fine.
    const std::string lockName = lockPath.substr(lockPath.rfind('/') + 1) + ": ";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // O_NONBLOCK: a FIFO of that name must not hang the writer (it is refused below).
        constexpr int Flags = O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
        FileDescriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | Flags, 0666));
        // A lock file made by another user may be read-only for us: flock needs no write access.
        if (!fd && errno == EACCES)
            fd = FileDescriptor(::open(lockPath.c_str(), O_RDONLY | Flags));
        if (!fd && errno == EINTR)
            continue;
        if (!fd) {
            error_ = lockName + SystemErrorText(errno);
            return;
        }
        struct stat st;
        if (::fstat(fd.get(), &st) != 0) {
            error_ = lockName + SystemErrorText(errno);
            return;
        }
        if (!S_ISREG(st.st_mode)) {
            error_ = lockName + std::string(NotRegularFileText);
            return;
        }
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                error_ = lockName + SystemErrorText(errno);
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                error_ = std::string(LockedByAnotherWriterText);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // Somebody removed the lock file while we waited (and another may have made a new one):
        // the lock must be on the file that now has the name.
        struct stat now;
        if (::stat(lockPath.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev)
            continue;
        fd_ = fd.Release();
        return;
    }
}

DatabaseLock::~DatabaseLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

DatabaseGuard::DatabaseGuard(std::string dbPath, std::optional<FileStamp> remembered, int waitMs)
    : path_(std::move(dbPath)), lock_(path_, waitMs) {
    if (!lock_.ok())
        return;
    stamp_ = ReadFileStamp(path_);
    status_ = !remembered || stamp_ == *remembered ? Status::Ready : Status::ChangedOutside;
}

std::string DatabaseGuard::Refusal() const {
    return status_ == Status::ChangedOutside ? std::string(ChangedOutsideText) : lock_.error();
}

LoadResult DatabaseGuard::Load(DrawRecord* table) {
    if (status_ != Status::Ready) {
        LoadResult r;
        r.error = Refusal();
        return r;
    }
    LoadResult r = LoadDatabase(path_, table);
    stamp_ = r.stamp;
    return r;
}

FileWriteResult DatabaseGuard::Append(const DrawRecord& draw, std::int32_t layoutProbe, bool createIfMissing) {
    if (status_ != Status::Ready)
        return FileWriteResult{false, Refusal(), stamp_};
    FileWriteResult r = AppendDrawRecord(path_, draw, layoutProbe, createIfMissing);
    if (r.stamped)
        stamp_ = r.stamp;
    return r;
}

FileWriteResult DatabaseGuard::Replace(std::string_view bytes) {
    if (status_ != Status::Ready)
        return FileWriteResult{false, Refusal(), stamp_};
    FileWriteResult r = ReplaceDatabaseFile(path_, bytes);
    if (r.ok)
        stamp_ = r.stamp;
    return r;
}

RewriteResult DatabaseGuard::Rewrite(DrawsView draws) {
    if (status_ != Status::Ready) {
        RewriteResult r;
        r.error = Refusal();
        return r;
    }
    RewriteResult r = RewriteDatabase(path_, draws);
    if (r.ok)
        stamp_ = r.stamp;
    return r;
}

MergeResult DatabaseGuard::Merge(const std::string& pendingPath, const std::function<bool()>& askReplaceSmaller) {
    if (status_ != Status::Ready) {
        MergeResult r;
        r.pendingKept = true;
        r.error = Refusal();
        // A database that is a device or a FIFO cannot be replaced: nothing to say about the merge,
        // the load reports such a database.
        r.skipped = DatabaseIsSpecialFile(path_);
        return r;
    }
    // The database as it was goes to KOPIE right before it is replaced; without that backup the
    // download waits for the next start.
    std::optional<DatabaseBackup> backup;
    const auto makeBackup = [this, &backup]() -> std::optional<std::string> {
        backup.emplace(path_, BackupReason::Merge, true);
        if (backup->ok())
            return std::nullopt;
        return BackupFailedText(backup->error());
    };
    MergeResult r = MergePendingDownload(pendingPath, path_, askReplaceSmaller, nullptr, makeBackup);
    if (r.replaced) {
        stamp_ = r.stamp;
        backup->Keep();
    }
    return r;
}

} // namespace zg
