// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as an address: SplitUrl must never crash and must follow its rule: when "http://"
// appears anywhere (in any case) the first 7 characters go; the host is what comes before the
// first "/", the path the rest from that "/" on; without a "/" the host is empty and the path is
// all of it.
#include "download/HttpTransfer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    const zg::UrlParts parts = zg::SplitUrl(url);

    std::string lower = url;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::string rest = lower.find("http://") != std::string::npos ? url.substr(7) : url;
    const auto slash = rest.find('/');
    const std::string host = slash == std::string::npos ? "" : rest.substr(0, slash);
    const std::string path = slash == std::string::npos ? rest : rest.substr(slash);
    if (parts.host != host || parts.path != path)
        std::abort();
    return 0;
}
