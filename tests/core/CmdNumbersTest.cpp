// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli numbers: the JSON against a golden file worked out from the definitions (draws
// 2..12 of the March folder, the last 5, the set 3, 7, 15), the report file and the refusals.
#include "app/cli/Commands.h"
#include "support/CliRun.h"
#include "support/JsonCompare.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

namespace zg {
namespace {

using test::CliRun;
using test::ExpectSameJson;
using test::MarchFolder;
using test::RunCaptured;
using Json = nlohmann::ordered_json;

TEST(CmdNumbers, JsonAsTheGoldenFile) {
    MarchFolder dir;
    const CliRun run =
        RunCaptured({"numbers", dir.str(), "--range", "2:12", "--last", "5", "--set", "3,7,15", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream golden(ZG_TEST_DATA "/numbers-range-2-12-last-5.json");
    ExpectSameJson(Json::parse(run.out), Json::parse(golden));
}

TEST(CmdNumbers, ReportAndRefusals) {
    MarchFolder dir;
    const std::string out = dir.file("LICZBY.0001.txt");
    const CliRun run = RunCaptured({"numbers", dir.str(), "--range", "2:12", "--last", "500", "--decimal", ",", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = zg::test::ReadBytes(out);
    EXPECT_NE(bytes.find("\r\n Zakres losowa\xF1: 2(02.03.08) - 12(12.03.08)\r\n\r\n Ostatnich losowa\xF1: 11\r\n\r\n"
                         "Liczba;Wyst\xB9pienia;%;"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\n03;3;27,27;9;09.03.2008;3;1,67;4;42%;3;;\r\n"), std::string::npos);

    EXPECT_EQ(RunCaptured({"numbers", dir.str(), "--range", "2:12", "--json", out}).status, 2);
    const CliRun reversed = RunCaptured({"numbers", dir.str(), "--range", "12:2"});
    EXPECT_EQ(reversed.status, 1);
    EXPECT_EQ(reversed.err, "Nieprawidłowo zadany zakres losowań !!\n");
    EXPECT_EQ(RunCaptured({"numbers", dir.str(), "--range", "1:13"}).status, 1);
    EXPECT_EQ(RunCaptured({"numbers", dir.str(), "--range", "1:12", "--last", "0"}).status, 2);
}

// Integers are read as decimal digits whatever their leading zeros: 010 is 10, 0x10 is refused.
TEST(CmdNumbers, LastIsDecimal) {
    MarchFolder dir;
    const CliRun run = RunCaptured({"numbers", dir.str(), "--range", "1:12", "--last", "010", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Json::parse(run.out)["last"], 10);
    EXPECT_EQ(RunCaptured({"numbers", dir.str(), "--range", "1:12", "--last", "0x10"}).status, 2);
}

} // namespace
} // namespace zg
