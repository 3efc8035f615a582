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
# Something to capture: a gradient on the virtual screen.
backdrop="$build/wine/backdrop.png"
convert -size 1920x1080 gradient:'#2f6690-#f4d58d' "$backdrop" 2>/dev/null && display -window root "$backdrop" 2>/dev/null || true
bash "$root/scripts/wine-run.sh" "$build" "$build/win/snapcrest.exe" "$@" &
sleep 3
# As a user would: drag out a selection, then mark it up with a rectangle
# and an arrow chosen on the tool bar below it.
drag() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.1 mousemove "$3" "$4" sleep 0.1 mousemove "$5" "$6" sleep 0.1 mouseup 1; sleep 0.5; }
tool() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.5; }
{ drag 480 270 700 420 1200 700 && tool 882 725 && drag 560 330 700 450 760 520 && tool 942 725 &&
  drag 1100 650 950 560 820 490; } || true
sleep 1
shot="$build/snapcrest-screenshot.png"
import -display "$DISPLAY" -window root "$shot"
echo "snapcrest: no X display; the capture on a virtual display is in $shot"
