// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Polish plural forms of the program's own texts: "1 losowanie", "2 losowania", "5 losowań".
// The fixed texts of the reports and windows keep their own wording.
#include <cstdint>
#include <string>
#include <string_view>

namespace zg {

// The word that follows the count n: `one` for 1, `few` when n ends in 2..4 but not in 12..14,
// `many` otherwise (0, 5..21, 25, 111, ...). Negative counts take the form of their magnitude.
constexpr std::string_view PolishPlural(std::int64_t n, std::string_view one, std::string_view few,
                                        std::string_view many) {
    const std::int64_t m = n < 0 ? -n : n;
    if (m == 1)
        return one;
    const std::int64_t lastDigit = m % 10, lastTwo = m % 100;
    if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14))
        return few;
    return many;
}

constexpr std::string_view DrawsWord(std::int64_t n) {
    return PolishPlural(n, "losowanie", "losowania", "losowań");
}

// After "przy" (the locative): "przy 1 losowaniu", "przy 2 losowaniach", "przy 5 losowaniach".
constexpr std::string_view DrawsWordLocative(std::int64_t n) {
    return PolishPlural(n, "losowaniu", "losowaniach", "losowaniach");
}

constexpr std::string_view NumbersWord(std::int64_t n) {
    return PolishPlural(n, "liczba", "liczby", "liczb");
}

// The count and its word: "1 losowanie", "22 losowania", "25 losowań".
inline std::string CountOfDraws(std::int64_t n) {
    return std::to_string(n) + ' ' + std::string(DrawsWord(n));
}

inline std::string CountOfNumbers(std::int64_t n) {
    return std::to_string(n) + ' ' + std::string(NumbersWord(n));
}

} // namespace zg
