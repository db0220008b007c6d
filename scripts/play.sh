#!/usr/bin/env bash
# Installs what the game needs, builds it, installs it under build/play/install
# and starts it. The game keeps its settings in ~/.local/share/wolby.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build/play -DCMAKE_BUILD_TYPE=Release -DWOLBY_TESTS=OFF -DWOLBY_BENCHMARKS=OFF \
  -DCMAKE_INSTALL_PREFIX="$PWD/build/play/install" >/dev/null
cmake --build build/play -j"$(nproc)"
cmake --install build/play >/dev/null
exec build/play/install/games/wolby "$@"
