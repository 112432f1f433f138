#!/bin/sh
# Runs a Windows program under the C locale, where Wine's ANSI code page is
# 1252 rather than 936, and writes its exit code into a file.
#   run_in_c_locale.sh EXIT_CODE_FILE PROGRAM   (both as Windows paths)
out="$(winepath -u "$1")"
LC_ALL=C.UTF-8 LANG=C.UTF-8 wine "$2" >/dev/null 2>&1
echo "$?" > "$out.partial" && mv "$out.partial" "$out"
