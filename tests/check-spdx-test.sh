#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-spdx.sh on a scratch git work tree: it passes when every source file carries the
# licence line, and fails naming each source file without it (a header, a CMakeLists.txt, a script
# known only by its #! line, a line that comes too late), while data files need none.
# Usage: check-spdx-test.sh CHECK_SCRIPT
set -euo pipefail
check=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
git init -q .

fail() {
    echo "check-spdx-test: $*" >&2
    exit 1
}

spdx='SPDX-License-Identifier: GPL-3.0-or-later'
mkdir -p src .ci
printf '// %s\nint main() {}\n' "$spdx" >src/main.cpp
printf '#!/bin/sh\n# %s\necho\n' "$spdx" >.ci/run
printf '# %s\nproject(x)\n' "$spdx" >CMakeLists.txt
printf 'no licence line in a data file\n' >src/draws.txt
printf '{"no": "line"}\n' >src/golden.json
git add -A
out=$("$check" "$work") || fail "a tree whose every source file has the line fails: $out"

# Files without the line: each is named, nothing else is.
printf '#pragma once\n' >src/Header.h
printf 'add_library(y)\n' >src/CMakeLists.txt
printf '#!/usr/bin/env python3\nprint()\n' >src/tool
printf '\n\n\n\n\n// %s\n' "$spdx" >src/late.cpp
git add -A
status=0
out=$("$check" "$work" 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "a tree with files lacking the line exits $status, not 1"
for f in src/Header.h src/CMakeLists.txt src/tool src/late.cpp; do
    grep -q "^$f: no '$spdx' in its first five lines$" <<<"$out" || fail "$f is not named: $out"
done
[ "$(grep -c ': no ' <<<"$out")" -eq 4 ] || fail "more files than the four are named: $out"
echo "check-spdx-test: passed"
