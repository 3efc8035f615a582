#!/usr/bin/env bash
# Builds the tool and starts it under Wine. On an X display ($DISPLAY) it runs
# there; without one it runs on a private virtual display and writes a
# screenshot of the capture to build/snapcrest-screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export SNAPCREST_WINE_STATE="$build/wine-user"
    bash "$root/scripts/wine-env.sh" prefix "$build"
    export WINEPREFIX="$SNAPCREST_WINE_STATE/prefix" WINEDEBUG=-all
    if [ -d "$SNAPCREST_WINE_STATE/locale" ]; then export LOCPATH="$SNAPCREST_WINE_STATE/locale"; fi
    echo "snapcrest: capturing on $DISPLAY (Esc or a right click ends the capture)"
    exec env LC_ALL=zh_CN.UTF-8 wine "$build/win/snapcrest.exe" "$@"
fi

bash "$root/scripts/wine-env.sh" start "$build"
trap 'bash "$root/scripts/wine-env.sh" stop "$build"' EXIT
# shellcheck disable=SC1091
. "$build/wine/session.env"
bash "$root/scripts/wine-run.sh" "$build" "$build/win/snapcrest.exe" "$@" &
sleep 3
# Drag out a selection as a user would, so the screenshot shows the capture at work.
xdotool mousemove 480 270 mousedown 1 mousemove 700 420 mousemove 1200 700 mouseup 1 || true
sleep 1
shot="$build/snapcrest-screenshot.png"
import -display "$DISPLAY" -window root "$shot"
echo "snapcrest: no X display; the capture on a virtual display is in $shot"
