#!/bin/sh
# The hicolor icons: a PNG with transparency at every size the theme gets,
# its corners clear, and the 16-pixel one still the design of the window's
# title-bar icon (icons/app.gif).
#
#   check_icons.sh SOURCE_DIR
set -eu
src=$1
IM=/usr/bin/convert
ID=/usr/bin/identify
CMP=/usr/bin/compare
name=org.example.kelvo
# Largest root-mean-square difference, as a fraction of full scale, between
# the 16-pixel icon and app.gif, both laid on white. The drawing scaled down
# from 128 pixels lands near 0.10; the same icon mirrored left to right is
# 0.16 away, a blank square 0.41.
limit=0.125
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in "$IM" "$ID" "$CMP"; do
    [ -x "$tool" ] || { echo "FAIL: $tool is missing (package imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for size in 16 24 32 48 64 128; do
    png=$src/packaging/icons/hicolor/${size}x${size}/apps/$name.png
    [ -f "$png" ] || { fail "no ${size}-pixel icon"; continue; }
    facts=$("$ID" -format '%m %w %h %A' "$png")
    case $facts in
        "PNG $size $size "[Bb]lend|"PNG $size $size "[Tt]rue) ;;
        *) fail "$png is '$facts', not a $size x $size PNG with transparency" ;;
    esac
    # Corners outside the drawn grid are fully transparent.
    last=$((size - 1))
    for corner in 0,0 $last,0 0,$last $last,$last; do
        alpha=$("$IM" "$png" -format "%[fx:p{$corner}.a]" info:)
        [ "$alpha" = 0 ] || fail "$png: corner $corner has alpha $alpha"
    done
done

# The small icon against the title-bar icon it is drawn from.
small=$src/packaging/icons/hicolor/16x16/apps/$name.png
if [ -f "$small" ]; then
    "$IM" "$src/icons/app.gif" -background white -alpha remove -alpha off -type TrueColor "$work/ref.png"
    "$IM" "$small" -background white -alpha remove -alpha off -type TrueColor "$work/icon.png"
    distance=$("$CMP" -metric RMSE "$work/ref.png" "$work/icon.png" null: 2>&1 |
               sed -n 's/.*(\(.*\)).*/\1/p') || true
    [ -n "$distance" ] || fail "cannot compare $small with icons/app.gif"
    [ -z "$distance" ] || awk -v d="$distance" -v l="$limit" 'BEGIN { exit !(d <= l) }' ||
        fail "the 16-pixel icon is $distance away from icons/app.gif (at most $limit)"
fi

[ "$failures" -eq 0 ] || exit 1
echo "icons: every size drawn, transparent around, close to icons/app.gif"
