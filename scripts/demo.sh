#!/usr/bin/env bash
# Installs, builds and starts VELTRIX on a program folder with the sample data,
# beside a local analysis-file service that serves the sample's analysis files.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build build -j"$(nproc)" --target veltrix veltrix-cli veltrix-analysis-service
DEMO="$PWD/build/demo"
if [ ! -f "$DEMO/VELTRIX.ctx" ]; then
  mkdir -p "$DEMO"
  ./build/bin/veltrix-cli sample "$DEMO"
fi
# The service's own copy of the analysis files: a weekly import in the demo
# deletes those of the cache folder, and "分析ファイルのインポート" fetches them again.
if ! ls "$DEMO"/service/cachea* >/dev/null 2>&1; then
  mkdir -p "$DEMO/service"
  cp "$DEMO"/cache/cachea* "$DEMO/service/" 2>/dev/null || true
fi
cp build/bin/veltrix build/bin/veltrix-cli build/bin/veltrix-analysis-service "$DEMO/"
rm -rf "$DEMO/help" && cp -r build/bin/help "$DEMO/help"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display available: showing the sample data with veltrix-cli instead."
  exec "$DEMO/veltrix-cli" load
fi

# The service listens on a loopback port the system chooses and prints its URL;
# it stops when VELTRIX ends.
url_file=$(mktemp)
"$DEMO/veltrix-analysis-service" --files "$DEMO/service" >"$url_file" &
service=$!
trap 'kill "$service" 2>/dev/null || true; rm -f "$url_file"' EXIT
for _ in $(seq 50); do
  [ -s "$url_file" ] || ! kill -0 "$service" 2>/dev/null && break
  sleep 0.1
done
if [ -s "$url_file" ]; then
  export VELTRIX_SERVICE_URL
  VELTRIX_SERVICE_URL=$(head -1 "$url_file")
  echo "Analysis-file service: $VELTRIX_SERVICE_URL"
else
  echo "The local analysis-file service did not start: 分析ファイルのインポート will report an error."
fi
"$DEMO/veltrix"
