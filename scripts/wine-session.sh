# shellcheck shell=bash
# What the Wine checks of the packages share: a private 800 x 600 X server and
# a fresh Wine prefix in the work folder, ended and removed when the check
# ends, and the screen helpers of scripts/screen.sh. Source it after
# scripts/checks.sh with `work` set (its folder made); the game's process, if
# one is left running, goes in `game_pid`.
xvfb_pid=""
game_pid=""
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made, and no menu
# entries on the host for the Start menu shortcuts a program makes.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# The prefix takes about 700 MB; it goes when the check ends.
wine_session_end() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$WINEPREFIX"
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap wine_session_end EXIT
trap 'exit 143' TERM HUP  # a time limit's signal still runs the cleanup
game_ended() { ! kill -0 "$game_pid" 2>/dev/null; }

shots=$work/shots
mkdir -p "$shots"
. "$root/scripts/screen.sh"

# The display mode change succeeds only when the screen already is 800 x 600.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
need "Xvfb at 800x600x24" wait_for 10 test -s "$work/display"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
need "fresh Wine prefix" timeout 180 wineboot -i >"$work/wine.log" 2>&1
# One server for the whole check: each program after the first starts in a
# second instead of several.
wineserver -p
# Point-sampled stretched blits, as on Windows, with no OpenGL.
wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >>"$work/wine.log" 2>&1
