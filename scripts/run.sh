#!/usr/bin/env bash
# Builds the launcher on the stand-in runtime as needed, then runs it with the
# arguments given; its exit status is the launcher's.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/release"

mkdir -p "$root/build"
{
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$root" --preset release
    fi
    cmake --build "$build" --target zembraTolvique -j 2
} >"$root/build/run.log" 2>&1 || {
    cat "$root/build/run.log" >&2
    exit 1
}
exec "$build/bin/zembraTolvique" "$@"
