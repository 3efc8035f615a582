#!/usr/bin/env bash
# Runs a Windows program inside the build tree's Wine session (see wine-env.sh).
#   wine-run.sh BUILD_DIR [--relaunch-silent-start] PROGRAM.exe [ARGS...]
# The program finds snapcrest.exe through SNAPCREST_EXE (a Windows path).
#
# --relaunch-silent-start is for test programs, which always print their
# report: about once in a few thousand launches Wine ends the process with
# exit code 1 within milliseconds and without a word, before the program has
# run at all. Such a launch is made once more, and the log says so. A program
# that printed anything, or ran for a second, keeps its result.
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
shift
relaunch=0
if [ "${1:-}" = "--relaunch-silent-start" ]; then
    relaunch=1
    shift
fi
envfile="${SNAPCREST_WINE_STATE:-$build/wine}/session.env"
if [ ! -f "$envfile" ]; then
    echo "wine-run: no Wine session for $build (run wine-env.sh start first)" >&2
    exit 1
fi
# shellcheck disable=SC1090
. "$envfile"
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
export SNAPCREST_EXE
SNAPCREST_EXE=$(winpath "$build/win/snapcrest.exe")
launch() { env LC_ALL="${SNAPCREST_LC:-zh_CN.UTF-8}" wine "$@"; }
name=$(basename "$1")

# Not exec'd: a program that ends without a word still leaves its exit code
# in the log.
rc=0
if [ "$relaunch" -eq 0 ]; then
    launch "$@" || rc=$?
else
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    for attempt in 1 2; do
        start=$(date +%s%N)
        set +e
        launch "$@" 2>&1 | tee "$log"
        rc=${PIPESTATUS[0]}
        set -e
        ms=$(( ($(date +%s%N) - start) / 1000000 ))
        if [ "$attempt" -eq 1 ] && [ "$rc" -ne 0 ] && [ ! -s "$log" ] && [ "$ms" -lt 1000 ]; then
            echo "wine-run: $name ended with exit code $rc after $ms ms without a word, before it could have run; launching it once more" >&2
            continue
        fi
        break
    done
fi
[ "$rc" -eq 0 ] || echo "wine-run: $name ended with exit code $rc" >&2
exit "$rc"
