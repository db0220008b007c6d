#!/usr/bin/env bash
# The Windows build under Wine: cross-builds wolby.exe, checks what it links and
# carries, then plays it as a person would on a private 800 x 600 X server with
# a fresh Wine prefix. With no window manager: the settings question, the menu,
# a move of a match, another Windows program in front and closed again, ESC,
# the exit item, exit status 1 and the settings file's bytes; then it starts
# again with that file, once in a code page 1252 locale, once without the
# graphics sheet, once with an oversized one, once with one too small, and
# once with a settings file that cannot be saved. Under a window manager (openbox): the menu, the options,
# a match against the computer with a clock and the credits, each left for
# another window and come back to, then Alt+F4. Last, a screen of another size:
# the display mode cannot be set. The game's window is found by its title.
# Before that, the cross-build checks of tests/cross: Wine's GDI and DirectDraw
# still paint what the platform tests were given, and the Linux build (headless,
# from the host build folder) draws the menu, the options and a match exactly as
# this build does outside the text cells.
# Screenshots go to <build>/wine-smoke/shots.
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

# ---------------------------------------------------------------- packages
# fonts-wine: Wine's own fonts (Tahoma for the game's text, the dialogs' font);
# Debian only recommends it. locales: to generate pl_PL.UTF-8 when missing.
# g++: the host tool that draws the cursor and the icon. openbox: the window
# manager of the second part; x11-utils: xmessage, the other program there.
packages=(g++-mingw-w64-x86-64 wine wine64 libxrandr2 xvfb xdotool imagemagick fonts-wine locales cmake g++
  openbox x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  note "installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page and its dialogs' language from the locale.
if ! locale -a 2>/dev/null | grep -qiE '^pl_PL\.utf-?8$'; then
  note "generating the pl_PL.UTF-8 locale"
  "${sudo[@]}" localedef -i pl_PL -f UTF-8 pl_PL.UTF-8 ||
    note "pl_PL.UTF-8 could not be generated; Wine falls back to its default locale"
fi

# ---------------------------------------------------------------- cross build
# The toolchain file alone: the project sees the Windows target. Warnings
# are errors here, as in every build of the test command.
cmake -S "$root" -B "$build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" -DWOLBY_WERROR=ON >/dev/null
need "wolby.exe cross-builds" cmake --build "$build" -j"$(nproc)"
exe=$build/wolby.exe
images=$build/platform/win32/images

# Only Windows' own DLLs: the C++ runtime is linked in.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
note "imports: $dlls"
only_system_dlls() {
  local dll
  for dll in $dlls; do
    case $dll in ddraw.dll|gdi32.dll|user32.dll|kernel32.dll|msvcrt.dll) ;; *) return 1 ;; esac
  done
  [[ " $dlls" == *" ddraw.dll "* ]]
}
check "links only system DLLs, DirectDraw among them" only_system_dlls

resources=$(x86_64-w64-mingw32-windres -J coff -i "$exe" -O rc 2>/dev/null)
check "cursor 118 in the resources" grep -qE 'group cursor[[:space:]]+Name: 118\.' <<<"$(tr '\n' ' ' <<<"$resources")"
check "icon 121 in the resources" grep -qE 'group icon[[:space:]]+Name: 121\.' <<<"$(tr '\n' ' ' <<<"$resources")"

# The cursor and icon files as an independent decoder reads them.
# pixel_of <image> <x> <y>: "r,g,b,a" with alpha 0..255.
pixel_of() {
  convert "$1" -alpha on -depth 8 -crop "1x1+$2+$3" txt:- | tail -n 1 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3,\4/'
}
is_pixel() { [ "$(pixel_of "$1" "$2" "$3")" = "$4" ]; }
cursor_ok() {
  local cur=$images/wolby.cur
  # Hot spot (bytes 10..13 of the file): the top-left pixel.
  [ "$(od -An -tu2 -j10 -N4 "$cur" | tr -s ' ')" = " 0 0" ] &&
    is_pixel "$cur" 9 0 255,255,255,255 && is_pixel "$cur" 22 12 255,255,255,255 &&
    is_pixel "$cur" 15 31 255,255,255,255 && is_pixel "$cur" 0 0 0,0,0,0 &&
    is_pixel "$cur" 12 0 0,0,0,0 && is_pixel "$cur" 12 20 0,0,0,0
}
icon_ok() {
  local ico=$images/wolby.ico r g b a
  [ "$(convert "$ico" -format '%w %h' info:)" = "32 32" ] || return 1
  # 4 bits per pixel in the file: at most 16 colours.
  [ "$(od -An -tu2 -j12 -N2 "$ico" | tr -d ' ')" = 4 ] || return 1
  is_pixel "$ico" 0 0 0,0,0,0 || return 1
  IFS=, read -r r g b a <<<"$(pixel_of "$ico" 16 24)"
  [ "$a" = 255 ] && [ "$b" -gt 100 ] && [ "$r" -lt 60 ]
}
check "cursor file: the white fork, hot spot (0, 0)" cursor_ok
check "icon file: 32x32, 16 colours, blue on transparent" icon_ok

# ---------------------------------------------------------------- X and Wine
rm -rf "$work"
mkdir -p "$work/game/zdj" "$work/shots"
cp "$exe" "$work/game/"
cp "$root/zdj/15.bmp" "$work/game/zdj/"

xvfb_pid=""
xvfb2_pid=""
game_pid=""
wm_pid=""
other_pid=""
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix takes about 700 MB; it goes when the run ends.
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$WINEPREFIX"
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$xvfb2_pid" ] && kill "$xvfb2_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 143' TERM HUP  # a time limit's signal still runs the cleanup

shot() { import -window root "$work/shots/$1.png" 2>/dev/null; }
# wait_for <what> <seconds> <command...>: polls the condition.
wait_for() {
  local what=$1 seconds=$2; shift 2
  local deadline=$(($(date +%s%N) + seconds * 1000000000))
  while [ "$(date +%s%N)" -lt "$deadline" ]; do
    "$@" && return 0
    sleep 0.1
  done
  shot "failed-$(tr ' /' '--' <<<"$what")"
  note "waited $seconds s in vain for $what"
  return 1
}

# The display mode change succeeds only when the screen already is 800 x 600.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
need "Xvfb at 800x600x24" wait_for "the X server" 10 test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

# The colour at a point of the screen as "r g b".
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n 1 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}
# near <x> <y> <r> <g> <b>: each channel within 8, room for the 16-bit rounding.
near() {
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  [ -n "$b" ] && [ $((r - $3)) -le 8 ] && [ $(($3 - r)) -le 8 ] && [ $((g - $4)) -le 8 ] &&
    [ $(($4 - g)) -le 8 ] && [ $((b - $5)) -le 8 ] && [ $(($5 - b)) -le 8 ]
}
black() { near "$1" "$2" 0 0 0; }
not_black() { ! black "$1" "$2"; }
window_named() { xdotool search --name "$1" >/dev/null 2>&1; }
# The game's window, by its title (the Wine desktop's own window is full size too).
game_window() { xdotool search --name '^Wolby$' 2>/dev/null | head -n 1; }
# same_region <shot> <shot> <WxH+X+Y>: no pixel differs there.
same_region() {
  [ "$(compare -metric AE -crop "$3" "$work/shots/$1.png" "$work/shots/$2.png" null: 2>&1)" = 0 ]
}
# text_in <shot> <WxH+X+Y>: something is drawn there on the black (the darkest
# disc colour has a channel of 57).
text_in() {
  [ "$(convert "$work/shots/$1.png" -crop "$2" -format '%[fx:maxima>0.15]' info:)" = 1 ]
}

need "fresh Wine prefix" timeout 180 wineboot -i >"$work/wine.log" 2>&1
# Point-sampled stretched blits, as on Windows, with no OpenGL.
need "Direct3D renderer gdi" wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f \
  >>"$work/wine.log" 2>&1

# start_game [locale]: a game left running by a failed step is ended first.
start_game() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
  fi
  (cd "$work/game" && LANG=${1:-pl_PL.UTF-8} exec wine wolby.exe) >>"$work/wine.log" 2>&1 &
  game_pid=$!
}
game_ended() { ! kill -0 "$game_pid" 2>/dev/null; }
exit_status() {
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  echo "$status"
}
settings_bytes() { od -An -tx1 "$work/game/setting.dat" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
expected_bytes="90 e1 40 00 01 02 06 00 02 00 00 00"

# Square (c, r) as a person aims at it (the reported point is 15 pixels left of
# where the fork's middle prong points), and its middle, where the disc shows.
square_x() { echo $((100 + 51 * $1 + 10 - 15)); }
square_y() { echo $((100 + 51 * $1 + 10)); }
disc_x() { echo $((125 + 51 * $1)); }
disc_y() { echo $((125 + 51 * $1)); }
# Colour index 1 of player 1 (0x140A3C) and 2 of player 2 (0x287814) on the 16-bit screen.
player1=(57 8 16)
player2=(16 121 41)

# ---------------------------------------------------------------- 1. first start
start_game
need "the settings question (caption Błąd)" wait_for "the settings question" 30 window_named '^Błąd$'
# question_shot <name>: a screenshot of the question once Wine has painted it:
# text in the dialog's area, and the same picture twice 100 ms apart.
question_shot() {
  local dialog geometry previous="" current
  dialog=$(xdotool search --name '^Błąd$' | head -n 1)
  geometry=$(xdotool getwindowgeometry --shell "$dialog" |
    awk -F= '{v[$1]=$2} END {print v["WIDTH"] "x" v["HEIGHT"] "+" v["X"] "+" v["Y"]}')
  for _ in $(seq 1 50); do
    shot "$1"
    current=$(md5sum <"$work/shots/$1.png")
    if [ "$current" = "$previous" ] &&
      [ "$(convert "$work/shots/$1.png" -crop "$geometry" -format '%[fx:standard_deviation>0.05]' info:)" = 1 ]; then
      return 0
    fi
    previous=$current
    sleep 0.1
  done
  return 1
}
check "the question painted" question_shot 1-question
# answer_question: Enter on the question; its geometry is left in X Y WIDTH HEIGHT.
# Without a window manager the keyboard goes to the window under the pointer.
answer_question() {
  local dialog
  dialog=$(xdotool search --name '^Błąd$' | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 10))
  xdotool key Return
}
answer_question
question_geometry="${WIDTH}x${HEIGHT}+${X}+${Y}"
need "Enter answers Yes: the menu shows" wait_for "the menu" 20 not_black 400 100
window_over_screen() {
  local geometry
  geometry=$(xdotool search --name '^Wolby$' getwindowgeometry 2>/dev/null)
  grep -q 'Position: 0,0' <<<"$geometry" && grep -q 'Geometry: 800x600' <<<"$geometry"
}
check "the window \"Wolby\": 800x600 at (0, 0)" window_over_screen
check "no settings file before any save" test ! -e "$work/game/setting.dat"
xdotool mousemove 300 200
check "menu: the hover marker left of item 1" wait_for "the marker" 5 not_black 265 195
sides_black() { black 100 300 && black 700 500; }
check "menu: black beside the picture" sides_black
shot 2-menu

# ---------------------------------------------------------------- 2. a match
xdotool click 1
need "item 1 starts a match: the board shows" wait_for "the board" 10 not_black "$(disc_x 0)" "$(disc_y 0)"
# The opening discs grow one after the other.
check "opening disc of player 1 at (2, 2)" \
  wait_for "the first opening disc" 5 near "$(disc_x 2)" "$(disc_y 2)" "${player1[@]}"
check "opening disc of player 2 at (3, 2)" \
  wait_for "an opening disc of player 2" 5 near "$(disc_x 3)" "$(disc_y 2)" "${player2[@]}"
check "opening disc of player 1 at (3, 3)" \
  wait_for "the last opening disc" 5 near "$(disc_x 3)" "$(disc_y 3)" "${player1[@]}"
not_player1() { ! near "$1" "$2" "${player1[@]}"; }
check "square (1, 3) empty before the move" not_player1 "$(disc_x 1)" "$(disc_y 3)"
xdotool mousemove "$(square_x 1)" "$(square_y 3)" click 1
check "player 1's disc at (1, 3) in colour 0x140A3C" \
  wait_for "the new disc" 5 near "$(disc_x 1)" "$(disc_y 3)" "${player1[@]}"
check "the enclosed disc at (2, 3) turned to player 1" \
  wait_for "the turned disc" 5 near "$(disc_x 2)" "$(disc_y 3)" "${player1[@]}"
shot 3-match

# ---------------------------------------------------------------- 2b. another program in front
# Another Windows program takes the foreground: DirectDraw minimises the game
# and takes its surfaces. With no window manager only Wine can activate the
# game again, when that program's window closes; the game must then show its
# window and draw the board again, and take keys (the ESC below).
(cd "$work/game" && LANG=C.UTF-8 exec wine notepad) >>"$work/wine.log" 2>&1 &
other_pid=$!
notepad_shown() { xdotool search --onlyvisible --name 'Notepad' >/dev/null 2>&1; }
if wait_for "another program's window" 20 notepad_shown; then
  shot 3-other-program
  xdotool windowfocus "$(xdotool search --onlyvisible --name 'Notepad' | tail -n 1)"
  xdotool key alt+F4
  board_back() { shot 3-back && same_region 3-match 3-back 306x306+100+100; }
  check "the other program closed: the game's board drawn again" wait_for "the board again" 15 board_back
else
  fail "another program's window shows"
fi
wait "$other_pid" 2>/dev/null
other_pid=""

# ---------------------------------------------------------------- 3. options text
xdotool key Escape
need "ESC: back to the menu" wait_for "the menu after ESC" 10 black "$(disc_x 0)" "$(disc_y 0)"
xdotool mousemove 300 250 click 1
# "Wielkość planszy": text pixels in the first label's line.
labels_drawn() {
  shot "$1" && [ "$(convert "$work/shots/$1.png" -crop 120x14+100+152 -format '%[fx:maxima>0.3]' info:)" = 1 ]
}
# options_shot <name>: from the menu to the options screen, a screenshot, back.
options_shot() {
  xdotool mousemove 300 250 click 1
  if wait_for "the options screen" 10 not_black 25 300; then
    check "options: labels drawn (Polish letters: see shots/$1.png)" \
      wait_for "the options texts" 5 labels_drawn "$1"
    xdotool key Escape
    wait_for "the menu after the options" 10 black 25 300
  else
    fail "options screen"
  fi
}
options_shot 4-options

# ---------------------------------------------------------------- 4. exit
xdotool mousemove 300 345 click 1
if wait_for "the program to end" 15 game_ended; then
  status=$(exit_status)
  check "exit item: exit status 1 (got $status)" test "$status" = 1
else
  fail "the exit item ends the program"
fi
bytes=$(settings_bytes)
check "setting.dat holds $expected_bytes (got ${bytes:-nothing})" test "$bytes" = "$expected_bytes"

# ---------------------------------------------------------------- 5. second start
# The file is read back (no question) and saved over itself on exit.
start_game
if wait_for "the menu on restart" 30 not_black 400 100; then
  pass "restart: the menu with no question"
  xdotool mousemove 300 345 click 1
  if wait_for "the program to end again" 15 game_ended; then
    status=$(exit_status)
    check "restart: exit status 1 (got $status)" test "$status" = 1
  else
    fail "restart: the exit item ends the program"
  fi
  bytes=$(settings_bytes)
  check "restart: setting.dat replaced with the same bytes (got ${bytes:-nothing})" test "$bytes" = "$expected_bytes"
else
  fail "restart: the menu shows"
fi

# ---------------------------------------------------------------- 6. a Western system
# With code page 1252 as the ANSI one, the Polish texts must look exactly the
# same: the program converts its code page 1250 texts itself. The question's
# text lines (not its buttons, which Wine names in the locale's language) and
# the options' labels are compared with the Polish run's.
rm -f "$work/game/setting.dat"
start_game C.UTF-8
same_question_text() {
  local text_area
  [ "${WIDTH}x${HEIGHT}+${X}+${Y}" = "$question_geometry" ] || return 1
  text_area="${WIDTH}x$((HEIGHT - 40))+${X}+${Y}"
  [ "$(compare -metric AE -crop "$text_area" "$work/shots/1-question.png" "$work/shots/6-question-western.png" null: 2>&1)" = 0 ]
}
if wait_for "the question in a Western locale" 30 window_named '^Błąd$'; then
  question_shot 6-question-western || true
  answer_question
  check "question text identical under code page 1252" same_question_text
else
  fail "a Western locale: the settings question"
fi
if wait_for "the menu in a Western locale" 30 not_black 400 100; then
  options_shot 7-options-western
  same_labels() {
    local metric
    metric=$(compare -metric AE "$work/shots/4-options.png" "$work/shots/7-options-western.png" \
      -crop 450x230+95+145 null: 2>&1)
    [ "$metric" = 0 ]
  }
  check "options texts identical under code page 1252" same_labels
  xdotool mousemove 300 345 click 1
  if wait_for "the program to end (Western locale)" 15 game_ended; then
    status=$(exit_status)
    check "Western locale: exit status 1 (got $status)" test "$status" = 1
  else
    fail "Western locale: the exit item ends the program"
  fi
  bytes=$(settings_bytes)
  check "Western locale: setting.dat holds the same bytes (got ${bytes:-nothing})" test "$bytes" = "$expected_bytes"
else
  fail "a Western locale: the menu shows"
fi

# ---------------------------------------------------------------- 7. no graphics sheet
# LoadImageA finds no file: the message box, then exit status 0.
mv "$work/game/zdj/15.bmp" "$work/game/zdj/15.bmp.away"
start_game
if wait_for "the missing sheet's message" 30 window_named '^Błąd$'; then
  shot 8-no-sheet
  answer_question
  if wait_for "the program to end (no sheet)" 15 game_ended; then
    status=$(exit_status)
    check "no sheet: message box, exit status 0 (got $status)" test "$status" = 0
  else
    fail "no sheet: OK ends the program"
  fi
else
  fail "no sheet: the message box shows"
fi

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
start_game
if wait_for "the oversized sheet's message" 30 window_named '^Błąd$'; then
  shot 9-oversized-sheet
  answer_question
  if wait_for "the program to end (oversized sheet)" 15 game_ended; then
    status=$(exit_status)
    check "sheet of 4097 x 4097: message box, exit status 0 (got $status)" test "$status" = 0
  else
    fail "oversized sheet: OK ends the program"
  fi
else
  fail "oversized sheet: the message box shows"
fi

# ---------------------------------------------------------------- 8b. a sheet too small
# A complete picture of 100 x 100 pixels, which LoadImageA takes: too small for
# the pieces the screens cut from it, refused with the missing sheet's message.
bmp_1bit 100 100 "$work/game/zdj/15.bmp"
start_game
if wait_for "the small sheet's message" 30 window_named '^Błąd$'; then
  shot 9-small-sheet
  answer_question
  if wait_for "the program to end (small sheet)" 15 game_ended; then
    status=$(exit_status)
    check "sheet of 100 x 100: message box, exit status 0 (got $status)" test "$status" = 0
  else
    fail "small sheet: OK ends the program"
  fi
else
  fail "small sheet: the message box shows"
fi
mv "$work/game/zdj/15.bmp.away" "$work/game/zdj/15.bmp"

# ---------------------------------------------------------------- 9. a save that fails
# setting.dat is a folder: the question at the start, then the back button's
# save fails with its message. The box belongs to the game's window: a click on
# the menu's first item meanwhile must not start a match inside the box.
rm -f "$work/game/setting.dat"
mkdir "$work/game/setting.dat"
start_game
if wait_for "the question (unreadable settings)" 30 window_named '^Błąd$' && question_shot 10-question; then
  answer_question
  wait_for "the menu" 20 not_black 400 100
  xdotool mousemove 300 250 click 1
  wait_for "the options screen" 10 not_black 25 300
  xdotool mousemove 385 475 click 1
  if wait_for "the save's message" 10 window_named '^Błąd$' && question_shot 10-save-failed; then
    xdotool mousemove 285 195 click 1
    # Nothing may come of the click: a second for it to show if it did (the
    # check after the message closes waits until the game has taken it).
    sleep 1
    check "a click on the game while the save's message shows starts no match" black "$(disc_x 0)" "$(disc_y 0)"
    answer_question
    check "the message closed: the menu" wait_for "the menu after the message" 10 not_black 400 100
    # Input is taken in order: the marker of a move made now shows only after
    # anything the game kept from the message's time has been acted on.
    xdotool mousemove 300 245
    check "the marker after the message" wait_for "the marker beside the second item" 10 not_black 265 245
    check "still no match" black "$(disc_x 0)" "$(disc_y 0)"
  else
    fail "a failed save shows its message"
  fi
  # Alt+F4 with no window manager: the system's own close command.
  xdotool key alt+F4
  if wait_for "the program to end (Alt+F4)" 15 game_ended; then
    status=$(exit_status)
    check "Alt+F4 ends the program: exit status 1 (got $status)" test "$status" = 1
  else
    fail "Alt+F4 ends the program"
  fi
else
  fail "unreadable settings: the question shows"
fi
rmdir "$work/game/setting.dat"

# ---------------------------------------------------------------- 10. under a window manager
# One human against the computer with 2 seconds per move. Each screen is left
# for another window (the game's window is minimised) and come back to (the
# window manager restores it); the game must draw it again.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if wait_for "openbox" 10 wm_running; then
  printf '\x90\xe1\x40\x00\x01\x02\x06\x02\x01\x00\x00\x00' >"$work/game/setting.dat"
  one_human_bytes=$(settings_bytes)
  xmessage -geometry 300x80+250+260 'inny program' >/dev/null 2>&1 &
  other_pid=$!
  start_game
fi
if wm_running && wait_for "the menu under openbox" 30 not_black 400 100; then
  check "openbox: the window \"Wolby\" 800x600 at (0, 0)" window_over_screen
  game_unmapped() { xwininfo -id "$(game_window)" 2>/dev/null | grep -q IsUnMapped; }
  # away <screen>: the other program is activated; the game's window is minimised.
  # The activation is asked again while waiting: on a busy machine the first
  # request can reach the window manager before it is ready for it.
  other_activated() {
    xdotool windowactivate "$(xdotool search --name '^xmessage$' | head -n 1)" 2>/dev/null
    sleep 0.3
    game_unmapped
  }
  away() {
    check "openbox, $1: another window activated, the game's minimised" wait_for "the game minimised" 10 other_activated
  }
  back() { xdotool windowactivate "$(game_window)" 2>/dev/null; }
  # whole_screen_back <shot>: the screen is again exactly as in the shot.
  whole_screen_back() { shot "$1-back" && same_region "$1" "$1-back" 800x600+0+0; }

  xdotool mousemove 300 200
  wait_for "the marker" 5 not_black 265 195
  shot 11-menu
  away menu && back
  check "openbox: the menu with its marker drawn again" wait_for "the menu again" 10 whole_screen_back 11-menu

  xdotool mousemove 300 250 click 1
  wait_for "the options screen" 10 not_black 25 300 && wait_for "the options texts" 5 labels_drawn 11-options
  away options && back
  check "openbox: the options drawn again" wait_for "the options again" 10 whole_screen_back 11-options
  xdotool key Escape
  check "openbox: ESC from the options: the menu" wait_for "the menu after ESC" 10 black 25 300

  # The board's squares as "empty player1 player2 other", by the colour of their middles.
  board_counts() {
    local format="" c r
    for c in 0 1 2 3 4 5; do
      for r in 0 1 2 3 4 5; do format+="%[pixel:p{$(disc_x $c),$(disc_y $r)}]\n"; done
    done
    convert "$work/shots/$1.png" -format "$format" info: | sed -E 's/[^0-9,]//g' |
      awk -F, -v empty="$2" -v p1="${player1[*]}" -v p2="${player2[*]}" '
        function near(list,  v) { split(list, v, " "); return (($1-v[1])^2 <= 64 && ($2-v[2])^2 <= 64 && ($3-v[3])^2 <= 64) }
        { if ($0 == empty) e++; else if (near(p1)) a++; else if (near(p2)) b++; else o++ }
        END { printf "%d %d %d %d\n", e, a, b, o }'
  }
  xdotool mousemove 300 200 click 1
  wait_for "the board" 10 not_black "$(disc_x 0)" "$(disc_y 0)" &&
    wait_for "the last opening disc" 5 near "$(disc_x 3)" "$(disc_y 3)" "${player1[@]}"
  shot 11-start
  empty_square=$(convert "$work/shots/11-start.png" -format "%[pixel:p{$(disc_x 0),$(disc_y 0)}]" info: | sed -E 's/[^0-9,]//g')
  xdotool mousemove "$(square_x 1)" "$(square_y 3)" click 1
  wait_for "the turned disc" 5 near "$(disc_x 2)" "$(disc_y 3)" "${player1[@]}"
  shot 11-match
  read -r _ _ before2 _ <<<"$(board_counts 11-match "$empty_square")"
  # Away for 4.5 s: the computer answers, the person's 2 seconds run out, and
  # the computer moves again.
  away match
  sleep 4.5
  back
  frame_and_labels_back() {
    shot 11-match-back || return 1
    local region
    for region in 50x600+0+0 50x600+550+0 50x600+750+0 800x50+0+0 800x50+0+550 90x17+620+200 90x17+620+340; do
      same_region 11-match 11-match-back "$region" || return 1
    done
  }
  check "openbox: the frame and the players' labels drawn again" \
    wait_for "the match again" 10 frame_and_labels_back
  read -r empty ones twos others <<<"$(board_counts 11-match-back "$empty_square")"
  check "openbox: every square drawn again ($empty empty, $ones + $twos discs, $others other)" \
    test "$others" = 0 -a $((empty + ones + twos)) = 36
  check "openbox: the computer moved while the game was away (player 2: $before2 -> $twos discs)" \
    test "$twos" -gt "$before2"
  scores_back() { text_in 11-match-back 90x17+620+240 && text_in 11-match-back 90x17+620+390; }
  check "openbox: both scores written again" scores_back
  clock_changed() { shot 11-clock-b && ! same_region 11-clock-a 11-clock-b 130x17+620+120; }
  # The result's lines reach past the 6 x 6 board onto the black beside it.
  match_decided() { text_in 11-clock-b 30x15+410+231; }
  tick_or_end() { clock_changed || match_decided; }
  clock_runs() {
    # Every tick changes the line: its seconds, or its colour when the turn passed.
    # The computer, playing while the person waits, may end the match first:
    # then the clock stops as at every end, and the computer's move shows the
    # timers ran on after coming back.
    shot 11-clock-a && wait_for "the clock's next tick" 5 tick_or_end && text_in 11-clock-b 130x17+620+120
  }
  check "openbox: the clock goes on after coming back" clock_runs
  xdotool key Escape
  check "openbox: ESC from the match: the menu" \
    wait_for "the menu after the match" 10 black "$(disc_x 0)" "$(disc_y 0)"

  xdotool mousemove 300 300 click 1
  wait_for "the credits" 10 not_black 50 300
  credits_drawn() { shot 11-credits && text_in 11-credits 250x230+290+95; }
  wait_for "the credits' lines" 5 credits_drawn
  away credits && sleep 1 && back
  credits_back() {
    shot 11-credits-back && same_region 11-credits 11-credits-back 100x600+0+0 &&
      same_region 11-credits 11-credits-back 100x600+700+0 && text_in 11-credits-back 250x230+290+95
  }
  check "openbox: the credits' strips and lines drawn again" wait_for "the credits again" 10 credits_back
  credits_moved() { shot 11-credits-b && ! same_region 11-credits-a 11-credits-b 250x230+290+95; }
  credits_move() { shot 11-credits-a && wait_for "the credits' next step" 5 credits_moved; }
  check "openbox: the credits go on moving" credits_move
  xdotool key Escape
  wait_for "the menu after the credits" 10 black 50 300

  xdotool key alt+F4
  if wait_for "the program to end (Alt+F4 under openbox)" 15 game_ended; then
    status=$(exit_status)
    check "openbox: Alt+F4 ends the program, exit status 1 (got $status)" test "$status" = 1
  else
    fail "openbox: Alt+F4 ends the program"
  fi
  bytes=$(settings_bytes)
  check "openbox: setting.dat untouched by ESC and Alt+F4 (got ${bytes:-nothing})" test "$bytes" = "$one_human_bytes"
else
  fail "under openbox: the menu shows"
fi
[ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null
[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
other_pid=""
wm_pid=""

# ---------------------------------------------------------------- 11. the Linux build's picture
# On the bare 800 x 600 screen again. The Linux build's harness comes from the
# host build, configured as the test command does when it is not there yet.
. "$root/tests/cross/cross_check.sh"
host_harness() {
  if [ ! -f "$host_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release -DWOLBY_WERROR=ON >/dev/null || return 1
  fi
  cmake --build "$host_build" --target $cross_host_targets -j"$(nproc)" \
    >"$work/host-build.log" 2>&1 || { tail -n 20 "$work/host-build.log"; return 1; }
}
check "GDI paints every shape as tests/cross/gdi_shapes.txt holds" \
  cross_dump_same "$build/cross/gdi_shapes_dump.exe" "$root/tests/cross/gdi_shapes.txt" "$work/cross/dumps"
check "DirectDraw stretches as tests/cross/blt_stretch.txt holds" \
  cross_dump_same "$build/cross/blt_stretch_dump.exe" "$root/tests/cross/blt_stretch.txt" "$work/cross/dumps"
if host_harness; then
  pass "the Linux build's headless harness builds ($host_build)"
  check "the Linux build draws every screen as this one, text cells aside (table above)" \
    cross_pictures_same "$build" "$host_build" "$work/cross/screens"
else
  fail "the Linux build's headless harness builds ($host_build)"
fi

# ---------------------------------------------------------------- 12. another screen size
# On a 1024 x 768 screen the display cannot be set to 800 x 600: its message,
# then exit status 0. Wine's processes end first, so the game meets the new screen.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display2" >"$work/xvfb2.log" 2>&1 &
xvfb2_pid=$!
if wait_for "the second X server" 10 test -s "$work/display2"; then
  DISPLAY=":$(head -n 1 "$work/display2")"
  start_game
  if wait_for "the display mode's message" 30 window_named '^Błąd$'; then
    shot 12-display-mode
    answer_question
    if wait_for "the program to end (display mode)" 15 game_ended; then
      status=$(exit_status)
      check "1024 x 768 screen: the display mode's message, exit status 0 (got $status)" test "$status" = 0
    else
      fail "display mode: OK ends the program"
    fi
  else
    fail "display mode: the message box shows"
  fi
else
  fail "a 1024 x 768 X server"
fi

summary
[ "$failed" -eq 0 ]
