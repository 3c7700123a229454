#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The results server and zentagrafo-cli together: a program folder one draw behind the server's
# catches up with "update --latest" (the server's last draw is one with no separator after it),
# and "update --all" leaves the server's whole file waiting.
# Usage: smoke_test.sh SERVER_SCRIPT CLI
set -euo pipefail
server_script=$1
cli=$2
work=$(mktemp -d)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/server" "$work/program"
numbers="1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"
# The server's file ends right after the last digit of draw 3: the program counts that draw, and
# so must the server.
printf '1 2004 1 30 %s\r\n2 2004 1 31 %s\r\n3 2004 2 1 %s' "$numbers" "$numbers" "$numbers" >"$work/server/zentag.wyn"
"$cli" info "$work/server" | grep -qx "draws: 3" || { echo "the program does not count draw 3"; exit 1; }
printf '1 2004 1 30 %s 2 2004 1 31 %s ' "$numbers" "$numbers" >"$work/program/zentag.wyn"

python3 "$server_script" "$work/server" --port 0 >"$work/server.out" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 50); do
    grep -q listening "$work/server.out" 2>/dev/null && break
    sleep 0.1
done
port=$(sed -n 's/.*:\([0-9]*\)$/\1/p' "$work/server.out")

"$cli" update "$work/program" --latest --host 127.0.0.1 --port "$port"
expected="1 2004 1 30 $numbers 2 2004 1 31 $numbers  3 2004 2 1 $numbers "
[ "$(cat "$work/program/zentag.wyn")" = "$expected" ] || { echo "latest draw not appended"; exit 1; }

# Now equal to the server: refused, nothing changes.
if "$cli" update "$work/program" --latest --host 127.0.0.1 --port "$port"; then
    echo "an equal draw was not refused"
    exit 1
fi
[ "$(cat "$work/program/zentag.wyn")" = "$expected" ] || { echo "database changed by a refusal"; exit 1; }

"$cli" update "$work/program" --all --host 127.0.0.1 --port "$port"
cmp "$work/server/zentag.wyn" "$work/program/zentag"
echo "results server smoke test passed"
