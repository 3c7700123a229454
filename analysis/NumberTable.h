// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of the 80 numbers over a range of draws: how often each number came, when it came
// last, how long it has been away, its gaps, and how often it came in the last draws against the
// 95% band of chance; with two figures for the whole table (the longest current absence and the
// numbers outside the band) beside what chance alone gives for each. Pure standard C++; the texts
// and the report are in analysis/NumberTableReport.h.
#include "analysis/ChanceStatistics.h"
#include "analysis/DrawQuery.h"
#include "base/DrawMasks.h"
#include "base/DrawTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

enum class NumberStatus { Normal, Hot, Cold };

// One number over the range A..B of n draws.
struct NumberRow {
    std::int32_t number = 0;
    std::int32_t count = 0;      // draws of the range that hold the number (a draw counts once)
    double sharePercent = 0;     // 100 * count / n
    std::int32_t lastDraw = 0;   // the newest draw of the range that holds it; 0: none
    DrawDate lastDate;           // that draw's date as stored
    std::int32_t currentGap = 0; // B - lastDraw, or n when the number never came
    std::int64_t gapSum = 0;     // the gaps before each appearance, as the search counts them
    std::int32_t longestGap = 0; // the largest of those gaps and the current gap
    double pCurrentGap = 0;      // 0.75^currentGap: the chance that one number stays away that long
    std::int32_t countLast = 0;  // draws among the last N of the range that hold it
    NumberStatus status = NumberStatus::Normal;
    bool inSet = false;

    // The mean of the gaps before each appearance; none when the number never came.
    std::optional<double> meanGap() const {
        return count > 0 ? std::optional<double>(static_cast<double>(gapSum) / count) : std::nullopt;
    }
};

struct NumberTable {
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::int32_t draws = 0;                      // n = B - A + 1
    std::int32_t last = 0;                       // N, clamped to 1..n
    std::string firstDateLong, lastDateLong;     // DD.MM.YYYY of draws A and B
    std::string firstDateShort, lastDateShort;   // DD.MM.YY of draws A and B
    CountBand bandLast;                          // the 95% band of Binomial(N, 1/4)
    std::vector<NumberRow> rows;                 // numbers 1..80 in order
    std::int32_t longestCurrentGap = 0;          // G: the largest current gap
    std::vector<std::int32_t> longestGapNumbers; // the numbers whose current gap is G, ascending
    double pAny = 0;                             // chance that some number of 80 is away for G draws or more
    std::int32_t outsideCount = 0;               // K: the hot and cold numbers
    double outsideExpected = 0;                  // 80 * P(C < low or C > high), C ~ Binomial(N, 1/4)
};

// The query's draws, masks, set and range; its hit bounds are not read.
struct NumberTableInput : DrawQuery {
    std::int32_t last = 100; // N, clamped to 1..n
};

// The table of the range, or none when the range is not 1 <= A <= B <= the view's draws.
std::optional<NumberTable> ComputeNumberTable(const NumberTableInput& in);

// The chance that at least one of the 80 numbers has stayed away from the last `gap` fair draws:
// 1 - P(all 80 were seen in `gap` draws), from the chain over the count of numbers not yet seen.
double ChanceSomeNumberAway(std::int32_t gap);

// 80 * P(C < band.low or C > band.high) for C ~ Binomial(draws, 1/4): the numbers chance alone
// puts outside the band.
double ExpectedOutsideBand(std::int32_t draws, CountBand band);

} // namespace zg
