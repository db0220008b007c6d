#!/usr/bin/env bash
# Proof that the real-window, Wine and package tests wait for what they check
# instead of sleeping a fixed time: every core is kept busy by a spinning
# process, and each test runs N times in a row; prints a tally. The log of
# every run stays in the log folder (<test>-<run>.log, .FAILED.log). Two runs
# at once (window tests in one, Wine and package checks in the other, each
# with one spinner) share the cores. Not part of the test command (it takes
# long: the Wine and package checks make a fresh Wine prefix or Debian root
# every run).
# usage: scripts/busy-proof.sh [-n runs (20)] [-s spinners (one per core)]
#          [-b build folder (build/release)] [-w Windows build folder (build/win32)]
#          [-l log folder (<build folder>/busy-proof)] [test ...]
# A test is a CTest name of the build folder, or wine-smoke, wine-zip,
# wine-installer or check-deb. Without tests: every real-window test of the
# build folder (label window), wine-smoke, wine-zip, wine-installer and check-deb.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=20
spinners=$(nproc)
build=build/release
win32=build/win32
logs=""
while getopts n:s:b:w:l: option; do
  case $option in
    n) runs=$OPTARG ;;
    s) spinners=$OPTARG ;;
    b) build=$OPTARG ;;
    w) win32=$OPTARG ;;
    l) logs=$OPTARG ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ -f "$build/CTestTestfile.cmake" ] || { echo "busy-proof: $build is no configured build folder" >&2; exit 2; }
tests=("$@")
if [ ${#tests[@]} -eq 0 ]; then
  mapfile -t tests < <(ctest --test-dir "$build" -N -L window | sed -nE 's/^ *Test +#[0-9]+: +([^ ]+).*/\1/p')
  tests+=(wine-smoke wine-zip wine-installer check-deb)
fi
logs=${logs:-$build/busy-proof}
rm -rf "$logs"
mkdir -p "$logs"

spinning=()
stop_spinning() {
  local pid
  for pid in "${spinning[@]}"; do kill "$pid" 2>/dev/null; done
  wait "${spinning[@]}" 2>/dev/null
}
trap stop_spinning EXIT
for _ in $(seq 1 "$spinners"); do
  sh -c 'while :; do :; done' &
  spinning+=($!)
done
echo "busy-proof: $spinners spinning processes on $(nproc) cores; $runs runs of each: ${tests[*]}"

# run_once <test> <log>: one run, its status.
run_once() {
  case $1 in
    wine-smoke | wine-zip | wine-installer) "scripts/$1.sh" "$win32" ;;
    check-deb) scripts/check-deb.sh "$build" ;;
    *) ctest --test-dir "$build" -R "^$1\$" -V ;;
  esac >"$2" 2>&1
}

tally=()
for test in "${tests[@]}"; do
  passed=0
  times=()
  for run in $(seq 1 "$runs"); do
    log=$logs/$test-$run.log
    start=$(date +%s%N)
    if run_once "$test" "$log"; then
      passed=$((passed + 1))
      verdict=ok
    else
      mv "$log" "${log%.log}.FAILED.log"
      verdict="FAIL (log: ${log%.log}.FAILED.log)"
    fi
    elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
    times+=("$elapsed")
    printf '  %-20s run %2d: %s, %d.%01d s\n' "$test" "$run" "$verdict" $((elapsed / 1000)) $((elapsed % 1000 / 100))
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
  tally+=("$(printf '%-20s %2d of %2d passed, median %d.%01d s' "$test" "$passed" "$runs" \
    $((median / 1000)) $((median % 1000 / 100)))")
done

echo "busy-proof: the tally ($spinners spinning processes, $(nproc) cores)"
printf '  %s\n' "${tally[@]}"
[ -z "$(find "$logs" -name '*.FAILED.log')" ]
