#!/usr/bin/env bash
# The user guide's pictures: every picture a page of help/ shows is in
# help/images/ (and copied to the build's program folder), is a PNG, and has an
# alt text; help/images/ holds no picture the guide does not show (left over
# from a renamed one). The pictures themselves are renewed by
# scripts/update-guide-pictures.sh.
# Arguments: build folder, source folder.
set -euo pipefail
build=$1
src=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
help="$src/help"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

: >"$work/shown"
for page in "$help"/*.html; do
    # One tag a line, so that a tag over two lines is read whole.
    tr '\n' ' ' <"$page" | grep -o '<img[^>]*>' >"$work/tags" || true
    while IFS= read -r tag; do
        img=$(sed -n 's/.*src="\([^"]*\)".*/\1/p' <<<"$tag")
        [ -n "$img" ] || fail "$(basename "$page"): a picture without src: $tag"
        grep -q 'alt="[^"]' <<<"$tag" || fail "$(basename "$page"): $img has no alt text"
        [ -f "$help/$img" ] || fail "$(basename "$page") shows $img, which help/ lacks"
        [ "$(head -c 8 "$help/$img" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$img is not a PNG"
        [ -f "$build/bin/help/$img" ] || fail "$img is not in the build's program folder ($build/bin/help)"
        echo "$img" >>"$work/shown"
    done <"$work/tags"
done
[ -s "$work/shown" ] || fail "the guide shows no picture"
if [ -d "$help/images" ]; then
    for f in "$help"/images/*; do
        grep -qx "images/$(basename "$f")" "$work/shown" || fail "help/images/$(basename "$f") is shown by no page of the guide"
    done
fi
echo "guide pictures: $(sort -u "$work/shown" | wc -l) shown, all present"
