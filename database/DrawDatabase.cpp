// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/DrawDatabase.h"

#include "base/SafeFile.h"
#include "database/PendingDownloadCheck.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zg {

namespace {

std::string ErrorText(int err) {
    return std::strerror(err);
}

constexpr std::size_t ChunkSize = 1 << 16;

// Sequential reader of the file's integers over a fixed buffer (or over bytes already in memory).
class IntegerReader {
public:
    enum class Status { Value, EndOfFile, NotInteger, OutOfRange, ReadError };

    explicit IntegerReader(std::string_view bytes) : begin_(bytes.data()), cur_(begin_), end_(begin_ + bytes.size()) {}
    // Reads at most WholeFileReadCap bytes of the file: past them the read fails with EFBIG.
    explicit IntegerReader(int fd) : file_(fd, WholeFileReadCap), fromFile_(true), buffer_(new char[ChunkSize]) {
        begin_ = cur_ = end_ = buffer_.get();
    }

    // True when no byte is left (or reading failed: see readError()).
    bool AtEnd() { return cur_ == end_ && !Refill(); }

    // Skips separators (bytes 0..32) and reads one integer. At the end of the bytes the value is 0 and
    // the status EndOfFile, which is not an error.
    Status Read(std::int32_t& value) {
        for (;;) {
            if (AtEnd())
                return EndStatus(value);
            if (static_cast<unsigned char>(*cur_) > 32)
                break;
            ++cur_;
        }
        tokenOffset_ = Offset();
        bool negative = false;
        if (*cur_ == '-' || *cur_ == '+') {
            negative = *cur_ == '-';
            ++cur_;
        }
        // 2^31 is the largest magnitude (of a negative value); once past it the digits only need checking.
        constexpr std::int64_t Limit = std::int64_t{1} << 31;
        std::int64_t magnitude = 0;
        bool digits = false;
        bool tooLarge = false;
        for (;;) {
            if (AtEnd()) {
                if (readError_ != 0)
                    return Status::ReadError;
                break;
            }
            const auto c = static_cast<unsigned char>(*cur_);
            if (c <= 32)
                break;
            if (c < '0' || c > '9')
                return Status::NotInteger;
            digits = true;
            if (!tooLarge) {
                magnitude = magnitude * 10 + (c - '0');
                tooLarge = magnitude > Limit;
            }
            ++cur_;
        }
        if (!digits)
            return Status::NotInteger;
        if (tooLarge || (!negative && magnitude == Limit))
            return Status::OutOfRange;
        value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
        return Status::Value;
    }

    // The common case in one go: reads the next 24 integers when each is a plain run of at most 9
    // digits after at most 7 separator bytes, all within the buffer, and returns true. Otherwise it
    // consumes nothing and returns false, and the values are read one by one with Read (which gives
    // the same values for such a group; this only skips its per-byte checks).
    bool ReadGroup(std::int32_t (&values)[DrawFieldCount]) {
        // At most 7 separators, 9 digits and the byte after them per value.
        if (end_ - cur_ < DrawFieldCount * 17)
            return false;
        const char* p = cur_;
        for (std::int32_t& value : values) {
            for (const char* const stop = p + 7; static_cast<unsigned char>(*p) <= 32; ++p)
                if (p == stop)
                    return false;
            const char* const start = p;
            std::uint32_t v = 0;
            for (const char* const stop = p + 9; p != stop; ++p) {
                const std::uint32_t digit = static_cast<unsigned char>(*p) - static_cast<std::uint32_t>('0');
                if (digit > 9)
                    break;
                v = v * 10 + digit;
            }
            if (p == start || static_cast<unsigned char>(*p) > 32)
                return false;
            value = static_cast<std::int32_t>(v);
        }
        cur_ = p;
        return true;
    }

    // True when a byte other than a separator follows.
    bool MoreValues() {
        for (;;) {
            if (AtEnd())
                return false;
            if (static_cast<unsigned char>(*cur_) > 32)
                return true;
            ++cur_;
        }
    }

    int readError() const { return readError_; }
    std::uint64_t tokenOffset() const { return tokenOffset_; }

private:
    Status EndStatus(std::int32_t& value) {
        value = 0;
        return readError_ != 0 ? Status::ReadError : Status::EndOfFile;
    }

    std::uint64_t Offset() const { return consumed_ + static_cast<std::uint64_t>(cur_ - begin_); }

    bool Refill() {
        if (!fromFile_ || readError_ != 0 || eof_)
            return false;
        consumed_ += static_cast<std::uint64_t>(end_ - begin_);
        const std::ptrdiff_t n = file_.Read(buffer_.get(), ChunkSize);
        if (n < 0)
            readError_ = file_.error();
        begin_ = cur_ = buffer_.get();
        end_ = begin_ + (n > 0 ? n : 0);
        if (n == 0)
            eof_ = true;
        return n > 0;
    }

    CappedFileReader file_{-1, 0};
    bool fromFile_ = false;
    std::unique_ptr<char[]> buffer_;
    const char* begin_ = nullptr;
    const char* cur_ = nullptr;
    const char* end_ = nullptr;
    std::uint64_t consumed_ = 0; // bytes before begin_
    std::uint64_t tokenOffset_ = 0;
    int readError_ = 0;
    bool eof_ = false;
};

LoadResult Fail(LoadResult r, std::string error) {
    r.ok = false;
    r.drawCount = 0;
    r.truncated = false;
    r.shortGroupValues = 0;
    r.error = std::move(error);
    return r;
}

LoadResult Load(IntegerReader& reader, DrawRecord* table) {
    LoadResult r;
    bool dayFirst = false;
    std::int32_t count = 0; // complete groups read so far
    std::int32_t values[DrawFieldCount];
    while (!reader.AtEnd()) {
        if (count == MaxDraws) {
            // The table is full. Anything but trailing separators is draws that do not fit.
            r.truncated = reader.MoreValues();
            break;
        }
        int got = 0; // values of this group before the end of the file
        if (reader.ReadGroup(values)) {
            got = DrawFieldCount;
            if (count == 0) {
                r.layoutProbe = values[1];
                dayFirst = ReadsDayFirst(r.layoutProbe);
            }
        } else {
            for (int i = 0; i < DrawFieldCount; ++i) {
                switch (reader.Read(values[i])) {
                case IntegerReader::Status::Value:
                    ++got;
                    break;
                case IntegerReader::Status::EndOfFile:
                    break;
                case IntegerReader::Status::NotInteger:
                    r.failedDraw = count + 1;
                    return Fail(r, "not an integer at byte " + std::to_string(reader.tokenOffset()));
                case IntegerReader::Status::OutOfRange:
                    r.failedDraw = count + 1;
                    return Fail(r, "integer out of 32-bit range at byte " + std::to_string(reader.tokenOffset()));
                case IntegerReader::Status::ReadError:
                    return Fail(r, ErrorText(reader.readError()));
                }
                // The layout is known from the second integer on, whatever fails later.
                if (count == 0 && i == 1) {
                    r.layoutProbe = values[1];
                    dayFirst = ReadsDayFirst(r.layoutProbe);
                }
            }
        }
        if (got < DrawFieldCount) {
            // The end of the file came first: only separators (got 0) or a group cut short.
            r.shortGroupValues = got;
            break;
        }
        DrawRecord& d = table[++count];
        d.Number = values[0];
        if (dayFirst) {
            d.Day = values[1];
            d.Month = values[2];
            d.Year = values[3];
        } else {
            d.Year = values[1];
            d.Month = values[2];
            d.Day = values[3];
        }
        std::copy(values + 4, values + DrawFieldCount, d.Numbers);
    }
    if (reader.readError() != 0)
        return Fail(r, ErrorText(reader.readError()));
    r.ok = true;
    r.drawCount = count;
    return r;
}

bool WriteAll(int fd, const char* data, std::size_t size, int& err) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Replaces the file at `path` with what `write` puts into a new file (see AtomicFileWriter: a
// temporary file in the same folder, flushed and renamed over it; a linked database stays a link).
// Returns 0 or the errno of the failure; on success `stamp` is the new file's.
template <typename Writer> int ReplaceFile(const std::string& path, Writer&& write, FileStamp& stamp) {
    AtomicFileWriter out(path);
    if (!out.ok())
        return out.errorNumber();
    int err = 0;
    if (!write(out.fd(), err))
        out.Fail(err);
    if (out.Commit())
        stamp = out.writtenStamp();
    return out.errorNumber();
}

// Deletes the download that was read, but not a file that has taken its name since.
int RemoveReadDownload(const std::string& path, const FileStamp& read) {
    const FileStamp now = ReadFileStamp(path);
    if (now.exists && (now.device != read.device || now.inode != read.inode))
        return 0;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return errno;
    return 0;
}

// The end of a merge that got as far as deleting the download: `r` done, or, when the deletion
// failed, the download kept and the failure's text.
MergeResult RemoveDownloadOrKeep(MergeResult r, const std::string& pendingPath, const FileStamp& read) {
    if (const int err = RemoveReadDownload(pendingPath, read); err != 0) {
        r.pendingKept = true;
        r.error = ErrorText(err);
        return r;
    }
    r.ok = true;
    return r;
}

} // namespace

LoadResult LoadDatabase(const std::string& path, DrawRecord* table) {
    const OpenedFile file = OpenRegularFileForReading(path);
    if (!file.ok())
        return Fail(LoadResult{}, file.error);
    IntegerReader reader(file.fd.get());
    LoadResult r = Load(reader, table);
    r.stamp = file.stamp;
    return r;
}

LoadResult ParseDatabase(std::string_view bytes, DrawRecord* table) {
    IntegerReader reader(bytes);
    return Load(reader, table);
}

MergeResult MergePendingDownload(const std::string& pendingPath, const std::string& dbPath,
                                 const std::function<bool()>& askReplaceSmaller, DrawRecord* scratchTable,
                                 const std::function<std::optional<std::string>()>& beforeReplace) {
    MergeResult r;
    const OpenedFile pending = OpenRegularFileForReading(pendingPath);
    if (!pending.ok()) {
        r.pendingKept = pending.status != OpenedFile::Status::Missing;
        r.skipped = pending.status == OpenedFile::Status::NotRegular;
        r.error = pending.error;
        return r;
    }
    const OpenedFile db = OpenRegularFileForReading(dbPath);
    const bool dbExists = db.ok();
    if (!db.ok() && db.status != OpenedFile::Status::Missing) {
        r.pendingKept = true;
        r.skipped = db.status == OpenedFile::Status::NotRegular;
        r.error = db.error;
        return r;
    }

    // The download's bytes, read once: the check, the size compared and the new database all
    // come from these, whatever happens to the file's name meanwhile.
    std::string bytes;
    const int readError = ReadToEnd(pending.fd.get(), bytes, WholeFileReadCap);
    if (readError != 0 && readError != EFBIG) {
        r.pendingKept = true;
        r.error = ErrorText(readError);
        return r;
    }

    // A damaged download (or one larger than any download may be) is deleted before the question
    // and before the database is touched.
    if (readError == EFBIG || !ConvertedDownloadIsSound(bytes, scratchTable)) {
        r.damaged = true;
        return RemoveDownloadOrKeep(std::move(r), pendingPath, pending.stamp);
    }

    bool replace = true;
    if (dbExists && static_cast<std::int64_t>(bytes.size()) < db.size) {
        r.asked = true;
        replace = askReplaceSmaller && askReplaceSmaller();
    }

    if (replace && beforeReplace) {
        if (std::optional<std::string> refusal = beforeReplace()) {
            r.pendingKept = true;
            r.error = std::move(*refusal);
            return r;
        }
    }

    if (replace) {
        // Digits stay, every other byte becomes one space: the download may separate its values with
        // any punctuation and line breaks, and the byte count stays the same.
        for (char& c : bytes)
            if (c < '0' || c > '9')
                c = ' ';
        const int err = ReplaceFile(
            dbPath, [&bytes](int out, int& error) { return WriteAll(out, bytes.data(), bytes.size(), error); },
            r.stamp);
        if (err != 0) {
            r.pendingKept = true;
            r.error = ErrorText(err);
            return r;
        }
        r.replaced = true;
    }

    return RemoveDownloadOrKeep(std::move(r), pendingPath, pending.stamp);
}

std::string AppendedGroupBytes(const DrawRecord& draw, std::int32_t layoutProbe) {
    ReportBuffer out(DrawFieldCount * 12 + 1);
    AppendGroupBytes(out, draw, layoutProbe);
    return out.Take();
}

void AppendGroupBytes(ReportBuffer& out, const DrawRecord& draw, std::int32_t layoutProbe) {
    const auto put = [&out](std::int32_t value) { out.Char(' ').Number(value); };
    put(draw.Number);
    if (ReadsDayFirst(layoutProbe)) {
        put(draw.Day);
        put(draw.Month);
        put(draw.Year);
    } else {
        put(draw.Year);
        put(draw.Month);
        put(draw.Day);
    }
    for (std::int32_t n : draw.Numbers)
        put(n);
    out.Char(' ');
}

FileWriteResult AppendDrawRecord(const std::string& path, const DrawRecord& draw, std::int32_t layoutProbe,
                                 bool createIfMissing) {
    FileWriteResult r;
    const std::string bytes = AppendedGroupBytes(draw, layoutProbe);
    bool created = false;
    // Through a link the draw goes to the link's target (a dangling link gets its file created).
    // O_NONBLOCK: opening a FIFO for writing would otherwise wait for a reader.
    const std::string target = ResolveWriteTarget(path);
    int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENOENT && createIfMissing) {
        fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    if (fd < 0) {
        r.error = ErrorText(errno);
        return r;
    }
    struct stat st;
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        r.error = statted ? std::string(NotRegularFileText) : ErrorText(errno);
        ::close(fd);
        return r;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    r.stamped = true; // from here on the file may change, even when the write fails
    int err = 0;
    if (WriteAll(fd, bytes.data(), bytes.size(), err) && ::fsync(fd) != 0)
        err = errno;
    if (err != 0) {
        // Never leave part of a group behind: the next load would read it as the start of a draw.
        if (::ftruncate(fd, st.st_size) == 0)
            (void)::fsync(fd);
        r.stamp = StampOfDescriptor(fd);
        ::close(fd);
        if (created) {
            ::unlink(target.c_str());
            r.stamp = FileStamp{};
        }
        r.error = ErrorText(err);
        return r;
    }
    // The stamp of what this write left, from its own descriptor.
    r.stamp = StampOfDescriptor(fd);
    // After a successful fsync, close has nothing left to report for a regular file.
    ::close(fd);
    r.ok = true;
    return r;
}

std::string DatabaseFileBytes(DrawsView draws) {
    ReportBuffer out(draws.count > 0 ? static_cast<std::size_t>(draws.count) * 80 : 0);
    AppendDatabaseFileBytes(out, draws);
    return out.Take();
}

namespace {

// "0 ".."99 ": the text of every value below 100 with the blank after it, padded to four bytes so
// that writing a value is one four-byte copy; `size` tells how many of the bytes count.
struct BlankedValues {
    char text[100][4];
    std::uint8_t size[100];
    constexpr BlankedValues() : text(), size() {
        for (int v = 0; v < 100; ++v) {
            const int digits = v < 10 ? 1 : 2;
            text[v][0] = static_cast<char>('0' + (v < 10 ? v : v / 10));
            text[v][1] = v < 10 ? ' ' : static_cast<char>('0' + v % 10);
            text[v][2] = v < 10 ? '\0' : ' ';
            text[v][3] = '\0';
            size[v] = static_cast<std::uint8_t>(digits + 1);
        }
    }
};
constexpr BlankedValues Blanked;

} // namespace

void AppendDatabaseFileBytes(ReportBuffer& out, DrawsView draws) {
    if (draws.count <= 0)
        return;
    const bool dayFirst = ReadsDayFirst(draws[1].Year);
    // A draw's 24 values, each followed by a blank, are made in a local buffer and copied into
    // `out` at once: most are below 100 and take one copy from the table, any other goes through
    // std::to_chars (at most 11 characters and the blank).
    constexpr std::size_t MostPerValue = 12;
    char line[24 * MostPerValue + 4]; // + 4: the table's copy may write past the value's blank
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& d = draws[k];
        char* p = line;
        const auto put = [&p](std::int32_t value) {
            if (static_cast<std::uint32_t>(value) < 100u) {
                std::memcpy(p, Blanked.text[value], 4);
                p += Blanked.size[value];
            } else {
                p = std::to_chars(p, p + MostPerValue, value).ptr;
                *p++ = ' ';
            }
        };
        put(d.Number);
        put(dayFirst ? d.Day : d.Year);
        put(d.Month);
        put(dayFirst ? d.Year : d.Day);
        for (std::int32_t n : d.Numbers)
            put(n);
        out.Raw(std::string_view(line, static_cast<std::size_t>(p - line)));
    }
}

RewriteResult RewriteDatabase(const std::string& path, DrawsView draws) {
    RewriteResult r;
    const FileWriteResult written = ReplaceDatabaseFile(path, DatabaseFileBytes(draws));
    if (!written.ok) {
        r.error = written.error;
        return r;
    }
    r.ok = true;
    r.stamp = written.stamp;
    // The new file's second integer, as the next load would read it.
    if (draws.count >= 1)
        r.layoutProbe = ReadsDayFirst(draws[1].Year) ? draws[1].Day : draws[1].Year;
    return r;
}

FileWriteResult ReplaceDatabaseFile(const std::string& path, std::string_view bytes) {
    FileWriteResult r;
    const int err = ReplaceFile(
        path, [bytes](int fd, int& error) { return WriteAll(fd, bytes.data(), bytes.size(), error); }, r.stamp);
    if (err != 0) {
        r.error = ErrorText(err);
        return r;
    }
    r.ok = true;
    r.stamped = true;
    return r;
}

} // namespace zg
