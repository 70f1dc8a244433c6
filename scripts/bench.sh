#!/usr/bin/env bash
# Builds Release and measures what the launcher costs, each figure as a ratio
# to a baseline measured side by side in the same run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

packages=(
    "cmake:/usr/bin/cmake"
    "g++:/usr/bin/g++"
    "make:/usr/bin/make"
    "libbenchmark-dev:/usr/include/benchmark/benchmark.h"
    "valgrind:/usr/bin/valgrind"
    "hyperfine:/usr/bin/hyperfine"
)
source "$root/scripts/install_packages.sh"
install_missing "${packages[@]}"

cmake --preset bench >/dev/null
cmake --build --preset bench >build/bench.log 2>&1 || { cat build/bench.log; exit 1; }
bin="$root/build/bench/bin"
baseline="$bin/startup_baseline"
null_launcher="$bin/zembraTolvique_null"
launcher="$bin/zembraTolvique"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -r)"

# --- start-up and shut-down ---------------------------------------------------
# The stand-in's component stays silent when its print text is empty.
export STANDIN_RUNTIME_PRINT=

instructions() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" 2>&1 >/dev/null |
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
base_instructions=$(instructions "$baseline")
null_instructions=$(instructions "$null_launcher")
standin_instructions=$(instructions "$launcher")
echo
echo "start-up and shut-down, whole process (baseline: C program calling one function of an empty library)"
printf '  instructions (callgrind): baseline %d, launcher on null runtime %d (ratio %s, target <= 1.05), on stand-in %d (ratio %s)\n' \
    "$base_instructions" "$null_instructions" "$(ratio "$null_instructions" "$base_instructions")" \
    "$standin_instructions" "$(ratio "$standin_instructions" "$base_instructions")"

echo "  launcher on null runtime vs baseline, 300 runs each, alternating (target: peak memory <= baseline + 1024 KiB):"
"$bin/process_timer" 300 "$baseline" -- "$null_launcher" | sed 's/^/    /'
echo "  launcher on stand-in, silent component, vs baseline, 300 runs each, alternating:"
"$bin/process_timer" 300 "$baseline" -- "$launcher" | sed 's/^/    /'

hyperfine -N --warmup 20 --runs 300 --export-json "$work/hyperfine.json" \
    "$baseline" "$null_launcher" "$launcher" >/dev/null 2>&1
mapfile -t medians < <(sed -n 's/.*"median": *\([0-9.e+-]*\).*/\1/p' "$work/hyperfine.json")
printf '  hyperfine wall time (median of 300): baseline %.1f us, null runtime %.1f us (ratio %s), stand-in %.1f us (ratio %s)\n' \
    "$(awk -v m="${medians[0]}" 'BEGIN{print m*1e6}')" "$(awk -v m="${medians[1]}" 'BEGIN{print m*1e6}')" \
    "$(ratio "${medians[1]}" "${medians[0]}")" "$(awk -v m="${medians[2]}" 'BEGIN{print m*1e6}')" \
    "$(ratio "${medians[2]}" "${medians[0]}")"
unset STANDIN_RUNTIME_PRINT

# --- console throughput --------------------------------------------------------
echo
"$bin/console_bench" --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.1 --benchmark_report_aggregates_only=true --benchmark_color=false |
    sed -n '/^console throughput/,$p'

# --- whole-process throughput ---------------------------------------------------
# 256 MiB through the print handler into a pipe read by wc -c, against cat of
# the same bytes from a file into the same kind of pipe.
block=$(awk 'BEGIN { line = sprintf("%63s", ""); gsub(/ /, "x", line); for (i = 0; i < 1024; i++) print line }')
block+=$'\n'
block=${block:0:65536}
for _ in $(seq 4096); do printf '%s' "$block"; done >"$work/256MiB"
expected=$((256 * 1024 * 1024))
now() { date +%s%N; }
cat_times=()
launcher_times=()
for _ in 1 2 3 4 5 6 7; do
    start=$(now); bytes=$(cat "$work/256MiB" | wc -c); cat_times+=($(( $(now) - start )))
    [ "$bytes" -eq "$expected" ] || { echo "cat passed $bytes bytes" >&2; exit 1; }
    start=$(now)
    bytes=$(STANDIN_RUNTIME_PRINT="$block" STANDIN_RUNTIME_REPEAT=4096 "$launcher" | wc -c)
    launcher_times+=($(( $(now) - start )))
    [ "$bytes" -eq "$expected" ] || { echo "the launcher passed $bytes bytes" >&2; exit 1; }
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
cat_median=$(median "${cat_times[@]}")
launcher_median=$(median "${launcher_times[@]}")
echo
echo "whole-process throughput: 256 MiB into a pipe read by wc -c, median of 7 alternating runs"
printf '  launcher (64 KiB texts through the print handler) %.1f ms, cat from a file %.1f ms: ratio of wall time %s\n' \
    "$(awk -v t="$launcher_median" 'BEGIN{print t/1e6}')" "$(awk -v t="$cat_median" 'BEGIN{print t/1e6}')" \
    "$(ratio "$launcher_median" "$cat_median")"
