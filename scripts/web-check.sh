#!/usr/bin/env bash
# The browser game's checks, as the test command runs them: every text line as
# the browser build and the Linux build draw it (identical), then the game in
# Debian's chromium (tests/web/checks.mjs): the scenes' pictures against the
# Linux build's headless ones, a match against the computer, Wyjście and a new
# game, a phone's taps, and no error on the console; then the installed app
# (tests/web/pwa_checks.mjs): installable, offline, updates, a slow phone; and
# the page's own parts (tests/web/page_checks.mjs): the picture's evenness on
# the screen, the hint on an upright phone, the live region, a refused settings
# file, a second tab, a hidden tab and the back/forward cache; then the scenes,
# a match and Wyjście in Firefox ESR and in WebKitGTK (tests/web/engines.mjs).
# usage: scripts/web-check.sh <Linux build folder>   (after scripts/web.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
host=${1:?usage: $0 <Linux build folder>}
web=build/web
out=$web/checks
rm -rf "$out"
mkdir -p "$out"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

cmake --build "$host" -j"$(nproc)" --target wolby_scenes wolby_text_digest >/dev/null
"$host/tests/web/wolby_text_digest" >"$out/text-linux.txt"
node --no-experimental-fetch "$web/build/tests/web/wolby_text_digest.js" >"$out/text-browser.txt"
if ! cmp -s "$out/text-linux.txt" "$out/text-browser.txt"; then
  echo "FAIL the text lines differ between the builds:"
  diff "$out/text-linux.txt" "$out/text-browser.txt" | head -20
  exit 1
fi
echo "ok   every text line in every colour pair: $(wc -l <"$out/text-linux.txt") drawings, identical in both builds"

"$host/scenes/wolby_scenes" tests/scenes/scenes.txt zdj/15.bmp "$out/linux" browser
# puppeteer-core drives Debian's chromium and firefox-esr; it downloads no browser.
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
status=0
node tests/web/checks.mjs "$web/site" tests/scenes/scenes.txt "$out/linux" "$out/failed" || status=1
# The installed app: installable, offline, updated whole, loading on a slow phone.
node tests/web/pwa_checks.mjs "$web/site" || status=1
node tests/web/page_checks.mjs "$web/site" || status=1
# Firefox and WebKit side by side: most of their time is the game's own
# pauses and the browsers' start. Each one's lines are shown when it ends.
pids=()
trap '[ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null' EXIT
for engine in firefox webkit; do
  node tests/web/engines.mjs $engine "$web/site" tests/scenes/scenes.txt "$out/linux" "$out/failed-$engine" \
    >"$out/$engine.log" 2>&1 &
  pids+=($!)
done
for engine in firefox webkit; do
  wait "${pids[0]}" || status=1
  pids=("${pids[@]:1}")
  cat "$out/$engine.log"
done
exit $status
