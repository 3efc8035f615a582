#!/usr/bin/env bash
# Speed and memory measured from outside the program, beside the least a
# frozen-screen overlay can do (floor.exe of the shared side-by-side bench),
# in the same run (a benchmark, not a test; nothing else should run meanwhile):
#   - launch to overlay on the screen, peak memory during the first drag
#     (../shared/bench/side/run.sh: snapcrest and floor-strip);
#   - CPU per paced pointer move of program + wineserver + X server for the
#     first selection, a move, a resize, a rectangle's and an arrow's preview
#     and a pen stroke (tools/bench/annotate_bench.py), each beside a drag of
#     the floor just before it, to which its ratio is taken.
# Medians over RUNS runs (default 5) at each size given (default 1920x1080 and
# 3840x2160); a table of the figures and their ratios to the floor at the end.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-5}
side=${SIDE_BENCH:-$root/../shared/bench/side}
bash "$root/scripts/build.sh" >/dev/null
command -v xdotool >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xdotool >/dev/null; }
export FLOOR_EXE="$build/bench/floor.exe"
mkdir -p "$build/bench"
[ "$FLOOR_EXE" -nt "$side/floor.c" ] || x86_64-w64-mingw32-gcc -O2 -mwindows -o "$FLOOR_EXE" "$side/floor.c"
out="$build/bench/side-$(date +%Y%m%d-%H%M%S).jsonl"
geometries=("$@")
[ ${#geometries[@]} -gt 0 ] || geometries=(1920x1080 3840x2160)
for geometry in "${geometries[@]}"; do
    export SNAPCREST_WINE_STATE="$build/wine-bench-$geometry"
    bash "$root/scripts/wine-env.sh" prefix "$build" "$geometry" >/dev/null
    # Launch and memory, with the shared instrument.
    locale_env=()
    [ -d "$SNAPCREST_WINE_STATE/locale" ] && locale_env=(LOCPATH="$SNAPCREST_WINE_STATE/locale")
    env "${locale_env[@]}" SNAP_EXE="$build/win/snapcrest.exe" WINEPREFIX="$SNAPCREST_WINE_STATE/prefix" \
        bash "$side/run.sh" "$geometry" "$runs" snapcrest floor-strip 2>>"$out.log" | grep '^{' >>"$out" ||
        echo "bench-side: the side instrument gave no figures at $geometry (see $out.log)" >&2
    # The drags, on the build's own virtual display.
    bash "$root/scripts/wine-env.sh" start "$build" "$geometry" >/dev/null
    # shellcheck disable=SC1090
    . "$SNAPCREST_WINE_STATE/session.env"
    for _ in $(seq "$runs"); do
        LC_ALL="$SNAPCREST_LC" python3 "$root/tools/bench/annotate_bench.py" "$build/win/snapcrest.exe" \
            "$(cat "$SNAPCREST_WINE_STATE/xvfb.pid")" "$SNAPCREST_WINE_STATE" \
            first move resize rect-changed arrow stroke >>"$out" || true
    done
    bash "$root/scripts/wine-env.sh" stop "$build"
done
python3 "$root/tools/bench/side_summary.py" "$out"
echo "figures: $out"
