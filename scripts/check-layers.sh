#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that no include runs back up the folder layers. From the top:
#   app/  ->  analysis/ tables/ database/ download/ sets/  ->  ui/  ->  base/
# A folder may include itself and any folder below it. Between the feature folders only
# tables/ -> analysis/ and database/ -> download/ are allowed. Prints every include that breaks
# the table and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

level() {
    case "$1" in
        app) echo 3 ;;
        analysis | tables | database | download | sets) echo 2 ;;
        ui) echo 1 ;;
        base) echo 0 ;;
        *) echo -1 ;;
    esac
}

bad=0
while IFS=: read -r file _ include; do
    from=${file%%/*}
    to=$(sed -E 's/^[^"]*"([^/"]+)\/.*$/\1/' <<<"$include")
    from_level=$(level "$from")
    to_level=$(level "$to")
    [ "$to_level" -lt 0 ] && continue
    [ "$from" = "$to" ] && continue
    [ "$to_level" -lt "$from_level" ] && continue
    case "$from->$to" in
        "tables->analysis" | "database->download") continue ;;
    esac
    echo "$file: $include  ($from/ may not include $to/)"
    bad=1
done < <(grep -rnE '^\s*#\s*include\s*"[^"/]+/' app analysis tables database download sets ui base \
             --include='*.h' --include='*.cpp')

if [ "$bad" -ne 0 ]; then
    echo "check-layers: includes that run back up (see docs/architecture.md)" >&2
    exit 1
fi
echo "check-layers: every include follows the layers"
