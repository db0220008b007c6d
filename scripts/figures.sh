#!/usr/bin/env bash
# Prints the figures a player feels, as medians: start-up to the menu (headless
# and in the SDL window under Xvfb), CPU while idle on the menu and during a
# match waiting for the person, peak resident memory in the window, one move's
# cost on the 8 x 8 board with the most discs to turn (the animation's pauses
# excluded), a pointer move to the marker presented, and the browser game's
# figures (tests/web/figures.mjs, its start's long tasks, and Lighthouse when
# installed) once it is built. Informative only: it
# never fails on a figure (nor when something needed is missing).
# usage: scripts/figures.sh [build folder]   (default build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${WOLBY_FIGURE_RUNS:-11}
idle=${WOLBY_IDLE_SECONDS:-10}
rounds=${WOLBY_SIDE_ROUNDS:-7}  # of the side-by-side; a busy machine wants more

if ! { cmake -S . -B "$build" >/dev/null &&
       cmake --build "$build" -j2 --target program_bench wolby_window_figures wolby_minimal_window >/dev/null; }; then
  echo "figures: could not build program_bench, wolby_window_figures and wolby_minimal_window in $build"
  exit 0
fi

echo "== Figures (medians) =="
echo "-- headless backend (virtual time), $runs repetitions"
"$build/bench/program/program_bench" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  --benchmark_filter='BM_StartupToMenu|BM_MoveWithMostDiscsToTurn|BM_ComputerMatch8x8' 2>/dev/null |
  awk '/_median/ { sub("_median", "", $1); printf "  %-28s %8s %-3s wall  %8s %-3s CPU\n", $1, $2, $3, $4, $5 }'

echo "-- SDL window under Xvfb (1024 x 768), the game itself"
if ! command -v xvfb-run >/dev/null; then
  echo "  skipped: no xvfb-run"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/zdj"
cp zdj/15.bmp "$work/zdj/"
# One person against the computer, no clock: the match waits for the person.
printf '\x90\xe1\x40\x00\x01\x02\x06\x00\x01\x00\x00\x00' >"$work/setting.dat"
program=$PWD/$build/bench/perf/wolby_window_figures
minimal=$PWD/$build/bench/perf/wolby_minimal_window
(
  cd "$work" &&
  # -noreset: a server that resets when a client leaves makes the next start
  # wait for it.
  xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
    for i in $(seq 1 '"$runs"'); do WOLBY_LAUNCH_NS=$(date +%s%N) "'"$program"'" startup; done
    "'"$program"'" all '"$idle"'
  ' >"$work/out.txt" 2>"$work/err.txt"
) || { echo "  the window runs failed:"; sed 's/^/    /' "$work/err.txt" | tail -n 5; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "?"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
value() { awk -v k="$1" '$1 == k { print $2 }' "$work/out.txt"; }
echo "  start-up to the menu shown, from main():      $(value startup_ms | median) ms (median of $(value startup_ms | wc -l) starts)"
echo "  start-up to the menu shown, from the launch:  $(value launch_to_menu_ms | median) ms"
echo "  CPU idle on the menu, ${idle} s:                $(value idle_menu_cpu_percent) %"
echo "  CPU in a match waiting for the person, ${idle} s: $(value idle_match_cpu_percent) %"
echo "  pointer move to the marker presented:       $(value pointer_to_marker_ms_median) ms median, $(value pointer_to_marker_ms_max) ms worst of $(value pointer_moves)"
echo "  peak resident memory, all of the above:     $(value peak_rss_mb | tail -n 1) MB"
echo "  pauses of a growing disc:                   $(value disc_pause_ms_median) ms median ($(value disc_pause_ms_min)-$(value disc_pause_ms_max) ms, $(value disc_pauses) pauses); one disc grows in $(value disc_grows_ms) ms"

# Start-up and memory beside the least SDL programs that show a picture over
# the monitor: one drawn at once (nothing asked of the window manager: the
# yardstick) and one asking for full screen through SDL (which waits for the
# window manager), on 800 x 600 in turn on a bare X server and under metacity
# and mutter, each with a panel; and a disc's pauses on a 4K screen.
side_by_side() {  # side_by_side <label> <desktop of tests/e2e/lib.sh>
  (
    cd "$work" && work=$work/$2 && mkdir -p "$work/shots" && . "$OLDPWD/tests/e2e/lib.sh" &&
    start_x 800x600 && start_desktop_of "$2" &&
    for _ in $(seq 1 "$rounds"); do
      "$minimal" at-once | sed 's/^/at_once_/'
      "$minimal" full-screen | sed 's/^/full_screen_/'
      "$program" startup | sed 's/^/game_/'
    done
  ) >"$work/side-$2.txt" 2>/dev/null || { echo "  $1: could not run"; return; }
  local g a f gm am side=$work/side-$2.txt
  of() { awk -v k="$1" '$1 == k { print $2 }' "$side" | median; }
  g=$(of game_startup_ms); a=$(of at_once_startup_ms); f=$(of full_screen_startup_ms)
  gm=$(of game_peak_rss_mb); am=$(of at_once_peak_rss_mb)
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/ && b > 0) printf "%.2f", a / b; else print "?" }'; }
  echo "  $1: start-up $g ms; drawn at once $a ms (ratio $(ratio "$g" "$a")), asking for full screen $f ms (ratio $(ratio "$g" "$f"))"
  echo "  $(printf '%*s' ${#1} '')  peak memory $gm MB; drawn at once $am MB (ratio $(ratio "$gm" "$am"))"
}
if command -v Xvfb >/dev/null; then
  echo "-- side by side with minimal SDL windows over the monitor, 800 x 600, medians of $rounds"
  side_by_side "bare X server   " bare
  command -v metacity >/dev/null && command -v tint2 >/dev/null && side_by_side "metacity + tint2" metacity
  command -v mutter >/dev/null && command -v tint2 >/dev/null && side_by_side "mutter + tint2  " mutter
  ( cd "$work" && xvfb-run -a -s "-screen 0 3840x2160x24" "$program" all 1 ) >"$work/4k.txt" 2>/dev/null &&
    echo "  3840 x 2160: disc pauses $(awk '$1 == "disc_pause_ms_median" { print $2 }' "$work/4k.txt") ms median ($(awk '$1 == "disc_pause_ms_min" { print $2 }' "$work/4k.txt")-$(awk '$1 == "disc_pause_ms_max" { print $2 }' "$work/4k.txt") ms); one disc grows in $(awk '$1 == "disc_grows_ms" { print $2 }' "$work/4k.txt") ms"
fi
# The browser game, once scripts/web.sh has built it.
if [ -f build/web/site/wolby.wasm ] && [ -d tests/web/node_modules ] && command -v chromium >/dev/null; then
  echo "-- the browser game in headless chromium, medians of 7"
  node tests/web/figures.mjs build/web/site 7 2>&1 | sed 's/^/  /' || echo "  could not run"
  echo "-- its start's long tasks on a 4x slower processor, served compressed"
  node tests/web/start_tasks.mjs build/web/site 3 2>&1 | tail -1 | sed 's/^/  /' || echo "  could not run"
  # Lighthouse once it is installed (cd tests/web/lighthouse && npm ci): a minute more.
  if [ -d tests/web/lighthouse/node_modules ]; then
    echo "-- Lighthouse 12.2.3, served compressed"
    tests/web/lighthouse.sh build/web/site 2>&1 | sed 's/^/  /' || echo "  could not run"
  fi
fi
exit 0
