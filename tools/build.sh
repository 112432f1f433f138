#!/usr/bin/env bash
# Installs the dependencies (once) and builds everything into BUILD_DIR.
#   tools/build.sh [BUILD_DIR]     (default: build)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
"$ROOT/tools/setup.sh" "$BUILD"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc)"
