#!/usr/bin/env bash
# The installed launcher, staged with DESTDIR into a scratch folder, with no
# display. It finds the program from where it lies (also through a link and
# after the tree was moved) and passes its arguments on; --help and --version
# touch no disk; a new player's folder gets the default settings and a link
# to the installed sheet, an old copy of the sheet becomes the link, and a
# player's own settings stay. It starts the game in a read-only folder that
# holds everything, from a folder it can use when the home cannot be written
# (saying so once), shows its own failures in a window, and no FIFO blocks it.
# The program in the staged tree is wrapped by a stand-in that notes the
# folder it was started in; run_launcher_window.sh sees the real game start.
# usage: run_launcher.sh <build folder> <source folder> <version>
set -uo pipefail
build=$1
source=$2
version=$3
# Under /tmp, which everyone may pass through: the player may be nobody.
work=$(mktemp -d -p /tmp)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
. "$(dirname "$0")/launcher_lib.sh"

stage_install
[ "$(od -An -tx1 "$seed" | tr -d ' \n')" = 90e140000102060002000000 ] ||
  fail "the installed default settings hold $(od -An -tx1 "$seed")"
# The stand-in notes where it was started; the program itself answers its
# arguments (with none, and no display, it would only say so and end).
libexec=$work/stage/usr/libexec/wolby
mv "$libexec/wolby" "$libexec/wolby.real"
cat >"$libexec/wolby" <<'EOF'
#!/bin/sh
pwd -P >"$WOLBY_REPORT"
[ $# = 0 ] && exit 0
exec "$(dirname "$0")/wolby.real" "$@"
EOF
chmod 755 "$libexec/wolby"
player_dir "$work/reports" "$work/tmp"
report=$work/reports/started-in

# run <environment...> -- <arguments...>: as the player, with no display;
# the status in $status, the output in out and err, the folder the program
# was started in in $started ("" when it was not). A launcher that blocks is
# ended after 5 s (status 124).
run() {
  local environment=()
  while [ "$1" != -- ]; do environment+=("$1"); shift; done
  shift
  rm -f "$report"
  status=0
  "${as_player[@]}" env -i PATH=/usr/bin:/bin WOLBY_REPORT="$report" TMPDIR="$work/tmp" "${environment[@]}" \
    timeout 5 "$launcher" "$@" >"$work/out" 2>"$work/err" || status=$?
  started=$(cat "$report" 2>/dev/null)
}
# The launcher's own lines on standard error.
launcher_said() { cat "$work/err"; }
# sheet_linked <folder>: its zdj/15.bmp is a link to the installed sheet.
sheet_linked() {
  [ -L "$1/zdj/15.bmp" ] && [ "$(readlink "$1/zdj/15.bmp")" = "$(readlink -f "$installed_sheet")" ]
}
# A home no player may write to, with nothing in it.
mkdir -p "$work/readonly-home"
chmod 555 "$work/readonly-home"

# 1. --help, --version and a refused option answer from anywhere and touch no
#    disk: not with a home that cannot be written, not with one that can.
run HOME="$work/readonly-home" -- --version
[ "$status" = 0 ] || fail "--version with a read-only home: status $status ($(cat "$work/err"))"
[ "$(head -n 1 "$work/out")" = "wolby $version" ] || fail "--version through the launcher printed: $(cat "$work/out")"
[ -s "$work/err" ] && fail "--version with a read-only home said: $(cat "$work/err")"
data=$work/data
player_dir "$data"
run XDG_DATA_HOME="$data" HOME="$work/nohome" -- --help
[ "$status" = 0 ] || fail "--help through the launcher: status $status"
grep -q -- '--window' "$work/out" || fail "--help through the launcher printed: $(cat "$work/out")"
run XDG_DATA_HOME="$data" -- --window --version
[ "$status" = 0 ] || fail "--window --version through the launcher: status $status"
run XDG_DATA_HOME="$data" -- --window --no-such-option
[ "$status" = 2 ] || fail "an unknown option through the launcher: status $status"
grep -q "unknown option '--no-such-option'" "$work/err" || fail "the program did not get the arguments: $(cat "$work/err")"
[ -n "$(ls -A "$data")" ] && fail "--help, --version or a refused option made: $(ls -A "$data")"

# 2. A new player: XDG_DATA_HOME's folder is made with the default settings and
#    a link to the installed sheet, no copy of it; the game starts there.
run XDG_DATA_HOME="$data" HOME="$work/nohome" --
[ "$status" = 0 ] || fail "a new player: status $status ($(cat "$work/err"))"
[ "$started" = "$data/wolby" ] || fail "a new player: the game started in '$started'"
[ -z "$(launcher_said)" ] || fail "a new player: the launcher said $(launcher_said)"
cmp -s "$data/wolby/setting.dat" "$seed" || fail "the new player's setting.dat is not the default file"
sheet_linked "$data/wolby" || fail "the new player's zdj/15.bmp is no link to the installed sheet: $(ls -l "$data/wolby/zdj")"
[ -e "$work/nohome" ] && fail "HOME was used although XDG_DATA_HOME was set"
# An update of the package reaches the player at once.
cp "$installed_sheet" "$work/sheet.saved"
printf 'a sheet of a later version' >"$installed_sheet"
cmp -s "$data/wolby/zdj/15.bmp" "$installed_sheet" || fail "the installed sheet's update does not reach the player"
cp "$work/sheet.saved" "$installed_sheet"

# 3. A player of an older version: their own settings stay, and the old copy of
#    the sheet becomes the link.
printf '\x90\xe1\x40\x00\x03\x04\x07\x02\x01\x00\x00\x00' >"$work/own"
rm "$data/wolby/zdj/15.bmp" "$data/wolby/setting.dat"
cp "$work/own" "$data/wolby/setting.dat"
cp "$source/zdj/15.bmp" "$data/wolby/zdj/15.bmp"
chown -R --reference="$data" "$data/wolby"
run XDG_DATA_HOME="$data" --
[ "$started" = "$data/wolby" ] || fail "with an old copy of the sheet: the game started in '$started'"
cmp -s "$data/wolby/setting.dat" "$work/own" || fail "the player's own setting.dat was replaced"
sheet_linked "$data/wolby" || fail "the old copy of the sheet was not replaced by the link"
[ -z "$(ls -A "$data/wolby/zdj" | grep -v '^15.bmp$')" ] || fail "left in zdj/: $(ls -A "$data/wolby/zdj")"

# 4. Without XDG_DATA_HOME (or with a relative one, which does not count) the
#    folder is ~/.local/share/wolby.
player_dir "$work/home"
run HOME="$work/home" XDG_DATA_HOME=relative/data --
[ "$started" = "$work/home/.local/share/wolby" ] || fail "with HOME only: the game started in '$started'"
cmp -s "$work/home/.local/share/wolby/setting.dat" "$seed" || fail "no default settings under ~/.local/share/wolby"

# 5. A read-only folder that holds everything: the game starts in it, with the
#    old copy of the sheet or with the link, and nothing is said.
for kind in copy link; do
  folder=$work/readonly-$kind/wolby
  player_dir "$work/readonly-$kind"
  run XDG_DATA_HOME="$work/readonly-$kind" --
  if [ "$kind" = copy ]; then rm "$folder/zdj/15.bmp" && cp "$source/zdj/15.bmp" "$folder/zdj/15.bmp"; fi
  chmod -R a-w "$folder"
  run XDG_DATA_HOME="$work/readonly-$kind" --
  [ "$status" = 0 ] || fail "a read-only folder with the sheet's $kind: status $status ($(cat "$work/err"))"
  [ "$started" = "$folder" ] || fail "a read-only folder with the sheet's $kind: the game started in '$started'"
  [ -z "$(launcher_said)" ] || fail "a read-only folder with the sheet's $kind: the launcher said $(launcher_said)"
done

# 6. A home that cannot be written: the game starts in the session's runtime
#    folder, which keeps the settings until the player logs out, and says once
#    why on standard error; without one, in a new private temporary folder;
#    with neither, in the installed folder. HOME unset is the same.
# said_once <what>: the launcher wrote one line, about the settings not kept.
said_once() {
  [ "$(launcher_said | wc -l)" = 1 ] && launcher_said | grep -q '^wolby: the settings cannot be kept' ||
    fail "$1: the launcher said: $(cat "$work/err")"
}
player_dir "$work/runtime"
chmod 700 "$work/runtime"
run HOME="$work/readonly-home" XDG_RUNTIME_DIR="$work/runtime" --
[ "$status" = 0 ] || fail "a read-only home: status $status ($(cat "$work/err"))"
[ "$started" = "$work/runtime/wolby" ] || fail "a read-only home: the game started in '$started', not the runtime folder"
said_once "a read-only home"
cmp -s "$work/runtime/wolby/setting.dat" "$seed" || fail "a read-only home: no default settings in the runtime folder"
sheet_linked "$work/runtime/wolby" || fail "a read-only home: no link to the sheet in the runtime folder"
[ "$(stat -c %a "$work/runtime/wolby")" = 700 ] || fail "the runtime folder's wolby is not private"
printf '\x90\xe1\x40\x00\x03\x04\x07\x02\x01\x00\x00\x00' >"$work/runtime/wolby/setting.dat"
run HOME="$work/readonly-home" XDG_RUNTIME_DIR="$work/runtime" --
cmp -s "$work/runtime/wolby/setting.dat" "$work/own" || fail "a read-only home: the session's settings were not kept"

run HOME="$work/readonly-home" --
[ "$status" = 0 ] || fail "a read-only home, no runtime folder: status $status ($(cat "$work/err"))"
case $started in "$work/tmp/wolby."*) ;; *) fail "a read-only home, no runtime folder: the game started in '$started'" ;; esac
said_once "a read-only home, no runtime folder"
[ -n "$started" ] && [ "$(stat -c %a "$started")" = 700 ] || fail "the temporary folder is not private"
[ -n "$started" ] && cmp -s "$started/setting.dat" "$seed" && sheet_linked "$started" ||
  fail "the temporary folder lacks the default settings or the link"

run --
case $started in "$work/tmp/wolby."*) ;; *) fail "no HOME: the game started in '$started'" ;; esac
said_once "no HOME"

chmod a-w "$work/stage/usr/share/wolby"
run HOME="$work/readonly-home" TMPDIR="$work/no-such-folder" --
chmod u+w "$work/stage/usr/share/wolby"
[ "$status" = 0 ] || fail "nowhere to write: status $status ($(cat "$work/err"))"
[ "$started" = "$(readlink -f "$work/stage/usr/share/wolby")" ] || fail "nowhere to write: the game started in '$started'"
said_once "nowhere to write"

# 7. The launcher's own failures, started from a menu (standard error read by
#    nobody), show a window: zenity's, or xmessage's when zenity cannot.
fakes=$work/fakes
mkdir -p "$fakes/zenity" "$fakes/xmessage"
# fake <tool> <status>: a stand-in that notes its arguments.
fake() {
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s"\nexit %s\n' "$work/reports/$1-said" "$2" >"$fakes/$1/$1"
  chmod 755 "$fakes/$1/$1"
}
fake zenity 0
fake xmessage 0
mv "$libexec/wolby" "$libexec/wolby.away"
run XDG_DATA_HOME="$data" DISPLAY=:97 PATH="$fakes/zenity:$fakes/xmessage:/usr/bin:/bin" --
[ "$status" = 127 ] || fail "no program: status $status"
grep -q "program .* is missing" "$work/reports/zenity-said" 2>/dev/null || fail "no program: zenity was not shown it ($(cat "$work/err"))"
grep -q "is missing" "$work/err" || fail "no program: not said on standard error"
fake zenity 255
rm -f "$work/reports/zenity-said"
run XDG_DATA_HOME="$data" DISPLAY=:97 PATH="$fakes/zenity:$fakes/xmessage:/usr/bin:/bin" -- --help
grep -q "is missing" "$work/reports/xmessage-said" 2>/dev/null || fail "no program, zenity failing: no xmessage"
mv "$libexec/wolby.away" "$libexec/wolby"
rm -f "$work/reports/"*-said
# Nowhere at all to play (an installed folder that may be written is no place
# for a game that cannot save): said in a window too.
chmod 777 "$work/stage/usr/share/wolby"
run HOME="$work/readonly-home" TMPDIR="$work/no-such-folder" DISPLAY=:97 PATH="$fakes/zenity:/usr/bin:/bin" --
chmod 755 "$work/stage/usr/share/wolby"
[ "$status" = 1 ] || fail "nowhere to play: status $status"
[ -z "$started" ] || fail "nowhere to play: the game started in $started"
grep -q "no folder to play in" "$work/reports/zenity-said" 2>/dev/null || fail "nowhere to play: zenity was not shown it"

# 8. A FIFO anywhere the launcher looks never blocks it.
fifo_folder() {  # fifo_folder <name>: a player's folder made by the launcher
  player_dir "$work/fifo-$1"
  run XDG_DATA_HOME="$work/fifo-$1" --
}
fifo_folder sheet
rm "$work/fifo-sheet/wolby/zdj/15.bmp"
mkfifo "$work/fifo-sheet/wolby/zdj/15.bmp"
run XDG_DATA_HOME="$work/fifo-sheet" --
[ "$started" = "$work/fifo-sheet/wolby" ] || fail "a FIFO as the player's sheet: status $status, started in '$started'"
sheet_linked "$work/fifo-sheet/wolby" || fail "a FIFO as the player's sheet was not replaced by the link"
fifo_folder settings
rm "$work/fifo-settings/wolby/setting.dat"
mkfifo "$work/fifo-settings/wolby/setting.dat"
run XDG_DATA_HOME="$work/fifo-settings" --
[ "$started" = "$work/fifo-settings/wolby" ] || fail "a FIFO as the player's setting.dat: status $status, started in '$started'"
[ -p "$work/fifo-settings/wolby/setting.dat" ] || fail "the player's setting.dat (a FIFO) was replaced"
player_dir "$work/fifo-folder"
mkfifo "$work/fifo-folder/wolby"
run XDG_DATA_HOME="$work/fifo-folder" HOME="$work/readonly-home" XDG_RUNTIME_DIR="$work/runtime" --
[ "$started" = "$work/runtime/wolby" ] || fail "a FIFO as the player's folder: status $status, started in '$started'"
said_once "a FIFO as the player's folder"
# The installed files as FIFOs (a broken installation): the program is left
# to refuse the sheet; a new player gets no settings file.
mv "$seed" "$work/seed.saved" && mkfifo "$seed"
mv "$installed_sheet" "$work/sheet.saved" && mkfifo "$installed_sheet"
player_dir "$work/fifo-installed"
run XDG_DATA_HOME="$work/fifo-installed" --
[ "$started" = "$work/fifo-installed/wolby" ] || fail "the installed files as FIFOs: status $status, started in '$started'"
[ -e "$work/fifo-installed/wolby/setting.dat" ] && fail "the installed files as FIFOs: a setting.dat was made"
rm "$seed" "$installed_sheet"
mv "$work/seed.saved" "$seed" && mv "$work/sheet.saved" "$installed_sheet"

# 9. A dangling link named setting.dat is the player's: not written through.
player_dir "$work/linked" "$work/linked/wolby"
ln -s "$work/reports/elsewhere.dat" "$work/linked/wolby/setting.dat"
run XDG_DATA_HOME="$work/linked" --
[ "$started" = "$work/linked/wolby" ] || fail "with a dangling setting.dat: started in '$started'"
[ -e "$work/reports/elsewhere.dat" ] && fail "the launcher wrote through a link named setting.dat"

# 10. Started through a link from another folder (as from /usr/local/bin), and
#     after the whole tree was moved, it still finds the program, and the
#     player's link follows the sheet to its new place.
mkdir -p "$work/bin"
ln -s "$launcher" "$work/bin/wolby"
launcher=$work/bin/wolby
run XDG_DATA_HOME="$data" -- --version
[ "$status" = 0 ] && [ "$(head -n 1 "$work/out")" = "wolby $version" ] || fail "through a link: $(cat "$work/out" "$work/err")"
mv "$work/stage" "$work/moved"
launcher=$work/moved/usr/games/wolby
installed_sheet=$work/moved/usr/share/wolby/zdj/15.bmp
run XDG_DATA_HOME="$data" --
[ "$status" = 0 ] && [ "$started" = "$data/wolby" ] || fail "after moving the tree: status $status: $(cat "$work/err")"
sheet_linked "$data/wolby" || fail "after moving the tree the player's link points to $(readlink "$data/wolby/zdj/15.bmp")"

[ "$failed" = 0 ] && echo "launcher: all checks passed"
exit "$failed"
