#!/usr/bin/env bash
# Checks the PNG icons against the 32 x 32 icon (the XPM file, drawn from the
# same pixels by other code): each size decodes without complaint, is square
# at its size, and pixel (x, y) shows the icon's pixel (x * 32 / size,
# y * 32 / size); fully transparent pixels match in their alpha only. The
# framed icons (maskable, touch) hold the icon at a smaller size in the middle
# of an opaque black square, the icon's transparent pixels black too.
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

# name, side, the icon's size within it
for icon in 32:32:32 48:48:48 64:64:64 128:128:128 192:192:192 256:256:256 512:512:512 \
            maskable-512:512:288 touch-180:180:160; do
  IFS=: read -r name side size <<<"$icon"
  png=$images/wolby-$name.png
  [ -s "$png" ] || { echo "FAIL: $png missing"; failed=1; continue; }
  pixels "$png" >"$work/icon"
  if [ -s "$work/decode.err" ]; then
    echo "FAIL: wolby-$name.png: the decoder complained: $(cat "$work/decode.err")"
    failed=1
  fi
  [ "$(identify -format '%w %h' "$png")" = "$side $side" ] ||
    { echo "FAIL: wolby-$name.png is $(identify -format '%w x %h' "$png")"; failed=1; continue; }
  mismatches=$(awk -v size="$size" -v side="$side" '
    NR == FNR { ref[$1 "," $2] = $3 " " $4 " " $5 " " $6; alpha[$1 "," $2] = $6; next }
    {
      margin = (side - size) / 2
      x = $1 - margin; y = $2 - margin
      key = int(x * 32 / size) "," int(y * 32 / size)
      if (x < 0 || y < 0 || x >= size || y >= size || (side != size && alpha[key] == 0)) {
        want = "0 0 0 255"
      } else {
        if ($6 == 0 && alpha[key] == 0) next
        want = ref[key]
      }
      if (want != $3 " " $4 " " $5 " " $6) {
        if (bad < 3) printf "  (%d, %d) is %s %s %s %s, the icon has %s at (%s)\n", $1, $2, $3, $4, $5, $6, want, key > "/dev/stderr"
        bad++
      }
      n++
    }
    END { print (n + 0 == 0 ? "no pixels" : bad + 0) }' "$work/reference" "$work/icon")
  if [ "$mismatches" != 0 ]; then
    echo "FAIL: wolby-$name.png: $mismatches pixels differ from the 32 x 32 icon"
    failed=1
  else
    echo "ok    wolby-$name.png: ${side}x${side}, $(stat -c %s "$png") bytes"
  fi
done
exit "$failed"
