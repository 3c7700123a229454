// zentagrafo-cli numbers: the JSON against a golden file worked out from the definitions (draws
// 2..12 of the March folder, the last 5, the set 3, 7, 15), the report file and the refusals.
#include "app/cli/Commands.h"
#include "support/CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <string>

using zg::test::CliRun;
using zg::test::MarchFolder;
using zg::test::RunCaptured;
using Json = nlohmann::ordered_json;

namespace {

// Same keys in the same order, same integers, texts, booleans and nulls; fractions within 1e-12.
void ExpectSameJson(const Json& actual, const Json& expected, const std::string& path) {
    ASSERT_EQ(actual.type(), expected.type()) << path << ": " << actual.dump() << " vs " << expected.dump();
    if (expected.is_number_float()) {
        EXPECT_LE(std::fabs(actual.get<double>() - expected.get<double>()), 1e-12) << path;
    } else if (expected.is_structured()) {
        ASSERT_EQ(actual.size(), expected.size()) << path;
        auto a = actual.begin();
        for (auto e = expected.begin(); e != expected.end(); ++e, ++a) {
            const std::string key = expected.is_object() ? e.key() : std::to_string(e - expected.begin());
            if (expected.is_object()) {
                ASSERT_EQ(a.key(), e.key()) << path;
            }
            ExpectSameJson(*a, *e, path + "/" + key);
        }
    } else {
        EXPECT_EQ(actual, expected) << path;
    }
}

} // namespace

TEST(CmdNumbers, JsonAsTheGoldenFile) {
    MarchFolder dir;
    const CliRun run =
        RunCaptured({"numbers", dir.str(), "--range", "2:12", "--last", "5", "--set", "3,7,15", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream golden(ZG_TEST_DATA "/numbers-range-2-12-last-5.json");
    ExpectSameJson(Json::parse(run.out), Json::parse(golden), "");
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
