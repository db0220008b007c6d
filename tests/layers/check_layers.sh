#!/usr/bin/env bash
# Each folder may include only from the layers below it (and from itself):
# no include runs from a lower layer up to a higher one. Prints every include
# that breaks the rule and fails if there is one.
set -euo pipefail
cd "${1:?source folder}"

# folder -> what its files may include (folder prefixes; "platform/platform.h" is one header)
declare -A allowed=(
  [board]="board/"
  [settings]="settings/"
  [players]="board/ players/"
  [match]="board/ players/ settings/ match/"
  [platform]="platform/platform.h"
  [platform/common]="platform/platform.h platform/common/"
  [platform/headless]="platform/platform.h platform/common/ platform/headless/"
  [platform/sdl]="platform/platform.h platform/common/ platform/sdl/"
  [platform/win32]="platform/platform.h platform/common/bitmap_header.h platform/win32/"
  [platform/web]="platform/platform.h platform/common/ platform/web/"
  [screens]="board/ players/ settings/ match/ platform/platform.h screens/"
  [shell]="board/ players/ settings/ match/ platform/platform.h screens/ shell/"
  # The entry points choose the backend.
  [shell/entry]="match/ settings/ platform/ shell/ wolby_version.h"
)

bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r included; do
      ok=0
      for prefix in ${allowed[$folder]}; do
        case "$included" in "$prefix"*) ok=1 ;; esac
      done
      # Headers beside the file (no folder) are its own.
      case "$included" in */*) ;; *) [ -e "$folder/$included" ] && ok=1 ;; esac
      if [ $ok = 0 ]; then
        echo "$file includes \"$included\": not a layer below $folder"
        bad=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done
done
[ $bad = 0 ] && echo "every include points down"
exit $bad
