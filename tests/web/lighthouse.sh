#!/usr/bin/env bash
# Lighthouse's figures for a browser game site, mobile and desktop, served
# compressed as a web host serves it (scripts/serve-site.mjs): the four
# scores, total blocking time, layout shift, largest paint, the bytes sent.
# Debian's chromium runs it; Lighthouse (tests/web/lighthouse) downloads none.
# usage: tests/web/lighthouse.sh <site folder> [port]
set -euo pipefail
cd "$(dirname "$0")/../.."
site=${1:?usage: $0 <site folder> [port]}
port=${2:-8123}
(cd tests/web/lighthouse && [ -d node_modules ] || npm ci --no-audit --no-fund --loglevel=error >/dev/null)
node scripts/serve-site.mjs "$site" "$port" >/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null' EXIT
for _ in $(seq 50); do curl -sf "http://127.0.0.1:$port/" >/dev/null && break; sleep 0.1; done
out=$(mktemp -d)
for mode in mobile desktop; do
  preset=(); [ $mode = desktop ] && preset=(--preset=desktop)
  CHROME_PATH=${CHROMIUM:-/usr/bin/chromium} tests/web/lighthouse/node_modules/.bin/lighthouse \
    "http://127.0.0.1:$port/" "${preset[@]}" --quiet --output=json --output-path="$out/$mode.json" \
    --chrome-flags="--headless=new --no-sandbox --disable-gpu" >/dev/null 2>&1 ||
    { echo "$mode: lighthouse did not run"; continue; }
  node -e '
    const r = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
    const c = r.categories, a = r.audits, s = (k) => Math.round(c[k].score * 100);
    console.log(`${process.argv[2].padEnd(8)} performance ${s("performance")}, accessibility ${s("accessibility")}, ` +
      `best practices ${s("best-practices")}, SEO ${s("seo")}; blocking ${a["total-blocking-time"].displayValue}, ` +
      `layout shift ${a["cumulative-layout-shift"].displayValue}, largest paint ${a["largest-contentful-paint"].displayValue}, ` +
      `first paint ${a["first-contentful-paint"].displayValue}, sent ${Math.round(a["total-byte-weight"].numericValue / 1024)} KB`);
  ' "$out/$mode.json" "$mode"
done
rm -rf "$out"
