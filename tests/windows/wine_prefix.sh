#!/usr/bin/env bash
# Creates the Wine prefix once, so that no test pays for the first start.
# Usage: wine_prefix.sh WINE64 (WINEPREFIX and friends come from the environment)
set -euo pipefail
"$1" wineboot --init >/dev/null 2>&1
test -d "$WINEPREFIX/drive_c/windows"
