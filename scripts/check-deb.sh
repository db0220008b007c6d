#!/usr/bin/env bash
# The Debian package as a packager and a player meet it: packs it from a build
# folder (cpack -G DEB), lists it, checks its fields, its program's libraries
# and the desktop files (lintian, desktop-file-validate, appstreamcli), then
# installs it with apt into a clean Debian 12 root (mmdebstrap, from the
# Debian mirror), starts the menu entry's Exec line there as a new player on
# an Xvfb display, sees the menu (no question), leaves through the exit item,
# and removes the package again: nothing of it may be left but the player's
# own settings.
# usage: scripts/check-deb.sh [build folder, default build/release]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/release}")
work=$build/deb-check
checker=check-deb
. scripts/checks.sh
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

# A run ended by SIGKILL leaves its mounts (the X server's socket folder among
# them): they go first, and the removal never follows one into the machine.
while read -r point; do
  "${sudo[@]}" umount "$point" 2>/dev/null || "${sudo[@]}" umount -l "$point"
done < <(awk -v work="$work/" 'index($2, work) == 1 { print $2 }' /proc/mounts | sort -r)
"${sudo[@]}" rm -rf --one-file-system "$work"
[ ! -e "$work" ] || { echo "check-deb: cannot clear $work (still mounted?)" >&2; exit 1; }
mkdir -p "$work/shots"
version=$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "([^"]*)"\)/\1/p' "$build/CPackConfig.cmake")
need "the build folder is configured (version ${version:-unknown})" test -n "$version"

# ---------------------------------------------------------------- the package
need "cpack -G DEB" bash -c "cd '$build' && cpack -G DEB -B '$work' >'$work/cpack.log' 2>&1"
deb=$(ls "$work"/wolby_*.deb 2>/dev/null | head -n 1)
need "wolby_${version}_$(dpkg --print-architecture).deb made" test "$(basename "$deb")" = \
  "wolby_${version}_$(dpkg --print-architecture).deb"
note "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb --info "$deb" | sed 's/^/  /'
dpkg-deb --contents "$deb" >"$work/contents.txt"
echo "  contents (size in bytes, path):"
awk '{ size = $3; path = $6; for (i = 7; i <= NF; i++) path = path " " $i; printf "  %9s  %s\n", size, path }' \
  "$work/contents.txt"
files=$(awk '$1 !~ /^d/ { print substr($6, 2) }' "$work/contents.txt")
has() { grep -qxF "$1" <<<"$files"; }
for path in /usr/games/wolby /usr/libexec/wolby/wolby /usr/share/wolby/zdj/15.bmp /usr/share/wolby/setting.dat \
  /usr/share/applications/wolby.desktop /usr/share/metainfo/io.github.wolby_game.wolby.metainfo.xml \
  /usr/share/icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/wolby.png /usr/share/man/man6/wolby.6.gz \
  /usr/share/doc/wolby/copyright /usr/share/doc/wolby/changelog.gz; do
  check "holds $path" has "$path"
done
# No test program, benchmark or build file slipped in.
check "holds nothing unexpected" bash -c "! grep -vE '^/usr/(games/wolby|libexec/wolby/wolby|share/(wolby/|applications/wolby.desktop|metainfo/|icons/hicolor/|pixmaps/wolby.xpm|man/man6/wolby.6.gz|doc/wolby/))' <<<'$files'"

field() { dpkg-deb -f "$deb" "$1"; }
check "Version is the project's $version" test "$(field Version)" = "$version"
depends=$(field Depends)
note "Depends: $depends"
depends_on() { sed -E 's/ \([^)]*\)//g; s/, /\n/g' <<<"$depends" | grep -qxF "$1"; }
for package in libsdl2-2.0-0 libsdl2-ttf-2.0-0 fonts-dejavu-core libc6 libstdc++6; do
  check "depends on $package" depends_on "$package"
done
only_runtime_depends() {
  local name
  for name in $(sed -E 's/\([^)]*\)//g; s/,/ /g' <<<"$depends"); do
    # libx11-6: the program sets its window's first state itself (full screen
    # before it is mapped); SDL2 needs the library anyway.
    case $name in libc6|libgcc-s1|libstdc++6|libsdl2-2.0-0|libsdl2-ttf-2.0-0|libx11-6|fonts-dejavu-core) ;; *) return 1 ;; esac
  done
}
check "depends on nothing else (no test or build packages)" only_runtime_depends

# The program as packed: stripped, and linking only run-time libraries.
mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
program=$work/unpacked/usr/libexec/wolby/wolby
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' | sort | tr '\n' ' ')
note "the program links: $needed"
only_runtime_libraries() {
  local lib
  for lib in $needed; do
    case $lib in libSDL2-2.0.so.0|libSDL2_ttf-2.0.so.0|libX11.so.6|libstdc++.so.6|libm.so.6|libgcc_s.so.1|libc.so.6) ;; *) return 1 ;; esac
  done
}
check "links only SDL2, SDL2_ttf, Xlib and the C/C++ runtimes" only_runtime_libraries
check "the program is stripped" bash -c "! readelf -S '$program' | grep -qE '\.symtab|\.debug_'"
note "the program: $(stat -c %s "$program") bytes stripped"
check "the program says version $version" \
  bash -c "[ \"\$('$program' --version | head -n 1)\" = 'wolby $version' ]"
check "the metainfo names release $version" grep -q "<release version=\"$version\"" \
  "$work/unpacked/usr/share/metainfo/io.github.wolby_game.wolby.metainfo.xml"
check "the man page is version $version" bash -c "zcat '$work/unpacked/usr/share/man/man6/wolby.6.gz' | grep -q 'wolby $version'"

# ---------------------------------------------------------------- validators
check "desktop-file-validate" desktop-file-validate "$work/unpacked/usr/share/applications/wolby.desktop"
check "appstreamcli validate --no-net" appstreamcli validate --no-net --pedantic --no-color \
  "$work/unpacked/usr/share/metainfo/io.github.wolby_game.wolby.metainfo.xml"
man_warnings() {
  local text
  text=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$work/unpacked/usr/share/man/man6/wolby.6.gz" 2>&1 >/dev/null)
  [ -z "$text" ] || { echo "$text"; return 1; }
}
check "the man page formats without warnings" man_warnings
# lintian: errors fail the check; warnings and the rest are shown.
lintian --info --display-info --pedantic "$deb" >"$work/lintian.txt" 2>&1
lintian_status=$?
note "lintian (exit status $lintian_status):"
grep -v '^N: ' "$work/lintian.txt" | sed 's/^/  /'
[ -s "$work/lintian.txt" ] || echo "  (nothing to say)"
check "lintian: no errors" bash -c "! grep -q '^E: ' '$work/lintian.txt' && [ $lintian_status -eq 0 ]"

# ---------------------------------------------------------------- install
# Into a clean Debian 12 root made by mmdebstrap (Essential and apt only), so
# that the package's Depends alone must bring what it needs; this machine,
# which has every build dependency and which others share, is not touched.
root_dir=$work/root
mounted=()
cleanup() {
  local point
  stop_background
  for point in "${mounted[@]}"; do
    "${sudo[@]}" umount "$point" || echo "check-deb: $point is still mounted" >&2
  done
  # Never past a mount point that is still there.
  if [ -d "$root_dir" ] && ! grep -q " $root_dir/" /proc/mounts; then
    "${sudo[@]}" rm -rf --one-file-system "$root_dir"
  fi
}
trap cleanup EXIT
in_root() { "${sudo[@]}" chroot "$root_dir" "$@"; }
need "mmdebstrap: a clean bookworm root with ./$(basename "$deb") installed by apt" \
  "${sudo[@]}" mmdebstrap --variant=apt --mode=root --quiet \
    --hook-dir=/usr/share/mmdebstrap/hooks/file-mirror-automount \
    --include="$deb" bookworm "$root_dir" >"$work/mmdebstrap.log" 2>&1
note "the clean root holds $(in_root dpkg-query -W -f='${Package}\n' | wc -l) packages"
status_in_root() { in_root dpkg-query -W -f='${Status}' wolby 2>/dev/null; }
check "wolby is installed in the clean root" test "$(status_in_root)" = "install ok installed"
# A player's PATH on Debian (/etc/profile) holds /usr/games.
player_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
check "wolby is on a player's PATH as /usr/games/wolby" \
  test "$(in_root env -i PATH=$player_path sh -c 'command -v wolby')" = /usr/games/wolby
check "the font is where the program looks for it" test -f "$root_dir/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
exec_line=$(sed -n 's/^Exec=//p' "$root_dir/usr/share/applications/wolby.desktop")
note "the menu entry's Exec line: $exec_line"

need "Xvfb at 800x600x24" start_x 800x600
# The X server's socket and /proc inside the root.
"${sudo[@]}" mkdir -p "$root_dir/tmp/.X11-unix"
"${sudo[@]}" mount --bind /tmp/.X11-unix "$root_dir/tmp/.X11-unix" && mounted+=("$root_dir/tmp/.X11-unix")
"${sudo[@]}" mount -t proc proc "$root_dir/proc" && mounted+=("$root_dir/proc")

# A new player: an empty home, no XDG_DATA_HOME.
in_root mkdir -p /home/player
(exec "${sudo[@]}" chroot "$root_dir" env -i PATH="$player_path" HOME=/home/player DISPLAY="$DISPLAY" \
  sh -c "cd && exec $exec_line") >"$work/game.log" 2>&1 &
pid=$!

if wait_for 20 "the menu" not_black 400 100; then
  pass "the Exec line starts the game to its menu"
  check "no settings question on a first start" dialog_gone
  # The menu picture as the sheet holds it, at its place (240, 50); the
  # screen's 16 bits per pixel round each channel by a few steps. The pointer
  # goes off the items, so that no marker covers part of the picture, and the
  # screen is looked at until the marker has gone (10 s at most).
  convert "$root/zdj/15.bmp" -crop 320x340+0+0 +repage "$work/shots/sheet-menu-picture.png"
  menu_picture_shown() {
    shot menu
    convert "$work/shots/menu.png" -crop 320x340+240+50 +repage "$work/shots/menu-picture.png"
    differing=$(compare -fuzz 5% -metric AE "$work/shots/menu-picture.png" \
      "$work/shots/sheet-menu-picture.png" null: 2>&1)
    [ "${differing%%.*}" -lt 20 ] 2>/dev/null
  }
  xdotool mousemove 20 580
  wait_for 10 "the menu picture" menu_picture_shown
  check "the screen shows the menu picture (${differing} of 108800 pixels differ)" \
    test "${differing%%.*}" -lt 20 2>/dev/null
  xdotool mousemove 300 345 click 1  # the exit item
  ended_within 15
  check "the exit item ends it with status 1 (got $status)" test "$status" = 1
else
  dialog_shown && note "the settings question was shown instead"
  note "the game's log: $(tr '\n' ' ' <"$work/game.log")"
fi
settings=$root_dir/home/player/.local/share/wolby/setting.dat
check "the player's setting.dat holds the defaults" test "$(hex_of "$settings")" = "$default_settings_hex"
check "the player's zdj/15.bmp is a link to the installed sheet, no copy" \
  test "$(readlink "$root_dir/home/player/.local/share/wolby/zdj/15.bmp")" = /usr/share/wolby/zdj/15.bmp

# ---------------------------------------------------------------- remove
need "apt remove wolby" in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q wolby \
  >"$work/apt-remove.log" 2>&1
left=$(for path in $files; do [ -e "$root_dir/$path" ] || [ -L "$root_dir/$path" ] && echo "/$path"; done
       for dir in /usr/share/wolby /usr/libexec/wolby /usr/share/doc/wolby; do [ -e "$root_dir$dir" ] && echo "$dir"; done)
check "nothing of the package is left${left:+: $left}" test -z "$left"
check "dpkg holds no record of it (no conffiles): '$(status_in_root)'" \
  bash -c "! grep -qE 'ok (installed|config-files)$' <<<'$(status_in_root)'"
check "the player's own settings stay" test -f "$settings"

summary
[ "$failed" -eq 0 ]
