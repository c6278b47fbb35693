#!/usr/bin/env bash
# veltrix-cli analysis import against the local analysis-file service (its
# executable on a loopback port the system chooses), on a copy of the committed
# week on two dates whose analysis files only the service has. Afterwards
# `history` shows the same merged figures as the committed golden output.
# Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
. "$src/tests/scripts/lib/runner.sh"
svc="$tools/veltrix-analysis-service"
golden="$src/tests/data/golden"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Starts the service with the given answers; its URL goes into $url.
start_service() {
    local out="$work/url.${#pids[@]}"
    "$svc" --files "$work/files" "$@" >"$out" &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.1
    done
    url=$(head -1 "$out")
    [[ "$url" == http://127.0.0.1:* ]] || { echo "the service did not start"; exit 1; }
}

fresh_program() {
    rm -rf "$work/p"
    cp -r "$golden/program" "$work/p"
    rm -f "$work/p"/cache/cachea*
}

mkdir "$work/files"
cp "$golden"/program/cache/cachea* "$work/files/"
horse=2021100805

# A whole import through VELTRIX_SERVICE_URL.
start_service
fresh_program
VELTRIX_SERVICE_URL="$url" "${cli[@]}" --root "$work/p" analysis import >"$work/out.txt"
cat >"$work/expected.txt" <<'LINES'
今週のレース情報の分析ファイルをインポートしますか？
分析ファイルをダウンロードしました。 ( 今週のレース情報：統計データ )
分析ファイルをインポートしました。 ( 今週のレース情報：統計データ )
分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/12 )
分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/12 )
分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/13 )
分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/13 )
LINES
diff -u "$work/expected.txt" "$work/out.txt"
"${cli[@]}" --root "$work/p" history "$horse" >"$work/history.txt"
diff -u "$golden/expected/history.txt" "$work/history.txt"
"${cli[@]}" --root "$work/p" load | grep -qx 'Analysis	2'
good=$url

# No file for the second date: the first stays, the command fails.
start_service --answer-for 20261213r=err6
fresh_program
status=0
"${cli[@]}" --root "$work/p" analysis import --service "$url" >"$work/out.txt" || status=$?
test "$status" -eq 1
tail -1 "$work/out.txt" | grep -qx '取得可能な分析ファイルはありません。 ( 今週のレース情報：2026/12/13 )'
test -f "$work/p/cache/cachea20261212r" && test ! -e "$work/p/cache/cachea20261213r"

# Cancelled in the middle of a slow transfer.
start_service --answer slow
fresh_program
status=0
"${cli[@]}" --root "$work/p" analysis import --service "$url" --cancel-after 30 >"$work/out.txt" || status=$?
test "$status" -eq 1
tail -1 "$work/out.txt" | grep -qx '分析ファイルのインポートを中断しました。'

# A service that has gone away.
start_service
gone=$url
kill "${pids[-1]}" && wait "${pids[-1]}" 2>/dev/null || true
status=0
"${cli[@]}" --root "$work/p" analysis import --service "$gone" >"$work/out.txt" || status=$?
test "$status" -eq 1
tail -1 "$work/out.txt" | grep -qx '分析ファイルのインポート中にエラーが発生しました。'

# Addresses that are not a service URL are refused before anything is asked.
for bad in "ftp://127.0.0.1" "http://127.0.0.1:99999" "http://h/x?y"; do
    if "${cli[@]}" --root "$work/p" analysis import --service "$bad" >"$work/out.txt" 2>"$work/err.txt"; then exit 1; fi
    test ! -s "$work/out.txt" && test "$(wc -l <"$work/err.txt")" -eq 1
done
if VELTRIX_SERVICE_URL="not a url" "${cli[@]}" --root "$work/p" analysis import >"$work/out.txt" 2>"$work/err.txt"; then
    exit 1
fi
grep -q 'VELTRIX_SERVICE_URL' "$work/err.txt" && test ! -s "$work/out.txt"
if "${cli[@]}" --root "$work/p" analysis 2>/dev/null; then exit 1; fi
echo "cli_analysis: ok ($good)"
