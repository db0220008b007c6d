#!/usr/bin/env bash
# The game on a desktop as players have one: metacity with a tint2 panel at
# the bottom, on a 1024 x 768 screen (the picture scaled by 1.28). The window
# asks for full screen and covers the panel; dialogs come over the game and
# take Enter; ESC reaches the game with no click first; Alt+F4 through the
# window manager ends it as the window's destruction does. The same on the
# other desktops of lib.sh (mutter, xfwm4 with its panels, openbox).
# usage: desktop_session.sh <wolby> <source folder> <work folder> [desktop]
set -euo pipefail
program=$1
source=$2
work=$3
desktop=${4:-metacity}
. "$(dirname "$0")/lib.sh"
prepare_game_folder

start_x 1024x768
start_desktop_of "$desktop"
picture_layout 1024 768
# shellcheck disable=SC2086
wait_for 20 "the panel drawn on the desktop" not_black $PANEL_AT
shot 0-desktop

# The frame of the options screen is the same tile at the top and the bottom
# of the picture: 550 picture rows (704 screen rows) apart. Where the panel
# lies, the screen must show that frame, not the panel.
bottom_rows_show_the_picture() {
  import -window root "$work/screen.png"
  local top bottom
  top=$(convert "$work/screen.png" -crop 1024x64+0+0 +repage -depth 8 rgb:- | md5sum)
  bottom=$(convert "$work/screen.png" -crop 1024x64+0+704 +repage -depth 8 rgb:- | md5sum)
  [ "$top" = "$bottom" ]
}

# 1. The first start asks its question; the window manager gives the dialog
# the keyboard, so Enter answers it at once.
start_program
wait_for 20 "the settings question" dialog_shown
wait_for 20 "the question to have the keyboard" has_keyboard "$(dialog_window)"
shot 1-question
xdotool key Return
wait_for 20 "the menu" not_black "$(sx 400)" "$(sy 100)"

# 2. Full screen over the panel: the whole screen, at (0, 0), in the state the
# window manager keeps above its panels.
window=$(game_window)
full_screen() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
wait_for 20 "the game window over the whole screen" \
  geometry_is "$window" 1024x768+0+0
wait_for 20 "the full-screen state" full_screen "$window"
shot 2-menu

# 3. ESC with no click first: the marker the pointer brought goes with the
# menu that ESC draws again.
aim 300 245
wait_for 20 "the marker beside the second item" not_black "$(sx 265)" "$(sy 245)"
xdotool key Escape
wait_for 20 "ESC to redraw the menu" near "$(sx 265)" "$(sy 245)" 0 0 0

# 4. The options: the panel's rows show the game's frame.
click_at 300 250
wait_for 20 "the options" not_black "$(sx 25)" "$(sy 300)"
wait_for 20 "the options' frame where the panel lies" bottom_rows_show_the_picture
shot 3-options

# 5. A save that fails: its notice comes over the game (owned by the game
# window), the panel stays covered, and Enter answers it.
mkdir setting.dat
click_at 385 475
wait_for 20 "the save's notice" dialog_shown
dialog=$(dialog_window)
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -qi "$(printf '%#x' "$window")" || fail "the notice is not the game's"
wait_for 20 "the notice to have the keyboard" has_keyboard "$dialog"
shot 4-save-notice
# xfwm4 lowers a full-screen window that gives the keyboard away, even to its
# own dialog: there the panel comes up while the notice shows.
if [ "$desktop" != xfwm4 ]; then
  bottom_rows_show_the_picture || fail "the panel came up over the game with the notice"
fi
xdotool key Return
wait_for 20 "the menu after the notice" near "$(sx 25)" "$(sy 300)" 0 0 0
rmdir setting.dat

# 6. Alt+F4: the window manager closes the window; the program ends as the
# window's destruction ends it, with status 1.
xdotool key alt+F4
ended_within 10
[ "$status" = 1 ] || fail "Alt+F4 gave status $status"
echo "desktop session passed; screenshots in $work/shots"
