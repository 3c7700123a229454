// SPDX-License-Identifier: GPL-3.0-or-later
#include "database/ResultsFile.h"

#include "base/DateRoutines.h"
#include "base/LargeArrays.h"
#include "base/NumberFormat.h"
#include "base/SafeFile.h"

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

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a run of at most 4 digits.
std::int32_t SmallValue(std::string_view digits) {
    std::int32_t v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

// Length of the run of digits at the start of `text`.
std::size_t DigitRun(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n]))
        ++n;
    return n;
}

// A whole word shaped D.M.Y, D-M-Y, D/M/Y, Y-M-D, Y.M.D or Y/M/D, with a real date.
bool ParseDate(std::string_view word, ImportedDraw& draw) {
    const std::size_t l1 = DigitRun(word);
    if (l1 == 0 || l1 == word.size())
        return false;
    const char separator = word[l1];
    if (separator != '.' && separator != '-' && separator != '/')
        return false;
    const std::size_t l2 = DigitRun(word.substr(l1 + 1));
    const std::size_t at3 = l1 + 1 + l2 + 1;
    if (l2 == 0 || at3 > word.size() || word[at3 - 1] != separator)
        return false;
    const std::size_t l3 = DigitRun(word.substr(at3));
    if (l3 == 0 || at3 + l3 != word.size())
        return false;
    const std::string_view p1 = word.substr(0, l1), p2 = word.substr(l1 + 1, l2), p3 = word.substr(at3);
    std::int32_t y = 0, m = 0, d = 0;
    if (l1 == 4 && l2 <= 2 && l3 <= 2) {
        y = SmallValue(p1);
        m = SmallValue(p2);
        d = SmallValue(p3);
    } else if (l1 <= 2 && l2 <= 2 && l3 == 4) {
        d = SmallValue(p1);
        m = SmallValue(p2);
        y = SmallValue(p3);
    } else {
        return false;
    }
    if (y < FirstDrawYear || y > LastDrawYear || !IsProgramDate(d, m, y))
        return false;
    draw.year = y;
    draw.month = m;
    draw.day = d;
    return true;
}

// A whole word shaped H:MM or H:MM:SS (H of 1 or 2 digits).
bool ParseTime(std::string_view word, std::int32_t& seconds) {
    const std::size_t h = DigitRun(word);
    if (h == 0 || h > 2 || h == word.size() || word[h] != ':')
        return false;
    std::string_view rest = word.substr(h + 1);
    if (DigitRun(rest) != 2)
        return false;
    std::int32_t s = SmallValue(word.substr(0, h)) * 3600 + SmallValue(rest.substr(0, 2)) * 60;
    rest.remove_prefix(2);
    if (!rest.empty()) {
        if (rest.size() != 3 || rest[0] != ':' || DigitRun(rest.substr(1)) != 2)
            return false;
        s += SmallValue(rest.substr(1));
    }
    seconds = s;
    return true;
}

// What one line holds. Only the first min(numberCount, 20) entries of the arrays are set.
struct LineScan {
    bool dated = false;
    bool takeLast = false;      // the arrays keep the last 20 runs instead of the first 20
    std::int32_t digitRuns = 0; // runs of digits in a line without a date word
    std::int32_t numberCount = 0;
    std::size_t ring = 0;    // numberCount mod 20: where the next run goes when keeping the last 20
    std::int32_t values[20]; // the first (or last) 20 runs after the date (and time): 1..80, or 0 for any other value
    const char* digits[20];  // the same runs as written, without their leading zeros
    std::uint32_t digitCount[20]; // and their lengths ("0" for a run of zeros)
};

enum ByteClass : std::uint8_t { OtherByte, DigitByte, WordPunctuation, LineEnd };

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int c = '0'; c <= '9'; ++c)
        classes[static_cast<std::size_t>(c)] = DigitByte;
    for (char c : {'.', '-', '/', ':'})
        classes[static_cast<unsigned char>(c)] = WordPunctuation;
    classes['\n'] = LineEnd;
    classes['\r'] = LineEnd;
    return classes;
}
constexpr std::array<std::uint8_t, 256> ByteClasses = MakeByteClasses();

inline std::uint8_t ClassOf(char c) {
    return ByteClasses[static_cast<unsigned char>(c)];
}

// Reads the line that starts at `p` up to its line end (or `end`), which it returns. Its words
// are looked at one by one until the date word and the word after it (a time or not); from there
// on only the runs of digits matter, and they never cross a word's edge.
const char* ScanLine(const char* p, const char* const end, ImportedDraw& draw, LineScan& scan) {
    // The next word with a digit, trailing . - / : removed; empty at the line's end.
    const auto nextWord = [&p, end]() -> std::string_view {
        while (p != end) {
            const std::uint8_t c = ClassOf(*p);
            if (c == LineEnd)
                break;
            if (c == OtherByte) {
                ++p;
                continue;
            }
            const char* const start = p;
            while (p != end && (ClassOf(*p) == DigitByte || ClassOf(*p) == WordPunctuation))
                ++p;
            std::string_view word(start, static_cast<std::size_t>(p - start));
            while (!word.empty() && !IsDigit(word.back()))
                word.remove_suffix(1);
            if (!word.empty())
                return word;
        }
        return {};
    };
    for (;;) {
        const std::string_view word = nextWord();
        if (word.empty())
            return p;
        if (ParseDate(word, draw)) {
            scan.dated = true;
            break;
        }
        for (std::size_t j = 0; j < word.size(); ++j)
            scan.digitRuns += IsDigit(word[j]) && (j == 0 || !IsDigit(word[j - 1])) ? 1 : 0;
    }
    // A time right after the date is skipped; any other word holds the first numbers.
    const char* const afterDate = p;
    const std::string_view next = nextWord();
    if (next.empty() || !ParseTime(next, draw.timeOfDay))
        p = afterDate;
    while (p != end) {
        const std::uint8_t c = ClassOf(*p);
        if (c == LineEnd)
            break;
        if (c != DigitByte) {
            ++p;
            continue;
        }
        while (p + 1 != end && *p == '0' && ClassOf(p[1]) == DigitByte)
            ++p; // leading zeros; the last digit of a run of zeros stays
        const char* const start = p;
        std::int32_t value = 0;
        // A run of one or two digits (every number of a results file) is read in one step, without
        // a branch on its length; a longer run goes through the loop.
        const bool second = end - p >= 2 && ClassOf(p[1]) == DigitByte;
        if (!(second && end - p >= 3 && ClassOf(p[2]) == DigitByte)) {
            const std::int32_t first = p[0] - '0';
            value = second ? first * 10 + (p[1] - '0') : first;
            p += second ? 2 : 1;
        } else {
            while (p != end && ClassOf(*p) == DigitByte) {
                value = p - start < 3 ? value * 10 + (*p - '0') : 0;
                ++p;
            }
        }
        if (scan.numberCount < 20 || scan.takeLast) {
            // Keeping the last 20, the arrays are a ring: run k goes to k mod 20.
            const std::size_t i = scan.ring;
            scan.values[i] = IsLotteryNumber(value) && p - start < 3 ? value : 0;
            scan.digits[i] = start;
            scan.digitCount[i] = static_cast<std::uint32_t>(p - start);
        }
        scan.ring = scan.ring == 19 ? 0 : scan.ring + 1;
        if (scan.numberCount < INT32_MAX)
            ++scan.numberCount;
    }
    if (scan.takeLast && scan.numberCount > 20) {
        // The oldest of the last 20 runs sits where the next run would have gone.
        const auto oldest = static_cast<std::ptrdiff_t>(scan.ring);
        std::rotate(scan.values, scan.values + oldest, scan.values + 20);
        std::rotate(scan.digits, scan.digits + oldest, scan.digits + 20);
        std::rotate(scan.digitCount, scan.digitCount + oldest, scan.digitCount + 20);
    }
    return p;
}

// Date, then time.
bool Earlier(const ImportedDraw& a, const ImportedDraw& b) {
    if (a.year != b.year)
        return a.year < b.year;
    if (a.month != b.month)
        return a.month < b.month;
    if (a.day != b.day)
        return a.day < b.day;
    return a.timeOfDay < b.timeOfDay;
}

bool SameDate(const ImportedDraw& a, const ImportedDraw& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// Where the lines' draws and problems go: the first `kept` problems (in line order) into
// out.problems, every one to `each` when given, the draws into out.draws when `keepDraws`.
struct LineSink {
    ImportedResults& out;
    std::size_t kept = KeptImportProblems;
    bool keepDraws = true;
    const std::function<void(const ImportProblem&)>* each = nullptr;
    std::size_t lineProblems = 0;

    void Add(ImportProblem&& problem) {
        ++lineProblems;
        if (each != nullptr)
            (*each)(problem);
        if (out.problems.size() < kept)
            out.problems.push_back(std::move(problem));
    }
};

// The draws of a dated line that passes the checks, or its problem.
void TakeDatedLine(std::int32_t lineNumber, const LineScan& scan, ImportedDraw& draw, LineSink& sink) {
    ImportedResults& out = sink.out;
    if (scan.numberCount > 20)
        ++out.linesWithExtraNumbers;
    if (scan.numberCount < 20) {
        ImportProblem problem;
        problem.line = lineNumber;
        problem.kind = ImportProblem::Kind::TooFewNumbers;
        problem.count = scan.numberCount;
        sink.Add(std::move(problem));
        return;
    }
    // One pass without a branch a number: whether any value lies outside 1..80 (it was read as 0)
    // and whether any number comes twice. Numbers 1..64 go to one word, 65..80 to the other, both
    // kept in registers through masks, one of them empty: a branch on the word would be taken at
    // random, and a word picked by index in memory would make each number wait for the store of
    // the one before.
    std::uint64_t seenLow = 0, seenHigh = 0, twice = 0;
    std::uint32_t outside = 0;
    for (std::size_t j = 0; j < 20; ++j) {
        const std::int32_t n = scan.values[j]; // 0..80
        outside |= static_cast<std::uint32_t>(n == 0);
        const auto u = static_cast<std::uint32_t>(n - 1);
        const std::uint64_t bit = std::uint64_t{1} << (u & 63);
        const std::uint64_t inHigh = std::uint64_t{0} - ((u >> 6) & 1u); // all ones for 65..80 (and 0)
        const std::uint64_t low = bit & ~inHigh;
        const std::uint64_t high = bit & inHigh;
        twice |= (seenLow & low) | (seenHigh & high);
        seenLow |= low;
        seenHigh |= high;
        draw.numbers[j] = static_cast<std::uint8_t>(n);
    }
    if ((outside | twice) != 0) {
        // The line's problem: the first value outside 1..80, else the first number met again.
        ImportProblem problem;
        problem.line = lineNumber;
        std::size_t j = 0;
        if (outside != 0) {
            problem.kind = ImportProblem::Kind::OutOfRange;
            while (scan.values[j] != 0)
                ++j;
        } else {
            problem.kind = ImportProblem::Kind::Repeated;
            bool seen[81] = {};
            while (!seen[scan.values[j]]) // 1..80 here
                seen[scan.values[j++]] = true;
        }
        problem.digits.assign(scan.digits[j], scan.digitCount[j]);
        sink.Add(std::move(problem));
        return;
    }
    draw.line = lineNumber;
    if (sink.keepDraws)
        out.draws.push_back(draw);
}

// The number sets of the draws accepted for one date, to tell a repeat. A date has a few draws in
// every results file: their sets are kept in a short list and looked through, which costs no
// allocation a draw. A date with more than Few draws (a file that gives every draw one date, say)
// moves them into a hash set, so that the check stays linear in the file.
class SameDayDraws {
public:
    // Adds the set; false when it is there already.
    bool Insert(const NumberSetKey& key) {
        if (many_.empty() && few_.size() < Few) {
            for (const NumberSetKey& k : few_)
                if (k == key)
                    return false;
            few_.push_back(key);
            return true;
        }
        if (many_.empty())
            many_.insert(few_.begin(), few_.end());
        return many_.insert(key).second;
    }

    // Forgets every set, for the next date. A hash set grown by one crowded day is dropped rather
    // than cleared bucket by bucket at every later date.
    void Clear() {
        few_.clear();
        if (!many_.empty())
            many_ = {};
    }

private:
    static constexpr std::size_t Few = 32;
    std::vector<NumberSetKey> few_;
    std::unordered_set<NumberSetKey, NumberSetKeyHash> many_;
};

// Whether a's date and time come after b's.
bool Later(const ImportedDraw& a, const ImportedDraw& b) {
    return Earlier(b, a);
}

// The indexes of `draws` (oldest first) kept as in order: the longest run of draws, not
// necessarily adjacent, whose date and time never go back (equal ones are in order), and among
// runs of that length the one of the earliest draws. From the end, longest[i] is the length of the
// longest such run that starts at draw i, found by a binary search over `heads`: heads[k] is the
// latest draw that starts a run of k + 1 draws among those looked at, so the heads never get later
// with k. Walking from the first draw, a draw is taken when it is not earlier than the last taken
// and its longest run is exactly what is still needed: that run completes the longest one, and no
// earlier draw could.
std::vector<std::size_t> InOrderDraws(const std::vector<ImportedDraw>& draws) {
    const std::size_t n = draws.size();
    std::vector<std::uint32_t> longest(n);
    std::vector<const ImportedDraw*> heads;
    for (std::size_t i = n; i-- > 0;) {
        const ImportedDraw& draw = draws[i];
        // The first head earlier than this draw: every head before it can follow the draw.
        const auto at = std::partition_point(heads.begin(), heads.end(),
                                             [&draw](const ImportedDraw* head) { return !Earlier(*head, draw); });
        longest[i] = static_cast<std::uint32_t>(at - heads.begin()) + 1;
        if (at == heads.end())
            heads.push_back(&draw);
        else
            *at = &draw;
    }
    std::vector<std::size_t> kept;
    kept.reserve(heads.size());
    std::size_t needed = heads.size();
    for (std::size_t i = 0; i < n && needed > 0; ++i)
        if (longest[i] == needed && (kept.empty() || !Earlier(draws[i], draws[kept.back()]))) {
            kept.push_back(i);
            --needed;
        }
    return kept;
}

// Puts the valid draws in order: reversed when the file lists the newest first, then the longest
// in-order run kept (InOrderDraws) and every other draw a problem of its own line, then the
// repeats of a kept draw of the same date dropped.
void OrderDraws(ImportedResults& out, std::size_t kept) {
    std::vector<ImportedDraw>& draws = out.draws;
    if (draws.size() >= 2 && Earlier(draws.back(), draws.front())) {
        std::reverse(draws.begin(), draws.end());
        out.reversed = true;
    }
    // A file in order, the usual case, keeps every draw without the search.
    std::vector<ImportProblem> misplaced; // the draws out of the kept run, in the draws' order
    if (std::adjacent_find(draws.begin(), draws.end(), Later) != draws.end()) {
        const std::vector<std::size_t> inOrder = InOrderDraws(draws);
        std::size_t next = 0;
        for (std::size_t i = 0; i < draws.size(); ++i) {
            if (next < inOrder.size() && inOrder[next] == i) {
                draws[next++] = draws[i];
                continue;
            }
            ImportProblem problem;
            problem.line = draws[i].line;
            problem.kind = ImportProblem::Kind::DateOutOfOrder;
            misplaced.push_back(std::move(problem));
        }
        draws.resize(next);
    }
    SameDayDraws sameDay; // the accepted draws of the last accepted date
    std::size_t accepted = 0;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const ImportedDraw& draw = draws[i];
        if (accepted > 0 && !SameDate(draw, draws[accepted - 1]))
            sameDay.Clear();
        if (!sameDay.Insert(KeyOf(draw.numbers))) {
            ++out.repeats;
            continue;
        }
        draws[accepted++] = draw;
    }
    draws.resize(accepted);
    // Both lists are in line order already (the later one backwards when the draws were turned
    // round); one merge puts all problems in line order. No line has two problems.
    if (misplaced.empty())
        return;
    if (out.reversed)
        std::reverse(misplaced.begin(), misplaced.end());
    out.misplacedLines.reserve(misplaced.size());
    for (const ImportProblem& problem : misplaced)
        out.misplacedLines.push_back(problem.line);
    out.problemCount += misplaced.size();
    std::vector<ImportProblem> merged;
    merged.reserve(out.problems.size() + misplaced.size());
    std::merge(std::make_move_iterator(out.problems.begin()), std::make_move_iterator(out.problems.end()),
               std::make_move_iterator(misplaced.begin()), std::make_move_iterator(misplaced.end()),
               std::back_inserter(merged),
               [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
    if (merged.size() > kept)
        merged.resize(kept);
    out.problems = std::move(merged);
}
} // namespace

std::string ImportedDateText(const ImportedDraw& draw) {
    return ZeroPad(draw.day, 2) + "." + ZeroPad(draw.month, 2) + "." + ZeroPad(draw.year, 4);
}

std::string ImportProblem::Reason() const {
    switch (kind) {
    case Kind::NoDate:
        return "brak daty";
    case Kind::TooFewNumbers:
        return "za mało liczb (" + std::to_string(count) + ")";
    case Kind::OutOfRange:
        return "liczba spoza zakresu 1..80: " + digits;
    case Kind::Repeated:
        return "powtórzona liczba " + digits;
    case Kind::DateOutOfOrder:
        return "data nie pasuje do sąsiednich losowań";
    }
    return {};
}

ResultsFileBytes ReadResultsFileBytes(const std::string& path) {
    ResultsFileBytes r;
    const OpenedFile file = OpenRegularFileForReading(path);
    if (!file.ok()) {
        r.error = file.error;
        return r;
    }
    // The size the file claims is only a hint: the read itself stops at the limit.
    const int error =
        file.size > ResultsFileLimit ? EFBIG : ReadToEnd(file.fd.get(), r.bytes, ResultsFileLimit, file.size);
    if (error != 0) {
        r.error = error == EFBIG ? std::string(ResultsFileTooLargeText) : SystemErrorText(error);
        return r;
    }
    r.ok = true;
    return r;
}

namespace {

// Reads every line of `bytes` into `sink`, each draw made of the numbers `take` names.
void ScanLines(std::string_view bytes, TakeNumbers take, LineSink& sink) {
    std::int32_t lineNumber = 0;
    bool seenDated = false;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p != end) {
        ImportedDraw draw;
        LineScan scan;
        scan.takeLast = take == TakeNumbers::Last;
        p = ScanLine(p, end, draw, scan);
        if (p != end)
            p += *p == '\r' && p + 1 != end && p[1] == '\n' ? 2 : 1;
        if (lineNumber < INT32_MAX)
            ++lineNumber;
        if (scan.dated) {
            seenDated = true;
            TakeDatedLine(lineNumber, scan, draw, sink);
        } else if (seenDated && scan.digitRuns >= 20) {
            ImportProblem problem;
            problem.line = lineNumber;
            problem.kind = ImportProblem::Kind::NoDate;
            sink.Add(std::move(problem));
        }
    }
}

} // namespace

ImportedResults ReadResultsFile(std::string_view bytes, TakeNumbers take, std::size_t keptProblems) {
    ImportedResults out;
    out.take = take;
    // A dated line with 20 numbers takes at least 48 bytes: room for every draw the bytes can hold.
    out.draws.reserve(bytes.size() / 48 + 1);
    AdviseHugePages(out.draws.data(), out.draws.capacity() * sizeof(ImportedDraw));
    LineSink sink{out, keptProblems};
    ScanLines(bytes, take, sink);
    out.problemCount = sink.lineProblems;
    OrderDraws(out, keptProblems);
    return out;
}

void ForEachImportProblem(std::string_view bytes, const ImportedResults& results,
                          const std::function<void(const ImportProblem&)>& each) {
    if (results.problems.size() == results.problemCount) {
        for (const ImportProblem& problem : results.problems)
            each(problem);
        return;
    }
    // The lines are read again, and every problem goes out as it is found: nothing is kept.
    std::size_t nextMisplaced = 0;
    const auto misplacedUpTo = [&](std::int32_t line) {
        for (; nextMisplaced < results.misplacedLines.size() && results.misplacedLines[nextMisplaced] < line;
             ++nextMisplaced) {
            ImportProblem problem;
            problem.line = results.misplacedLines[nextMisplaced];
            problem.kind = ImportProblem::Kind::DateOutOfOrder;
            each(problem);
        }
    };
    const std::function<void(const ImportProblem&)> inOrder = [&](const ImportProblem& problem) {
        misplacedUpTo(problem.line);
        each(problem);
    };
    ImportedResults scratch;
    LineSink sink{scratch, 0, false, &inOrder};
    ScanLines(bytes, results.take, sink);
    // Lines past INT32_MAX all count as INT32_MAX: those go last.
    for (; nextMisplaced < results.misplacedLines.size(); ++nextMisplaced) {
        ImportProblem problem;
        problem.line = results.misplacedLines[nextMisplaced];
        problem.kind = ImportProblem::Kind::DateOutOfOrder;
        each(problem);
    }
}

} // namespace zg
