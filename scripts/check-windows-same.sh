#!/usr/bin/env bash
# The Windows build against the Linux build on the same sample world: every
# command's output and exit code, and every file the commands write, the same
# bytes. Usage: check-windows-same.sh [LINUX_BUILD] [WINDOWS_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build}
windows=${2:-build-win64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_all() {
    local dir=$1
    shift
    local cli=("$@")
    local log=$dir.log
    step() {
        local status=0
        "${cli[@]}" "$@" >"$dir.out" 2>"$dir.err" || status=$?
        # The sample's own timing is the one line that may differ.
        local label="$*"
        { echo "== ${label//$dir/DIR} (exit $status)"; sed -E 's/, [0-9]+ ms$/, T ms/' "$dir.out"; echo "-- stderr"; cat "$dir.err"; } >>"$log"
    }
    step sample "$dir" --seed 5
    local race
    "${cli[@]}" --root "$dir" load >"$dir.out"
    race=$(awk -F'\t' '$1 == "race" { print $2; exit }' "$dir.out")
    step --root "$dir" load
    step --root "$dir" card "$race" --calculate
    step --root "$dir" card "$race" --sheet 3
    step --root "$dir" week --calculate
    step --root "$dir" export "$race" "$dir/cache/export.csv" --calculate
    step --root "$dir" update odds week
    step --root "$dir" bets "$race" add 6 0103 add 4 0102 stake T 1000 equal-stake save export "$dir/cache/bets.csv"
    step --root "$dir" card "$race" --sheet 3
    step --root "$dir" results-db build
    step --root "$dir" results-db info
    rm -f "$dir.out" "$dir.err"
}

start=$SECONDS
run_all "$work/linux" "$linux/bin/veltrix-cli"
echo "linux: $((SECONDS - start)) s"
start=$SECONDS
run_all "$work/windows" scripts/wine-run "$windows/bin/veltrix-cli.exe"
echo "windows (Wine): $((SECONDS - start)) s"

failed=0
if ! diff -u --label linux --label windows "$work/linux.log" "$work/windows.log"; then
    echo "FAIL: the outputs differ"
    failed=1
fi
# The program folders, file for file (the lock file and the settings file the
# commands write alike are compared too).
if ! diff -r -q "$work/linux" "$work/windows"; then
    echo "FAIL: the written files differ"
    failed=1
fi
grep "^== " "$work/linux.log"
[ "$failed" = 0 ] || exit 1
echo "check-windows-same: $(find "$work/linux" -type f | wc -l) files and $(grep -c '^== ' "$work/linux.log") outputs the same"
