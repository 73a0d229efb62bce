#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it.
# `cmake --build <dir> --target format` rewrites the files in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' ':!:tests/data/**')
clang-format --dry-run --Werror "${files[@]}"
