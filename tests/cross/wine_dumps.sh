#!/usr/bin/env bash
# Writes tests/cross/gdi_shapes.txt and tests/cross/blt_stretch.txt anew: what
# GDI's Ellipse and Rectangle paint and which pixels DirectDraw's stretching
# Blt takes, as the dump tools of this folder read them back under Wine. It
# cross-builds the tools, then runs them in a fresh Wine prefix (with the
# Direct3D renderer "gdi", as the game is tested) on a private X server.
# scripts/wine-smoke.sh checks the files against Wine at every run; the
# platform tests hold the Linux build's drawing to them.
# usage: tests/cross/wine_dumps.sh [Windows build folder, default build/win32]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$(realpath -m "${1:-build/win32}")
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -d "$work/prefix" ]; then
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$work/prefix wineserver -w 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cmake -S "$root" -B "$build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target gdi_shapes_dump blt_stretch_dump -j"$(nproc)"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
deadline=$((SECONDS + 10))
until [ -s "$work/display" ]; do
  [ $SECONDS -lt $deadline ] || { echo "wine_dumps: no X server within 10 s" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")" WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
timeout 180 wineboot -i >"$work/wine.log" 2>&1
wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >>"$work/wine.log" 2>&1
(cd "$work" && timeout 120 wine "$build/cross/gdi_shapes_dump.exe" gdi_shapes.txt &&
  timeout 120 wine "$build/cross/blt_stretch_dump.exe" blt_stretch.txt)
cp "$work/gdi_shapes.txt" "$work/blt_stretch.txt" "$root/tests/cross/"
echo "wine_dumps: wrote tests/cross/gdi_shapes.txt and tests/cross/blt_stretch.txt"
