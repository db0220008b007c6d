#!/usr/bin/env bash
# One session as a person has it, in the real window on an 800 x 600 screen:
# answer the settings question with Enter, change the options, go back, play a
# move against the computer with the clock on, ESC, the credits, ESC, quit; then
# start again and find the options kept.
# usage: run_session.sh <wolby> <source folder> <work folder> <screen_watch>
set -euo pipefail
program=$1
source=$2
work=$3
screen_watch=$4
. "$(dirname "$0")/lib.sh"
prepare_game_folder

# A click as the person makes it: the cursor's point is 15 pixels right of the
# reported position, so the game corrects the reported x by 15. The game takes
# the clicks in order; each check waits for what it looks for.
click() { xdotool mousemove "$1" "$2" click 1; }
# Square (c, r) as a person aims at it, and its middle where the disc shows.
square_x() { echo $((100 + 51 * $1 + 10 - 15)); }
square_y() { echo $((100 + 51 * $1 + 10)); }
disc_x() { echo $((125 + 51 * $1)); }
disc_y() { echo $((125 + 51 * $1)); }

# 1. No settings file: the question comes first, answered with Enter ("Tak").
start_program
wait_for 20 "the settings question" dialog_shown
wait_for 20 "the question drawn" drawn_in "$(window_geometry "$(dialog_window)")"
shot 1-question
answer_dialog_with_return
wait_for 20 "the menu" not_black 400 100
[ ! -e setting.dat ] || fail "the settings file was written before any save"
xdotool mousemove 300 200
wait_for 20 "the marker beside the first item" not_black 265 195
shot 2-menu

# 2. Options: 1 human, 3 seconds, a 7 x 7 board, colour 2 for player 1.
click 285 250
wait_for 20 "the options" not_black 25 300
click 390 210
for _ in 1 2 3; do click 490 260; done
click 490 160
click 490 310
wait_for 20 "player 1's swatch in colour 2" near 460 310 120 20 40
shot 3-options
click 385 475
wait_for 20 "the settings file" test -s setting.dat
[ "$(xxd -p setting.dat)" = "90e140000202070301000000" ] || fail "settings file holds $(xxd -p setting.dat)"

# 3. A match against the computer with the clock.
wait_for 20 "the menu again" not_black 400 100
click 285 200
# The person has 3 seconds once the four opening discs are there: the click
# follows at once (a screenshot takes most of a second on a busy machine).
wait_for 20 "the board" not_black "$(disc_x 6)" "$(disc_y 6)"
watch_for "the four opening discs" "$(disc_x 2)" "$(disc_y 2)" 120 20 40 "$(disc_x 3)" "$(disc_y 2)" 20 120 40 \
  "$(disc_x 2)" "$(disc_y 3)" 20 120 40 "$(disc_x 3)" "$(disc_y 3)" 120 20 40
click "$(square_x 1)" "$(square_y 3)"
# The board after the move, with the computer to move: half a second later it
# answers, and its move may turn that disc back.
watch_for "the person's disc, the disc it turned, and the computer to move" \
  "$(disc_x 1)" "$(disc_y 3)" 120 20 40 "$(disc_x 2)" "$(disc_y 3)" 120 20 40 \
  "$(disc_x 2)" "$(disc_y 2)" 120 20 40 "$(disc_x 3)" "$(disc_y 3)" 120 20 40 \
  "$(disc_x 3)" "$(disc_y 2)" 20 120 40 620 100 20 120 40
shot 4-after-move
# The computer answers; then it is the person's turn again.
wait_for 20 "the computer's answer" near 620 100 120 20 40
shot 5-computer-answered
xdotool key Escape
wait_for 20 "the menu after ESC" not_black 400 100

# 4. The credits, and back.
click 285 300
wait_for 20 "the credits strip" not_black 50 300
wait_for 20 "the credits' lines" drawn_in 250x230+290+95
shot 6-credits
xdotool key Escape
wait_for 20 "the menu after the credits" not_black 400 100

# 5. Quit with the exit item: status 1, the file kept.
click 285 345
ended_within 10  # status "running" if it did not end
[ "$status" = 1 ] || fail "exit status $status"
[ "$(xxd -p setting.dat)" = "90e140000202070301000000" ] || fail "settings after exit: $(xxd -p setting.dat)"

# 6. Again: no question this time, and the options as they were left.
start_program
wait_for 20 "the menu on restart" not_black 400 100
click 285 250
wait_for 20 "the options on restart" not_black 25 300
wait_for 20 "player 1's colour kept" near 460 310 120 20 40
shot 7-options-kept
xdotool key Escape
wait_for 20 "the menu after the options" near 25 300 0 0 0
click 285 345
ended_within 10  # status "running" if it did not end
[ "$status" = 1 ] || fail "exit status $status on restart"
echo "session passed; screenshots in $work/shots"
