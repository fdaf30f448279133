#!/bin/sh
# Static checks of built Windows binaries, for both flavours:
#   check-pe.sh OBJDUMP MACHINE DIR
# MACHINE is pei-x86-64 or pei-i386. Every .dll and .exe below DIR must be of
# that machine type and import only Windows system DLLs (the copies the
# installer gathers are left out); every DLL that exports the COM server
# entry points must export them undecorated.
objdump=$1
machine=$2
dir=$3
status=0
system_dlls='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shlwapi|version|msvcrt|ntdll|rpcrt4|ws2_32|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$'
count=0
for file in $(find "$dir" \( -name '*.dll' -o -name '*.exe' \) -not -path '*/CMakeFiles/*' -not -path '*/drive_c/*' \
                 -not -path '*/installer/files/*' | sort); do
    count=$((count + 1))
    format=$("$objdump" -f "$file" | sed -n 's/.*file format //p')
    if [ "$format" != "$machine" ]; then
        echo "FAIL $file: machine $format, expected $machine"
        status=1
    fi
    for dll in $("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        if ! echo "$lower" | grep -Eq "$system_dlls"; then
            echo "FAIL $file imports $dll, which is not a Windows system DLL"
            status=1
        fi
    done
    if "$objdump" -p "$file" | grep -q 'DllGetClassObject'; then
        for name in DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer; do
            if ! "$objdump" -p "$file" | grep -Eq "^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+(\+base\[[[:space:]]*[0-9]+\][[:space:]]+[0-9a-f]+[[:space:]]+)?$name\$"; then
                echo "FAIL $file does not export $name undecorated"
                status=1
            fi
        done
    fi
done
if [ "$count" -eq 0 ]; then
    echo "FAIL no binaries found below $dir"
    exit 1
fi
echo "$count binaries checked for $machine"
exit $status
