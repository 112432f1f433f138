#!/usr/bin/env bash
# Common part of the benchmark commands: builds (unless QM_BENCH_NO_BUILD=1)
# and runs one benchmark program of the build's bin folder under Wine.
#
#   tools/run-bench.sh PROGRAM.exe [arguments...]
#   QM_BUILD_DIR=... selects the build folder (default: build).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QM_BUILD_DIR:-$ROOT/build}"
if [ -z "${QM_BENCH_NO_BUILD:-}" ]; then
    "$ROOT/tools/build.sh" "$BUILD" >/dev/null
fi
export QM_BIN_DIR="$BUILD/bin" QM_SOURCE_DIR="$ROOT"
PROGRAM="$1"; shift
exec "$ROOT/tools/with-wine.sh" "$BUILD" wine "$BUILD/bin/$PROGRAM" "$@"
