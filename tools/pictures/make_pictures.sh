#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws ui/pictures/about1.jpg and ui/pictures/about3.jpg.
# Usage: tools/pictures/make_pictures.sh   (from anywhere; needs Qt 6 development files)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cmake -S "$here" -B "$build" -G Ninja >/dev/null
cmake --build "$build" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/make_pictures" "$root/ui/pictures"
ls -l "$root/ui/pictures"
