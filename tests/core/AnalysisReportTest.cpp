// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/AnalysisReport.h"
#include "base/DateRoutines.h"

#include "support/DrawTables.h"
#include "support/ReportBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace zg {
namespace {

using namespace test;

struct Analysis {
    std::vector<DrawRecord> table;
    NumberSetData set;
    SearchResult result;
    AnalysisReportInput input;
};

// Searches range from..to with the bounds and fills the report input the way the window does.
Analysis Analyse(std::vector<DrawRecord> table, const NumberSetData& set, std::int32_t from, std::int32_t to,
                 std::int32_t hitsFrom, std::int32_t hitsTo, char separator) {
    Analysis a{std::move(table), set, {}, {}};
    const DrawsView draws = View(a.table);
    std::int32_t count = 0;
    a.result = SetHitSearch(draws, set, from, to, hitsFrom, hitsTo, nullptr, count, nullptr);
    a.input.rangeFrom = from;
    a.input.rangeTo = to;
    a.input.rangeFromDate = DrawDateText(draws, from);
    a.input.rangeToDate = DrawDateText(draws, to);
    a.input.hitsFromText = std::to_string(hitsFrom);
    a.input.hitsToText = std::to_string(hitsTo);
    a.input.setNumbers = SetNumbersOf(set);
    a.input.rows = a.result.rows;
    a.input.statistics = SearchStatisticsTexts(a.result, set.Count, draws, separator);
    return a;
}

const std::string& Header = ReportHeaderBytes;
const std::string& Footer = ReportFooterBytes;

TEST(AnalysisReport, WorkedExampleBytes) {
    auto table = MakeTable(120);
    const NumberSetData set = MakeSet({15, 3, 7});
    const std::int32_t hits[] = {1, 2, 2, 0, 1, 1, 3, 2, 0, 1};
    for (std::int32_t i = 0; i < 10; ++i)
        for (std::int32_t j = 0; j < hits[i]; ++j)
            table[static_cast<std::size_t>(101 + i)].Numbers[2 * j + 1] = set.Numbers[j + 1];
    const Analysis a = Analyse(std::move(table), set, 101, 110, 2, 3, ',');

    const std::string expected =
        Header +
        " Zakres losowa\xF1: 101(17.04.08) - 110(26.04.08)\r\n"
        "\r\n"
        " Spis losowa\xF1 w kt\xF3rych wylosowano od 2 do 3 liczb z zestawu liczb: 3,7,15\r\n"
        "\r\n"
        "\tLp.\tNumer_losowania\tData_losowania\tIlo\x9C\xE6_trafionych_liczb\tOczekiwano_losowa\xF1\r\n"
        "\r\n"
        "\t0001\t102\t\t18.04.2008\t2\t\t\t1\r\n"
        "\t0002\t103\t\t19.04.2008\t2\t\t\t0\r\n"
        "\t0003\t107\t\t23.04.2008\t3\t\t\t3\r\n"
        "\t0004\t108\t\t24.04.2008\t2\t\t\t0\r\n"
        "\r\n"
        "  \xA3\xB9"
        "czna ilo\x9C\xE6 trafionych liczb: 9\r\n"
        "  \x8Crednio w jednym losowaniu: 2,25 z 3 = 75,00 %\r\n"
        "  Max przerwa: 3 losowa\xF1 ( 104 - 106 )\r\n"
        "  Bie\xBF\xB9"
        "ca przerwa: 2 losowa\xF1\r\n"
        "  Max seria wyst\xB9pie\xF1: 2 losowa\xF1 ( 102 - 103 )\r\n"
        "\r\n" +
        Footer;
    EXPECT_EQ(AnalysisReportBytes(a.input), expected);
}

TEST(AnalysisReport, OneNumberSetAndNoGap) {
    auto table = MakeTable(10);
    table[4].Numbers[0] = 7;
    table[5].Numbers[19] = 7;
    const Analysis a = Analyse(std::move(table), MakeSet({7}), 4, 5, 1, 1, '.');
    const std::string bytes = AnalysisReportBytes(a.input);
    EXPECT_NE(bytes.find("\r\n Spis losowa\xF1 w kt\xF3rych wylosowano od 1 do 1 liczb z zestawu liczb: 7\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\n  Max przerwa: 0 losowa\xF1\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n  Max seria wyst\xB9pie\xF1: 2 losowa\xF1 ( 4 - 5 )\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n  \x8Crednio w jednym losowaniu: 1.00 z 1 = 100.00 %\r\n"), std::string::npos);
}

TEST(AnalysisReport, OneLinePerRowInOrder) {
    // More rows than four digits can number: the line count follows the rows, and row 10000
    // keeps all its digits.
    const std::int32_t count = 10005;
    auto table = MakeTable(count);
    const Analysis a = Analyse(std::move(table), MakeSet({1}), 1, count, 0, 0, ',');
    const std::string bytes = AnalysisReportBytes(a.input);
    const auto lines = std::count(bytes.begin(), bytes.end(), '\n');
    EXPECT_EQ(lines, 19 + count);
    EXPECT_NE(bytes.find("\r\n\t0001\t1\t\t01.01.2008\t0\t\t\t0\r\n\t0002\t2\t\t02.01.2008\t0\t\t\t0\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\n\t10000\t10000\t\t"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - Footer.size()), Footer);
}

TEST(AnalysisReport, SetNumbersOfKeepsTheSetOrderAndCount) {
    NumberSetData set = MakeSet({80, 1, 40});
    EXPECT_EQ(SetNumbersOf(set), (std::vector<std::int32_t>{1, 40, 80}));
    set.Count = 0;
    EXPECT_TRUE(SetNumbersOf(set).empty());
    set.Count = -4;
    EXPECT_TRUE(SetNumbersOf(set).empty());
    set.Count = 500; // never more than the 80 entries the set has
    EXPECT_EQ(SetNumbersOf(set).size(), 80u);
}

} // namespace
} // namespace zg
