// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line analysis: argument checks, the refusal order and the report file it writes.
#include "app/cli/Commands.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zg {
namespace {

using cli::Args;
using test::CliRun;

CliRun Analysis(Args args) {
    args.insert(args.begin(), "analysis");
    return zg::test::RunCaptured(args);
}

class CmdAnalysisTest : public testing::Test {
protected:
    CliRun Analyse(const std::string& set, const std::string& range, const std::string& hits) {
        return Analysis({dir.str(), "--set", set, "--range", range, "--hits", hits, "--decimal", ",", out});
    }
    bool Written() const { return std::filesystem::exists(out); }

    zg::test::MarchFolder dir;
    std::string out = dir.file("report.txt");
};

TEST_F(CmdAnalysisTest, WritesTheReport) {
    const CliRun run =
        Analysis({dir.str(), "--range", "2:12", "--set", "15,7,3", "--hits", "01:2", out, "--decimal", "."});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string bytes = zg::test::ReadBytes(out);
    const std::string body =
        " Zakres losowa\xF1: 2(02.03.08) - 12(12.03.08)\r\n"
        "\r\n"
        " Spis losowa\xF1 w kt\xF3rych wylosowano od 01 do 2 liczb z zestawu liczb: 3,7,15\r\n"
        "\r\n"
        "\tLp.\tNumer_losowania\tData_losowania\tIlo\x9C\xE6_trafionych_liczb\tOczekiwano_losowa\xF1\r\n"
        "\r\n"
        "\t0001\t3\t\t03.03.2008\t2\t\t\t1\r\n"
        "\t0002\t4\t\t04.03.2008\t2\t\t\t0\r\n"
        "\t0003\t9\t\t09.03.2008\t2\t\t\t4\r\n"
        "\t0004\t10\t\t10.03.2008\t1\t\t\t0\r\n"
        "\r\n"
        "  \xA3\xB9"
        "czna ilo\x9C\xE6 trafionych liczb: 7\r\n"
        "  \x8Crednio w jednym losowaniu: 1.75 z 3 = 58.33 %\r\n"
        "  Max przerwa: 4 losowa\xF1 ( 5 - 8 )\r\n"
        "  Bie\xBF\xB9"
        "ca przerwa: 2 losowa\xF1\r\n"
        "  Max seria wyst\xB9pie\xF1: 2 losowa\xF1 ( 3 - 4 )\r\n"
        "\r\n";
    EXPECT_NE(bytes.find("\r\n\r\n" + body + " ---------------"), std::string::npos) << bytes;
}

TEST_F(CmdAnalysisTest, RefusesInTheWindowsOrder) {
    CliRun run = Analyse("3,7", "10:5", "2:1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Nieprawidłowo zadany zakres losowań !!\n");
    run = Analyse("3,7", "5:10", "2:1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Nieprawidłowo zadane wartości!\n");
    run = Analyse("3,7", "5:8", "1:2");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Nie znaleziono losowań spełniających zadane kryteria.\n");
    run = Analyse("3,7", "0:12", "1:2");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("outside"), std::string::npos);
    run = Analyse("3,7", "1:13", "1:2");
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(Written());
}

TEST_F(CmdAnalysisTest, MalformedArgumentsGiveStatusTwo) {
    EXPECT_EQ(Analyse("3,81", "1:12", "1:2").status, 2);
    EXPECT_EQ(Analyse("0", "1:12", "0:1").status, 2);
    EXPECT_EQ(Analyse("3,7,3", "1:12", "1:2").status, 2); // a set holds each number once
    EXPECT_EQ(Analyse("3,,7", "1:12", "1:2").status, 2);
    EXPECT_EQ(Analyse("3,7", "1:12", "1:3").status, 2); // more hits than the set has numbers
    EXPECT_EQ(Analyse("3,7", "1-12", "1:2").status, 2);
    EXPECT_EQ(Analyse("3,7", "1:12", "x:2").status, 2);
    EXPECT_EQ(Analysis({dir.str(), "--set", "3", "--range", "1:12", out}).status, 2);
    EXPECT_EQ(Analysis({dir.str(), "--set", "3", "--range", "1:12", "--hits", "1:1", "--decimal", ";", out}).status, 2);
    EXPECT_EQ(Analysis({dir.str(), "--set", "3", "--range", "1:12", "--hits", "1:1", "--colour", "x", out}).status, 2);
    EXPECT_EQ(Analysis({dir.str(), "--set", "3", "--range", "1:12", "--hits", "1:1"}).status, 2);
    EXPECT_FALSE(Written());
}

TEST_F(CmdAnalysisTest, FileFailuresGiveStatusOne) {
    CliRun run = Analysis({dir.file("nowhere"), "--set", "3", "--range", "1:12", "--hits", "1:1", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(Written());
    run = Analysis({dir.str(), "--set", "3", "--range", "1:12", "--hits", "1:1", dir.file("missing/report.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
}

} // namespace
} // namespace zg
