// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The draw database file "zentag.wyn": loading it into a draw table, turning a downloaded results
// file into it, appending one draw and writing the whole table anew. Pure standard C++ with POSIX
// file calls; nothing here shows a message: callers get the texts and decide how to show them.
//
// The file is nothing but signed decimal integers separated by runs of bytes 0..32, 24 per draw,
// oldest draw first. A group is either year-first (Number, Year, Month, Day, 20 numbers: the field
// order of DrawRecord) or day-first (Number, Day, Month, Year, 20 numbers); the second integer of
// the file (the layout probe) tells which.
#include "base/DrawTypes.h"
#include "base/ProgramFiles.h"
#include "base/ReportBuffer.h"
#include "base/SafeFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zg {

// The message shown when the database cannot be loaded, and its caption.
inline constexpr std::string_view LoadErrorCaption = "Błąd!";
inline constexpr std::string_view LoadErrorText =
    "Nie znaleziono pliku z wynikami losowań lub ma on niewłaściwy format! Upewnij się, czy plik znajduje się "
    "w katalogu z programem. Obecnie program nie będzie pracował prawidłowo !!!";

// The Yes/No question asked when the waiting download is smaller than the current database.
inline constexpr std::string_view MergeQuestionCaption = "Znaleziono nowsze wyniki losowań...";
inline constexpr std::string_view MergeQuestionText =
    "UWAGA! Plik z nowymi wynikami jest mniejszy niż ten z poprzednimi !!! Czy zamienić mimo to ?";

// Number of integers per draw in the file.
inline constexpr int DrawFieldCount = 24;

// A probe up to 1950 is read as day-first, anything larger as year-first. Appending writes the
// layout the file is read in.
inline constexpr bool ReadsDayFirst(std::int32_t layoutProbe) {
    return layoutProbe <= 1950;
}

struct LoadResult {
    bool ok = false;
    std::int32_t drawCount = 0;   // 0 whenever ok is false
    std::int32_t layoutProbe = 0; // second integer of the file (0 when the file has fewer, or it was unreadable)
    bool truncated = false;       // the file holds values past draw MaxDraws; they were not read
    int shortGroupValues = 0;     // values of a last group cut short by the end of the file (0..23), not counted
    std::string error;            // why the load failed: the system's error text or the bad token
    std::int32_t failedDraw = 0;  // a bad token failed the load: the ordinal of the draw it belongs to
    FileStamp stamp;              // the file that was read, from its descriptor (exists == false: not opened)
};

// Reads the database file at `path` into table[1..] (table has MaxDraws + 1 entries; table[0] is
// never touched). Every group of 24 integers fills one entry in the layout chosen by the probe.
// The draw count is the number of complete groups: a last group counts whether or not separators
// follow it; a last group cut short by the end of the file is not counted (shortGroupValues says
// how many values it had). The probe is taken from the second integer before anything later can
// fail, so a failed load still reports it.
// A token that is not an integer (optional sign, then digits) or does not fit 32 bits fails the
// load. Loading stops at MaxDraws draws and reads nothing after them; table[MaxDraws + 1] does not
// exist and is never written. Only a regular file is read: a folder, FIFO or device is refused
// without waiting on it or reading a byte. A file that holds more than WholeFileReadCap bytes
// (whatever its size claims) fails with the system's text for EFBIG.
// One sequential pass over the bytes through a fixed buffer, no allocation per draw.
LoadResult LoadDatabase(const std::string& path, DrawRecord* table);

// The same over bytes already in memory.
LoadResult ParseDatabase(std::string_view bytes, DrawRecord* table);

struct MergeResult {
    bool ok = false;          // everything done; otherwise `error` says what failed
    bool replaced = false;    // the database file now holds the converted download
    bool asked = false;       // the question about a smaller download was asked
    bool pendingKept = false; // the download is still there (the conversion failed), so the next start retries
    bool damaged = false;     // the download did not pass ConvertedDownloadIsSound and was deleted unused
    bool skipped = false;     // the download or the database is not a regular file: nothing was done
    std::string error;
    FileStamp stamp; // when replaced: the new database, from the descriptor written
};

// Turns the waiting full download at `pendingPath` into the database file at `dbPath`. The
// download's bytes are read once, through one descriptor, at most WholeFileReadCap of them; those
// very bytes are checked and converted, so a file renamed over the download meanwhile changes
// nothing. When the download is smaller than the database, `askReplaceSmaller` is asked
// (MergeQuestionCaption / MergeQuestionText, Yes/No); an empty callback counts as No. With no
// database file the download is converted without asking. A download that does not pass
// ConvertedDownloadIsSound (or holds more than the cap) is deleted before the question, and the
// database stays as it was (`damaged`). The conversion keeps every digit byte and writes every
// other byte as one space, so the result has the download's byte count. The database is replaced
// only once the new content is safely on disk (a temporary file in the same folder, flushed and
// renamed over it); any failure leaves the old database untouched. The download is deleted
// afterwards, also on No, unless another file has taken its name since it was read; only when the
// conversion itself failed is it kept, so that the next start can try again.
// A download that is not a regular file (a FIFO, a device, a folder) is no download, and a
// database path holding something other than a regular file cannot be replaced: then nothing is
// asked, read or removed, and `skipped` is set (the load then reports such a database).
// `scratchTable` is the table the soundness check loads into (see ConvertedDownloadIsSound).
// `beforeReplace`, when given, runs right before the database is replaced (the backup of the
// database); a text it returns is a failure: nothing is replaced, the download is kept for the next
// start and `error` is that text.
MergeResult MergePendingDownload(const std::string& pendingPath, const std::string& dbPath,
                                 const std::function<bool()>& askReplaceSmaller, DrawRecord* scratchTable = nullptr,
                                 const std::function<std::optional<std::string>()>& beforeReplace = {});

struct FileWriteResult {
    bool ok = false;
    std::string error;    // the system's error text
    FileStamp stamp;      // the file as this write left it, from the descriptor written
    bool stamped = false; // stamp is set: the write reached the file (which may have changed even on failure)
};

// The bytes AppendDrawRecord adds: the group in day-first order when ReadsDayFirst(layoutProbe),
// else in DrawRecord order, each value preceded by one space, then one more space.
std::string AppendedGroupBytes(const DrawRecord& draw, std::int32_t layoutProbe);
// The same bytes added to the end of `out`.
void AppendGroupBytes(ReportBuffer& out, const DrawRecord& draw, std::int32_t layoutProbe);

// Appends one draw to the end of the database file and flushes it to disk, in the layout the file
// is read in. Only a regular file (through a link: the link's target) is appended to; anything
// else is refused. A missing file is created only when `createIfMissing` (the table was empty, so
// the new file loses nothing); otherwise the append fails with ENOENT, since a file holding only
// the new draw would drop every earlier one at the next start. A created file holds the group in
// the layout the probe asks for, which is the layout the next load reads (probe 0: day-first, and
// the new file's second integer is then a day). A write that fails half-way is undone by cutting
// the file back to its old length (a file created by this call is removed again), so the database
// never keeps a partial group.
FileWriteResult AppendDrawRecord(const std::string& path, const DrawRecord& draw, std::int32_t layoutProbe,
                                 bool createIfMissing);

// The bytes of a database holding draws 1..count, every value followed by one space, no line
// breaks. The layout is year-first, unless draw 1's Year is 1950 or less: such a second integer
// would be read as a day, so those files are written day-first.
std::string DatabaseFileBytes(DrawsView draws);
// The same bytes added to the end of `out`.
void AppendDatabaseFileBytes(ReportBuffer& out, DrawsView draws);

struct RewriteResult {
    bool ok = false;
    std::int32_t layoutProbe = 0; // the second integer of the new file (0 for no draws); valid when ok
    std::string error;            // the system's error text
    FileStamp stamp;              // when ok: the new file, from the descriptor written before the rename
};

// Replaces the database file with draws 1..count in the layout of DatabaseFileBytes. The new content goes to
// a temporary file in the same folder, is flushed to disk and renamed over the database, so a
// failure at any point leaves the old file as it was. An existing database that is not writable is
// refused (EACCES) even though the rename could replace it.
RewriteResult RewriteDatabase(const std::string& path, DrawsView draws);

// Replaces the database file with `bytes` as a whole, the way RewriteDatabase does (a temporary
// file in the same folder, flushed to disk and renamed over it; any failure leaves the old file as
// it was). Every whole-file write of the database goes through here.
FileWriteResult ReplaceDatabaseFile(const std::string& path, std::string_view bytes);

} // namespace zg
