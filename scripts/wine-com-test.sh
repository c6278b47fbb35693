#!/usr/bin/env bash
# The COM round trip under Wine, for a 64-bit Windows test build:
#   scripts/wine-com-test.sh [BUILD] [--timing N]
# BUILD is the windows-x64 build folder (default build-win64). Registers the
# test COM server (VELTRIX.TestJVLink) in the build's Wine prefix, then runs
# the weekly import, the real-time updates of the week and the results database
# build on two copies of one sample world, once through the test server and once
# against the stand-in directly, and requires every file written, every output
# line and every exit code to be the same: first with the server's JVGets (the
# record's bytes), then with JVGets hidden (JVRead's text turned back into CP932).
# An unknown --jvlink choice and an unregistered ProgID must each end with one
# line on standard error and exit 1. With --timing N it also times N weekly
# imports each way and prints the times.
set -euo pipefail

build=build-win64
timing=0
while [ $# -gt 0 ]; do
  case $1 in
    --timing) timing=$2; shift 2 ;;
    *) build=$1; shift ;;
  esac
done
build=$(cd "$build" && pwd)
cli=$build/bin/veltrix-cli.exe
dll=$build/test-jvlink-com/veltrix-test-jvlink.dll
for f in "$cli" "$dll"; do
  [ -f "$f" ] || { echo "wine-com-test: $f is missing (build the windows-x64 preset with its tests)" >&2; exit 1; }
done

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The server reads these in the program's process; none may come from outside.
unset VELTRIX_TEST_JVLINK VELTRIX_TEST_JVLINK_NO_JVGETS VELTRIX_TEST_JVLINK_DOWNLOAD

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

winpath() { winepath -w "$1" 2>/dev/null; }

wine regsvr32 /s "$(winpath "$dll")" || { echo "wine-com-test: regsvr32 failed" >&2; exit 1; }

# One sample world; every run gets its own copy of it.
wine "$cli" sample "$(winpath "$work/world")" --seed 5 >/dev/null

# run NAME DIR CHOICE ARGS...: one command on DIR, its output, errors and exit code kept.
run() {
  local name=$1 dir=$2 choice=$3
  shift 3
  local status=0
  wine "$cli" --root "$(winpath "$dir")" --jvlink "$choice" "$@" >"$work/$name.out" 2>"$work/$name.err" || status=$?
  echo "$status" >"$work/$name.status"
}

for mode in jvgets jvread; do
  com=$work/$mode-com
  standin=$work/$mode-standin
  cp -a "$work/world" "$com"
  cp -a "$work/world" "$standin"
  export VELTRIX_TEST_JVLINK
  VELTRIX_TEST_JVLINK=$(winpath "$com/jvlink")
  if [ $mode = jvread ]; then export VELTRIX_TEST_JVLINK_NO_JVGETS=1; fi
  steps=("import week" "update all week" "results-db build")
  for i in "${!steps[@]}"; do
    read -r -a args <<<"${steps[$i]}"
    # results-db build counts every file as downloaded, on both sides.
    if [ "${args[0]}" = results-db ]; then export VELTRIX_TEST_JVLINK_DOWNLOAD=0; fi
    run "$mode-com-$i" "$com" com:VELTRIX.TestJVLink "${args[@]}"
    run "$mode-standin-$i" "$standin" standin "${args[@]}"
    unset VELTRIX_TEST_JVLINK_DOWNLOAD
    for part in out err status; do
      cmp -s "$work/$mode-com-$i.$part" "$work/$mode-standin-$i.$part" ||
        fail "$mode: ${steps[$i]}: the $part differs through the COM server ($(head -c 300 "$work/$mode-com-$i.err"))"
    done
    [ "$(cat "$work/$mode-standin-$i.status")" = 0 ] || fail "$mode: ${steps[$i]} failed against the stand-in"
  done
  unset VELTRIX_TEST_JVLINK_NO_JVGETS
  if diff -r "$com" "$standin" >"$work/$mode.diff"; then
    echo "ok: $mode: $(find "$com" -type f | wc -l) files the same after import week, update all week, results-db build"
  else
    fail "$mode: the program folders differ:"
    head -20 "$work/$mode.diff" >&2
  fi
done

# The server, not a stand-in of the program's own, answered: over an empty
# folder it has nothing to give.
mkdir -p "$work/empty/jvlink"
cp -a "$work/world" "$work/served"
status=0
VELTRIX_TEST_JVLINK=$(winpath "$work/empty/jvlink") wine "$cli" --root "$(winpath "$work/served")" \
  --jvlink com:VELTRIX.TestJVLink import week >"$work/served.out" 2>&1 || status=$?
if [ "$status" = 1 ] && grep -q "レース情報の更新を中止しました。" "$work/served.out"; then
  echo "ok: the test server serves the folder of VELTRIX_TEST_JVLINK"
else
  fail "over an empty VELTRIX_TEST_JVLINK the import through the server gave exit $status: $(tail -1 "$work/served.out")"
fi

# One clear line and exit 1 for a choice that is not one, and for a component that is not there.
expect_refusal() {
  local what=$1 expected=$2
  shift 2
  local status=0
  wine "$cli" --root "$(winpath "$work/world")" "$@" >"$work/refusal.out" 2>"$work/refusal.err" || status=$?
  if [ "$status" != 1 ] || [ "$(wc -l <"$work/refusal.err")" != 1 ] || ! grep -qF "$expected" "$work/refusal.err"; then
    fail "$what: exit $status, standard error: $(cat "$work/refusal.err")"
  else
    echo "ok: $what: $(cat "$work/refusal.err")"
  fi
}
expect_refusal "unregistered ProgID" 'JV-Link component "VELTRIX.NoSuchJVLink" is not registered' \
  --jvlink com:VELTRIX.NoSuchJVLink import week
expect_refusal "unknown choice" 'unknown JV-Link component "jvlinc"' --jvlink jvlinc import week

if [ "$timing" -gt 0 ]; then
  # Turn about, on one folder, so that both ways see the same machine load.
  export VELTRIX_TEST_JVLINK
  VELTRIX_TEST_JVLINK=$(winpath "$work/jvgets-com/jvlink")
  root=$(winpath "$work/jvgets-com")
  for _ in $(seq "$timing"); do
    for choice in com:VELTRIX.TestJVLink standin; do
      start=$(date +%s%N)
      wine "$cli" --root "$root" --jvlink "$choice" import week >/dev/null
      echo "$choice $(( ($(date +%s%N) - start) / 1000000 ))" >>"$work/timing"
    done
  done
  awk '{ sum[$1] += $2; n[$1]++; if (!($1 in min) || $2 < min[$1]) min[$1] = $2 }
       END { for (c in sum) printf "timing: import week --jvlink %s: mean %.0f ms, best %d ms (%d runs)\n", c, sum[c] / n[c], min[c], n[c] }' \
    "$work/timing" | sort
fi

[ "$failures" = 0 ] || { echo "wine-com-test: $failures failure(s)" >&2; exit 1; }
echo "wine-com-test: passed"
