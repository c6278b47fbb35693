#!/bin/bash
# veltrix-cli bets, mark, heatmap and the odds-view options of card on a copy of
# the committed program folder, whose race 2026121206050309 has odds, a bet
# list of four bets and marks.
set -u
BUILD=$1
SRC=$2
build=$BUILD
src=$SRC
. "$src/tests/scripts/lib/runner.sh"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$SRC/tests/data/golden/program" "$TMP/p"
R=2026121206050309
run() { "${cli[@]}" --root "$TMP/p" "$@"; }
T=$'\t'

# The restored list: four bets and the total row.
run bets $R > "$TMP/list" || fail "bets exited $?"
[ "$(wc -l < "$TMP/list")" -eq 5 ] || fail "bets: $(cat "$TMP/list")"
grep -qx "2${T}40103${T}38${T}500${T}1900${T}馬連${T}01-03${T}3.8${T}○－◎${T}\\\\500${T}26.3%${T}\\\\1,900${T}100.0%" "$TMP/list" \
    || fail "quinella row: $(sed -n 2p "$TMP/list")"
grep -qx "T${T}TOTAL${T}${T}${T}${T}${T}${T}${T}${T}\\\\1,900${T}${T}${T}" "$TMP/list" || fail "total row: $(tail -1 "$TMP/list")"

# An exacta added as the pop-up adds it, a stake typed as 250.
run bets $R add 6 0103 stake 5 250 > "$TMP/add" || fail "bets add exited $?"
grep -q "^5${T}60103${T}70${T}200${T}1400${T}馬単${T}01-03${T}7.0${T}○→◎${T}\\\\200${T}" "$TMP/add" || fail "added exacta: $(cat "$TMP/add")"
grep -q "^T${T}TOTAL${T}.*\\\\2,100" "$TMP/add" || fail "total after the add"

# Equal stakes of 1,000 yen over four bets: 200 each (250 rounds to the even hundred).
run bets $R stake T 1000 equal-stake > "$TMP/kin" || fail "equal-stake exited $?"
[ "$(awk -F'\t' '$1 != "T" && $10 != "\\200" { n++ } END { print n + 0 }' "$TMP/kin")" -eq 0 ] || fail "equal stakes: $(cat "$TMP/kin")"
grep -q '\\800' "$TMP/kin" || fail "equal-stake total"

# Equal payout, saved, and back with the next load.
run bets $R stake T '\5,000' equal-payout save > "$TMP/harai" || fail "equal-payout exited $?"
run bets $R > "$TMP/again" || fail "bets after save exited $?"
diff "$TMP/harai" "$TMP/again" > /dev/null || fail "the saved list did not come back: $(diff "$TMP/harai" "$TMP/again")"
grep -q "^4${T}8030106${T}445${T}100${T}" "$TMP/again" || fail "the long shot keeps the 100-yen minimum"

# CSV: eleven fields, CR LF.
run bets $R export "$TMP/out.csv" > /dev/null || fail "export exited $?"
printf '%s\r\n' "$R,,0,3,0,0,1400,,,," "$R,,3,1,3,0,1200,,,," "$R,,4,1,3,0,2300,,,," "$R,,7,3,1,6,100,,,," > "$TMP/want.csv"
cmp -s "$TMP/want.csv" "$TMP/out.csv" || fail "csv: $(od -c "$TMP/out.csv" | head)"
if run bets $R export "$TMP/missing/out.csv" > /dev/null 2> "$TMP/err"; then fail "export into a missing folder"; fi
grep -q "買い目リストの出力を中止しました。" "$TMP/err" || fail "export failure message: $(cat "$TMP/err")"

# Removing every bet and saving deletes the bet-list file.
run bets $R remove 1 03 remove 4 0103 remove 5 0103 remove 8 030106 save > "$TMP/none" || fail "remove exited $?"
[ ! -s "$TMP/none" ] || fail "list not empty: $(cat "$TMP/none")"
[ ! -e "$TMP/p/cache/cache5$R" ] || fail "cache5 still there"

# Bad actions.
for bad in "add 3 0102" "add 4 01" "stake 9 100" "frobnicate" "add 4"; do
    if run bets $R $bad > /dev/null 2>&1; then fail "bets accepted: $bad"; fi
done

# A mark from the menu's symbols: on the card and in the marks file.
run mark $R 2 2 > "$TMP/mark" || fail "mark exited $?"
grep -qx "2${T}2021100805${T}▲" "$TMP/mark" || fail "mark: $(cat "$TMP/mark")"
run card $R --sheet 3 | awk -F'\t' 'NR == 3 { exit $4 != "▲" }' || fail "mark not on sheet 3"
iconv -f CP932 -t UTF-8 "$TMP/p/cache/cache6$R" | grep -q '"2021100805","▲"' || fail "marks file"
if run mark $R 19 0 > /dev/null 2>&1; then fail "mark accepted horse 19"; fi
if run mark $R 2 15 > /dev/null 2>&1; then fail "mark accepted index 15"; fi

# The odds view after the clicks: axis 3, trio second horse 1.
run card $R --sheet 3 --axis 3 --second 33=1 > "$TMP/odds" || fail "card --axis exited $?"
awk -F'\t' 'NR == 4 { for (c = 25; c <= 46; ++c) if ($c != "") exit 1 }' "$TMP/odds" || fail "axis row not blank"
awk -F'\t' 'NR == 3 { exit !($25 == "11.7" && $33 != "" && $34 != "") }' "$TMP/odds" || fail "horse 2: $(sed -n 3p "$TMP/odds")"
if run card $R --sheet 3 --second 34=1 > /dev/null 2>&1; then fail "card accepted column 34"; fi

# The heat map: 18 x 18, the diagonal and the pivot's row and column empty.
run heatmap $R 7 3 > "$TMP/heat" || fail "heatmap exited $?"
awk -F'\t' 'NF != 18 { bad = 1 } END { exit bad || NR != 18 }' "$TMP/heat" || fail "heatmap shape"
awk -F'\t' '$NR != "" || $3 != "" || (NR == 3 && $0 != "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t") { bad = 1 } END { exit bad }' "$TMP/heat" \
    || fail "heatmap grey cells: $(head -3 "$TMP/heat")"
run heatmap $R 4 | awk -F'\t' 'NR == 1 { exit $2 == "" }' || fail "quinella 1-2 missing"
if run heatmap $R 5 > /dev/null 2>&1; then fail "heatmap accepted type 5"; fi
echo ok
