#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one libFuzzer target for as long as wanted, from its seed corpus in fuzz/corpus/NAME.
# New inputs go to a scratch folder (the seed corpus stays as committed); a finding is written to
# build-fuzz/findings/NAME/ and ends the run with a non-zero status.
# Usage: scripts/fuzz.sh NAME SECONDS   (NAME: database, merge, setfile, ...; see fuzz/)
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh NAME SECONDS}
seconds=${2:?usage: scripts/fuzz.sh NAME SECONDS}
build=${ZG_FUZZ_BUILD_DIR:-build-fuzz}
if [[ ! -f "$build/build.ninja" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZG_GUI=OFF \
        -DZG_TESTS=OFF -DZG_BENCH=OFF -DZG_WERROR=ON -DZG_SANITIZE=ON -DZG_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target "${name}_fuzz" >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/new"
mkdir -p "$build/findings/$name"
status=0
"$build/fuzz/${name}_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name/" "$scratch/new" "fuzz/corpus/$name" >"$scratch/log" 2>&1 || status=$?
if [[ $status -ne 0 ]]; then
    tail -n 80 "$scratch/log"
else
    echo "$name: $(grep -E '^stat::number_of_executed_units' "$scratch/log" | awk '{print $2}') executions, no finding"
fi
exit $status
