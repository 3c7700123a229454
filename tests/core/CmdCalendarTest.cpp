// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli calendar: the year clamp, show-all, the refusals and their exit statuses.
#include "app/cli/Commands.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <string>

namespace zg {
namespace {

struct CalendarCase {
    const char* name;
    zg::cli::Args options;
    int status;
    const char* expected; // lines 8 and 15 (March) of the report, or the start of the message
};

class CmdCalendar : public testing::TestWithParam<CalendarCase> {};

// The folder's draws of the set 3,7,15: draws 3, 4 and 9 hold 3 and 7, draw 10 holds 15.
TEST_P(CmdCalendar, WritesTheMapOrRefuses) {
    const CalendarCase& c = GetParam();
    const zg::test::MarchFolder dir;
    const std::string out = dir.file("map.txt");
    zg::cli::Args args{"calendar", dir.str(), "--set", "3,7,15", out};
    args.insert(args.end(), c.options.begin(), c.options.end());

    const zg::test::CliRun run = zg::test::RunCaptured(args);
    ASSERT_EQ(run.status, c.status) << run.err;
    if (run.status != 0) {
        EXPECT_EQ(run.err.find(c.expected), 0u) << run.err;
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

// The legend gives the hit bounds as typed, as the window writes the texts of its hit fields.
TEST(CmdCalendarLegend, WritesTheBoundsAsTyped) {
    const zg::test::MarchFolder dir;
    const std::string out = dir.file("map.txt");
    const zg::test::CliRun run = zg::test::RunCaptured(
        {"calendar", dir.str(), "--set", "3,7,15", "--range", "1:12", "--hits", "02:2", "--year", "2008", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(zg::test::ReadBytes(out).find("\r\n       X - Dni w kt\xF3rych wylosowano od 02 do 2 liczb\r\n"),
              std::string::npos);
}

} // namespace
} // namespace zg
