#!/usr/bin/env bash
# Fails unless the Windows executable is a console program, marked for ASLR
# and DEP, without a time stamp, that takes exactly the seven runtime
# functions from mclmcrrt71.dll and everything else from Windows' own DLLs.
# Usage: check_imports.sh OBJDUMP EXECUTABLE EXPECTED_MAGIC
set -euo pipefail
objdump=$1 exe=$2 magic=$3
headers=$("$objdump" -p "$exe")
fail=0
expect() {  # description, extended regex that must match a line
    grep -Eq "$2" <<<"$headers" || { echo "FAIL: $1" >&2; fail=1; }
}
expect "format $magic" "^Magic[[:space:]]+$magic"
expect "console subsystem" "^Subsystem[[:space:]]+00000003[[:space:]]+\(Windows CUI\)"
expect "dynamic base (ASLR)" "^[[:space:]]+DYNAMIC_BASE$"
expect "NX compatible (DEP)" "^[[:space:]]+NX_COMPAT$"
expect "no time stamp" "^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$"

# "DLL Name: X" starts a block; its function lines are "<hint-rva> <ordinal> <name>".
imports=$(awk '
    /DLL Name:/ { dll = $3; next }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3; next }
    NF == 0 || /^[[:space:]]*[0-9a-f]+[[:space:]]+[0-9a-f]+[[:space:]]+[0-9a-f]+/ { dll = "" }
' <<<"$headers")

runtime=$(awk '$1 == "mclmcrrt71.dll" { print $2 }' <<<"$imports" | sort)
wanted=$(printf '%s\n' mclInitializeApplication mclInitializeComponentInstance mclMain \
    mclTerminateApplication mclTerminateInstance mclWaitForFiguresToDie mclmcrInitialize | sort)
if [ "$runtime" != "$wanted" ]; then
    echo "FAIL: mclmcrrt71.dll supplies:" $runtime >&2
    fail=1
fi

system='^(kernel32|msvcrt|ntdll|user32|advapi32|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
for dll in $(awk '{ print $1 }' <<<"$imports" | sort -u); do
    [ "$dll" = mclmcrrt71.dll ] && continue
    if ! tr '[:upper:]' '[:lower:]' <<<"$dll" | grep -Eq "$system"; then
        echo "FAIL: imports from $dll, which is no Windows system DLL" >&2
        fail=1
    fi
done
[ "$fail" -eq 0 ] && echo "imports of $exe:" $(awk '{ print $1 }' <<<"$imports" | sort -u)
exit "$fail"
