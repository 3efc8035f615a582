#!/usr/bin/env bash
# Builds the program and packs the release for Windows users:
#   dist/snapcrest-<version>-win64.zip  with  snapcrest-<version>/snapcrest.exe,
#   snapcrest-<version>/skinScreen/ and snapcrest-<version>/README.txt (CRLF).
# The version is the VERSION file's.
#   package.sh [--no-build] [OUTPUT_DIR]   (--no-build packs what build/ holds)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ "${1:-}" = "--no-build" ]; then shift; else bash "$root/scripts/build.sh"; fi
out=${1:-$root/dist}
version=$(head -n1 "$root/VERSION")
exe="$build/win/snapcrest.exe"
[ -f "$exe" ] || { echo "package: $exe is missing (build first)" >&2; exit 1; }
mkdir -p "$out"
zip="$(cd "$out" && pwd)/snapcrest-$version-win64.zip"
python3 - "$zip" "$version" "$exe" "$root/resources/skinScreen" "$root/docs/README-Windows.txt" <<'PY'
import os, sys, zipfile
zip_path, version, exe, skin, readme = sys.argv[1:]
top = "snapcrest-%s/" % version
text = open(readme, encoding="utf-8").read().replace("@VERSION@", version)
# Windows users open the read-me in Notepad: CRLF line ends.
text = text.replace("\r\n", "\n").replace("\n", "\r\n")
tmp = zip_path + ".tmp"
with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, top + "snapcrest.exe")
    for name in sorted(os.listdir(skin)):
        z.write(os.path.join(skin, name), top + "skinScreen/" + name)
    z.writestr(top + "README.txt", text.encode("utf-8"))
os.replace(tmp, zip_path)
PY
echo "package: $zip"
