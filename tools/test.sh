#!/bin/sh
# The test command: installs what is missing, builds both flavours, and runs
# every test (64-bit binaries under Wine in a private prefix, static checks
# of both flavours). Ends with ctest's summary; non-zero on any failure.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh"
cd "$root/build/x86_64"
ctest --output-on-failure -j 2
