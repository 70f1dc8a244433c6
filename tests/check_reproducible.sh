#!/usr/bin/env bash
# Builds the launcher and the stand-in twice, from clean build folders at
# different paths, and fails unless every built binary is byte-identical.
# Usage: check_reproducible.sh SOURCE_DIR [CMAKE_CONFIGURE_ARGS...]
set -euo pipefail
source_dir=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for build in "$work/first" "$work/second-build-elsewhere"; do
    cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@" >/dev/null
    cmake --build "$build" --target zembraTolvique standin_runtime -j 2 >/dev/null
done

fail=0
count=0
for file in "$work/first/bin/"*; do
    name=$(basename "$file")
    count=$((count + 1))
    if cmp -s "$file" "$work/second-build-elsewhere/bin/$name"; then
        echo "identical: $name $(sha256sum <"$file" | cut -c1-16)"
    else
        echo "FAIL: $name differs between the two builds" >&2
        fail=1
    fi
done
[ "$count" -ge 2 ] || { echo "FAIL: only $count binaries built" >&2; fail=1; }
exit "$fail"
