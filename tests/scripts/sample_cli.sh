#!/bin/bash
# veltrix-cli sample: a ready program folder, the same bytes for the same seed,
# a one-line reason and exit code 1 for bad arguments.
set -u
BUILD=$1
SRC=$2
build=$BUILD
src=$SRC
. "$src/tests/scripts/lib/runner.sh"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"${cli[@]}" sample "$TMP/a" --seed 5 --results-years 0 --jvlink-only > "$TMP/out" || fail "sample exited $?"
grep -q '^races 72, runners [0-9]*, special registrations [0-9]*, horses [0-9]*, past runs [0-9]*$' "$TMP/out" || fail "summary line: $(cat "$TMP/out")"
grep -q '^files [0-9]*, records [0-9]*, bytes [0-9]*, [0-9]* ms$' "$TMP/out" || fail "size line: $(cat "$TMP/out")"
[ -f "$TMP/a/VELTRIX.ctx" ] || fail "no settings file"
cmp -s "$TMP/a/VELTRIX.ctx" "$BUILD/bin/VELTRIX.ctx" || fail "settings file differs from the delivered one"
[ -d "$TMP/a/cache" ] && [ -z "$(ls -A "$TMP/a/cache")" ] || fail "cache folder missing or not empty"
[ -d "$TMP/a/data" ] && [ -z "$(ls -A "$TMP/a/data")" ] || fail "data folder missing or not empty"
for d in stored/RACE stored/TOKU stored/RCOV stored/TCOV realtime/0B30 realtime/0B13 realtime/0B12; do
    [ -n "$(ls -A "$TMP/a/jvlink/$d" 2>/dev/null)" ] || fail "jvlink/$d empty"
done

"${cli[@]}" sample "$TMP/b" --seed 5 --results-years 0 --jvlink-only > /dev/null || fail "second run"
diff -r "$TMP/a" "$TMP/b" > /dev/null || fail "same seed gave different files"

# Without --jvlink-only the week is imported and the analysis files are written,
# so the program shows races with figures at its first start.
"${cli[@]}" sample "$TMP/d" --seed 5 --results-years 0 > "$TMP/out" || fail "imported sample exited $?"
grep -q '^imported races 72, runners [0-9]*, past runs [0-9]*, analysis files 2, condition records [0-9]*$' "$TMP/out" \
    || fail "import line: $(cat "$TMP/out")"
"${cli[@]}" --root "$TMP/d" load > "$TMP/load" || fail "load of the imported sample"
grep -qx 'DataMode	KONSYU' "$TMP/load" || fail "not a KONSYU week"
grep -qx 'RaceCount	72' "$TMP/load" || fail "not 72 races"
grep -qx 'Analysis	2' "$TMP/load" || fail "analysis files not merged: $(grep Analysis "$TMP/load")"
grep -q '^Conditions	[1-9]' "$TMP/load" || fail "no condition records"

for args in "" "--seed 5" "$TMP/c --seed x" "$TMP/c --results-years -1" "$TMP/c --seed" "$TMP/c extra"; do
    # shellcheck disable=SC2086
    if "${cli[@]}" sample $args > /dev/null 2> "$TMP/err"; then fail "accepted: sample $args"; fi
    [ "$(wc -l < "$TMP/err")" -eq 1 ] || fail "not one line of reason for: sample $args"
done
echo ok
