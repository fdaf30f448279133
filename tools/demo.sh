#!/bin/sh
# The main job in one command: installs what is missing, builds, registers
# the bridge (Corvanta.dll) and the example CAPE-OPEN 1.0 thermo system
# (ExampleThermo10.dll) in a private Wine prefix, and shows what a CAPE-OPEN
# 1.1 simulator sees through the bridge: the package list and a flash of a
# natural-gas-like mixture with both example packages, and the proof that the
# numbers through the bridge are the ones each package computes itself.
#
#   tools/demo.sh                 builds both flavours into build/ (tools/build.sh)
#   BUILD_DIR=DIR tools/demo.sh   uses (and builds) the 64-bit build folder DIR instead,
#                                 with the Wine prefix DIR-demo-wineprefix
#
# Ends with exit code 0 when every step succeeded.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)

step() {
    printf '\n==> %s\n' "$*"
}

step "Installing what is missing"
"$root/tools/setup.sh"

if [ -z "$BUILD_DIR" ]; then
    step "Building (tools/build.sh --no-tests)"
    "$root/tools/build.sh" --no-tests
    build="$root/build/x86_64"
    prefix="$root/build/demo-wineprefix"
else
    step "Building $BUILD_DIR"
    build=${BUILD_DIR%/}
    prefix="$build-demo-wineprefix"
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake"
    cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target Corvanta ExampleThermo10 corvanta-probe
fi

# The prefix stays outside the build folders, whose binaries the tests check.
probe="$build/tools/probe/corvanta-probe.exe"
run() {
    "$root/cmake/wine-run.sh" "$prefix" "$@"
}
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}

step "Starting a private Wine prefix: $prefix"
"$root/cmake/wine-prefix.sh" start "$prefix"
trap '"$root/cmake/wine-prefix.sh" stop "$prefix" >/dev/null' EXIT

step "Registering Corvanta.dll and ExampleThermo10.dll with regsvr32"
run regsvr32 /s "$(windows_path "$build/server/Corvanta.dll")"
run regsvr32 /s "$(windows_path "$build/examples/thermo10/ExampleThermo10.dll")"
echo "registered"

status=0
step "corvanta-probe list"
run "$probe" list || status=1

mixture="methane=0.85,ethane=0.07,propane=0.04,n-butane=0.02,nitrogen=0.01,carbon dioxide=0.01"
for package in "Example Thermo//Peng-Robinson" "Example Thermo//Ideal"; do
    step "corvanta-probe flash \"$package\" --T 250 --P 5e6 --z $mixture"
    run "$probe" flash "$package" --T 250 --P 5e6 --z "$mixture" || status=1
done

for package in "Example Thermo//Peng-Robinson" "Example Thermo//Ideal"; do
    step "corvanta-probe verify \"$package\""
    run "$probe" verify "$package" || status=1
done

step "Stopping the wineserver"
if [ $status -eq 0 ]; then
    echo "demo finished: every step succeeded"
else
    echo "demo finished: a step reported a failure (see above)"
fi
exit $status
