#!/usr/bin/env bash
# The long soak (not part of the tests): SEEDS seeds (default 10) of EVENTS
# random user events each (default 1000) against the real program, in a Wine
# session of its own; prints events, launches, dialogs answered and time.
#   bench-soak.sh [SEEDS] [EVENTS] [FIRST_SEED]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" >/dev/null
export SNAPCREST_WINE_STATE="$build/wine-bench"
bash "$root/scripts/wine-env.sh" start "$build" 1920x1080 >/dev/null
trap 'bash "$root/scripts/wine-env.sh" stop "$build"' EXIT
export SNAPCREST_SOAK_SEEDS=${1:-10} SNAPCREST_SOAK_EVENTS=${2:-1000} SNAPCREST_SOAK_FIRST_SEED=${3:-1}
export SNAPCREST_ARTIFACTS="$build/test-artifacts"
bash "$root/scripts/wine-run.sh" "$build" "$build/win/tests/e2e/e2e_driver.exe" \
    --gtest_filter='Soak.*' | grep -E '^soak:|Failure|FAILED|OK \]|seed'
