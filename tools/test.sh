#!/usr/bin/env bash
# Builds everything and runs all tests under Wine.
#   tools/test.sh [ctest arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QM_BUILD_DIR:-$ROOT/build}"
"$ROOT/tools/build.sh" "$BUILD"
exec "$ROOT/tools/with-wine.sh" "$BUILD" \
    ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)" "$@"
