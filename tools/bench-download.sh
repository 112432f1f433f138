#!/usr/bin/env bash
# Download benchmark: a file (256 MiB by default) served on 127.0.0.1 is
# fetched through the launcher's StartDownload and completion notification
# (once polled like the updater window, once just waiting), then by curl and
# by aria2c alone on the Linux side. Prints the times, the ratios and the
# launcher's CPU time while it waits. Holds port 36510 while it runs.
#
#   tools/bench-download.sh [size in MiB] [threads]
#   QM_BUILD_DIR=... selects the build folder (default: build);
#   QM_BENCH_NO_BUILD=1 skips the build step.
set -euo pipefail
exec "$(dirname "${BASH_SOURCE[0]}")/run-bench.sh" download_bench.exe "${1:-256}" "${2:-16}"
