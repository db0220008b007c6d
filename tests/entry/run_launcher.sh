#!/usr/bin/env bash
# The installed launcher, staged with DESTDIR into a scratch folder: it finds
# the program from where it lies (also through a link), passes its arguments
# on, makes the player's folder with the sheet, gives a new player the default
# settings file and never replaces a player's own.
# usage: run_launcher.sh <build folder> <source folder> <version>
set -uo pipefail
build=$1
source=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: install"; exit 1; }
launcher=$work/stage/usr/games/wolby
seed=$work/stage/usr/share/wolby/setting.dat
[ -x "$launcher" ] || { echo "FAIL: no launcher at usr/games/wolby"; exit 1; }
[ "$(od -An -tx1 "$seed" | tr -d ' \n')" = 90e140000102060002000000 ] ||
  fail "the installed default settings hold $(od -An -tx1 "$seed")"

# run <environment...> -- <arguments...>: status in $status, output in out/err.
run() {
  local environment=()
  while [ "$1" != -- ]; do environment+=("$1"); shift; done
  shift
  status=0
  env -i PATH=/usr/bin:/bin "${environment[@]}" timeout 10 "$launcher" "$@" \
    >"$work/out" 2>"$work/err" || status=$?
}

# 1. A new player: XDG_DATA_HOME's folder is made, the sheet and the defaults put in.
data=$work/data
run XDG_DATA_HOME="$data" HOME="$work/nohome" -- --version
[ "$status" = 0 ] || fail "--version through the launcher: status $status ($(cat "$work/err"))"
[ "$(head -n 1 "$work/out")" = "wolby $version" ] || fail "--version through the launcher printed: $(cat "$work/out")"
cmp -s "$data/wolby/setting.dat" "$seed" || fail "the new player's setting.dat is not the default file"
cmp -s "$data/wolby/zdj/15.bmp" "$source/zdj/15.bmp" || fail "the sheet was not put into the player's folder"
[ -e "$work/nohome" ] && fail "HOME was used although XDG_DATA_HOME was set"

# 2. Arguments go on unchanged: an unknown one ends with the program's status 2.
run XDG_DATA_HOME="$data" -- --window --no-such-option
[ "$status" = 2 ] || fail "an unknown option through the launcher: status $status"
grep -q "unknown option '--no-such-option'" "$work/err" || fail "the program did not get the arguments: $(cat "$work/err")"

# 3. A player's own settings (and an old sheet) stay theirs, and the sheet is refreshed.
printf '\x90\xe1\x40\x00\x03\x04\x07\x02\x01\x00\x00\x00' >"$data/wolby/setting.dat"
cp "$data/wolby/setting.dat" "$work/own"
printf 'old' >"$data/wolby/zdj/15.bmp"
run XDG_DATA_HOME="$data" -- --help
[ "$status" = 0 ] || fail "--help through the launcher: status $status"
cmp -s "$data/wolby/setting.dat" "$work/own" || fail "the player's own setting.dat was replaced"
cmp -s "$data/wolby/zdj/15.bmp" "$source/zdj/15.bmp" || fail "the sheet was not refreshed"

# 4. Without XDG_DATA_HOME the folder is ~/.local/share/wolby.
run HOME="$work/home" -- --version
[ "$status" = 0 ] || fail "with HOME only: status $status"
cmp -s "$work/home/.local/share/wolby/setting.dat" "$seed" || fail "no default settings under ~/.local/share/wolby"

# 5. A dangling link named setting.dat is not written through.
mkdir -p "$work/linked/wolby"
ln -s "$work/elsewhere.dat" "$work/linked/wolby/setting.dat"
run XDG_DATA_HOME="$work/linked" -- --version
[ -e "$work/elsewhere.dat" ] && fail "the launcher wrote through a link named setting.dat"

# 6. Started through a link from another folder (as from /usr/local/bin), and
#    after the whole tree was moved, it still finds the program.
mkdir -p "$work/bin"
ln -s "$launcher" "$work/bin/wolby"
status=0
env -i PATH=/usr/bin:/bin XDG_DATA_HOME="$data" timeout 10 "$work/bin/wolby" --version >"$work/out" 2>&1 || status=$?
[ "$status" = 0 ] && [ "$(head -n 1 "$work/out")" = "wolby $version" ] || fail "through a link: $(cat "$work/out")"
mv "$work/stage" "$work/moved"
status=0
env -i PATH=/usr/bin:/bin XDG_DATA_HOME="$data" timeout 10 "$work/moved/usr/games/wolby" --version >"$work/out" 2>&1 || status=$?
[ "$status" = 0 ] || fail "after moving the tree: status $status: $(cat "$work/out")"

[ "$failed" = 0 ] && echo "launcher: all checks passed"
exit "$failed"
