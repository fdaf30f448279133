#!/bin/sh
# Configures and builds both flavours: build/x86_64 (with the tests) and
# build/i686. Usage: tools/build.sh [--no-tests]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
tests=ON
[ "$1" = "--no-tests" ] && tests=OFF
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/i686" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake"
cmake --build "$root/build/i686" -j "$jobs"
cmake -S "$root" -B "$root/build/x86_64" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" \
      -DCORVANTA_TESTS=$tests -DCORVANTA_OTHER_FLAVOUR_DIR="$root/build/i686"
cmake --build "$root/build/x86_64" -j "$jobs"
