#!/usr/bin/env bash
# The Windows build under Wine, one job a file of scripts/wine/:
#   build.sh        cross-builds wolby.exe, checks what it links and carries
# then on a private 800 x 600 X server with a fresh Wine prefix
# (scripts/wine-session.sh), played as a person would:
#   bare.sh         no window manager: the question, the menu, a match, another
#                   program in front, the options, the exit item and the
#                   settings file; a second start, and one in a Western locale
#   refusals.sh     no sheet, an oversized one, one too small, a failed save
#   openbox.sh      under a window manager: each screen left and come back to
#   cross.sh        the cross-build checks of tests/cross
#   screen-size.sh  a screen of another size: the display mode cannot be set
# The game's window is found by its title. Screenshots go to
# <build>/wine-smoke/shots.
# usage: scripts/wine-smoke.sh [build folder, default build/win32]
#        (the host build: WOLBY_HOST_BUILD, default build/release; its two
#        harness programs are built there, the folder configured if need be)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/win32}")
host_build=$(realpath -m "${WOLBY_HOST_BUILD:-build/release}")
work=$build/wine-smoke
checker=wine-smoke
summary_extra="; screenshots in $work/shots"
. scripts/checks.sh
scripts/install-deps.sh wine
. scripts/wine/build.sh

rm -rf "$work"
mkdir -p "$work/game/zdj"
cp "$exe" "$work/game/"
cp "$root/zdj/15.bmp" "$work/game/zdj/"
. scripts/wine-session.sh

# ---------------------------------------------------------------- what the jobs share
# start_wolby [locale]: the game in its folder, in a Polish locale unless told.
start_wolby() { start_game "$work/game" wolby.exe "$@"; }
window_over_screen() { geometry_is "$(game_window)" 800x600+0+0; }
# Square (c, r) as a person aims at it (the reported point is 15 pixels left of
# where the fork's middle prong points), and its middle, where the disc shows.
square_x() { echo $((100 + 51 * $1 + 10 - 15)); }
square_y() { echo $((100 + 51 * $1 + 10)); }
disc_x() { echo $((125 + 51 * $1)); }
disc_y() { echo $((125 + 51 * $1)); }
# Colour index 1 of player 1 (0x140A3C) and 2 of player 2 (0x287814) on the 16-bit screen.
player1=(57 8 16)
player2=(16 121 41)
# same_region <shot> <shot> <WxH+X+Y>: no pixel differs there.
same_region() {
  [ "$(compare -metric AE -crop "$3" "$work/shots/$1.png" "$work/shots/$2.png" null: 2>&1)" = 0 ]
}
# text_in <shot> <WxH+X+Y>: something is drawn there on the black (the darkest
# disc colour has a channel of 57).
text_in() {
  [ "$(convert "$work/shots/$1.png" -crop "$2" -format '%[fx:maxima>0.15]' info:)" = 1 ]
}
# question_shot <name>: a screenshot of the question once Wine has painted it:
# text in the dialog's area, and the same picture twice in a row. Its place in
# `question_geometry`.
question_shot() {
  question_geometry=$(window_geometry "$(dialog_window)")
  previous_shot=""
  wait_for 20 "the question painted" question_painted "$1"
}
question_painted() {
  local current
  shot "$1" || return 1
  current=$(md5sum <"$work/shots/$1.png")
  [ "$current" = "$previous_shot" ] &&
    [ "$(convert "$work/shots/$1.png" -crop "$question_geometry" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ] &&
    return 0
  previous_shot=$current
  return 1
}
# "Wielkość planszy": text pixels in the first label's line.
labels_drawn() {
  shot "$1" && [ "$(convert "$work/shots/$1.png" -crop 120x14+100+152 -format '%[fx:maxima>0.3]' info:)" = 1 ]
}
# options_shot <name>: from the menu to the options screen, a screenshot, back.
options_shot() {
  xdotool mousemove 300 250 click 1
  if wait_for 10 "the options screen" not_black 25 300; then
    check "options: labels drawn (Polish letters: see shots/$1.png)" \
      wait_for 5 "the options texts" labels_drawn "$1"
    xdotool key Escape
    wait_for 10 "the menu after the options" black 25 300
  fi
}
# ends_after_message <shot> <what> <check>: the game started shows its message
# box (<what>); answered, the game ends with status 0.
ends_after_message() {
  start_wolby
  wait_for 30 "$2" dialog_shown || return
  shot "$1"
  answer_dialog_with_return
  ended_within 15
  check "$3, exit status 0 (got $status)" test "$status" = 0
}

for job in bare refusals openbox cross screen-size; do
  . "scripts/wine/$job.sh"
done
summary
[ "$failed" -eq 0 ]
