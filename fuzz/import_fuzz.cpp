// Any bytes as a results file: reading must never crash or hang, every draw it gives is a real
// draw in order, its problems stand in line order, and the database it would write reads back as
// exactly those draws.
#include "database/DrawDatabase.h"
#include "database/ResultsImport.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zg::ImportedResults r = zg::ReadResultsFile(bytes);
    // Every draw and every problem has a line of its own.
    const auto lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                                std::count(bytes.begin(), bytes.end(), '\r') + 1);
    if (r.draws.size() + r.problems.size() > lines)
        std::abort();
    if (!std::is_sorted(r.problems.begin(), r.problems.end(),
                        [](const zg::ImportProblem& a, const zg::ImportProblem& b) { return a.line < b.line; }))
        std::abort();
    for (std::size_t i = 0; i < r.draws.size(); ++i) {
        const zg::ImportedDraw& d = r.draws[i];
        bool seen[81] = {};
        for (std::int32_t n : d.numbers) {
            if (!zg::IsLotteryNumber(n) || seen[n])
                std::abort();
            seen[n] = true;
        }
        if (d.year < 1951 || d.year > 2999 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31)
            std::abort();
        if (i > 0) {
            const zg::ImportedDraw& p = r.draws[i - 1];
            if (std::tie(d.year, d.month, d.day, d.timeOfDay) < std::tie(p.year, p.month, p.day, p.timeOfDay))
                std::abort();
        }
    }
    const zg::ImportPlan plan = zg::PlanImport(r, zg::DrawsView{}, true, zg::ImportMode::ReplaceAll);
    if (!plan.writes())
        return 0;
    static auto table = std::make_unique<zg::DrawRecord[]>(zg::MaxDraws + 1);
    const zg::LoadResult load = zg::ParseDatabase(zg::ImportedDatabaseBytes(r, plan, {}, 0), table.get());
    if (!load.ok || load.drawCount != plan.newCount)
        std::abort();
    for (std::size_t i = 0; i < r.draws.size(); ++i) {
        const zg::DrawRecord& written = table[i + 1];
        const zg::ImportedDraw& d = r.draws[i];
        if (written.Number != static_cast<std::int32_t>(i + 1) || written.Year != d.year || written.Month != d.month ||
            written.Day != d.day || !std::equal(d.numbers.begin(), d.numbers.end(), written.Numbers))
            std::abort();
    }
    return 0;
}
