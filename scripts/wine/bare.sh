# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: with no window manager, the settings question,
# the menu, a move of a match, another Windows program in front and closed
# again, ESC, the options' texts, the exit item, exit status 1 and the settings
# file's bytes; then a second start with that file, and one in a code page 1252
# locale, its texts compared with these.

# ---------------------------------------------------------------- 1. first start
start_wolby
need "the settings question (caption Błąd)" wait_for 30 "the settings question" dialog_shown
check "the question painted" question_shot 1-question
first_question=$question_geometry
answer_dialog_with_return
need "Enter answers Yes: the menu shows" wait_for 20 "the menu" menu_shown
check "the window \"Wolby\": 800x600 at (0, 0)" window_over_screen
check "no settings file before any save" test ! -e "$work/game/setting.dat"
xdotool mousemove 300 200
check "menu: the hover marker left of item 1" wait_for 5 "the marker" not_black 265 195
sides_black() { black 100 300 && black 700 500; }
check "menu: black beside the picture" sides_black
shot 2-menu

# ---------------------------------------------------------------- 2. a match
xdotool click 1
need "item 1 starts a match: the board shows" wait_for 10 "the board" not_black "$(disc_x 0)" "$(disc_y 0)"
# The opening discs grow one after the other.
check "opening disc of player 1 at (2, 2)" \
  wait_for 5 "the first opening disc" near "$(disc_x 2)" "$(disc_y 2)" "${player1[@]}"
check "opening disc of player 2 at (3, 2)" \
  wait_for 5 "an opening disc of player 2" near "$(disc_x 3)" "$(disc_y 2)" "${player2[@]}"
check "opening disc of player 1 at (3, 3)" \
  wait_for 5 "the last opening disc" near "$(disc_x 3)" "$(disc_y 3)" "${player1[@]}"
not_player1() { ! near "$1" "$2" "${player1[@]}"; }
check "square (1, 3) empty before the move" not_player1 "$(disc_x 1)" "$(disc_y 3)"
xdotool mousemove "$(square_x 1)" "$(square_y 3)" click 1
check "player 1's disc at (1, 3) in colour 0x140A3C" \
  wait_for 5 "the new disc" near "$(disc_x 1)" "$(disc_y 3)" "${player1[@]}"
check "the enclosed disc at (2, 3) turned to player 1" \
  wait_for 5 "the turned disc" near "$(disc_x 2)" "$(disc_y 3)" "${player1[@]}"
shot 3-match

# ---------------------------------------------------------------- 2b. another program in front
# Another Windows program takes the foreground: DirectDraw minimises the game
# and takes its surfaces. With no window manager only Wine can activate the
# game again, when that program's window closes; the game must then show its
# window and draw the board again, and take keys (the ESC below).
(cd "$work/game" && LANG=C.UTF-8 exec wine notepad) >>"$work/wine.log" 2>&1 &
notepad=$!
notepad_shown() { xdotool search --onlyvisible --name 'Notepad' >/dev/null 2>&1; }
if wait_for 20 "another program's window" notepad_shown; then
  shot 3-other-program
  xdotool windowfocus "$(xdotool search --onlyvisible --name 'Notepad' | tail -n 1)"
  xdotool key alt+F4
  board_back() { shot 3-back && same_region 3-match 3-back 306x306+100+100; }
  check "the other program closed: the game's board drawn again" wait_for 15 "the board again" board_back
fi
wait "$notepad" 2>/dev/null

# ---------------------------------------------------------------- 3. options text
xdotool key Escape
need "ESC: back to the menu" wait_for 10 "the menu after ESC" black "$(disc_x 0)" "$(disc_y 0)"
xdotool mousemove 300 250 click 1
options_shot 4-options

# ---------------------------------------------------------------- 4. exit
exit_item
check "exit item: exit status 1 (got $status)" test "$status" = 1
bytes=$(hex_of "$work/game/setting.dat")
check "setting.dat holds $default_settings_hex (got ${bytes:-nothing})" test "$bytes" = "$default_settings_hex"

# ---------------------------------------------------------------- 5. second start
# The file is read back (no question) and saved over itself on exit.
start_wolby
if wait_for 30 "the menu on restart" menu_shown; then
  pass "restart: the menu with no question"
  exit_item
  check "restart: exit status 1 (got $status)" test "$status" = 1
  bytes=$(hex_of "$work/game/setting.dat")
  check "restart: setting.dat replaced with the same bytes (got ${bytes:-nothing})" test "$bytes" = "$default_settings_hex"
fi

# ---------------------------------------------------------------- 6. a Western system
# With code page 1252 as the ANSI one, the Polish texts must look exactly the
# same: the program converts its code page 1250 texts itself. The question's
# text lines (not its buttons, which Wine names in the locale's language) and
# the options' labels are compared with the Polish run's.
rm -f "$work/game/setting.dat"
start_wolby C.UTF-8
same_question_text() {
  local w h x y
  [ "$question_geometry" = "$first_question" ] || return 1
  IFS='x+' read -r w h x y <<<"$question_geometry"
  same_region 1-question 6-question-western "${w}x$((h - 40))+${x}+${y}"
}
if wait_for 30 "the question in a Western locale" dialog_shown; then
  question_shot 6-question-western
  answer_dialog_with_return
  check "question text identical under code page 1252" same_question_text
fi
if wait_for 30 "the menu in a Western locale" menu_shown; then
  options_shot 7-options-western
  same_labels() {
    [ "$(compare -metric AE "$work/shots/4-options.png" "$work/shots/7-options-western.png" \
      -crop 450x230+95+145 null: 2>&1)" = 0 ]
  }
  check "options texts identical under code page 1252" same_labels
  exit_item
  check "Western locale: exit status 1 (got $status)" test "$status" = 1
  bytes=$(hex_of "$work/game/setting.dat")
  check "Western locale: setting.dat holds the same bytes (got ${bytes:-nothing})" test "$bytes" = "$default_settings_hex"
fi
