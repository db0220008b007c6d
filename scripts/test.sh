#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test, with warnings as
# errors in every build:
# - the Release build with GCC (the build packagers use): unit, scenario,
#   fault, soak, valgrind and real-window tests, benchmarks built;
# - a Debug build with Clang 14 and AddressSanitizer + UndefinedBehaviorSanitizer,
#   every test run but the sessions on the other window managers;
# - the fuzz targets for a short while (scripts/fuzz.sh <seconds> runs them longer);
# - the Windows build played under Wine;
# - the Debian package from the Release build: listed, lintian, validated,
#   installed, started from its menu entry, removed;
# - the Windows zip unpacked and started under Wine;
# - the Windows installer run silently under Wine: installed, played from its
#   shortcut, updated, uninstalled;
# - the browser build (emscripten), played in Debian's chromium.
# Prints what each part took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

parts=()
# part <name> <command...>: runs it and notes its time; a failure ends the run.
part() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  parts+=("$(printf '%-48s %4d s' "$name" $((SECONDS - start)))")
}
report() {
  echo "== Time per part"
  printf '  %s\n' "${parts[@]}"
  echo "  total: $((SECONDS / 60)) min $((SECONDS % 60)) s"
}
trap report EXIT

build() {  # build <preset>: its folder is build/<preset> (CMakePresets.json)
  ( source scripts/generator.sh
    cmake --preset "$1" -DWOLBY_WERROR=ON >/dev/null
    cmake --build --preset "$1" -j"$jobs" )
}

part "Release build (GCC)" build release
part "Release tests" ctest --test-dir build/release --output-on-failure -j"$jobs"

# One build for the other compiler, the Debug configuration and the sanitizers.
part "Debug build (Clang 14, sanitizers)" build clang-asan
# Every test but the runs on the other window managers (label desktops), which
# check what each manager makes of the window, not the program's memory.
part "Debug tests (Clang 14, sanitizers)" env ASAN_OPTIONS=detect_leaks=1 \
  ctest --test-dir build/clang-asan --output-on-failure -j"$jobs" -LE desktops

# Fuzz targets under libFuzzer + ASan + UBSan from their seeds, 10 s each; fails
# on any finding. Longer runs: scripts/fuzz.sh 600.
part "Fuzzing" scripts/fuzz.sh 10

# The Windows build: cross-compiled, then played under Wine.
part "Windows build under Wine" scripts/wine-smoke.sh build/win32

# The packages a player installs.
part "Debian package" scripts/check-deb.sh build/release
part "Windows zip under Wine" scripts/wine-zip.sh build/win32
part "Windows installer under Wine" scripts/wine-installer.sh build/win32

# The browser game: built with emscripten (the Release build's tools draw its
# text lines), then played in chromium against the Linux build's pictures.
part "Browser build (emscripten)" env WOLBY_WERROR=ON scripts/web.sh --host-build build/release
part "Browser checks (chromium)" scripts/web-check.sh build/release
