// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli as a whole: help, version and the exit status of a malformed call.
#include "app/cli/Commands.h"

#include <gtest/gtest.h>

#include <string>

namespace zg {
namespace {

struct CliCase {
    const char* name;
    zg::cli::Args args;
    int status;
    const char* printed; // expected at the start of standard output, or in standard error for status 2
};

class CliCall : public testing::TestWithParam<CliCase> {};

TEST_P(CliCall, AnswersWithItsStatus) {
    const CliCase& c = GetParam();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = zg::cli::RunCli(c.args);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, c.status) << out << err;
    const std::string& where = c.status == 2 ? err : out;
    EXPECT_EQ(where.find(c.printed), 0u) << where;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCall,
                         testing::Values(CliCase{"Version", {"--version"}, 0, "zentagrafo-cli 1.6\n"},
                                         CliCase{"HelpListsTheCommands", {"--help"}, 0, "Works on a program folder"},
                                         CliCase{"CommandHelp", {"analysis", "--help"}, 0, "Runs the set-hit search"},
                                         CliCase{"NoCommand", {}, 2, "A command is required\n"},
                                         CliCase{"UnknownCommand", {"nope", "DIR"}, 2, "The following argument"},
                                         CliCase{"MissingFolder", {"info"}, 2, "DIR is required"},
                                         CliCase{"RangeNotAPair",
                                                 {"analysis", "D", "O", "--set", "1", "--range", "5", "--hits", "1:1"},
                                                 2,
                                                 "--range: expected FROM:TO: 5"}),
                         [](const testing::TestParamInfo<CliCase>& info) { return info.param.name; });

} // namespace
} // namespace zg
