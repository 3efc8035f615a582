#!/usr/bin/env bash
# Packs the release zip from the build, unpacks it into a fresh folder as a
# Windows user would, checks the read-me's line ends and runs a capture from
# the unpacked program under the build tree's Wine session.
#   e2e-package.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:?build directory}" && pwd)
work="$build/package-test"
rm -rf "$work"
mkdir -p "$work/unpacked"
BUILD_DIR="$build" bash "$here/package.sh" --no-build "$work/dist" >/dev/null
version=$(head -n1 "$here/../VERSION")
zip="$work/dist/snapcrest-$version-win64.zip"
(cd "$work/unpacked" && unzip -q "$zip")
folder="$work/unpacked/snapcrest-$version"
for f in snapcrest.exe skinScreen/back.jpg skinScreen/icon_bg.png README.txt; do
    [ -f "$folder/$f" ] || { echo "e2e-package: $f is not in $zip" >&2; exit 1; }
done
lines=$(wc -l <"$folder/README.txt")
crlf=$(grep -c $'\r$' "$folder/README.txt" || true)
[ "$lines" -gt 10 ] && [ "$lines" = "$crlf" ] || { echo "e2e-package: README.txt has $crlf CRLF of $lines lines" >&2; exit 1; }
grep -q "Snapcrest $version" "$folder/README.txt" || { echo "e2e-package: README.txt lacks the version" >&2; exit 1; }
SNAPCREST_UNPACKED="Z:$(printf '%s' "$folder" | tr '/' '\\')" \
    bash "$here/wine-run.sh" "$build" --relaunch-silent-start "$build/win/tests/e2e/e2e_driver.exe" --gtest_filter='Package.*'
