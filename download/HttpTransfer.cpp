// SPDX-License-Identifier: GPL-3.0-or-later
#include "download/HttpTransfer.h"

#include "base/SafeFile.h"

// Only the types and constants of libcurl's header are used: the library itself is opened at the
// first transfer, so a process that downloads nothing never loads it nor the libraries it needs.
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <mutex>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zg {

namespace {

// The library's file name as its Debian package installs it (libcurl4); the number is the ABI's.
#ifndef ZG_CURL_LIBRARY
#define ZG_CURL_LIBRARY "libcurl.so.4"
#endif
constexpr const char* CurlLibraryName = ZG_CURL_LIBRARY;

// The libcurl functions a transfer calls, resolved from the library opened at the first transfer.
// The declarations of the header give their types; nothing links against the library.
struct CurlLibrary {
    decltype(&::curl_global_init) globalInit = nullptr;
    decltype(&::curl_easy_init) easyInit = nullptr;
    decltype(&::curl_easy_setopt) easySetopt = nullptr;
    decltype(&::curl_easy_perform) easyPerform = nullptr;
    decltype(&::curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&::curl_easy_strerror) easyStrerror = nullptr;
    decltype(&::curl_slist_append) slistAppend = nullptr;
    decltype(&::curl_slist_free_all) slistFreeAll = nullptr;
    std::string error; // why the library cannot be used; empty when it can
};

template <typename Function> bool Resolve(void* library, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && error.empty())
        error = std::string(CurlLibraryName) + " lacks " + name;
    return function != nullptr;
}

// What a file of the library's name is to the dynamic loader.
struct LibraryFile {
    enum class Kind {
        Absent,  // missing or unreadable: the loader looks further
        Foreign, // an ELF file of another class or machine: the loader passes it over too
        Damaged, // the loader would take it but cannot map it whole
        Whole,   // the loader takes it, and every byte it maps lies within the file
    };
    Kind kind = Kind::Absent;
    std::string why; // for Damaged
};

#if defined(__x86_64__)
constexpr int HostMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int HostMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int HostMachine = EM_386;
#else
constexpr int HostMachine = -1; // any machine is taken for this one's
#endif

// Checks that an ELF file of one class holds what the loader maps or reads: its program headers,
// the file part of every loaded segment, and its section headers, which end the file.
template <class Header, class ProgramHeader>
LibraryFile CheckElfExtent(int fd, std::uint64_t size, const std::string& path) {
    const auto damaged = [&path](const std::string& why) {
        return LibraryFile{LibraryFile::Kind::Damaged, path + ": " + why};
    };
    Header h{};
    if (size < sizeof h || ::pread(fd, &h, sizeof h, 0) != static_cast<ssize_t>(sizeof h))
        return damaged("file too short");
    if (HostMachine >= 0 && h.e_machine != HostMachine)
        return LibraryFile{LibraryFile::Kind::Foreign, {}};
    const std::uint64_t sectionHeaders = std::uint64_t{h.e_shnum} * h.e_shentsize;
    if (h.e_shoff > size || sectionHeaders > size - h.e_shoff)
        return damaged("cut short (" + std::to_string(size) + " bytes, its section headers end at byte " +
                       std::to_string(h.e_shoff + sectionHeaders) + ")");
    const std::uint64_t programHeaders = std::uint64_t{h.e_phnum} * h.e_phentsize;
    if (h.e_phentsize != sizeof(ProgramHeader) || h.e_phoff > size || programHeaders > size - h.e_phoff)
        return damaged("damaged program headers");
    for (std::uint64_t i = 0; i < h.e_phnum; ++i) {
        ProgramHeader ph{};
        const auto at = static_cast<off_t>(h.e_phoff + i * sizeof ph);
        if (::pread(fd, &ph, sizeof ph, at) != static_cast<ssize_t>(sizeof ph))
            return damaged(std::strerror(errno));
        if (ph.p_type == PT_LOAD && (ph.p_filesz > size || ph.p_offset > size - ph.p_filesz))
            return damaged("cut short (" + std::to_string(size) + " bytes, a segment ends at byte " +
                           std::to_string(ph.p_offset + ph.p_filesz) + ")");
    }
    return LibraryFile{LibraryFile::Kind::Whole, {}};
}

LibraryFile CheckLibraryFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == EACCES || errno == ENOTDIR
                   ? LibraryFile{}
                   : LibraryFile{LibraryFile::Kind::Damaged, path + ": " + std::strerror(errno)};
    struct stat st {};
    LibraryFile file;
    unsigned char ident[EI_NIDENT] = {};
    if (::fstat(fd, &st) != 0)
        file = {LibraryFile::Kind::Damaged, path + ": " + std::strerror(errno)};
    else if (!S_ISREG(st.st_mode))
        file = {LibraryFile::Kind::Damaged, path + ": not a regular file"};
    else if (::pread(fd, ident, sizeof ident, 0) != static_cast<ssize_t>(sizeof ident) ||
             std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        file = {LibraryFile::Kind::Damaged, path + ": not an ELF file"};
    else if (ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32))
        file = {LibraryFile::Kind::Foreign, {}};
    else if (ident[EI_CLASS] == ELFCLASS64)
        file = CheckElfExtent<Elf64_Ehdr, Elf64_Phdr>(fd, static_cast<std::uint64_t>(st.st_size), path);
    else
        file = CheckElfExtent<Elf32_Ehdr, Elf32_Phdr>(fd, static_cast<std::uint64_t>(st.st_size), path);
    ::close(fd);
    return file;
}

// The folders the loader searches for a library this program opens, in its order: the program's
// run path, LD_LIBRARY_PATH, then the system's folders. Only the loader's cache of the system's
// libraries, asked before the system's folders, is not among them.
std::vector<std::string> LibrarySearchFolders() {
    std::vector<std::string> folders;
    void* program = ::dlopen(nullptr, RTLD_NOW); // the program itself, which opens the library
    if (program == nullptr)
        return folders;
    Dl_serinfo size{};
    if (::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
        std::vector<std::max_align_t> room(size.dls_size / sizeof(std::max_align_t) + 1);
        auto* info = reinterpret_cast<Dl_serinfo*>(room.data());
        *info = size;
        if (::dlinfo(program, RTLD_DI_SERINFO, info) == 0)
            for (unsigned i = 0; i < info->dls_cnt; ++i)
                folders.emplace_back(info->dls_serpath[i].dls_name);
    }
    ::dlclose(program);
    return folders;
}

// Loads the library in a short-lived child first, for a library that no check above could find:
// a file that cannot be mapped whole kills the child instead of this process. Returns why it
// cannot be used, or nothing (also when the trial cannot be made or does not end in 10 s).
std::optional<std::string> TrialLoadInChild() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::dlopen(CurlLibraryName, RTLD_NOW | RTLD_LOCAL);
        ::_exit(0);
    }
    if (child < 0)
        return std::nullopt;
    int status = 0;
    for (int waited = 0;; waited += 10) {
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child)
            break;
        if (ended < 0 && errno != EINTR)
            return std::nullopt; // reaped by someone else: no status to judge by
        if (waited >= 10000) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return std::nullopt;
        }
        ::usleep(10000);
    }
    if (WIFSIGNALED(status))
        return "a trial load ended with signal " + std::to_string(WTERMSIG(status));
    return std::nullopt;
}

// Why the library the loader would open cannot be mapped whole, or nothing. A file cut short
// would kill the process with SIGBUS inside dlopen at the first touch of a page past its end;
// instead the download then fails as without the library.
std::optional<std::string> DamagedLibrary() {
    const std::string name = CurlLibraryName;
    std::vector<std::string> candidates;
    if (name.find('/') != std::string::npos)
        candidates.push_back(name);
    else
        for (const std::string& folder : LibrarySearchFolders())
            candidates.push_back(folder + "/" + name);
    for (const std::string& path : candidates) {
        LibraryFile file = CheckLibraryFile(path);
        if (file.kind == LibraryFile::Kind::Damaged)
            return std::move(file.why);
        if (file.kind == LibraryFile::Kind::Whole)
            return std::nullopt;
    }
    return TrialLoadInChild();
}

// Opens libcurl once per process, at the first transfer, and keeps it open: the callbacks of a
// transfer on another thread may still run its code. curl_global_init is called in the same step,
// which the once flag keeps to one thread.
const CurlLibrary& Curl() {
    static CurlLibrary curl;
    static std::once_flag once;
    std::call_once(once, [] {
        if (const auto damaged = DamagedLibrary()) {
            curl.error = std::string("the download library ") + CurlLibraryName + " cannot be loaded: " + *damaged;
            return;
        }
        void* library = ::dlopen(CurlLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char* why = ::dlerror();
            curl.error = std::string("the download library ") + CurlLibraryName + " cannot be loaded" +
                         (why != nullptr ? std::string(": ") + why : std::string());
            return;
        }
        std::string& e = curl.error;
        const bool all = Resolve(library, "curl_global_init", curl.globalInit, e) &&
                         Resolve(library, "curl_easy_init", curl.easyInit, e) &&
                         Resolve(library, "curl_easy_setopt", curl.easySetopt, e) &&
                         Resolve(library, "curl_easy_perform", curl.easyPerform, e) &&
                         Resolve(library, "curl_easy_cleanup", curl.easyCleanup, e) &&
                         Resolve(library, "curl_easy_strerror", curl.easyStrerror, e) &&
                         Resolve(library, "curl_slist_append", curl.slistAppend, e) &&
                         Resolve(library, "curl_slist_free_all", curl.slistFreeAll, e);
        if (all && curl.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            e = std::string(CurlLibraryName) + " could not be initialised";
    });
    return curl;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

// Temporary files of this process get increasing numbers, so two downloads never share one.
std::atomic<unsigned> TempCounter{0};

int CreateTempBeside(const std::string& target, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TempFileName(target, ::getpid(), static_cast<int>(TempCounter++ % 1000000000u));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The state of one running transfer, shared by the libcurl callbacks.
class Transfer {
public:
    Transfer(const TransferSettings& settings, TransferFlags& flags, const TransferProgress& progress)
        : settings_(settings), flags_(flags), progress_(progress) {}

    ~Transfer() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    TransferReport Run() {
        // Step by step, as the flag may be set at any point: split, connect and send, read the head,
        // create the file, read the body.
        const UrlParts parts = SplitUrl(settings_.url);
        if (Stopped())
            return Finish(false);

        const CurlLibrary& lib = Curl();
        if (!lib.error.empty()) {
            report_.fault = TransferFault::NoLibrary;
            return Fail(lib.error);
        }
        CURL* curl = lib.easyInit();
        if (curl == nullptr)
            return Fail("libcurl could not be started");
        const std::string url = "http://" + parts.host + ":" + std::to_string(settings_.port) + parts.path;
        curl_slist* headers = lib.slistAppend(nullptr, ("Accept: " + settings_.acceptTypes).c_str());
        if (!settings_.useCache) {
            headers = lib.slistAppend(headers, "Cache-Control: no-cache");
            headers = lib.slistAppend(headers, "Pragma: no-cache");
        }
        const auto setopt = lib.easySetopt;
        setopt(curl, CURLOPT_URL, url.c_str());
        setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
        setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        setopt(curl, CURLOPT_HTTPGET, 1L);
        if (!settings_.agent.empty())
            setopt(curl, CURLOPT_USERAGENT, settings_.agent.c_str());
        setopt(curl, CURLOPT_HTTPHEADER, headers);
        setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
        setopt(curl, CURLOPT_NOSIGNAL, 1L);
        setopt(curl, CURLOPT_CONNECTTIMEOUT, TransferConnectTimeoutSeconds);
        setopt(curl, CURLOPT_LOW_SPEED_LIMIT, TransferLowSpeedBytesPerSecond);
        setopt(curl, CURLOPT_LOW_SPEED_TIME, TransferLowSpeedSeconds);
        setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<std::int64_t>(1, settings_.deadline.count())));
        setopt(curl, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
        setopt(curl, CURLOPT_HEADERDATA, this);
        setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
        setopt(curl, CURLOPT_WRITEDATA, this);
        setopt(curl, CURLOPT_NOPROGRESS, 0L);
        setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::OnInfo);
        setopt(curl, CURLOPT_XFERINFODATA, this);

        const CURLcode code = lib.easyPerform(curl);
        lib.easyCleanup(curl);
        lib.slistFreeAll(headers);

        if (failed_)
            return Finish(false);
        if (code == CURLE_OPERATION_TIMEDOUT)
            return Fail("timed out");
        if (IsBadAnswer(code)) {
            report_.fault = TransferFault::BadAnswer;
            return Fail(lib.easyStrerror(code));
        }
        if (code != CURLE_OK)
            report_.error = lib.easyStrerror(code);
        if (Stopped())
            return Finish(false);
        // Complete only when exactly the announced length arrived. No response at all gives 0 = 0.
        const bool complete = report_.fileSize == report_.received;
        if (complete && report_.responded && settings_.acceptBody && !BodyAccepted())
            return Finish(false);
        return Finish(complete);
    }

private:
    bool Stopped() {
        if (!flags_.stop.load())
            return false;
        report_.error = "stopped";
        failed_ = true;
        return true;
    }

    // libcurl's refusals of what the server sent, as against a connection that failed: a status
    // line that is not HTTP (an answer without a head is HTTP/0.9, which is not allowed), a
    // malformed head or Content-Length (a negative one among them), a header line without end
    // (CURLE_OUT_OF_MEMORY up to libcurl 8.5, CURLE_TOO_LARGE = 100 since 8.6), a body that does
    // not unpack as its Content-Encoding says.
    static bool IsBadAnswer(CURLcode code) {
        return code == CURLE_WEIRD_SERVER_REPLY || code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_OUT_OF_MEMORY ||
               code == CURLE_BAD_CONTENT_ENCODING || static_cast<int>(code) == 100;
    }

    // The complete body against TransferSettings::acceptBody: read back from the temporary file
    // unless it is in memory.
    bool BodyAccepted() {
        std::string fromFile;
        if (!report_.bodyInMemory) {
            const OpenedFile file = OpenRegularFileForReading(report_.tempFile);
            if (!file.ok())
                return FailHere(report_.tempFile + ": " + file.error);
            if (const int error = ReadToEnd(file.fd.get(), fromFile, TransferBodyLimit, file.size); error != 0)
                return FailHere(report_.tempFile + ": " + SystemErrorText(error));
        }
        try {
            if (settings_.acceptBody(report_.bodyInMemory ? report_.body : fromFile))
                return true;
        } catch (const std::bad_alloc&) {
            return FailHere("out of memory");
        }
        report_.fault = TransferFault::NotAccepted;
        return FailHere("the body failed its check");
    }

    TransferReport Fail(std::string why) {
        report_.error = std::move(why);
        failed_ = true;
        return Finish(false);
    }

    bool FailHere(std::string why) {
        report_.error = std::move(why);
        failed_ = true;
        return false;
    }

    TransferReport Finish(bool ok) {
        if (fd_ >= 0) {
            if (ok && ::fsync(fd_) != 0)
                ok = FailHere(std::strerror(errno));
            if (::close(fd_) != 0 && ok)
                ok = FailHere(std::strerror(errno));
            fd_ = -1;
        }
        if (!ok)
            report_.body.clear(); // an answer cut short is nobody's answer
        flags_.result.store(ok);
        return report_;
    }

    // The response head is complete: examine it and create the file, before any body byte.
    bool HeadDone() {
        if (report_.status >= 100 && report_.status < 200) {
            contentLength_.reset();
            return true; // an interim answer; the real one follows
        }
        report_.responded = true;
        if (Stopped())
            return false;
        if (report_.status < 200 || report_.status > 299)
            return FailHere("HTTP status " + std::to_string(report_.status));
        if (contentLength_ && !ParseContentLength(*contentLength_, report_.fileSize)) {
            report_.fault = TransferFault::BadAnswer;
            return FailHere("bad Content-Length: " + *contentLength_);
        }
        // A check of the body asks for the whole file: a part of it (206) or any other success
        // status is refused at once, before a byte of the body is read.
        if (settings_.acceptBody && report_.status != 200) {
            report_.fault = TransferFault::NotAccepted;
            return FailHere("HTTP status " + std::to_string(report_.status));
        }
        if (Stopped())
            return false;
        if (settings_.bodyInMemory) {
            report_.bodyInMemory = true;
            return true;
        }
        fd_ = CreateTempBeside(settings_.fileName, report_.tempFile);
        if (fd_ < 0) {
            report_.tempFile.clear();
            return FailHere(settings_.fileName + ": " + std::strerror(errno));
        }
        return true;
    }

    bool Header(std::string_view line) {
        headBytes_ += static_cast<std::int64_t>(line.size());
        if (headBytes_ > TransferHeadLimit) {
            report_.fault = TransferFault::BadAnswer;
            return FailHere("response head larger than " + std::to_string(TransferHeadLimit) + " bytes");
        }
        if (StartsWithNoCase(line, "HTTP/")) {
            const auto space = line.find(' ');
            long status = 0;
            if (space != std::string_view::npos) {
                const std::string_view code = line.substr(space + 1, 3);
                std::from_chars(code.data(), code.data() + code.size(), status);
            }
            report_.status = status;
            contentLength_.reset();
            return true;
        }
        if (Trim(line).empty())
            return HeadDone();
        if (StartsWithNoCase(line, "content-length:"))
            contentLength_ = std::string(line.substr(15));
        return true;
    }

    bool Body(const char* data, std::size_t size) {
        if (fd_ < 0 && !report_.bodyInMemory)
            return FailHere("body without a response head");
        const std::int64_t limit = report_.bodyInMemory ? SmallFileReadCap : TransferBodyLimit;
        while (size > 0) {
            if (Stopped())
                return false;
            const std::size_t chunk = std::min(size, TransferChunkSize);
            if (report_.received + static_cast<std::int64_t>(chunk) > limit)
                return FailHere("body larger than " + std::to_string(limit) + " bytes");
            if (report_.bodyInMemory)
                report_.body.append(data, chunk);
            else if (!WriteAll(fd_, data, chunk))
                return FailHere(settings_.fileName + ": " + std::strerror(errno));
            report_.received += static_cast<std::int64_t>(chunk);
            data += chunk;
            size -= chunk;
            if (progress_)
                progress_(report_.fileSize, static_cast<std::int32_t>(report_.received));
        }
        return true;
    }

    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
        return static_cast<Transfer*>(self)->Header(std::string_view(data, size * count)) ? size * count : 0;
    }
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
        return static_cast<Transfer*>(self)->Body(data, size * count) ? size * count : 0;
    }
    static int OnInfo(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        auto* t = static_cast<Transfer*>(self);
        return t->Stopped() || t->failed_ ? 1 : 0;
    }

    const TransferSettings& settings_;
    TransferFlags& flags_;
    const TransferProgress& progress_;
    TransferReport report_;
    std::optional<std::string> contentLength_;
    std::int64_t headBytes_ = 0; // of every head so far, interim ones included
    int fd_ = -1;
    bool failed_ = false;
};

} // namespace

bool ParseContentLength(std::string_view text, std::int32_t& value) {
    text = Trim(text);
    if (text.empty() || text.size() > 12)
        return false;
    std::int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v > TransferBodyLimit)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

UrlParts SplitUrl(std::string_view url) {
    std::string rest(url);
    std::string lower(url);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("http://") != std::string::npos)
        rest.erase(0, std::min<std::size_t>(7, rest.size()));
    UrlParts parts;
    const auto slash = rest.find('/');
    if (slash == std::string::npos) {
        parts.path = rest;
        return parts;
    }
    parts.host = rest.substr(0, slash);
    parts.path = rest.substr(slash);
    if (!parts.host.empty() && parts.host.back() == '/')
        parts.host.pop_back();
    return parts;
}

TransferReport RunTransfer(const TransferSettings& settings, TransferFlags& flags, const TransferProgress& progress) {
    Transfer transfer(settings, flags, progress);
    return transfer.Run();
}

bool FinishTransferFile(const TransferReport& report, const std::string& target, bool keep) {
    if (report.tempFile.empty())
        return !keep || report.bodyInMemory;
    if (keep && ::rename(report.tempFile.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(report.tempFile.c_str());
    return !keep;
}

bool DeliverTransfer(const TransferReport& report, const std::string& target, bool result) {
    const bool keep = result && report.fileSize > 0;
    if (!FinishTransferFile(report, target, keep))
        return false;
    return result;
}

} // namespace zg
