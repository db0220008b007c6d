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

# The host build's programs that cross_pictures_same runs.
cross_host_targets="wolby_scenes wolby_scenes_compare"

# cross_pictures_same <Windows build> <host build> <work folder>: the Windows
# scenes of tests/scenes/scenes.txt drawn by the Windows build under Wine and
# by the Linux build on the headless backend differ in no pixel outside their
# text cells. Prints the table; the pictures that differ go to
# <work>/differences.
cross_pictures_same() {
  local windows=$1 host=$2 work=$3 root scenes scene
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  scenes=$root/tests/scenes/scenes.txt
  rm -rf "$work"
  mkdir -p "$work/game/zdj" "$work/windows" "$work/linux" "$work/differences"
  cp "$root/zdj/15.bmp" "$work/game/zdj/"
  cp "$scenes" "$work/game/"
  for scene in $(sed -n 's/^scene \([^ ]*\) windows$/\1/p' "$scenes"); do
    if ! (cd "$work/game" && timeout 120 wine "$windows/scenes/wolby_scenes.exe" scenes.txt "$scene" ../windows) \
      >>"$work/windows.log" 2>&1; then
      echo "the Windows build's scene $scene: see $work/windows.log"
      tail -n 5 "$work/windows.log"
      return 1
    fi
  done
  if ! timeout 60 "$host/scenes/wolby_scenes" "$scenes" "$root/zdj/15.bmp" "$work/linux" windows \
    >"$work/linux.log" 2>&1; then
    echo "the Linux build's scenes: see $work/linux.log"
    tail -n 5 "$work/linux.log"
    return 1
  fi
  "$host/scenes/wolby_scenes_compare" "$scenes" "$work/windows" "$work/linux" "$work/differences"
}
