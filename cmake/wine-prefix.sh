#!/bin/sh
# Sets up and stops the private Wine prefix of a test run.
#   wine-prefix.sh start PREFIX [REGISTER_TYPELIB_EXE TYPELIB]
#   wine-prefix.sh stop PREFIX
# start creates the 64-bit prefix if it is missing, starts one persistent
# wineserver for the run, and registers the CAPE-OPEN type library as a
# simulator's installer would. stop ends the wineserver.
set -e
here=$(dirname "$0")
action=$1
prefix=$2
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all

wineserver_bin() {
    if command -v wineserver >/dev/null 2>&1; then echo wineserver; else echo /usr/lib/wine/wineserver; fi
}

# Unix path -> Windows path on Wine's Z: drive.
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}

case "$action" in
start)
    mkdir -p "$prefix"
    # One persistent wineserver for the whole run (status 2: already running).
    # Its stdio and that of the services wineboot leaves running must not
    # hold ctest's output pipe open.
    "$(wineserver_bin)" -p </dev/null >/dev/null 2>&1 || true
    if [ ! -f "$prefix/.corvanta-prefix" ]; then
        echo "creating Wine prefix $prefix"
        "$here/wine-run.sh" "$prefix" wineboot -i </dev/null >/dev/null 2>&1
        touch "$prefix/.corvanta-prefix"
    fi
    # Start the prefix's services detached from our stdio as well.
    "$here/wine-run.sh" "$prefix" wineboot </dev/null >/dev/null 2>&1 || true
    if [ -n "$3" ]; then
        "$here/wine-run.sh" "$prefix" "$3" "$(windows_path "$4")"
    fi
    echo "Wine prefix ready: $prefix"
    ;;
stop)
    "$(wineserver_bin)" -k </dev/null >/dev/null 2>&1 || true
    echo "wineserver stopped"
    ;;
*)
    echo "usage: $0 start|stop PREFIX [REGISTER_TYPELIB_EXE TYPELIB]" >&2
    exit 2
    ;;
esac
