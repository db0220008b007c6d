#!/usr/bin/env bash
# A notice lets no click through: while the notice of a failed save shows (a
# folder named setting.dat, then "Powrót"), a click on the game beside it,
# where the menu's first item comes next, does nothing once the notice is
# closed: the menu stays, and takes the pointer again.
# usage: notice_click.sh <wolby> <source folder> <work folder> [desktop]
set -euo pipefail
program=$1
source=$2
work=$3
desktop=${4:-bare}
. "$(dirname "$0")/lib.sh"
prepare_game_folder
printf '\x90\xe1\x40\x00\x01\x02\x06\x00\x01\x00\x00\x00' >setting.dat

start_x 1024x768
start_desktop_of "$desktop"
picture_layout 1024 768

start_program
wait_for 20 "the menu" not_black "$(sx 400)" "$(sy 100)"
click_at 300 250
wait_for 20 "the options" not_black "$(sx 25)" "$(sy 300)"
rm setting.dat
mkdir setting.dat
click_at 385 475
wait_for 20 "the save's notice" dialog_shown
IFS='x+' read -r w h x y <<<"$(window_geometry "$(dialog_window)")"
px=$(sx $(( 260 - 15 )))
py=$(sy 195)
if [ "$px" -ge "$x" ] && [ "$px" -lt $(( x + w )) ] && [ "$py" -ge "$y" ] && [ "$py" -lt $(( y + h )) ]; then
  fail "the notice ($w x $h at $x, $y) covers the menu's first item"
fi
aim 260 195
xdotool click 1
shot 1-click-beside-the-notice
dialog_shown || fail "the click beside the notice closed it"
# Without a window manager the notice never has the keyboard (the game keeps
# it): a person clicks its button there.
if [ "$desktop" = bare ]; then
  xdotool mousemove $(( x + w / 2 )) $(( y + h - 28 )) click 1
  wait_for 20 "the notice to close" dialog_gone
else
  answer_dialog_with_return
fi
# Input is taken in order: a click kept from the notice's time would start the
# match before this move is taken, and the move would draw no marker then.
aim 300 245
marker_or_match() { not_black "$(sx 265)" "$(sy 245)" || not_black "$(sx 125)" "$(sy 125)"; }
wait_for 20 "the menu's marker or a match" marker_or_match
shot 2-after-the-notice
near "$(sx 125)" "$(sy 125)" 0 0 0 || fail "the click beside the notice started a match"
near "$(sx 25)" "$(sy 300)" 0 0 0 || fail "no menu after the notice"
rmdir setting.dat
kill -TERM "$pid"
ended_within 2
[ "$status" = 1 ] || fail "SIGTERM gave status $status"
echo "notice click ($desktop) passed; screenshots in $work/shots"
