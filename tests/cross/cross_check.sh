# The cross-build checks under Wine, sourced by scripts/wine-smoke.sh, which
# has made the Wine prefix (Direct3D renderer "gdi") and the 800 x 600 X
# server (WINEPREFIX and DISPLAY) and built both trees.

# cross_dump_same <dump tool .exe> <committed data file> <work folder>: what
# the tool writes now (comment lines aside) is the committed file.
cross_dump_same() {
  local tool=$1 data=$2 work=$3 name
  name=$(basename "$data")
  mkdir -p "$work"
  if ! (cd "$work" && timeout 120 wine "$tool" "$name") >"$work/$name.log" 2>&1; then
    tail -n 5 "$work/$name.log"
    return 1
  fi
  if ! diff <(grep -v '^#' "$data") <(grep -v '^#' "$work/$name") >"$work/$name.diff"; then
    echo "Wine no longer paints what $data holds (tests/cross/wine_dumps.sh writes it anew):"
    head -n 6 "$work/$name.diff"
    return 1
  fi
}

# cross_pictures_same <Windows build> <host build> <work folder>: the states of
# tests/cross/scenes.h drawn by the Windows build under Wine and by the Linux
# build on the headless backend differ in no pixel outside their text cells.
# Prints the table; the pictures of a screen that differs go to
# <work>/differences.
cross_pictures_same() {
  local windows=$1 host=$2 work=$3 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  rm -rf "$work"
  mkdir -p "$work/game/zdj" "$work/windows" "$work/linux" "$work/differences"
  cp "$root/zdj/15.bmp" "$work/game/zdj/"
  if ! (cd "$work/game" && timeout 120 wine "$windows/cross/wolby_cross_scenes.exe" ../windows) \
    >"$work/windows.log" 2>&1; then
    echo "the Windows build's screens: see $work/windows.log"
    tail -n 5 "$work/windows.log"
    return 1
  fi
  if ! (cd "$work/game" && timeout 60 "$host/cross/wolby_cross_scenes_headless" ../linux) \
    >"$work/linux.log" 2>&1; then
    echo "the Linux build's screens: see $work/linux.log"
    tail -n 5 "$work/linux.log"
    return 1
  fi
  "$host/cross/wolby_cross_compare" "$work/windows" "$work/linux" "$work/differences"
}
