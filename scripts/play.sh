#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake -S . -B build/play -DCMAKE_BUILD_TYPE=Release -DWOLBY_TESTS=OFF -DWOLBY_BENCHMARKS=OFF >/dev/null
cmake --build build/play -j"$(nproc)"
if [ ! -x build/play/wolby ]; then
  echo "Wolby is not playable yet: the rules, the players and the settings are built and tested,"
  echo "but the window and the screens are still to come. Run scripts/test.sh to see them tested."
  exit 0
fi
exec build/play/wolby
