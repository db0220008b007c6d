# shellcheck shell=bash
# What the Wine checks of the builds share: a private 800 x 600 X server and a
# fresh Wine prefix in the work folder, ended and removed when the check ends,
# and the game started and left as a player does. Source it after
# scripts/checks.sh with `work` set; the game's process is lib.sh's `pid`.
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made, and no menu
# entries on the host for the Start menu shortcuts a program makes.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# The prefix takes about 700 MB; it goes when the check ends.
wine_session_end() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$WINEPREFIX"
  fi
  stop_background
}
trap wine_session_end EXIT
mkdir -p "$work/shots"

# The display mode change succeeds only when the screen already is 800 x 600.
need "Xvfb at 800x600x24" start_x 800x600
# Their output goes to the log, the verdicts to the check's lines.
fresh_prefix() { timeout 180 wineboot -i >"$work/wine.log" 2>&1; }
need "fresh Wine prefix" fresh_prefix
# One server for the whole check: each program after the first starts in a
# second instead of several.
wineserver -p
# Point-sampled stretched blits, as on Windows, with no OpenGL.
gdi_renderer() { wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >>"$work/wine.log" 2>&1; }
need "Direct3D renderer gdi" gdi_renderer

# start_game <folder> <program> [locale]: started there as a player starts it
# (Wine takes its code page from the locale); a game left running by a failed
# step is ended first.
start_game() {
  if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null
  fi
  (cd "$1" && LANG=${3:-pl_PL.UTF-8} exec wine "$2") >>"$work/wine.log" 2>&1 &
  pid=$!
}
menu_shown() { not_black 400 100; }
# exit_item: the menu's exit item; the exit status in `status`, "running" if
# the game has not ended 15 s later.
exit_item() { xdotool mousemove 300 345 click 1; ended_within 15; }
