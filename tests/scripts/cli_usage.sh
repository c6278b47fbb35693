#!/usr/bin/env bash
# veltrix-cli's command line itself: version and help on standard output with
# exit 0; every usage error one line on standard error, nothing on standard
# output, exit 1; numbers read in decimal whatever their leading zeros.
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

"${cli[@]}" --version >"$work/out" 2>"$work/err" || fail "--version exited $?"
[ "$(cat "$work/out")" = "VELTRIX Version 2.8.3" ] || fail "--version printed: $(cat "$work/out")"
[ ! -s "$work/err" ] || fail "--version wrote to standard error"

"${cli[@]}" --help >"$work/out" 2>"$work/err" || fail "--help exited $?"
for command in card history import load odds sample where; do
    grep -q "^  $command " "$work/out" || fail "--help does not list $command"
done
[ ! -s "$work/err" ] || fail "--help wrote to standard error"
"${cli[@]}" card --help | grep -q 'RACEID' || fail "card --help does not show RACEID"

# Each line: the arguments of one bad call, run on the golden folder.
while IFS= read -r args; do
    status=0
    # shellcheck disable=SC2086
    eval "\"\${cli[@]}\" --root \"\$work/p\" $args" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 1 ] || fail "exit $status for: $args"
    [ ! -s "$work/out" ] || fail "standard output for: $args"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "not one line on standard error for: $args: $(cat "$work/err")"
done <<ARGS

bogus
load extra
where extra
card
card $race --sheet 4
card $race --sheet
card $race --sheet 0x2
card $race $race
history
history ''
import
import month
import week --cancel-after 0
import week --cancel-after x
odds
odds $race extra
sample
sample $work/s --seed 0x10
sample $work/s --results-years 31
--root
ARGS
[ ! -e "$work/s" ] || fail "a refused sample call wrote a folder"

# where: --root as an absolute folder; without it the build's bin/, a portable
# folder because the settings file lies beside the executable. (The Windows
# build under Wine names its folders the Windows way: not compared here.)
if [ ! -f "$build/bin/veltrix-cli.exe" ]; then
    abs_cli="$(cd "$build/bin" && pwd)/veltrix-cli"
    [ "$(cd "$work" && "$abs_cli" --root p where)" = "$work/p" ] || fail "where with --root p"
    [ "$("${cli[@]}" where)" = "$(cd "$build/bin" && pwd -P)" ] || fail "where of the build: $("${cli[@]}" where)"
fi

# Leading zeros are decimal, as everywhere in the program (not octal).
"${cli[@]}" --root "$work/p" card "$race" --sheet 03 >"$work/card3" || fail "--sheet 03 refused"
"${cli[@]}" --root "$work/p" card "$race" --sheet 3 | cmp -s - "$work/card3" || fail "--sheet 03 is not sheet 3"
"${cli[@]}" sample "$work/a" --seed 010 --results-years 0 --jvlink-only >/dev/null || fail "--seed 010 refused"
"${cli[@]}" sample "$work/b" --seed 10 --results-years 0 --jvlink-only >/dev/null || fail "--seed 10 refused"
diff -r "$work/a" "$work/b" >/dev/null || fail "--seed 010 is not seed 10"
echo "cli_usage: ok"
