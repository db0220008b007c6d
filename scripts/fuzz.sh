#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, and runs each from its committed
# seeds for a bounded time. Any crash, sanitizer report, broken expectation
# or hang fails the script. Prints each target's executions per second and
# the coverage it reached (libFuzzer's cov: edges and ft: features).
# usage: scripts/fuzz.sh [seconds per target]   (default 40: two minutes in all)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${WOLBY_FUZZ_SECONDS:-40}}
compiler=${WOLBY_FUZZ_CXX:-clang++-14}
build=build/fuzz
targets=(settings execute bitmap)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$(command -v "$compiler")" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DWOLBY_FUZZ=ON -DWOLBY_SDL=OFF -DWOLBY_BENCHMARKS=OFF -DWOLBY_WERROR=ON >/dev/null
if ! cmake --build "$build" -j2 --target "${targets[@]/#/wolby_fuzz_}" >"$build/build.log" 2>&1; then
  grep -E "error|warning" -A4 "$build/build.log" || tail -n 40 "$build/build.log"
  exit 1
fi

status=0
summary=()
for name in "${targets[@]}"; do
  work="$PWD/$build/run/$name"  # absolute: the targets change their working directory
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
  log="$work/fuzz.log"
  # New inputs go to the working corpus; the committed seeds are only read.
  if ASAN_OPTIONS=detect_leaks=1 "$build/tests/fuzz/wolby_fuzz_$name" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" "$work/corpus" "$PWD/tests/fuzz/corpus/$name" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
    ls "$work/artifacts"
  fi
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
  [[ -z $done_line ]] && done_line=$(grep -E '^#[0-9]+[[:space:]]' "$log" | tail -n 1 || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$done_line")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$done_line")
  corp=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$done_line")
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log")
  rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+)/\1/p' "$log")
  summary+=("$(printf '%-9s %-6s %9s runs %7s exec/s  cov: %-5s ft: %-6s corpus: %s' \
    "$name" "$result" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}")")
done
echo "fuzzing, ${seconds} s per target:"
printf '  %s\n' "${summary[@]}"
exit "$status"
