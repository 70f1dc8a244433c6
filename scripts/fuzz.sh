#!/usr/bin/env bash
# Fuzzes the console handlers for SECONDS (default 600), starting from the
# kept corpus. Builds the sanitizer preset first unless FUZZER names a
# built fuzz target.
# Usage: scripts/fuzz.sh [SECONDS [FUZZER]]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=${1:-600}
fuzzer=${2:-}
if [ -z "$fuzzer" ]; then
    cmake -S "$root" --preset sanitize >/dev/null
    cmake --build "$root/build/sanitize" --target console_fuzz -j 2 >/dev/null
    fuzzer="$root/build/sanitize/bin/console_fuzz"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/found" "$scratch/faults"
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$scratch/faults/" \
    "$scratch/found" "$root/fuzz/corpus" >"$scratch/log" 2>&1 || status=$?
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|fault|SUMMARY' "$scratch/log" || true
echo "corpus: $(ls "$root/fuzz/corpus" | wc -l) kept inputs, $(ls "$scratch/found" | wc -l) new inputs found in this run"
if [ "$status" -ne 0 ] || [ -n "$(ls "$scratch/faults")" ]; then
    tail -n 40 "$scratch/log" >&2
    cp -r "$scratch/faults" "$root/build/fuzz-faults" 2>/dev/null || true
    echo "FAIL: the fuzzer stopped with status $status; inputs kept in build/fuzz-faults" >&2
    exit 1
fi
