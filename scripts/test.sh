#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, component tests
# and end-to-end tests under a private Wine session on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
cd "$build"
export SNAPCREST_ARTIFACTS="$build/test-artifacts"
mkdir -p "$SNAPCREST_ARTIFACTS"
ctest --output-on-failure -j2 "$@"
