// SPDX-License-Identifier: GPL-3.0-or-later
#include "download/ResultsUpdate.h"

#include "base/NumberFormat.h"
#include "download/HttpTransfer.h"

#include <algorithm>

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

std::chrono::milliseconds ResultsDeadline(bool latestOnly) {
    return latestOnly ? LatestDrawDeadline : AllResultsDeadline;
}

std::string_view FailedDownloadText(TransferFault fault) {
    switch (fault) {
    case TransferFault::NoLibrary:
        return NoDownloadLibraryText;
    case TransferFault::BadAnswer:
        return BadAnswerText;
    case TransferFault::NotAccepted:
        return NotResultsFileText;
    case TransferFault::None:
        break;
    }
    return InterruptedText;
}

std::string NotNextDrawText(std::int32_t serverNumber) {
    return "Niestety, ale ostatnie losowanie zapisane na serwerze ma nr " + std::to_string(serverNumber) +
           " i jest to niezgodne z Twoją bazą losowań !";
}

std::string ProgressSizeText(std::int32_t totalSize, std::int32_t bytesRead, char decimalSeparator) {
    return FormatFixed2(static_cast<long double>(bytesRead) / 1024, decimalSeparator) + " / " +
           FormatFixed2(static_cast<long double>(totalSize) / 1024, decimalSeparator) + " kB";
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
    for (int i = 0; i < 3; ++i)
        draw.date[i] = values[1 + i];
    for (int i = 0; i < 20; ++i) {
        if (!IsLotteryNumber(values[4 + i]))
            return std::nullopt;
        draw.numbers[i] = values[4 + i];
    }
    return draw;
}

std::optional<CalendarDate> ServerDrawDate(const LatestDraw& draw) {
    const CalendarDate date = draw.date[0] > 31 ? CalendarDate{draw.date[2], draw.date[1], draw.date[0]}
                                                : CalendarDate{draw.date[0], draw.date[1], draw.date[2]};
    if (!IsEnteredDate(date))
        return std::nullopt;
    return date;
}

} // namespace zg
