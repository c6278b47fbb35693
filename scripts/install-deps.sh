#!/usr/bin/env bash
# Installs what VELTRIX needs to build, test and run on Debian 12.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
PACKAGES=(build-essential openbox cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libcurl4-openssl-dev libcli11-dev
          libcpp-httplib-dev qt6-translations-l10n
          fonts-noto-cjk xvfb xauth x11-utils xdotool imagemagick poppler-utils procps
          qt6-qpa-plugins help2man dpkg-dev lintian desktop-file-utils man-db)
# --windows: the cross compilers and Wine for the Windows builds (64-bit Wine
# only: wine32 cannot run on a kernel without 32-bit support and would be picked first).
if [ "${1:-}" = "--windows" ]; then
  PACKAGES=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-x86-64
            wine wine64 googletest unzip)
fi
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
