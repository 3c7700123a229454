// SPDX-License-Identifier: GPL-3.0-or-later
// The database reader against a straightforward reading of the file format: random files, mostly
// well formed, with odd separators, long and signed tokens, bad bytes and cut endings, read from
// memory and from a file (whose bytes cross the reader's buffer boundaries).
#include "database/DrawDatabase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zg {
namespace {

// One byte at a time: skip separators (0..32); a token is an optional sign and decimal digits that
// fit 32 bits. Complete groups of 24 fill entries 1, 2, ... in the layout of the second integer; a
// group cut short by the end of the file is not counted.
LoadResult ReferenceLoad(const std::string& b, std::vector<DrawRecord>& table) {
    LoadResult r;
    std::size_t pos = 0;
    const auto fail = [&r](std::string error) {
        r.ok = false;
        r.drawCount = 0;
        r.error = std::move(error);
        return r;
    };
    std::int32_t count = 0;
    bool dayFirst = false;
    while (pos < b.size()) {
        std::int32_t v[DrawFieldCount] = {};
        int got = 0;
        for (int i = 0; i < DrawFieldCount; ++i) {
            while (pos < b.size() && static_cast<unsigned char>(b[pos]) <= 32)
                ++pos;
            if (pos < b.size()) {
                const std::size_t start = pos;
                while (pos < b.size() && static_cast<unsigned char>(b[pos]) > 32)
                    ++pos;
                std::string token = b.substr(start, pos - start);
                const bool negative = token[0] == '-';
                if (token[0] == '-' || token[0] == '+')
                    token.erase(0, 1);
                if (token.empty() || token.find_first_not_of("0123456789") != std::string::npos)
                    return fail("not an integer at byte " + std::to_string(start));
                const auto digits = token.find_first_not_of('0');
                const std::string significant = digits == std::string::npos ? "0" : token.substr(digits);
                const long long limit = negative ? 2147483648LL : 2147483647LL;
                if (significant.size() > 10 || std::stoll(significant) > limit)
                    return fail("integer out of 32-bit range at byte " + std::to_string(start));
                v[i] = static_cast<std::int32_t>(negative ? -std::stoll(significant) : std::stoll(significant));
                ++got;
            }
            if (count == 0 && i == 1) {
                r.layoutProbe = v[1];
                dayFirst = ReadsDayFirst(v[1]);
            }
        }
        if (got < DrawFieldCount) {
            r.shortGroupValues = got;
            break;
        }
        DrawRecord& d = table[static_cast<std::size_t>(++count)];
        d.Number = v[0];
        d.Day = dayFirst ? v[1] : v[3];
        d.Month = v[2];
        d.Year = dayFirst ? v[3] : v[1];
        for (int j = 0; j < 20; ++j)
            d.Numbers[j] = v[4 + j];
    }
    r.ok = true;
    r.drawCount = count;
    return r;
}

std::string RandomFile(std::mt19937& rng, int groups) {
    std::uniform_int_distribution<int> percent(0, 99), small(0, 99), count(1, 12);
    const std::string separators[] = {" ", " ", " ", "\r\n", "\t", std::string(1, '\0'), "\x1f", "\n"};
    const std::string odd[] = {
        "-7",         "+12",         "007",        "0",           "123456789",       "1234567890",
        "2147483647", "-2147483648", "2147483648", "99999999999", "000000000000042", "12a",
        "x",          "-",           "1-2",        "\x80"};
    std::string out;
    const bool dayFirst = percent(rng) < 30;
    for (int g = 0; g < groups; ++g)
        for (int i = 0; i < DrawFieldCount; ++i) {
            if (percent(rng) < 3)
                out += odd[static_cast<std::size_t>(small(rng)) % std::size(odd)];
            else if (i == 0)
                out += std::to_string(g + 1);
            else if (i == 1)
                out += dayFirst ? std::to_string(small(rng) % 31 + 1) : "2004";
            else if (i == 3)
                out += dayFirst ? "2004" : std::to_string(small(rng) % 31 + 1);
            else
                out += std::to_string(small(rng) % 80 + 1);
            const int runs = percent(rng) < 5 ? count(rng) : 1;
            for (int k = 0; k < runs; ++k)
                out += separators[static_cast<std::size_t>(small(rng)) % std::size(separators)];
        }
    // Cut endings: right after a digit, inside a group, or no cut at all.
    if (percent(rng) < 30 && !out.empty())
        out.resize(out.size() - 1 - static_cast<std::size_t>(small(rng)) % std::min<std::size_t>(out.size(), 40));
    return out;
}

void ExpectSameLoad(const LoadResult& got, const std::vector<DrawRecord>& gotTable, const LoadResult& want,
                    const std::vector<DrawRecord>& wantTable) {
    ASSERT_EQ(got.ok, want.ok);
    ASSERT_EQ(got.error, want.error);
    ASSERT_EQ(got.drawCount, want.drawCount);
    ASSERT_EQ(got.layoutProbe, want.layoutProbe);
    ASSERT_EQ(got.shortGroupValues, want.shortGroupValues);
    for (std::int32_t q = 1; q <= want.drawCount; ++q) {
        const DrawRecord &a = gotTable[static_cast<std::size_t>(q)], &b = wantTable[static_cast<std::size_t>(q)];
        ASSERT_EQ(std::tie(a.Number, a.Year, a.Month, a.Day), std::tie(b.Number, b.Year, b.Month, b.Day)) << q;
        for (int j = 0; j < 20; ++j)
            ASSERT_EQ(a.Numbers[j], b.Numbers[j]) << q << " " << j;
    }
}

TEST(DatabaseReadEquivalence, RandomFilesReadAsTheFormatSays) {
    std::mt19937 rng(1996u);
    test::TempDir dir;
    const std::string path = dir.file("zentag.wyn");
    std::uniform_int_distribution<int> groups(0, 60);
    for (int round = 0; round < 250; ++round) {
        // Now and then a file past the 64 KiB the file reader holds at once.
        const std::string bytes = RandomFile(rng, round % 40 == 0 ? 3500 : groups(rng));
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << bytes.size() << " bytes");
        std::vector<DrawRecord> want(4000), fromMemory(4000), fromFile(4000);
        const LoadResult expected = ReferenceLoad(bytes, want);
        ExpectSameLoad(ParseDatabase(bytes, fromMemory.data()), fromMemory, expected, want);
        test::WriteBytes(path, bytes);
        ExpectSameLoad(LoadDatabase(path, fromFile.data()), fromFile, expected, want);
    }
}

} // namespace
} // namespace zg
