#!/usr/bin/env bash
# Builds every build type (Debug, Release, RelWithDebInfo, MinSizeRel) with
# GCC and with Clang 14, tests and benchmarks included, warnings as errors,
# into build/matrix/<compiler>-<type>; prints each cell's result and time.
# Not part of the test command (it takes about ten minutes on two cores); run
# it after changing compiler flags or before a release.
# usage: scripts/build-matrix.sh [compiler...] (default: g++ clang++-14)
set -uo pipefail
cd "$(dirname "$0")/.."
compilers=("$@")
[ ${#compilers[@]} -eq 0 ] && compilers=(g++ clang++-14)
mkdir -p build/matrix
failed=0
for compiler in "${compilers[@]}"; do
  for type in Debug Release RelWithDebInfo MinSizeRel; do
    folder=build/matrix/$compiler-$type
    start=$SECONDS
    if cmake -S . -B "$folder" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE="$type" \
         -DWOLBY_WERROR=ON >"$folder.log" 2>&1 &&
       cmake --build "$folder" -j"$(nproc)" >>"$folder.log" 2>&1; then
      result=ok
    else
      result=FAILED
      failed=1
    fi
    printf '%-12s %-15s %-6s %4d s  (%d warnings in %s)\n' "$compiler" "$type" "$result" \
      $((SECONDS - start)) "$(grep -c 'warning:' "$folder.log")" "$folder.log"
  done
done
exit "$failed"
