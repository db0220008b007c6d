#!/usr/bin/env bash
# The Windows installer as a player meets it: made from the Windows build
# (cpack -G NSIS), run silently in a fresh Wine prefix on a private 800 x 600
# X server. The files, the Start menu shortcut (its target and working folder
# read from the .lnk), the uninstall entry; the game started as the shortcut
# starts it opens on the menu and its exit item saves there; an update keeps
# the player's setting.dat; the silent uninstall leaves only that file; a
# folder given with /D= (a space in its name) plays too, and while the game
# runs there neither the installer nor the uninstaller touches it.
# usage: scripts/wine-installer.sh [build folder, default build/win32]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/win32}")
work=$build/wine-installer
checker=wine-installer
. scripts/checks.sh

scripts/install-deps.sh wine

# ---------------------------------------------------------------- build and pack
cmake -S "$root" -B "$build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
need "the Windows build" cmake --build "$build" -j"$(nproc)"
rm -rf "$work"
mkdir -p "$work"
need "cpack -G NSIS" bash -c "cd '$build' && cpack -G NSIS -B '$work/package' >'$work/cpack.log' 2>&1"
config_value() { sed -nE "s/^set\($1 \"([^\"]*)\"\)/\1/p" "$build/CPackConfig.cmake"; }
version=$(config_value CPACK_PACKAGE_VERSION)
setup=$work/package/wolby-$version-win64-setup.exe
need "wolby-$version-win64-setup.exe made" test -s "$setup"
note "$(basename "$setup"): $(stat -c %s "$setup") bytes"
# The settings file the game's own settings code writes as the default.
default_settings=$build/packaging/default/setting.dat
need "the default setting.dat built" test -s "$default_settings"

. scripts/wine-session.sh

# ---------------------------------------------------------------- helpers
unix_path() { winepath -u "$1" 2>/dev/null; }
{ read -r local_app_data; read -r app_data; } < <(wine cmd /c 'echo %LOCALAPPDATA%&echo %APPDATA%' | tr -d '\r')
folder_win="$local_app_data\\Programs\\Wolby"
folder=$(unix_path "$folder_win")
lnk=$(unix_path "$app_data\\Microsoft\\Windows\\Start Menu\\Programs\\Wolby.lnk")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wolby'

# run <command...>: a Windows program, waited for; its exit status in `status`.
run() {
  status=0
  wine "$@" >>"$work/wine.log" 2>&1 || status=$?
}
# The files of a folder, one a line, sorted.
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
only_settings_left() { [ "$(ls -A "$1" 2>/dev/null)" = setting.dat ]; }

# shortcut_fields <.lnk>: sets `target` (the local path of its link info) and
# `workdir` (its working-folder string), as the file's bytes hold them.
shortcut_fields() {
  local -a b units=()
  read -r -a b <<<"$(od -An -v -tu1 "$1" | tr '\n' ' ')"
  local flags=$((b[20] | b[21] << 8)) pos=76 bit n i end escapes
  target="" workdir=""
  ((flags & 0x80)) || return 1  # strings in UTF-16, as Windows writes them
  ((flags & 0x01)) && pos=$((pos + 2 + (b[76] | b[77] << 8)))  # the item ID list
  if ((flags & 0x02)); then  # the link info, its local path an ANSI string
    i=$((pos + (b[pos + 16] | b[pos + 17] << 8)))
    for ((end = i; b[end]; end++)); do :; done
    ((end > i)) && printf -v escapes '\\x%02x' "${b[@]:i:end-i}" && printf -v target %b "$escapes"
    pos=$((pos + (b[pos] | b[pos + 1] << 8 | b[pos + 2] << 16)))
  fi
  # Name, relative path, working folder, arguments, icon: each present one a
  # count of characters and the characters.
  for bit in 4 8 16 32 64; do
    ((flags & bit)) || continue
    n=$((b[pos] | b[pos + 1] << 8))
    if ((bit == 16 && n > 0)); then
      for ((i = pos + 2; i < pos + 2 + 2 * n; i += 2)); do units+=($((b[i] | b[i + 1] << 8))); done
      printf -v escapes '\\u%04x' "${units[@]}" && printf -v workdir %b "$escapes"
    fi
    pos=$((pos + 2 + 2 * n))
  done
}
# The uninstall entry as `wine reg query` lists it; reg_value <name>: one value.
read_entry() {
  local listing
  entry=""
  listing=$(wine reg query "$key" 2>/dev/null) && entry=$(tr -d '\r' <<<"$listing")
}
reg_value() { sed -nE "s/^ +$1 +REG_[A-Z]+ +//p" <<<"$entry"; }

# play_from_shortcut: the game started as the shortcut starts it, in its working folder.
play_from_shortcut() { start_game "$(unix_path "$workdir")" "$target"; }
on_menu() { menu_shown && dialog_gone; }

# ---------------------------------------------------------------- 1. a silent install
run "$setup" /S
check "setup.exe /S in a fresh prefix: status 0 (got $status)" test "$status" = 0
expected_files=$(printf '%s\n' LICENSE.txt README.txt setting.dat uninstall.exe wolby.exe zdj/15.bmp)
check "the files in %LOCALAPPDATA%\\Programs\\Wolby" test "$(files_in "$folder")" = "$expected_files"
check "zdj\\15.bmp: the game's sheet" cmp -s "$folder/zdj/15.bmp" "$root/zdj/15.bmp"
check "setting.dat: the default settings" cmp -s "$folder/setting.dat" "$default_settings"

if shortcut_fields "$lnk"; then
  check "the Start menu shortcut starts $target" test "$target" = "$folder_win\\wolby.exe"
  check "the shortcut's working folder: $workdir" test "$workdir" = "$folder_win"
else
  fail "the Start menu shortcut Wolby.lnk, with Unicode strings"
fi

read_entry
reg_is() { [ "$(reg_value "$1")" = "$2" ]; }
check "uninstall entry: DisplayName Wolby" reg_is DisplayName Wolby
check "uninstall entry: DisplayVersion $version" reg_is DisplayVersion "$version"
check "uninstall entry: Publisher" reg_is Publisher "$(config_value CPACK_PACKAGE_VENDOR)"
check "uninstall entry: DisplayIcon the game" reg_is DisplayIcon "$folder_win\\wolby.exe"
check "uninstall entry: UninstallString" reg_is UninstallString "\"$folder_win\\uninstall.exe\""
check "uninstall entry: QuietUninstallString runs in place" \
  reg_is QuietUninstallString "\"$folder_win\\uninstall.exe\" /S _?=$folder_win"
no_modify_or_repair() { reg_is NoModify 0x1 && reg_is NoRepair 0x1; }
check "uninstall entry: NoModify, NoRepair" no_modify_or_repair
# In KB, as the folder's files add up, give or take each file's rounding.
size_kb_near() {
  local said files_kb
  said=$(( $(reg_value EstimatedSize) ))
  files_kb=$(find "$folder" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
  note "EstimatedSize $said KB, the files $files_kb KB"
  [ $((said - files_kb)) -le 6 ] && [ $((files_kb - said)) -le 6 ]
}
check "uninstall entry: EstimatedSize the folder's size" size_kb_near

# ---------------------------------------------------------------- 2. the game from the shortcut
# The first start opens on the menu; an option changed (the move's seconds, one
# step up) is not saved by ESC but by the exit item.
play_from_shortcut
if wait_for 30 "the menu from the shortcut" on_menu; then
  pass "started from the shortcut's folder: the menu, no question"
  shot menu
  xdotool mousemove 300 250 click 1
  if wait_for 10 "the options" not_black 25 300; then
    xdotool mousemove 510 270 click 1
    xdotool key Escape
    wait_for 10 "the menu after ESC" black 25 300
  fi
  exit_item
  check "the exit item: status 1 (got $status)" test "$status" = 1
  changed_bytes=$(cmp -l "$folder/setting.dat" "$default_settings" 2>/dev/null | wc -l)
  check "the exit item saved the changed option in setting.dat there ($changed_bytes byte changed)" \
    test "$(stat -c %s "$folder/setting.dat")" = 12 -a "$changed_bytes" = 1
fi
cp "$folder/setting.dat" "$work/player-setting.dat"

# ---------------------------------------------------------------- 3. an update over it
run "$setup" /S
check "a second install: status 0 (got $status)" test "$status" = 0
check "the second install kept the player's setting.dat byte for byte" \
  cmp -s "$folder/setting.dat" "$work/player-setting.dat"
check "the second install: the same files" test "$(files_in "$folder")" = "$expected_files"

# ---------------------------------------------------------------- 4. the silent uninstall
# As the entry says. Run in place the uninstaller ends first; a copy of it
# then removes it from the folder.
quiet=$(reg_value QuietUninstallString)
run "$(sed -E 's/^"([^"]*)".*/\1/' <<<"$quiet")" /S "_?=${quiet##*"_?="}"
check "the silent uninstall: status 0 (got $status)" test "$status" = 0
check "the silent uninstall leaves only setting.dat" wait_for 15 "only setting.dat left" only_settings_left "$folder"
check "  ... the player's, byte for byte" cmp -s "$folder/setting.dat" "$work/player-setting.dat"
check "  ... and no shortcut" test ! -e "$lnk"
read_entry
check "  ... and no uninstall entry" test -z "$entry"

# ---------------------------------------------------------------- 5. another folder
# /D= comes last and is not quoted: the rest of the command line is the
# folder. Wine quotes an argument with a space, so the words go one by one.
other_win='C:\Gry i zabawy\Wolby'
other=$(unix_path "$other_win")
read -r -a other_option <<<"/D=$other_win"
read -r -a other_in_place <<<"_?=$other_win"
run "$setup" /S "${other_option[@]}"
check "setup.exe /S /D=$other_win: status 0 (got $status)" test "$status" = 0
check "  ... the files there" test "$(files_in "$other")" = "$expected_files"
if shortcut_fields "$lnk"; then
  check "  ... the shortcut starts the game there" test "$target|$workdir" = "$other_win\\wolby.exe|$other_win"
else
  fail "  ... the shortcut made again"
fi
play_from_shortcut
if wait_for 30 "the menu in $other_win" on_menu; then
  pass "the game there: the menu"
  xdotool mousemove 300 200 click 1
  check "the game there plays: the board" wait_for 10 "the board" not_black 125 125
  shot other-folder-board

  # ------------------------------------------------------------ 6. while the game runs
  cp "$other/wolby.exe" "$work/running.exe"
  run "$setup" /S "${other_option[@]}"
  check "setup.exe /S while the game runs: status 2 (got $status)" test "$status" = 2
  run "$other_win\\uninstall.exe" /S "${other_in_place[@]}"
  check "the silent uninstall while the game runs: status 2 (got $status)" test "$status" = 2
  files_kept() { [ "$(files_in "$other")" = "$expected_files" ] && cmp -s "$other/wolby.exe" "$work/running.exe"; }
  check "  ... the game's files as they were" files_kept
  check "  ... the game still running" test -n "$(game_window)"

  xdotool key Escape
  wait_for 10 "the menu after the match" black 125 125
  exit_item
  check "the game there: the exit item, status 1 (got $status)" test "$status" = 1
fi
# With no setting.dat left the folder goes too.
rm -f "$other/setting.dat"
run "$other_win\\uninstall.exe" /S "${other_in_place[@]}"
folder_gone() { [ ! -e "$other" ]; }
check "uninstalled with no settings left: status 0 (got $status)" test "$status" = 0
check "  ... and the folder removed" wait_for 15 "the folder removed" folder_gone

summary
[ "$failed" -eq 0 ]
