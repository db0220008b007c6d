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
  [platform/win32]="platform/platform.h platform/common/bitmap_header.h platform/common/file_names.h
    platform/common/open_file.h platform/win32/"
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

# Prints every line of the folders' files that matches the pattern, and why it may not.
refuse() {
  local why=$1 pattern=$2 folder hit
  shift 2
  for folder in "$@"; do
    [ -d "$folder" ] || continue
    while IFS= read -r hit; do
      echo "$hit: $why"
      bad=1
    done < <(grep -HnE "$pattern" "$folder"/*.h "$folder"/*.cpp 2>/dev/null || true)
  done
}
# The core reaches files only through the settings' seam (settings_store.h),
# which the shell fills with the platform's files: no system header of file
# access and no stream or C file call in it. Nothing above the platform
# layer asks which system it is built for.
file_headers='fcntl\.h|unistd\.h|sys/[a-z]+\.h|io\.h|windows\.h|cstdio|stdio\.h|fstream|filesystem'
refuse "file access outside the settings' seam" \
  "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($file_headers)>|\b(fopen|std::[io]?fstream|std::filesystem)\b" \
  board players settings match
refuse "a system's name above the platform layer" "^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*\b_?WIN32\b" \
  board players settings match screens shell
[ $bad = 0 ] && echo "every include points down, and the core's files go through its seam"
exit $bad
