#!/usr/bin/env bash
# Installs, on a Debian machine, everything the build and the tests need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  cmake make g++ googletest
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine64 wine xvfb xauth
  fonts-liberation fonts-wqy-microhei locales
  python3 imagemagick x11-utils xdotool unzip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
