// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Results files published by lottery sites (text or CSV in many layouts: "1;01.10.1996;3,8,13,...",
// "12345. 2023-05-18 14:00 3 8 ... 80 7", with or without a heading line, newest draw first or last):
// reading one and checking its lines into draws and problems. Pure standard C++; nothing here shows
// a message: callers get the Polish texts.
//
// Reading a file, line by line (a line ends at LF, CR LF or a lone CR; lines count from 1):
// - a word is a maximal run of the bytes 0-9 . - / : with trailing . - / : removed; a word
//   without a digit is dropped;
// - the line's date word is its first word shaped D.M.Y, D-M-Y, D/M/Y, Y-M-D, Y.M.D or Y/M/D (one
//   separator twice, D and M of 1..2 digits, Y of 4, Y in 1951..2999, a real day of the month by
//   the program's calendar); words before it are ignored;
// - a time (H:MM or H:MM:SS) right after the date word is the draw's time;
// - the runs of digits of the later words are the numbers; the first 20 make the draw, or the
//   last 20 when the reader is told so (a layout with a draw-of-day index after the date).
// A line without a date word before the first dated line is skipped; after it, it is a problem
// when it holds 20 or more runs of digits. A dated line with fewer than 20 numbers, a number
// outside 1..80 or a repeated number is a problem. The valid draws are reversed when the first is
// later than the last; of them the longest run whose date and time never go back is kept (the
// earliest draws among runs of that length), every other one is a problem, and a kept draw with the
// date and the 20 numbers of a kept one before it is dropped as a repeat.
#include "base/SafeFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

// A results file is read whole; anything larger is refused.
inline constexpr std::int64_t ResultsFileLimit = WholeFileReadCap;

inline constexpr std::string_view ResultsFileTooLargeText = "Plik z wynikami jest większy niż 64 MiB.";

// ---- reading ----

// The bytes of a results file: only a regular file, at most ResultsFileLimit bytes. On failure
// `error` is the system's description or ResultsFileTooLargeText.
struct ResultsFileBytes {
    bool ok = false;
    std::string bytes;
    std::string error;
};
ResultsFileBytes ReadResultsFileBytes(const std::string& path);

// One draw of the file: its line, date, time and its first 20 numbers in the file's order.
struct ImportedDraw {
    std::int32_t line = 0;
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t timeOfDay = 0;             // H * 3600 + MM * 60 + SS; 0 without a time
    std::array<std::uint8_t, 20> numbers{}; // each 1..80
};

// "DD.MM.YYYY".
std::string ImportedDateText(const ImportedDraw& draw);

// A line left out, and why.
struct ImportProblem {
    enum class Kind {
        NoDate,         // "brak daty"
        TooFewNumbers,  // "za mało liczb (N)"
        OutOfRange,     // "liczba spoza zakresu 1..80: X"
        Repeated,       // "powtórzona liczba X"
        DateOutOfOrder, // "data nie pasuje do sąsiednich losowań": outside the longest in-order run
    };
    std::int32_t line = 0;
    Kind kind = Kind::NoDate;
    std::int32_t count = 0; // TooFewNumbers: the numbers the line has
    std::string digits;     // OutOfRange, Repeated: the number as written, without leading zeros

    // The reason as the program words it.
    std::string Reason() const;
};

// A file may hold millions of bad lines: the reading keeps the first ones only.
inline constexpr std::size_t KeptImportProblems = 10000;

// Which 20 numbers of a line that holds more make the draw.
enum class TakeNumbers { First, Last };

struct ImportedResults {
    std::vector<ImportedDraw> draws;          // the accepted draws, oldest first
    std::vector<ImportProblem> problems;      // the first of them (KeptImportProblems at most), in line order
    std::size_t problemCount = 0;             // every bad line, kept or not
    std::vector<std::int32_t> misplacedLines; // the lines of every DateOutOfOrder problem, ascending
    std::int32_t repeats = 0;                 // draws dropped as repeats
    std::int32_t linesWithExtraNumbers = 0;   // dated lines with more than 20 numbers (the rest was ignored)
    bool reversed = false;                    // the file listed the newest draw first
    TakeNumbers take = TakeNumbers::First;    // the numbers each draw was made of
};

// Reads the bytes of a results file. Any bytes give draws and problems; linear in the size for a
// file in order, n log n in its draws otherwise. Of the problems the first `keptProblems` are
// kept; problemCount counts all.
ImportedResults ReadResultsFile(std::string_view bytes, TakeNumbers take = TakeNumbers::First,
                                std::size_t keptProblems = KeptImportProblems);

// Every problem of the bytes `results` was read from, in line order, each given to `each` as it
// is found: the kept ones when they are all, else the lines are read once more without keeping
// anything, so that memory stays bounded however many bad lines the file holds.
void ForEachImportProblem(std::string_view bytes, const ImportedResults& results,
                          const std::function<void(const ImportProblem&)>& each);

// ---- number sets ----

// The 20 numbers of a valid draw as an 80-bit set: two draws are repeats when their sets agree.
struct NumberSetKey {
    std::uint64_t low = 0;  // numbers 1..64
    std::uint32_t high = 0; // numbers 65..80
    bool operator==(const NumberSetKey&) const = default;
};

struct NumberSetKeyHash {
    std::size_t operator()(const NumberSetKey& k) const {
        return static_cast<std::size_t>((k.low ^ (std::uint64_t{k.high} << 48)) * 0x9E3779B97F4A7C15ull >> 7);
    }
};

// Each number (1..80) puts its bit into both words through masks, one of them empty, so that both
// words stay in registers, without a branch on which (it would be taken at random). Only draws of
// 20 different numbers 1..80 get a key; another value would set no bit of the key's 80.
template <typename Numbers> NumberSetKey KeyOf(const Numbers& numbers) {
    std::uint64_t low = 0, high = 0;
    for (std::int32_t n : numbers) {
        const auto u = static_cast<std::uint32_t>(n - 1);
        const std::uint64_t bit = std::uint64_t{1} << (u & 63);
        low |= bit & (std::uint64_t{0} - (u < 64));
        high |= bit & (std::uint64_t{0} - (u - 64 < 16));
    }
    NumberSetKey k;
    k.low = low;
    k.high = static_cast<std::uint32_t>(high);
    return k;
}

} // namespace zg
