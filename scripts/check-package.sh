#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the program as a user receives it:
# - the portable archive, unpacked into an empty folder, holds the whole program folder; its README
#   names the apt-get line, and that line covers every Debian package holding a library the two
#   programs link or open at run time (libcurl, opened at the first download, which neither
#   program links);
# - from that folder, with a bare environment, the program starts offscreen on a sample database and
#   is still running in its event loop seconds later, and `zentagrafo-cli info` reads the folder;
# - the AppStream description passes `appstreamcli validate --no-net` without a warning, and the
#   manual page of zentagrafo-cli renders with `groff -man -ww -z` without a warning;
# - scripts/install.sh into a scratch folder writes a valid desktop entry, the icons, the
#   description and the manual page, puts a sample database there only when none exists, and
#   --uninstall removes what it added and keeps the user's data.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build; configured, tests need not be built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

cmake --build "$build" --target zentagrafo zentagrafo-cli zentag-sample >/dev/null

# --- The archive on a fresh folder.
cpack --config "$build/CPackConfig.cmake" -B "$scratch/pack" -G TGZ >/dev/null
archives=("$scratch"/pack/*.tar.gz)
[ ${#archives[@]} -eq 1 ] && [ -f "${archives[0]}" ] || fail "cpack wrote no single .tar.gz"
mkdir "$scratch/fresh"
tar -xzf "${archives[0]}" -C "$scratch/fresh"
[ "$(ls -A "$scratch/fresh")" = zentagrafo ] || fail "the archive does not unpack into one folder zentagrafo/"
dir=$scratch/fresh/zentagrafo
for f in zentagrafo zentagrafo-cli; do
    [ -f "$dir/$f" ] && [ -x "$dir/$f" ] || fail "the archive lacks the program $f"
done
for d in TXT "ZESTAWY LICZB" KOPIE; do
    [ -d "$dir/$d" ] || fail "the archive lacks the folder $d/"
done
for f in README.txt zentagrafo.png zentagrafo.svg zentagrafo-cli.1; do
    [ -f "$dir/$f" ] || fail "the archive lacks $f"
done
[ ! -e "$dir/zentag.wyn" ] || fail "the archive carries a database"
for name in zentag.wyn TXT "ZESTAWY LICZB"; do
    grep -qF "$name" "$dir/README.txt" || fail "README.txt does not name $name"
done

# The README's apt-get line against the libraries the programs link (the C and C++ runtimes are
# on every Debian system).
apt_line=$(grep -m1 -E '^ *sudo apt-get install ' "$dir/README.txt") || fail "README.txt names no apt-get install line"
listed=" ${apt_line#*apt-get install } libc6 libstdc++6 libgcc-s1 "
for prog in zentagrafo zentagrafo-cli; do
    # Each listing is read whole before it is searched: a search that stops at its first match
    # would end the listing with SIGPIPE, which pipefail reports as the pipeline's status.
    libraries=$(ldd "$dir/$prog")
    ! grep -q "not found" <<<"$libraries" || fail "$prog: $(grep "not found" <<<"$libraries")"
    for lib in $(readelf -d "$dir/$prog" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        path=$(awk -v lib="$lib" '$1 == lib && $2 == "=>" { print $3 }' <<<"$libraries")
        [ -n "$path" ] || fail "$prog: $lib does not resolve"
        owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null ||
            dpkg -S "/usr$path" 2>/dev/null) || fail "$prog: no Debian package holds $path"
        package=${owner%%:*}
        [[ $listed == *" $package "* ]] || fail "$prog links $lib from $package, which README.txt's apt-get line lacks"
    done
    # The download library is opened at the first download, never at the start.
    ! grep -q libcurl <<<"$libraries" || fail "$prog loads libcurl at its start"
done
# The libraries the programs open at run time need their packages on the apt-get line too.
for lib in libcurl.so.4; do
    cache=$(ldconfig -p)
    path=$(awk -v lib="$lib" '$1 == lib && $NF ~ /^\// { print $NF; exit }' <<<"$cache")
    [ -n "$path" ] || fail "$lib, which the downloads open, is not installed here"
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null) ||
        fail "no Debian package holds $path"
    package=${owner%%:*}
    [[ $listed == *" $package "* ]] || fail "the downloads open $lib from $package, which README.txt's apt-get line lacks"
done

# The program from the unpacked folder, started elsewhere with nothing but a home folder: it must
# still be running when the timeout stops it (exit status 124), not have crashed or quit.
"$build/tools/sample/zentag-sample" --count 2000 --out "$dir/zentag.wyn"
mkdir "$scratch/home"
bare_env=(env -i HOME="$scratch/home" PATH=/usr/bin:/bin LANG=C.UTF-8)
status=0
(cd / && "${bare_env[@]}" QT_QPA_PLATFORM=offscreen timeout -s TERM 8 "$dir/zentagrafo") \
    >"$scratch/program.log" 2>&1 || status=$?
if [ $status -ne 124 ]; then
    cat "$scratch/program.log" >&2
    fail "the program ended with status $status before the timeout"
fi
info=$(cd / && "${bare_env[@]}" "$dir/zentagrafo-cli" info "$dir") || fail "zentagrafo-cli info failed"
grep -qx "draws: 2000" <<<"$info" || fail "zentagrafo-cli info does not report the 2000 draws: $info"

# --- The software-centre description and the manual page. appstreamcli exits 3 on a warning, and
# prints a line starting with "W:" or "E:" for each; groff prints each warning and exits 0.
metainfo_source=packaging/io.github.zentagrafo.Zentagrafo.metainfo.xml
validation=$(appstreamcli validate --no-net "$metainfo_source" 2>&1) ||
    { echo "$validation" >&2; fail "appstreamcli validate rejects $metainfo_source"; }
! grep -qE '^[WE]:' <<<"$validation" || { echo "$validation" >&2; fail "appstreamcli warns about $metainfo_source"; }
rendering=$(groff -man -ww -z packaging/zentagrafo-cli.1 2>&1) || fail "groff cannot render packaging/zentagrafo-cli.1"
[ -z "$rendering" ] || { echo "$rendering" >&2; fail "groff warns about packaging/zentagrafo-cli.1"; }

# --- The desktop installation, into a folder whose name holds blanks and the desktop entry's
# special characters.
data=$scratch/share
opt="$scratch/opt/ZENTAGRAFO 100% \$\"x\""
entry=$data/applications/zentagrafo.desktop
icons=("$data/icons/hicolor/48x48/apps/zentagrafo.png" "$data/icons/hicolor/scalable/apps/zentagrafo.svg")
metainfo=$data/metainfo/io.github.zentagrafo.Zentagrafo.metainfo.xml
manpage=$data/man/man1/zentagrafo-cli.1
ZG_BUILD_DIR=$build XDG_DATA_HOME=$data scripts/install.sh "$opt" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; fail "scripts/install.sh failed"; }
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
grep -qxF "Path=$opt" "$entry" || fail "the desktop entry does not start the program in its folder"
for f in "${icons[@]}" "$metainfo" "$manpage"; do
    [ -f "$f" ] || fail "scripts/install.sh wrote no $f"
done
cmp -s "$metainfo" "$metainfo_source" || fail "the installed description differs from $metainfo_source"
cmp -s "$manpage" packaging/zentagrafo-cli.1 || fail "the installed manual page differs from packaging/zentagrafo-cli.1"
# PNG header: width and height, 4 bytes each, at offset 16.
[ "$(od -An -tx1 -j16 -N8 "${icons[0]}" | tr -d ' \n')" = 0000003000000030 ] || fail "the hicolor icon is not 48 x 48"
[ -x "$opt/zentagrafo" ] && [ -d "$opt/TXT" ] && [ -d "$opt/ZESTAWY LICZB" ] && [ -d "$opt/KOPIE" ] || fail "the program folder is incomplete"
info=$("$opt/zentagrafo-cli" info "$opt") || fail "zentagrafo-cli info failed in the installed folder"
grep -qx "draws: 20000" <<<"$info" || fail "no sample database in the program folder"

# The user's own data survives a second installation and the uninstallation.
"$build/tools/sample/zentag-sample" --count 10 --seed 7 --out "$opt/zentag.wyn"
cp "$opt/zentag.wyn" "$scratch/own.wyn"
echo report >"$opt/TXT/ZENTAG.0001.txt"
ZG_BUILD_DIR=$build XDG_DATA_HOME=$data scripts/install.sh "$opt" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; fail "scripts/install.sh failed the second time"; }
cmp -s "$opt/zentag.wyn" "$scratch/own.wyn" || fail "a second installation replaced the database"
XDG_DATA_HOME=$data scripts/install.sh --uninstall >/dev/null
for f in "$entry" "${icons[@]}" "$metainfo" "$manpage"; do
    [ ! -e "$f" ] || fail "--uninstall left $f"
done
cmp -s "$opt/zentag.wyn" "$scratch/own.wyn" || fail "--uninstall touched the database"
[ "$(cat "$opt/TXT/ZENTAG.0001.txt")" = report ] || fail "--uninstall touched the reports"

echo "check-package: the archive, the fresh start, the description, the manual page and the desktop installation are sound"
