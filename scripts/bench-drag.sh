#!/usr/bin/env bash
# Drag benchmark (not a test): a 300-step drag of the first selection and of a
# move, at 1920x1080 and 3840x2160, with the fast composition and with the
# reference composition; per composition, per paint and CPU time per move.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" >/dev/null
for geometry in 1920x1080 3840x2160; do
    export SNAPCREST_WINE_STATE="$build/wine-bench-$geometry"
    bash "$root/scripts/wine-env.sh" start "$build" "$geometry" >/dev/null
    export SNAPCREST_PAINT_LOG="Z:$(printf '%s' "$SNAPCREST_WINE_STATE/paint.log" | tr '/' '\\')"
    for reference in 0 1; do
        export SNAPCREST_REFERENCE_PAINT=$reference
        [ "$reference" = 1 ] && echo "== $geometry, reference composition" || echo "== $geometry, fast composition"
        bash "$root/scripts/wine-run.sh" "$build" "$build/win/snapbench.exe" drag
    done
    bash "$root/scripts/wine-env.sh" stop "$build"
done
