// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One HTTP download into a file, over libcurl, without any window: the transfer that the download
// component runs on its worker thread and that the command-line tool runs directly.
//
// The request is an HTTP/1.0 GET with the user agent, an Accept header and, unless a cached copy
// may be used, a no-cache reload. The announced Content-Length is read before the body; the body
// goes to a temporary file beside the target (or, when asked, into memory) in chunks of at most
// TransferChunkSize bytes, each reported to the progress handler. The stop flag is polled between
// the steps, before every chunk and in libcurl's transfer-info callback, which also runs about
// once a second while nothing arrives, so a stop always ends a stalled transfer. A transfer also
// ends when it exceeds its deadline or crawls below the low-speed limit: a server that trickles
// bytes can hold no download for ever.
//
// libcurl is opened at the first transfer of a process, not at its start: a process that downloads
// nothing never loads it. The file the loader would take is checked first: one cut short (which
// mapping would answer with SIGBUS) counts as missing. When it cannot be opened, that transfer
// (and every later one) fails with TransferFault::NoLibrary and an error naming the library, and
// nothing else is affected.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zg {

inline constexpr std::size_t TransferChunkSize = 1025;
inline constexpr std::int64_t TransferBodyLimit = std::int64_t{64} << 20; // far beyond 99,999 draws
inline constexpr long TransferConnectTimeoutSeconds = 15;
// Slower than this on average over that many seconds, a transfer is given up: any real connection
// is far faster, while a server sending a byte now and then is not.
inline constexpr long TransferLowSpeedBytesPerSecond = 1024;
inline constexpr long TransferLowSpeedSeconds = 30;
// The most a response head may take: real heads are a few hundred bytes, while a server that
// sends header lines without end would otherwise hold the download until its deadline.
inline constexpr std::int64_t TransferHeadLimit = 100 * 1024;
// The overall deadlines of the two results requests: the latest draw is some hundred bytes, the
// complete file a few megabytes.
inline constexpr std::chrono::milliseconds LatestDrawDeadline = std::chrono::seconds(60);
inline constexpr std::chrono::milliseconds AllResultsDeadline = std::chrono::minutes(15);

// Host and path of an "http://host/path?query" address. A leading "http://" (found anywhere in
// the text, in any case) drops the first 7 characters; the host ends at the first "/". A text
// without "/" gives an empty host and the whole text as path.
struct UrlParts {
    std::string host;
    std::string path;
};
UrlParts SplitUrl(std::string_view url);

// The value of a Content-Length header: blanks around it allowed, then decimal digits only, at most
// TransferBodyLimit. False for anything else (value then unchanged).
bool ParseContentLength(std::string_view text, std::int32_t& value);

struct TransferSettings {
    std::string url;
    std::string fileName; // the target (a path as the system's bytes); the body goes to a temporary file beside it
    std::string acceptTypes = "*/*";
    std::string agent = "Orvanel HTTPGet"; // empty: no User-Agent header
    bool useCache = false;
    int port = 80;
    std::chrono::milliseconds deadline = AllResultsDeadline; // the whole transfer, from the first step
    // The body goes to TransferReport::body instead of a file (at most SmallFileReadCap bytes): an
    // answer that only this transfer reads, which no other download can replace or delete.
    bool bodyInMemory = false;
    // When set, only a 200 answer whose complete body passes this check succeeds; anything else
    // fails with TransferFault::NotAccepted before it becomes the target. It runs on the thread of
    // the transfer, once the whole body is in.
    std::function<bool(std::string_view body)> acceptBody;
};

// Written by the owner (stop, and result := false on cancel) and by the transfer; no lock.
struct TransferFlags {
    std::atomic<bool> stop{false};
    std::atomic<bool> result{false};
};

// Why a transfer failed, where the messages tell it apart.
enum class TransferFault {
    None,        // a stop, a time-out, a status other than 2xx, an answer cut short, a file error...
    NoLibrary,   // libcurl cannot be opened
    BadAnswer,   // the answer is no valid HTTP answer: a malformed status line, head or Content-Length
    NotAccepted, // a status other than 200, or a body that TransferSettings::acceptBody refused
};

// What a finished transfer leaves. The result itself is in TransferFlags::result.
struct TransferReport {
    std::int32_t fileSize = 0; // announced Content-Length, 0 when none
    std::int64_t received = 0; // body bytes written to the temporary file (or to `body`)
    std::string tempFile;      // empty when no file was created
    bool bodyInMemory = false; // the body is in `body`, and no file is involved
    std::string body;
    bool responded = false; // a response head arrived
    long status = 0;        // its HTTP status
    std::string error;      // why the transfer failed, for the command line
    TransferFault fault = TransferFault::None;
};

// Reports the announced length (0 when none) and the bytes received so far, after each chunk.
using TransferProgress = std::function<void(std::int32_t totalSize, std::int32_t bytesRead)>;

// Runs the whole transfer on the calling thread and sets flags.result: true when the body's length
// equals the announced Content-Length (so a failed connection, which yields neither, counts as a
// success with fileSize 0). A stop, a status other than 2xx, an answer that is no valid HTTP
// answer (a Content-Length that is not a number or above TransferBodyLimit, a head above
// TransferHeadLimit among them), a body above that limit or refused by the settings' check, a
// temporary file that cannot be created or written, or a time-out (no connection within 15 s,
// slower than the low-speed limit, past the deadline) make it false.
TransferReport RunTransfer(const TransferSettings& settings, TransferFlags& flags, const TransferProgress& progress);

// Settles the temporary file once the result is known: with `keep` it is renamed onto the target
// (replacing a file, link or anything else of that name, never writing through it), otherwise it
// is deleted. Returns false when the rename failed (the temporary file is then deleted too). A
// body kept in memory has no file to settle.
bool FinishTransferFile(const TransferReport& report, const std::string& target, bool keep);

// The result of a completed download as the component delivers it: whether `finished` (true) or
// `failed` fires. The file becomes the target only for a success with a non-empty body.
bool DeliverTransfer(const TransferReport& report, const std::string& target, bool result);

} // namespace zg
