#!/usr/bin/env bash
# Installs the Debian 12 packages Corvalin needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev libqt6opengl6-dev libxkbcommon-dev qt6-charts-dev
    libqt6sql6-sqlite libqt6sql6-psql qt6-tools-dev qt6-l10n-tools
    libxlsxwriter-dev libfreexl-dev libminizip-dev libjpeg-dev libsodium-dev libsqlite3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-translations-l10n postgresql sqlite3
    fonts-wqy-microhei fonts-arphic-uming
    xvfb xauth imagemagick poppler-utils
    unzip
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
