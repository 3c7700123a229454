// SPDX-License-Identifier: GPL-3.0-or-later
// The draw grid's cell texts and the database export report.
#include "database/DatabaseExport.h"

#include "support/ReportBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zg {
namespace {

DrawRecord Draw(std::int32_t number, std::int32_t year, std::int32_t month, std::int32_t day) {
    DrawRecord d;
    d.Number = number;
    d.Year = year;
    d.Month = month;
    d.Day = day;
    for (int i = 0; i < 20; ++i)
        d.Numbers[i] = 4 * i + 1;
    return d;
}

TEST(DrawGridCellText, NumberDateAndTwoDigitNumbers) {
    DrawRecord d = Draw(42, 2004, 3, 7);
    d.Numbers[19] = 80;
    EXPECT_EQ(DrawGridCellText(d, 0), " 0042");
    EXPECT_EQ(DrawGridCellText(d, 1), " 07");
    EXPECT_EQ(DrawGridCellText(d, 2), " 03");
    EXPECT_EQ(DrawGridCellText(d, 3), " 2004");
    EXPECT_EQ(DrawGridCellText(d, 4), " 01");
    EXPECT_EQ(DrawGridCellText(d, 5), " 05");
    EXPECT_EQ(DrawGridCellText(d, 23), " 80");
    EXPECT_EQ(DrawGridCellText(d, 24), "");
    EXPECT_EQ(DrawGridCellText(d, -1), "");

    // Wider values are not cut; short years get leading zeros.
    const DrawRecord wide = Draw(123456, 996, 12, 31);
    EXPECT_EQ(DrawGridCellText(wide, 0), " 123456");
    EXPECT_EQ(DrawGridCellText(wide, 3), " 0996");
    EXPECT_EQ(DrawGridCellText(wide, 1), " 31");
}

TEST(DatabaseExport, TwoDrawsGiveElevenLines) {
    std::vector<DrawRecord> draws(3);
    draws[1] = Draw(42, 2004, 3, 7);
    draws[2] = Draw(43, 2004, 3, 8);
    draws[2].Numbers[0] = 100; // a value outside the game is written as it is
    const std::string bytes = DatabaseExportBytes(DrawsView{draws.data(), 2});
    const std::string expected = zg::test::ReportHeaderBytes +
                                 "\t\tBaza losowa\xF1 Multi Lotka w programie ZENTAGRAFO\r\n"
                                 "\r\n"
                                 "0042;07;03;2004;01;05;09;13;17;21;25;29;33;37;41;45;49;53;57;61;65;69;73;77;\r\n"
                                 "0043;08;03;2004;100;05;09;13;17;21;25;29;33;37;41;45;49;53;57;61;65;69;73;77;\r\n"
                                 "\r\n"
                                 " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(DatabaseExport, EmptyTableHasHeadingAndFooterOnly) {
    const std::string bytes = DatabaseExportBytes(DrawsView{});
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 9);
    EXPECT_NE(bytes.find("ZENTAGRAFO\r\n\r\n\r\n --------------- ZENTAGRAFO"), std::string::npos);
}

} // namespace
} // namespace zg
