#!/usr/bin/env bash
# Checks that every source file tracked by git carries the licence line
#     SPDX-License-Identifier: GPL-3.0-or-later
# within its first five lines (after a #! line, where there is one). Source files are those named
# *.cpp, *.h, *.h.in, *.cmake, CMakeLists.txt, *.sh or *.py, and every other file that starts with
# #! (a script without an extension, such as .ci/run). Data, pictures, documents, JSON and the test
# inputs carry none. Prints every file without the line and exits 1 when there is one.
# Usage: scripts/check-spdx.sh [DIR]   (DIR: a git work tree, default the project's)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

line='SPDX-License-Identifier: GPL-3.0-or-later'
missing=0
checked=0
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue # listed by the index but deleted in the work tree
    case "$file" in
        *.cpp | *.h | *.h.in | *.cmake | CMakeLists.txt | */CMakeLists.txt | *.sh | *.py) ;;
        *) [ "$(head -c 2 "$file" | tr -d '\0')" = '#!' ] || continue ;;
    esac
    checked=$((checked + 1))
    if ! grep -qF "$line" <<<"$(head -n 5 "$file")"; then
        echo "$file: no '$line' in its first five lines"
        missing=1
    fi
done < <(git ls-files -z)

if [ "$missing" -ne 0 ]; then
    echo "check-spdx: source files without the licence line (see CONTRIBUTING.md)" >&2
    exit 1
fi
echo "check-spdx: every one of the $checked source files carries the licence line"
