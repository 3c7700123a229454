// SPDX-License-Identifier: GPL-3.0-or-later
// zentag-sample: writes a synthetic draw database file.
//   zentag-sample --count N --out FILE [--seed S] [--layout year|day]
#include "base/DrawTypes.h"
#include "tools/sample/SampleGenerator.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

int Usage() {
    std::fputs("Usage: zentag-sample --count N --out FILE [--seed S] [--layout year|day]\n"
               "Writes N synthetic draws (0..99999) as a database file; the same seed gives the same file.\n",
               stderr);
    return 2;
}

template <typename T> bool ParseNumber(std::string_view text, T& value) {
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
}

} // namespace

int main(int argc, char** argv) {
    std::int32_t count = -1;
    std::uint32_t seed = 1;
    zg::SampleLayout layout = zg::SampleLayout::YearFirst;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opt = argv[i];
        if (i + 1 >= argc)
            return Usage();
        const std::string_view value = argv[++i];
        if (opt == "--count") {
            if (!ParseNumber(value, count) || count < 0 || count > zg::MaxDraws)
                return Usage();
        } else if (opt == "--seed") {
            if (!ParseNumber(value, seed))
                return Usage();
        } else if (opt == "--out") {
            out = value;
        } else if (opt == "--layout") {
            if (value == "year")
                layout = zg::SampleLayout::YearFirst;
            else if (value == "day")
                layout = zg::SampleLayout::DayFirst;
            else
                return Usage();
        } else {
            return Usage();
        }
    }
    if (count < 0 || out.empty())
        return Usage();

    const zg::SampleDatabase db = zg::GenerateSampleDatabase(count, seed, layout);
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "%s: %s\n", out.c_str(), std::strerror(errno));
        return 1;
    }
    const bool written = std::fwrite(db.bytes.data(), 1, db.bytes.size(), file) == db.bytes.size();
    const int writeErr = errno;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "%s: %s\n", out.c_str(), std::strerror(written ? errno : writeErr));
        return 1;
    }
    return 0;
}
