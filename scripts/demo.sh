#!/usr/bin/env bash
# Installs, builds and starts VELTRIX on a program folder with the sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build build -j"$(nproc)" --target veltrix veltrix-cli
DEMO="$PWD/build/demo"
if [ ! -f "$DEMO/VELTRIX.ctx" ]; then
  mkdir -p "$DEMO"
  ./build/bin/veltrix-cli sample "$DEMO"
fi
cp build/bin/veltrix build/bin/veltrix-cli "$DEMO/"
rm -rf "$DEMO/help" && cp -r build/bin/help "$DEMO/help"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display available: showing the sample data with veltrix-cli instead."
  exec "$DEMO/veltrix-cli" load
fi
exec "$DEMO/veltrix"
