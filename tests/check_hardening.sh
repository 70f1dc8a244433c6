#!/usr/bin/env bash
# Builds Release in a clean folder and fails unless hardening-check finds the
# executable and the stand-in library position independent, stack protected,
# fortified where they call checkable libc functions, with read-only
# relocations and immediate binding.
# Control-flow marking is not asked for: Debian's C start files carry no
# IBT/SHSTK marks, so no program linked with them can be marked.
# Usage: check_hardening.sh SOURCE_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$1" -B "$work" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$work" --target zembraTolvique standin_runtime -j 2 >/dev/null
hardening-check --nocfprotection "$work/bin/zembraTolvique" "$work/bin/libmclmcrrt71.so"
