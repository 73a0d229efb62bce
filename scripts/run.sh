#!/usr/bin/env bash
# Sets up, builds and starts Quintor 3P; arguments go to the program
# (`scripts/run.sh --demo` starts it on its demonstration folders).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUINTOR_TESTS=OFF >/dev/null
cmake --build build/release --target quintor3p
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Start the program on a virtual one with:"
    echo "  xvfb-run -s '-screen 0 1280x800x24' build/release/src/quintor3p $*"
    exit 0
fi
exec build/release/src/quintor3p "$@"
