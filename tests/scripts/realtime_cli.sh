#!/usr/bin/env bash
# veltrix-cli update on a generated program folder: the whole week's three
# batches, what odds and card show afterwards, one race's "取込", a race without
# a quick result, a cancel, and the refusals. Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
. "$src/tests/scripts/lib/runner.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"${cli[@]}" sample "$work/p" --results-years 0 >/dev/null
races=$("${cli[@]}" --root "$work/p" load | grep '^race	' | cut -f2)
first=$(echo "$races" | head -1)
last=$(echo "$races" | tail -1)  # Sunday's last race: no quick result yet

"${cli[@]}" --root "$work/p" update all week >"$work/out.txt"
diff - "$work/out.txt" <<'TEXT'
データマイニング情報を一括インポートしますか？
データマイニング情報をインポート中...
データマイニング情報を更新しました。
速報オッズ情報を一括インポートしますか？
速報オッズ情報をインポート中...
速報オッズを更新しました。
レース結果情報を一括インポートしますか？
レース結果情報をインポート中...
レース結果情報を更新しました。
TEXT
test "$(ls "$work/p/cache" | grep -c '^cache4')" -eq 72
test "$(ls "$work/p/cache" | grep -c '^cache7')" -eq 72
test -e "$work/p/cache/cache8$first"
test ! -e "$work/p/cache/cache8$last"

# The odds file holds the six record kinds; the odds scores average 50.
"${cli[@]}" --root "$work/p" odds "$first" >"$work/odds.txt"
grep -qx 'OddsCount	6' "$work/odds.txt"
awk -F'\t' '$1 == "horse" && $3 != "-1.0000" { s += $3; n++ }
    END { m = s / n; if (n < 2 || m < 49.999 || m > 50.001) { print "mean " m " over " n; exit 1 } }' "$work/odds.txt"
for kind in tansyo fukusyo umaren wide umatan sanrenpuku sanrentan; do
    grep -q "^$kind	" "$work/odds.txt"
done

# Sheet 3 of the race: popularity, forecast, result and win odds filled.
"${cli[@]}" --root "$work/p" card "$first" --sheet 3 >"$work/card.txt"
awk -F'\t' 'NR == 1 { if ($6 != "人気" || $14 != "結果" || $20 != "単勝") exit 1; next }
    $6 == "" || $8 == "" || $20 == "" { bad++ } $14 != "" { results++ }
    END { if (bad > 1 || results < 2) { print "bad " bad ", results " results; exit 1 } }' "$work/card.txt"

# Calculated: the races with a quick result score popularity and forecast, those
# with a prediction as well their own score; a race without a result scores nothing.
"${cli[@]}" --root "$work/p" week --calculate >"$work/week.txt"
awk -F'\t' '$6 != "" && $7 != "" && $8 != "" { full++ } $6 != "" { results++ }
    END { if (full < 10 || results != 54) { print "full " full ", results " results; exit 1 } }' "$work/week.txt"
grep "^$last	" "$work/week.txt" | awk -F'\t' '$6 != "" || $7 != "" || $8 != "" { exit 1 }'
"${cli[@]}" --root "$work/p" labels "$first" --calculate | grep -q '^人気スコア	[0-9]'

# One race as "取込": forecast, odds, result, whatever each returns.
status=0
"${cli[@]}" --root "$work/p" update all "$last" >"$work/out.txt" || status=$?
test "$status" -eq 1
diff - "$work/out.txt" <<'TEXT'
データマイニング情報をインポート中...
データマイニング情報を更新しました。
速報オッズ情報をインポート中...
速報オッズを更新しました。
レース結果情報をインポート中...
レース結果情報の更新を中止しました。
TEXT
"${cli[@]}" --root "$work/p" update odds "$first" | tail -1 | grep -qx '速報オッズを更新しました。'

# Cancel during the batch: abort message, exit 1.
status=0
"${cli[@]}" --root "$work/p" update odds week --cancel-after 20 >"$work/out.txt" || status=$?
test "$status" -eq 1
tail -1 "$work/out.txt" | grep -qx '速報オッズ情報の更新を中止しました。'

# Refusals: an unknown race, a bad kind, a week of special registrations.
if "${cli[@]}" --root "$work/p" update odds 2026121299999999 2>/dev/null; then exit 1; fi
if "${cli[@]}" --root "$work/p" update place week 2>/dev/null; then exit 1; fi
"${cli[@]}" --root "$work/p" import toku >/dev/null
if "${cli[@]}" --root "$work/p" update odds week 2>"$work/err.txt"; then exit 1; fi
grep -q 'KONSYU' "$work/err.txt"
echo ok
