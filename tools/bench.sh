#!/bin/sh
# Prints the bridge's cost next to the 1.0 packages' own, measured side by
# side in one run under Wine, and writes the same rows as CSV to
# build/x86_64/bench/corvanta-bench.csv. The benchmark registers the example
# thermo system (and, for the discovery rows, more classes) in a Wine prefix
# of its own, build/bench-wineprefix.
# Usage: tools/bench.sh [--seconds S] [--only TEXT]
#   S: time per side of a row (default 0.2); TEXT: keep the rows whose
#   "package compounds operation" contains it.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/x86_64"
prefix="$root/build/bench-wineprefix"
[ -f "$build/bench/corvanta-bench.exe" ] || { "$root/tools/setup.sh"; "$root/tools/build.sh" --no-tests; }
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
"$root/cmake/wine-prefix.sh" start "$prefix" >/dev/null
trap '"$root/cmake/wine-prefix.sh" stop "$prefix" >/dev/null' EXIT
"$root/cmake/wine-run.sh" "$prefix" regsvr32 /s "$(windows_path "$build/examples/thermo10/ExampleThermo10.dll")"
"$root/cmake/wine-run.sh" "$prefix" "$build/bench/corvanta-bench.exe" --discovery \
    --csv "$(windows_path "$build/bench/corvanta-bench.csv")" "$@"
