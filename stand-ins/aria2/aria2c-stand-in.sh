#!/bin/sh
# Stand-in for the download daemon "aria2c.exe" in tests and the download
# benchmark: runs Debian's aria2c with the launcher's arguments.
#
# Wine starts this script from the program folder, but the launcher names
# that folder in its Windows form (say "C:\users\x\Temp\qmtest-1"), which
# aria2c reads as one relative file name. A symlink of exactly that name
# pointing to "." makes the files land in the program folder.
#
# So that no daemon outlives its test, a watcher ends it when this stand-in
# is removed with its folder, or after QM_ARIA2_MAX_SECONDS (default 900).
# The daemon's pid is written to "aria2c.pid" for the tests' last resort,
# and appended to "aria2c.starts", which counts the starts.
set -u

case "$0" in
    */dosdevices/*)
        rest="${0#*/dosdevices/}"          # c:/users/x/Temp/qmtest-1/aria2c.exe
        drive="$(printf '%s' "${rest%%/*}" | tr '[:lower:]' '[:upper:]')"
        folder="${rest#*/}"
        folder="${folder%/*}"
        windows="$drive\\$(printf '%s' "$folder" | tr '/' '\\')"
        [ -e "$windows" ] || ln -s . "$windows"
        ;;
esac

self="$(pwd)/aria2c.exe"
echo $$ > aria2c.pid
echo $$ >> aria2c.starts
limit="${QM_ARIA2_MAX_SECONDS:-900}"
daemon=$$
(
    waited=0
    while kill -0 "$daemon" 2>/dev/null; do
        if [ ! -e "$self" ] || [ "$waited" -ge "$limit" ]; then
            kill "$daemon" 2>/dev/null
            sleep 2
            kill -9 "$daemon" 2>/dev/null
            exit 0
        fi
        sleep 1
        waited=$((waited + 1))
    done
) >/dev/null 2>&1 &

exec /usr/bin/aria2c "$@"
