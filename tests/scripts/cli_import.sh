#!/usr/bin/env bash
# veltrix-cli import on a generated program folder: this week's races, the
# special registrations over them, and cancels at several turns that end with
# the abort message and an empty store. Arguments: build folder, source folder.
set -euo pipefail
build=$1
cli="$build/bin/veltrix-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" sample "$work/p" --results-years 0 --jvlink-only >/dev/null

"$cli" --root "$work/p" import week >"$work/out.txt"
head -1 "$work/out.txt" | grep -qx '今週のレース情報をインポートしますか？'
tail -1 "$work/out.txt" | grep -qx '今週のレース情報を更新しました。'
grep -qx 'レース情報を展開中...' "$work/out.txt"
"$cli" --root "$work/p" load >"$work/load.txt"
grep -qx 'DataMode	KONSYU' "$work/load.txt"
grep -qx 'RaceCount	72' "$work/load.txt"

"$cli" --root "$work/p" import toku >"$work/out.txt"
head -1 "$work/out.txt" | grep -qx '今週のレース情報をインポート済みです。特別登録馬情報をインポートしますか？'
tail -1 "$work/out.txt" | grep -qx '特別登録馬情報を更新しました。'
"$cli" --root "$work/p" load | grep -qx 'DataMode	TOKUBETSU'

for n in 1 40 3000 30000; do
    status=0
    "$cli" --root "$work/p" import week --cancel-after "$n" >"$work/out.txt" || status=$?
    test "$status" -eq 1
    tail -1 "$work/out.txt" | grep -qx 'レース情報の更新を中止しました。'
    "$cli" --root "$work/p" load | grep -qx 'RaceCount	0'
    if ls "$work/p/cache" | grep -q '^cache[123]'; then
        echo "weekly files left after a cancel at turn $n"
        exit 1
    fi
done

# Bad arguments.
if "$cli" --root "$work/p" import month 2>/dev/null; then exit 1; fi
if "$cli" --root "$work/p" import week --cancel-after x 2>/dev/null; then exit 1; fi
echo ok
