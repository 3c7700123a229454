// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ResultsImport.h"

#include "base/DateRoutines.h"
#include "base/LargeArrays.h"
#include "base/NumberFormat.h"
#include "base/PolishPlural.h"
#include "base/ReportBuffer.h"
#include "base/SafeFile.h"
#include "database/Backups.h"
#include "database/DrawDatabase.h"
#include "database/DrawEntry.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <tuple>
#include <unistd.h>
#include <unordered_set>

namespace zg {

namespace {

// Whether a stored draw holds 20 different numbers 1..80: only such a draw can match a draw of a file.
bool IsSoundDraw(const DrawRecord& draw) {
    bool seen[81] = {};
    for (std::int32_t n : draw.Numbers) {
        if (!IsLotteryNumber(n) || seen[n])
            return false;
        seen[n] = true;
    }
    return true;
}

// Whether every draw of the file is a stored draw: the same date and the same numbers, sorted.
bool EveryDrawStored(const ImportedResults& results, DrawsView database) {
    struct DatedKey {
        std::int32_t year, month, day;
        NumberSetKey key;
    };
    const auto before = [](const DatedKey& a, const DatedKey& b) {
        return std::tie(a.year, a.month, a.day, a.key.low, a.key.high) <
               std::tie(b.year, b.month, b.day, b.key.low, b.key.high);
    };
    std::vector<DatedKey> stored;
    stored.reserve(static_cast<std::size_t>(std::max(database.count, 0)));
    for (std::int32_t k = 1; k <= database.count; ++k)
        if (IsSoundDraw(database[k]))
            stored.push_back(
                DatedKey{database[k].Year, database[k].Month, database[k].Day, KeyOf(database[k].Numbers)});
    std::sort(stored.begin(), stored.end(), before);
    return std::all_of(results.draws.begin(), results.draws.end(), [&](const ImportedDraw& d) {
        return std::binary_search(stored.begin(), stored.end(), DatedKey{d.year, d.month, d.day, KeyOf(d.numbers)},
                                  before);
    });
}

} // namespace

std::string OlderFileText(std::int32_t ordinal, const DrawRecord& last) {
    return "Plik nie zawiera losowań nowszych niż ostatnie w bazie (nr " + std::to_string(ordinal) + " z " +
           ZeroPad(last.Day, 2) + "." + ZeroPad(last.Month, 2) + "." + ZeroPad(last.Year, 4) +
           "). Baza wyników nie została zmieniona.";
}

std::string NoMatchText(std::int32_t ordinal, const DrawRecord& last) {
    return "Plik nie pasuje do bazy wyników: nie zawiera ostatniego losowania z bazy (nr " + std::to_string(ordinal) +
           " z dnia " + ZeroPad(last.Day, 2) + "." + ZeroPad(last.Month, 2) + "." + ZeroPad(last.Year, 4) +
           "), a zawiera losowania z tego dnia lub wcześniejsze. Jeśli plik jest pełnym archiwum wyników, wybierz "
           "„Zastąp "
           "całą bazę”.";
}

std::string RemovedDrawsQuestion(std::int32_t count, std::int32_t ordinal, const DrawRecord& last) {
    const std::string newest = "nr " + std::to_string(ordinal) + " z " + ZeroPad(last.Day, 2) + "." +
                               ZeroPad(last.Month, 2) + "." + ZeroPad(last.Year, 4);
    const std::string which = count == 1 ? "Baza zawiera 1 losowanie, którego nie ma w pliku (" + newest + ")"
                                         : "Baza zawiera " + CountOfDraws(count) +
                                               ", których nie ma w pliku (najnowsze z nich: " + newest + ")";
    return which + ". Zastąpienie bazy usunie je; kopia zostanie zapisana w folderze KOPIE. Zastąpić bazę?";
}

std::string ImportedText(std::int32_t count) {
    return "Wczytano losowania: " + std::to_string(count) + ".";
}

std::string SkipBadLinesQuestion(std::size_t badLines) {
    return "Błędne wiersze: " + std::to_string(badLines) + ". Pominąć je i wczytać pozostałe losowania?";
}

ImportPlan PlanImport(const ImportedResults& results, DrawsView database, bool databaseWhole, ImportMode mode) {
    ImportPlan plan;
    plan.mode = mode;
    const auto refuse = [&plan](ImportPlan::Outcome outcome, std::string message) {
        plan.outcome = outcome;
        plan.message = std::move(message);
        return plan;
    };
    const std::size_t m = results.draws.size();
    if (m == 0)
        return refuse(ImportPlan::Outcome::NoDraws, std::string(NoDrawsInFileText));
    if (mode == ImportMode::AppendNew && !databaseWhole)
        return refuse(ImportPlan::Outcome::NotLoadedWhole, std::string(NotLoadedWholeText));

    const std::int32_t count = std::max(database.count, 0);
    if (mode == ImportMode::ReplaceAll || count == 0) {
        plan.wholeFile = true;
        plan.firstNew = 0;
        plan.firstOrdinal = 1;
        if (m > static_cast<std::size_t>(MaxDraws))
            return refuse(ImportPlan::Outcome::TableFull, std::string(TableFullText));
        plan.newCount = static_cast<std::int32_t>(m);
        // The stored draws the replacement would remove: those whose numbers the file lacks.
        if (count > 0) {
            // The file's number sets, sorted: 16 bytes a draw, however many the file holds.
            const auto before = [](const NumberSetKey& a, const NumberSetKey& b) {
                return a.low != b.low ? a.low < b.low : a.high < b.high;
            };
            std::vector<NumberSetKey> inFile;
            inFile.reserve(m);
            for (const ImportedDraw& d : results.draws)
                inFile.push_back(KeyOf(d.numbers));
            std::sort(inFile.begin(), inFile.end(), before);
            for (std::int32_t k = 1; k <= count; ++k)
                if (!IsSoundDraw(database[k]) ||
                    !std::binary_search(inFile.begin(), inFile.end(), KeyOf(database[k].Numbers), before)) {
                    ++plan.removedCount;
                    plan.lastRemovedOrdinal = k;
                    plan.lastRemoved = database[k];
                }
        }
    } else {
        const DrawRecord& last = database[count];
        // The draws of the file are 20 different numbers 1..80 each: only such a last draw can match.
        const bool lastIsValid = IsSoundDraw(last);
        std::size_t firstNew = 0;
        bool matched = false;
        if (lastIsValid) {
            const NumberSetKey lastKey = KeyOf(last.Numbers);
            for (std::size_t i = m; i-- > 0;)
                if (KeyOf(results.draws[i].numbers) == lastKey) {
                    firstNew = i + 1;
                    matched = true;
                    break;
                }
        }
        if (!matched) {
            const auto after = [&last](const ImportedDraw& d) {
                if (d.year != last.Year)
                    return d.year > last.Year;
                if (d.month != last.Month)
                    return d.month > last.Month;
                return d.day > last.Day;
            };
            if (!std::all_of(results.draws.begin(), results.draws.end(), after)) {
                // An older copy of the results brings nothing and must not lead to a replacement,
                // which would drop the newer stored draws.
                if (EveryDrawStored(results, database))
                    return refuse(ImportPlan::Outcome::NothingNewer, OlderFileText(count, last));
                return refuse(ImportPlan::Outcome::NoMatch, NoMatchText(count, last));
            }
        }
        // The computed dates of appended draws run ahead of the real ones: the file's dates win for
        // the stored draws that match the file's, draw for draw, back from the last one.
        if (matched) {
            std::size_t i = firstNew;
            for (std::int32_t k = count; i > 0 && k >= 1; --k) {
                const ImportedDraw& d = results.draws[--i];
                const DrawRecord& stored = database[k];
                if (!IsSoundDraw(stored) || KeyOf(stored.Numbers) != KeyOf(d.numbers))
                    break;
                if (stored.Year != d.year || stored.Month != d.month || stored.Day != d.day)
                    plan.corrections.push_back(DateCorrection{k, d.year, d.month, d.day});
            }
        }
        if (firstNew == m && plan.corrections.empty())
            return refuse(ImportPlan::Outcome::NothingNew, std::string(NothingNewText));
        if (m - firstNew > static_cast<std::size_t>(MaxDraws - count))
            return refuse(ImportPlan::Outcome::TableFull, std::string(TableFullText));
        plan.firstNew = firstNew;
        plan.firstOrdinal = count + 1;
        plan.newCount = static_cast<std::int32_t>(m - firstNew);
    }
    plan.outcome = ImportPlan::Outcome::Write;
    plan.drawCountAfter = plan.firstOrdinal - 1 + plan.newCount;
    return plan;
}

DrawRecord ImportedRecord(const ImportedResults& results, const ImportPlan& plan, std::size_t index) {
    const ImportedDraw& d = results.draws[index];
    DrawRecord record;
    record.Number = plan.firstOrdinal + static_cast<std::int32_t>(index - plan.firstNew);
    record.Year = d.year;
    record.Month = d.month;
    record.Day = d.day;
    std::copy(d.numbers.begin(), d.numbers.end(), record.Numbers);
    return record;
}

std::string ImportedDatabaseBytes(const ImportedResults& results, const ImportPlan& plan, std::string_view oldBytes,
                                  std::int32_t layoutProbe) {
    if (!plan.writes())
        return {};
    const std::size_t end = plan.firstNew + static_cast<std::size_t>(plan.newCount);
    if (plan.wholeFile) {
        // The rewrite's bytes, made a slice at a time straight into one reserved buffer: every
        // value is followed by one space and every slice starts with a year from 1951 on, so the
        // slices join into the bytes of one rewrite of all the draws.
        constexpr std::size_t Slice = 4096;
        std::vector<DrawRecord> table(Slice + 1);
        ReportBuffer bytes(static_cast<std::size_t>(plan.newCount) * 80);
        for (std::size_t from = plan.firstNew; from < end; from += Slice) {
            const std::size_t to = std::min(end, from + Slice);
            for (std::size_t i = from; i < to; ++i)
                table[i - from + 1] = ImportedRecord(results, plan, i);
            AppendDatabaseFileBytes(bytes, DrawsView{table.data(), static_cast<std::int32_t>(to - from)});
        }
        return bytes.Take();
    }
    if (!plan.corrections.empty()) {
        // The stored draws with their real dates and the new draws after them, as one rewrite.
        const std::unique_ptr<DrawRecord[], decltype(&std::free)> table(
            static_cast<DrawRecord*>(std::calloc(static_cast<std::size_t>(MaxDraws) + 1, sizeof(DrawRecord))),
            &std::free);
        if (!table)
            return {};
        const LoadResult old = ParseDatabase(oldBytes, table.get());
        if (!old.ok || old.drawCount != plan.firstOrdinal - 1)
            return {};
        for (const DateCorrection& c : plan.corrections) {
            DrawRecord& d = table[static_cast<std::size_t>(c.ordinal)];
            d.Year = c.year;
            d.Month = c.month;
            d.Day = c.day;
        }
        for (std::size_t i = plan.firstNew; i < end; ++i)
            table[static_cast<std::size_t>(plan.firstOrdinal) + (i - plan.firstNew)] = ImportedRecord(results, plan, i);
        return DatabaseFileBytes(DrawsView{table.get(), plan.drawCountAfter});
    }
    ReportBuffer bytes(oldBytes.size() + static_cast<std::size_t>(plan.newCount) * 80);
    bytes.Raw(oldBytes);
    for (std::size_t i = plan.firstNew; i < end; ++i)
        AppendGroupBytes(bytes, ImportedRecord(results, plan, i), layoutProbe);
    return bytes.Take();
}

ImportWrite ApplyImport(const ImportedResults& results, const ImportPlan& plan, const std::string& folder,
                        const FileStamp& remembered, std::int32_t layoutProbe, bool dryRun) {
    ImportWrite w;
    if (!plan.writes())
        return w;
    const std::string dbPath = folder + "/" + std::string(DatabaseFileName);
    DatabaseGuard guard(dbPath, remembered);
    if (guard.status() == DatabaseGuard::Status::ChangedOutside) {
        w.status = ImportWrite::Status::ChangedOutside;
        return w;
    }
    if (guard.status() != DatabaseGuard::Status::Ready) {
        w.status = ImportWrite::Status::Failed;
        w.error = guard.error();
        return w;
    }
    // Appending keeps the file's bytes as they are; under the guard they are the bytes loaded.
    std::string oldBytes;
    if (!plan.wholeFile) {
        const ResultsFileBytes old = ReadResultsFileBytes(dbPath);
        if (!old.ok) {
            w.status = ImportWrite::Status::Failed;
            w.error = old.error;
            return w;
        }
        oldBytes = std::move(old.bytes);
    }
    const std::string bytes = ImportedDatabaseBytes(results, plan, oldBytes, layoutProbe);
    if (bytes.empty()) {
        w.status = ImportWrite::Status::Failed;
        w.error = SystemErrorText(ENOMEM);
        return w;
    }
    w.layoutProbe = plan.wholeFile ? results.draws[plan.firstNew].year : layoutProbe;
    if (!plan.wholeFile && !plan.corrections.empty()) {
        // A rewrite: its second integer (every value is followed by one space).
        const std::size_t from = bytes.find(' ') + 1;
        const std::size_t to = bytes.find(' ', from);
        std::from_chars(bytes.data() + from, bytes.data() + to, w.layoutProbe);
    }
    w.status = ImportWrite::Status::Written;
    if (dryRun)
        return w;
    DatabaseBackup backup(
        dbPath, plan.mode == ImportMode::ReplaceAll ? BackupReason::Replacement : BackupReason::Import, plan.wholeFile);
    if (!backup.ok()) {
        w.status = ImportWrite::Status::Failed;
        w.error = BackupFailedText(backup.error());
        return w;
    }
    const FileWriteResult written = guard.Replace(bytes);
    if (!written.ok) {
        w.status = ImportWrite::Status::Failed;
        w.error = written.error;
        return w;
    }
    backup.Keep();
    w.backupName = backup.name();
    w.backupReadError = backup.readError();
    w.backupBytes = backup.copiedBytes();
    w.stamp = guard.stamp();
    const std::string pendingPath = folder + "/" + std::string(PendingDownloadFileName);
    w.pendingDownloadDeleted = ::unlink(pendingPath.c_str()) == 0;
    return w;
}

} // namespace zg
