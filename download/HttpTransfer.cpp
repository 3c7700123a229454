#include "download/HttpTransfer.h"

#include "base/SafeFile.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zg {

namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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

        InitCurlOnce();
        CURL* curl = curl_easy_init();
        if (curl == nullptr)
            return Fail("libcurl could not be started");
        const std::string url = "http://" + parts.host + ":" + std::to_string(settings_.port) + parts.path;
        curl_slist* headers = curl_slist_append(nullptr, ("Accept: " + settings_.acceptTypes).c_str());
        if (!settings_.useCache) {
            headers = curl_slist_append(headers, "Cache-Control: no-cache");
            headers = curl_slist_append(headers, "Pragma: no-cache");
        }
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        if (!settings_.agent.empty())
            curl_easy_setopt(curl, CURLOPT_USERAGENT, settings_.agent.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, TransferConnectTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, TransferLowSpeedBytesPerSecond);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, TransferLowSpeedSeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                         static_cast<long>(std::max<std::int64_t>(1, settings_.deadline.count())));
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::OnInfo);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);

        const CURLcode code = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        curl_slist_free_all(headers);

        if (failed_)
            return Finish(false);
        if (code == CURLE_OPERATION_TIMEDOUT)
            return Fail("timed out");
        if (code != CURLE_OK)
            report_.error = curl_easy_strerror(code);
        if (Stopped())
            return Finish(false);
        // Complete only when exactly the announced length arrived. No response at all gives 0 = 0.
        return Finish(report_.fileSize == report_.received);
    }

private:
    bool Stopped() {
        if (!flags_.stop.load())
            return false;
        report_.error = "stopped";
        failed_ = true;
        return true;
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
        if (contentLength_ && !ParseContentLength(*contentLength_, report_.fileSize))
            return FailHere("bad Content-Length: " + *contentLength_);
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
