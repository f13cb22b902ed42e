#!/usr/bin/env bash
# Installs every Debian package Vekstudio needs to build, test and run. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache mold pkg-config clang-format git
    qt6-base-dev qt6-multimedia-dev libgl-dev qt6-translations-l10n
    fonts-dejavu-core fonts-liberation
    libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libgif-dev
    xvfb xauth
    librsvg2-bin dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info man-db
    clang-14 libclang-rt-14-dev
    nlohmann-json3-dev neovim
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    source "$(dirname "$0")/apt.sh"
    aptRefresh
    aptInstall --no-install-recommends "${missing[@]}"
fi
