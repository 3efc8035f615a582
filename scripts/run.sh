#!/usr/bin/env bash
# Builds the tool and starts it under Wine. On an X display ($DISPLAY) it runs
# there; without one it draws a desktop on a private virtual display, goes
# through a whole capture there as a user would (selection, a rectangle, an
# arrow in another colour, a typed word, saving as PNG) and writes a
# screenshot of each step and the saved picture to build/demo/.
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
demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo"
# Something to capture: a desktop with a wallpaper and two windows.
bash "$root/scripts/demo-desktop.sh" "$demo/0-desktop.png"
# (display reports failure after setting the root window here; the picture is there.)
display -window root "$demo/0-desktop.png" 2>/dev/null || true
bash "$root/scripts/wine-run.sh" "$build" "$build/win/snapcrest.exe" "$@" &

shot() { sleep 0.6; import -display "$DISPLAY" -window root "$demo/$1.png"; echo "  $demo/$1.png"; }
drag() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.1 mousemove "$3" "$4" sleep 0.1 mousemove "$5" "$6" sleep 0.1 mouseup 1; }
click() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.3; }
# Waits up to 10 s for a top-level X window titled $1 (of any size when empty:
# the capture covering the screen).
wait_window() {
    for _ in $(seq 100); do
        if [ -n "$1" ]; then xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        else xwininfo -root -tree 2>/dev/null | grep -q ' 1920x1080+0+0 ' && return 0; fi
        sleep 0.1
    done
    echo "snapcrest: no window '$1' appeared" >&2; return 1
}

# As a user would: a selection, then marks chosen on the tool bar below it.
# The bar's buttons lie 30 pixels apart under the selection's right end.
sx0=480 sy0=250 sx1=1500 sy1=720
bx=$((sx1 + 4 - 319 - 3)) by=$((sy1 + 4 + 2 + 19))
button() { click $((bx + 30 * $1)) "$by"; }  # 0 rectangle, 2 arrow, 3 text, 7 save
echo "snapcrest: no X display; a capture on a virtual display, step by step:"
wait_window ""
shot 1-frozen
drag $sx0 $sy0 1000 500 $sx1 $sy1
shot 2-selection
button 0
drag 520 500 700 580 900 672
shot 3-rectangle
button 2
# The colour chooser beside the bar: red 0, green 200, blue 80, typed into its
# red, green and blue boxes (reached with their Alt keys), then OK.
click $((bx + 89)) $((by + 37))
wait_window '颜色' || wait_window 'Color'
for k in r:0 g:200 u:80; do xdotool key "alt+${k%%:*}" sleep 0.1 type "${k#*:}"; done
shot 4-colour
xdotool key Return
sleep 0.5
drag 1440 300 1380 400 1290 530
shot 5-arrow
button 3
click 1000 300
xdotool type --delay 60 'Ship it!'
button 0
shot 6-text
button 7
wait_window '图片保存对话框'
saved="$demo/capture"
xdotool key ctrl+a sleep 0.1 type --delay 20 "Z:$(printf '%s' "$saved" | tr '/' '\\')"
shot 7-save-dialog
xdotool key Return
for _ in $(seq 50); do [ -f "$saved.png" ] && break; sleep 0.1; done
shot 8-after
echo "snapcrest: the saved picture is $saved.png"
wait
