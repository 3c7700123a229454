// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Results files brought into the draw database: deciding what a file read by ReadResultsFile
// (database/ResultsFile.h) adds to the database in each of the two modes, and writing that as one
// whole-file replacement under the database guard. Pure standard C++; nothing here shows a message:
// callers get the Polish texts.
#include "base/DrawTypes.h"
#include "database/DatabaseGuard.h"
#include "database/ResultsFile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

// ---- texts (UTF-8) ----
inline constexpr std::string_view ImportCaption = "Import wyników...";
inline constexpr std::string_view AppendModeText = "Dopisz nowe losowania";
inline constexpr std::string_view ReplaceModeText = "Zastąp całą bazę";
inline constexpr std::string_view NoDrawsInFileText = "Plik nie zawiera żadnych losowań.";
inline constexpr std::string_view NothingNewText = "Baza wyników jest aktualna: plik nie zawiera nowych losowań.";
inline constexpr std::string_view PendingDownloadDeletedText =
    "Usunięto czekające pobranie wszystkich wyników (plik zentag), które przy następnym uruchomieniu zastąpiłoby "
    "wczytaną bazę.";
// "Plik nie pasuje do bazy wyników: nie zawiera ostatniego losowania z bazy (nr N z dnia DD.MM.RRRR), ..."
// for the last draw of the database, `ordinal` being its ordinal.
std::string NoMatchText(std::int32_t ordinal, const DrawRecord& last);
// "Plik nie zawiera losowań nowszych niż ostatnie w bazie (nr N z DD.MM.YYYY). ...": the refusal of
// an older copy of the stored draws in "Dopisz" mode; `last` is the database's last draw.
std::string OlderFileText(std::int32_t ordinal, const DrawRecord& last);
// "Baza zawiera K losowań, których nie ma w pliku (najnowsze z nich: nr N z DD.MM.YYYY). ...": the
// question before a replacement removes `count` draws (its own wording for one); `last` is the
// removed draw of the largest ordinal.
std::string RemovedDrawsQuestion(std::int32_t count, std::int32_t ordinal, const DrawRecord& last);
// "Wczytano losowania: K."
std::string ImportedText(std::int32_t count);
// "Błędne wiersze: N. Pominąć je i wczytać pozostałe losowania?"
std::string SkipBadLinesQuestion(std::size_t badLines);

// ---- into the database ----

enum class ImportMode {
    AppendNew,  // "Dopisz nowe losowania": the draws after the database's last one
    ReplaceAll, // "Zastąp całą bazę": the file becomes the imported draws
};

// A stored draw whose 20 numbers the file holds under another date: the file's date is the real one.
struct DateCorrection {
    std::int32_t ordinal = 0;
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
};

struct ImportPlan {
    enum class Outcome {
        Write,          // newCount draws are to be written
        NothingNew,     // no new draws: nothing is written (NothingNewText), not a failure
        NoDraws,        // refused: the file has no valid draw (NoDrawsInFileText)
        NoMatch,        // refused: the file does not continue the database (NoMatchText)
        NothingNewer,   // refused: the file lacks the last stored draw and holds only stored ones (OlderFileText)
        TableFull,      // refused: more than MaxDraws draws in total (TableFullText)
        NotLoadedWhole, // refused: appending to a database not read whole (NotLoadedWholeText)
    };
    ImportMode mode = ImportMode::AppendNew;
    Outcome outcome = Outcome::NoDraws;
    std::string message;             // the Polish text of every outcome but Write
    bool wholeFile = false;          // Write: the file becomes the imported draws (ReplaceAll, or an empty database)
    std::size_t firstNew = 0;        // Write: index in ImportedResults::draws of the first new draw
    std::int32_t newCount = 0;       // Write: the draws written (K); 0 otherwise
    std::int32_t firstOrdinal = 0;   // Write: the ordinal (and Number) of the first new draw
    std::int32_t drawCountAfter = 0; // Write: the draws of the database once written
    // ReplaceAll: the database draws whose 20 numbers, sorted, match no draw of the file (K), and
    // the one of them with the largest ordinal.
    std::int32_t removedCount = 0;
    std::int32_t lastRemovedOrdinal = 0;
    DrawRecord lastRemoved{};
    // AppendNew: the stored draws, walking back from the one that matches the database's last
    // draw, whose dates differ from the file's draws of the same numbers (C = corrections.size()).
    std::vector<DateCorrection> corrections;

    bool writes() const { return outcome == Outcome::Write; }
    bool refused() const { return !writes() && outcome != Outcome::NothingNew; }
};

// What the import would do to a database holding `database` (its draws as loaded; count 0 for no
// draws or no file). `databaseWhole` is false when the file holds more than was loaded (a failed
// or partial load): "Dopisz" then refuses, "Zastąp" repairs it. In "Dopisz", an imported draw
// matches the last draw L when its 20 numbers, sorted, are L's sorted; the new draws are those
// after the last match, or all of them when none matches and every one is dated after L. A file
// without a match whose every draw is a stored one (date and numbers) is an older copy
// (NothingNewer); any other file without a match does not continue the database (NoMatch). From the
// match the plan walks back while the stored draw and the file's draw hold the same numbers; each
// such pair of different dates is a date correction, and with one the plan writes even when no
// draw is new.
ImportPlan PlanImport(const ImportedResults& results, DrawsView database, bool databaseWhole, ImportMode mode);

// The record the plan writes for results.draws[index]: Number = its ordinal, the file's date and
// numbers.
DrawRecord ImportedRecord(const ImportedResults& results, const ImportPlan& plan, std::size_t index);

// The database file after the write: for a whole-file plan the year-first rewrite of the new
// draws (each value followed by one space); for a plan with date corrections the rewrite of the
// database read from `oldBytes` with the corrected dates and the new draws after it; otherwise
// `oldBytes` followed by each new draw as the one-draw append writes it in the layout of
// `layoutProbe`. Empty unless plan.writes().
std::string ImportedDatabaseBytes(const ImportedResults& results, const ImportPlan& plan, std::string_view oldBytes,
                                  std::int32_t layoutProbe);

struct ImportWrite {
    enum class Status {
        Written,        // the database holds the new bytes (with dryRun: would have)
        NothingToWrite, // the plan writes nothing
        ChangedOutside, // the file is not the one loaded (ChangedOutsideText); nothing written
        Failed,         // the lock, reading the old file or the write failed (`error`); nothing written
    };
    Status status = Status::NothingToWrite;
    std::string error;                   // the system's description when Failed
    FileStamp stamp;                     // Written: the file as written, to remember as the loaded one
    std::int32_t layoutProbe = 0;        // Written: the new file's second integer
    bool pendingDownloadDeleted = false; // a waiting full download "zentag" was deleted
    std::string backupName;              // Written: the backup in KOPIE made before it (empty: none needed)
    std::string backupReadError;         // Written: the database could not be read whole, and the backup
    std::int64_t backupBytes = 0;        // holds these bytes of it (DatabaseBackup::readError)
};

// Carries out a plan on the database of the program folder `folder`. Under the database guard
// (the lock, and the check that the file is still the one stamped `remembered` when it was
// loaded), reads the old file when appending and replaces the file as a whole with
// ImportedDatabaseBytes; then deletes a waiting full download, which would otherwise replace the
// imported database at the next start. Before the write the database goes to KOPIE (DatabaseBackup);
// a backup that cannot be made refuses the write. `layoutProbe` is the loaded file's second
// integer. With `dryRun` everything but the backup, the write and the deletion is done.
ImportWrite ApplyImport(const ImportedResults& results, const ImportPlan& plan, const std::string& folder,
                        const FileStamp& remembered, std::int32_t layoutProbe, bool dryRun = false);

} // namespace zg
