#!/usr/bin/env bash
# Installs what the game needs, builds it, installs it under build/play/install
# and starts it. The game keeps its settings in ~/.local/share/wolby.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
source scripts/generator.sh
cmake --preset play >/dev/null
cmake --build --preset play -j"$(nproc)"
cmake --install build/play >/dev/null
exec build/play/install/games/wolby "$@"
