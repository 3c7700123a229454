// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ReportWriter.h"

#include "support/TempDir.h"

#include "support/ReportBytes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace zg {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(ReportWriterCp1250, PolishLettersBecomeTheirCodePageBytes) {
    EXPECT_EQ(zg::Utf8ToCp1250("Łączna ilość trafionych liczb:"), "\xA3\xB9"
                                                                  "czna ilo\x9C\xE6 trafionych liczb:");
    EXPECT_EQ(zg::Utf8ToCp1250("óńżźę ĄĆĘŁŃÓŚŹŻ"), "\xF3\xF1\xBF\x9F\xEA \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    EXPECT_EQ(zg::Utf8ToCp1250(""), "");
    EXPECT_EQ(zg::Utf8ToCp1250(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(ReportWriterCp1250, UnwritableBecomesQuestionMarks) {
    // Characters the code page lacks: one '?' each, whatever their UTF-8 length.
    EXPECT_EQ(zg::Utf8ToCp1250("a€b"), "a\x80"
                                       "b"); // the euro sign is in the code page
    EXPECT_EQ(zg::Utf8ToCp1250("x字y😀z"), "x?y?z");
    // Bytes that are not UTF-8: one '?' per bad byte, the rest still converted.
    EXPECT_EQ(zg::Utf8ToCp1250("a\xFF\xFE"
                               "ą"),
              "a??\xB9");
    EXPECT_EQ(zg::Utf8ToCp1250("\x80ó"), "?\xF3");
    EXPECT_EQ(zg::Utf8ToCp1250("\xC0\xAF"), "??"); // overlong '/'
    EXPECT_EQ(zg::Utf8ToCp1250("\xED\xA0\x80!"), "??"
                                                 "?!");  // surrogate
    EXPECT_EQ(zg::Utf8ToCp1250("end\xC5"), "end?");      // cut short at the end
    EXPECT_EQ(zg::Utf8ToCp1250("\xE2\x82 ok"), "?? ok"); // cut short in the middle
    // Long input crosses the converter's internal buffer.
    std::string longLine;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        longLine += "ść字";
        expected += "\x9C\xE6?";
    }
    EXPECT_EQ(zg::Utf8ToCp1250(longLine), expected);
}

TEST(ReportWriterText, HeaderBodyFooterBytes) {
    zg::ReportText report;
    report.Header();
    report.Line(" Zakres losowań: 1(05.03.08) - 2(06.03.08)");
    report.Line();
    report.Footer();
    const std::string expected = zg::test::ReportHeaderBytes +
                                 " Zakres losowa\xF1: 1(05.03.08) - 2(06.03.08)\r\n"
                                 "\r\n"
                                 " --------------- ZENTAGRAFO v. 1.5 ML ---------------\r\n";
    EXPECT_EQ(report.Bytes(), expected);
}

TEST(ReportWriterFile, WritesExactBytesAndTruncates) {
    TempDir dir;
    const std::string path = dir.file("ZENTAG.0001.txt");
    WriteBytes(path, std::string(5000, 'x'));
    const std::string bytes = std::string("a\r\nb\0\xB9\r\n", 8);
    EXPECT_EQ(zg::WriteReportFile(path, bytes, dir.str()), std::nullopt);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(zg::WriteReportFile(path, "", dir.str()), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(ReportWriterFile, FailuresReturnTheSystemsDescription) {
    TempDir dir;
    const auto missingFolder = zg::WriteReportFile(dir.file("no such folder/ZENTAG.0001.txt"), "x", dir.str());
    ASSERT_TRUE(missingFolder.has_value());
    EXPECT_EQ(*missingFolder, std::strerror(ENOENT));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no such folder")));

    std::filesystem::create_directory(dir.file("TXT"));
    const auto isFolder = zg::WriteReportFile(dir.file("TXT"), "x", dir.str());
    ASSERT_TRUE(isFolder.has_value());
    EXPECT_EQ(*isFolder, std::strerror(EISDIR));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("TXT")));
}

TEST(ReportWriterFileName, FirstFreeNumber) {
    TempDir dir;
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.0001.txt");
    WriteBytes(dir.file("ZENTAG.0001.txt"), "");
    WriteBytes(dir.file("ZENTAG.0003.txt"), "");
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.0002.txt");
    WriteBytes(dir.file("ZENTAG.0002.txt"), "");
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.0004.txt");
    // Another stem counts on its own; a folder of that name is taken too.
    std::filesystem::create_directory(dir.file("ZESTAW.0001.txt"));
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZESTAW"), "ZESTAW.0002.txt");
    // A dangling link is taken: writing there would create its target.
    std::filesystem::create_symlink(dir.file("elsewhere"), dir.file("ZENTAG.0004.txt"));
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.0005.txt");
}

TEST(ReportWriterFileName, MissingFolderAndReportFolder) {
    TempDir dir;
    EXPECT_EQ(zg::NextNumberedFileName(dir.file("missing"), "ZENTAG"), "ZENTAG.0001.txt");
    EXPECT_EQ(zg::NextReportFileName(dir.str()), "ZENTAG.0001.txt"); // no TXT folder: nothing taken
    std::filesystem::create_directory(dir.file("TXT"));
    WriteBytes(dir.file("TXT/ZENTAG.0001.txt"), "");
    WriteBytes(dir.file("ZENTAG.0002.txt"), ""); // beside TXT, not in it
    EXPECT_EQ(zg::NextReportFileName(dir.str()), "ZENTAG.0002.txt");
}

TEST(ReportWriterFileName, AllNumbersTakenGivesTenThousand) {
    TempDir dir;
    for (int i = 1; i <= 9999; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "ZENTAG.%04d.txt", i);
        WriteBytes(dir.file(name), "");
    }
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.10000.txt");
    // Proposed whether or not it exists.
    WriteBytes(dir.file("ZENTAG.10000.txt"), "");
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.10000.txt");
    std::filesystem::remove(dir.file("ZENTAG.9999.txt"));
    EXPECT_EQ(zg::NextNumberedFileName(dir.str(), "ZENTAG"), "ZENTAG.9999.txt");
}

} // namespace
} // namespace zg
