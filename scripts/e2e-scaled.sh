#!/usr/bin/env bash
# Runs the scaled-display end-to-end tests in a Wine session of their own whose
# system setting is 144 dots per inch (150 %), so that the normal session's
# 96-dpi prefix is never changed, even by a run that is cut short.
#   e2e-scaled.sh BUILD_DIR [GTEST_FILTER]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
filter=${2:-Scaled.*}
export SNAPCREST_WINE_STATE="$build/wine-144dpi"
prefix="$SNAPCREST_WINE_STATE/prefix"
# Made from the normal prefix when that one is ready: hard links for the
# files Wine only reads, real copies of the registry, which Wine rewrites.
if [ ! -f "$prefix/.snapcrest-ready" ] && [ -f "$build/wine/prefix/.snapcrest-ready" ]; then
    rm -rf "$prefix"
    mkdir -p "$SNAPCREST_WINE_STATE"
    cp -al "$build/wine/prefix" "$prefix"
    for reg in "$prefix"/*.reg; do cp --remove-destination "$build/wine/prefix/$(basename "$reg")" "$reg"; done
fi
bash "$here/wine-env.sh" prefix "$build"
# Set before anything of the session starts: every process reads it once.
WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
trap 'bash "$here/wine-env.sh" stop "$build" >/dev/null 2>&1' EXIT
bash "$here/wine-env.sh" start "$build" >/dev/null
bash "$here/wine-run.sh" "$build" --relaunch-silent-start "$build/win/tests/e2e/e2e_driver.exe" --gtest_filter="$filter"
