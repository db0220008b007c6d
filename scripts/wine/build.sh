# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: the cross build, and what wolby.exe links and
# carries.
# The toolchain file alone: the project sees the Windows target. Warnings
# are errors here, as in every build of the test command.
# The tools that draw the cursor and the icon are the host build's when it is
# there (the test command's Release build), so they are built once.
host_option=()
[ -f "$host_build/CMakeCache.txt" ] && host_option=(-DWOLBY_HOST_BUILD="$host_build")
cmake -S "$root" -B "$build" --toolchain "$root/cmake/mingw-w64-x86_64.cmake" -DWOLBY_WERROR=ON \
  "${host_option[@]}" >/dev/null
need "wolby.exe cross-builds" cmake --build "$build" -j"$(nproc)"
exe=$build/wolby.exe
images=$build/platform/win32/images

# Only Windows' own DLLs: the C++ runtime is linked in.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
note "imports: $dlls"
only_system_dlls() {
  local dll
  for dll in $dlls; do
    case $dll in ddraw.dll|gdi32.dll|user32.dll|kernel32.dll|msvcrt.dll) ;; *) return 1 ;; esac
  done
  [[ " $dlls" == *" ddraw.dll "* ]]
}
check "links only system DLLs, DirectDraw among them" only_system_dlls

resources=$(x86_64-w64-mingw32-windres -J coff -i "$exe" -O rc 2>/dev/null)
check "cursor 118 in the resources" grep -qE 'group cursor[[:space:]]+Name: 118\.' <<<"$(tr '\n' ' ' <<<"$resources")"
check "icon 121 in the resources" grep -qE 'group icon[[:space:]]+Name: 121\.' <<<"$(tr '\n' ' ' <<<"$resources")"

# The cursor and icon files as an independent decoder reads them.
# pixel_of <image> <x> <y>: "r,g,b,a" with alpha 0..255.
pixel_of() {
  convert "$1" -alpha on -depth 8 -crop "1x1+$2+$3" txt:- | tail -n 1 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3,\4/'
}
is_pixel() { [ "$(pixel_of "$1" "$2" "$3")" = "$4" ]; }
cursor_ok() {
  local cur=$images/wolby.cur
  # Hot spot (bytes 10..13 of the file): the top-left pixel.
  [ "$(od -An -tu2 -j10 -N4 "$cur" | tr -s ' ')" = " 0 0" ] &&
    is_pixel "$cur" 9 0 255,255,255,255 && is_pixel "$cur" 22 12 255,255,255,255 &&
    is_pixel "$cur" 15 31 255,255,255,255 && is_pixel "$cur" 0 0 0,0,0,0 &&
    is_pixel "$cur" 12 0 0,0,0,0 && is_pixel "$cur" 12 20 0,0,0,0
}
icon_ok() {
  local ico=$images/wolby.ico r g b a
  [ "$(convert "$ico" -format '%w %h' info:)" = "32 32" ] || return 1
  # 4 bits per pixel in the file: at most 16 colours.
  [ "$(od -An -tu2 -j12 -N2 "$ico" | tr -d ' ')" = 4 ] || return 1
  is_pixel "$ico" 0 0 0,0,0,0 || return 1
  IFS=, read -r r g b a <<<"$(pixel_of "$ico" 16 24)"
  [ "$a" = 255 ] && [ "$b" -gt 100 ] && [ "$r" -lt 60 ]
}
check "cursor file: the white fork, hot spot (0, 0)" cursor_ok
check "icon file: 32x32, 16 colours, blue on transparent" icon_ok
