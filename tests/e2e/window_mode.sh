#!/usr/bin/env bash
# The real window beyond the first desktop: no display at all, a window whose
# picture cannot be shown, the fork cursor at twice the picture's scale, SIGTERM
# while the settings question shows, and --window (an ordinary window, resized).
# usage: window_mode.sh <wolby> <present_fault> <cursor_probe> <source folder> <work folder>
set -euo pipefail
program=$1
present_fault=$2
cursor_probe=$3
source=$4
work=$5
. "$(dirname "$0")/lib.sh"
prepare_game_folder
defaults() { printf '\x90\xe1\x40\x00\x01\x02\x06\x00\x02\x00\x00\x00' >setting.dat; }
defaults

# 1. No display: one line saying so, status 0, within 2 s.
start=$(date +%s%N)
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work" "$program" \
  >"$work/out.txt" 2>"$work/err.txt" || status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$status" = 0 ] || fail "no display: status $status"
[ "$elapsed" -lt 2000 ] || fail "no display: took $elapsed ms"
grep -q '^wolby: no display: set DISPLAY or WAYLAND_DISPLAY$' "$work/err.txt" ||
  fail "no display: said $(cat "$work/err.txt")"
# A display named but not there: said so, with the name.
status=0
env -u WAYLAND_DISPLAY DISPLAY=:97 XDG_RUNTIME_DIR="$work" timeout 5 "$program" \
  >"$work/out.txt" 2>"$work/err.txt" || status=$?
[ "$status" = 0 ] || fail "an absent display: status $status"
grep -q '^wolby: no display: cannot open DISPLAY=:97' "$work/err.txt" || fail "an absent display: said $(cat "$work/err.txt")"

start_x 1600x1200
picture_layout 1600 1200

# 2. The picture cannot be shown: said on standard error, status 0, within 2 s.
"$present_fault" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!
ended_within 2
[ "$status" = 0 ] || fail "present failure: status $status"
grep -q "^wolby: cannot get the window's picture" "$work/err.txt" || fail "present failure: said $(cat "$work/err.txt")"

# 3. At scale 2 the fork is 64 x 64, hot spot at its top-left pixel, its middle
# prong 30 screen pixels (15 of the picture's) right of it.
start_program
wait_for 20 "the menu" not_black "$(sx 400)" "$(sy 100)"
xdotool mousemove 800 600
# The server shows the game's cursor over its window once the pointer is
# there and the game has set it: waited for up to 5 s.
for _ in $(seq 1 50); do
  cursor=$("$cursor_probe")
  [ "$cursor" = "cursor 64 64 0 0 prongs 18 30 42" ] && break
  sleep 0.1
done
[ "$cursor" = "cursor 64 64 0 0 prongs 18 30 42" ] || fail "the cursor at scale 2: $cursor"
# The prong just inside the left end of the first item starts a match.
click_at 241 200
wait_for 20 "a match from the item's left end" not_black "$(sx 125)" "$(sy 125)"
shot 1-scale-2-match
kill -TERM "$pid"
ended_within 1
[ "$status" = 1 ] || fail "SIGTERM in a match: $status"

# 4. SIGTERM while the settings question shows ends the program within a second.
rm setting.dat
start_program
wait_for 20 "the settings question" dialog_shown
shot 2-question
kill -TERM "$pid"
ended_within 1
[ "$status" = 1 ] || fail "SIGTERM during the question: $status"
[ ! -e setting.dat ] || fail "a settings file appeared"
defaults

# 5. --window: an ordinary 800 x 600 window; resized, the picture follows and
# a click on an item acts.
start_program --window
wait_for 20 "the window" game_shown
window=$(game_window)
wait_for 20 "the window's picture" bash -c "xwininfo -id $window | grep -q 'Width: 800' && xwininfo -id $window | grep -q 'Height: 600'"
xdotool windowsize "$window" 1000 500
wait_for 20 "the resized window" bash -c "xwininfo -id $window | grep -q 'Width: 1000'"
read -r wx wy < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
picture_layout 1000 500 "$wx" "$wy"
wait_for 20 "the menu in the window" not_black "$(sx 400)" "$(sy 100)"
click_at 300 250
wait_for 20 "the options in the window" not_black "$(sx 25)" "$(sy 300)"
shot 3-window-options
xdotool key Escape
wait_for 20 "the menu after the options" near "$(sx 25)" "$(sy 300)" 0 0 0
click_at 300 345
ended_within 10
[ "$status" = 1 ] || fail "the exit item in the window: $status"
echo "window modes passed; screenshots in $work/shots"
