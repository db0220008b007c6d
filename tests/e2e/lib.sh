# What the real-window tests share: a private X server, a desktop (window
# manager and panel) on it, the game started in a work folder, and looking at
# the screen as a person does. Source it; set `work` first. The check scripts
# of scripts/ take it through scripts/checks.sh, whose `fail` counts a failure
# and goes on where this one ends the test.

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "note: $*" >&2; }

# A fresh work folder with the game's folder in it (the sheet, no settings
# file) as the current folder, and a folder for screenshots.
prepare_game_folder() {
  rm -rf "$work"
  mkdir -p "$work/game/zdj" "$work/shots"
  cp "$source/zdj/15.bmp" "$work/game/zdj/15.bmp"
  cd "$work/game"
}
# A screenshot for the record; one that cannot be taken never hides the
# failure it was to show.
shot() { import -window root "$work/shots/$1.png" 2>/dev/null || { note "no screenshot $1"; return 1; }; }

# A private X server of the given size ("WIDTHxHEIGHT"); DISPLAY is set to it.
start_x() {
  local size=$1 pipe
  pipe=$(mktemp -u) && mkfifo "$pipe"
  # -noreset: a server that resets when its last client leaves refuses the
  # next one for a moment, and the tests' short-lived clients come and go.
  Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$pipe" >"$work/xvfb.log" 2>&1 &
  background+=($!)
  read -r -t 10 number <"$pipe" || { fail "the X server did not start"; return 1; }
  rm -f "$pipe"
  export DISPLAY=":$number"
  wait_for 20 "the X server to take clients" x_takes_clients || return 1
  start_session_bus
  SCREEN_W=${size%x*}
  SCREEN_H=${size#*x}
}

x_takes_clients() { xdpyinfo >/dev/null 2>&1; }

# A desktop as players have one: a session bus, metacity and a light tint2
# panel at the bottom (easy to tell from the game's picture).
start_desktop() {
  metacity --replace >"$work/wm.log" 2>&1 &
  background+=($!)
  wait_for 20 "the window manager" window_manager_running
  tint2 -c /usr/share/tint2/horizontal-light-opaque.tint2rc >"$work/panel.log" 2>&1 &
  background+=($!)
  wait_for 20 "the panel" bash -c "xwininfo -root -tree | grep -q '\"tint2\"'"
  wait_for 20 "the window manager to keep the panel's strip free" panel_reserved
}
# Whether the window manager's work area leaves room for a panel.
panel_reserved() {
  local height
  height=$(xprop -root _NET_WORKAREA | sed -nE 's/^[^=]*= [0-9]+, [0-9]+, [0-9]+, ([0-9]+).*/\1/p')
  [ -n "$height" ] && [ "$height" -lt "$SCREEN_H" ]
}

stop_background() {
  local other deadline=$((SECONDS + 5))
  if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null || true; fi
  for other in "${background[@]}"; do kill "$other" 2>/dev/null || true; done
  # What has not ended 5 s later is killed: the test never hangs on a helper.
  for other in ${pid:-} "${background[@]}"; do
    while kill -0 "$other" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
    if kill -0 "$other" 2>/dev/null; then
      echo "note: $(ps -o comm= -p "$other") ($other) did not end on SIGTERM" >&2
      kill -KILL "$other" 2>/dev/null || true
    fi
  done
  wait 2>/dev/null || true
  return 0
}

# wait_for <seconds> <what> <command...>: polls the command until it succeeds.
# In vain, a screenshot for the record and a failure (which ends a test here,
# and is counted in the check scripts); status 1.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$(( ${EPOCHREALTIME//[^0-9]/} + seconds * 1000000 ))
  until "$@"; do
    if [ "${EPOCHREALTIME//[^0-9]/}" -gt "$deadline" ]; then
      shot "failed-$(tr ' /' '--' <<<"$what")"
      fail "waited $seconds s in vain for $what"
      return 1
    fi
    sleep 0.1
  done
}
# watch_for <what> <x> <y> <r> <g> <b> [...]: up to 20 s for the points to show
# their colours in one picture, looked at 50 times a second by the program in
# `screen_watch` (tests/e2e/screen_watch.cpp): for a state that lasts only a
# moment, which a screenshot on a busy machine can miss.
watch_for() {
  local what=$1; shift
  "$screen_watch" 20 "$colour_tolerance" "$@" 2>"$work/watch.txt" && return 0
  shot "failed-$(echo "$what" | tr ' ' '-')"
  fail "waited in vain for $what ($(cat "$work/watch.txt"))"
}

# The colour at a point of the screen as "r g b".
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n 1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}
# Colours are the same give or take the 16-bit display's rounding: each
# channel within one step of its 5 bits (255 / 31).
colour_tolerance=8
same_colour() {  # same_colour <r> <g> <b> <wanted r> <g> <b>
  local d
  for d in $(( $1 - $4 )) $(( $2 - $5 )) $(( $3 - $6 )); do
    [ "${d#-}" -le "$colour_tolerance" ] || return 1
  done
}
# Whether the point shows the colour (status 1 if not); a screen that could
# not be read is neither this colour nor another (status 2).
near() {  # near <x> <y> <r> <g> <b>
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  [[ "$r $g $b" =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]] || return 2
  same_colour "$r" "$g" "$b" "$3" "$4" "$5"
}
black() { near "$1" "$2" 0 0 0; }
not_black() {
  local seen=0
  black "$1" "$2" || seen=$?
  [ "$seen" = 1 ]
}
# Whether each point shows its colour in one picture of the screen, taken at
# one moment (a state that lasts only a while is seen whole or not at all).
# all_near <x> <y> <r> <g> <b> [<x> <y> <r> <g> <b>...]
all_near() {
  import -window root -depth 8 "$work/moment.miff" || return 1
  local format="" wanted=() seen=0 r g b
  while [ $# -ge 5 ]; do
    format+="%[fx:round(255*p{$1,$2}.r)] %[fx:round(255*p{$1,$2}.g)] %[fx:round(255*p{$1,$2}.b)]\n"
    wanted+=("$3 $4 $5")
    shift 5
  done
  while read -r r g b; do
    # shellcheck disable=SC2086
    same_colour "$r" "$g" "$b" ${wanted[seen]} || return 1
    seen=$((seen + 1))
  done < <(convert "$work/moment.miff" -format "$format" info:)
  [ "$seen" = "${#wanted[@]}" ]
}
# Whether something is drawn (not black) in a region "WxH+X+Y" of the screen.
drawn_in() {
  [ "$(import -window root -crop "$1" +repage -depth 8 miff:- | convert - -format '%[fx:maxima>0.1]' info:)" = 1 ]
}

# Where the 800 x 600 picture lies on a window of W x H at (X0, Y0): the
# largest 4:3 rectangle, centred (as the game lays it out).
picture_layout() {  # picture_layout <window w> <window h> [x0 y0]
  PW=$1; PH=$(( $1 * 600 / 800 ))
  if [ "$PH" -gt "$2" ]; then PH=$2; PW=$(( $2 * 800 / 600 )); fi
  PX=$(( ${3:-0} + ($1 - PW) / 2 )); PY=$(( ${4:-0} + ($2 - PH) / 2 ))
}
# Screen point of a picture point (its pixel's middle).
sx() { echo $(( PX + ($1 * PW + PW / 2) / 800 )); }
sy() { echo $(( PY + ($1 * PH + PH / 2) / 600 )); }
# Points the person aims at with the fork's middle prong, which lies 15
# picture pixels right of the pointer's hot spot: the pointer goes there.
aim() { xdotool mousemove "$(sx $(( $1 - 15 )))" "$(sy "$2")"; }
click_at() { aim "$1" "$2"; xdotool click 1; sleep 0.2; }

# The windows by their titles: the game's, and its dialogs' ("Błąd"), which
# xdotool reads from Wine's windows but not from SDL's (a WM_NAME of type
# "UTF-8"), whose name xwininfo shows.
game_window() { xdotool search --name '^Wolby$' 2>/dev/null | head -n 1; }
dialog_window() {
  { xdotool search --name '^Błąd$' 2>/dev/null; xwininfo -root -tree 2>/dev/null | awk '/"B.*d": / { print $1 }'; } |
    head -n 1
}
dialog_shown() { [ -n "$(dialog_window)" ]; }
dialog_gone() { ! dialog_shown; }
game_shown() { [ -n "$(game_window)" ]; }

# A file's bytes in hex ("90e14000..."), and those of the default settings.
hex_of() { od -An -v -tx1 "$1" 2>/dev/null | tr -d ' \n'; }
default_settings_hex=90e140000102060002000000

# Every process of the program's runs carries this in its environment, also
# one it started (a dialog's) that might outlive it.
run_tag=wolby-test-$$-$RANDOM
# Starts the program in the current folder; its output goes to $work/out.txt.
start_program() {
  WOLBY_TEST_RUN=$run_tag "$program" "$@" >"$work/out.txt" 2>&1 &
  pid=$!
}
# Whether no process of the program's runs is left (a zombie, which has ended,
# shows no environment).
program_processes_gone() { ! grep -qsxzF "WOLBY_TEST_RUN=$run_tag" /proc/[0-9]*/environ; }
# Waits for the program to end; its exit status in `status`.
wait_program() {
  status=0
  wait "$pid" || status=$?
}
# Waits up to `seconds` for the program to end: its exit status in `status`,
# or "running". (Not in a subshell: only this shell can wait for its child.)
ended_within() {
  local seconds=$1
  for _ in $(seq 1 $(( seconds * 20 ))); do
    if ! kill -0 "$pid" 2>/dev/null; then wait_program; return; fi
    sleep 0.05
  done
  status=running
}

background=()
trap stop_background EXIT
# A test ended by a signal (a time limit's) still stops what it started.
trap 'exit 143' TERM HUP

# The processes the program started (a dialog's), as "pid pid ...".
children_of() { pgrep -P "$1" | tr '\n' ' ' || true; }
has_children() { [ -n "$(children_of "$1")" ]; }
# Weston (its x11 backend) with one 1024 x 768 output on the X server, as a
# Wayland desktop; WAYLAND_DISPLAY is set to it. Needs XDG_RUNTIME_DIR.
start_weston_output() {
  local socket=wolby-$$
  weston --backend=x11-backend.so --width=1024 --height=768 --socket="$socket" --idle-time=0 \
    >"$work/weston.log" 2>&1 &
  background+=($!)
  wait_for 20 "weston" test -S "$XDG_RUNTIME_DIR/$socket"
  wait_for 20 "weston's output" bash -c "xwininfo -root -tree | grep -q 'Weston Compositor - screen'"
  export WAYLAND_DISPLAY=$socket
}

# The desktops players have, by name, on the X server of start_x:
#   bare      no window manager at all
#   metacity  metacity with a tint2 panel at the bottom (start_desktop)
#   mutter    GNOME's window manager with a tint2 panel at the bottom
#   xfwm4     Xfce's window manager with its panels (the default layout: a bar
#             at the top, a dock at the bottom)
#   openbox   openbox with a tint2 panel at the bottom
# PANEL_AT is then "x y" of a point of a panel ("" on a bare server).
start_desktop_of() {
  PANEL_AT=""
  case $1 in
    bare) return 0 ;;
    metacity) start_desktop; PANEL_AT="$(( SCREEN_W / 2 )) $(( SCREEN_H - 8 ))"; return 0 ;;
  esac
  start_session_bus
  case $1 in
    mutter) start_window_manager mutter --x11 --replace --sm-disable; start_tint2 ;;
    openbox) start_window_manager openbox --sm-disable; start_tint2 ;;
    xfwm4)
      # The panel's settings live in xfconf, reached over the session bus; with
      # none yet, this makes it take the default layout without asking.
      start_window_manager xfwm4 --replace
      XFCE_PANEL_MIGRATE_DEFAULT=1 xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
      background+=($!)
      PANEL_AT="$(( SCREEN_W / 2 )) 10"
      ;;
    *) fail "no desktop named $1" ;;
  esac
  # A panel is in place when the window manager keeps its strip out of the
  # work area, and shows when its point is drawn.
  wait_for 20 "the panel's place kept by the window manager" work_area_smaller
  # shellcheck disable=SC2086
  wait_for 20 "the panel" not_black $PANEL_AT
}

# A session bus of its own, as every desktop gives its programs: window managers
# and panels talk over it, and xfconf (Xfce's settings) keeps its files in the
# work folder. Without one, libdbus in the game (SDL's) or in a dialog
# autolaunches a bus through dbus-launch where dbus-x11 is installed, and that
# bus outlives the run. One per X server; start_x starts it.
start_session_bus() {
  local address bus
  [ -z "${session_bus:-}" ] || return 0
  export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
  read -r address bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | tr '\n' ' ') || true
  [ -n "$address" ] || fail "no session bus (dbus-daemon)"
  export DBUS_SESSION_BUS_ADDRESS=$address
  background+=("$bus")
  session_bus=$bus
}
window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
start_window_manager() {
  "$@" >"$work/wm.log" 2>&1 &
  background+=($!)
  wait_for 20 "the window manager ($1)" window_manager_running
}
# tint2 at the bottom, light (easy to tell from the game's picture).
start_tint2() {
  tint2 -c /usr/share/tint2/horizontal-light-opaque.tint2rc >"$work/panel.log" 2>&1 &
  background+=($!)
  PANEL_AT="$(( SCREEN_W / 2 )) $(( SCREEN_H - 8 ))"
}
work_area_smaller() {
  local area
  area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -nE 's/.*= ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\3 \4/p')
  [ -n "$area" ] && [ "$area" != "$SCREEN_W $SCREEN_H" ]
}

# The window's place and size on the screen, as "WxH+X+Y".
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}
geometry_is() { [ "$(window_geometry "$1")" = "$2" ]; }  # geometry_is <window> <WxH+X+Y>
# Whether the window's manager gives it the keyboard (or, with none, the X server does).
has_keyboard() {
  xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q FOCUSED ||
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(( $1 ))" ]
}
# Answers the dialog with Enter. Without a window manager the keyboard follows
# the pointer, and a dialog still being mapped can miss the key: the pointer
# goes over it and the key is pressed again while it is there.
answer_dialog_with_return() {
  local dialog geometry w h x y
  for _ in $(seq 1 20); do
    dialog=$(dialog_window)
    [ -n "$dialog" ] || return 0
    geometry=$(window_geometry "$dialog")
    IFS='x+' read -r w h x y <<<"$geometry"
    xdotool mousemove $(( x + w / 2 )) $(( y + 5 ))
    xdotool key Return
    for _ in $(seq 1 10); do dialog_shown || return 0; sleep 0.05; done
  done
  fail "the dialog did not take Enter"
}
