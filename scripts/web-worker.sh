#!/usr/bin/env bash
# Writes the browser game's service worker into a site folder: sw.js from
# platform/web/page/sw.js, with every other file of the folder and its
# SHA-256, and the build's name, a digest of them all and of the worker.
# usage: scripts/web-worker.sh <site folder>   (scripts/web.sh runs it)
set -euo pipefail
site=${1:?usage: $0 <site folder>}
template=$(dirname "$0")/../platform/web/page/sw.js
sums=$(cd "$site" && find . -type f ! -name sw.js -printf '%P\n' | LC_ALL=C sort | xargs sha256sum)
build=$( (echo "$sums"; cat "$template") | sha256sum | cut -c1-16)
files=$(echo "$sums" | awk 'BEGIN { printf "{" } { printf "%s\n  \"%s\": \"%s\"", (NR > 1 ? "," : ""), $2, $1 }
                            END { printf "\n}" }')
FILES=$files BUILD=$build awk '{ sub(/@BUILD@/, ENVIRON["BUILD"]) } /@FILES@/ { sub(/@FILES@/, ENVIRON["FILES"]) } 1' \
  "$template" >"$site/sw.js"
