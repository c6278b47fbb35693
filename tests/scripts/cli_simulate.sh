#!/usr/bin/env bash
# veltrix-cli simulate, simulate-model and race-model beyond the golden outputs:
# the window's message and exit 1 with fewer than two runners, Esc ending the
# run at once, a malformed key script, a race that is not in the database.
# Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
. "$src/tests/scripts/lib/runner.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$src/tests/data/golden/program" "$work/p"
race=2026121206050309
past=2026110705020112

# Not calculated: no prediction on the race card, so no runner.
status=0
"${cli[@]}" --root "$work/p" simulate $race yoso >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "simulate without predictions exited $status"
[ "$(cat "$work/out")" = "予測シミュレーションを行うには、２頭以上の対象馬が必要です。" ] ||
    fail "simulate without predictions printed: $(cat "$work/out")"

# Esc at frame 30: nobody finished, 29 frames drawn.
"${cli[@]}" --root "$work/p" simulate $race kekka --keys 30=esc >"$work/out" || fail "simulate with esc exited $?"
[ "$(cat "$work/out")" = $'frames\t29\ninterval\t60' ] || fail "simulate with esc printed: $(cat "$work/out")"

# Holding up to the end: the interval stops at 8 ms.
"${cli[@]}" --root "$work/p" simulate $race kekka --keys 1=up >"$work/out" || fail "simulate holding up exited $?"
grep -qx $'interval\t8' "$work/out" || fail "holding up did not end at 8 ms: $(tail -1 "$work/out")"

# The same seed gives the same run; the order does not depend on the seed.
"${cli[@]}" --root "$work/p" simulate $race kekka --seed 9 >"$work/a"
"${cli[@]}" --root "$work/p" simulate $race kekka --seed 123 >"$work/b"
diff -q "$work/a" "$work/b" >/dev/null || fail "the seed changed the finishing order"

for keys in "x=up" "5=jump" "5=up,3=down" "0=esc"; do
    status=0
    "${cli[@]}" --root "$work/p" simulate $race kekka --keys "$keys" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 1 ] || fail "--keys $keys exited $status"
    [ -s "$work/err" ] || fail "--keys $keys gave no reason"
    [ ! -s "$work/out" ] || fail "--keys $keys printed a result"
done

# A race that is not in the database: the header only, and START refuses.
"${cli[@]}" --root "$work/p" race-model 2026110705020199 >"$work/out" || fail "race-model of a missing race exited $?"
[ "$(wc -l <"$work/out")" = 1 ] || fail "race-model of a missing race printed rows"
status=0
"${cli[@]}" --root "$work/p" simulate-model 2026110705020199 >"$work/out" 2>&1 || status=$?
[ "$status" = 1 ] || fail "simulate-model of a missing race exited $status"
[ "$(cat "$work/out")" = "結果シミュレーションを行うには、２頭の対象馬が必要です。" ] ||
    fail "simulate-model of a missing race printed: $(cat "$work/out")"

# A damaged race file is reported and left where it is.
printf '"1","01"\r\n' >"$work/p/data/2026/2026110705020113"
status=0
"${cli[@]}" --root "$work/p" race-model 2026110705020113 >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "race-model of a damaged file exited $status"
[ -f "$work/p/data/2026/2026110705020113" ] || fail "the damaged race file was deleted"
[ "$("${cli[@]}" --root "$work/p" race-model $past | wc -l)" = 13 ] || fail "race-model of the past race is not 12 rows"
echo "cli_simulate: ok"
