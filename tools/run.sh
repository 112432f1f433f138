#!/usr/bin/env bash
# Builds the launcher and starts it under Wine from a program folder of its
# own (build/run), as a user would start it, against the project's local
# service: version check, package choice, download with progress, unpacking,
# then the main window with the launcher page. The service and the page host
# stop when the launcher ends.
# Remove build/run to start over as a new user.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QM_BUILD_DIR:-$ROOT/build}"
SERVICE_PORT=36580   # the launcher's built-in service hosts (launcher/CMakeLists.txt)
"$ROOT/tools/build.sh" "$BUILD"
BUILD="$(cd "$BUILD" && pwd)"   # the launcher runs from inside it

RUN="$BUILD/run"
mkdir -p "$RUN" "$BUILD/run-service"
cp "$BUILD/bin/launcher.exe" "$RUN/launcher.exe"
for tool in aria2c.exe 7z.exe 7z.dll node.dll zip.dll; do
    cp "$BUILD/bin/$tool" "$RUN/$tool"
done

python3 "$ROOT/stand-ins/service/service.py" --port "$SERVICE_PORT" --root "$BUILD/run-service" \
    --content "$BUILD/bin" > "$BUILD/run-service/service.log" 2>&1 &
SERVICE_PID=$!
# The page host shows the launcher page in a headless Chromium behind the
# stand-in engine; the engine finds it through QM_PAGE_HOST_PORT.
PAGE_HOST_INFO="$BUILD/run-service/page-host.info"
rm -f "$PAGE_HOST_INFO"
node "$ROOT/stand-ins/pagehost/pagehost.js" --info-file "$PAGE_HOST_INFO" \
    > "$BUILD/run-service/page-host.log" 2>&1 &
PAGE_HOST_PID=$!
trap 'kill "$SERVICE_PID" "$PAGE_HOST_PID" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$SERVICE_PORT") 2>/dev/null && break
    sleep 0.1
done
for _ in $(seq 300); do
    [ -s "$PAGE_HOST_INFO" ] && break
    kill -0 "$PAGE_HOST_PID" 2>/dev/null || break
    sleep 0.1
done
if [ -s "$PAGE_HOST_INFO" ]; then
    export QM_PAGE_HOST_PORT="$(cut -d' ' -f1 "$PAGE_HOST_INFO")"
else
    echo "run: the page host did not start (see $BUILD/run-service/page-host.log); the page stays empty" >&2
fi

# The launcher never refreshes a page resource it has stored, and the
# stand-in page may have changed since the last run: start with none stored.
# (The default FiveM folder only; a folder chosen elsewhere keeps its cache.)
rm -f "$RUN"/FiveM/launcher_cache/%*

cd "$RUN"
"$ROOT/tools/with-wine.sh" "$BUILD" wine launcher.exe
