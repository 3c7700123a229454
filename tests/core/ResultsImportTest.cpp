// SPDX-License-Identifier: GPL-3.0-or-later
// Results files: the layouts they come in (newest first, with a repeat), each kind of bad line, what
// each import mode brings into a database and the exact bytes it writes, and zentagrafo-cli import.
#include "database/ResultsImport.h"
#include "app/cli/Commands.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"
#include "support/CliRun.h"
#include "support/DrawTables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace zg {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// 20 different numbers from `first` on in steps of 3 (wrapping past 80), joined by `separator`.
std::string Twenty(int first, const std::string& separator = ",") {
    std::string text;
    for (int j = 0; j < 20; ++j)
        text += (j ? separator : "") + std::to_string((first + 3 * j - 1) % 80 + 1);
    return text;
}

// Each draw as "line:DD.MM.YYYY/seconds:first..last number".
std::string Describe(const ImportedResults& r) {
    std::string text;
    for (const ImportedDraw& d : r.draws)
        text += std::to_string(d.line) + ":" + ImportedDateText(d) + "/" + std::to_string(d.timeOfDay) + ":" +
                std::to_string(d.numbers[0]) + ".." + std::to_string(d.numbers[19]) + " ";
    return text + "extra " + std::to_string(r.linesWithExtraNumbers) + " repeats " + std::to_string(r.repeats) +
           (r.reversed ? " reversed" : "");
}

struct Layout {
    const char* name;
    std::string bytes;
    std::string draws;
};

class ResultsLayout : public testing::TestWithParam<Layout> {};

TEST_P(ResultsLayout, GivesItsDraws) {
    const ImportedResults r = ReadResultsFile(GetParam().bytes);
    EXPECT_TRUE(r.problems.empty()) << r.problems[0].Reason();
    EXPECT_EQ(Describe(r), GetParam().draws);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ResultsLayout,
    testing::Values(Layout{"Semicolons",
                           "Nr;Data;L1;L2;L3;L4;L5;L6;L7;L8;L9;L10;L11;L12;L13;L14;L15;L16;L17;L18;L19;L20\n"
                           "1;01.10.1996;" +
                               Twenty(3) + "\n2;1.10.1996.;" + Twenty(1) + "\n",
                           "2:01.10.1996/0:3..60 3:01.10.1996/0:1..58 extra 0 repeats 0"},
                    Layout{"TimeAndBonus",
                           "12345. 2023-05-18 14:00 " + Twenty(5, " ") + " 7\r12346. 2023/05/18 22:05:09 08 " +
                               Twenty(8, " ").substr(2) + " 07",
                           "1:18.05.2023/50400:5..62 2:18.05.2023/79509:8..65 extra 2 repeats 0"},
                    Layout{"NewestFirstTabsCrLf",
                           "Numer\tData\tLiczby\r\n2\t29-02-1996\t" + Twenty(9, "\t") + "\r\n1\t1996.02.28\t" +
                               Twenty(1, "\t") + "\r\n1\t28-02-1996\t58\t" + Twenty(1, "\t").substr(0, 53) + "\r\n",
                           "4:28.02.1996/0:58..55 2:29.02.1996/0:9..66 extra 0 repeats 1 reversed"},
                    Layout{"DottedNumberWords",
                           "losowanie 7 z 31/12/2999: 1.4.7.10.13 16.19.22.25.28-31-34-37-40-43 46/49/52 "
                           "55:58\n",
                           "1:31.12.2999/0:1..58 extra 0 repeats 0"}),
    [](const testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

// Repeats of one date are told apart from new draws on a day of a few draws and on a crowded one
// (40 draws of one date, more than the short list keeps), and a set met again on a later date is
// no repeat.
TEST(ResultsRepeats, SameDateOnlyOnFewAndCrowdedDays) {
    const auto line = [](int number, const char* date, int first) {
        std::string text = std::to_string(number) + ";" + date;
        for (int k = 0; k < 20; ++k)
            text += (k == 0 ? ";" : ",") + std::to_string(first + k);
        return text + "\n";
    };
    std::string file = line(1, "30.09.1996", 1) + line(2, "30.09.1996", 2) + line(3, "30.09.1996", 1);
    for (int i = 0; i < 40; ++i)
        file += line(4 + i, "01.10.1996", 1 + i);
    file += line(44, "01.10.1996", 1) + line(45, "01.10.1996", 35) + line(46, "02.10.1996", 1);
    const ImportedResults r = ReadResultsFile(file);
    EXPECT_EQ(r.draws.size(), 43u);
    EXPECT_EQ(r.repeats, 3);
    EXPECT_TRUE(r.problems.empty());
}

struct BadLine {
    const char* name;
    std::string line;   // line 2, between draws of 01.10.1996 and 05.10.1996
    std::string reason; // empty: skipped without a problem
};

class ResultsBadLine : public testing::TestWithParam<BadLine> {};

TEST_P(ResultsBadLine, LeftOutWithFirstReason) {
    const ImportedResults r =
        ReadResultsFile("1;01.10.1996;" + Twenty(3) + "\n" + GetParam().line + "\n3;05.10.1996;" + Twenty(4) + "\n");
    EXPECT_EQ(r.draws.size(), 2u);
    const std::string problems =
        r.problems.empty() ? "" : std::to_string(r.problems[0].line) + " " + r.problems[0].Reason();
    EXPECT_EQ(problems, GetParam().reason.empty() ? "" : "2 " + GetParam().reason);
    EXPECT_LE(r.problems.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ResultsBadLine,
    testing::Values(BadLine{"NoDate", "2;" + Twenty(5), "brak daty"},
                    BadLine{"NoRealDate", "2;31.04.1996;" + Twenty(5), "brak daty"},
                    BadLine{"FewDigitRuns", "Suma: 12 34 56", ""},
                    BadLine{"TooFew", "2;02.10.1996;81,7,7", "za mało liczb (3)"},
                    BadLine{"OutOfRange", "2;02.10.1996;5,5,000081," + Twenty(20), "liczba spoza zakresu 1..80: 81"},
                    BadLine{"Zero", "2;02.10.1996;00," + Twenty(5).substr(2), "liczba spoza zakresu 1..80: 0"},
                    BadLine{"Repeated", "2;02.10.1996;07,7," + Twenty(5).substr(4), "powtórzona liczba 7"},
                    BadLine{"OutOfOrder", "2;30.09.1996;" + Twenty(5), "data nie pasuje do sąsiednich losowań"}),
    [](const testing::TestParamInfo<BadLine>& info) { return std::string(info.param.name); });

// Each line gets the numbers Twenty(line) unless it has its own; every line is a valid draw, so
// the problem lines and the repeats tell which are kept. Among equal runs the earliest lines win.
struct OrderCase {
    const char* name;
    std::vector<std::string> lines;
    std::string problems; // their lines, then the repeats
};

class ResultsOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(ResultsOrder, KeepsTheLongestRunInOrder) {
    std::string file, problems;
    for (std::size_t i = 0; i < GetParam().lines.size(); ++i) {
        const std::string& line = GetParam().lines[i];
        file += line + (line.find(';') == std::string::npos ? ";" + Twenty(static_cast<int>(i) + 1) : "") + "\n";
    }
    const ImportedResults r = ReadResultsFile(file);
    for (const ImportProblem& p : r.problems)
        problems += std::to_string(p.line) + (p.Reason() == "data nie pasuje do sąsiednich losowań" ? " " : "? ");
    EXPECT_EQ(problems + "repeats " + std::to_string(r.repeats), GetParam().problems);
}

// 100 draws of 2023, line 10 dated 2032.
std::vector<std::string> YearTypo() {
    std::vector<std::string> lines;
    for (int k = 0; k < 100; ++k)
        lines.push_back(std::to_string(k % 28 + 1) + "." + std::to_string(k / 28 + 1) + (k == 9 ? ".2032" : ".2023"));
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ResultsOrder,
    testing::Values(
        OrderCase{"OneThreeTwoFour", {"1.1.2023", "3.1.2023", "2.1.2023", "4.1.2023"}, "3 repeats 0"},
        OrderCase{"NewestFirst", {"4.1.2023", "2.1.2023", "3.1.2023", "1.1.2023"}, "2 repeats 0"},
        OrderCase{"EqualTimes", {"1.1.2023 14:00", "1.1.2023 9:00", "1.1.2023 22:00", "1.1.2023 22:00"}, "2 repeats 0"},
        OrderCase{"RepeatOfALeftOutLine",
                  {"1.1.2023", "5.1.2023;" + Twenty(9), "2.1.2023", "3.1.2023", "5.1.2023;" + Twenty(9)},
                  "2 repeats 0"},
        OrderCase{"YearTypo", YearTypo(), "10 repeats 0"}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

// The database of the mode cases: draws 1..3 of 1..3 January 2008, each holding 41..60.
struct ModeCase {
    const char* name;
    std::string file;
    ImportMode mode;
    std::int32_t databaseDraws;
    bool whole;
    ImportPlan::Outcome outcome;
    std::size_t firstNew;
    std::int32_t newCount;
};

class ImportModes : public testing::TestWithParam<ModeCase> {};

TEST_P(ImportModes, FindTheNewDraws) {
    const ModeCase& c = GetParam();
    static const std::vector<DrawRecord> table = test::MakeTable(MaxDraws);
    const ImportPlan plan =
        PlanImport(ReadResultsFile(c.file), DrawsView{table.data(), c.databaseDraws}, c.whole, c.mode);
    EXPECT_EQ(plan.outcome, c.outcome) << plan.message;
    EXPECT_EQ(plan.firstNew, c.firstNew);
    EXPECT_EQ(plan.newCount, c.newCount);
    EXPECT_EQ(plan.firstOrdinal, plan.writes() ? (plan.wholeFile ? 1 : c.databaseDraws + 1) : 0);
}

const std::string L = "60,59,58,57,56,55,54,53,52,51,50,49,48,47,46,45,44,43,42,41"; // the database's last draw
const std::string LaterTwo = "04.01.2008;" + Twenty(1) + "\n05.01.2008;" + Twenty(2) + "\n";
constexpr auto Append = ImportMode::AppendNew;
constexpr auto Write = ImportPlan::Outcome::Write;

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportModes,
    testing::Values(ModeCase{"AfterTheLastMatch", "02.01.2008;" + L + "\n03.01.2008;" + L + "\n" + LaterTwo, Append, 3,
                             true, Write, 2, 2},
                    ModeCase{"NoMatchAllLater", LaterTwo, Append, 3, true, Write, 0, 2},
                    ModeCase{"NoMatchSameDay", "03.01.2008;" + Twenty(1) + "\n" + LaterTwo, Append, 3, true,
                             ImportPlan::Outcome::NoMatch, 0, 0},
                    ModeCase{"NothingNew", "02.01.2008;" + Twenty(1) + "\n03.01.2008;" + L, Append, 3, true,
                             ImportPlan::Outcome::NothingNew, 0, 0},
                    ModeCase{"EmptyDatabase", LaterTwo, Append, 0, true, Write, 0, 2},
                    ModeCase{"NotWhole", LaterTwo, Append, 3, false, ImportPlan::Outcome::NotLoadedWhole, 0, 0},
                    ModeCase{"ReplaceRepairs", "03.01.2008;" + Twenty(1) + "\n" + LaterTwo, ImportMode::ReplaceAll, 3,
                             false, Write, 0, 3},
                    ModeCase{"NoDraws", "Nr;Data\n", ImportMode::ReplaceAll, 3, true, ImportPlan::Outcome::NoDraws, 0,
                             0},
                    ModeCase{"Full", "01.01.2999;" + Twenty(1) + "\n02.01.2999;" + Twenty(2), Append, MaxDraws - 1,
                             true, ImportPlan::Outcome::TableFull, 0, 0}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

test::CliRun Import(const cli::Args& args) {
    return test::RunCaptured(args);
}

// Draws 1..3 of 1..3 January 2008, each its own numbers. A file of stored draws only, without the
// last one, is an older copy: refused without advice to replace. One misdated draw makes it a
// file that does not continue the database.
TEST(CmdImport, OlderFileIsRefused) {
    TempDir dir;
    std::string database;
    for (int k = 1; k <= 3; ++k)
        database += std::to_string(k) + " 2008 1 " + std::to_string(k) + " " + Twenty(k, " ") + " ";
    WriteBytes(dir.file("zentag.wyn"), database);
    for (const auto& [file, text] : {std::pair<std::string, std::string>{
                                         "01.01.2008;" + Twenty(1) + "\n02.01.2008;" + Twenty(2) + "\n",
                                         "Plik nie zawiera losowań nowszych niż ostatnie w bazie (nr 3 z 03.01.2008). "
                                         "Baza wyników nie została zmieniona.\n"},
                                     {"02.01.2008;" + Twenty(1) + "\n", "Plik nie pasuje do bazy wyników"}}) {
        WriteBytes(dir.file("w.txt"), file);
        const test::CliRun run = Import({"import", dir.str(), dir.file("w.txt")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.substr(0, text.size()), text);
        EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), database);
    }
}

TEST(CmdImport, AppendsInFileLayoutDeletesDownload) {
    TempDir dir;
    const std::string old = "1 3 1 2008 " + Twenty(41, " ") + "\n"; // day-first
    WriteBytes(dir.file("zentag.wyn"), old);
    WriteBytes(dir.file("zentag"), "1 2 3");
    WriteBytes(dir.file("wyniki.txt"), "1;03.01.2008;" + Twenty(41) + "\n2;04.01.2008 21:50;" + Twenty(1) + ";7\n");
    const test::CliRun run = Import({"import", dir.str(), dir.file("wyniki.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nnew draws: 1\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), old + " 2 4 1 2008 " + Twenty(1, " ") + " ");
    EXPECT_FALSE(std::filesystem::exists(dir.file("zentag")));
}

TEST(CmdImport, ReplaceWritesTheRewriteLayout) {
    TempDir dir;
    WriteBytes(dir.file("zentag.wyn"), "garbage");
    WriteBytes(dir.file("w.csv"), "7;01.10.1996;" + Twenty(80) + "\n8;02.10.1996;" + Twenty(1) + "\n");
    const test::CliRun run = Import({"import", dir.str(), dir.file("w.csv"), "--replace"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")),
              "1 1996 10 1 80 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 "
              "2 1996 10 2 1 4 7 10 13 16 19 22 25 28 31 34 37 40 43 46 49 52 55 58 ");
}

std::string FirstNineteen(int first) {
    const std::string all = Twenty(first, " ");
    return all.substr(0, all.rfind(' '));
}

// A layout with a draw-of-day index after the date: the first 20 numbers take the index.
struct TakeCase {
    const char* name;
    const char* take;
    std::string database;
};

class CmdImportTake : public testing::TestWithParam<TakeCase> {};

TEST_P(CmdImportTake, ChoosesTheTwentyNumbers) {
    TempDir dir;
    WriteBytes(dir.file("w.csv"), "10.04.1996;1;" + Twenty(3, ";") + "\n10.04.1996;2;" + Twenty(1, ";") + ";\n");
    const test::CliRun run = Import({"import", dir.str(), dir.file("w.csv"), "--take", GetParam().take});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nlines with more than 20 numbers: 2\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")), GetParam().database);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CmdImportTake,
    testing::Values(TakeCase{"First", "first",
                             "1 1996 4 10 1 " + FirstNineteen(3) + " 2 1996 4 10 2 " + FirstNineteen(1) + " "},
                    TakeCase{"Last", "last", "1 1996 4 10 " + Twenty(3, " ") + " 2 1996 4 10 " + Twenty(1, " ") + " "}),
    [](const testing::TestParamInfo<TakeCase>& info) { return std::string(info.param.name); });

struct CliCase {
    const char* name;
    std::string file;
    std::string flags;
    int status;
    std::string newDraws;
    std::string err;
};

class CmdImportCase : public testing::TestWithParam<CliCase> {};

TEST_P(CmdImportCase, ExitsAndReports) {
    TempDir dir;
    const std::string database = DatabaseFileBytes(test::View(test::MakeTable(3)));
    WriteBytes(dir.file("zentag.wyn"), database);
    WriteBytes(dir.file("w.txt"), GetParam().file);
    cli::Args args{"import", dir.str(), dir.file("w.txt")};
    std::istringstream flags(GetParam().flags);
    for (std::string flag; flags >> flag;)
        args.push_back(flag);
    const test::CliRun run = Import(args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.err, GetParam().err);
    if (run.status != 2) {
        EXPECT_EQ(run.out.substr(run.out.rfind("new draws: ")), "new draws: " + GetParam().newDraws + "\n");
    }
    EXPECT_EQ(ReadBytes(dir.file("zentag.wyn")) == database,
              run.status != 0 || GetParam().newDraws == "0" || GetParam().flags.find("--dry-run") != std::string::npos);
}

const std::string Bad = "06.01.2008;1,2\n";
const std::string BadLine3 = "line 3: za mało liczb (2)\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, CmdImportCase,
    testing::Values(
        CliCase{"BadLines", LaterTwo + Bad, "--replace", 1, "0",
                BadLine3 + "1 bad lines: nothing imported (--skip-bad imports the other draws)\n"},
        CliCase{"SkipBadDryRun", LaterTwo + Bad, "--skip-bad --dry-run", 0, "2", BadLine3},
        CliCase{"SkipBad", LaterTwo + Bad, "--skip-bad", 0, "2", BadLine3},
        CliCase{"SkipMisplaced", "04.01.2008;" + Twenty(7) + "\n05.01.2028;" + Twenty(3) + "\n" + LaterTwo,
                "--skip-bad", 0, "3", "line 2: data nie pasuje do sąsiednich losowań\n"},
        CliCase{"NoMatch", "03.01.2008;" + Twenty(1), "--dry-run", 1, "0",
                "Plik nie pasuje do bazy wyników: nie zawiera ostatniego losowania z bazy (nr 3 z dnia 03.01.2008), a "
                "zawiera losowania z tego dnia lub wcześniejsze. Jeśli plik jest pełnym archiwum wyników, wybierz "
                "„Zastąp całą bazę”.\n"},
        CliCase{"UpToDate", "03.01.2008;" + L, "--dry-run", 0, "0", ""},
        CliCase{"Usage", "", "--x", 2, "",
                "The following argument was not expected: --x\nRun with --help for more information.\n"}),
    [](const testing::TestParamInfo<CliCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zg
