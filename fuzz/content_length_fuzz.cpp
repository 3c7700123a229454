// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as the value of a Content-Length header: reading must never crash, and a value it
// accepts is the whole number the text spells (blanks around it allowed), at most the body limit.
#include "download/HttpTransfer.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t value = -1;
    if (!zg::ParseContentLength(text, value))
        return 0;
    if (value < 0 || value > zg::TransferBodyLimit)
        std::abort();
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    const std::string digits(text.substr(first, last - first));
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        std::abort();
    if (std::strtoll(digits.c_str(), nullptr, 10) != value)
        std::abort();
    return 0;
}
