// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What chance alone would give for a set-hit search, beside what the draws gave: the distribution
// of hits per draw against the hypergeometric law of a fair draw with a chi-squared test, the
// chance that a draw qualifies, the gaps of the search's rows against the geometric law of
// independent draws, and how often each number was drawn against its binomial 95% band. Every
// distribution comes from Boost.Math. Pure standard C++.
#include "analysis/DrawQuery.h"
#include "analysis/SetHitSearch.h"
#include "base/DrawMasks.h"
#include "base/DrawTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zg {

// Draws of the range with exactly `hits` hits, and how many a fair draw would give.
struct HitFrequency {
    std::int32_t hits = 0;
    std::int64_t observed = 0;
    double expected = 0;
};

// The 95% band of a count: the 2.5% and 97.5% quantiles of Binomial(draws, probability), each the
// smallest c with P(X <= c) >= q. Both 0 for no draws.
struct CountBand {
    std::int64_t low = 0;
    std::int64_t high = 0;
    friend bool operator==(const CountBand&, const CountBand&) = default;
};
CountBand CountBandOf(std::int64_t draws, double probability);

// The band of the count of one number in `draws` fair draws: probability 1/4.
CountBand NumberCountBand(std::int64_t draws);

// Consecutive hit counts from..to (both inclusive) pooled into one class of the chi-squared test.
struct HitBin {
    std::int32_t from = 0;
    std::int32_t to = 0;
    friend bool operator==(const HitBin&, const HitBin&) = default;
};

struct ChiSquareTest {
    double statistic = 0;
    std::int32_t degreesOfFreedom = 0;
    double pValue = 0; // upper tail of chi-squared(degreesOfFreedom) at the statistic
    std::vector<HitBin> bins;
};

// Rows whose gap before them is `gap`, and how many independent draws would give.
struct GapFrequency {
    std::int32_t gap = 0;
    std::int64_t observed = 0;
    double expected = 0;
};

// Draws of the range that hold `number`, with the count expected and its 95% band.
struct NumberFrequency {
    std::int32_t number = 0;
    std::int64_t count = 0;
    double expected = 0;
    std::int64_t low = 0;
    std::int64_t high = 0;
    bool outside = false; // count < low or count > high
};

struct ChanceStatistics {
    std::int32_t draws = 0;                    // N: the draws of the range
    std::int32_t setSize = 0;                  // n: the numbers of the set
    std::int32_t maxHits = 0;                  // m = min(n, 20)
    double qualifyProbability = 0;             // p_q: the chance that a fair draw qualifies
    std::vector<HitFrequency> hitDistribution; // hits 0..m
    std::optional<ChiSquareTest> chiSquare;    // none with fewer than 2 bins
    std::int64_t gapCount = 0;                 // the search's rows
    std::optional<double> observedMeanGap;     // none without rows
    std::optional<double> expectedMeanGap;     // (1 - p_q) / p_q; none when p_q = 0
    std::vector<GapFrequency> gapHistogram;    // gaps 0..the largest; empty without rows
    std::vector<NumberFrequency> numbers;      // numbers 1..80
    // How many of the 80 numbers chance alone puts outside their 95% band on average:
    // 80 (P(C <= low - 1) + P(C >= high + 1)) for C ~ Binomial(draws, 1/4); 0 without draws.
    double expectedNumbersOutside = 0;
    std::vector<std::uint8_t> drawHits; // hits of every draw of the range, oldest first
    std::int32_t firstDraw = 0;         // ordinal of drawHits[0]
};

// P(k) = C(20, k) C(60, n - k) / C(80, n) for k = 0..min(n, 20): the chance that a fair draw of 20
// numbers out of 80 holds exactly k of n set numbers; 0 where k < n - 60. n is cut to 0..80.
std::vector<double> HitProbabilities(std::int32_t setSize);

// The classes of the chi-squared test over hit counts 0..expected.size() - 1: consecutive counts are
// added to the current class until its expected count reaches 5, which closes it; a remainder at
// the end that stays below 5 joins the last closed class. Without a closed class the list is empty.
std::vector<HitBin> ChiSquareBins(const std::vector<double>& expected);

// Pearson's chi-squared test of observed against expected counts over the classes of ChiSquareBins,
// on (classes - 1) degrees of freedom; none with fewer than 2 classes. Both lists have one entry
// per value.
std::optional<ChiSquareTest> ChiSquareOfCounts(const std::vector<std::int64_t>& observed,
                                               const std::vector<double>& expected);

// The inputs of a search, as the main window and the command line take them.
using ChanceInput = DrawQuery;

// What the charts are drawn from: the inputs of a search, as the search took them, and the rows it
// found. The rows are read only while the charts are computed; the draws are read again while the
// charts window shows them (the dates in the tooltips), so their table must outlive the showing
// (the process-wide table does).
struct ChartInputs : ChanceInput {
    std::span<const SearchRow> rows;
};

// The statistics of a search whose rows are given (the search of the same input; the gaps are
// theirs). The range is cut to the view's draws as the search cuts it.
ChanceStatistics ComputeChanceStatistics(const ChanceInput& in, std::span<const SearchRow> rows);

// The same, running the search for the rows first.
ChanceStatistics ComputeChanceStatistics(const ChanceInput& in);

// A value with two significant digits as printf's %.2g writes it, with `separator` as the decimal
// separator: 0,43; 0,003; 1,2e-05.
std::string TwoSignificantDigits(double value, char separator);

// The sentence under the numbers chart: "Poza przedziałem 95%: 3 liczby; sam przypadek daje średnio
// 4,1." (the numbers outside their band, with the plural of "liczba", and expectedNumbersOutside
// with one decimal, rounded half away from zero).
std::string NumbersOutsideSentence(const ChanceStatistics& stats, char separator);

// What chance alone gives for the test's outcome, in one sentence, with P = p and Q = 100 p as
// TwoSignificantDigits writes them and M = round(1 / p): "Test chi-kwadrat: p = 0,048. Tak duży lub
// większy odstęp od rozkładu przypadkowego sam przypadek daje w 4,8% sprawdzeń (mniej więcej raz na
// 21 sprawdzeń)."; below p = 0.001 it ends "... daje rzadziej niż raz na 1000 sprawdzeń.", and
// without a test it is "Za mało losowań do testu chi-kwadrat.".
std::string ChiSquareSentence(const std::optional<ChiSquareTest>& test, char separator);

} // namespace zg
