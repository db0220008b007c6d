#!/usr/bin/env bash
# Builds the browser game into build/web/site (index.html, wolby-page.js,
# wolby.js, wolby.wasm, wolby.data.gz, the manifest and its icons, sw.js) and
# packs it as build/web/wolby-web-<version>.zip; the folder is all a web host
# needs, under any path.
# usage: scripts/web.sh [--serve] [--host-build <folder>]
#   --serve          then serves the site on http://localhost:8000/, compressed
#                    as a web host serves it (scripts/serve-site.mjs)
#   --host-build D   take the host tools from an existing Linux build folder
#                    (otherwise build/web/build/host is made for them)
# WOLBY_WERROR=ON makes the compiler's warnings errors (the test command's way).
set -euo pipefail
cd "$(dirname "$0")/.."
serve=0
host=
while [ $# -gt 0 ]; do
  case $1 in
    --serve) serve=1 ;;
    --host-build) [ $# -ge 2 ] || { echo "usage: $0 [--serve] [--host-build <folder>]" >&2; exit 2; }; host=$2; shift ;;
    *) echo "usage: $0 [--serve] [--host-build <folder>]" >&2; exit 2 ;;
  esac
  shift
done
scripts/install-deps.sh web
jobs=$(nproc)
web=build/web
# Debian's emscripten runs its tools with this Node.js and its modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

# The game, compiled by emscripten; the host tools of a Linux build draw its
# text lines and icons and write its default settings (tools/).
host_option=()
[ -n "$host" ] && host_option=(-DWOLBY_HOST_BUILD="$(realpath -m "$host")")
emcmake cmake -S . -B "$web/build" -DCMAKE_BUILD_TYPE=Release "${host_option[@]}" \
  -DWOLBY_WERROR="${WOLBY_WERROR:-OFF}" >/dev/null
cmake --build "$web/build" -j"$jobs"

site=$web/site
rm -rf "$site"
mkdir -p "$site"
cp platform/web/page/index.html platform/web/page/wolby-page.js platform/web/page/manifest.webmanifest "$site/"
cp "$web/build/wolby.js" "$web/build/wolby.wasm" "$site/"
# The data is mostly the sheet, an uncompressed bitmap: packed, it is a
# twentieth; the page inflates it (a host that decodes it on the way is fine too).
gzip -9 -n -c "$web/build/wolby.data" >"$site/wolby.data.gz"
for icon in 32 192 512 maskable-512 touch-180; do
  cp "$web/build/images/wolby-$icon.png" "$site/"
done

# The service worker, which keeps this build for offline play.
scripts/web-worker.sh "$site"

version=$(sed -n 's/^project(Wolby VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$web/wolby-web-$version.zip
rm -f "$zip"
(cd "$site" && zip -q -r -X "../$(basename "$zip")" .)
echo "The browser game: $site ($(du -sk "$site" | cut -f1) KB), packed as $zip"

if [ $serve = 1 ]; then
  echo "Serving it on http://localhost:8000/ (Ctrl+C ends)"
  exec node scripts/serve-site.mjs "$site" 8000
fi
