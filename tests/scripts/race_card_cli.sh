#!/bin/bash
# veltrix-cli card on a generated week after the weekly import: one header line
# and one line per registered runner, every line with every column of the sheet.
set -u
BUILD=$1
SRC=$2
build=$BUILD
src=$SRC
. "$src/tests/scripts/lib/runner.sh"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"${cli[@]}" sample "$TMP/w" --seed 3 --results-years 0 --jvlink-only > /dev/null || fail "sample exited $?"
"${cli[@]}" --root "$TMP/w" import week > /dev/null 2>&1 || fail "import exited $?"
"${cli[@]}" --root "$TMP/w" load > "$TMP/load" || fail "load exited $?"
RACE=$(awk -F'\t' '$1 == "race" { print $2; exit }' "$TMP/load")
[ -n "$RACE" ] || fail "no race in the stored week"

for sheet in 1 2 3; do
    "${cli[@]}" --root "$TMP/w" card "$RACE" --sheet "$sheet" > "$TMP/card$sheet" || fail "card --sheet $sheet exited $?"
    cols=$(case $sheet in 1) echo 34;; 2) echo 29;; 3) echo 46;; esac)
    awk -F'\t' -v n="$cols" 'NF != n { bad = 1 } END { exit bad }' "$TMP/card$sheet" || fail "sheet $sheet: a line without $cols columns"
done
head -1 "$TMP/card1" | grep -q $'^SORT\tNo.\tUMACODE\t印\t馬名\t性齢\t負担' || fail "sheet 1 headers: $(head -1 "$TMP/card1")"
head -1 "$TMP/card3" | grep -q $'\t人気\tN\tD.M.\t' || fail "sheet 3 headers"
rows=$(($(wc -l < "$TMP/card1") - 1))
[ "$rows" -ge 2 ] || fail "only $rows rows"
# The horse numbers are 1..n in order, shown without the leading zero.
awk -F'\t' 'NR > 1 && $2 != NR - 1 { bad = 1 } END { exit bad }' "$TMP/card1" || fail "horse numbers not 1..n"
# Same runners in the same order on every sheet.
diff <(tail -n +2 "$TMP/card1" | cut -f2,3,5) <(tail -n +2 "$TMP/card3" | cut -f2,3,5) > /dev/null || fail "sheets 1 and 3 differ in runners"

if "${cli[@]}" --root "$TMP/w" card 2000010101010101 > /dev/null 2>&1; then fail "accepted an unknown race"; fi
if "${cli[@]}" --root "$TMP/w" card "$RACE" --sheet 4 > /dev/null 2>&1; then fail "accepted sheet 4"; fi
if "${cli[@]}" --root "$TMP/w" odds "$RACE" > /dev/null 2>&1; then fail "odds without an odds file"; fi
echo ok
