#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws the 48 px icon packaging/zentagrafo.png from packaging/zentagrafo.svg.
# Usage: packaging/make_icon.sh   (from anywhere; needs rsvg-convert, Debian package librsvg2-bin)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
rsvg-convert --width 48 --height 48 --format png "$here/zentagrafo.svg" --output "$here/zentagrafo.png"
ls -l "$here/zentagrafo.png"
