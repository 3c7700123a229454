// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a results file, read with the first and with the last 20 numbers of a longer line:
// reading must never crash or hang, every draw it gives is a real draw in order, its problems
// stand in line order and come out the same when the lines are read again, and the database each
// mode would write reads back as exactly the draws it should hold: the file's draws in place of an
// empty database, and a database of the first half of the draws with the rest appended.
#include "database/DrawDatabase.h"
#include "database/ResultsImport.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool SameRecord(const zg::DrawRecord& a, const zg::DrawRecord& b) {
    return a.Number == b.Number && a.Year == b.Year && a.Month == b.Month && a.Day == b.Day &&
           std::equal(a.Numbers, a.Numbers + 20, b.Numbers);
}

// The draws and problems of one reading of `bytes`.
void CheckReading(const zg::ImportedResults& r, std::string_view bytes) {
    // Every draw and every problem has a line of its own.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                std::count(bytes.begin(), bytes.end(), '\r') + 1);
    Require(r.draws.size() + r.problemCount <= lines);
    Require(r.problems.size() <= r.problemCount);
    for (std::size_t i = 0; i < r.draws.size(); ++i) {
        const zg::ImportedDraw& d = r.draws[i];
        bool seen[81] = {};
        for (std::int32_t n : d.numbers) {
            Require(zg::IsLotteryNumber(n) && !seen[n]);
            seen[n] = true;
        }
        Require(d.year >= 1951 && d.year <= 2999 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31);
        if (i > 0) {
            const zg::ImportedDraw& p = r.draws[i - 1];
            Require(std::tie(d.year, d.month, d.day, d.timeOfDay) >= std::tie(p.year, p.month, p.day, p.timeOfDay));
        }
    }
    // Listed again (read once more when not all were kept): the same problems, every one, in line
    // order, none on the line of a kept draw.
    std::vector<std::int32_t> drawLines;
    for (const zg::ImportedDraw& d : r.draws)
        drawLines.push_back(d.line);
    std::sort(drawLines.begin(), drawLines.end());
    std::size_t listed = 0;
    std::int32_t lastLine = 0;
    zg::ForEachImportProblem(bytes, r, [&](const zg::ImportProblem& problem) {
        Require(problem.line > lastLine && !std::binary_search(drawLines.begin(), drawLines.end(), problem.line));
        if (listed < r.problems.size())
            Require(r.problems[listed].line == problem.line && r.problems[listed].kind == problem.kind &&
                    r.problems[listed].Reason() == problem.Reason());
        lastLine = problem.line;
        ++listed;
    });
    Require(listed == r.problemCount);
}

// The file's draws in place of an empty database.
void CheckReplacement(const zg::ImportedResults& r, zg::DrawRecord* table) {
    const zg::ImportPlan plan = zg::PlanImport(r, zg::DrawsView{}, true, zg::ImportMode::ReplaceAll);
    if (!plan.writes())
        return;
    const zg::LoadResult load = zg::ParseDatabase(zg::ImportedDatabaseBytes(r, plan, {}, 0), table);
    Require(load.ok && load.drawCount == plan.newCount);
    for (std::size_t i = 0; i < r.draws.size(); ++i)
        Require(SameRecord(table[i + 1], zg::ImportedRecord(r, plan, i)));
}

// A database of the first half of the file's draws, and the rest appended after its last one.
void CheckAppend(const zg::ImportedResults& r, zg::DrawRecord* table) {
    const std::size_t stored = (r.draws.size() + 1) / 2;
    std::vector<zg::DrawRecord> database(stored + 1);
    for (std::size_t i = 0; i < stored; ++i) {
        zg::DrawRecord& d = database[i + 1];
        d.Number = static_cast<std::int32_t>(i + 1);
        d.Year = r.draws[i].year;
        d.Month = r.draws[i].month;
        d.Day = r.draws[i].day;
        std::copy(r.draws[i].numbers.begin(), r.draws[i].numbers.end(), d.Numbers);
    }
    const zg::DrawsView view{database.data(), static_cast<std::int32_t>(stored)};
    const zg::ImportPlan plan = zg::PlanImport(r, view, true, zg::ImportMode::AppendNew);
    if (!plan.writes())
        return;
    const std::string oldBytes = zg::DatabaseFileBytes(view);
    const std::int32_t layoutProbe = stored > 0 ? database[1].Year : 0;
    const zg::LoadResult load = zg::ParseDatabase(zg::ImportedDatabaseBytes(r, plan, oldBytes, layoutProbe), table);
    Require(load.ok && load.drawCount == plan.drawCountAfter);
    // The expected database: the stored draws with the file's dates where the plan corrects them,
    // then the new draws.
    std::vector<zg::DrawRecord> expected = database;
    for (const zg::DateCorrection& c : plan.corrections) {
        zg::DrawRecord& d = expected[static_cast<std::size_t>(c.ordinal)];
        d.Year = c.year;
        d.Month = c.month;
        d.Day = c.day;
    }
    for (std::size_t i = plan.firstNew; i < plan.firstNew + static_cast<std::size_t>(plan.newCount); ++i)
        expected.push_back(zg::ImportedRecord(r, plan, i));
    Require(expected.size() == static_cast<std::size_t>(plan.drawCountAfter) + 1);
    for (std::int32_t k = 1; k <= plan.drawCountAfter; ++k)
        Require(SameRecord(table[k], expected[static_cast<std::size_t>(k)]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto table = std::make_unique<zg::DrawRecord[]>(zg::MaxDraws + 1);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zg::ImportedResults first = zg::ReadResultsFile(bytes);
    CheckReading(first, bytes);
    CheckReplacement(first, table.get());
    // The last 20 numbers, keeping only two problems: listing them all reads the lines again.
    const zg::ImportedResults last = zg::ReadResultsFile(bytes, zg::TakeNumbers::Last, 2);
    CheckReading(last, bytes);
    CheckAppend(last, table.get());
    return 0;
}
