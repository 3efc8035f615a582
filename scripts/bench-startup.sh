#!/usr/bin/env bash
# Start-up benchmark (not a test): over N launches (default 10), the time from
# process start to the frozen picture on the screen, and the program's own
# share of it (process creation to its first paint).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${1:-10}
bash "$root/scripts/build.sh" >/dev/null
export SNAPCREST_WINE_STATE="$build/wine-bench"
bash "$root/scripts/wine-env.sh" start "$build" 1920x1080 >/dev/null
trap 'bash "$root/scripts/wine-env.sh" stop "$build"' EXIT
export SNAPCREST_STARTUP_LOG="Z:$(printf '%s' "$SNAPCREST_WINE_STATE/startup.log" | tr '/' '\\')"
bash "$root/scripts/wine-run.sh" "$build" "$build/win/snapbench.exe" startup "$runs"
