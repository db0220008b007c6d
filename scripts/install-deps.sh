#!/usr/bin/env bash
# Installs the Debian packages that building, playing or testing needs, only
# when some are missing. Usage: install-deps.sh play|web|test
set -euo pipefail

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core)
# The browser game: Debian's emscripten (its Node.js runs the compiler's tools);
# its checks drive Debian's chromium from Node.js.
web_packages=(emscripten zip)
if [ "${1:-test}" = web ]; then
  packages+=("${web_packages[@]}")
fi
if [ "${1:-test}" = test ]; then
  packages+=("${web_packages[@]}" chromium)
  command -v npm >/dev/null || packages+=(npm)
  packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick xfonts-base valgrind
             clang-14 libclang-rt-14-dev
             # saves watched from outside: held flushes, the calls they make
             strace
             # real desktops: window managers with panels, and Wayland
             dbus metacity mutter xfwm4 xfce4-panel openbox tint2 weston zenity
             # the packages' checks: the Debian package and the Windows zip
             dpkg-dev lintian appstream desktop-file-utils man-db mmdebstrap
             g++-mingw-w64-x86-64 wine wine64 fonts-wine locales nsis)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
