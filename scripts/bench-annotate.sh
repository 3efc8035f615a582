#!/usr/bin/env bash
# Annotation benchmark (not a test): hover repaints, a rectangle's live preview
# and a long pen stroke, both ways, measured from outside the program at each
# screen size given (default 1920x1080 and 3840x2160). With the shared
# side-by-side benchmark's floor.c at FLOOR_C (or ../shared/bench/side/), the
# figures are also given as ratios to that floor, measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" >/dev/null
command -v xdotool >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xdotool >/dev/null; }
floor_c=${FLOOR_C:-$root/../shared/bench/side/floor.c}
if [ -f "$floor_c" ]; then
    export FLOOR_EXE="$build/bench/floor.exe"
    mkdir -p "$build/bench"
    [ "$FLOOR_EXE" -nt "$floor_c" ] || x86_64-w64-mingw32-gcc -O2 -mwindows -o "$FLOOR_EXE" "$floor_c"
fi
geometries=("$@")
[ ${#geometries[@]} -gt 0 ] || geometries=(1920x1080 3840x2160)
for geometry in "${geometries[@]}"; do
    export SNAPCREST_WINE_STATE="$build/wine-bench-$geometry"
    bash "$root/scripts/wine-env.sh" start "$build" "$geometry" >/dev/null
    # shellcheck disable=SC1090
    . "$SNAPCREST_WINE_STATE/session.env"
    LC_ALL="$SNAPCREST_LC" python3 "$root/tools/bench/annotate_bench.py" "$build/win/snapcrest.exe" \
        "$(cat "$SNAPCREST_WINE_STATE/xvfb.pid")" "$SNAPCREST_WINE_STATE" ${BENCH_PARTS:-} || true
    bash "$root/scripts/wine-env.sh" stop "$build"
done
