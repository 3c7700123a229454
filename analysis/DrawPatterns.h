// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape of the draws of a range beside the exact laws of a fair draw of 20 numbers out of 80:
// the sum of the numbers, how many are odd, how many are low (1..40), how many numbers have their
// successor in the same draw, how many repeat from the previous draw, and how the eight decades
// fill. Each pattern has its observed counts against the expected ones, its mean and standard
// deviation against the law's, and a chi-squared test. Pure standard C++; the texts and the report
// are in analysis/PatternsReport.h.
#include "analysis/ChanceStatistics.h"
#include "analysis/DrawQuery.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zg {

enum class PatternKind { Sum, Odd, Low, Consecutive, Repeated };
inline constexpr int PatternCount = 5;

// "sum", "odd", "low", "consecutive", "repeated".
const char* PatternName(PatternKind kind);

// A law over the values first..first + p.size() - 1: p[i] is the chance of the value first + i.
struct ValueLaw {
    std::int32_t first = 0;
    std::vector<double> p;
};

// The laws of a pattern for k numbers drawn uniformly out of 1..n (the program's draws: n = 80,
// k = 20; n even, k <= 20 and n <= 80). The sum from the exact count of the k-subsets of each sum;
// the odd and the low numbers (<= n / 2) C(n/2, v) C(n/2, k - v) / C(n, k); the numbers whose
// successor is drawn too C(n - k + 1, k - v) C(k - 1, k - 1 - v) / C(n, k) (k - v runs); the numbers
// of a given k-set drawn again C(k, v) C(n - k, k - v) / C(n, k).
ValueLaw SumLaw(std::int32_t n, std::int32_t k);
ValueLaw HalfLaw(std::int32_t n, std::int32_t k);
ValueLaw ConsecutiveLaw(std::int32_t n, std::int32_t k);
ValueLaw RepeatedLaw(std::int32_t n, std::int32_t k);

// SumLaw(80, 20), computed once per process (the first call; safe from any thread).
const ValueLaw& DrawSumLaw();

// The law of a pattern of the program's draws.
const ValueLaw& PatternLaw(PatternKind kind);

// Values from..to (both inclusive) taken together.
struct PatternRow {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int64_t observed = 0; // the draws whose value falls in the row
    double expected = 0;       // M times the law's chance of the row
};

// The chi-squared test over rows: rows are added into a class until its expected count reaches 5,
// which closes it; a remainder below 5 joins the last closed class. The classes (ChiSquareTest's
// bins) name rows by their index. None with fewer than 2 classes.
std::optional<ChiSquareTest> PatternChiSquare(const std::vector<PatternRow>& rows);

struct PatternResult {
    PatternKind kind = PatternKind::Sum;
    std::int64_t draws = 0; // M: the counted draws, or those with a counted previous draw (repeated)
    std::vector<PatternRow> rows;
    std::optional<double> mean; // none when M = 0
    std::optional<double> sd;   // root of the mean squared deviation (divided by M)
    double expectedMean = 0;
    double expectedSd = 0;
    std::optional<ChiSquareTest> test;
};

// The sum's rows: classes of SumClassWidth from 210, the last one [1410, 1410].
inline constexpr std::int32_t SumClassWidth = 20;

struct DecadeRow {
    std::int32_t from = 0; // 1, 11, ..., 71
    std::int32_t to = 0;   // 10, 20, ..., 80
    std::int64_t observed = 0;
    double expected = 0;     // 2.5 N
    std::optional<double> z; // (T - 2.5 N) / sqrt(N v); none when N = 0
};

struct DecadeResult {
    std::array<DecadeRow, 8> rows;
    std::optional<ChiSquareTest> test; // 79/60 times Pearson's statistic on 7 degrees; none when N = 0
};

// The variance of the count of one decade's numbers in one draw: 20 (10/80)(70/80)(60/79).
inline constexpr double DecadeVariance = 20.0 * (10.0 / 80.0) * (70.0 / 80.0) * (60.0 / 79.0);

struct DrawPatterns {
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::int32_t draws = 0;                           // B - A + 1
    std::int32_t counted = 0;                         // N: the draws of 20 distinct numbers within 1..80
    std::int32_t skipped = 0;                         // draws - N
    std::string firstDateLong, lastDateLong;          // DD.MM.YYYY of draws A and B
    std::string firstDateShort, lastDateShort;        // DD.MM.YY of draws A and B
    std::array<PatternResult, PatternCount> patterns; // in PatternKind's order
    DecadeResult decades;
};

// The patterns of the draws query.rangeFrom..query.rangeTo (its masks when built for its draws),
// or none when the range is not 1 <= A <= B <= the view's draws.
std::optional<DrawPatterns> ComputeDrawPatterns(const DrawQuery& query);

} // namespace zg
