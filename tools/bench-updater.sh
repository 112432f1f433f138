#!/usr/bin/env bash
# Updater benchmark: the real launcher.exe against the local service and the
# real daemon; prints its CPU time over a phase (30 s by default) while the
# package-choice dialog waits for a click, and over one while a download runs
# (the daemon limited to 4 MiB/s by default so the download lasts), and over
# one while the main window idles with the page shown. Holds the
# daemon's port 36510 and the service's port 36580 while it runs.
#
#   tools/bench-updater.sh [seconds per phase] [download limit, e.g. 4M]
#   QM_BUILD_DIR=... selects the build folder (default: build);
#   QM_BENCH_NO_BUILD=1 skips the build step.
set -euo pipefail
exec "$(dirname "${BASH_SOURCE[0]}")/run-bench.sh" updater_bench.exe "${1:-30}" "${2:-4M}"
