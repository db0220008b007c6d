#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: the normal build
# and the AddressSanitizer + UndefinedBehaviorSanitizer build (unit, scenario,
# fault, soak, valgrind and real-window tests), the fuzz targets for a bounded
# time, and the Windows build played under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$jobs"
ctest --test-dir build/release --output-on-failure -j"$jobs"

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DWOLBY_SANITIZE=ON -DWOLBY_BENCHMARKS=OFF >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j"$jobs"

# Fuzz targets under libFuzzer + ASan + UBSan from their seeds, 40 s each; fails on any finding.
scripts/fuzz.sh 40

# The Windows build: cross-compiled, then played under Wine.
scripts/wine-smoke.sh build/win32
