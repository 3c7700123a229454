// SPDX-License-Identifier: GPL-3.0-or-later
// zentagrafo-cli info DIR
//
// Loads DIR/zentag.wyn as the program would (without merging a waiting download) and tells what it
// holds and what looks wrong in it.
//
// Exit status: 0 told (also when something looks wrong); 1 the database cannot be loaded; 2 the
// arguments are malformed.
#include "app/cli/CliOptions.h"
#include "app/cli/Commands.h"
#include "app/cli/FolderDatabase.h"
#include "base/DateRoutines.h"
#include "base/DrawTypes.h"
#include "base/NumberFormat.h"
#include "database/DrawDatabase.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zg::cli {

namespace {

struct InfoOptions {
    std::string dir;
};

// One kind of suspicious data: how often it occurs and the first few places.
struct Finding {
    explicit Finding(const char* t) : title(t) {}

    const char* title;
    std::int32_t count = 0;
    std::vector<std::string> examples;

    void Add(std::string example) {
        ++count;
        if (examples.size() < MaxExamples)
            examples.push_back(std::move(example));
    }

    static constexpr std::size_t MaxExamples = 10;
};

std::string Ordinal(std::int32_t k) {
    return "draw " + std::to_string(k);
}

// What the numbers of one draw break: a number outside 1..80, a number drawn twice.
struct NumberFaults {
    bool outside = false;
    bool twice = false;
};

// The numbers of 1..80 go into an 80-bit set, two words of bits held in registers; a number whose
// bit is already set is drawn twice. Without branches: u = n - 1 in unsigned arithmetic is 0..79
// for a number of the game and anything else above, and a number outside a word shifts a zero bit
// into it. Numbers outside 1..80 are left out of the set, so only a draw that holds one compares
// those numbers pairwise (two equal numbers outside the game are a number twice too).
NumberFaults FindNumberFaults(const DrawRecord& d) {
    std::uint64_t low = 0;  // bit n - 1 for n of 1..64
    std::uint64_t high = 0; // bit n - 65 for n of 65..80
    std::uint64_t again = 0;
    std::uint32_t outside = 0;
    for (std::int32_t n : d.Numbers) {
        const std::uint32_t u = static_cast<std::uint32_t>(n) - 1u;
        const std::uint64_t lowBit = std::uint64_t{u < 64u} << (u & 63u);
        const std::uint64_t highBit = std::uint64_t{u - 64u < 16u} << ((u - 64u) & 63u);
        again |= (low & lowBit) | (high & highBit);
        low |= lowBit;
        high |= highBit;
        outside |= std::uint32_t{u >= 80u};
    }
    NumberFaults faults{outside != 0, again != 0};
    for (int i = 0; faults.outside && !faults.twice && i < 20; ++i)
        for (int j = i + 1; j < 20 && !faults.twice; ++j)
            faults.twice = !IsLotteryNumber(d.Numbers[i]) && d.Numbers[i] == d.Numbers[j];
    return faults;
}

void PrintDraw(const char* label, DrawsView draws, std::int32_t k) {
    std::printf("%s: ordinal %d, number %d, %s\n", label, k, draws[k].Number, DrawDateLongText(draws, k).c_str());
}

int RunInfo(const InfoOptions& opt) {
    const auto db = LoadFolderDatabase(opt.dir);
    if (!db)
        return ExitRefused;
    const std::string& path = db->path;
    const DrawsView draws = db->View();

    std::printf("database: %s\n", path.c_str());
    std::printf("draws: %d\n", draws.count);
    std::printf("layout: %s (second integer %d)\n", ReadsDayFirst(db->layoutProbe) ? "day-first" : "year-first",
                db->layoutProbe);
    if (db->shortGroupValues > 0)
        std::printf("incomplete last group: %d of 24 values, not counted\n", db->shortGroupValues);
    if (draws.count == 0)
        return ExitDone;
    PrintDraw("first draw", draws, 1);
    PrintDraw("last draw", draws, draws.count);

    Finding numbering{"stored numbers that differ from the ordinal"};
    Finding repeated{"draws with a number twice"};
    Finding outside{"draws with a number outside 1..80"};
    Finding badDate{"draws with a date that does not exist"};
    Finding backwards{"dates earlier than the draw before"};
    for (std::int32_t k = 1; k <= draws.count; ++k) {
        const DrawRecord& d = draws[k];
        if (d.Number != k)
            numbering.Add(Ordinal(k) + ": number " + std::to_string(d.Number));
        const NumberFaults faults = FindNumberFaults(d);
        if (faults.twice)
            repeated.Add(Ordinal(k) + ": " + NumbersText(d.Numbers));
        if (faults.outside)
            outside.Add(Ordinal(k) + ": " + NumbersText(d.Numbers));
        if (!IsProgramDate(d.Day, d.Month, d.Year))
            badDate.Add(Ordinal(k) + ": " + DrawDateLongText(draws, k));
        if (k > 1) {
            const DrawRecord& p = draws[k - 1];
            if (d.Year < p.Year || (d.Year == p.Year && (d.Month < p.Month || (d.Month == p.Month && d.Day < p.Day))))
                backwards.Add(Ordinal(k) + ": " + DrawDateLongText(draws, k) + " after " +
                              DrawDateLongText(draws, k - 1));
        }
    }

    bool clean = true;
    for (const Finding* f : {&numbering, &repeated, &outside, &badDate, &backwards}) {
        if (f->count == 0)
            continue;
        clean = false;
        std::printf("%s: %d\n", f->title, f->count);
        for (const std::string& example : f->examples)
            std::printf("  %s\n", example.c_str());
        if (f->count > static_cast<std::int32_t>(f->examples.size()))
            std::printf("  ...\n");
    }
    if (clean)
        std::printf("no problems found\n");
    return ExitDone;
}

} // namespace

void AddInfoCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("info", "Tells what the database holds: draws, layout, first and last draw, "
                                               "suspicious data");
    auto opt = std::make_shared<InfoOptions>();
    command->add_option("DIR", opt->dir, "the program folder")->required()->type_name("DIR");
    command->callback([opt, &context] { context.status = RunInfo(*opt); });
}

} // namespace zg::cli
