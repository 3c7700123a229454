#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the project needs to build, test and run. Does nothing when
# all of them are present. Uses sudo when not run as root.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config git
    clang libclang-rt-14-dev clang-format-14
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libcurl4-openssl-dev
    libcli11-dev
    libboost-math-dev nlohmann-json3-dev
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation fonts-liberation2
    xvfb xauth
    desktop-file-utils librsvg2-bin appstream groff-base
    hyperfine
    python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
