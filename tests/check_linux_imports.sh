#!/usr/bin/env bash
# Fails unless the Linux executable loads the component runtime and the C
# library and nothing else: the C++ runtime library, or any library it takes
# no symbol from, would cost every start.
# Usage: check_linux_imports.sh EXECUTABLE
set -euo pipefail
needed=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
if [ "$needed" != "libc.so.6 libmclmcrrt71.so " ]; then
    echo "FAIL: $1 needs: $needed" >&2
    exit 1
fi
echo "$1 needs: $needed"
