#!/usr/bin/env bash
# veltrix-cli results-db on a generated program folder with two years of
# results: the race files against the final results (SE, category 7) of the
# stand-in's RACE stream, field by field; a cancel confirmed and one taken back;
# and builds killed with SIGKILL at chosen points (right after the N-th race
# file appears), each followed by another build, that must end with the tree of
# an uninterrupted build byte for byte.
# Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
. "$src/tests/scripts/lib/runner.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
p="$work/p"

"${cli[@]}" sample "$p" --results-years 2 --jvlink-only >/dev/null
test "$("${cli[@]}" --root "$p" results-db info)" = "$(printf '20000105000000\tS\nraces\t0')"

# ---- an uninterrupted build --------------------------------------------
"${cli[@]}" --root "$p" results-db build >"$work/out.txt"
head -4 "$work/out.txt" >"$work/head.txt"
diff -u - "$work/head.txt" <<'EOF'
過去の成績情報をインポートしますか？
成績情報は過去のレースをシミュレーションするために必要です。
2000/01/05 以降の成績情報データベースを作成します。
（ディスク容量：1年 約5MB,作成時間：1年 約15分）
EOF
sed -n 5p "$work/out.txt" | grep -qx '成績情報データベース (2000/01/05) を更新中...'
tail -1 "$work/out.txt" | grep -qx '成績情報を更新しました。'
cp -r "$p/data" "$work/ref"

# Every race file holds exactly the category-7 runners of its race in stream
# order, each field cut from the SE record by byte position; no other file.
perl -MEncode=decode,encode - "$p/jvlink/stored/RACE" "$p/data" >"$work/compare.txt" <<'PERL'
use strict;
use warnings;
my ($stream, $data) = @ARGV;
opendir(my $dh, $stream) or die "$stream: $!";
my @files = sort grep { /^\d{14}_/ } readdir($dh);
my %expected;
my $runners = 0;
for my $f (@files) {
    open(my $in, '<:raw', "$stream/$f") or die "$f: $!";
    while (my $line = <$in>) {
        next unless substr($line, 0, 3) eq 'SE7';
        my $id = substr($line, 11, 16);
        next unless $id =~ /^\d{16}$/ && substr($id, 0, 8) ge '20000105';
        my $cut = sub { substr($line, $_[0] - 1, $_[1]) };
        my $trim = sub {
            my $t = decode('cp932', $cut->(@_), Encode::FB_CROAK);
            $t =~ s/^[ \x{3000}]+|[ \x{3000}]+$//g;
            encode('cp932', $t);
        };
        my @f = ($cut->(28, 1), $cut->(29, 2), $cut->(332, 1), $trim->(41, 36), $cut->(79, 1),
                 $cut->(83, 2), $cut->(289, 3), $cut->(325, 3), $cut->(328, 1) . $cut->(329, 3),
                 $trim->(307, 8), $trim->(91, 8), $cut->(339, 4), $cut->(391, 3), $cut->(352, 8),
                 $cut->(333, 2), $cut->(335, 2), $cut->(360, 4), $cut->(364, 2));
        $expected{$id} .= join(',', map { "\"$_\"" } @f) . "\r\n";
        $runners++;
    }
}
my $bad = 0;
for my $id (sort keys %expected) {
    my $path = "$data/" . substr($id, 0, 4) . "/$id";
    open(my $in, '<:raw', $path) or do { print "missing $path\n"; $bad++; next };
    local $/;
    my $got = <$in>;
    if ($got ne $expected{$id}) { print "differs $path\n"; $bad++ }
}
opendir(my $top, $data) or die;
for my $year (grep { /^\d{4}$/ } readdir($top)) {
    opendir(my $yd, "$data/$year") or die;
    for my $f (grep { !/^\.\.?$/ } readdir($yd)) {
        unless (exists $expected{$f} && substr($f, 0, 4) eq $year) { print "extra $data/$year/$f\n"; $bad++ }
    }
}
printf "races %d runners %d\n", scalar(keys %expected), $runners;
exit($bad ? 1 : 0);
PERL
races=$(sed -n 's/^races \([0-9]*\) .*/\1/p' "$work/compare.txt")
test "$races" -gt 7000
info=$("${cli[@]}" --root "$p" results-db info)
echo "$info" | sed -n 1p | grep -Eq '^20[0-9]{12}	N$'
echo "$info" | sed -n 2p | grep -qx "races	$races"

# A fresh data folder for the next run. The old one is moved aside, not
# deleted: deleting thousands of files slows the creation of the next ones.
trashed=0
fresh_data() {
    trashed=$((trashed + 1))
    mv "$p/data" "$work/trash$trashed"
}

same_as_reference() {
    if ! diff -r "$work/ref" "$p/data" >"$work/diff.txt"; then
        echo "$1: the results database differs from an uninterrupted build"
        head -20 "$work/diff.txt"
        exit 1
    fi
}

# ---- cancels ------------------------------------------------------------
# Confirmed late in the stream: the build steps back to the start of the day it
# was writing, still a set-up. The next build asks the set-up question from that
# day; its own cancel is taken back, and it reads on to the end.
fresh_data
status=0
"${cli[@]}" --root "$p" results-db build --cancel-after 100000 >"$work/out.txt" || status=$?
test "$status" -eq 1
tail -2 "$work/out.txt" | diff -u - <(printf '%s\n' '成績情報のインポートを中止しますか？' '成績情報の更新を中止しました。')
stamp=$("${cli[@]}" --root "$p" results-db info | sed -n 1p)
echo "$stamp" | grep -Eq '^20[0-9]{6}000000	S$'
"${cli[@]}" --root "$p" results-db build --cancel-after 50 --continue-after-cancel >"$work/out.txt"
sed -n 3p "$work/out.txt" | grep -qx "${stamp:0:4}/${stamp:4:2}/${stamp:6:2} 以降の成績情報データベースを作成します。"
grep -qx '成績情報のインポートを中止しますか？' "$work/out.txt"
same_as_reference "a cancel, then a build with a cancel taken back"

# ---- SIGKILL at chosen points ------------------------------------------
# Six points, as numbers of race files present, spread over the database.
# Each build runs in slices of 20 ms between SIGSTOP and SIGCONT and is killed
# in the first pause that finds its point reached: the kill lands right after
# the N-th file appeared (a few files later at most), however fast or loaded
# the machine is, and never after the build ended. The next build goes on from
# where the last was killed.
fresh_data
killed=0
for i in 1 2 3 4 5 6; do
    point=$((races * i / 7))
    "${cli[@]}" --root "$p" results-db build >/dev/null 2>&1 &
    pid=$!
    kill -STOP "$pid" 2>/dev/null || true
    while :; do
        # The build may not have made the folder yet: count what is there.
        present=$(find "$p/data" -mindepth 2 -type f 2>/dev/null | wc -l || true)
        [ "$present" -ge "$point" ] && break
        # A build that ended is a zombie until waited for, and signals still reach it.
        [ "$(ps -o stat= -p "$pid" | cut -c1)" = Z ] && break
        kill -CONT "$pid"
        sleep 0.02
        kill -STOP "$pid"
    done
    kill -9 "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    if [ "$status" -eq 137 ]; then
        killed=$((killed + 1))
    else
        echo "the build to be killed at $point race files ended by itself (exit $status, $present files)"
    fi
done
# Then one build reads on from the last kill to the end.
"${cli[@]}" --root "$p" results-db build >"$work/out.txt"
tail -1 "$work/out.txt" | grep -qx '成績情報を更新しました。'
same_as_reference "builds killed at chosen points"
if [ "$killed" -ne 6 ]; then
    echo "only $killed of 6 builds were killed while running"
    exit 1
fi
echo ok
