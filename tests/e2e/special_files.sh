#!/usr/bin/env bash
# The real program never hangs on what lies where its files belong, and ends
# when it is told to: a FIFO as setting.dat (the settings question) or as the
# sheet (the missing sheet's message) shows within 5 s, and SIGTERM then ends it
# with status 1 within a second, taking its dialog's process with it (SDL's
# message box on X11, zenity on Wayland); a 100 x 100 sheet gets the missing
# sheet's message; SIGTERM at any moment of the start gives status 1.
# usage: special_files.sh <wolby> <source folder> <work folder>
set -euo pipefail
program=$1
source=$2
work=$3
. "$(dirname "$0")/lib.sh"
prepare_game_folder
defaults() { rm -f setting.dat; printf '\x90\xe1\x40\x00\x01\x02\x06\x00\x02\x00\x00\x00' >setting.dat; }
start_x 1100x800

# SIGTERM while the program shows a dialog: status 1 within a second, and the
# dialog's processes gone with it.
terminate_with_dialog() {  # terminate_with_dialog <what>
  local what=$1
  wait_for 5 "the dialog's process ($what)" has_children "$pid"
  kill -TERM "$pid"
  ended_within 1
  [ "$status" = 1 ] || fail "SIGTERM with $what: status $status"
  wait_for 1 "the dialog's process to end with the program ($what)" program_processes_gone
}

# Clicks the dialog's one button, in the middle of its bottom, until the
# program ends (up to 5 s): the game window keeps the keyboard's focus.
answer_dialog() {
  local geometry width height x y
  for _ in $(seq 1 25); do
    if dialog_shown; then
      geometry=$(window_geometry "$(dialog_window)")
      IFS='x+' read -r width height x y <<<"$geometry"
      xdotool mousemove $((x + width / 2)) $((y + height - 28)) click 1
    fi
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.2
  done
}

# 1. A FIFO as setting.dat: the settings question, as for a missing file.
rm -f setting.dat
mkfifo setting.dat
start_program
wait_for 5 "the settings question (a FIFO as setting.dat)" dialog_shown
shot 1-fifo-settings
terminate_with_dialog "the settings question"
wait_for 1 "the question to close" dialog_gone
[ -p setting.dat ] || fail "the FIFO was replaced"

# 2. A FIFO as the sheet: the missing sheet's message.
defaults
mv zdj/15.bmp zdj/15.bmp.away
mkfifo zdj/15.bmp
start_program
wait_for 5 "the missing sheet's message (a FIFO as the sheet)" dialog_shown
shot 2-fifo-sheet
terminate_with_dialog "the missing sheet's message"
rm zdj/15.bmp

# 3. A 100 x 100 sheet: the missing sheet's message, then status 0.
convert -size 100x100 xc:'#3366cc' -type truecolor BMP3:zdj/15.bmp
start_program
wait_for 5 "the missing sheet's message (a 100 x 100 sheet)" dialog_shown
shot 3-small-sheet
answer_dialog
ended_within 5
[ "$status" = 0 ] || fail "a 100 x 100 sheet: status $status after its message"
mv zdj/15.bmp.away zdj/15.bmp

# 4. SIGTERM at any moment of the start, from the moment the program takes the
# signal (its handler shows in /proc) to the menu or the question: status 1.
takes_sigterm() {
  local mask
  mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (( 0x$mask & 0x4000 ))
}
for settings in missing present; do
  for delay in 0 0.02 0.05 0.1 0.2 0.4; do
    if [ "$settings" = missing ]; then rm -f setting.dat; else defaults; fi
    start_program
    wait_for 5 "the program to take SIGTERM" takes_sigterm
    sleep "$delay"
    kill -TERM "$pid"
    ended_within 1
    [ "$status" = 1 ] || fail "SIGTERM $delay s into the start (settings file $settings): status $status"
    wait_for 1 "a dialog's process to end ($delay s into the start)" program_processes_gone
  done
done

# 5. Wayland: the settings question through zenity, which goes with the program.
if command -v weston >/dev/null && command -v zenity >/dev/null; then
  mkdir -p "$work/runtime"
  chmod 700 "$work/runtime"
  export XDG_RUNTIME_DIR=$work/runtime
  start_weston_output
  rm -f setting.dat
  env -u DISPLAY SDL_VIDEODRIVER=wayland WOLBY_TEST_RUN="$run_tag" "$program" >"$work/out.txt" 2>&1 &
  pid=$!
  zenity_shown() { pgrep -P "$pid" -x zenity >/dev/null; }
  wait_for 5 "zenity's question on Wayland" zenity_shown
  shot 4-wayland-question
  terminate_with_dialog "zenity's question on Wayland"
else
  echo "no weston or zenity: the Wayland case is not run"
fi
echo "special files passed; screenshots in $work/shots"
