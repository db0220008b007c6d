#!/usr/bin/env bash
# A click lands where the fork's prong shows, also when the window moved under
# a pointer that stayed still (no motion comes then): on xfwm4 with its panels
# at 1920 x 1080, the first click of a start made before the pointer moves;
# and --window, the window moved under the pointer, where the marker follows
# the prong at once and the click takes the item it shows.
# usage: first_click.sh <wolby> <source folder> <work folder>
set -euo pipefail
program=$1
source=$2
work=$3
. "$(dirname "$0")/lib.sh"
prepare_game_folder
printf '\x90\xe1\x40\x00\x01\x02\x06\x00\x01\x00\x00\x00' >setting.dat

start_x 1920x1080
start_desktop_of xfwm4
shot 0-desktop

# Which screen the click opened: the credits' strip is 100 pixels wide, the
# options' frame 50.
opened() {
  wait_for 20 "a screen after the menu" not_black "$(sx 25)" "$(sy 300)"
  if not_black "$(sx 75)" "$(sy 300)"; then echo credits; else echo options; fi
}

# 1. The pointer waits on "Autorzy" (the third item) before the game starts;
# the first click, with no move, opens the credits.
picture_layout 1920 1080
aim 300 295
start_program
wait_for 20 "the menu" not_black "$(sx 400)" "$(sy 100)"
window=$(game_window)
wait_for 20 "the window over the whole screen" geometry_is "$window" 1920x1080+0+0
shot 1-menu
xdotool click 1
screen=$(opened)
shot 2-first-click
[ "$screen" = credits ] || fail "the first click on \"Autorzy\" opened the $screen"
kill -TERM "$pid"
ended_within 2
[ "$status" = 1 ] || fail "SIGTERM gave status $status"

# 2. --window: the pointer on "Autorzy", then the window moves 50 rows down
# under it, so the prong is on "Opcje": the marker goes there, and so does the
# click.
start_program --window
wait_for 20 "the window" game_shown
window=$(game_window)
wait_for 20 "the window's size" bash -c "xwininfo -id $window | grep -q 'Width: 800'"
read -r wx wy < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }')
picture_layout 800 600 "$wx" "$wy"
wait_for 20 "the menu in the window" not_black "$(sx 400)" "$(sy 100)"
aim 300 295
wait_for 20 "the marker beside \"Autorzy\"" not_black "$(sx 265)" "$(sy 295)"
# The window manager places the frame where a client asks for its window.
read -r left top < <(xprop -id "$window" _NET_FRAME_EXTENTS |
  sed -nE 's/.*= ([0-9]+), [0-9]+, ([0-9]+), [0-9]+.*/\1 \2/p; t; s/.*/0 0/p')
xdotool windowmove "$window" $(( wx - left )) $(( wy - top + 50 ))
wait_for 20 "the window moved" bash -c "xwininfo -id $window | grep -q 'Absolute upper-left Y: *$(( wy + 50 ))\$'"
picture_layout 800 600 "$wx" $(( wy + 50 ))
wait_for 20 "the marker to follow the prong to \"Opcje\"" not_black "$(sx 265)" "$(sy 245)"
near "$(sx 265)" "$(sy 295)" 0 0 0 || fail "the marker stayed beside \"Autorzy\""
shot 3-moved
xdotool click 1
screen=$(opened)
shot 4-click-after-move
[ "$screen" = options ] || fail "the click on \"Opcje\" after the window moved opened the $screen"
kill -TERM "$pid"
ended_within 2
[ "$status" = 1 ] || fail "SIGTERM gave status $status"
echo "first click passed; screenshots in $work/shots"
