#!/usr/bin/env bash
# Installs what VELTRIX needs to build, test and run on Debian 12.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
PACKAGES=(build-essential openbox cmake ninja-build pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libcurl4-openssl-dev libcli11-dev
          libuchardet-dev libcpp-httplib-dev qt6-translations-l10n
          fonts-noto-cjk xvfb xauth x11-utils xdotool imagemagick poppler-utils procps
          qt6-qpa-plugins help2man dpkg-dev lintian desktop-file-utils man-db)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
