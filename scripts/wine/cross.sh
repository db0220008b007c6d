# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: the cross-build checks of tests/cross, on the
# bare 800 x 600 screen again. Wine's GDI and DirectDraw still paint what the
# platform tests were given, and the Linux build (headless, from the host
# build folder) draws the menu, the options and a match exactly as this build
# does outside the text cells. The Linux build's harness comes from the host
# build, configured as the test command does when it is not there yet.
. "$root/tests/cross/cross_check.sh"
host_harness() {
  if [ ! -f "$host_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release -DWOLBY_WERROR=ON >/dev/null || return 1
  fi
  cmake --build "$host_build" --target $cross_host_targets -j"$(nproc)" \
    >"$work/host-build.log" 2>&1 || { tail -n 20 "$work/host-build.log"; return 1; }
}
check "GDI paints every shape as tests/cross/gdi_shapes.txt holds" \
  cross_dump_same "$build/cross/gdi_shapes_dump.exe" "$root/tests/cross/gdi_shapes.txt" "$work/cross/dumps"
check "DirectDraw stretches as tests/cross/blt_stretch.txt holds" \
  cross_dump_same "$build/cross/blt_stretch_dump.exe" "$root/tests/cross/blt_stretch.txt" "$work/cross/dumps"
if host_harness; then
  pass "the Linux build's headless harness builds ($host_build)"
  check "the Linux build draws every screen as this one, text cells aside (table above)" \
    cross_pictures_same "$build" "$host_build" "$work/cross/screens"
else
  fail "the Linux build's headless harness builds ($host_build)"
fi
