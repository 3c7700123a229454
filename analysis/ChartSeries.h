// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The point series of the charts window, thinned to what a chart of a given width can show. Pure
// standard C++.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace zg {

struct ChartPoint {
    std::int32_t index = 0; // position in the values
    double value = 0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// Every value as a point while the values fit into `columns` pixel columns (or columns < 1). With
// more values than columns, the values are split into `columns` consecutive runs of (nearly)
// equal length, and each run gives its lowest and its highest value (the first of equal ones), in
// the order in which they occur; a run whose values are all equal gives one point.
template <class T> std::vector<ChartPoint> MinMaxPerColumn(std::span<const T> values, std::int32_t columns) {
    const auto n = static_cast<std::int64_t>(values.size());
    std::vector<ChartPoint> points;
    if (columns < 1 || n <= columns) {
        points.reserve(values.size());
        for (std::int64_t i = 0; i < n; ++i)
            points.push_back(ChartPoint{static_cast<std::int32_t>(i), static_cast<double>(values[i])});
        return points;
    }
    points.reserve(static_cast<std::size_t>(columns) * 2);
    for (std::int64_t c = 0; c < columns; ++c) {
        const std::int64_t begin = c * n / columns, end = (c + 1) * n / columns;
        std::int64_t low = begin, high = begin;
        for (std::int64_t i = begin + 1; i < end; ++i) {
            if (values[i] < values[low])
                low = i;
            if (values[i] > values[high])
                high = i;
        }
        const std::int64_t first = std::min(low, high), second = std::max(low, high);
        points.push_back(ChartPoint{static_cast<std::int32_t>(first), static_cast<double>(values[first])});
        if (second != first)
            points.push_back(ChartPoint{static_cast<std::int32_t>(second), static_cast<double>(values[second])});
    }
    return points;
}

// The mean of the last `window` values at every position from the window-th value on: entry i is
// the mean of values[i .. i + window - 1]. Empty when there are fewer values than `window`.
std::vector<double> TrailingMeans(std::span<const std::uint8_t> values, std::int32_t window);

} // namespace zg
