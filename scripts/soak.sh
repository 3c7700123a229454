#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long reliability runs: every database writer killed mid-write ZG_KILLS times (default 250)
# per operation, plus the full-disk, read-only and hostile-server tests.
# Usage: scripts/soak.sh [KILLS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZG_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${ZG_CMAKE_ARGS:-}
cmake --build "$build" --target reliability_tests
ZG_KILLS=${1:-250} ctest --test-dir "$build" -L reliability --output-on-failure --verbose -j1 |
    grep -E "kills \(|tests passed|\*\*\*Failed|Failure"
