// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ChartSeries.h"

namespace zg {

std::vector<double> TrailingMeans(std::span<const std::uint8_t> values, std::int32_t window) {
    std::vector<double> means;
    const auto n = static_cast<std::int64_t>(values.size());
    if (window < 1 || n < window)
        return means;
    means.reserve(static_cast<std::size_t>(n - window + 1));
    // A running integer sum: exact, whatever the length of the range.
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < n; ++i) {
        sum += values[static_cast<std::size_t>(i)];
        if (i >= window)
            sum -= values[static_cast<std::size_t>(i - window)];
        if (i >= window - 1)
            means.push_back(static_cast<double>(sum) / window);
    }
    return means;
}

} // namespace zg
