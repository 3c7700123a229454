// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and rewriting a full database of 99,999 draws, and the look for shifted data that
// follows every load.
#include "database/Backups.h"
#include "database/DrawDatabase.h"
#include "database/ShiftedData.h"
#include "tools/sample/SampleGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// A full database written once into a temporary folder, removed at exit.
struct FullDatabase {
    zg::SampleDatabase sample = zg::GenerateSampleDatabase(zg::MaxDraws, 2024, zg::SampleLayout::YearFirst);
    std::filesystem::path folder;
    std::string path;

    FullDatabase() {
        folder = std::filesystem::temp_directory_path() / ("zg-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);
        path = (folder / "zentag.wyn").string();
        std::ofstream(path, std::ios::binary) << sample.bytes;
    }
    ~FullDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

FullDatabase& Database() {
    static FullDatabase db;
    return db;
}

void BM_LoadDatabase(benchmark::State& state) {
    FullDatabase& db = Database();
    std::vector<zg::DrawRecord> table(static_cast<std::size_t>(zg::MaxDraws) + 1);
    for (auto _ : state) {
        const zg::LoadResult r = zg::LoadDatabase(db.path, table.data());
        if (r.drawCount != zg::MaxDraws)
            state.SkipWithError("the database did not load");
        benchmark::DoNotOptimize(table.data());
    }
    state.SetItemsProcessed(state.iterations() * zg::MaxDraws);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(db.sample.bytes.size()));
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

// The same without the file system: the cost of reading the integers alone.
void BM_ParseDatabase(benchmark::State& state) {
    FullDatabase& db = Database();
    std::vector<zg::DrawRecord> table(static_cast<std::size_t>(zg::MaxDraws) + 1);
    for (auto _ : state) {
        const zg::LoadResult r = zg::ParseDatabase(db.sample.bytes, table.data());
        benchmark::DoNotOptimize(r.drawCount);
    }
    state.SetItemsProcessed(state.iterations() * zg::MaxDraws);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(db.sample.bytes.size()));
}
BENCHMARK(BM_ParseDatabase)->Unit(benchmark::kMillisecond);

// The pass over a sound full table that every start makes after the load (it finds nothing).
void BM_FindShiftedData(benchmark::State& state) {
    FullDatabase& db = Database();
    for (auto _ : state) {
        const auto shifted = zg::FindShiftedData(db.sample.View());
        if (shifted)
            state.SkipWithError("the sample looks shifted");
        benchmark::DoNotOptimize(shifted);
    }
    state.SetItemsProcessed(state.iterations() * zg::MaxDraws);
}
BENCHMARK(BM_FindShiftedData)->Unit(benchmark::kMillisecond);

// A rewrite after an edit: text, temporary file, fsync and rename.
void BM_RewriteDatabase(benchmark::State& state) {
    FullDatabase& db = Database();
    const std::string path = (db.folder / "rewritten.wyn").string();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const zg::RewriteResult r = zg::RewriteDatabase(path, db.sample.View());
        if (!r.ok)
            state.SkipWithError(r.error.c_str());
    }
    bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    state.SetItemsProcessed(state.iterations() * zg::MaxDraws);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_RewriteDatabase)->Unit(benchmark::kMillisecond);

// The backup a write that changes stored draws makes first: a whole copy of the 99,999-draw
// database into KOPIE (temporary file, fsync, rename), then removed again as after a failed write,
// so that every iteration copies into the same folder state.
void BM_DatabaseBackup(benchmark::State& state) {
    FullDatabase& db = Database();
    for (auto _ : state) {
        const zg::DatabaseBackup backup(db.path, zg::BackupReason::Correction, true);
        if (!backup.ok() || backup.name().empty())
            state.SkipWithError(backup.error().c_str());
    }
    state.SetItemsProcessed(state.iterations() * zg::MaxDraws);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(db.sample.bytes.size()));
}
BENCHMARK(BM_DatabaseBackup)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
