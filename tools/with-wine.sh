#!/usr/bin/env bash
# Runs a command inside the environment the Windows binaries need under Wine:
# a private prefix in the build folder, one persistent wineserver, a display
# (Xvfb when none is set) and a Chinese locale, so that GetACP() is 936 as on
# the users' systems.
#
#   tools/with-wine.sh BUILD_DIR COMMAND [ARGS...]
set -euo pipefail

BUILD="$(cd "$1" && pwd)"; shift

export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
# No Mono or Gecko download prompts: the machine has no network.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -d "$BUILD/deps/locale/zh_CN.UTF-8" ]; then export LOCPATH="$BUILD/deps/locale"; fi
# bash itself complains when it cannot load the locale; Wine can.
{ export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8; } 2>/dev/null

XVFB_PID=""
cleanup() {
    wineserver -k 2>/dev/null || true
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
            break
        fi
    done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "with-wine: creating the Wine prefix (once)" >&2
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
wineserver -p
# Start Wine's desktop and service processes now, detached from the command's
# output: started by the first test instead, they would inherit its pipes and
# keep ctest waiting for them until the time-out.
wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
# There is no window manager under Xvfb. Windows that Wine leaves to one (a
# caption, a system menu, WS_EX_APPWINDOW) cost about two seconds each time
# they are hidden or destroyed, while Wine waits for the manager's answer;
# unmanaged, they come and go at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
"$@"
