#!/usr/bin/env bash
# Builds the JSON benchmark and runs it under Wine on the captured
# aria2.tellStatus batch reply for 100 downloads: our parse+print against
# json-c's json_tokener_parse + json_object_to_json_string_ext(PLAIN).
#
#   tools/bench-json.sh [ITERATIONS]        (build folder: $QM_BUILD_DIR, default build)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QM_BUILD_DIR:-$ROOT/build}"
"$ROOT/tools/build.sh" "$BUILD" >/dev/null
cmake --build "$BUILD" --target json_benchmark >/dev/null
DATA="Z:${ROOT//\//\\}\\tests\\json\\data\\tellstatus-batch-100.json"
exec "$ROOT/tools/with-wine.sh" "$BUILD" wine "$BUILD/bin/json_benchmark.exe" "$DATA" "${1:-200}"
