#!/usr/bin/env bash
# veltrix-cli export and print on the golden program folder: the export agrees
# cell for cell with "card --sheet 1" on its 24 columns (trimmed), is CP932 with
# CR LF line ends and matches its committed expected file; a failed export says
# so on standard error, exits 1 and leaves the file that was there; print
# writes a PDF file without a display.
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
expected="$src/tests/data/golden/expected/export_calculated.csv"

for calc in "" "--calculate"; do
    # shellcheck disable=SC2086
    "${cli[@]}" --root "$work/p" export $race "$work/out.csv" $calc >"$work/stdout" 2>"$work/err" ||
        fail "export $calc exited non-zero: $(cat "$work/err")"
    [ "$(cat "$work/stdout")" = "出走表を出力しました。" ] || fail "export said: $(cat "$work/stdout")"
    [ ! -s "$work/err" ] || fail "export wrote to standard error: $(cat "$work/err")"
    iconv -f CP932 -t UTF-8 "$work/out.csv" >"$work/export.txt" || fail "the export is not CP932"
    lines=$(wc -l <"$work/out.csv")
    crlf=$(grep -c $'\r$' "$work/out.csv" || true)
    [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fail "not every line ends with CR LF ($crlf of $lines)"
    # shellcheck disable=SC2086
    "${cli[@]}" --root "$work/p" card $race --sheet 1 $calc >"$work/card.txt"
    tail -n +2 "$work/card.txt" | awk -F'\t' '
        function trim(s) { sub(/^ +/, "", s); sub(/ +$/, "", s); return s }
        { n = split("2 4 5 6 7 8 9 13 14 17 18 20 21 23 24 25 26 28 29 30 31 32 33 34", c, " ")
          line = trim($(c[1]))
          for (i = 2; i <= n; i++) line = line "," trim($(c[i]))
          print line }' >"$work/card.csv"
    tr -d '\r' <"$work/export.txt" | diff -u "$work/card.csv" - --label "card --sheet 1 $calc" --label "export $calc" ||
        fail "export $calc and card --sheet 1 disagree"
    awk -F',' 'NF != 24 { exit 1 }' "$work/card.csv" || fail "a line without 24 fields"
done

if [ "${VELTRIX_UPDATE_GOLDEN:-0}" = 1 ]; then
    cp "$work/export.txt" "$expected"
    echo "updated: $expected"
fi
diff -u "$expected" "$work/export.txt" --label expected --label export || fail "export differs from its expected file"

# A folder that does not exist: the failure note, exit 1, nothing written.
echo kept >"$work/keep.csv"
if "${cli[@]}" --root "$work/p" export $race "$work/none/x.csv" >"$work/stdout" 2>"$work/err"; then
    fail "export into a missing folder exited 0"
fi
[ "$(cat "$work/err")" = "出走表の出力を中止しました。" ] || fail "failed export said: $(cat "$work/err")"
[ ! -s "$work/stdout" ] || fail "failed export wrote to standard output"
"${cli[@]}" --root "$work/p" export 0000000000000000 "$work/keep.csv" >/dev/null 2>&1 && fail "unknown race exported"
[ "$(cat "$work/keep.csv")" = kept ] || fail "a failed export changed the file"

# print exists when the windows are built; it needs no display.
if "${cli[@]}" --help 2>/dev/null | grep -q "^  print "; then
    env -u DISPLAY -u WAYLAND_DISPLAY "${cli[@]}" --root "$work/p" print $race "$work/card.pdf" --calculate \
        >"$work/stdout" 2>"$work/err" || fail "print exited non-zero: $(cat "$work/err")"
    head -c 5 "$work/card.pdf" | grep -q '%PDF-' || fail "print did not write a PDF file"
    if command -v pdftotext >/dev/null; then
        pdftotext -layout "$work/card.pdf" - | grep -q "Printed by VELTRIX" || fail "the PDF has no header line"
    fi
    "${cli[@]}" --root "$work/p" print $race "$work/none/card.pdf" >/dev/null 2>&1 && fail "print into a missing folder exited 0"
fi
echo "cli_export: ok"
