#!/usr/bin/env bash
# Runs a Windows program inside the build tree's Wine session (see wine-env.sh).
#   wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The program finds snapcrest.exe through SNAPCREST_EXE (a Windows path).
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
shift
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
# Not exec'd: a program that ends without a word (once, a test ended in
# 10 ms with no output at all) still leaves its exit code in the log.
rc=0
env LC_ALL="${SNAPCREST_LC:-zh_CN.UTF-8}" wine "$@" || rc=$?
[ "$rc" -eq 0 ] || echo "wine-run: $(basename "$1") ended with exit code $rc" >&2
exit "$rc"
