#include "database/DatabaseGuard.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zg {

namespace {

FileStamp StampOf(const struct stat& st) {
    FileStamp s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    return s;
}

} // namespace

FileStamp ReadFileStamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return FileStamp{};
    return StampOf(st);
}

DatabaseLock::DatabaseLock(const std::string& path, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Non-blocking open: a FIFO of that name must not hang the writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            ok_ = errno == ENOENT;
            if (!ok_)
                error_ = std::strerror(errno);
            return;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            error_ = std::strerror(errno);
            ::close(fd);
            return;
        }
        if (!S_ISREG(st.st_mode)) {
            // Nothing to lock: every writer refuses such a file by itself.
            ::close(fd);
            ok_ = true;
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            if (err != EWOULDBLOCK && err != EINTR) {
                error_ = std::strerror(err);
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                error_ = std::string(LockedByAnotherWriterText);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // The other writer may have renamed a new file into place while we waited: lock that one.
        struct stat now;
        if (::stat(path.c_str(), &now) == 0 && (now.st_ino != st.st_ino || now.st_dev != st.st_dev)) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        ok_ = true;
        return;
    }
}

DatabaseLock::~DatabaseLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing releases the lock
}

DatabaseWriteGuard::DatabaseWriteGuard(const std::string& path, const FileStamp& remembered)
    : path_(path), lock_(path) {
    if (!lock_.ok())
        status_ = Status::Failed;
    else
        status_ = ReadFileStamp(path) == remembered ? Status::Ready : Status::ChangedOutside;
}

} // namespace zg
