#!/usr/bin/env bash
# Installs a Windows build and fails if the stand-in runtime lands beside the
# deployable launcher, where Windows would load it in place of the real one.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
fail=0
[ -f "$prefix/bin/zembraTolvique.exe" ] || { echo "FAIL: no bin/zembraTolvique.exe" >&2; fail=1; }
if ls "$prefix/bin" | grep -qi '\.dll$'; then
    echo "FAIL: a DLL beside the deployable launcher:" $(ls "$prefix/bin") >&2
    fail=1
fi
for file in zembraTolvique.exe mclmcrrt71.dll; do
    [ -f "$prefix/standin-demo/$file" ] || { echo "FAIL: no standin-demo/$file" >&2; fail=1; }
done
[ "$fail" -eq 0 ] && (cd "$prefix" && find . -type f | sort)
exit "$fail"
