#include "download/ResultsUpdate.h"

#include "analysis/DateRoutines.h"
#include "analysis/NumberFormat.h"
#include "download/HttpTransfer.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ZG_RESULTS_HOST
#define ZG_RESULTS_HOST "localhost"
#endif

namespace zg {

std::string_view ResultsHost() {
    return ZG_RESULTS_HOST;
}

std::string ResultsUrl(bool latestOnly, std::string_view host) {
    return "http://" + std::string(host) +
           "/kolumbarix_wyniki.php?v=1001&gra=zentag_ml&start=" + (latestOnly ? "-1" : "0");
}

std::string NotNextDrawText(std::int32_t serverNumber) {
    return "Niestety, ale ostatnie losowanie zapisane na serwerze ma nr " + std::to_string(serverNumber) +
           " i jest to niezgodne z Twoją bazą losowań !";
}

std::string ProgressSizeText(std::int32_t totalSize, std::int32_t readed, char decimalSeparator) {
    return FormatFixed2(static_cast<long double>(readed) / 1024, decimalSeparator) + " / " +
           FormatFixed2(static_cast<long double>(totalSize) / 1024, decimalSeparator) + " kB";
}

std::string ReadLatestDrawFile(const std::string& path) {
    std::string bytes;
    // Non-blocking, so that a FIFO of that name cannot hang the reader; only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= TransferBodyLimit) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return bytes;
}

std::optional<LatestDraw> ParseLatestDraw(std::string_view answer) {
    std::int32_t values[24];
    std::size_t pos = 0;
    for (std::int32_t& value : values) {
        while (pos < answer.size() && static_cast<unsigned char>(answer[pos]) <= 32)
            ++pos;
        const std::size_t start = pos;
        while (pos < answer.size() && static_cast<unsigned char>(answer[pos]) > 32)
            ++pos;
        std::string_view token = answer.substr(start, pos - start);
        const bool negative = !token.empty() && token.front() == '-';
        if (negative)
            token.remove_prefix(1);
        if (token.empty() || token.size() > 10)
            return std::nullopt;
        std::int64_t magnitude = 0;
        for (char c : token) {
            if (c < '0' || c > '9')
                return std::nullopt;
            magnitude = magnitude * 10 + (c - '0');
        }
        const std::int64_t v = negative ? -magnitude : magnitude;
        if (v < INT32_MIN || v > INT32_MAX)
            return std::nullopt;
        value = static_cast<std::int32_t>(v);
    }
    LatestDraw draw;
    draw.number = values[0];
    for (int i = 0; i < 20; ++i) {
        if (!IsLotteryNumber(values[4 + i]))
            return std::nullopt;
        draw.numbers[i] = values[4 + i];
    }
    return draw;
}

std::optional<DrawRecord> NextDrawOf(DrawsView draws, const std::int32_t (&numbers)[20]) {
    // The append action takes the ticked boxes in ascending order; a repeat ticks one box twice.
    bool ticked[81] = {};
    for (std::int32_t n : numbers) {
        if (!IsLotteryNumber(n) || ticked[n])
            return std::nullopt;
        ticked[n] = true;
    }
    if (draws.count >= MaxDraws)
        return std::nullopt;
    DrawRecord d;
    d.Number = draws.count + 1;
    if (draws.count >= 1) {
        const DrawRecord& last = draws[draws.count];
        d.Day = last.Day;
        d.Month = last.Month;
        d.Year = last.Year;
        NextCalendarDay(d.Day, d.Month, d.Year);
    }
    int i = 0;
    for (std::int32_t n = 1; n <= 80; ++n)
        if (ticked[n])
            d.Numbers[i++] = n;
    return d;
}

} // namespace zg
