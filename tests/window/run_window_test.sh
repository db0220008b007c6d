#!/usr/bin/env bash
# Runs the window program on the X display it is given (tests/e2e/with_x.sh
# starts one), takes a screenshot, clicks, presses ESC and checks what was
# shown and heard.
# usage: run_window_test.sh <wolby_window_show> <source folder> <work folder>
set -euo pipefail
program=$1
source=$2
work=$3
mkdir -p "$work"
rm -f "$work"/reference.bmp "$work"/shot.bmp "$work"/shot.png "$work"/out.txt

"$program" "$source" "$work" >"$work/out.txt" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
trap 'exit 143' TERM HUP  # a time limit's signal still runs the cleanup
for _ in $(seq 1 100); do
  grep -q '^ready' "$work/out.txt" && break
  sleep 0.1
done
grep -q '^ready' "$work/out.txt" || { cat "$work/out.txt"; echo "FAIL: the window program never said ready"; exit 1; }
# The screen shows the picture once it has been presented: shots are taken
# until one matches, for up to 10 s.
shown() {
  import -window root "$work/shot.png" &&
    convert "$work/shot.png" -alpha off -type TrueColor "BMP3:$work/shot.bmp" &&
    "$program" --check "$work/reference.bmp" "$work/shot.bmp" "$source/zdj/15.bmp" >"$work/check.txt"
}
deadline=$((SECONDS + 10))
until shown; do
  [ "$SECONDS" -lt "$deadline" ] || { cat "$work/check.txt"; echo "FAIL: the picture never showed as drawn"; exit 1; }
  sleep 0.1
done
cat "$work/check.txt"
# The middle of the screen is the middle of the picture.
xdotool mousemove 512 384 click 1
# A point in the far corner maps to the picture's last pixel. The program
# takes the clicks and the key in the order they come.
xdotool mousemove 1023 767 click 1
xdotool key Escape
for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && { echo "FAIL: the program did not end on Escape"; exit 1; }
wait "$pid"
cat "$work/out.txt"

grep -q '^click 400 300$' "$work/out.txt"
grep -q '^click 799 599$' "$work/out.txt"
grep -q '^escape$' "$work/out.txt"
grep -q '^bye$' "$work/out.txt"
echo "window test passed; screenshot in $work/shot.png"
