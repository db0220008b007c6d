# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: what the game refuses, with no window manager:
# no graphics sheet, an oversized one, one too small (each its message, then
# exit status 0), and a settings file that cannot be saved.

# ---------------------------------------------------------------- 7. no graphics sheet
# LoadImageA finds no file: the message box, then exit status 0.
mv "$work/game/zdj/15.bmp" "$work/game/zdj/15.bmp.away"
ends_after_message 8-no-sheet "the missing sheet's message" "no sheet: message box"

# ---------------------------------------------------------------- 8. an oversized sheet
# A complete 1-bit picture of 4097 x 4097 pixels, a 2 MB file: refused before
# LoadImageA with the missing sheet's message. (LoadImageA itself takes it.)
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
# bmp_1bit <width> <height> <file>: black and white, every pixel black.
bmp_1bit() {
  local stride=$((($1 + 31) / 32 * 4))
  local size=$((stride * $2))
  {
    printf "BM$(le32 $((62 + size)))\\x00\\x00\\x00\\x00$(le32 62)$(le32 40)$(le32 "$1")$(le32 "$2")"
    printf "\\x01\\x00\\x01\\x00$(le32 0)$(le32 "$size")$(le32 2835)$(le32 2835)$(le32 2)$(le32 0)"
    printf '\x00\x00\x00\x00\xff\xff\xff\x00'
    head -c "$size" /dev/zero
  } >"$3"
}
bmp_1bit 4097 4097 "$work/game/zdj/15.bmp"
ends_after_message 9-oversized-sheet "the oversized sheet's message" "sheet of 4097 x 4097: message box"

# ---------------------------------------------------------------- 8b. a sheet too small
# A complete picture of 100 x 100 pixels, which LoadImageA takes: too small for
# the pieces the screens cut from it, refused with the missing sheet's message.
bmp_1bit 100 100 "$work/game/zdj/15.bmp"
ends_after_message 9-small-sheet "the small sheet's message" "sheet of 100 x 100: message box"
mv "$work/game/zdj/15.bmp.away" "$work/game/zdj/15.bmp"

# ---------------------------------------------------------------- 9. a save that fails
# setting.dat is a folder: the question at the start, then the back button's
# save fails with its message. The box belongs to the game's window: a click on
# the menu's first item meanwhile must not start a match inside the box.
rm -f "$work/game/setting.dat"
mkdir "$work/game/setting.dat"
start_wolby
if wait_for 30 "the question (unreadable settings)" dialog_shown && question_shot 10-question; then
  answer_dialog_with_return
  wait_for 20 "the menu" menu_shown
  xdotool mousemove 300 250 click 1
  wait_for 10 "the options screen" not_black 25 300
  xdotool mousemove 385 475 click 1
  if wait_for 10 "the save's message" dialog_shown && question_shot 10-save-failed; then
    xdotool mousemove 285 195 click 1
    # Nothing may come of the click: a second for it to show if it did (the
    # check after the message closes waits until the game has taken it).
    sleep 1
    check "a click on the game while the save's message shows starts no match" black "$(disc_x 0)" "$(disc_y 0)"
    answer_dialog_with_return
    check "the message closed: the menu" wait_for 10 "the menu after the message" menu_shown
    # Input is taken in order: the marker of a move made now shows only after
    # anything the game kept from the message's time has been acted on.
    xdotool mousemove 300 245
    check "the marker after the message" wait_for 10 "the marker beside the second item" not_black 265 245
    check "still no match" black "$(disc_x 0)" "$(disc_y 0)"
  fi
  # Alt+F4 with no window manager: the system's own close command.
  xdotool key alt+F4
  ended_within 15
  check "Alt+F4 ends the program: exit status 1 (got $status)" test "$status" = 1
fi
rmdir "$work/game/setting.dat"
