#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quintor 3P need.
# Safe to run again: it installs only what is missing.
#   scripts/setup.sh           what the Linux build and its tests need
#   scripts/setup.sh windows   the Windows cross build and Wine to run its tests
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config clang-format clang-tidy git
    qt6-base-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
    iproute2 iputils-ping util-linux
    libfuse3-dev fuse3
    dbus-daemon
    desktop-file-utils appstream man-db file dpkg-dev fakeroot lintian
)
if [ "${1:-}" = windows ]; then
    packages=(cmake ninja-build ccache g++-mingw-w64-x86-64-posix googletest wine64)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Bitte als root ausführen oder sudo installieren." >&2; exit 1; }
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
