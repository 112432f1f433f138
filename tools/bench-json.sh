#!/usr/bin/env bash
# Builds the JSON benchmark and runs it under Wine on the captured
# aria2.tellStatus batch reply for 100 downloads: our parse+print against
# json-c's json_tokener_parse + json_object_to_json_string_ext(PLAIN).
# Then the parse time of single numbers with digit runs up to 4 MB long.
#
#   tools/bench-json.sh [ITERATIONS]
#   QM_BUILD_DIR=... selects the build folder (default: build);
#   QM_BENCH_NO_BUILD=1 skips the build step.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DATA="Z:${ROOT//\//\\}\\tests\\json\\data\\tellstatus-batch-100.json"
exec "$ROOT/tools/run-bench.sh" json_benchmark.exe "$DATA" "${1:-200}"
