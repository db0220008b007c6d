#!/usr/bin/env bash
# The real game started by the installed launcher on a private X server: for a
# player whose home cannot be written (the game plays in a private temporary
# folder and says so once) and for one whose folder holds everything but is
# read-only, the menu shows. The screenshots go to the work folder.
# usage: run_launcher_window.sh <build folder> <source folder> <work folder>
set -euo pipefail
build=$1
source=$2
shots_to=$3
# The player (nobody, under root) must reach every folder of theirs: a fresh
# one under /tmp, which everyone may pass through, not the build folder.
work=$(mktemp -d -p /tmp)
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/launcher_lib.sh"
finish() {
  stop_background
  rm -rf "$shots_to" && mkdir -p "$shots_to" && cp -r "$work/shots/." "$shots_to/"
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 143' TERM HUP  # a time limit's signal still runs the cleanup
mkdir -p "$work/shots"
stage_install
start_x 800x600
picture_layout 800 600

# start_launcher <environment...>: the launcher as the player, in the background.
start_launcher() {
  "${as_player[@]}" env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" "$@" "$launcher" \
    >"$work/out.txt" 2>"$work/err.txt" &
  pid=$!
}
# end_game: SIGTERM ends the game with status 1.
end_game() {
  kill -TERM "$pid"
  ended_within 5
  [ "$status" = 1 ] || fail "$1: SIGTERM gave status $status ($(cat "$work/err.txt"))"
}

# 1. A home that cannot be written, no runtime folder: the menu, from a new
#    private folder in TMPDIR, and one line on standard error.
mkdir -p "$work/readonly-home"
chmod 555 "$work/readonly-home"
player_dir "$work/tmp"
start_launcher HOME="$work/readonly-home" TMPDIR="$work/tmp"
wait_for 20 "the menu with a read-only home" not_black "$(sx 400)" "$(sy 100)"
shot 1-readonly-home
folder=$(readlink "/proc/$pid/cwd")
case $folder in "$work/tmp/wolby."*) ;; *) fail "a read-only home: the game plays in $folder" ;; esac
[ "$(grep -c '^wolby: the settings cannot be kept' "$work/err.txt")" = 1 ] ||
  fail "a read-only home: the launcher said $(cat "$work/err.txt")"
end_game "a read-only home"

# 2. A read-only folder that holds everything: the settings and an old copy of
#    the sheet (as the launcher of an older version left it).
folder=$work/data/wolby
player_dir "$work/data" "$folder" "$folder/zdj"
cp "$source/zdj/15.bmp" "$folder/zdj/15.bmp"
cp "$seed" "$folder/setting.dat"
chmod -R a-w "$folder"
start_launcher XDG_DATA_HOME="$work/data"
wait_for 20 "the menu in a read-only folder" not_black "$(sx 400)" "$(sy 100)"
shot 2-readonly-folder
[ "$(readlink "/proc/$pid/cwd")" = "$folder" ] || fail "a read-only folder: the game plays in $(readlink "/proc/$pid/cwd")"
end_game "a read-only folder"
echo "launcher window passed; screenshots in $shots_to"
