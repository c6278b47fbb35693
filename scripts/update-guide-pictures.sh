#!/usr/bin/env bash
# Renews the user guide's pictures: builds and runs the window tests, which
# save their screenshots of the sample world in BUILD/screenshots, then copies
# every picture the guide shows (help/*.html, src="images/NAME.png") from there
# into help/images/. A picture that no test made in this run is an error, so a
# stale one is never kept. Usage: scripts/update-guide-pictures.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shots="$build/screenshots"
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run cmake --preset default first" >&2; exit 1; }
cmake --build "$build" -j2
stamp=$(mktemp)
trap 'rm -f "$stamp"' EXIT
# The window tests (Qt Test: ctest label gui) and the printed race card.
(cd "$build" && ctest -L gui -j2 --output-on-failure)
mkdir -p help/images
names=$(cat help/*.html | tr '\n' ' ' | grep -o 'src="images/[^"]*"' | sed 's/src="images\/\([^"]*\)"/\1/' | sort -u)
for name in $names; do
    [ -f "$shots/$name" ] || { echo "no test saved $shots/$name" >&2; exit 1; }
    [ "$shots/$name" -nt "$stamp" ] || { echo "$shots/$name was not renewed by this run" >&2; exit 1; }
    cp "$shots/$name" "help/images/$name"
done
# Pictures the guide no longer shows go.
for f in help/images/*; do
    grep -qx "$(basename "$f")" <<<"$names" || { rm "$f"; echo "removed $f (not shown by the guide)"; }
done
echo "copied $(wc -w <<<"$names") pictures into help/images/; review them with git diff --stat help/images"
