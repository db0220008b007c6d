#!/usr/bin/env bash
# Checks the PNG icons against the 32 x 32 icon (the XPM file, drawn from the
# same pixels by other code): each size decodes without complaint, is square
# at its size, and pixel (x, y) shows the icon's pixel (x * 32 / size,
# y * 32 / size); fully transparent pixels match in their alpha only.
# usage: check_icons.sh <images folder>
set -euo pipefail
images=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# pixels <image>: "x y r g b a" per pixel, 8 bits a channel.
pixels() {
  convert "$1" -alpha on -depth 8 txt:- 2>"$work/decode.err" |
    sed -nE 's/^([0-9]+),([0-9]+): *\(([0-9]+),([0-9]+),([0-9]+),([0-9]+)\).*/\1 \2 \3 \4 \5 \6/p'
}

pixels "$images/wolby.xpm" >"$work/reference"
[ "$(wc -l <"$work/reference")" = 1024 ] || { echo "FAIL: the XPM icon is not 32 x 32"; exit 1; }
# The reference must hold both transparent and coloured pixels, or the
# comparison below proves little.
awk '$6 == 0 { t++ } $6 == 255 { o++ } END { exit !(t > 100 && o > 100) }' "$work/reference" ||
  { echo "FAIL: the XPM icon has no transparent ground or no picture"; exit 1; }

for size in 32 48 64 128 256; do
  png=$images/wolby-$size.png
  [ -s "$png" ] || { echo "FAIL: $png missing"; failed=1; continue; }
  pixels "$png" >"$work/icon"
  if [ -s "$work/decode.err" ]; then
    echo "FAIL: wolby-$size.png: the decoder complained: $(cat "$work/decode.err")"
    failed=1
  fi
  [ "$(identify -format '%w %h' "$png")" = "$size $size" ] ||
    { echo "FAIL: wolby-$size.png is $(identify -format '%w x %h' "$png")"; failed=1; continue; }
  mismatches=$(awk -v size="$size" '
    NR == FNR { ref[$1 "," $2] = $3 " " $4 " " $5 " " $6; alpha[$1 "," $2] = $6; next }
    {
      key = int($1 * 32 / size) "," int($2 * 32 / size)
      if ($6 == 0 && alpha[key] == 0) next
      if (ref[key] != $3 " " $4 " " $5 " " $6) {
        if (bad < 3) printf "  (%d, %d) is %s %s %s %s, the icon has %s at (%s)\n", $1, $2, $3, $4, $5, $6, ref[key], key > "/dev/stderr"
        bad++
      }
      n++
    }
    END { print (n + 0 == 0 ? "no pixels" : bad + 0) }' "$work/reference" "$work/icon")
  if [ "$mismatches" != 0 ]; then
    echo "FAIL: wolby-$size.png: $mismatches pixels differ from the 32 x 32 icon"
    failed=1
  else
    echo "ok    wolby-$size.png: ${size}x${size}, $(stat -c %s "$png") bytes"
  fi
done
exit "$failed"
