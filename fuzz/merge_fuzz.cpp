// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a waiting full download, merged over a valid database: the merge must never crash,
// and afterwards the database is either the old one untouched or exactly the converted download
// (every digit kept, every other byte a space), with no temporary file left behind. A download is
// used only when the check before the merge finds it sound: the new database then loads with at
// least one draw and no group cut short, the draws numbered 1, 2, ... in order, each with a date
// that exists in a year 1951..2999 and 20 different numbers 1..80. The files live
// in a folder of their own under ZG_FUZZ_DIR (default /dev/shm, where flushing costs nothing),
// removed at exit. One draw table, made once, serves every run: the merge's soundness check loads
// into it, and so does the check of the new database here (each load overwrites the draws it
// reports, so nothing of an earlier run is read). A fresh 9.6 MB table per run would cost far more
// than the merge itself.
#include "base/DateRoutines.h"
#include "database/DrawDatabase.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::string OldDatabase = "1 2004 1 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 "
                                "2 2004 1 2 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 ";

const std::filesystem::path& Folder() {
    // Never destroyed, so that the clean-up at exit can still name it.
    static const auto* folder = new std::filesystem::path([] {
        const char* base = std::getenv("ZG_FUZZ_DIR");
        std::filesystem::path p = base != nullptr ? base : (std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp");
        p /= "zg-merge-fuzz-" + std::to_string(::getpid());
        std::filesystem::create_directories(p);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return p;
    }());
    return *folder;
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

zg::DrawRecord* ScratchTable() {
    static const auto table = std::make_unique<zg::DrawRecord[]>(zg::MaxDraws + 1);
    return table.get();
}

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view download(reinterpret_cast<const char*>(data), size);
    const auto db = Folder() / "zentag.wyn";
    const auto pending = Folder() / "zentag";
    Write(db, OldDatabase);
    Write(pending, download);
    const zg::MergeResult r = zg::MergePendingDownload(
        pending.string(), db.string(), [] { return true; }, ScratchTable());

    const std::string after = Read(db);
    if (r.replaced) {
        std::string converted(download);
        for (char& c : converted)
            c = c >= '0' && c <= '9' ? c : ' ';
        if (r.damaged || after != converted)
            std::abort();
        zg::DrawRecord* table = ScratchTable();
        const zg::LoadResult load = zg::ParseDatabase(after, table);
        if (!load.ok || load.drawCount < 1 || load.shortGroupValues != 0 || load.truncated)
            std::abort();
        for (std::int32_t k = 1; k <= load.drawCount; ++k) {
            zg::DrawRecord& d = table[k];
            if (d.Number != k || d.Year < 1951 || d.Year > 2999 || d.Month < 1 || d.Month > 12 || d.Day < 1 ||
                d.Day > zg::DaysInMonth(d.Month, d.Year) ||
                !std::all_of(std::begin(d.Numbers), std::end(d.Numbers), zg::IsLotteryNumber))
                std::abort();
            std::sort(std::begin(d.Numbers), std::end(d.Numbers));
            if (std::adjacent_find(std::begin(d.Numbers), std::end(d.Numbers)) != std::end(d.Numbers))
                std::abort();
        }
    } else if (after != OldDatabase) {
        std::abort();
    }
    if (r.ok && std::filesystem::exists(pending))
        std::abort();
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        if (entry.path() != db && entry.path() != pending)
            std::abort(); // a temporary file stayed behind
    return 0;
}
