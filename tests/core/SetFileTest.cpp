// SPDX-License-Identifier: GPL-3.0-or-later
#include "sets/SetFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace zg {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

SetMembers Members(std::initializer_list<int> numbers) {
    SetMembers m{};
    for (int n : numbers)
        m[static_cast<std::size_t>(n)] = true;
    return m;
}

std::vector<int> Numbers(const SetMembers& m) {
    std::vector<int> v;
    for (int n = 0; n <= 80; ++n)
        if (m[static_cast<std::size_t>(n)])
            v.push_back(n);
    return v;
}

TEST(SetFileWrite, ExactBytesAscendingWithoutLineEnd) {
    EXPECT_EQ(zg::SetFileBytes(Members({80, 2, 1})), " 1 2 80");
    EXPECT_EQ(zg::SetFileBytes(Members({3, 17, 80})), " 3 17 80");
    EXPECT_EQ(zg::SetFileBytes(SetMembers{}), "");

    SetMembers all{};
    all.fill(true); // entry 0 is not a number and must never be written
    const std::string bytes = zg::SetFileBytes(all);
    EXPECT_EQ(bytes.substr(0, 6), " 1 2 3");
    EXPECT_EQ(bytes.substr(bytes.size() - 6), " 79 80");

    TempDir dir;
    const std::string path = dir.file("ZESTAW.0001.txt");
    WriteBytes(path, "longer old content that must go away");
    EXPECT_FALSE(zg::WriteSetFile(path, Members({1, 2, 80}), dir.str()).has_value());
    const std::string written = ReadBytes(path);
    EXPECT_EQ(written, " 1 2 80");
    EXPECT_EQ(written.size(), 7u);
}

TEST(SetFileWrite, FailureGivesSystemErrorText) {
    TempDir dir;
    const auto missingFolder = zg::WriteSetFile(dir.file("nope/x.txt"), Members({5}), dir.str());
    ASSERT_TRUE(missingFolder.has_value());
    EXPECT_EQ(*missingFolder, std::strerror(ENOENT));

    const auto onFolder = zg::WriteSetFile(dir.str(), Members({5}), dir.str());
    ASSERT_TRUE(onFolder.has_value());
    EXPECT_EQ(*onFolder, std::strerror(EISDIR));
}

TEST(SetFileRead, AnySeparatorsAnyOrderRepeats) {
    TempDir dir;
    const std::string path = dir.file("mixed.txt");
    WriteBytes(path, "80\n5  5\t12\n");
    const SetFileContent c = zg::ReadSetFile(path);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(Numbers(c.members), (std::vector<int>{5, 12, 80}));

    // Every byte 0x00..0x20 separates; leading zeros and a plus sign still make a whole number.
    const SetFileContent controls = zg::ParseSetFile(std::string("\x01"
                                                                 "7\0"
                                                                 "09\x1f+3\r\x20",
                                                                 11),
                                                     "p");
    ASSERT_TRUE(controls.ok()) << controls.error;
    EXPECT_EQ(Numbers(controls.members), (std::vector<int>{3, 7, 9}));

    // A file is read in pieces: a number cut by a piece boundary still counts once, whole.
    WriteBytes(path, std::string(65535, ' ') + "12 5" + std::string(70000, '\n') + "61");
    const SetFileContent large = zg::ReadSetFile(path);
    ASSERT_TRUE(large.ok()) << large.error;
    EXPECT_EQ(Numbers(large.members), (std::vector<int>{5, 12, 61}));
    WriteBytes(path, std::string(65535, ' ') + "1x");
    EXPECT_EQ(zg::ReadSetFile(path).status, SetFileContent::Status::Refused);

    // A file of separators only (or nothing) is an empty set.
    EXPECT_TRUE(zg::ParseSetFile("", "p").ok());
    const SetFileContent blank = zg::ParseSetFile(" \r\n\t ", "p");
    ASSERT_TRUE(blank.ok());
    EXPECT_TRUE(Numbers(blank.members).empty());

    // What the writer writes reads back unchanged.
    const SetMembers set = Members({1, 40, 41, 80});
    EXPECT_EQ(zg::ParseSetFile(zg::SetFileBytes(set), "p").members, set);
}

TEST(SetFileRead, AnythingBut1To80RefusesTheFile) {
    TempDir dir;
    const std::string path = dir.file("x.txt");

    WriteBytes(path, " 1 2 81 3");
    SetFileContent c = zg::ReadSetFile(path);
    EXPECT_EQ(c.status, SetFileContent::Status::Refused);
    EXPECT_EQ(c.error, "Plik \"" + path +
                           "\" zawiera niedozwoloną wartość \"81\" — dozwolone są tylko liczby od 1 do 80. "
                           "Plik nie został wczytany.");
    EXPECT_TRUE(Numbers(c.members).empty()); // nothing of the part before the bad value

    WriteBytes(path, "5 12abc 7");
    c = zg::ReadSetFile(path);
    EXPECT_EQ(c.status, SetFileContent::Status::Refused);
    EXPECT_EQ(c.error, "Plik \"" + path +
                           "\" zawiera \"12abc\", co nie jest liczbą — dozwolone są tylko liczby od 1 do 80 "
                           "rozdzielone odstępami. Plik nie został wczytany.");

    struct Case {
        std::string content;
        std::string quoted;
    };
    const std::vector<Case> cases = {
        {"5 a", "\"a\""},
        {"0", "\"0\""},
        {"-3 4", "\"-3\""},
        {"2147483648", "\"2147483648\""},
        {"99999999999999999999999", "\"99999999999999999999999\""},
        {"4 - 5", "\"-\""},
        {"7,8", "\"7,8\""},
        {"1 2 3\n80 4x", "\"4x\""},
    };
    for (const Case& k : cases) {
        const SetFileContent r = zg::ParseSetFile(k.content, "/dir/zestaw.txt");
        EXPECT_EQ(r.status, SetFileContent::Status::Refused) << k.content;
        EXPECT_NE(r.error.find("Plik \"/dir/zestaw.txt\" "), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(k.quoted), std::string::npos) << r.error;
        EXPECT_TRUE(Numbers(r.members).empty()) << k.content;
    }

    // An endless word is quoted only in part, and not cut inside a character.
    std::string word = "a";
    for (int i = 0; i < 30; ++i)
        word += "ł"; // two bytes each: the cut at 32 bytes falls in the middle of one
    const SetFileContent r = zg::ParseSetFile("1 " + word, "p");
    EXPECT_EQ(r.status, SetFileContent::Status::Refused);
    EXPECT_NE(r.error.find("\"a" + std::string("łłłłłłłłłłłłłłł") + "…\""), std::string::npos) << r.error;
}

TEST(SetFileRead, UnreadableFileGivesSystemErrorText) {
    TempDir dir;
    SetFileContent missing = zg::ReadSetFile(dir.file("missing.txt"));
    EXPECT_EQ(missing.status, SetFileContent::Status::Unreadable);
    EXPECT_EQ(missing.error, std::strerror(ENOENT));

    SetFileContent folder = zg::ReadSetFile(dir.str());
    EXPECT_EQ(folder.status, SetFileContent::Status::Unreadable);
    EXPECT_EQ(folder.error, std::strerror(EISDIR));
}

TEST(SetFileName, FirstFreeNumberInTheSetFolder) {
    TempDir app;
    EXPECT_EQ(zg::NextSetFileName(app.str()), "ZESTAW.0001.txt"); // no set folder at all

    const auto sets = app.path() / "ZESTAWY LICZB";
    std::filesystem::create_directory(sets);
    WriteBytes((sets / "ZESTAW.0002.txt").string(), " 1");
    EXPECT_EQ(zg::NextSetFileName(app.str()), "ZESTAW.0001.txt");

    WriteBytes((sets / "ZESTAW.0001.txt").string(), " 1");
    EXPECT_EQ(zg::NextSetFileName(app.str()), "ZESTAW.0003.txt");
}

} // namespace
} // namespace zg
