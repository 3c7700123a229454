// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli stats: the JSON against a golden file (worked out with exact fractions and the
// closed-form chi-squared tail of one degree of freedom), the nulls of an empty result, the
// readable tables' chi-squared sentence and a refusal.
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
using Json = nlohmann::ordered_json;

// Draws 1..40 hold 41..60, except that 1 replaces 41 in every third draw and 2 replaces 42 in
// every fifth.
class StatsFolder : public zg::test::TempDir {
public:
    StatsFolder() {
        std::string bytes;
        for (int q = 1; q <= 40; ++q) {
            bytes += std::to_string(q) + " 2020 1 " + std::to_string((q - 1) % 28 + 1);
            for (int j = 0; j < 20; ++j)
                bytes += " " + std::to_string(j == 0 && q % 3 == 0 ? 1 : j == 1 && q % 5 == 0 ? 2 : 41 + j);
            bytes += "\r\n";
        }
        zg::test::WriteBytes(file("zentag.wyn"), bytes);
    }
    CliRun Stats(const std::string& set, const std::string& range, const std::string& hits, const char* last) {
        return zg::test::RunCaptured({"stats", str(), "--set", set, "--range", range, "--hits", hits, last});
    }
};

TEST(CmdStats, JsonAsTheGoldenFile) {
    StatsFolder dir;
    const CliRun run = dir.Stats("2,1", "4:40", "1:2", "--json");
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream golden(ZG_TEST_DATA "/stats-1-2-range-4-40.json");
    ExpectSameJson(Json::parse(run.out), Json::parse(golden));
}

TEST(CmdStats, EmptyResultGivesNulls) {
    StatsFolder dir;
    std::string set = "1"; // 1..61: every number but 20 of 80 in it, so no draw can miss them all
    for (int x = 2; x <= 61; ++x)
        set += "," + std::to_string(x);
    const CliRun run = dir.Stats(set, "1:40", "0:0", "--json");
    ASSERT_EQ(run.status, 0) << run.err;
    const Json out = Json::parse(run.out);
    EXPECT_EQ(out["p_qualify"], 0.0);
    EXPECT_EQ(out["gaps"], Json::parse(R"({"count":0,"observed_mean":null,"expected_mean":null,"histogram":[]})"));
    EXPECT_EQ(out["hit_distribution"].size(), 21u);
    EXPECT_EQ(out["numbers"].size(), 80u);
}

TEST(CmdStats, TablesGiveTheChiSquareSentenceAndRefusalsStay) {
    StatsFolder dir;
    const CliRun run = dir.Stats("1,2", "4:40", "1:2", "--decimal=,");
    EXPECT_NE(run.out.find("\nTest chi-kwadrat: p = 0,57. Tak duży lub większy odstęp od rozkładu przypadkowego sam "
                           "przypadek daje w 57% sprawdzeń (mniej więcej raz na 2 sprawdzenia).\n"),
              std::string::npos);
    EXPECT_EQ(dir.Stats("1,2", "10:5", "1:2", "--json").err, "Nieprawidłowo zadany zakres losowań !!\n");
}

} // namespace
} // namespace zg
