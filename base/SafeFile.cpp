// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SafeFile.h"

#include "base/LargeArrays.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zg {

namespace {

// The system follows at most 40 links in one path; so does ResolveWriteTarget.
constexpr int MaxLinkDepth = 40;

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::open(path, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool AllDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

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

std::string SystemErrorText(int error) {
    return std::strerror(error);
}

std::string FolderOfPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileStamp ReadFileStamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return FileStamp{};
    return StampOf(st);
}

FileStamp StampOfDescriptor(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return FileStamp{};
    return StampOf(st);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

void FileDescriptor::Reset() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

OpenedFile OpenRegularFileForReading(const std::string& path) {
    OpenedFile r;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer for ever.
    FileDescriptor fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        const int error = errno;
        r.status = error == ENOENT ? OpenedFile::Status::Missing : OpenedFile::Status::Failed;
        r.error = SystemErrorText(error);
        return r;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        r.error = SystemErrorText(errno);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = OpenedFile::Status::NotRegular;
        r.error = S_ISDIR(st.st_mode) ? SystemErrorText(EISDIR) : std::string(NotRegularFileText);
        return r;
    }
    // A regular file never blocks; the flag goes so that reads behave as everywhere else.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        r.error = SystemErrorText(errno);
        return r;
    }
    r.status = OpenedFile::Status::Opened;
    r.fd = std::move(fd);
    r.size = static_cast<std::int64_t>(st.st_size);
    r.stamp = StampOf(st);
    return r;
}

std::ptrdiff_t CappedFileReader::Read(char* buffer, std::size_t size) {
    if (error_ != 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = errno;
            return -1;
        }
        // The piece that crosses the cap is dropped whole: nothing past the cap is ever used.
        if (n > cap_ - total_) {
            error_ = EFBIG;
            return -1;
        }
        total_ += n;
        return n;
    }
}

int ReadToEnd(int fd, std::string& out, std::int64_t cap, std::int64_t sizeHint) {
    out.clear();
    if (sizeHint > 0) {
        // One byte more, so that reading up to the end finds it there without growing.
        out.reserve(static_cast<std::size_t>(std::min(sizeHint, cap)) + 1);
        AdviseHugePages(out.data(), out.capacity());
    }
    CappedFileReader reader(fd, cap);
    std::unique_ptr<char[]> buffer(new char[65536]);
    for (;;) {
        const std::ptrdiff_t n = reader.Read(buffer.get(), 65536);
        if (n < 0) {
            out.clear();
            return reader.error();
        }
        if (n == 0)
            return 0;
        out.append(buffer.get(), static_cast<std::size_t>(n));
    }
}

std::string ResolveWriteTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return current; // changed under our feet; the open reports what is there
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : FolderOfPath(current) + "/" + target;
    }
    return current; // a loop: opening it fails with ELOOP
}

std::string TempFileName(const std::string& target, pid_t pid, int n) {
    return target + std::string(TempFileMarker) + std::to_string(pid) + "." + std::to_string(n);
}

std::optional<TempFileParts> ParseTempFileName(std::string_view name, std::string_view marker) {
    const auto lastDot = name.rfind('.');
    if (lastDot == std::string_view::npos || !AllDigits(name.substr(lastDot + 1)))
        return std::nullopt;
    const std::string_view head = name.substr(0, lastDot + 1); // "<target><marker><pid>."
    const auto markerAt = head.rfind(marker);
    if (markerAt == std::string_view::npos || markerAt == 0)
        return std::nullopt;
    const std::string_view pidText = head.substr(markerAt + marker.size(), head.size() - 1 - markerAt - marker.size());
    // Every pid fits 31 bits; a longer number is no pid of ours. Pid 0 would mean "my group".
    if (!AllDigits(pidText) || pidText.size() > 10)
        return std::nullopt;
    const long long pid = std::stoll(std::string(pidText));
    if (pid < 1 || pid > INT_MAX)
        return std::nullopt;
    return TempFileParts{name.substr(0, markerAt), static_cast<pid_t>(pid)};
}

std::optional<pid_t> TempFileOwner(std::string_view name) {
    const auto parts = ParseTempFileName(name);
    if (!parts)
        return std::nullopt;
    return parts->pid;
}

namespace {

// Removes the regular files of `folder` that `owner` names as the temporary files of processes
// that are gone.
template <typename Owner> int RemoveStaleFiles(const std::string& folder, const Owner& owner) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir)
        return 0;
    const pid_t self = ::getpid();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::optional<pid_t> pid = owner(std::string_view(entry->d_name));
        if (!pid || *pid == self)
            continue;
        // Only a process that is certainly gone: EPERM means it runs under another user.
        if (::kill(*pid, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::unlinkat(::dirfd(dir.get()), entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

} // namespace

int RemoveStaleTempFiles(const std::string& folder, std::string_view target) {
    return RemoveStaleFiles(folder, [target](std::string_view name) -> std::optional<pid_t> {
        const auto parts = ParseTempFileName(name);
        if (!parts || (!target.empty() && parts->target != target))
            return std::nullopt;
        return parts->pid;
    });
}

int RemoveStaleOldTempFiles(const std::string& folder, std::initializer_list<std::string_view> targets) {
    return RemoveStaleFiles(folder, [targets](std::string_view name) -> std::optional<pid_t> {
        const auto parts = ParseTempFileName(name, OldTempFileMarker);
        if (!parts || std::find(targets.begin(), targets.end(), parts->target) == targets.end())
            return std::nullopt;
        return parts->pid;
    });
}

AtomicFileWriter::AtomicFileWriter(const std::string& target) : target_(ResolveWriteTarget(target)) {
    struct stat old;
    bool exists = true;
    if (::stat(target_.c_str(), &old) != 0) {
        if (errno != ENOENT) {
            errno_ = errno;
            return;
        }
        exists = false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        notRegular_ = !S_ISDIR(old.st_mode);
        errno_ = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        return;
    }
    // A rename would replace even a read-only file; the file must stay as protected as it was.
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        errno_ = errno;
        return;
    }
    const pid_t pid = ::getpid();
    for (int n = 0; n < 100 && !fd_; ++n) {
        temp_ = TempFileName(target_, pid, n);
        fd_ = FileDescriptor(OpenRetrying(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (!fd_ && errno != EEXIST) {
            errno_ = errno;
            temp_.clear();
            return;
        }
    }
    if (!fd_) {
        errno_ = EEXIST;
        temp_.clear();
        return;
    }
    if (exists)
        (void)::fchmod(fd_.get(), old.st_mode & 07777); // keep the old file's permissions
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_)
        Discard();
}

std::string AtomicFileWriter::error() const {
    if (errno_ == 0)
        return {};
    return notRegular_ ? std::string(NotRegularFileText) : SystemErrorText(errno_);
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (!ok() || !fd_)
        return false;
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(fd_.get(), data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void AtomicFileWriter::Fail(int error) {
    if (errno_ == 0)
        errno_ = error != 0 ? error : EIO;
    Discard();
}

bool AtomicFileWriter::Commit() {
    if (!ok() || !fd_ || committed_) {
        Discard();
        return false;
    }
    if (::fsync(fd_.get()) != 0) {
        Fail(errno);
        return false;
    }
    // The new file's stamp comes from the descriptor written, before the rename makes the file
    // visible to anybody else.
    written_ = StampOfDescriptor(fd_.get());
    // After a successful fsync, close has nothing left to report for a regular file.
    fd_.Reset();
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
        return false;
    }
    committed_ = true;
    temp_.clear();
    // Make the rename itself durable. Some file systems cannot sync a folder; the data is safe anyway.
    FileDescriptor folder(OpenRetrying(FolderOfPath(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        (void)::fsync(folder.get());
    return true;
}

void AtomicFileWriter::Discard() {
    fd_.Reset();
    if (!temp_.empty() && !committed_)
        ::unlink(temp_.c_str());
    temp_.clear();
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter out(path);
    if (out.Write(bytes) && out.Commit())
        return std::nullopt;
    return out.error();
}

} // namespace zg
