// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line ZENTAG table: the report file, the ranked lists on standard output, the
// offset's bounds and the refusals that write nothing.
#include "app/cli/Commands.h"
#include "support/CliRun.h"
#include "support/ReportBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zg {
namespace {

using cli::Args;
using test::CliRun;

class CmdZentagTest : public testing::Test {
protected:
    // Set {3}, draws 1..12, one hit (typed "01:1"): found draws 3, 4 and 9.
    CliRun Run(Args extra) {
        Args args{"zentag", dir.str(), "--set", "3", "--range", "1:12", "--hits", "01:1", "--decimal", ","};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(out);
        return zg::test::RunCaptured(args);
    }
    bool Written() const { return std::filesystem::exists(out); }

    zg::test::MarchFolder dir;
    std::string out = dir.file("zentag.txt");
};

TEST_F(CmdZentagTest, WritesTheFilteredReportAndPrintsTheLists) {
    const CliRun run = Run({"--select", "41,3,15"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "41 --> 2 = 66,7%\n"
                       "03 --> 1 = 33,3%\n"
                       "15 --> 1 = 33,3%\n"
                       "\n"
                       "15,41 --> 1 = 33,3%\n"
                       "03,15 --> 0 = 00,0%\n"
                       "03,41 --> 0 = 00,0%\n");
    const std::string expected =
        zg::test::ReportHeaderBytes +
        " Zakres losowa\xF1: 1(01.03.08) - 12(12.03.08)\r\n"
        "\r\n"
        " Szukano losowa\xF1 w kt\xF3rych wylosowano od 01 do 1 liczb z zestawu liczb: 3\r\n"
        "\r\n"
        "\t\t\t\t\t\tTABELKA ZENTAG +1\r\n"
        "\r\n"
        "\t\t\t\t\t\t  ** 01 = 03 **\r\n"
        "\t\t\t\t\t\t  ** 02 = 15 **\r\n"
        "\t\t\t\t\t\t  ** 03 = 41 **\r\n"
        "\r\n"
        "\t\t  01-10      11-20      21-30      31-40      41-50      51-60      61-70      71-80   \r\n"
        "\t\t1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890 1234567890\r\n"
        "\r\n"
        "04.03.08\t3--\r\n"
        "05.03.08\t--1\r\n"
        "10.03.08\t-51\r\n"
        "\r\n" +
        zg::test::ReportFooterBytes;
    EXPECT_EQ(zg::test::ReadBytes(out), expected);
}

TEST_F(CmdZentagTest, CompleteTableAtANegativeOffset) {
    // Found draws 3, 4 and 9 give draws 1, 2 and 7, all holding 41..60.
    const CliRun run = Run({"--offset", "-2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(zg::test::ReadBytes(out).find("\tTABELKA ZENTAG -2\r\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n80 --> 0 = 00,0%\n\n41,42 --> 3 = 100,0%\n"), std::string::npos);
    EXPECT_EQ(run.out.substr(run.out.size() - 21), "\n79,80 --> 0 = 00,0%\n");
}

TEST_F(CmdZentagTest, OffsetOutsideItsBoundsIsAUsageError) {
    for (const char* offset : {"100", "-100", "x", "0x1"}) {
        const CliRun run = Run({"--offset", offset});
        EXPECT_EQ(run.status, 2) << offset;
        EXPECT_FALSE(Written()) << offset;
    }
}

TEST_F(CmdZentagTest, NothingFoundWritesNothing) {
    const CliRun run =
        zg::test::RunCaptured({"zentag", dir.str(), "--set", "80", "--range", "1:12", "--hits", "1:1", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Nie znaleziono losowań spełniających zadane kryteria.\n");
    EXPECT_FALSE(Written());
}

} // namespace
} // namespace zg
