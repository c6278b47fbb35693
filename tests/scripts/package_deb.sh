#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack from the build folder,
# unpacked with dpkg-deb into a temporary root (nothing is installed on the
# machine), then its veltrix-cli run with an empty HOME: the per-user folder is
# made on first use, filled with the sample world and read without --root.
# lintian (no errors), desktop-file-validate and man check the package's files.
# Arguments: build folder, source folder. Exit 77 (skipped) without the tools
# or without the windows (a build without Qt packages no desktop program).
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb lintian desktop-file-validate man; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x "$build/bin/veltrix" ] || { echo "skipped: the build has no desktop program"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The package, written outside the build folder so that runs never meet.
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/veltrix_*.deb)
[ -f "$deb" ] || fail "no veltrix_*.deb in the cpack output"
version=$(sed -n 's/^project(veltrix VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version), project $version"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libqt6widgets6 libcurl4 qt6-translations-l10n; do
    [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
[[ "$(dpkg-deb -f "$deb" Recommends)" == *fonts-noto-cjk* ]] || fail "fonts-noto-cjk not recommended"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/veltrix usr/bin/veltrix-cli usr/share/veltrix/VELTRIX.ctx usr/share/veltrix/help/Guide01.html \
         usr/share/applications/veltrix.desktop usr/share/man/man1/veltrix-cli.1.gz \
         usr/share/icons/hicolor/48x48/apps/veltrix.png usr/share/icons/hicolor/256x256/apps/veltrix.png \
         usr/share/doc/veltrix/copyright; do
    [ -e "$root/$f" ] || fail "package lacks /$f"
done
# Every picture the guide shows is in the package with it.
for img in $(grep -o 'src="[^"]*"' "$root/usr/share/veltrix/help/"*.html | sed 's/.*src="\([^"]*\)"/\1/' | sort -u); do
    [ -f "$root/usr/share/veltrix/help/$img" ] || fail "the packaged guide shows a missing picture: $img"
done

cli="$root/usr/bin/veltrix-cli"
"$cli" --version >"$work/version" || fail "--version exited $?"
[ "$(cat "$work/version")" = "VELTRIX Version $version" ] || fail "--version printed $(cat "$work/version")"

# An empty HOME: the unpacked copy chooses, creates and uses the per-user folder.
home="$work/home"
mkdir "$home"
run() { env -u XDG_DATA_HOME HOME="$home" "$cli" "$@"; }
where=$(run where 2>"$work/where.err") || fail "where exited $?"
[ "$where" = "$home/.local/share/veltrix" ] || fail "where printed $where"
grep -q "「$where」" "$work/where.err" || fail "first use did not say where the data live: $(cat "$work/where.err")"
cmp -s "$where/VELTRIX.ctx" "$root/usr/share/veltrix/VELTRIX.ctx" || fail "shipped settings not copied in"
run where >/dev/null 2>"$work/where2.err"
[ ! -s "$work/where2.err" ] || fail "the second use spoke again: $(cat "$work/where2.err")"

run sample "$where" >"$work/sample" || fail "sample into the per-user folder exited $?"
run load >"$work/load" || fail "load without --root exited $?"
grep -qx $'RaceCount\t72' "$work/load" || fail "load did not read the sample week: $(head -3 "$work/load")"
race=$(sed -n 's/^race\t\([0-9]*\)\t.*/\1/p' "$work/load" | head -1)
run card "$race" >"$work/card" || fail "card $race exited $?"
[ "$(head -1 "$work/card" | cut -f5)" = "馬名" ] || fail "card header: $(head -1 "$work/card")"
[ "$(wc -l <"$work/card")" -gt 5 ] || fail "card of $race has $(wc -l <"$work/card") lines"

# A portable copy (settings beside the executable) stays where it is.
mkdir "$work/portable"
cp "$cli" "$root/usr/share/veltrix/VELTRIX.ctx" "$work/portable/"
[ "$(env HOME="$home" "$work/portable/veltrix-cli" where)" = "$work/portable" ] || fail "portable copy left its folder"

desktop-file-validate "$root/usr/share/applications/veltrix.desktop" || fail "desktop-file-validate"
grep -q '^Name\[ja\]=' "$root/usr/share/applications/veltrix.desktop" || fail "no Japanese name in the desktop entry"
MANWIDTH=80 man -l "$root/usr/share/man/man1/veltrix-cli.1.gz" >"$work/man" 2>"$work/man.err" || fail "man -l"
grep -q 'where' "$work/man" || fail "the manual page does not list where"

lintian --tag-display-limit 0 --display-info "$deb" >"$work/lintian" 2>&1 || true
sed 's/^/lintian: /' "$work/lintian"
if grep -q '^E: ' "$work/lintian"; then fail "lintian reported errors"; fi
echo "package test passed: $(basename "$deb")"
