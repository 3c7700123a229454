// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command's JSON output against a golden file, telling where the first difference lies.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace zg::test {

// Same keys in the same order, same integers, texts, booleans and nulls; fractions within 1e-12
// relative (golden files hold them to 16 or 17 significant digits). A failure names its place
// below `path` ("/numbers/3/count").
inline void ExpectSameJson(const nlohmann::ordered_json& actual, const nlohmann::ordered_json& expected,
                           const std::string& path = "") {
    ASSERT_EQ(actual.type(), expected.type()) << path << ": " << actual.dump() << " vs " << expected.dump();
    if (expected.is_number_float()) {
        const double a = actual.get<double>(), e = expected.get<double>();
        EXPECT_LE(std::fabs(a - e), 1e-12 * std::max(1.0, std::fabs(e))) << path;
    } else if (expected.is_structured()) {
        ASSERT_EQ(actual.size(), expected.size()) << path;
        auto a = actual.begin();
        for (auto e = expected.begin(); e != expected.end(); ++e, ++a) {
            if (expected.is_object()) {
                ASSERT_EQ(a.key(), e.key()) << path;
            }
            ExpectSameJson(*a, *e,
                           path + "/" + (expected.is_object() ? e.key() : std::to_string(e - expected.begin())));
        }
    } else {
        EXPECT_EQ(actual, expected) << path;
    }
}

} // namespace zg::test
