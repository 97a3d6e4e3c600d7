#!/usr/bin/env bash
# Builds the fuzz targets with clang in a folder of their own.
#   fuzz/build.sh BUILD_DIR [JOBS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cxx="$(command -v clang++ || command -v clang++-14)"
cmake -S "$here" -B "$1" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$1" -j"${2:-2}"
