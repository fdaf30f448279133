#!/bin/sh
# Prints the bridge's cost per call next to the 1.0 package's own, measured
# side by side in one run under Wine. Usage: tools/bench.sh [CALLS]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/x86_64"
[ -f "$build/bench/corvanta-bench.exe" ] || { "$root/tools/setup.sh"; "$root/tools/build.sh" --no-tests; }
"$root/cmake/wine-prefix.sh" start "$build/wineprefix" >/dev/null
status=0
"$root/cmake/wine-run.sh" "$build/wineprefix" "$build/bench/corvanta-bench.exe" "$@" || status=$?
"$root/cmake/wine-prefix.sh" stop "$build/wineprefix" >/dev/null
exit $status
