#!/usr/bin/env bash
# The one place that installs packages: the Debian packages the groups need,
# only those missing. Usage: install-deps.sh <group>... (default: test)
#   play     building and playing the game
#   web      building the browser game
#   browser  the browser checks: chromium, firefox-esr and WebKitGTK (its WebDriver
#            under Xvfb), driven from Node.js (npm)
#   unit     the unit tests, benchmarks, sanitizers, valgrind
#   window   the real-window tests: X servers, desktops, Wayland, screenshots
#   wine     the Windows build, its zip and its play under Wine
#   package  the Debian package's checks
#   test     everything the test command runs (all of the above)
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A group
group[play]="build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core zlib1g-dev"
# Debian's emscripten (its Node.js runs the compiler's tools).
group[web]="emscripten zip"
group[browser]="chromium firefox-esr webkit2gtk-driver xvfb"
# Unit tests, benchmarks, the sanitizer build and its fuzzing, valgrind, and
# saves watched from outside (strace: held flushes, the calls they make).
group[unit]="libgtest-dev libbenchmark-dev valgrind clang-14 libclang-rt-14-dev strace"
# Real desktops: window managers with panels, and Wayland; zenity is the
# message box there.
group[window]="xvfb xauth xdotool x11-utils imagemagick xfonts-base
  dbus metacity mutter xfwm4 xfce4-panel openbox tint2 weston zenity"
# fonts-wine: Wine's own fonts (Tahoma for the game's text, the dialogs' font);
# Debian only recommends it. locales: pl_PL.UTF-8 for Wine's code page.
# openbox and x11-utils (xmessage): the window manager and the other program
# of the Wine session.
group[wine]="cmake g++ g++-mingw-w64-x86-64 wine wine64 libxrandr2 fonts-wine locales nsis
  xvfb xdotool x11-utils imagemagick openbox"
group[package]="dpkg-dev lintian appstream desktop-file-utils man-db mmdebstrap xvfb xdotool x11-utils imagemagick"

# The groups asked for, "test" standing for all of them; building is in each.
[ $# -gt 0 ] || set -- test
groups=(play)
for name in "$@"; do
  if [ "$name" = test ]; then groups+=(web browser unit window wine package); continue; fi
  [ -n "${group[$name]:-}" ] || { echo "install-deps: no group $name (see its usage)" >&2; exit 2; }
  groups+=("$name")
done
wanted=()
for name in "${groups[@]}"; do
  read -r -a list <<<"$(tr '\n' ' ' <<<"${group[$name]}")"
  wanted+=("${list[@]}")
done
if [[ " ${groups[*]} " == *" browser "* ]] && ! command -v npm >/dev/null; then wanted+=(npm); fi

missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page and its dialogs' language from the locale.
if [[ " ${groups[*]} " == *" wine "* ]] && ! locale -a 2>/dev/null | grep -qiE '^pl_PL\.utf-?8$'; then
  echo "install-deps: generating the pl_PL.UTF-8 locale"
  "${sudo[@]}" localedef -i pl_PL -f UTF-8 pl_PL.UTF-8 ||
    echo "install-deps: pl_PL.UTF-8 could not be generated; Wine falls back to its default locale"
fi

