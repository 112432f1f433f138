#!/usr/bin/env bash
# Builds the launcher and starts it under Wine from a program folder of its
# own (build/run), as a user would start it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QM_BUILD_DIR:-$ROOT/build}"
"$ROOT/tools/build.sh" "$BUILD"
mkdir -p "$BUILD/run"
cp "$BUILD/bin/launcher.exe" "$BUILD/run/launcher.exe"
cd "$BUILD/run"
exec "$ROOT/tools/with-wine.sh" "$BUILD" wine launcher.exe
