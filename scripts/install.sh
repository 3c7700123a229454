#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the program as a desktop program for the current user:
#   scripts/install.sh [DIR]            build, install the program folder into DIR (default
#                                       ~/.local/opt/zentagrafo) and add the menu entry, the icon,
#                                       the software-centre description and the manual page
#   scripts/install.sh --uninstall      remove the menu entry, the icon, the description and the
#                                       manual page again
# The program keeps its database, reports and number sets beside itself, so DIR is a folder the
# user writes. A sample database is put there only when DIR holds no database yet. Nothing of the
# user's data (zentag.wyn, a waiting download, TXT/, ZESTAWY LICZB/, KOPIE/) is ever removed or replaced.
# The menu entry, the icons, the AppStream description (metainfo/) and the manual page of
# zentagrafo-cli (man/man1/) go under $XDG_DATA_HOME (default ~/.local/share); `man zentagrafo-cli`
# finds the page in ~/.local/share/man when ~/.local/bin is on the PATH, `man -l FILE` always.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "Usage: scripts/install.sh [DIR] | scripts/install.sh --uninstall" >&2
    exit 2
}

data=${XDG_DATA_HOME:-$HOME/.local/share}
entry=$data/applications/zentagrafo.desktop
icon48=$data/icons/hicolor/48x48/apps/zentagrafo.png
iconsvg=$data/icons/hicolor/scalable/apps/zentagrafo.svg
metainfo=$data/metainfo/io.github.zentagrafo.Zentagrafo.metainfo.xml
manpage=$data/man/man1/zentagrafo-cli.1

# Lets the icon theme notice the change at once where the user's hicolor theme keeps a cache
# (menus watch the applications folder themselves).
refresh_caches() {
    if command -v gtk-update-icon-cache >/dev/null && [ -e "$data/icons/hicolor/index.theme" ]; then
        gtk-update-icon-cache -q -t "$data/icons/hicolor" || true
    fi
}

if [ $# -gt 1 ]; then
    usage
fi
if [ "${1:-}" = "--uninstall" ]; then
    rm -f "$entry" "$icon48" "$iconsvg" "$metainfo" "$manpage"
    refresh_caches
    echo "Removed the menu entry, the icon, the description and the manual page. The program folder"
    echo "with its database, reports and number sets stays where it is; delete it by hand when it is"
    echo "no longer needed."
    exit 0
fi
case "${1:-}" in
    -*) usage ;;
esac

dir=${1:-$HOME/.local/opt/zentagrafo}
# cmake --install reads a backslash in the prefix as a folder separator.
case "$dir" in
    *\\* | *$'\n'*)
        echo "scripts/install.sh: the folder name must not hold a backslash or a line break: $dir" >&2
        exit 2
        ;;
esac
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

scripts/setup.sh
build=${ZG_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target zentagrafo zentagrafo-cli zentag-sample
cmake --install "$build" --prefix "$dir" --strip

if [ ! -e "$dir/zentag.wyn" ]; then
    "$build/tools/sample/zentag-sample" --count 20000 --out "$dir/zentag.wyn"
    echo "Wrote synthetic sample data (20,000 draws, not real lottery results) to $dir/zentag.wyn"
fi

# Exec takes the program's path quoted, with the characters the desktop entry format escapes
# inside quotes ("`$\) escaped; Path is a plain string value.
exec_path=$dir/zentagrafo
exec_quoted=$(printf '%s' "$exec_path" | sed -e 's/[\\"`$]/\\&/g')
exec_quoted=\"$(printf '%s' "$exec_quoted" | sed -e 's/\\/\\\\/g' -e 's/%/%%/g')\"
path_value=$(printf '%s' "$dir" | sed -e 's/\\/\\\\/g')
mkdir -p "$(dirname "$entry")" "$(dirname "$icon48")" "$(dirname "$iconsvg")" "$(dirname "$metainfo")" \
    "$(dirname "$manpage")"
tmp=$(mktemp "$entry.XXXXXX")
sed -e "s|@EXEC@|$(printf '%s' "$exec_quoted" | sed -e 's/[|&\\]/\\&/g')|" \
    -e "s|@DIR@|$(printf '%s' "$path_value" | sed -e 's/[|&\\]/\\&/g')|" \
    packaging/zentagrafo.desktop.in >"$tmp"
chmod 644 "$tmp"
mv "$tmp" "$entry"
install -m 644 packaging/zentagrafo.png "$icon48"
install -m 644 packaging/zentagrafo.svg "$iconsvg"
install -m 644 packaging/io.github.zentagrafo.Zentagrafo.metainfo.xml "$metainfo"
install -m 644 packaging/zentagrafo-cli.1 "$manpage"
refresh_caches

echo "Installed ZENTAGRAFO into $dir"
echo "Menu entry: $entry"
echo "Manual page of zentagrafo-cli: $manpage"
