#!/bin/sh
# Runs a Windows program under 64-bit Wine in a private prefix:
#   wine-run.sh [--report-exit] PREFIX PROGRAM [ARGUMENT...]
# Used as the cross-compiling emulator of the tests, with --report-exit: a
# non-zero exit is then reported with its status, so that a program that
# ends before printing anything still leaves a line in the test's output.
report=false
if [ "$1" = "--report-exit" ]; then
    report=true
    shift
fi
prefix=$1
shift
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
if command -v wine64 >/dev/null 2>&1; then
    wine=wine64
elif [ -x /usr/lib/wine/wine64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    wine=/usr/lib/wine/wine64
else
    wine=wine
fi
if ! $report; then
    exec "$wine" "$@"
fi
"$wine" "$@"
status=$?
[ $status -eq 0 ] || printf 'wine-run: %s ended with status %s\n' "$1" "$status" >&2
exit $status
