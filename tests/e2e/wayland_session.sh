#!/usr/bin/env bash
# The game on native Wayland: weston (its x11 backend, nested in a private X
# server) with one output, then two side by side; the game started with
# SDL_VIDEODRIVER=wayland and no X display. It covers one whole output, its
# question shows and takes Enter, a click starts a match, ESC goes back, and
# the exit item ends it.
# usage: wayland_session.sh <wolby> <source folder> <work folder>
set -euo pipefail
program=$1
source=$2
work=$3
. "$(dirname "$0")/lib.sh"
prepare_game_folder
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

start_x 2100x800
# Weston's outputs are windows of the X server: `outputs` of 1024 x 768,
# placed side by side (there is no window manager to place them).
start_weston() {
  local outputs=$1 socket=wolby-$1
  weston --backend=x11-backend.so --width=1024 --height=768 --output-count="$outputs" \
    --socket="$socket" --idle-time=0 >"$work/weston-$outputs.log" 2>&1 &
  weston_pid=$!
  background+=("$weston_pid")
  wait_for 20 "weston" test -S "$XDG_RUNTIME_DIR/$socket"
  wait_for 20 "weston's outputs" bash -c "[ \$(xwininfo -root -tree | grep -c 'Weston Compositor - screen') -ge $outputs ]"
  if [ "$outputs" = 2 ]; then
    local second
    second=$(xwininfo -root -tree | awk '/Weston Compositor - screen1/ { print $1 }')
    xdotool windowmove "$second" 1060 0
    wait_for 20 "the second output moved" bash -c "xwininfo -id $second | grep -q 'Absolute upper-left X: *1060$'"
    wait_for 20 "weston's desktop on the second output" weston_grey 1560 400
  fi
  wait_for 20 "weston's desktop on the first output" weston_grey 500 400
  export WAYLAND_DISPLAY=$socket
}
# Ends weston and waits for it, for at most 5 s.
stop_weston() {
  kill "$weston_pid" 2>/dev/null || true
  for _ in $(seq 1 50); do kill -0 "$weston_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$weston_pid" 2>/dev/null || true
  wait "$weston_pid" 2>/dev/null || true
}
run_on_wayland() {
  env -u DISPLAY SDL_VIDEODRIVER=wayland "$program" >"$work/out.txt" 2>&1 &
  pid=$!
}
# Whether a point of the screen shows weston's grey desktop.
weston_grey() { read -r r g b <<<"$(pixel "$1" "$2")"; [ $((r - g)) -lt 20 ] && [ "$r" -gt 60 ]; }
# Whether a dialog (light, unlike weston's grey or the game's black) lies in
# the middle of the first output.
dialog_in_middle() {
  [ "$(import -window root -crop 40x40+492+364 +repage -depth 8 miff:- | convert - -format '%[fx:mean>0.8]' info:)" = 1 ]
}
# Whether the game's menu covers the whole first output: weston's panel and
# desktop black, the menu's picture drawn.
menu_covers_output() { all_near 5 5 0 0 0 500 700 0 0 0 && not_black "$(sx 400)" "$(sy 100)"; }

# 1. One output: the question (through the desktop's dialog tool), Enter, then
# the menu over the whole output, weston's panel and desktop covered.
start_weston 1
picture_layout 1024 768
shot 0-weston
weston_grey 500 400 || fail "weston's desktop is not there"
run_on_wayland
wait_for 20 "the settings question" dialog_in_middle
shot 1-question
# A dialog still being mapped can miss the key: press it again while it shows.
for _ in 1 2 3 4 5; do
  xdotool mousemove 512 384 key Return
  try_end=$((SECONDS + 3))
  while [ "$SECONDS" -lt "$try_end" ]; do
    dialog_in_middle || break 2
    sleep 0.1
  done
done
wait_for 20 "the menu over weston's panel and desktop" menu_covers_output
shot 2-menu

# 2. A click starts a match: the board with its opening discs.
click_at 300 200
wait_for 20 "the board" not_black "$(sx 125)" "$(sy 125)"
wait_for 20 "player 1's opening disc" near "$(sx 227)" "$(sy 227)" 60 10 20
wait_for 20 "player 2's opening disc" near "$(sx 278)" "$(sy 227)" 20 120 40
shot 3-match
xdotool key Escape
wait_for 20 "the menu after ESC" near "$(sx 125)" "$(sy 125)" 0 0 0
click_at 300 345
ended_within 10
[ "$status" = 1 ] || fail "the exit item gave status $status"
[ -s setting.dat ] || fail "no settings file after the exit item"
stop_weston

# 3. Two outputs: the game covers the first one only, and its clicks map there.
start_weston 2
run_on_wayland
wait_for 20 "the menu over the first output" menu_covers_output
shot 4-two-outputs
weston_grey 1560 400 || fail "the second output is covered too"
click_at 300 250
wait_for 20 "the options" not_black "$(sx 25)" "$(sy 300)"
xdotool key Escape
wait_for 20 "the menu after the options" near "$(sx 25)" "$(sy 300)" 0 0 0
click_at 300 345
ended_within 10
[ "$status" = 1 ] || fail "the exit item gave status $status on two outputs"
echo "wayland session passed; screenshots in $work/shots"
