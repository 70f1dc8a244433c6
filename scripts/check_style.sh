#!/usr/bin/env bash
# Fails on any formatting difference (clang-format) or clang-tidy finding in
# the project's C++ sources. clang-tidy reads the compile commands of the
# build folders given, so each file is checked as it is really built.
# Usage: scripts/check_style.sh BUILD_DIR...
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files formatted"

status=0
checked=$(mktemp)
trap 'rm -f "$checked"' EXIT
for build in "$@"; do
    # The project's own translation units in this build not checked already.
    mapfile -t units < <(grep -o '"file": "[^"]*"' "$build/compile_commands.json" |
        sed 's/"file": "//; s/"$//' | grep -E "^$root/(launcher|runtime|tests|fuzz|bench)/" |
        sort -u | comm -23 - "$checked")
    printf '%s\n' "${units[@]}" | sort -u -o "$checked" - "$checked"
    [ ${#units[@]} -gt 0 ] || continue
    printf '%s\n' "${units[@]}" |
        xargs -P 2 -n 4 clang-tidy -p "$build" --quiet 2>/dev/null || status=1
    echo "clang-tidy: ${#units[@]} files of $build"
done
exit "$status"
