// zentagrafo-cli calendar: the year clamp, show-all, the refusals and their exit statuses.
#include "app/cli/Commands.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CalendarCase {
    const char* name;
    zg::cli::Args options;
    int status;
    const char* expected; // lines 8 and 15 (March) of the report, or the start of the message
};

class CmdCalendar : public testing::TestWithParam<CalendarCase> {};

// Draws 1..12 dated 1..12 March 2008 (year first); of the set 3,7,15 draws 3, 4 and 9 hold 3 and
// 7, draw 10 holds 15.
std::string DatabaseBytes() {
    std::string bytes;
    for (int q = 1; q <= 12; ++q) {
        bytes += std::to_string(q) + " 2008 3 " + std::to_string(q);
        for (int j = 0; j < 20; ++j) {
            int n = 41 + j;
            if (j == 0 && (q == 3 || q == 4 || q == 9))
                n = 3;
            if (j == 1 && (q == 3 || q == 4 || q == 9))
                n = 7;
            if (j == 2 && q == 10)
                n = 15;
            bytes += " " + std::to_string(n);
        }
        bytes += "\r\n";
    }
    return bytes;
}

TEST_P(CmdCalendar, WritesTheMapOrRefuses) {
    const CalendarCase& c = GetParam();
    zg::test::TempDir dir;
    zg::test::WriteBytes(dir.file("zentag.wyn"), DatabaseBytes());
    const std::string out = dir.file("map.txt");
    zg::cli::Args args{dir.str(), "--set", "3,7,15", out};
    args.insert(args.end(), c.options.begin(), c.options.end());

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = zg::cli::CmdCalendar(args);
    testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, c.status) << err;
    if (status != 0) {
        EXPECT_EQ(err.find(c.expected), 0u) << err;
        return;
    }
    const std::string bytes = zg::test::ReadBytes(out);
    std::string lines;
    std::size_t at = 0;
    for (int line = 1; line <= 15; ++line) {
        const std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        if (line == 8 || line == 15)
            lines += bytes.substr(at, end - at) + "|";
        at = end + 2;
    }
    EXPECT_EQ(lines, c.expected);
}

#define CAPTION                                                                                                        \
    " Mapa rozk\xB3"                                                                                                   \
    "adu zestawu liczb : 03,07,15 - w zadanym przedziale losowa\xF1 w roku "
#define MARCH "     Marzec "

INSTANTIATE_TEST_SUITE_P(Cli, CmdCalendar,
                         testing::Values(CalendarCase{"Marks",
                                                      {"--range", "1:12", "--hits", "2:2", "--year", "2008"},
                                                      0,
                                                      CAPTION "2008:|" MARCH "--XX----X- --                    |"},
                                         CalendarCase{
                                             "ShowAll",
                                             {"--range", "2:10", "--hits", "2:2", "--year", "2008", "--show-all"},
                                             0,
                                             CAPTION "2008:|" MARCH " 022000021                       |"},
                                         CalendarCase{"YearAboveTheArrow",
                                                      {"--range", "1:12", "--hits", "2:2", "--year", "5000"},
                                                      0,
                                                      CAPTION "2999:|" MARCH "                                 |"},
                                         CalendarCase{"YearBelowTheArrow",
                                                      {"--range", "1:12", "--hits", "2:2", "--year", "-7"},
                                                      0,
                                                      CAPTION "1996:|" MARCH "                                 |"},
                                         CalendarCase{"RangeRefused",
                                                      {"--range", "8:5", "--hits", "3:1", "--year", "2008"},
                                                      1,
                                                      "Nieprawidłowo zadany zakres losowań !!\n"},
                                         CalendarCase{"HitsRefused",
                                                      {"--range", "1:12", "--hits", "3:1", "--year", "2008"},
                                                      1,
                                                      "Nieprawidłowo zadane wartości!\n"}),
                         [](const testing::TestParamInfo<CalendarCase>& info) { return info.param.name; });

} // namespace
