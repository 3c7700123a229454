// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the core (UTF-8 std::string / string_view) as Qt strings.
#include <QString>

#include <string_view>

namespace zg {

inline QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace zg
