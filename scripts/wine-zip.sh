#!/usr/bin/env bash
# The Windows zip as a player gets it: cross-builds wolby.exe with the
# toolchain file alone, packs the zip (cpack -G ZIP), checks what it holds and
# the program's version resource and manifest, then unpacks it into a fresh
# folder whose path has a space, starts it there under Wine on a private
# 800 x 600 X server, answers the settings question, sees the menu and leaves
# through the exit item.
# usage: scripts/wine-zip.sh [build folder, default build/win32]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-build/win32}")
work=$build/wine-zip
checker=wine-zip
. scripts/checks.sh

scripts/install-deps.sh wine

# ---------------------------------------------------------------- build and pack
cmake -S "$root" -B "$build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
need "the toolchain file alone builds wolby.exe" cmake --build "$build" -j"$(nproc)"
rm -rf "$work"
mkdir -p "$work"
need "cpack -G ZIP" bash -c "cd '$build' && cpack -G ZIP -B '$work/package' >'$work/cpack.log' 2>&1"
version=$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "([^"]*)"\)/\1/p' "$build/CPackConfig.cmake")
zip=$work/package/wolby-$version-win64.zip
need "wolby-$version-win64.zip made" test -s "$zip"
note "$(basename "$zip"): $(stat -c %s "$zip") bytes"
(cd "$work" && cmake -E tar tf "$zip") | sort >"$work/listing.txt"
sed 's/^/  /' "$work/listing.txt"
top=wolby-$version-win64
expected=$(printf '%s\n' "$top/LICENSE.txt" "$top/README.txt" "$top/wolby.exe" "$top/zdj/15.bmp" | sort)
check "holds wolby.exe, zdj/15.bmp, README.txt, LICENSE.txt and nothing else" \
  test "$(grep -v '/$' "$work/listing.txt")" = "$expected"

# Unpacked anywhere: a fresh folder, with a space in its path.
folder="$work/Gry i zabawy"
mkdir -p "$folder"
(cd "$folder" && cmake -E tar xf "$zip")
game=$folder/$top
exe=$game/wolby.exe
check "README.txt has Windows line ends" bash -c "[ \"\$(grep -c \$'\\r\$' '$game/README.txt')\" = \"\$(wc -l <'$game/README.txt')\" ]"
check "the zip's wolby.exe is stripped" bash -c "! x86_64-w64-mingw32-objdump -h '$exe' | grep -q '\.debug_'"
note "wolby.exe: $(stat -c %s "$exe") bytes"

# The version resource and the manifest, as the resource compiler reads them back.
resources=$(x86_64-w64-mingw32-windres -J coff -i "$exe" -O rc 2>/dev/null)
resource_has() { grep -qF -- "$1" <<<"$resources"; }
check "version resource: ProductName Wolby" resource_has 'VALUE "ProductName", "Wolby"'
check "version resource: ProductVersion $version" resource_has "VALUE \"ProductVersion\", \"$version\""
check "version resource: FileVersion ${version//./, }, 0" resource_has "FILEVERSION ${version//./, }, 0"
check "version resource: a FileDescription" grep -qE 'VALUE "FileDescription", "[^"]+"' <<<"$resources"
# The manifest (resource 1 of type 24) as its text: windres writes it as
# quoted lines with doubled quotes.
manifest=$(sed -n '/^1 24 /,/^END/p' <<<"$resources" | sed -nE 's/^ *"(.*)\\n"$/\1/p' | sed 's/""/"/g')
check "manifest: resource 1 of type 24, an assembly" grep -q '^<assembly ' <<<"$manifest"
check "manifest: common controls 6" \
  grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$manifest"
check "manifest: DPI aware" grep -q '<dpiAware[^>]*>true' <<<"$manifest"

# ---------------------------------------------------------------- under Wine
. scripts/wine-session.sh
start_game "$game" wolby.exe
if wait_for 60 "the settings question" dialog_shown; then
  pass "started in the unpacked folder: the settings question"
  shot question
  answer_dialog_with_return
  if wait_for 20 "the menu" menu_shown; then
    pass "Enter answers the question: the menu shows"
    shot menu
    exit_item
    check "the exit item: status 1 (got $status)" test "$status" = 1
    check "setting.dat written beside wolby.exe" test "$(hex_of "$game/setting.dat")" = "$default_settings_hex"
  fi
else
  note "the log: $(tail -n 5 "$work/wine.log" | tr '\n' ' ')"
fi

summary
[ "$failed" -eq 0 ]
