// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/PolishPlural.h"

#include <gtest/gtest.h>

namespace zg {
namespace {

TEST(PolishPlural, FormsFollowTheLastDigits) {
    const struct {
        std::int64_t n;
        const char* draws;
        const char* numbers;
    } rows[] = {
        {0, "0 losowań", "0 liczb"},
        {1, "1 losowanie", "1 liczba"},
        {2, "2 losowania", "2 liczby"},
        {4, "4 losowania", "4 liczby"},
        {5, "5 losowań", "5 liczb"},
        {11, "11 losowań", "11 liczb"},
        {12, "12 losowań", "12 liczb"},
        {14, "14 losowań", "14 liczb"},
        {21, "21 losowań", "21 liczb"},
        {22, "22 losowania", "22 liczby"},
        {101, "101 losowań", "101 liczb"},
        {112, "112 losowań", "112 liczb"},
        {1504, "1504 losowania", "1504 liczby"},
        {99999, "99999 losowań", "99999 liczb"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CountOfDraws(row.n), row.draws) << row.n;
        EXPECT_EQ(CountOfNumbers(row.n), row.numbers) << row.n;
    }
}

} // namespace
} // namespace zg
