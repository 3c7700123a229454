// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli patterns: the JSON against a golden file checked against the definitions computed
// apart (draws 2..30 of a folder whose draw 17 holds a number twice), the report and the refusals.
#include "app/cli/Commands.h"
#include "support/CliRun.h"
#include "support/JsonCompare.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

using zg::test::CliRun;
using zg::test::RunCaptured;
using Json = nlohmann::ordered_json;

namespace {

// 30 draws of March 2008 on: draw q holds (a j + 5 q) mod 80 + 1 for j = 0..19, a the (q mod 10)-th
// number prime to 80; draw 17 repeats its first number.
class PatternsFolder : public zg::test::TempDir {
public:
    PatternsFolder() {
        const int steps[10] = {1, 3, 7, 9, 11, 13, 17, 19, 21, 23};
        std::string bytes;
        for (int q = 1; q <= 30; ++q) {
            bytes += std::to_string(q) + " 2008 " + std::to_string((q - 1) / 28 + 3) + " " +
                     std::to_string((q - 1) % 28 + 1);
            for (int j = 0; j < 20; ++j)
                bytes += " " + std::to_string(((q == 17 && j == 1 ? 0 : steps[q % 10] * j) + 5 * q) % 80 + 1);
            bytes += "\r\n";
        }
        zg::test::WriteBytes(file("zentag.wyn"), bytes);
    }
};

} // namespace

TEST(CmdPatterns, JsonAsTheGoldenFile) {
    PatternsFolder dir;
    const CliRun run = RunCaptured({"patterns", dir.str(), "--range", "2:30", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream golden(ZG_TEST_DATA "/patterns-range-2-30.json");
    zg::test::ExpectSameJson(Json::parse(run.out), Json::parse(golden));
}

TEST(CmdPatterns, ReportAndRefusals) {
    PatternsFolder dir;
    const std::string out = dir.file("WZORCE.0001.txt");
    const CliRun run = RunCaptured({"patterns", dir.str(), "--range", "2:30", "--decimal", ",", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = zg::test::ReadBytes(out);
    for (const char* part :
         {"\r\n Zakres losowa\xF1: 2(02.03.08) - 30(02.04.08)\r\n\r\nSuma liczb:\r\nod;do;obserwowane;oczekiwane;\r\n"
          "210;229;0;0,00;\r\n",
          "\r\n1410;1410;0;0,00;\r\n\x8Crednio: 820,00 (sam przypadek: 810,00); odchylenie: 100,36 (sam przypadek: "
          "90,00)\r\nTest chi-kwadrat: p = 0,0031. ",
          "\r\n\r\nNiskie (1\x96"
          "40):\r\n",
          "\r\n\r\nDziesi\xB9tki:\r\nod;do;obserwowane;oczekiwane;z;\r\n1;10;75;70,00;0,73;\r\n11;20;58;70,00;-1,76;"
          "\r\n"})
        EXPECT_NE(bytes.find(part), std::string::npos) << part;

    EXPECT_EQ(RunCaptured({"patterns", dir.str(), "--range", "2:30", "--json", out}).status, 2);
    const CliRun reversed = RunCaptured({"patterns", dir.str(), "--range", "30:2"});
    EXPECT_EQ(reversed.status, 1);
    EXPECT_EQ(reversed.err, "Nieprawidłowo zadany zakres losowań !!\n");
    EXPECT_EQ(RunCaptured({"patterns", dir.str(), "--range", "1:31"}).status, 1);
}
