#!/usr/bin/env bash
# The test runner's relaunch of a launch that died before the program ran:
# a stand-in `wine` on the PATH plays each way a launch can end.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/state" "$tmp/build"
: >"$tmp/state/session.env"
# Each call takes its behaviour from the next line of $tmp/plays.
cat >"$tmp/bin/wine" <<'WINE'
#!/bin/sh
n=$(( $(cat "$PLAYDIR/calls" 2>/dev/null || echo 0) + 1 ))
echo "$n" >"$PLAYDIR/calls"
case "$(sed -n "${n}p" "$PLAYDIR/plays")" in
    silent1) exit 1 ;;
    said1)   echo "[  FAILED  ] something"; exit 1 ;;
    slow1)   sleep 1.2; exit 1 ;;
    pass)    echo "[  PASSED  ] 1 test"; exit 0 ;;
esac
WINE
chmod +x "$tmp/bin/wine"

failures=0
# plays, option, expected exit code, expected launches
check() {
    printf '%s\n' $1 >"$tmp/plays"
    rm -f "$tmp/calls"
    out=$(PATH="$tmp/bin:$PATH" PLAYDIR="$tmp" SNAPCREST_WINE_STATE="$tmp/state" \
          bash "$root/scripts/wine-run.sh" "$tmp/build" $2 prog.exe 2>&1)
    rc=$?
    calls=$(cat "$tmp/calls")
    if [ "$rc" != "$3" ] || [ "$calls" != "$4" ]; then
        echo "FAIL: plays '$1' option '$2': exit $rc after $calls launches, expected $3 after $4"
        echo "$out" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}
R=--relaunch-silent-start
check "silent1 pass"    "$R" 0 2   # the platform's silent start is launched again
check "silent1 silent1" "$R" 1 2   # but only once
check "said1 pass"      "$R" 1 1   # a program that reported keeps its failure
check "slow1 pass"      "$R" 1 1   # as does one that ran for a while
check "pass"            "$R" 0 1
check "silent1 pass"    ""   1 1   # without the option nothing is relaunched
[ "$failures" -eq 0 ] && echo "all launches ended as expected"
exit "$failures"
