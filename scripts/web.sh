#!/usr/bin/env bash
# Builds the browser game into build/web/site (index.html, wolby-page.js,
# wolby.js, wolby.wasm, wolby.data, the icon) and packs it as
# build/web/wolby-web-<version>.zip; the folder is all a web host needs.
# usage: scripts/web.sh [--serve] [--host-build <folder>]
#   --serve          then serves the site on http://localhost:8000/
#   --host-build D   take the Linux tools from an existing build folder
#                    (otherwise build/web/host is built for them)
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

# The Linux build's tools draw the text lines and write the default settings.
if [ -z "$host" ]; then
  host=$web/host
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DWOLBY_TESTS=OFF -DWOLBY_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$host" -j"$jobs" --target wolby_make_text_atlas wolby_default_settings wolby_images >/dev/null

data=$web/data
rm -rf "$data"
mkdir -p "$data/game/zdj" "$data/data"
cp zdj/15.bmp "$data/game/zdj/15.bmp"
"$host/tools/wolby_make_text_atlas" "$data/data/text-lines.bin"
cp "$host/packaging/default/setting.dat" "$data/data/setting.dat"

# The game, compiled by emscripten.
emcmake cmake -S . -B "$web/build" -DCMAKE_BUILD_TYPE=Release -DWOLBY_WEB_DATA="$PWD/$data" \
  -DWOLBY_WERROR="${WOLBY_WERROR:-OFF}" >/dev/null
cmake --build "$web/build" -j"$jobs"

site=$web/site
rm -rf "$site"
mkdir -p "$site"
cp platform/web/page/index.html platform/web/page/wolby-page.js "$site/"
cp "$web/build/wolby.js" "$web/build/wolby.wasm" "$web/build/wolby.data" "$site/"
cp "$host/images/wolby-32.png" "$site/"

version=$(sed -n 's/^project(Wolby VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$web/wolby-web-$version.zip
rm -f "$zip"
(cd "$site" && zip -q -r -X "../$(basename "$zip")" .)
echo "The browser game: $site ($(du -sk "$site" | cut -f1) KB), packed as $zip"

if [ $serve = 1 ]; then
  echo "Serving it on http://localhost:8000/ (Ctrl+C ends)"
  exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$site"
fi
