#!/bin/sh
# The MSI under Wine's msiexec, per machine and per user, in its own prefix:
# the registry holds what regsvr32 writes for that mode (the 64-bit server in
# the 64-bit view, the 32-bit one with its own path where the 32-bit view
# keeps it), a client process creates the manager by its ProgID from the
# installed files, and uninstalling leaves no key and no file behind. Also:
# installing twice, uninstalling after the files were deleted by hand (from
# the installed-programs entry, as a user would) and an upgrade in place.
#   installer-test.sh PREFIX MSI OLDER_MSI CORVANTA_DLL PROBE_EXE EXAMPLE_DLL
set -u
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
prefix=$1 msi=$2 older=$3 dll=$4 probe=$5 example=$6
work=$(mktemp -d)
failures=0
clsid='CLSID\{D86F1529-05F7-4FBA-B1BE-3693B5424DC4}'
hklm='HKLM\Software\Classes' hkcu='HKCU\Software\Classes'
keys="Corvanta.PropertyPackageManager.1 Corvanta.PropertyPackageManager $clsid"

run() { "$cmake_dir/wine-run.sh" "$prefix" "$@"; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
fail() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }
step() { printf '== %s\n' "$*"; }
msiexec() { run msiexec "$@" /qn || fail "msiexec $* ended with $?"; }

"$cmake_dir/wine-prefix.sh" start "$prefix" >/dev/null || exit 1
trap '"$cmake_dir/wine-prefix.sh" stop "$prefix" >/dev/null; rm -rf "$work"' EXIT

# A .reg export as lines "[key]" and "[key]|value", so that sorting keeps
# every value with its key.
flatten() {
    iconv -f UTF-16 -t UTF-8 | tr -d '\r' | awk '/^Windows Registry|^$/ { next } /^\[/ { key = $0; print; next }
                                                { print key "|" $0 }'
}
# The three keys below CLASSES (a Software\Classes key) in a registry view,
# sorted, with the classes root left out and the server path SERVER (as .reg
# files write it) shown as <SERVER>.
export_keys() {  # CLASSES VIEW SERVER
    for key in $keys; do
        run reg export "$1\\$key" "$(winpath "$work/key.reg")" /reg:"$2" /y >/dev/null 2>&1 &&
            flatten < "$work/key.reg"
    done | SERVER=$3 awk '{ p = ENVIRON["SERVER"]; while (p != "" && (i = index($0, p)) > 0)
                                $0 = substr($0, 1, i - 1) "<SERVER>" substr($0, i + length(p)); print }' |
        sed 's/\[HKEY_[A-Z_]*\\Software\\Classes\\\(Wow6432Node\\\)\{0,1\}/[/g' | sort
}
escaped() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
expect_keys() {  # NAME EXPECTED_FILE CLASSES VIEW SERVER
    export_keys "$3" "$4" "$(escaped "$5")" > "$work/actual"
    diff -u "$2" "$work/actual" > "$work/diff" || { fail "$1 differs from regsvr32's entries:"; cat "$work/diff"; }
}
# Everything below HKLM\Software and HKCU\Software, and every file.
snapshot() {
    for root in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
        run regedit /E "$(winpath "$work/$root.reg")" "$root\\Software" && flatten < "$work/$root.reg"
    done | sort > "$1"
    (cd "$prefix/drive_c" && find . -not -ipath '*/temp/*' | sort) > "$1.files"
}
# After an uninstall nothing is left and nothing else is gone. Not counted:
# the empty bookkeeping keys and the cache folder Windows Installer makes on
# its first use, and empty keys it prunes (as Wine's does with the 32-bit
# CLSID key, empty in a prefix without 32-bit programs).
installer_keys='^\[HKEY_LOCAL_MACHINE\\Software\\(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\Installer)[^|]*$'
expect_as_before() {
    snapshot "$work/after"
    { comm -13 "$work/baseline" "$work/after" | grep -v -E "$installer_keys" | sed 's/^/left: /'
      comm -23 "$work/baseline" "$work/after" | grep -F '|' | sed 's/^/gone: /'
      comm -13 "$work/baseline.files" "$work/after.files" | grep -v -x './windows/Installer' | sed 's/^/left: /'
      comm -23 "$work/baseline.files" "$work/after.files" | sed 's/^/gone: /'; } > "$work/changed"
    [ -s "$work/changed" ] && { fail "$1 changed:"; cat "$work/changed"; }
}
expect_manager() {  # NAME INSTALL_FOLDER
    run "$2\\corvanta-probe.exe" list > "$work/list" 2>&1
    grep -q '^Example Thermo//Peng-Robinson' "$work/list" && grep -q '^Example Thermo//Ideal' "$work/list" ||
        { fail "$1: corvanta-probe list from $2:"; cat "$work/list"; }
}
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }'; }
installed_products() { run uninstaller --list | tr -d '\r' | grep '|||Corvanta$'; }

# A run that stopped half-way may have left the product installed.
for code in $(installed_products | cut -d '|' -f 1); do run msiexec /x "$code" /qn; done

step "reference: regsvr32 per machine and per user"
dll_path=$(winpath "$dll")
run regsvr32 /s "$(winpath "$example")" || fail "regsvr32 ExampleThermo10.dll"
snapshot "$work/baseline"
run regsvr32 /s "$dll_path" && export_keys "$hklm" 64 "$(escaped "$dll_path")" > "$work/machine" &&
    run regsvr32 /u /s "$dll_path" || fail "regsvr32 per machine"
run regsvr32 /s /n /i:user "$dll_path" && export_keys "$hkcu" 64 "$(escaped "$dll_path")" > "$work/user" &&
    { run "$probe" list > "$work/user-client" 2>&1; true; } &&
    run regsvr32 /u /s /n /i:user "$dll_path" || fail "regsvr32 per user"
grep -q 'InprocServer32]|@="<SERVER>"' "$work/machine" && grep -q 'CapeDescription' "$work/user" ||
    fail "regsvr32 wrote no reference entries"
grep "^\[$(escaped "$clsid")" "$work/user" > "$work/user-classes"  # the per-view part of per-user entries
# Unregistration keeps the CLSID key (and so the classes key), which a fresh
# prefix has not per user.
run reg delete "$hkcu\\CLSID" /f >/dev/null 2>&1
grep -qxF '[HKEY_CURRENT_USER\Software\Classes]' "$work/baseline" || run reg delete "$hkcu" /f >/dev/null 2>&1

step "per machine"
# What an older registration left in the class key goes, as with regsvr32.
run reg add "$hklm\\$clsid\\Stale" /ve /d stale /f >/dev/null
msiexec /i "$(winpath "$msi")"
folder='C:\Program Files\Corvanta'
expect_keys "per machine, 64-bit view" "$work/machine" "$hklm" 64 "$folder\\x64\\Corvanta.dll"
expect_keys "per machine, 32-bit view" "$work/machine" "$hklm" 32 "$folder\\x86\\Corvanta.dll"
[ -z "$(export_keys "$hkcu" 64 '')" ] || fail "per machine: entries below HKCU"
expect_manager "per machine" "$folder"
installed_products | grep -q "^$(product_code "$msi")" || fail "per machine: no installed-programs entry"
step "per machine: installing twice"
msiexec /i "$(winpath "$msi")"
expect_manager "installed twice" "$folder"
msiexec /x "$(winpath "$msi")"
expect_as_before "per-machine uninstall"

step "per user"
msiexec /i "$(winpath "$msi")" MSIINSTALLPERUSER=1
folder="$(run cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\Corvanta"
expect_keys "per user, 64-bit" "$work/user" "$hkcu" 64 "$folder\\x64\\Corvanta.dll"
expect_keys "per user, 32-bit (Wow6432Node)" "$work/user-classes" "$hkcu\\Wow6432Node" 64 \
    "$folder\\x86\\Corvanta.dll"
[ -z "$(export_keys "$hklm" 64 ''; export_keys "$hklm" 32 '')" ] || fail "per user: entries below HKLM"
# Wine's COM reads only the machine's classes: then a client cannot find a
# per-user server after regsvr32 either, and the same result is expected.
if grep -q '^Example Thermo//' "$work/user-client"; then
    expect_manager "per user" "$folder"
else
    run "$folder\\corvanta-probe.exe" list 2>&1 | diff "$work/user-client" - >/dev/null ||
        fail "per user: corvanta-probe list differs from its result after regsvr32"
    echo "note: per-user classes are not seen by this Wine's COM, after regsvr32 as after the MSI"
fi
step "per user: uninstall from the installed-programs entry after deleting the files"
rm -r "$prefix/drive_c/$(printf '%s' "${folder#C:\\}" | tr '\\' /)" || fail "no files in $folder"
msiexec /x "$(product_code "$msi")"
expect_as_before "per-user uninstall"

step "upgrade in place from an older version"
msiexec /i "$(winpath "$older")"
msiexec /i "$(winpath "$msi")"
[ "$(installed_products)" = "$(product_code "$msi")|||Corvanta" ] ||
    { fail "after the upgrade, installed:"; installed_products; }
folder='C:\Program Files\Corvanta'
expect_keys "upgraded, 64-bit view" "$work/machine" "$hklm" 64 "$folder\\x64\\Corvanta.dll"
expect_manager "upgraded" "$folder"
msiexec /x "$(winpath "$msi")"
expect_as_before "uninstall after the upgrade"

run regsvr32 /u /s "$(winpath "$example")"
[ $failures -eq 0 ] && echo "INSTALLER OK" || echo "INSTALLER FAILED: $failures failure(s)"
[ $failures -eq 0 ]
