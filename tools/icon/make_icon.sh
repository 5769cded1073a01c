#!/usr/bin/env bash
# Draws Purgent's icon, the header's emblem (a white ring round a gold
# diamond on the header's blue), at 16, 32 and 48 pixels into one .ico file.
# Usage: make_icon.sh OUTPUT.ico   (needs ImageMagick's convert)
set -euo pipefail
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
draw() {  # draw <size>: drawn large, then scaled down for smooth edges
  local big=$(( $1 * 8 ))
  local c=$(( big / 2 ))
  local r=$(( big * 38 / 100 )) ring=$(( big * 11 / 100 ))
  local d=$(( big * 29 / 100 )) w=$(( big * 17 / 100 ))
  convert -size ${big}x${big} xc:none \
    -fill '#1d3f8c' -draw "roundrectangle 0,0 $((big-1)),$((big-1)) $((big/6)),$((big/6))" \
    -fill none -stroke white -strokewidth $ring -draw "circle $c,$c $((c + r)),$c" \
    -stroke none -fill '#f5c518' \
    -draw "polygon $c,$((c - d)) $((c + w)),$c $c,$((c + d)) $((c - w)),$c" \
    -resize $1x$1 "$work/$1.png"
}
for size in 16 32 48; do draw $size; done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$out"
