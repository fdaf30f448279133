#!/bin/sh
# Runs a Windows program under 64-bit Wine in the private prefix given as the
# first argument. Used as the cross-compiling emulator of the tests. A
# non-zero exit is reported with its status, so that a program that ends
# before printing anything still leaves a line in the test's output.
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
"$wine" "$@"
status=$?
[ $status -eq 0 ] || echo "wine-run: $1 ended with status $status" >&2
exit $status
