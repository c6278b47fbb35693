#!/usr/bin/env bash
# veltrix-cli load on a small committed program folder: a good week, a damaged
# week (deleted, loads empty, the user told), an incomplete week (left alone) and a missing
# settings file. Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
. "$src/tests/scripts/lib/runner.sh"
data="$src/tests/data/cli_load"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

program() {  # a fresh copy of the committed program folder
    rm -rf "$work/p"
    mkdir -p "$work/p"
    cp "$data/VELTRIX.ctx" "$work/p/"
    cp -r "$data/cache" "$work/p/"
}

program
"${cli[@]}" --root "$work/p" load >"$work/out.txt"
diff -u "$data/expected.txt" "$work/out.txt"
test -d "$work/p/data"

# A damaged week: the mode text is wrong. The three files go, the store is empty.
program
sed -i 's/"KONSYU"/"KONSYUU"/' "$work/p/cache/cache1xxxxxxxx"
"${cli[@]}" --root "$work/p" load >"$work/out.txt" 2>"$work/err.txt"
diff -u "$data/expected_empty.txt" "$work/out.txt"
# The user is told on standard error which file was damaged and what to do.
test "$(wc -l <"$work/err.txt")" -eq 1
grep -q "cache1xxxxxxxx" "$work/err.txt"
grep -q "レース情報を再度インポートしてください。" "$work/err.txt"
if ls "$work/p/cache" | grep -q '^cache[123]'; then
    echo "damaged weekly files were not deleted" >&2
    exit 1
fi

# An incomplete week is not read and not deleted.
program
rm "$work/p/cache/cache3xxxxxxxx"
"${cli[@]}" --root "$work/p" load >"$work/out.txt"
diff -u "$data/expected_empty.txt" "$work/out.txt"
test -f "$work/p/cache/cache1xxxxxxxx"

# Settings that cannot be read end with one line on standard error and exit 1.
program
printf 'pace=0.10\r\n' >"$work/p/VELTRIX.ctx"
if "${cli[@]}" --root "$work/p" load >"$work/out.txt" 2>"$work/err.txt"; then
    echo "load succeeded with bad settings" >&2
    exit 1
fi
test "$(wc -l <"$work/err.txt")" -eq 1
test ! -s "$work/out.txt"
echo "cli_load: ok"
