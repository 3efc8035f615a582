#!/usr/bin/env bash
# A private Wine session for one build tree: its own prefix (made once and
# reused), a virtual X display on a free number, a persistent wineserver and a
# small keeper process so that start-up is fast and the clipboard survives the
# program under test.
#
#   wine-env.sh start BUILD_DIR [WIDTHxHEIGHT]   start, writes BUILD_DIR/wine/session.env
#   wine-env.sh stop  BUILD_DIR                  stop everything 'start' started
#   wine-env.sh prefix BUILD_DIR                 only make the prefix
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cmd=${1:?usage: wine-env.sh start|stop|prefix BUILD_DIR [WxH]}
build=$(cd "${2:?build directory}" && pwd)
geometry=${3:-1920x1080}
state="${SNAPCREST_WINE_STATE:-$build/wine}"
envfile="$state/session.env"
mkdir -p "$state"

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

# Code page 936 needs a working zh_CN locale, or non-ASCII arguments arrive damaged.
ensure_locale() {
    if locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
        unset LOCPATH
        return
    fi
    local dir="$state/locale"
    if [ ! -d "$dir/zh_CN.UTF-8" ]; then
        mkdir -p "$dir"
        localedef -i zh_CN -f UTF-8 "$dir/zh_CN.UTF-8" >/dev/null 2>&1 || true
    fi
    export LOCPATH="$dir"
}

ensure_prefix() {
    [ -f "$WINEPREFIX/.snapcrest-ready" ] && return
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    # Registry file in UTF-16LE so the Chinese value names survive any locale.
    python3 - "$state/settings.reg" <<'PY'
import sys
lines = [
    "Windows Registry Editor Version 5.00", "",
    r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]",
    '"Managed"="N"', '"Decorated"="N"', "",
    r"[HKEY_CURRENT_USER\Software\Wine\WineDbg]",
    '"ShowCrashDialog"=dword:00000000', "",
    r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]",
]
sans, serif, mono, cjk = "Liberation Sans", "Liberation Serif", "Liberation Mono", "WenQuanYi Micro Hei"
for face, family in [("Arial", sans), ("Tahoma", sans), ("Microsoft Sans Serif", sans),
                     ("MS Sans Serif", sans), ("Times New Roman", serif), ("Courier New", mono),
                     ("宋体", cjk), ("新宋体", cjk), ("SimSun", cjk), ("NSimSun", cjk),
                     ("仿宋", cjk), ("FangSong", cjk), ("黑体", cjk), ("SimHei", cjk),
                     ("微软雅黑", cjk), ("Microsoft YaHei", cjk)]:
    lines.append('"%s"="%s"' % (face, family))
lines.append("")
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
PY
    wine regedit /S "$(winepath_of "$state/settings.reg")" >/dev/null 2>&1
    wineserver -w || true
    touch "$WINEPREFIX/.snapcrest-ready"
}

# Wine maps the Unix root to drive Z:.
winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

start_display() {
    local fifo="$state/displayfd"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${geometry}x24" -nolisten tcp -noreset 3>"$fifo" \
        >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    local num
    read -r -t 20 num <"$fifo" || { echo "wine-env: Xvfb did not start" >&2; exit 1; }
    rm -f "$fifo"
    export DISPLAY=":$num"
}

case "$cmd" in
  prefix)
    ensure_locale
    ensure_prefix
    ;;
  start)
    "$0" stop "$build" 2>/dev/null || true
    ensure_locale
    start_display
    { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
    ensure_prefix
    wineserver -p >/dev/null 2>&1 </dev/null
    {
        echo "export DISPLAY='$DISPLAY'"
        echo "export WINEPREFIX='$WINEPREFIX'"
        echo "export WINEDEBUG='$WINEDEBUG'"
        echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
        if [ -n "${LOCPATH:-}" ]; then echo "export LOCPATH='$LOCPATH'"; fi
        # Applied by wine-run.sh to the Wine process only, where LOCPATH is
        # already in place when the locale is first set.
        echo "export SNAPCREST_LC='zh_CN.UTF-8'"
        echo "export SNAPCREST_SCREEN='$geometry'"
    } >"$envfile"
    # The keeper holds the Wine desktop (and so the clipboard) open between runs.
    keeper="$build/win/tests/support/keeper.exe"
    if [ -f "$keeper" ]; then
        nohup wine "$keeper" >/dev/null 2>&1 </dev/null &
        echo $! >"$state/keeper.pid"
        # The session is ready for the tests once the keeper's window exists
        # (a program that starts and ends while the desktop is still coming
        # up can hang on its way out).
        for _ in $(seq 100); do
            xwininfo -root -tree 2>/dev/null | grep -q '"keeper"' && break
            sleep 0.1
        done
    fi
    echo "wine-env: display $DISPLAY ($geometry), prefix $WINEPREFIX"
    ;;
  stop)
    if [ -f "$envfile" ]; then
        # shellcheck disable=SC1090
        . "$envfile"
        wineserver -k 2>/dev/null || true
    fi
    for f in keeper xvfb; do
        if [ -f "$state/$f.pid" ]; then
            kill "$(cat "$state/$f.pid")" 2>/dev/null || true
            rm -f "$state/$f.pid"
        fi
    done
    rm -f "$envfile"
    ;;
  *)
    echo "usage: wine-env.sh start|stop|prefix BUILD_DIR [WxH]" >&2; exit 2 ;;
esac
