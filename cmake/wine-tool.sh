#!/bin/sh
# Runs one Windows program at build time under 64-bit Wine in a private
# prefix (made when missing) and ends the prefix's wineserver afterwards:
#   wine-tool.sh PREFIX PROGRAM [ARGUMENT...]
here=$(dirname "$0")
prefix=$1
shift
"$here/wine-prefix.sh" start "$prefix" >/dev/null || exit 1
status=0
"$here/wine-run.sh" "$prefix" "$@" || status=$?
"$here/wine-prefix.sh" stop "$prefix" >/dev/null
exit $status
