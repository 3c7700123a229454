#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page against the command-line tool itself: every command that `CLI --help` lists has
# a section ".SS NAME" in PAGE, and every option that the command's own --help lists (but --help)
# is named in PAGE as groff writes it (\-\-name). Prints what is missing and exits 1.
# Usage: check-man-page.sh CLI PAGE
set -euo pipefail
cli=$1
page=$2
[ -f "$page" ] || { echo "check-man-page: no $page" >&2; exit 1; }
manual=$(cat "$page")

# The commands: the first word of each indented line after "Subcommands:".
help=$("$cli" --help)
commands=$(awk '/^Subcommands:/ { listed = 1; next } listed && /^  [a-z]/ { print $1 }' <<<"$help")
[ -n "$commands" ] || { echo "check-man-page: $cli --help lists no command" >&2; exit 1; }

missing=0
for command in $commands; do
    if ! grep -qx "\.SS $command" <<<"$manual"; then
        echo "command $command: no section '.SS $command' in $page"
        missing=1
    fi
    usage=$("$cli" "$command" --help)
    for option in $(grep -oE '^ +(-[a-z],)?--[a-z][a-z-]*' <<<"$usage" | sed -E 's/.*--/--/'); do
        [ "$option" = --help ] && continue
        if ! grep -qF -- "${option//-/\\-}" <<<"$manual"; then
            echo "command $command: option $option is not in $page"
            missing=1
        fi
    done
done
grep -qF -- '\-\-version' <<<"$manual" || { echo "--version is not in $page"; missing=1; }
[ "$missing" -eq 0 ] || exit 1
echo "check-man-page: $(wc -w <<<"$commands") commands and their options are in $page"
