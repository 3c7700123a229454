#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and starts it. When the program folder has no database yet, a synthetic
# sample database of 20,000 draws is put there first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${ZG_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target zentagrafo zentagrafo-cli zentag-sample
if [ ! -e "$build/bin/zentag.wyn" ]; then
    "$build/tools/sample/zentag-sample" --count 20000 --out "$build/bin/zentag.wyn"
    echo "Wrote synthetic sample data (20,000 draws) to $build/bin/zentag.wyn"
fi
exec "$build/bin/zentagrafo"
