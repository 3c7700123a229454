// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Safe handling of the files the program reads and writes. Pure standard C++ with POSIX calls;
// nothing here shows a message: callers get the texts and decide how to show them.
//
// Reading: every file that comes from outside (the database, a waiting download, a set file) is
// opened with OpenRegularFileForReading, which never blocks on a FIFO or a device and refuses
// anything but a regular file before a single byte is read. Every whole-file read then stops at a
// fixed cap, whatever the file's size claims: files under /proc say they are empty and never end.
//
// Writing: every file the program writes is replaced as a whole through AtomicFileWriter (or
// WriteFileAtomically for bytes already in memory): the content goes to a temporary file in the
// target's folder, named TempFileName(target, pid, n) with a marker no user's file carries, is flushed to disk and
// renamed over the target. A failure at any point leaves the old target as it was and no temporary file behind. A
// temporary file left by a killed process is removed by RemoveStaleTempFiles, which the program runs at start-up and
// the command-line tool in every command that writes.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace zg {

// The system's description of an error number (strerror).
std::string SystemErrorText(int error);

// The description given for a path that names something other than a regular file or a folder
// (a FIFO, a device, a socket). A folder gets the system's own text for EISDIR. The command-line
// tool's text; the windows show it in Polish.
inline constexpr std::string_view NotRegularFileText = "Not a regular file";

// The reason a lock fails when another writer holds the file too long (the command-line tool's
// text; the windows show it in Polish).
inline constexpr std::string_view LockedByAnotherWriterText = "the file is being written by another program";

// The most any whole-file read takes: the database, a download, a results file. A read that
// finds more fails with EFBIG.
inline constexpr std::int64_t WholeFileReadCap = std::int64_t{64} << 20;
// The same for files that can never be larger: a set file, a latest-draw answer.
inline constexpr std::int64_t SmallFileReadCap = std::int64_t{16} << 20;

// What identifies one state of a file: a writer that replaced it (another identity), appended to
// it (another size) or rewrote it in place (another modification time) changes it.
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
// The stamp of an open file (fstat); exists == false when fstat fails.
FileStamp StampOfDescriptor(int fd);

// An open file descriptor that closes itself. Movable, not copyable.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Gives up ownership; the caller closes the descriptor.
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void Reset();

private:
    int fd_ = -1;
};

struct OpenedFile {
    enum class Status {
        Opened,     // fd is open for reading, size is the file's size in bytes
        Missing,    // nothing of that name (ENOENT, also a dangling link)
        NotRegular, // a folder, FIFO, device or socket: refused without reading
        Failed,     // any other failure (permissions, ...)
    };
    Status status = Status::Failed;
    FileDescriptor fd;
    std::int64_t size = 0;
    FileStamp stamp;   // of the opened file, taken from the descriptor
    std::string error; // empty when opened; else the description of the failure

    bool ok() const { return status == Status::Opened; }
};

// Opens `path` (links followed) for reading with O_NONBLOCK, so that opening a FIFO never waits
// for a writer, and checks with fstat that the open file is a regular file before anything reads
// from it. A regular file is returned in blocking mode again. Never blocks, never reads a byte.
OpenedFile OpenRegularFileForReading(const std::string& path);

// Reads an opened file piece by piece, stopping at `cap` bytes whatever the file's size says.
// Reads in whole pieces, so a file that only allows aligned reads (as some under /proc do) reads
// as any other.
class CappedFileReader {
public:
    CappedFileReader(int fd, std::int64_t cap) : fd_(fd), cap_(cap) {}

    // Reads up to `size` bytes into `buffer`: the count, 0 at the end of the file, or -1 with
    // error() set (EFBIG once the file held more than the cap; the bytes past it are not given).
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    int error() const { return error_; }

private:
    int fd_;
    std::int64_t cap_;
    std::int64_t total_ = 0;
    int error_ = 0;
};

// Reads an opened file to its end into `out` (replacing its content), at most `cap` bytes.
// Returns 0 or the errno (EFBIG past the cap; `out` is then empty). `sizeHint`, the size the file
// had when it was opened, only reserves room (up to the cap): a file of several megabytes is then
// read without growing the text again and again; the read itself still stops at its real end.
int ReadToEnd(int fd, std::string& out, std::int64_t cap, std::int64_t sizeHint = 0);

// Where a write to `path` lands: when `path` is a symbolic link (also a dangling one), the path it
// finally points to, resolved relative to each link's folder (at most 40 links deep, like the
// system); otherwise `path` itself. Writing there keeps the link a link.
std::string ResolveWriteTarget(const std::string& path);

// The marker of every temporary file the program writes; no user's file name carries it.
inline constexpr std::string_view TempFileMarker = ".zentagrafo-tmp.";
// The marker of the temporary files of earlier versions of the program.
inline constexpr std::string_view OldTempFileMarker = ".tmp.";

// Name of the temporary file that replaces `target`: `<target>.zentagrafo-tmp.<pid>.<n>`.
std::string TempFileName(const std::string& target, pid_t pid, int n);

// A temporary file's name taken apart: the name of the file it replaces and the owner's pid.
struct TempFileParts {
    std::string_view target;
    pid_t pid = 0;
};
// When `name` (a file name without folder) has the form `<target><marker><pid>.<n>` with a
// non-empty <target>, decimal <pid> (1..2^31-1) and decimal <n>, its parts; otherwise nothing.
std::optional<TempFileParts> ParseTempFileName(std::string_view name, std::string_view marker = TempFileMarker);

// The owner's pid of a temporary file named by TempFileName; nothing for any other name.
std::optional<pid_t> TempFileOwner(std::string_view name);

// Removes from `folder` every regular file named by TempFileName (with `target` given: only those
// that replace a file of that name) whose process no longer exists; files of this process and of
// running processes stay, and so does anything that is not a regular file. Returns how many files
// were removed. Meant for start-up and for every command that writes (RemoveStaleProgramTempFiles
// covers all their folders).
int RemoveStaleTempFiles(const std::string& folder, std::string_view target = {});

// The same for the names of earlier versions, `<target>.tmp.<pid>.<n>`, and only for the targets
// named in `targets`.
int RemoveStaleOldTempFiles(const std::string& folder, std::initializer_list<std::string_view> targets);

// The folder of a file path: everything before its last '/' ("." without one, "/" for the root).
std::string FolderOfPath(const std::string& path);

// Replaces one file as a whole. Typical use:
//     AtomicFileWriter out(path);
//     if (out.ok() && out.Write(bytes) && out.Commit()) { ...saved... } else { show out.error() }
// The constructor resolves a linked target (ResolveWriteTarget), refuses an existing target that
// is a folder, FIFO, device or socket, or that is not writable (a rename could replace even a
// read-only file, so the protection is kept), and creates the temporary file in the target's
// folder (O_EXCL, permissions of the old target when there is one). Write may be called any number
// of times, from any one thread at a time. Commit flushes the data to disk (fsync), renames the
// temporary file over the target and flushes the folder. Until Commit succeeds the target is
// untouched; after any failure, and when the object is destroyed without a Commit, the temporary
// file is removed.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // No failure so far.
    bool ok() const { return errno_ == 0; }
    // errno of the first failure (0 when none) and its description.
    int errorNumber() const { return errno_; }
    std::string error() const;

    // The file that Commit replaces (links resolved) and the temporary file being written.
    const std::string& targetPath() const { return target_; }
    const std::string& tempPath() const { return temp_; }
    // After a successful Commit: the stamp of the new file, taken from the written descriptor
    // before the rename (so it is the file this writer wrote, whatever replaced it since).
    const FileStamp& writtenStamp() const { return written_; }
    // The temporary file's descriptor, for callers that write through it themselves; -1 after a
    // failure or once committed. Such a caller reports its own failure with Fail(errno).
    int fd() const { return fd_.get(); }

    // Appends bytes to the temporary file. False once anything failed.
    bool Write(std::string_view bytes);
    // Records a failure of the caller's own (an errno value); Commit then refuses.
    void Fail(int error);
    // Flushes, renames over the target and flushes the folder. False (and the target untouched)
    // when anything failed before or here.
    bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

private:
    std::string target_;
    std::string temp_;
    FileDescriptor fd_;
    FileStamp written_;
    int errno_ = 0;
    bool notRegular_ = false;
    bool committed_ = false;
};

// Writes `bytes` as the whole new content of `path` through AtomicFileWriter. On failure returns
// the description of the error (the old file, if any, unchanged); on success nothing.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace zg
